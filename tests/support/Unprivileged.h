#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// Runs work as a user without privileges and hands back what it returned. Root reads and writes
// every file whatever its permissions, so where a test needs the refusal an ordinary user meets,
// the work runs in a child process as "nobody" (the files it uses must be reachable for that user).
// Run by an ordinary user, it is simply called.
inline QString unprivileged(const std::function<QString()> &work)
{
    if (geteuid() != 0)
        return work();
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("<kein Kanal>");
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const QByteArray result =
            setgid(65534) == 0 && setuid(65534) == 0 ? work().toUtf8() : QByteArray("<kein Benutzerwechsel>");
        for (qsizetype done = 0; done < result.size();) {
            const ssize_t n = write(channel[1], result.constData() + done, size_t(result.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        _exit(0);
    }
    close(channel[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return QString::fromUtf8(result);
}

} // namespace testsupport
