#pragma once
#include "ui/Seams.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
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
// - the working directory is a fresh temporary folder holding copies of the built
//   Frequenzen.quorvel and Frequenzen1.quorvel, and it is the program's directory as well;
// - mainWindow() creates frm_main (hidden) lazily, open(name) shows a window through the registry.
class Fixture {
public:
    static inline const QDate fixedDate{2026, 12, 7};

    explicit Fixture(QSize screenSize = QSize(1280, 1024), bool copyDatabases = true);
    ~Fixture();

    QList<seams::MessageRecord> messages;
    QStringList messageTexts() const;
    void clearMessages() { messages.clear(); }

    QString dir() const { return m_dir.path(); }
    QString path(const QString &file) const { return m_dir.filePath(file); }
    static QString builtFile(const QString &file); // next to the built program

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
    QTemporaryDir m_dir;
    seams::Overrides m_seams; // undone when the fixture goes, whatever the test did
    QString m_oldCwd;
    std::unique_ptr<shell::MainWindow> m_main;
};

// Runs SQL statements on a database file outside any window (creating the file if need be);
// false, with a warning, when one fails.
bool execSql(const QString &file, const QString &sql);

// One column of every row of a query on a database file, read with SQLite alone (none of this
// program's functions); a negative column counts from the last. NULL reads as a null QString.
// Empty when the file does not exist (it is not created) or the query fails.
QStringList sqlColumn(const QString &file, const QString &sql, int column = 0);

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
