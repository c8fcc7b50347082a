#include "backup/BackupAtEnd.h"

#include "core/backup/AutoBackup.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"

#include <QGuiApplication>

namespace backup {

void backUpAtProgramEnd(QWidget *parent)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const AutoBackupOutcome outcome = makeAutomaticBackup({seams::programDir(), seams::now()});
    QGuiApplication::restoreOverrideCursor();
    if (outcome.message.isEmpty())
        return;
    ui::show(parent,
             outcome.status == AutoBackupOutcome::Status::NoSpace ? QMessageBox::Warning : QMessageBox::Critical,
             outcome.message);
}

} // namespace backup
