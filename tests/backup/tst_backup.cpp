#include "backup/FolderLists.h"
#include "core/backup/Drives.h"
#include "core/logbook/LogbookFile.h"
#include "shell/MainWindow.h"
#include "support/WindowDriver.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using testsupport::callsIn;
using testsupport::fileBytes;
using testsupport::Fixture;
using testsupport::Window;
using testsupport::writeFile;
using testsupport::writeLogbook;

namespace {

const QString kLogbook = QStringLiteral("Frequenzen1.quorvel");

// The backup or restore window: its folder list, its file list and its start button.
struct CopyWindow : Window {
    using Window::Window;
    backup::FolderList *dir() const { return get<backup::FolderList>("Dir1"); }
    QListWidget *files() const { return get<QListWidget>("File1"); }
    void press() const
    {
        click(w->objectName() == "frm_datensicherung" ? "cmd_datensicherung" : "cmd_datenherstellen");
    }
};

// Opens a window by its menu command, points its folder list at folder (written as given)
// and selects a file in File1 if there is one; returns the window.
CopyWindow openAt(Fixture &fx, const QString &command, const QString &folder)
{
    fx.mainWindow()->trigger(command);
    const CopyWindow w{fx.mainWindow()->area()->activeSubWindow()->widget()};
    if (!w.dir()->setPath(folder))
        qWarning("folder %s not taken", qPrintable(folder));
    if (w.files()->count() > 0)
        w.files()->setCurrentRow(0); // the file list's selection must not matter
    return w;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void windows_data();
    void windows();
    void shortcutsFromAnyWindow_data();
    void shortcutsFromAnyWindow();
    void listsWalkFolders();
    void clickedFolderIsUsed_data();
    void clickedFolderIsUsed();
    void refused_data();
    void refused();
    void roundTrip_data();
    void roundTrip();
};

// clang-format off
void TestBackup::windows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<bool>("minimizable");
    QTest::newRow("backup") << "sichern" << "-*Datensicherung*- Zielordner auswählen" << "cmd_datensicherung"
                            << "Label1" << "Sicherung Starten" << false;
    QTest::newRow("restore") << "rescue" << "-*Daten wiederherstellen*- Sicherungsordner auswählen"
                             << "cmd_datenherstellen" << "Label2" << "Wiederherstellung starten" << true;
}
// clang-format on

// The window opens in the middle of the frame, not beside the windows the command closes.
void TestBackup::windows()
{
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, labelText);
    QFETCH(bool, minimizable);
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->resize(1200, 900);
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    fx.open("frm_kontaktverwaltung");
    main->trigger(command);
    QVERIFY(!fx.isOpen("frm_kontaktverwaltung"));
    QMdiSubWindow *frame = main->area()->activeSubWindow();
    QVERIFY(frame);
    const QPoint middle = main->area()->viewport()->rect().center();
    QVERIFY2((frame->geometry().center() - middle).manhattanLength() <= 2,
             qPrintable(QStringLiteral("at %1,%2").arg(frame->x()).arg(frame->y())));
    const CopyWindow w{frame->widget()};
    QCOMPARE(w.w->windowTitle(), caption);
    QCOMPARE(w.w->size(), QSize(537, 238));
    QCOMPARE(bool(frame->windowFlags() & Qt::WindowMinimizeButtonHint), minimizable);
    QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
    auto *start = w.get<QPushButton>(button);
    QVERIFY(start);
    QCOMPARE(start->text(), QStringLiteral("X"));
    QVERIFY(start->font().bold());
    QCOMPARE(w.get<QLabel>(label)->text(), labelText);
    // The lists open on the working directory and show its database files.
    QCOMPARE(w.dir()->path(), QDir::currentPath());
    QStringList files;
    for (int i = 0; i < w.files()->count(); ++i)
        files << w.files()->item(i)->text();
    QCOMPARE(files, QStringList({"Frequenzen.quorvel", "Frequenzen1.quorvel"}));
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestBackup::shortcutsFromAnyWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("window");
    QTest::newRow("Ctrl+B") << int(Qt::Key_B) << "frm_datensicherung";
    QTest::newRow("Ctrl+W (also a frame's close key)") << int(Qt::Key_W) << "frm_wiederherstellen";
}
// clang-format on

