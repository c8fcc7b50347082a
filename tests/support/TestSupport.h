#pragma once
#include "support/CoreSupport.h"
#include "ui/Seams.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>

namespace shell {
class MainWindow;
}

namespace testsupport {

// One per test case (create it in init(), drop it in cleanup()):
// - today is fixedDate, the screen is screenSize (every seam it replaces is put back when it goes);
// - message boxes are recorded in messages instead of shown;
// - the working directory is its DataFolder, and it is the program's directory as well;
// - mainWindow() creates frm_main (hidden) lazily, open(name) shows a window through the registry.
class Fixture : public DataFolder {
public:
    static inline const QDate fixedDate{2026, 12, 7};

    explicit Fixture(QSize screenSize = QSize(1280, 1024), bool copyDatabases = true);
    ~Fixture();

    QList<seams::MessageRecord> messages;
    QStringList messageTexts() const;
    void clearMessages() { messages.clear(); }

    // Puts a stand-in in place of a seam until the fixture goes.
    template <typename S, typename F> void replace(S &seam, F &&standIn)
    {
        m_seams.replace(seam, std::forward<F>(standIn));
    }

    shell::MainWindow *mainWindow();
    QWidget *open(const QString &name);
    void close(const QString &name);
    bool isOpen(const QString &name) const;

private:
    seams::Overrides m_seams; // undone when the fixture goes, whatever the test did
    QString m_oldCwd;
    std::unique_ptr<shell::MainWindow> m_main;
};

// The order a German reader expects of a sorted list: umlauts with their base letters, ß as ss,
// letter case not deciding; equal keys by the text itself.
bool germanLess(const QString &a, const QString &b);

// A named child of a window. When it is missing the test fails here, and a stand-in of the asked
// type comes back so that the rest of the test runs into no null pointer.
template <typename T>
requires std::is_default_constructible_v<T> T *child(QWidget *window, const QString &name)
{
    if (T *c = window ? window->findChild<T *>(name) : nullptr)
        return c;
    QTest::qFail(qPrintable(QStringLiteral("control %1 not found").arg(name)), __FILE__, __LINE__);
    auto *standIn = new T;
    standIn->setParent(window); // deleted with the window, if there is one
    return standIn;
}

} // namespace testsupport
