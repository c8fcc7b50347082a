// The speech board with the system's voice: opening frm_speech the first time and again, starting
// the engine, listing its voices, choosing one, and how long the letter and phrase buttons take to speak.
// Prints milliseconds (medians where repeated); asserts nothing. --voices lists the voices offered.
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "ui/MessageBox.h"
#include "ui/SpeechService.h"
#include "ui/SystemVoice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int kRuns = 5;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeMs(const std::function<void()> &work, int runs = kRuns)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    seams::Overrides stage;
    stage.replace(seams::messageBox,
                  [](QWidget *, const seams::MessageRecord &m) { std::printf("message: %s\n", qPrintable(m.text)); });

    // The board as the menu opens it: the first opening starts the program's speech service, the
    // later ones find it running.
    shell::MainWindow main;
    auto &registry = shell::WindowRegistry::instance();
    const auto openAndClose = [&] {
        registry.show(QStringLiteral("frm_speech"));
        registry.close(QStringLiteral("frm_speech"));
    };
    const double first = timeMs(openAndClose, 1);
    const double again = timeMs(openAndClose);
    const double start = timeMs([] { ui::SpeechService s; }, 3);
    ui::SystemVoice voice;
    if (voice.engine().isEmpty()) {
        std::printf("no speech engine with a voice installed\n");
        return 0;
    }
    const qsizetype count = voice.voices().size();
    std::printf("engine %s, %lld voices offered\n", qPrintable(voice.engine()), static_cast<long long>(count));
    if (app.arguments().contains(QStringLiteral("--voices")))
        for (const QString &v : voice.voices())
            std::printf("  %s\n", qPrintable(v));
    std::printf("open and close frm_speech, first time: %8.1f ms\n", first);
    std::printf("open and close frm_speech, again:      %8.1f ms\n", again);
    std::printf("engine start with its voices:          %8.1f ms\n", start);
    std::printf("list the voices:                       %8.1f ms\n", timeMs([&] { voice.voices(); }));
    std::printf("select the last voice:                 %8.1f ms\n", timeMs([&] { voice.select(int(count) - 1); }));
    voice.select(0);

    for (const QString &text :
         {QStringLiteral("ALPHA"), QStringLiteral("c q. c q. d x! this is german station!"),
          QStringLiteral("Thank you for this nice Q S O? Best wishes to you and your family! Bye bye")}) {
        speech::SpeakResult result;
        const double ms = timeMs([&] { result = voice.speak(text); }, 3);
        std::printf("speak \"%s\": %.1f ms, %s %s\n", qPrintable(text), ms, result.ok() ? "spoken" : "not spoken",
                    qPrintable(result.detail));
    }
    return 0;
}
