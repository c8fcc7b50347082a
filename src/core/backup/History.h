#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

// The names of the automatic copies' folders and which of them the history keeps. Pure functions
// of names and a moment: the clock is the caller's.
namespace backup {

// "2026-12-07 18-30-05": the moment a copy was made, sorting as text in the order of time.
QString copyFolderName(const QDateTime &made);

// The moment a folder name stands for; invalid unless the name is exactly of that form and a
// real date and time.
QDateTime copyFolderTime(const QString &name);

// What the history keeps: the newest copies, and the newest copy of each of the last calendar
// weeks (Monday to Sunday, the week of "now" included).
struct KeepRule {
    int newest = 10;
    int weeks = 8;
};

// Of the copies named, those the rule no longer keeps, oldest first. Names not of the copy form
// are never among them, and neither is the newest copy.
QStringList expiredCopies(const QStringList &copies, const QDateTime &now, const KeepRule &rule = {});

} // namespace backup
