// The ADIF windows as the user drives them from the menu: the logbook windows out of the way
// first, export and import with what the user sees, the file dialog, progress and its Abbrechen.
#include "core/data/RecordSource.h"
#include "shell/MainWindow.h"
#include "support/WindowDriver.h"
#include "ui/Progress.h"
#include "ui/Seams.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testsupport::child;
using testsupport::fileBytes;
using testsupport::Fixture;
using testsupport::writeFile;

namespace {

// Cancels once it has been told this many steps (never when negative).
class StandInProgress : public ui::Progress {
public:
    explicit StandInProgress(int cancelAfter, int *steps) : m_cancelAfter(cancelAfter), m_steps(steps) {}
    bool step(qint64, qint64) override { return m_cancelAfter < 0 || ++*m_steps <= m_cancelAfter; }

private:
    int m_cancelAfter;
    int *m_steps;
};

int count(const QString &table)
{
    return testsupport::sqlColumn("Frequenzen1.quorvel", "SELECT count(*) FROM " + table).value(0).toInt();
}

} // namespace

class TestAdifWindows : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("TZ", "Europe/Berlin");
        m_cancelAfter = -1;
        m_steps = 0;
        m_dialogs.clear();
        m_dialogAnswer.clear();
        m_fx = std::make_unique<Fixture>();
        m_fx->replace(seams::progress, [this](QWidget *, const QString &) -> std::unique_ptr<ui::Progress> {
            return std::make_unique<StandInProgress>(m_cancelAfter, &m_steps);
        });
        m_fx->replace(seams::fileDialog, [this](QWidget *, const ui::FileRequest &r) {
            m_dialogs << r;
            return m_dialogAnswer;
        });
        QVERIFY(testsupport::execSql("Frequenzen1.quorvel",
                                     "INSERT INTO Kontakt (skip, callsign, datum, uhrzeit, frequenz, band, ort) VALUES "
                                     "('Jörg', 'DL1ABC', '30.06.2006', '21:45', '27,005', 'FM', 'Köln'),"
                                     "('Ärger', 'DL2XYZ', '15.01.2007', '00:30', NULL, 'usb', 'Gießen')"));
    }
    void cleanup() { m_fx.reset(); }

    void menuCommands();
    void pendingContactIsSavedFirst();
    void commandStopsWhenTheContactCannotBeSaved();
    void exportByTypedName();
    void exportRefusesAnExistingTypedName();
    void exportReplacesWhatTheDialogConfirmed();
    void importIntoTheOtherLogbook();
    void importListsRejectsAndSavesThem();
    void importCancelled();

private:
    // Runs a menu command; the window it shows.
    QWidget *run(const char *command)
    {
        m_fx->mainWindow()->trigger(command);
        return m_fx->mainWindow()->findChild<QWidget *>(command == QByteArray("adifexport") ? "frm_adifexport"
                                                                                            : "frm_adifimport");
    }
    // Runs a menu command, types the file's name and clicks cmd_start; the window.
    testsupport::Window start(const char *command, const QString &file)
    {
        const testsupport::Window w(run(command));
        w.type("txt_datei", file);
        w.click("cmd_start");
        return w;
    }
    std::unique_ptr<Fixture> m_fx;
    int m_cancelAfter = -1;
    int m_steps = 0;
    QList<ui::FileRequest> m_dialogs;
    QString m_dialogAnswer;
};

void TestAdifWindows::menuCommands()
{
    QMenu *menu = m_fx->mainWindow()->menu("sicherung");
    QStringList items;
    for (QAction *a : menu->actions())
        items << a->objectName() + '=' + a->text();
    QCOMPARE(items, (QStringList{"sichern=Backup", "rescue=Wiederherstellung", "adifexport=ADIF-Export ...",
                                 "adifimport=ADIF-Import ..."}));
    for (const char *command : {"adifexport", "adifimport"}) {
        QWidget *w = run(command);
        QVERIFY(w);
        for (const char *name : {"opt_local", "opt_dx"})
            QVERIFY(child<QRadioButton>(w, name));
        QVERIFY(child<QRadioButton>(w, "opt_local")->isChecked());
        QCOMPARE(child<QPushButton>(w, "cmd_datei")->text(), QStringLiteral("..."));
        QVERIFY(child<QLineEdit>(w, "txt_datei")->text().isEmpty());
        QVERIFY(child<QLabel>(w, "lbl_ergebnis")->text().isEmpty());
        QVERIFY(child<QPushButton>(w, "cmd_start"));
        QCOMPARE(run(command), w); // one instance
    }
    QVERIFY(child<QListWidget>(m_fx->mainWindow()->findChild<QWidget *>("frm_adifimport"), "lst_abgelehnt"));
}