void TestBackup::shortcutsFromAnyWindow()
{
    QFETCH(int, key);
    QFETCH(QString, window);
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QWidget *finder = fx.open("frm_suche");
    testsupport::child<QLineEdit>(finder, "txt_kanal")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
    QVERIFY(fx.isOpen(window));
    QVERIFY(!fx.isOpen("frm_suche"));
}

void TestBackup::listsWalkFolders()
{
    Fixture fx;
    fx.replace(seams::volumes, [] { return QList<backup::Volume>{{"/media/funk/STICK/", "STICK"}}; });
    QDir(fx.dir()).mkpath("Sicherung/Alt");
    writeFile(fx.path("Sicherung/a.QUORVEL"), "x");
    writeFile(fx.path("Sicherung/.versteckt.quorvel"), "x");
    writeFile(fx.path("Sicherung/b.txt"), "x");
    const CopyWindow w = openAt(fx, "sichern", fx.dir());
    auto *drive = w.get<QComboBox>("Drive1");
    auto *dir = w.dir();
    auto *files = w.files();
    QStringList labels; // how the list is made: tst_drives
    for (int i = 0; i < drive->count(); ++i)
        labels << drive->itemText(i);
    QCOMPARE(labels, QStringList({"/ (Dateisystem)", "Persönlicher Ordner (" + QDir::homePath() + ")",
                                  "STICK (/media/funk/STICK)"}));

    // Into a subfolder by a double click: the file list follows, with *.quorvel only.
    QListWidgetItem *sub = dir->findItems("Sicherung", Qt::MatchExactly).value(0);
    QVERIFY(sub);
    emit dir->itemActivated(sub);
    QTRY_COMPARE(dir->path(), fx.path("Sicherung"));
    QCOMPARE(files->count(), 1);
    QCOMPARE(files->item(0)->text(), QStringLiteral("a.QUORVEL"));
    QCOMPARE(dir->item(dir->count() - 1)->text(), QStringLiteral("Alt"));

    // An unreadable drive (an empty card reader) is ignored: the lists stay where they were.
    const int current = drive->currentIndex();
    drive->setCurrentIndex(2);
    QCOMPARE(dir->path(), fx.path("Sicherung"));
    QCOMPARE(drive->currentIndex(), current);

    // Out again through an ancestor, up to the root.
    QListWidgetItem *root = dir->item(0);
    QCOMPARE(root->text(), QStringLiteral("/"));
    emit dir->itemActivated(root);
    QTRY_COMPARE(dir->path(), QStringLiteral("/"));
    QCOMPARE(drive->currentIndex(), 0);
}

// clang-format off
void TestBackup::clickedFolderIsUsed_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("opened"); // the folder the list is opened at, under the test's folder
    QTest::addColumn<QString>("pick");   // the entry clicked once; "down": the arrow key instead
    QTest::addColumn<QString>("used");   // the folder that is written to or read from
    for (const char *command : {"sichern", "rescue"}) {
        QTest::addRow("%s, a subfolder", command) << command << "" << "Stick" << "Stick";
        QTest::addRow("%s, an ancestor", command) << command << "Stick/Alt" << "Stick" << "Stick";
        QTest::addRow("%s, arrow key", command) << command << "Stick/.." << "down" << "Stick";
    }
}
// clang-format on

