#pragma once
#include "core/backup/History.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The automatic copy of the logbook when the program ends: into Sicherungen/<moment>/ beside
// the logbook, checked before it counts, the older ones thinned out by the history rule.
namespace backup {

// What must stay free on the disk after a copy; below it the copy is skipped.
inline constexpr qint64 kFreeSpaceFloor = qint64(200) * 1024 * 1024;

struct AutoBackupRequest {
    QString programDir; // the logbook's folder; the copies go into its Sicherungen
    QDateTime now;      // names the copy and dates the history
    qint64 freeSpaceFloor = kFreeSpaceFloor;
    KeepRule keep = {};
};

struct AutoBackupOutcome {
    enum class Status {
        Made,      // a new checked copy stands in `folder`
        Unchanged, // a copy already holds the logbook as it is
        NoLogbook, // there is no logbook file to copy
        NoSpace,   // skipped: the copy would have left too little free space
        Failed,    // no new copy; `message` says why
    };
    Status status = Status::Failed;
    QString folder;      // the new copy's folder
    QStringList removed; // the copies' folders the history no longer keeps, removed
    QString message;     // for the user, in German; empty when there is nothing to tell
};

// Copies the logbook when it changed since the copies there were made, checks the copy (integrity,
// the same contact counts as the logbook) and only then gives it its name; removes what the
// history no longer keeps and what killed runs left. Never writes the logbook itself.
AutoBackupOutcome makeAutomaticBackup(const AutoBackupRequest &request);

// Where the restore window opens: the copies' folder when there is one, else fallback.
QString restoreStartFolder(const QString &programDir, const QString &fallback);

} // namespace backup
