#pragma once

class QWidget;

namespace backup {

// The automatic copy of the logbook as the program ends (core/backup/AutoBackup.h): a wait
// cursor while it runs, one message when it failed or was skipped, nothing when it worked.
void backUpAtProgramEnd(QWidget *parent);

} // namespace backup
