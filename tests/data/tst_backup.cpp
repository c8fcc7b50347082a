#include "backup/FolderLists.h"
#include "core/backup/Drives.h"
#include "core/logbook/LogbookFile.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "support/TestSupport.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

using testsupport::Fixture;

namespace {

const QString kLogbook = QStringLiteral("Frequenzen1.quorvel");

QByteArray bytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void writeBytes(const QString &file, const QByteArray &data)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QString sqlCalls(const QStringList &calls)
{
    QString sql = QStringLiteral("BEGIN;");
    for (const QString &c : calls)
        sql += QStringLiteral("INSERT INTO Kontakt (skip, callsign, bemerkung) VALUES ('%1', '%1', "
                              "hex(randomblob(150)));")
                   .arg(c);
    return sql + QStringLiteral("COMMIT;");
}

// A logbook file holding these call signs, made from the shipped empty logbook.
void writeLogbook(const QString &file, const QStringList &calls)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile::remove(file);
    QVERIFY(QFile::copy(Fixture::builtFile(kLogbook), file));
    QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    QVERIFY(testsupport::execSql(file, sqlCalls(calls)));
}

QStringList numbered(const QString &stem, int n)
{
    QStringList calls;
    for (int i = 0; i < n; ++i)
        calls << stem + QString::number(i);
    return calls;
}

// The call signs of a logbook in the order they were entered, after an integrity check; a
// marker when the file is no intact logbook.
QStringList callsIn(const QString &file)
{
    if (testsupport::sqlColumn(file, "PRAGMA integrity_check") != QStringList{"ok"})
        return {QStringLiteral("<kein intaktes Logbuch>")};
    return testsupport::sqlColumn(file, "SELECT callsign FROM Kontakt ORDER BY id");
}

// Files SQLite or an interrupted copy could leave beside a database file.
QStringList leftovers(const QString &file)
{
    QStringList found;
    const QFileInfo info(file);
    for (const QString &name : {info.fileName() + "-journal", info.fileName() + "-wal", info.fileName() + "-shm",
                                "." + info.fileName() + ".neu", QStringLiteral(".Frequenzen1-vorher.quorvel.neu")})
        if (QFileInfo::exists(info.dir().filePath(name)))
            found << name;
    return found;
}

