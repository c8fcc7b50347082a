#pragma once
#include <QString>
#include <QStringList>

namespace sql {
class Database;
}

// The folder of automatic copies beside the logbook: what each copy's folder holds, how a copy
// is told from a leftover, and how a copy is checked.
namespace backup {

inline const QString kCopiesFolder = QStringLiteral("Sicherungen");
// Written into a copy's folder once the copy passed its check; without it the folder is no copy.
inline const QString kCopyReport = QStringLiteral("Sicherung.txt");

// The contacts of both logbook tables.
struct Counts {
    qint64 local = -1; // Kontakt
    qint64 dx = -1;    // Kontakt_dx
    bool operator==(const Counts &) const = default;
};

// What a copy's report says: the state of the logbook it was taken from, and what it holds.
struct CopyReport {
    QString fingerprint;
    Counts counts;
};

QString copiesFolderOf(const QString &programDir);

// Stands for the logbook file as it is now, cheaply: its identity, size and change times (the
// system moves the change time on every write, which no program can set back) and SQLite's
// header with its change counter; likewise for a write-ahead log beside it. Empty when the file
// cannot be read.
QString fingerprintOf(const QString &logbookFile);

// The contacts of both tables of an open logbook; false (with the engine's code in *rc) when a
// table cannot be counted.
bool countContacts(const sql::Database &db, Counts *counts, int *rc);

// Why the file is not an intact copy holding these counts; empty when it is one.
QString copyProblem(const QString &copyFile, const Counts &expected);

// Writes the report into a copy's folder and puts it on disk; 0 or the errno of the failure.
int writeCopyReport(const QString &folder, const CopyReport &report, const QString &madeText);
// The report of a copy's folder; an empty fingerprint when there is none that reads.
CopyReport readCopyReport(const QString &folder);

// The copies that count, by folder name, oldest first: a folder named like a copy, holding the
// logbook copy and its report.
QStringList countedCopies(const QString &copiesFolder);

// Temporary folders: a copy being made, a copy being removed. Hidden, and named after the
// process working on them.
QString newCopyTempName(const QString &copyName, qint64 pid);
QString oldCopyTempName(const QString &copyName, qint64 pid);

// Removes what runs that were killed left behind (temporary folders of processes no longer
// running); never touches a copy that counts.
void removeLeftovers(const QString &copiesFolder);

} // namespace backup
