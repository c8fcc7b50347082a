#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Test support that needs no widget: files and SQLite only.
namespace testsupport {

// A fresh temporary folder, removed with its contents when it goes; when asked, it holds copies of
// the built Frequenzen.quorvel and Frequenzen1.quorvel that the test may change.
class DataFolder {
public:
    explicit DataFolder(bool copyDatabases = true);

    QString dir() const { return m_dir.path(); }
    QString path(const QString &file) const { return m_dir.filePath(file); }
    static QString builtFile(const QString &file); // next to the built program

private:
    QTemporaryDir m_dir;
};

// Runs SQL statements on a database file outside any window (creating the file if need be);
// false, with a warning, when one fails.
bool execSql(const QString &file, const QString &sql);

// One column of every row of a query on a database file, read with SQLite alone (none of this
// program's functions); a negative column counts from the last. NULL reads as a null QString.
// Empty when the file does not exist (it is not created) or the query fails.
QStringList sqlColumn(const QString &file, const QString &sql, int column = 0);

// A file's bytes; "<fehlt>" when it cannot be read.
QByteArray fileBytes(const QString &file);
void writeFile(const QString &file, const QByteArray &data);

// A logbook file (made from the built empty one) holding one local contact per call sign, each
// with some 300 bytes of remarks.
void writeLogbook(const QString &file, const QStringList &calls);
QString insertCalls(const QStringList &calls); // the statements that add them, in one transaction

// The call signs of a logbook in the order they were entered, after an integrity check; a
// marker when the file is no intact logbook.
QStringList callsIn(const QString &file);

} // namespace testsupport
