#pragma once
#include <QList>
#include <QListWidget>
#include <QString>
#include <functional>

// The drive, folder and file lists of the backup and restore windows.
namespace data {

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
QList<Drive> drives(); // of this system, by the volume provider

// The drive whose path holds folder deepest down; the root when no other does.
int driveOf(const QList<Drive> &drives, const QString &folder);

using VolumeProvider = std::function<QList<Volume>()>;
void setVolumeProvider(VolumeProvider provider); // empty: the system's mounted volumes

// The folder list: the current folder's ancestors from the root down, each one step further
// in, then its subfolders. A double click (or Return) opens the folder under the cursor.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);
    QString path() const { return m_path; }
    // Moves to an existing, readable folder; false, staying where it was, otherwise.
    bool setPath(const QString &path);

signals:
    void pathChanged(const QString &path);

private:
    QString m_path;
};

// The file list: the normal files of a folder that match a pattern.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(const QString &pattern, QWidget *parent = nullptr);
    void setFolder(const QString &folder);

private:
    QString m_pattern;
};

} // namespace data