// The state of a logbook in the middle of a write, as a killed process leaves it: the file
// with its companions (a hot journal, or a log not yet folded in) copied while the writer runs.
void leaveInterruptedWrite(const QString &live, bool wal, const QStringList &extraCalls)
{
    const QString scratch = live + ".scratch";
    QVERIFY(QFile::copy(live, scratch));
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(scratch).constData(), &db), SQLITE_OK);
    const QString setup = wal ? "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;" + sqlCalls(extraCalls)
                              : "PRAGMA cache_size=5; BEGIN;" + sqlCalls(numbered("HALB", 300)).mid(6).chopped(7);
    QCOMPARE(sqlite3_exec(db, setup.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QStringList suffixes = wal ? QStringList{"", "-wal", "-shm"} : QStringList{"", "-journal"};
    for (const QString &s : suffixes) {
        QFile::remove(live + s);
        QVERIFY2(QFile::copy(scratch + s, live + s), qPrintable(s));
    }
    sqlite3_close(db);
    for (const QString &s : QStringList{"", "-journal", "-wal", "-shm"})
        QFile::remove(scratch + s);
}

// Writes beyond this many bytes fail as on a full disk while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

// Opens a window by its menu command, points its folder list at folder (written as given)
// and selects a file in File1 if there is one; returns the window.
QWidget *openAt(Fixture &fx, const char *command, const QString &folder)
{
    fx.mainWindow()->trigger(command);
    QWidget *w = fx.mainWindow()->area()->activeSubWindow()->widget();
    auto *dir = testsupport::child<backup::FolderList>(w, "Dir1");
    if (!dir->setPath(folder))
        qWarning("folder %s not taken", qPrintable(folder));
    auto *files = testsupport::child<QListWidget>(w, "File1");
    if (files->count() > 0)
        files->setCurrentRow(0); // the file list's selection must not matter
    return w;
}

void press(QWidget *window)
{
    const char *name = window->objectName() == "frm_datensicherung" ? "cmd_datensicherung" : "cmd_datenherstellen";
    QTest::mouseClick(testsupport::child<QPushButton>(window, name), Qt::LeftButton);
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
    void refusedInProgramDir_data();
    void refusedInProgramDir();
    void backup_data();
    void backup();
    void backupFails_data();
    void backupFails();
    void restore_data();
    void restore();
    void restoreRefused_data();
    void restoreRefused();
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

void TestBackup::windows()
{
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, labelText);
    QFETCH(bool, minimizable);
    Fixture fx;
    fx.mainWindow()->trigger(command);
    QMdiSubWindow *frame = fx.mainWindow()->area()->activeSubWindow();
    QWidget *w = frame->widget();
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->size(), QSize(537, 214));
    QCOMPARE(bool(frame->windowFlags() & Qt::WindowMinimizeButtonHint), minimizable);
    QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
    auto *start = testsupport::child<QPushButton>(w, button);
    QVERIFY(start);
    QCOMPARE(start->text(), QStringLiteral("X"));
    QVERIFY(start->font().bold());
    QCOMPARE(testsupport::child<QLabel>(w, label)->text(), labelText);
    // The lists open on the working directory and show its database files.
    QCOMPARE(testsupport::child<backup::FolderList>(w, "Dir1")->path(), QDir::currentPath());
    QStringList files;
    auto *list = testsupport::child<QListWidget>(w, "File1");
    for (int i = 0; i < list->count(); ++i)
        files << list->item(i)->text();
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
    fx.replace(seams::volumes, [] {
        return QList<backup::Volume>{{"/run/media/funk/DISK", ""},
                                     {"/boot", "BOOT"},
                                     {"/media/funk/STICK/", "STICK"},
                                     {"/media", ""},
                                     {"/mnt", ""}};
    });
    QDir(fx.dir()).mkpath("Sicherung/Alt");
    writeBytes(fx.path("Sicherung/a.QUORVEL"), "x");
    writeBytes(fx.path("Sicherung/.versteckt.quorvel"), "x");
    writeBytes(fx.path("Sicherung/b.txt"), "x");
    QWidget *w = openAt(fx, "sichern", fx.dir());
    auto *drive = testsupport::child<QComboBox>(w, "Drive1");
    auto *dir = testsupport::child<backup::FolderList>(w, "Dir1");
    auto *files = testsupport::child<QListWidget>(w, "File1");
    QStringList labels;
    for (int i = 0; i < drive->count(); ++i)
        labels << drive->itemText(i);
    QCOMPARE(labels, QStringList({"/ (Dateisystem)", "Persönlicher Ordner (" + QDir::homePath() + ")",
                                  "STICK (/media/funk/STICK)", "/mnt", "/run/media/funk/DISK"}));

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
    // One separator between folder and file, also for the root.
    QCOMPARE(logbook::joinPath(dir->path(), kLogbook), QStringLiteral("/Frequenzen1.quorvel"));
    QCOMPARE(logbook::joinPath(fx.path("Sicherung"), kLogbook), fx.path("Sicherung/Frequenzen1.quorvel"));
}

// clang-format off
void TestBackup::refusedInProgramDir_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("folder");     // the folder list's path, after the program's directory
    QTest::addColumn<QString>("programDir"); // the program's directory as the system gives it, likewise
    QTest::addColumn<QString>("message");
    const QString backup = "Das Programmverzeichnis kann nicht zur Datensicherung gewählt werden";
    const QString restore = "Bitte den Speicherort der Sicherungskopie wählen";
    for (const auto &[command, message] : {std::pair{"sichern", backup}, std::pair{"rescue", restore}}) {
        QTest::addRow("%s, same text", command) << command << "" << "" << message;
        QTest::addRow("%s, trailing slash", command) << command << "" << "/" << message;
        QTest::addRow("%s, through ..", command) << command << "" << "/Sicherung/.." << message;
        QTest::addRow("%s, through a link", command) << command << "/Verweis" << "" << message;
    }
}
// clang-format on

