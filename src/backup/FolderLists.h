#pragma once
#include <QListWidget>
#include <QString>

// The folder and file lists of the backup and restore windows.
namespace backup {

// The folder list: the current folder's ancestors from the root down, each one step further
// in, then its subfolders. A click selects a folder, a double click (or Return) opens it.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);
    QString path() const { return m_path; } // the open folder, whose subfolders are listed
    // The highlighted folder: the one a backup or restore uses. The open folder until the user
    // picks another one.
    QString selectedPath() const;
    // Opens an existing, readable folder; false, staying where it was, otherwise.
    bool setPath(const QString &path);

signals:
    // A folder was opened or highlighted.
    void selectedPathChanged(const QString &path);

private:
    QString m_path;
    bool m_rebuilding = false;
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

} // namespace backup
