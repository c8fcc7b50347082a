#pragma once
#include <QListWidget>
#include <QString>

// The folder and file lists of the backup and restore windows.
namespace backup {

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

} // namespace backup
