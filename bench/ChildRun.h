#pragma once
#include <cstdio>
#include <functional>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process and kills it with SIGKILL after delayUs microseconds unless delayUs
// is negative: a crash or power cut at that moment. True when the child ran to its end and work
// said it succeeded.
inline bool runKilledChild(const std::function<bool()> &work, long long delayUs)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work() ? 0 : 1);
    if (delayUs >= 0) {
        usleep(useconds_t(delayUs));
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
