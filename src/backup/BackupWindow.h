#pragma once
#include "backup/FolderLists.h"
#include "core/backup/Drives.h"

#include <QWidget>

class QComboBox;

namespace backup {

// The backup window frm_datensicherung and the restore window frm_wiederherstellen: the same
// three lists, one button that copies the logbook to or from the folder of the folder list.
class BackupWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Backup, Restore };
    explicit BackupWindow(Kind kind, QWidget *parent = nullptr);

private:
    // Handlers, named control_event; run only by their controls.
    void Drive1_changed(int index);
    void Dir1_changed(const QString &path);
    void cmd_datensicherung_clicked();  // backup
    void cmd_datenherstellen_clicked(); // restore

    QList<Drive> m_drives;
    QComboBox *Drive1;
    FolderList *Dir1;
    FileList *File1;
};

} // namespace backup
