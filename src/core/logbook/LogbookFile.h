#pragma once
#include <QString>

// Copying the logbook file to a backup folder and back, safe against every interruption:
// nothing here touches a widget.
namespace logbook {

// The logbook a restore replaced, kept beside the live file so that the restore can be undone.
inline const QString kReplacedLogbookName = QStringLiteral("Frequenzen1-vorher.quorvel");

struct FileResult {
    QString error; // a German sentence saying what went wrong; empty on success
    bool ok() const { return error.isEmpty(); }
};

// The file name joined to the folder with exactly one separator, also for the root.
QString joinPath(const QString &folder, const QString &file);

// Whether two paths name the same existing folder (same device and inode), however written.
bool sameFolder(const QString &a, const QString &b);

// What the operating system reported (an errno value), in the user's words.
QString systemReason(int error);

// Puts a file's content, or a folder's entries, on disk; 0 or the errno of the failure.
int syncPath(const QString &path, bool directory);

// Whether a backup stands under exactly this path: a regular file that is not hidden.
bool isBackupPresent(const QString &file);

// Writes a consistent copy of the live logbook to backupFile through a temporary file in the
// same folder that replaces it only when complete and on disk. On failure the earlier backup
// under that name is left as it was.
FileResult backupLogbook(const QString &liveFile, const QString &backupFile);

// Checks that backupFile is an intact logbook, then replaces liveFile by it in one rename. The
// replaced logbook is kept beside it under kReplacedLogbookName. On failure liveFile is left as
// it was.
FileResult restoreLogbook(const QString &backupFile, const QString &liveFile);

} // namespace logbook
