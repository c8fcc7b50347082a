#include "backup/BackupWindow.h"

#include "core/backup/AutoBackup.h"
#include "core/backup/Drives.h"
#include "core/data/Files.h"
#include "core/logbook/LogbookFile.h"
#include "core/text/GermanText.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/WindowHelpers.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace backup {
namespace {

struct Variant {
    QString caption;
    const char *button;
    const char *label;
    QString labelText;
};

const Variant kBackup{QStringLiteral("-*Datensicherung*- Zielordner auswählen"), "cmd_datensicherung", "Label1",
                      QStringLiteral("Sicherung Starten")};
const Variant kRestore{QStringLiteral("-*Daten wiederherstellen*- Sicherungsordner auswählen"), "cmd_datenherstellen",
                       "Label2", QStringLiteral("Wiederherstellung starten")};

// A copy of a large logbook takes a moment; the cursor says so.
logbook::FileResult withWaitCursor(const std::function<logbook::FileResult()> &run)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const logbook::FileResult result = run();
    QGuiApplication::restoreOverrideCursor();
    return result;
}

} // namespace

BackupWindow::BackupWindow(Kind kind, QWidget *parent) : QWidget(parent)
{
    using ui::twips;
    const Variant &v = kind == Kind::Backup ? kBackup : kRestore;
    setWindowTitle(v.caption);
    setFixedSize(twips(8055), twips(3210));

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twips(120), twips(60), twips(7815), twips(2520));
    Drive1 = new QComboBox(frame);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(twips(150), twips(180), twips(3600), twips(345));
    Dir1 = new FolderList(frame);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(twips(150), twips(630), twips(3600), twips(1740));
    File1 = new FileList(QStringLiteral("*.quorvel"), frame);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(twips(3900), twips(180), twips(3765), twips(2190));

    QPushButton *start = ui::button(this, v.button, QStringLiteral("X"));
    QFont bold = start->font();
    bold.setBold(true);
    start->setFont(bold);
    start->setGeometry(twips(120), twips(2700), twips(405), twips(405));
    ui::label(this, v.label, v.labelText)->setGeometry(twips(660), twips(2700), twips(4000), twips(405));

    m_drives = drives(seams::volumes(), QDir::homePath());
    for (const Drive &d : std::as_const(m_drives))
        Drive1->addItem(d.label, d.path);
    connect(Dir1, &FolderList::pathChanged, this, &BackupWindow::Dir1_changed);
    // The restore window opens where the automatic copies are, when there are any.
    Dir1->setPath(kind == Kind::Restore ? restoreStartFolder(seams::programDir(), QDir::currentPath())
                                        : QDir::currentPath());
    connect(Drive1, &QComboBox::currentIndexChanged, this, &BackupWindow::Drive1_changed);
    connect(start, &QPushButton::clicked, this,
            kind == Kind::Backup ? &BackupWindow::cmd_datensicherung_clicked
                                 : &BackupWindow::cmd_datenherstellen_clicked);
}

void BackupWindow::Drive1_changed(int index)
{
    if (index < 0 || index >= m_drives.size() || !Dir1->setPath(m_drives[index].path)) {
        // An unreadable drive is ignored: the lists stay where they were, and say so.
        const QSignalBlocker blocker(Drive1);
        Drive1->setCurrentIndex(driveOf(m_drives, Dir1->path()));
    }
}

void BackupWindow::Dir1_changed(const QString &path)
{
    File1->setFolder(path);
    const QSignalBlocker blocker(Drive1);
    Drive1->setCurrentIndex(driveOf(m_drives, path));
}

void BackupWindow::cmd_datensicherung_clicked()
{
    const QString folder = Dir1->path();
    if (logbook::sameFolder(folder, seams::programDir())) {
        ui::critical(this, QStringLiteral("Das Programmverzeichnis kann nicht zur Datensicherung gewählt werden"));
        return;
    }
    const logbook::FileResult result = withWaitCursor([&] {
        return logbook::backupLogbook(logbook::joinPath(seams::programDir(), data::kLogbookFile),
                                      logbook::joinPath(folder, data::kLogbookFile));
    });
    if (!result.ok()) {
        ui::critical(this, QStringLiteral("Die Datensicherung ist fehlgeschlagen.\n\n%1\n\nEine frühere Sicherung "
                                          "in diesem Ordner bleibt unverändert.")
                               .arg(result.error));
        return;
    }
    ui::plain(this, QStringLiteral("Daten wurden erfolgreich nach %1 gesichert").arg(folder));
    ui::closeOwnWindow(this);
}

void BackupWindow::cmd_datenherstellen_clicked()
{
    const QString folder = Dir1->path();
    if (logbook::sameFolder(folder, seams::programDir())) {
        ui::critical(this, QStringLiteral("Bitte den Speicherort der Sicherungskopie wählen"));
        return;
    }
    const QString backup = logbook::joinPath(folder, data::kLogbookFile);
    if (!logbook::isBackupPresent(backup)) {
        ui::plain(this, QStringLiteral("Datei nicht gefunden"));
        ui::closeOwnWindow(this);
        return;
    }
    const logbook::FileResult result = withWaitCursor(
        [&] { return logbook::restoreLogbook(backup, logbook::joinPath(seams::programDir(), data::kLogbookFile)); });
    if (!result.ok()) {
        ui::critical(this, QStringLiteral("Die Wiederherstellung ist fehlgeschlagen.\n\n%1\n\nDas Logbuch ist "
                                          "unverändert.")
                               .arg(result.error));
        return;
    }
    ui::plain(this, QStringLiteral("Daten wurden erfolgreich von %1 wiederhergestellt").arg(folder));
    ui::closeOwnWindow(this);
}

} // namespace backup
