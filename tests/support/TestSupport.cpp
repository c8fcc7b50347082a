#include "support/TestSupport.h"

#include "core/speech/Voice.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace testsupport {
namespace {
// A voice with no voices installed, as on a machine without speech output.
class SilentVoice : public speech::Voice {
public:
    QStringList voices() override { return {}; }
    bool select(int) override { return false; }
    speech::SpeakResult speak(const QString &) override { return {speech::SpeakResult::Status::NoVoice, {}}; }
    void stop() override {}
};
} // namespace

Fixture::Fixture(QSize screenSize, bool copyDatabases) : DataFolder(copyDatabases), m_oldCwd(QDir::currentPath())
{
    m_seams.replace(seams::today, [] { return fixedDate; });
    m_seams.replace(seams::screen, [screenSize] { return screenSize; });
    // The program's directory is the working folder too, never the folder of the built files.
    m_seams.replace(seams::programDir, [this] { return dir(); });
    m_seams.replace(seams::messageBox, [this](QWidget *, const seams::MessageRecord &r) { messages << r; });
    // No test speaks through the system's voice unless it asks for it: a speech service started
    // on a machine without sound can outlive the test.
    m_seams.replace(seams::voice, []() -> speech::Voice * { return new SilentVoice; });
    QDir::setCurrent(dir());
}

Fixture::~Fixture()
{
    m_main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(m_oldCwd);
}

QStringList Fixture::messageTexts() const
{
    QStringList texts;
    for (const auto &m : messages)
        texts << m.text;
    return texts;
}

shell::MainWindow *Fixture::mainWindow()
{
    if (!m_main)
        m_main = std::make_unique<shell::MainWindow>();
    return m_main.get();
}

QWidget *Fixture::open(const QString &name)
{
    mainWindow();
    return shell::WindowRegistry::instance().show(name);
}

void Fixture::close(const QString &name)
{
    shell::WindowRegistry::instance().close(name);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool germanLess(const QString &a, const QString &b)
{
    auto key = [](QString s) {
        s.replace(QStringLiteral("Ä"), "a").replace(QStringLiteral("ä"), "a").replace(QStringLiteral("Ö"), "o");
        s.replace(QStringLiteral("ö"), "o").replace(QStringLiteral("Ü"), "u").replace(QStringLiteral("ü"), "u");
        s.replace(QStringLiteral("ß"), "ss");
        for (QChar &c : s)
            if (c >= 'A' && c <= 'Z')
                c = QChar(c.unicode() + 32);
        return s.toUtf8();
    };
    const QByteArray ka = key(a), kb = key(b);
    return ka != kb ? ka < kb : a.toUtf8() < b.toUtf8();
}

bool Fixture::isOpen(const QString &name) const { return shell::WindowRegistry::instance().isOpen(name); }

} // namespace testsupport