// The folder a click highlights is the one the button uses, and the line above the button names
// the file it writes or reads, while the list stays where it was; a double click still opens it.
void TestBackup::clickedFolderIsUsed()
{
    QFETCH(QString, command);
    QFETCH(QString, opened);
    QFETCH(QString, pick);
    QFETCH(QString, used);
    Fixture fx;
    QVERIFY(QDir(fx.dir()).mkpath("Stick/Alt"));
    const QString usedPath = fx.path(used);
    if (command == "rescue")
        writeLogbook(usedPath + "/" + kLogbook, {"DL1ABC", "DO2XYZ"});
    const CopyWindow w = openAt(fx, command, QDir::cleanPath(fx.path(opened)));
    auto *dir = w.dir();
    const QString openedPath = dir->path();
    if (pick == "down") {
        dir->setFocus();
        QTest::keyClick(dir, Qt::Key_Down);
    } else {
        QListWidgetItem *item = dir->findItems(pick, Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, dir->visualItemRect(item).center());
    }
    QCOMPARE(dir->path(), openedPath); // highlighted, not opened
    const QString target =
        (command == "sichern" ? "Sicherung nach: " : "Wiederherstellen aus: ") + usedPath + "/" + kLogbook;
    QCOMPARE(w.get<QLabel>("lbl_ziel")->text(), target);
    QCOMPARE(w.files()->count(), command == "rescue" ? 1 : 0); // the files of the highlighted folder

    w.press();
    if (command == "sichern") {
        QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich nach " + usedPath + " gesichert"});
        QCOMPARE(callsIn(usedPath + "/" + kLogbook), callsIn(fx.path(kLogbook)));
    } else {
        QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich von " + usedPath + " wiederhergestellt"});
        QCOMPARE(callsIn(fx.path(kLogbook)), QStringList({"DL1ABC", "DO2XYZ"}));
    }
}

// clang-format off
void TestBackup::refused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("folder");     // the folder list's path, after the program's directory
    QTest::addColumn<QString>("programDir"); // the program's directory as the system gives it, likewise
    QTest::addColumn<QString>("backup");     // what stands in Stick under the backup's name; "nolog": no logbook
    QTest::addColumn<QString>("message");    // the whole text, or its start when a reason follows
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("closes");
    const QString backup = "Das Programmverzeichnis kann nicht zur Datensicherung gewählt werden";
    const QString restore = "Bitte den Speicherort der Sicherungskopie wählen";
    for (const auto &[command, message] : {std::pair{"sichern", backup}, std::pair{"rescue", restore}}) {
        QTest::addRow("%s, same text", command) << command << "" << "" << "" << message << "" << false;
        QTest::addRow("%s, trailing slash", command) << command << "" << "/" << "" << message << "" << false;
        QTest::addRow("%s, through ..", command) << command << "" << "/Sicherung/.." << "" << message << "" << false;
        QTest::addRow("%s, through a link", command) << command << "/Verweis" << "" << "" << message << "" << false;
    }
    // A failure is told as one, and the window stays for another try (every reason: tst_logbook_file);
    // a missing backup is only said.
    QTest::newRow("backup, logbook missing") << "sichern" << "/Stick" << "" << "nolog"
                                             << "Die Datensicherung ist fehlgeschlagen." << "wurde nicht gefunden" << false;
    QTest::newRow("restore, no file") << "rescue" << "/Stick" << "" << "" << "Datei nicht gefunden" << "" << true;
    QTest::newRow("restore, a folder of that name") << "rescue" << "/Stick" << "" << "folder" << "Datei nicht gefunden"
                                                    << "" << true;
    QTest::newRow("restore, not a database") << "rescue" << "/Stick" << "" << "text"
                                             << "Die Wiederherstellung ist fehlgeschlagen." << "keine Datenbankdatei"
                                             << false;
}
// clang-format on