void TestAdifWindows::pendingContactIsSavedFirst()
{
    QWidget *log = m_fx->open("frm_kontaktverwaltung");
    child<QPushButton>(log, "cmd_neu")->click();
    child<QLineEdit>(log, "txt_skip")->insert("Neu getippt");
    QVERIFY(run("adifexport"));
    QVERIFY(!m_fx->isOpen("frm_kontaktverwaltung"));
    QCOMPARE(count("Kontakt"), 3);
    QVERIFY(m_fx->messages.isEmpty());
}

void TestAdifWindows::commandStopsWhenTheContactCannotBeSaved()
{
    QWidget *log = m_fx->open("frm_kontaktverwaltungdx");
    log->findChild<data::RecordSource *>()->setBusyTimeout(50);
    child<QPushButton>(log, "cmd_neu")->click();
    child<QLineEdit>(log, "txt_callsign")->insert("DL9WAIT");
    {
        const sql::Database other = testsupport::lockExclusively("Frequenzen1.quorvel");
        QVERIFY(other.isOpen());
        m_fx->mainWindow()->trigger("adifimport");
    }
    QVERIFY(m_fx->isOpen("frm_kontaktverwaltungdx"));
    QVERIFY(!m_fx->isOpen("frm_adifimport"));
    QCOMPARE(m_fx->messages.size(), 1);
    QVERIFY(m_fx->messages[0].text.startsWith("Der Datensatz wurde nicht gespeichert."));
}

void TestAdifWindows::exportByTypedName()
{
    const QString file = m_fx->path("log.adi");
    const auto w = start("adifexport", file);
    const QString done = QStringLiteral("2 Kontakte des Logbuchs LOCAL nach „%1“ exportiert.").arg(file);
    QCOMPARE(w.text("lbl_ergebnis"), done);
    QCOMPARE(m_fx->messageTexts(), QStringList{done});
    const QByteArray adi = fileBytes(file);
    // In the list's order (Ärger before Jörg), in UTC, umlauts in UTF-8 counted in bytes.
    QVERIFY(adi.indexOf("<CALL:6>DL2XYZ") < adi.indexOf("<CALL:6>DL1ABC"));
    QVERIFY(adi.contains("<QSO_DATE:8>20060630 <TIME_ON:4>1945 <FREQ:6>27.005 <MODE:2>FM "));
    QVERIFY(adi.contains("<QSO_DATE:8>20070114 <TIME_ON:4>2330 <MODE:3>SSB <SUBMODE:3>USB "));
    QVERIFY(adi.contains("<QTH:7>Gießen  "));
}

void TestAdifWindows::exportRefusesAnExistingTypedName()
{
    const QString file = m_fx->path("da.adx");
    writeFile(file, "alt");
    const auto w = start("adifexport", file);
    QCOMPARE(m_fx->messages.size(), 1);
    QCOMPARE(m_fx->messages[0].icon, QMessageBox::Critical);
    QVERIFY(m_fx->messages[0].text.startsWith(QStringLiteral("Die Datei „%1“ gibt es bereits.").arg(file)));
    QCOMPARE(w.text("lbl_ergebnis"), QStringLiteral("Nicht exportiert."));
    QCOMPARE(fileBytes(file), QByteArray("alt"));
}

void TestAdifWindows::exportReplacesWhatTheDialogConfirmed()
{
    QWidget *w = run("adifexport");
    child<QRadioButton>(w, "opt_dx")->click();
    QVERIFY(testsupport::execSql("Frequenzen1.quorvel", "INSERT INTO Kontakt_dx (callsign, datum, qslverschickt) "
                                                        "VALUES ('JA1ABC', '01.05.2006', 1)"));
    m_dialogAnswer = m_fx->path("dx.adx");
    writeFile(m_dialogAnswer, {});
    child<QPushButton>(w, "cmd_datei")->click();
    QCOMPARE(m_dialogs.size(), 1);
    QCOMPARE(m_dialogs[0].kind, ui::FileRequest::Kind::Save);
    QCOMPARE(child<QLineEdit>(w, "txt_datei")->text(), m_dialogAnswer);
    child<QPushButton>(w, "cmd_start")->click();
    QCOMPARE(m_fx->messageTexts(),
             QStringList{QStringLiteral("1 Kontakte des Logbuchs DX nach „%1“ exportiert.").arg(m_dialogAnswer)});
    QVERIFY(fileBytes(m_dialogAnswer).contains("<CALL>JA1ABC</CALL>"));
}