void TestBackup::refusedInProgramDir()
{
    QFETCH(QString, command);
    QFETCH(QString, folder);
    QFETCH(QString, programDir);
    QFETCH(QString, message);
    Fixture fx;
    QVERIFY(QDir(fx.dir()).mkdir("Sicherung"));
    QVERIFY(QFile::link(fx.dir(), fx.path("Verweis")));
    writeLogbook(fx.path("Sicherung/" + kLogbook), {"DL1ABC"});
    const QString dir = fx.dir() + programDir;
    fx.replace(seams::programDir, [dir] { return dir; });
    const QByteArray live = bytes(fx.path(kLogbook));
    QWidget *w = openAt(fx, command.toLatin1(), fx.dir() + folder);
    press(w);
    QCOMPARE(fx.messageTexts(), QStringList{message});
    QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QVERIFY(fx.isOpen(w->objectName()));
    QCOMPARE(bytes(fx.path(kLogbook)), live);
    QCOMPARE(QDir(fx.dir()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"Frequenzen.quorvel", "Frequenzen1.quorvel"}));
}

// clang-format off
void TestBackup::backup_data()
{
    QTest::addColumn<QStringList>("oldBackup"); // empty: none
    QTest::addColumn<bool>("ownProgramDir");   // the program's directory is not the working directory
    QTest::newRow("new folder") << QStringList() << false;
    QTest::newRow("over an earlier backup") << QStringList{"ALT1", "ALT2"} << false;
    QTest::newRow("started elsewhere") << QStringList() << true;
}
// clang-format on

void TestBackup::backup()
{
    QFETCH(QStringList, oldBackup);
    QFETCH(bool, ownProgramDir);
    Fixture fx;
    const QString programDir = ownProgramDir ? fx.path("Programm") : fx.dir();
    const QStringList calls = numbered("DL", 40);
    writeLogbook(programDir + "/" + kLogbook, calls);
    if (ownProgramDir) {
        fx.replace(seams::programDir, [programDir] { return programDir; });
        writeLogbook(fx.path(kLogbook), {"ARBEITSORDNER"});
    }
    const QString target = fx.path("Stick");
    QVERIFY(QDir().mkpath(target));
    QVERIFY(QFile::copy(fx.path("Frequenzen.quorvel"), target + "/Frequenzen.quorvel"));
    if (!oldBackup.isEmpty()) {
        writeLogbook(target + "/" + kLogbook, oldBackup);
        writeBytes(target + "/.Frequenzen1.quorvel.neu", "Rest eines abgebrochenen Laufs");
    }
    const QByteArray live = bytes(programDir + "/" + kLogbook);

    QWidget *w = openAt(fx, "sichern", target);
    press(w);
    QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich nach " + target + " gesichert"});
    QCOMPARE(fx.messages[0].icon, QMessageBox::NoIcon);
    QVERIFY(!fx.isOpen("frm_datensicherung"));
    QCOMPARE(callsIn(target + "/" + kLogbook), calls);
    QCOMPARE(leftovers(target + "/" + kLogbook), QStringList());
    QCOMPARE(bytes(programDir + "/" + kLogbook), live);
}

// clang-format off
void TestBackup::backupFails_data()
{
    QTest::addColumn<QString>("target"); // a folder; "%1" stands for the test's folder
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << "%1/Stick" << "full" << "nicht genug Platz";
    QTest::newRow("folder takes no file") << "/proc" << "" << "keine Dateien angelegt";
    QTest::newRow("name taken by a folder") << "%1/Stick" << "folder" << "Ordner gleichen Namens";
    QTest::newRow("logbook missing") << "%1/Stick" << "nolog" << "wurde nicht gefunden";
}
// clang-format on

