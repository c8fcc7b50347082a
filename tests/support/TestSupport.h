#pragma once
#include "ui/MessageBox.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

namespace shell {
class MainWindow;
}

namespace testsupport {

// One per test case (create it in init(), drop it in cleanup()):
// - today is fixedDate, the screen is screenSize;
// - message boxes are recorded in messages instead of shown;
// - the working directory is a fresh temporary folder holding copies of the built
//   Frequenzen.quorvel and Frequenzen1.quorvel, and it is the program's directory as well;
// - mainWindow() creates frm_main (hidden) lazily, open(name) shows a window through the registry.
class Fixture {
public:
    static inline const QDate fixedDate{2026, 12, 7};

    explicit Fixture(QSize screenSize = QSize(1280, 1024), bool copyDatabases = true);
    ~Fixture();

    QList<ui::MessageRecord> messages;
    QStringList messageTexts() const;
    void clearMessages() { messages.clear(); }

    QString dir() const { return m_dir.path(); }
    QString path(const QString &file) const { return m_dir.filePath(file); }
    static QString builtFile(const QString &file); // next to the built program

    shell::MainWindow *mainWindow();
    QWidget *open(const QString &name);
    void close(const QString &name);
    bool isOpen(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    std::unique_ptr<shell::MainWindow> m_main;
};

// Runs SQL statements on a database file outside any window (creating the file if need be);
// false, with a warning, when one fails.
bool execSql(const QString &file, const QString &sql);

// The order a German reader expects of a sorted list: umlauts with their base letters, ß as ss,
// letter case not deciding; equal keys by the text itself.
bool germanLess(const QString &a, const QString &b);

// A named child of a window, failing the test when it is missing.
template <typename T> T *child(QWidget *window, const QString &name)
{
    T *c = window ? window->findChild<T *>(name) : nullptr;
    if (!c)
        qWarning("control %s not found", qPrintable(name));
    return c;
}

} // namespace testsupport