// Refused or failed: said so, and nothing changes in the program's folder.
void TestBackup::refused()
{
    QFETCH(QString, command);
    QFETCH(QString, folder);
    QFETCH(QString, programDir);
    QFETCH(QString, backup);
    QFETCH(QString, message);
    QFETCH(QString, reason);
    QFETCH(bool, closes);
    Fixture fx;
    QVERIFY(QDir(fx.dir()).mkdir("Sicherung") && QDir(fx.dir()).mkdir("Stick"));
    QVERIFY(QFile::link(fx.dir(), fx.path("Verweis")));
    writeLogbook(fx.path("Sicherung/" + kLogbook), {"DL1ABC"});
    if (backup == "nolog")
        QVERIFY(QFile::remove(fx.path(kLogbook)));
    if (backup == "folder")
        QVERIFY(QDir().mkpath(fx.path("Stick/" + kLogbook)));
    if (backup == "text")
        writeFile(fx.path("Stick/" + kLogbook), "Skip;Vorname;QTH\nRotfuchs;Karl;Berlin\n");
    const QString dir = fx.dir() + programDir;
    fx.replace(seams::programDir, [dir] { return dir; });
    const QByteArray live = fileBytes(fx.path(kLogbook)), source = fileBytes(fx.path("Stick/" + kLogbook));
    const QStringList files = QDir(fx.dir()).entryList(QDir::Files | QDir::Hidden);
    const CopyWindow w = openAt(fx, command, fx.dir() + folder);
    const QString name = w.w->objectName();
    w.press();
    QCOMPARE(fx.messages.size(), 1);
    QVERIFY2(reason.isEmpty() ? fx.messages[0].text == message
                              : fx.messages[0].text.startsWith(message) && fx.messages[0].text.contains(reason),
             qPrintable(fx.messages[0].text));
    QCOMPARE(fx.messages[0].icon, closes ? QMessageBox::NoIcon : QMessageBox::Critical);
    QCOMPARE(fx.isOpen(name), !closes);
    QCOMPARE(fileBytes(fx.path(kLogbook)), live);
    QCOMPARE(fileBytes(fx.path("Stick/" + kLogbook)), source);
    QCOMPARE(QDir(fx.dir()).entryList(QDir::Files | QDir::Hidden), files); // nothing kept, nothing left over
}

// clang-format off
void TestBackup::roundTrip_data()
{
    QTest::addColumn<bool>("ownProgramDir"); // the program's directory is not the working directory
    QTest::newRow("started in its own folder") << false;
    QTest::newRow("started elsewhere") << true;
}
// clang-format on

// Back up, add a contact, restore: the added contact is gone, the others are back, and each window
// says so and closes. The logbook is the one beside the program, wherever it was started.
void TestBackup::roundTrip()
{
    QFETCH(bool, ownProgramDir);
    Fixture fx;
    const QString programDir = ownProgramDir ? fx.path("Programm") : fx.dir();
    const QString live = programDir + "/" + kLogbook;
    writeLogbook(live, {"DL1ABC", "DO2XYZ"});
    if (ownProgramDir) {
        fx.replace(seams::programDir, [programDir] { return programDir; });
        writeLogbook(fx.path(kLogbook), {"ARBEITSORDNER"});
    }
    const QString stick = fx.path("Stick");
    QVERIFY(QDir(fx.dir()).mkdir("Stick"));
    openAt(fx, "sichern", stick).press();
    QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich nach " + stick + " gesichert"});
    QCOMPARE(fx.messages[0].icon, QMessageBox::NoIcon);
    QVERIFY(!fx.isOpen("frm_datensicherung"));
    QCOMPARE(callsIn(stick + "/" + kLogbook), QStringList({"DL1ABC", "DO2XYZ"}));

    QVERIFY(testsupport::execSql(live, testsupport::insertCalls({"DK3NEU"})));
    fx.clearMessages();
    openAt(fx, "rescue", stick).press();
    QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich von " + stick + " wiederhergestellt"});
    QCOMPARE(fx.messages[0].icon, QMessageBox::NoIcon);
    QVERIFY(!fx.isOpen("frm_wiederherstellen"));
    QCOMPARE(callsIn(live), QStringList({"DL1ABC", "DO2XYZ"}));
    QCOMPARE(callsIn(programDir + "/" + logbook::kReplacedLogbookName), QStringList({"DL1ABC", "DO2XYZ", "DK3NEU"}));
    if (ownProgramDir)
        QCOMPARE(callsIn(fx.path(kLogbook)), QStringList{"ARBEITSORDNER"});
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