void TestBackup::backupFails()
{
    QFETCH(QString, target);
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    Fixture fx;
    target.replace("%1", fx.dir());
    const QString backupFile = logbook::joinPath(target, kLogbook);
    writeLogbook(fx.path(kLogbook), numbered("DL", 3000));
    if (target.startsWith(fx.dir()))
        writeLogbook(backupFile, {"ALT"});
    if (fault == "folder") {
        QFile::remove(backupFile);
        QVERIFY(QDir().mkpath(backupFile + "/inhalt"));
    }
    if (fault == "nolog")
        QVERIFY(QFile::remove(fx.path(kLogbook)));
    const QByteArray before = bytes(backupFile);

    QWidget *w = openAt(fx, "sichern", target);
    {
        std::optional<FileSizeLimit> limit;
        if (fault == "full")
            limit.emplace(256 * 1024);
        press(w);
    }
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QVERIFY2(fx.messages[0].text.startsWith("Die Datensicherung ist fehlgeschlagen."), qPrintable(fx.messages[0].text));
    QVERIFY2(fx.messages[0].text.contains(reason), qPrintable(fx.messages[0].text));
    QVERIFY(fx.isOpen("frm_datensicherung"));
    QCOMPARE(bytes(backupFile), before);
    QCOMPARE(leftovers(backupFile), QStringList());
    QCOMPARE(QFileInfo::exists(fx.path(kLogbook)), fault != "nolog");
}

// clang-format off
void TestBackup::restore_data()
{
    QTest::addColumn<QString>("liveState");
    QTest::addColumn<QStringList>("keptCalls"); // the replaced logbook as kept; empty: none kept
    const QStringList old = {"ALT1", "ALT2"};
    QTest::newRow("closed logbook") << "" << old;
    QTest::newRow("hot journal of a killed write") << "journal" << old;
    QTest::newRow("write-ahead log not folded in") << "wal" << old + QStringList{"WAL1", "WAL2"};
    QTest::newRow("no logbook yet") << "missing" << QStringList();
    QTest::newRow("started elsewhere") << "elsewhere" << old;
}
// clang-format on

void TestBackup::restore()
{
    QFETCH(QString, liveState);
    QFETCH(QStringList, keptCalls);
    Fixture fx;
    const QString programDir = liveState == "elsewhere" ? fx.path("Programm") : fx.dir();
    const QString live = programDir + "/" + kLogbook;
    writeLogbook(live, {"ALT1", "ALT2"});
    if (liveState == "elsewhere") {
        fx.replace(seams::programDir, [programDir] { return programDir; });
        writeLogbook(fx.path(kLogbook), {"ARBEITSORDNER"});
    }
    if (liveState == "journal" || liveState == "wal")
        leaveInterruptedWrite(live, liveState == "wal", {"WAL1", "WAL2"});
    if (liveState == "missing")
        QVERIFY(QFile::remove(live));
    const QStringList saved = numbered("GESICHERT", 25);
    const QString source = fx.path("Stick/" + kLogbook);
    writeLogbook(source, saved);
    const QByteArray sourceBytes = bytes(source);

    press(openAt(fx, "rescue", fx.path("Stick")));
    QCOMPARE(fx.messageTexts(), QStringList{"Daten wurden erfolgreich von " + fx.path("Stick") + " wiederhergestellt"});
    QCOMPARE(fx.messages[0].icon, QMessageBox::NoIcon);
    QVERIFY(!fx.isOpen("frm_wiederherstellen"));
    QCOMPARE(callsIn(live), saved);
    QCOMPARE(leftovers(live), QStringList());
    const QString kept = programDir + "/" + logbook::kReplacedLogbookName;
    QCOMPARE(QFileInfo::exists(kept), !keptCalls.isEmpty());
    if (!keptCalls.isEmpty())
        QCOMPARE(callsIn(kept), keptCalls);
    QCOMPARE(bytes(source), sourceBytes);
    if (liveState == "elsewhere")
        QCOMPARE(callsIn(fx.path(kLogbook)), QStringList{"ARBEITSORDNER"});
}