void TestAdifWindows::importIntoTheOtherLogbook()
{
    const QString file = m_fx->path("log.adx");
    start("adifexport", file);
    m_fx->clearMessages();
    QWidget *in = run("adifimport");
    child<QRadioButton>(in, "opt_dx")->click();
    const auto w = start("adifimport", file);
    QCOMPARE(w.w, in);
    const QString summary = "Gelesen: 2 Sätze\nÜbernommen: 2 Kontakte\nDoppelt (übersprungen): 0\nAbgelehnt: 0";
    QCOMPARE(w.text("lbl_ergebnis"), summary);
    QCOMPARE(m_fx->messageTexts(), QStringList{"Der Import in das Logbuch DX ist abgeschlossen.\n\n" + summary});
    QCOMPARE(testsupport::sqlColumn("Frequenzen1.quorvel", "SELECT skip || '|' || ort || '|' || datum || '|' || "
                                                           "uhrzeit || '|' || band FROM Kontakt_dx ORDER BY id"),
             (QStringList{"Ärger|Gießen|15.01.2007|00:30|usb", "Jörg|Köln|30.06.2006|21:45|FM"}));
    QCOMPARE(child<QListWidget>(in, "lst_abgelehnt")->count(), 0);
    QVERIFY(!child<QPushButton>(in, "cmd_liste")->isEnabled());
}

void TestAdifWindows::importListsRejectsAndSavesThem()
{
    const QString file = m_fx->path("fremd.adi");
    writeFile(file, "Fremdes Programm\n<EOH>\n<CALL:6>DL1ABC<QSO_DATE:8>20060630<TIME_ON:4>1945<FREQ:6>27.005<EOR>\n"
                    "<CALL:6>DL3NEW<QSO_DATE:8>20060701<GRIDSQUARE:4>JO31<EOR>\n<NAME:4>Hans<QSO_DATE:8>20060701<EOR>\n"
                    "<CALL:6>DL4BAD<QSO_DATE:8>2006<EOR>\n");
    QWidget *w = run("adifimport");
    m_dialogAnswer = file;
    child<QPushButton>(w, "cmd_datei")->click();
    QCOMPARE(m_dialogs.value(0).kind, ui::FileRequest::Kind::Open);
    child<QPushButton>(w, "cmd_start")->click();
    QCOMPARE(child<QLabel>(w, "lbl_ergebnis")->text(),
             "Gelesen: 4 Sätze\nÜbernommen: 1 Kontakte\nDoppelt (übersprungen): 1\nAbgelehnt: 2\n"
             "Nicht übernommene Felder: GRIDSQUARE (1)");
    auto *list = child<QListWidget>(w, "lst_abgelehnt");
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    const QStringList expected{"Zeile 5: weder Rufzeichen (CALL) noch Skip-Name",
                               "Zeile 6: Feld QSO_DATE: die Längenangabe 8 reicht über das Satzende hinaus"};
    QCOMPARE(lines, expected);
    QCOMPARE(count("Kontakt"), 3);
    m_dialogAnswer = m_fx->path("abgelehnt.txt");
    m_fx->clearMessages();
    child<QPushButton>(w, "cmd_liste")->click();
    QCOMPARE(m_dialogs.value(1).kind, ui::FileRequest::Kind::Save);
    QCOMPARE(QString::fromUtf8(fileBytes(m_dialogAnswer)),
             QStringLiteral("Abgelehnte Sätze aus „%1“\n").arg(file) + expected.join('\n') + '\n');
    QCOMPARE(m_fx->messageTexts(),
             QStringList{QStringLiteral("Die Liste ist in „%1“ gespeichert.").arg(m_dialogAnswer)});
}

void TestAdifWindows::importCancelled()
{
    const QString file = m_fx->path("viel.adi");
    QByteArray many;
    for (int i = 0; i < 5000; ++i)
        many += QStringLiteral("<CALL:6>DL%1<QSO_DATE:8>20060630<EOR>\n").arg(1000 + i).toUtf8();
    writeFile(file, many);
    m_cancelAfter = 3;
    const auto w = start("adifimport", file);
    const QString text = QStringLiteral("Der Import wurde abgebrochen. Das Logbuch ist unverändert.");
    QCOMPARE(m_fx->messageTexts(), QStringList{text});
    QCOMPARE(m_fx->messages[0].icon, QMessageBox::NoIcon);
    QCOMPARE(w.text("lbl_ergebnis"), text);
    QCOMPARE(count("Kontakt"), 2);
}

QTEST_MAIN(TestAdifWindows)
#include "tst_adif_windows.moc"
