#pragma once
#include <QList>
#include <QString>

// What the drive list of the backup and restore windows offers.
namespace backup {

// A place a user here would pick as a drive: the root, the home folder, a mounted stick or disk.
struct Drive {
    QString label;
    QString path;
};

// A mounted file system as the system reports it.
struct Volume {
    QString rootPath;
    QString name; // its label; may be empty
};

// The drives for the drive list: the root, the home folder, then every volume mounted under
// /media, /run/media or /mnt, sorted by path.
QList<Drive> drives(const QList<Volume> &mounted, const QString &home);

// The drive whose path holds folder deepest down; the root when no other does.
int driveOf(const QList<Drive> &drives, const QString &folder);

// The file systems mounted on this machine.
QList<Volume> mountedVolumes();

} // namespace backup