// clang-format off
void TestBackup::restoreRefused_data()
{
    QTest::addColumn<QString>("backup"); // what stands under the backup's name
    QTest::addColumn<QString>("message"); // the whole text, or what it contains
    QTest::addColumn<bool>("closes");
    QTest::newRow("no file") << "none" << "Datei nicht gefunden" << true;
    QTest::newRow("a folder of that name") << "folder" << "Datei nicht gefunden" << true;
    QTest::newRow("not a database") << "text" << "keine Datenbankdatei" << false;
    QTest::newRow("empty file") << "empty" << "die Tabelle „Kontakt“ fehlt" << false;
    QTest::newRow("truncated") << "truncated" << "beschädigt" << false;
    QTest::newRow("reference file") << "reference" << "die Tabelle „Kontakt“ fehlt" << false;
    QTest::newRow("column missing") << "column" << "der Tabelle „Kontakt_dx“ fehlt die Spalte „qslbekommen“"
                                    << false;
    QTest::newRow("copied mid-write") << "journal" << "nicht vollständig geschrieben" << false;
    QTest::newRow("program folder full") << "full" << "nicht genug Platz" << false;
}
// clang-format on

void TestBackup::restoreRefused()
{
    QFETCH(QString, backup);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    Fixture fx;
    const QString live = fx.path(kLogbook);
    writeLogbook(live, {"ALT1", "ALT2"});
    const QString source = fx.path("Stick/" + kLogbook);
    QDir().mkpath(fx.path("Stick"));
    if (backup == "folder")
        QDir().mkpath(source);
    if (backup == "text")
        writeBytes(source, "Skip;Vorname;QTH\nRotfuchs;Karl;Berlin\n");
    if (backup == "empty")
        writeBytes(source, "");
    if (backup == "reference")
        QVERIFY(QFile::copy(fx.path("Frequenzen.quorvel"), source));
    if (backup == "truncated" || backup == "full" || backup == "journal") {
        writeLogbook(source, numbered("GESICHERT", 3000));
        if (backup == "truncated")
            writeBytes(source, bytes(source).left(bytes(source).size() * 2 / 3));
        if (backup == "journal")
            leaveInterruptedWrite(source, false, {});
    }
    if (backup == "column") {
        writeLogbook(source, {"DL1ABC"});
        QVERIFY(testsupport::execSql(source, "ALTER TABLE Kontakt_dx DROP COLUMN qslbekommen"));
    }
    const QByteArray liveBytes = bytes(live);
    const QByteArray sourceBytes = bytes(source);

    QWidget *w = openAt(fx, "rescue", fx.path("Stick"));
    {
        std::optional<FileSizeLimit> limit;
        if (backup == "full")
            limit.emplace(256 * 1024);
        press(w);
    }
    QCOMPARE(fx.messages.size(), 1);
    if (closes) {
        QCOMPARE(fx.messages[0].text, message);
        QCOMPARE(fx.messages[0].icon, QMessageBox::NoIcon);
    } else {
        QVERIFY2(fx.messages[0].text.startsWith("Die Wiederherstellung ist fehlgeschlagen."),
                 qPrintable(fx.messages[0].text));
        QVERIFY2(fx.messages[0].text.contains(message), qPrintable(fx.messages[0].text));
        QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    }
    QCOMPARE(fx.isOpen("frm_wiederherstellen"), !closes);
    QCOMPARE(bytes(live), liveBytes);
    QCOMPARE(leftovers(live), QStringList());
    QVERIFY(!QFileInfo::exists(fx.path(logbook::kReplacedLogbookName)));
    QCOMPARE(bytes(source), sourceBytes);
}

void TestBackup::roundTrip()
{
    // Back up, add a contact, restore: the added contact is gone, the others are back.
    Fixture fx;
    writeLogbook(fx.path(kLogbook), {"DL1ABC", "DO2XYZ"});
    QVERIFY(QDir(fx.dir()).mkdir("Stick"));
    press(openAt(fx, "sichern", fx.path("Stick")));
    QVERIFY(testsupport::execSql(fx.path(kLogbook), sqlCalls({"DK3NEU"})));
    press(openAt(fx, "rescue", fx.path("Stick")));
    QCOMPARE(fx.messages.size(), 2);
    QCOMPARE(callsIn(fx.path(kLogbook)), QStringList({"DL1ABC", "DO2XYZ"}));
    QCOMPARE(callsIn(fx.path(logbook::kReplacedLogbookName)), QStringList({"DL1ABC", "DO2XYZ", "DK3NEU"}));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
