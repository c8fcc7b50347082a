#include "core/data/RecordSource.h"
#include "core/text/GermanText.h"
#include "logbook/LogbookWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <optional>
#include <unistd.h>

using testsupport::Fixture;

namespace {
const QString kLocal = QStringLiteral("frm_kontaktverwaltung");
const QString kDx = QStringLiteral("frm_kontaktverwaltungdx");

// A logbook window opened through the registry.
struct Logbook : testsupport::Window {
    using Window::Window;
    data::RecordSource *source() const { return get<data::RecordSource>("Adodc1"); }
    QString count() const { return text("lbl_treffer"); }
    int tab() const { return get<QTabWidget>("SSTab1")->currentIndex(); }
    void setTab(int index) const { get<QTabWidget>("SSTab1")->setCurrentIndex(index); }
    // Locked or free fields, the remarks box, the buttons and the QSL boxes, as one line.
    QString state() const
    {
        QStringList locked;
        for (QLineEdit *e : w->findChildren<QLineEdit *>())
            if (e->objectName() != QLatin1String("txt_suchbegriff"))
                locked << (e->isReadOnly() ? "L" : "U");
        locked.removeDuplicates();
        auto *remarks = get<QTextEdit>("RichTextBox1");
        QString s = "fields " + locked.join('/') + " remarks " + (remarks->isReadOnly() ? "ro" : "rw")
                    + (remarks->isEnabled() ? "+en" : "-dis") + " buttons ";
        for (const char *b : {"cmd_neu", "cmd_bearbeiten", "cmd_speichern", "cmd_löschen", "cmd_abbrechen"})
            s += get<QPushButton>(QString::fromUtf8(b))->isEnabled() ? "1" : "0";
        if (auto *qsl = w->findChild<QCheckBox *>("chk_qslverschickt"))
            s += QStringLiteral(" qsl ") + (qsl->isEnabled() ? "1" : "0")
                 + (get<QCheckBox>("chk_qslbekommen")->isEnabled() ? "1" : "0");
        return s;
    }
};

// Contacts written straight into the file: skip, vorname, ort, land, lanal, frequenz, callsign, datum.
void addContacts(const QString &table, const QList<QStringList> &rows)
{
    for (const QStringList &r : rows) {
        QStringList quoted;
        for (const QString &v : r)
            quoted << "'" + QString(v).replace("'", "''") + "'";
        QVERIFY(testsupport::execSql(
            "Frequenzen1.quorvel",
            QStringLiteral("insert into %1 (skip, vorname, ort, land, lanal, frequenz, callsign, datum) values (%2)")
                .arg(table, quoted.join(','))));
    }
}

QString tableOf(const QString &window) { return window == kLocal ? "Kontakt" : "Kontakt_dx"; }

int countIn(const QString &table, const QString &where = "1")
{
    return testsupport::sqlColumn("Frequenzen1.quorvel",
                                  QStringLiteral("select count(*) from %1 where %2").arg(table, where))
        .value(0, "-1")
        .toInt();
}

// Their grid as first shown: the local one by skip (column 0), the DX one by date (call signs).
const QStringList kBySkip{"Adler", "müller", "O'Brien", "Ötzi", "Zorro"};
const QStringList kByDate{"13DL001", "13DL003", "13DL002", "IN3XY", "EI1AB"};
const QList<QStringList> kLocalRows = {
    {"Zorro", "Anna", "München", "Deutschland", "12", "27,105", "13DL001", "01.02.2020"},
    {"Adler", "Bernd", "Köln", "Deutschland", "1", "26,965", "13DL002", "03.02.2020"},
    {"müller", "Carl", "Berlin", "Österreich", "19", "27,185", "13DL003", "02.02.2020"},
    {"O'Brien", "Dora", "Dublin", "Irland", "21", "27,215", "EI1AB", "05.02.2020"},
    {"Ötzi", "Emil", "Bozen", "Italien", "40", "27,405", "IN3XY", "04.02.2020"},
};
} // namespace

class TestLogbook : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // Shown and active, so that focus moves as it does for the user.
        m_fx = std::make_unique<Fixture>();
        m_fx->mainWindow()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_fx->mainWindow()));
    }
    void cleanup() { m_fx.reset(); }

    void opensAsDesigned_data();
    void opensAsDesigned();
    void stateTable_data();
    void stateTable();
    void contactLifecycle_data();
    void contactLifecycle();
    void userSteps_data();
    void userSteps();
    void search_data();
    void search();
    void searchBoxAndReset();
    void pendingContactIsNeverDropped();
    void failedSaveKeepsTheContact_data();
    void failedSaveKeepsTheContact();
    void killedRightAfterSaveKeepsTheContact();
    void windowsSideBySideWrite();
    void missingLogbookFile();

private:
    Logbook open(const QString &name) { return Logbook{m_fx->open(name)}; }
    // The window opened on a logbook holding the first contacts of kLocalRows in its table.
    Logbook openWith(const QString &window, int contacts)
    {
        addContacts(tableOf(window), kLocalRows.mid(0, contacts));
        return open(window);
    }
    std::unique_ptr<Fixture> m_fx;
};

// clang-format off
void TestLogbook::opensAsDesigned_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("order"); // grid column 0 after opening
    QTest::newRow("local") << kLocal << "-*local Verwaltung*-"
                           << QStringList{"SKIP", "Vorname", "QTH", "Kanal", "Frequenz", "S-Wert"}
                           << QStringList{"SKIP", "Vorname", "QTH", "Kanal", "Frequenz", "Land"} << kBySkip;
    QTest::newRow("dx") << kDx << "-*DX Verwaltung*-"
                        << QStringList{"Datum", "CallSign", "Vorname", "Land", "MOD", "Frequenz", "S-Wert"}
                        << QStringList{"CallSign", "Datum", "Vorname", "Ort", "Kanal", "Frequenz", "Land"}
                        << QStringList{"01.02.2020", "02.02.2020", "03.02.2020", "04.02.2020", "05.02.2020"};
}
// clang-format on

void TestLogbook::opensAsDesigned()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, options);
    QFETCH(QStringList, order);
    Logbook lb = openWith(window, 5);
    QCOMPARE(lb.w->windowTitle(), caption);
    auto *tabs = lb.get<QTabWidget>("SSTab1");
    QCOMPARE(tabs->tabText(0), QStringLiteral("LOG"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Übersicht"));
    QCOMPARE(lb.tab(), 1);
    QCOMPARE(lb.headers(), headers);
    QStringList shownOptions;
    for (QRadioButton *o : lb.w->findChildren<QRadioButton *>())
        shownOptions << o->text();
    QCOMPARE(shownOptions, options);
    QVERIFY(lb.get<QRadioButton>("opt_skip")->isChecked());
    QCOMPARE(lb.column(0), order);
    QCOMPARE(lb.count(), QStringLiteral("5 Einträge"));
    QCOMPARE(lb.get("txt_suchbegriff")->text(), QStringLiteral("...Suchbegriff"));
    // The record tab shows the first record in the bound fields.
    QCOMPARE(lb.get("txt_frequenz")->text(), window == kLocal ? QStringLiteral("26,965") : QStringLiteral("27,105"));
    for (const char *b : {"cmd_neu", "cmd_bearbeiten", "cmd_speichern", "cmd_löschen", "cmd_abbrechen"})
        QVERIFY(lb.w->findChild<QPushButton *>(QString::fromUtf8(b)));
}

// clang-format off
void TestLogbook::stateTable_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("state");
    const QString browsing = "fields L remarks ro-dis buttons 11000";
    const QString entry = "fields U remarks rw+en buttons 00101";
    const QString editing = "fields U remarks rw+en buttons 01111";
    QTest::newRow("local open") << kLocal << QStringList{} << browsing;
    QTest::newRow("local NEU") << kLocal << QStringList{"cmd_neu"} << entry;
    QTest::newRow("local NEU SPEICHERN") << kLocal << QStringList{"cmd_neu", "cmd_speichern"} << browsing;
    QTest::newRow("local NEU ABBRECHEN") << kLocal << QStringList{"cmd_neu", "cmd_abbrechen"} << browsing;
    QTest::newRow("local BEARBEITEN") << kLocal << QStringList{"cmd_bearbeiten"} << editing;
    QTest::newRow("local BEARBEITEN twice") << kLocal << QStringList{"cmd_bearbeiten", "cmd_bearbeiten"} << editing;
    QTest::newRow("local BEARBEITEN SPEICHERN") << kLocal << QStringList{"cmd_bearbeiten", "cmd_speichern"} << browsing;
    QTest::newRow("local BEARBEITEN ABBRECHEN") << kLocal << QStringList{"cmd_bearbeiten", "cmd_abbrechen"} << browsing;
    QTest::newRow("local BEARBEITEN LÖSCHEN") << kLocal << QStringList{"cmd_bearbeiten", "cmd_löschen"} << browsing;
    // The DX remarks box is only read-only, not disabled, until the buttons first return to browsing.
    QTest::newRow("dx open") << kDx << QStringList{} << "fields L remarks ro+en buttons 11000 qsl 00";
    QTest::newRow("dx NEU") << kDx << QStringList{"cmd_neu"} << entry + " qsl 11";
    QTest::newRow("dx NEU SPEICHERN") << kDx << QStringList{"cmd_neu", "cmd_speichern"}
                                      << "fields L remarks ro-dis buttons 11000 qsl 00";
    QTest::newRow("dx NEU ABBRECHEN") << kDx << QStringList{"cmd_neu", "cmd_abbrechen"}
                                      << "fields L remarks ro-dis buttons 11000 qsl 00";
    QTest::newRow("dx BEARBEITEN") << kDx << QStringList{"cmd_bearbeiten"} << editing + " qsl 11";
    QTest::newRow("dx BEARBEITEN twice") << kDx << QStringList{"cmd_bearbeiten", "cmd_bearbeiten"} << editing + " qsl 11";
    QTest::newRow("dx BEARBEITEN LÖSCHEN") << kDx << QStringList{"cmd_bearbeiten", "cmd_löschen"}
                                           << "fields L remarks ro-dis buttons 11000 qsl 00";
    QTest::newRow("dx NEU SPEICHERN BEARBEITEN") << kDx << QStringList{"cmd_neu", "cmd_speichern", "cmd_bearbeiten"}
                                                 << editing + " qsl 11";
}
// clang-format on

void TestLogbook::stateTable()
{
    QFETCH(QString, window);
    QFETCH(QStringList, clicks);
    QFETCH(QString, state);
    Logbook lb = openWith(window, 2);
    lb.setTab(0);
    for (const QString &b : clicks)
        lb.click(b);
    QCOMPARE(lb.state(), state);
    QVERIFY(m_fx->messages.isEmpty());
}

// clang-format off
void TestLogbook::contactLifecycle_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("local") << kLocal;
    QTest::newRow("dx") << kDx;
}
// clang-format on

void TestLogbook::contactLifecycle()
{
    QFETCH(QString, window);
    const QString table = tableOf(window);
    const bool dx = window == kDx;
    {
        Logbook lb = openWith(window, 2);
        lb.setTab(0);
        lb.click("cmd_neu");
        for (auto [field, text] : {std::pair{"txt_skip", "Kranich"}, std::pair{"txt_ort", "Gießen"},
                                   std::pair{"txt_frequenz", "27,205"}, std::pair{"txt_strasse", "Lindenstraße 5"}})
            lb.type(field, text);
        lb.focus("txt_datum");
        QCOMPARE(lb.get("txt_datum")->text(), QStringLiteral("07.12.2026"));
        lb.get<QTextEdit>("RichTextBox1")->insertPlainText("Erste Zeile");
        if (dx)
            lb.get<QCheckBox>("chk_qslbekommen")->click();
        lb.click("cmd_speichern");
        QVERIFY(m_fx->messages.isEmpty());
        // Saved: in the file, in the grid, and the count label waits for the next tab switch.
        QCOMPARE(countIn(table, "skip = 'Kranich' and ort = 'Gießen' and bemerkung = 'Erste Zeile'"), 1);
        QCOMPARE(lb.grid()->model()->rowCount(), 3);
        QCOMPARE(lb.count(), QStringLiteral("2 Einträge"));
        lb.setTab(1);
        QCOMPARE(lb.count(), QStringLiteral("3 Einträge"));
        m_fx->close(window);
    }
    // Reopened: the contact is found where the order puts it; edited twice, then deleted.
    Logbook lb = open(window);
    const int row = lb.column(0).indexOf(dx ? "07.12.2026" : "Kranich");
    QVERIFY(row >= 0);
    lb.clickRow(row);
    QCOMPARE(lb.tab(), 0);
    QCOMPARE(lb.get("txt_ort")->text(), QStringLiteral("Gießen"));
    QCOMPARE(lb.get<QTextEdit>("RichTextBox1")->toPlainText(), QStringLiteral("Erste Zeile"));
    if (dx)
        QVERIFY(lb.get<QCheckBox>("chk_qslbekommen")->isChecked()
                && !lb.get<QCheckBox>("chk_qslverschickt")->isChecked());
    lb.click("cmd_bearbeiten");
    lb.type("txt_ort", "Wetzlar");
    lb.click("cmd_bearbeiten"); // writes what was typed so far, stays editing
    QCOMPARE(countIn(table, "ort = 'Wetzlar'"), 1);
    QVERIFY(lb.get<QPushButton>("cmd_speichern")->isEnabled());
    lb.type("txt_swert", "9+40");
    if (dx)
        lb.get<QCheckBox>("chk_qslverschickt")->click();
    lb.click("cmd_speichern");
    QCOMPARE(countIn(table, "ort = 'Wetzlar' and swert = '9+40'" + QString(dx ? " and qslverschickt = 1" : "")), 1);
    lb.click("cmd_bearbeiten");
    lb.click("cmd_löschen");
    QVERIFY(m_fx->messages.isEmpty());
    QCOMPARE(countIn(table), 2);
    QCOMPARE(countIn(table, "ort = 'Wetzlar'"), 0);
    QCOMPARE(lb.grid()->model()->rowCount(), 2);
    QCOMPARE(lb.count(), QStringLiteral("3 Einträge")); // until the tab is switched
}

// clang-format off
void TestLogbook::userSteps_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("contacts"); // of kLocalRows, shown in the order of kBySkip / kByDate
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    // The date field: today goes only into an empty field; a date typed or stored stays.
    for (const QString &w : {kLocal, kDx}) {
        const QString dx = w == kDx ? "dx " : "local ";
        QTest::newRow(qPrintable(dx + "typed date survives a tab switch"))
            << w << 5 << QStringList{"NEU", "type txt_skip Kranich", "type txt_datum 15.03.2021", "tab 1", "tab 0",
                                     "focus txt_datum", "SPEICHERN"}
            << QStringList{"skip = 'Kranich' and datum = '15.03.2021' => 1", "datum = '07.12.2026' => 0", "messages => 0"};
        QTest::newRow(qPrintable(dx + "stored dates survive clicking through rows"))
            << w << 5 << QStringList{"row 0", "BEARBEITEN", "focus txt_datum", "row 1", "focus txt_datum", "row 2",
                                     "focus txt_datum", "row 3"}
            << QStringList{"datum = '07.12.2026' => 0", "state => viewing", "messages => 0"};
        QTest::newRow(qPrintable(dx + "NEU: the empty date takes today"))
            << w << 5 << QStringList{"NEU", "focus txt_datum"} << QStringList{"shown txt_datum => 07.12.2026"};
    }
    QTest::newRow("BEARBEITEN keeps the stored date, an emptied one takes today")
        << kLocal << 5 << QStringList{"row 0", "BEARBEITEN", "focus txt_datum", "focus txt_ort"}
        << QStringList{"shown txt_datum => 03.02.2020"};
    QTest::newRow("emptied date takes today")
        << kLocal << 5 << QStringList{"row 0", "BEARBEITEN", "type txt_datum ", "focus txt_ort", "focus txt_datum"}
        << QStringList{"shown txt_datum => 07.12.2026"};
    // LÖSCHEN after a change: deleted, nothing said, the contact that took its place is shown.
    QTest::newRow("LÖSCHEN drops the change and tells nothing")
        << kLocal << 5 << QStringList{"row 1", "BEARBEITEN", "type txt_ort Irgendwo", "LÖSCHEN"}
        << QStringList{"skip = 'müller' => 0", "ort = 'Irgendwo' => 0", "messages => 0", "shown txt_skip => O'Brien",
                       "state => viewing", "rows => 4"};
    QTest::newRow("deleting the second of four shows the third")
        << kLocal << 4 << QStringList{"row 1", "BEARBEITEN", "LÖSCHEN"}
        << QStringList{"shown txt_skip => O'Brien", "current => 1", "messages => 0"};
    QTest::newRow("deleting the second-to-last shows the new last")
        << kLocal << 4 << QStringList{"row 2", "BEARBEITEN", "LÖSCHEN"}
        << QStringList{"shown txt_skip => Zorro", "current => 2"};
    QTest::newRow("deleting the last shows the new last")
        << kDx << 4 << QStringList{"row 3", "BEARBEITEN", "LÖSCHEN"}
        << QStringList{"shown txt_callsign => 13DL002", "current => 2"};
    // Choosing another row saves what is typed and shows the chosen contact for viewing.
    QTest::newRow("new contact saved by a row click")
        << kLocal << 5 << QStringList{"NEU", "type txt_skip Kranich", "row 3", "type txt_ort Falsch"}
        << QStringList{"skip = 'Kranich' => 1", "ort = 'Falsch' => 0", "shown txt_skip => Ötzi", "state => viewing"};
    QTest::newRow("change saved by a row click")
        << kLocal << 5 << QStringList{"row 0", "BEARBEITEN", "type txt_ort Wetzlar", "row 4", "LÖSCHEN"}
        << QStringList{"skip = 'Adler' and ort = 'Wetzlar' => 1", "skip = 'Zorro' => 1", "state => viewing"};
    QTest::newRow("new contact saved by a search")
        << kLocal << 5 << QStringList{"NEU", "type txt_skip Kranich", "type txt_suchbegriff r", "SUCHEN", "tab 0"}
        << QStringList{"skip = 'Kranich' => 1", "state => viewing", "rows => 5"};
    // BEARBEITEN with no contact does nothing.
    QTest::newRow("BEARBEITEN in an empty logbook") << kLocal << 0 << QStringList{"BEARBEITEN"}
        << QStringList{"state => viewing", "messages => 0"};
    // Return in the search box searches; after NEU typing goes into the first field.
    QTest::newRow("Return searches") << kDx << 5 << QStringList{"type txt_suchbegriff EI1", "return txt_suchbegriff"}
        << QStringList{"rows => 1", "count => 1 Einträge"};
    QTest::newRow("NEU puts the cursor into the first field") << kLocal << 5 << QStringList{"NEU"}
        << QStringList{"focus => txt_skip"};
    // ABBRECHEN drops what was typed (all five contacts stay), and the first record of the query is current.
    for (const QString &w : {kLocal, kDx})
        for (const char *first : {"NEU", "BEARBEITEN"})
            QTest::addRow("%s %s ABBRECHEN drops what was typed", w == kDx ? "dx" : "local", first)
                << w << 5 << QStringList{"row 3", first, "type txt_skip Verworfen", "ABBRECHEN"}
                << QStringList{"1 => 5", "skip = 'Verworfen' => 0", "current => 0",
                               "shown txt_skip => " + QString(w == kDx ? "Zorro" : "Adler"), "source => browsing"};
}
// clang-format on

// Runs steps as a user takes them: a button by its caption ("NEU", "LÖSCHEN", "SUCHEN"),
// "type <field> <text>", "focus <field>", "tab <n>", "row <n>" (a click on a grid row) or
// "return <field>"; then checks what the user sees and what is in the file.
void TestLogbook::userSteps()
{
    QFETCH(QString, window);
    QFETCH(int, contacts);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    const QString table = tableOf(window);
    Logbook lb = openWith(window, contacts);
    const QHash<QString, QString> buttons{{"NEU", "cmd_neu"},
                                          {"BEARBEITEN", "cmd_bearbeiten"},
                                          {"SPEICHERN", "cmd_speichern"},
                                          {"ABBRECHEN", "cmd_abbrechen"},
                                          {"LÖSCHEN", "cmd_löschen"},
                                          {"SUCHEN", "cmd_suchen"}};
    for (const QString &step : steps) {
        const QString verb = step.section(' ', 0, 0), what = step.section(' ', 1, 1), rest = step.section(' ', 2);
        if (buttons.contains(step)) {
            lb.click(buttons[step]);
        } else if (verb == "type") {
            lb.type(what, rest);
        } else if (verb == "focus") {
            lb.focus(what);
        } else if (verb == "tab") {
            lb.setTab(what.toInt());
        } else if (verb == "row") {
            lb.setTab(1);
            lb.clickRow(what.toInt());
        } else if (verb == "return") {
            lb.focus(what);
            QTest::keyClick(lb.get(what), Qt::Key_Return);
        }
        QCoreApplication::processEvents();
    }
    const QHash<QString, QString> states{{"11000", "viewing"}, {"00101", "entry"}, {"01111", "editing"}};
    for (const QString &check : expected) {
        const QString what = check.section(" => ", 0, 0), value = check.section(" => ", 1);
        QString seen;
        if (what == "messages")
            seen = QString::number(m_fx->messages.size())
                   + (m_fx->messages.isEmpty() ? "" : ": " + m_fx->messageTexts().join('|'));
        else if (what == "state")
            seen = states.value(lb.state().section(' ', 5, 5), lb.state());
        else if (what.startsWith("shown "))
            seen = lb.get(what.mid(6))->text();
        else if (what == "current")
            seen = QString::number(lb.source()->currentRow());
        else if (what == "source")
            seen = lb.source()->editState() == data::RecordSource::EditState::Browsing ? "browsing" : "editing";
        else if (what == "rows")
            seen = QString::number(lb.grid()->model()->rowCount());
        else if (what == "count")
            seen = lb.count();
        else if (what == "focus")
            seen = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        else
            seen = QString::number(countIn(table, what));
        QVERIFY2(seen == value, qPrintable(check + " — seen: " + seen));
    }
}

// clang-format off
void TestLogbook::search_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // the hits in the grid, in order: skip (local), call sign (DX)
    QTest::newRow("local skip folded") << kLocal << "opt_skip" << "MÜLL" << QStringList{"müller"};
    QTest::newRow("local vorname") << kLocal << "opt_vorname" << "an" << QStringList{"Zorro"};
    QTest::newRow("local qth umlaut") << kLocal << "opt_qth" << "köln" << QStringList{"Adler"};
    QTest::newRow("local kanal substring") << kLocal << "opt_kanal" << "1" << QStringList{"Adler", "müller", "O'Brien", "Zorro"};
    QTest::newRow("local frequenz wildcard") << kLocal << "opt_frequenz" << "27,_05" << QStringList{"Ötzi", "Zorro"};
    QTest::newRow("local land percent") << kLocal << "opt_land" << "%reich" << QStringList{"müller"};
    QTest::newRow("local apostrophe") << kLocal << "opt_skip" << "O'Bri" << QStringList{"O'Brien"};
    QTest::newRow("local prompt text") << kLocal << "opt_skip" << "...Suchbegriff" << QStringList{};
    QTest::newRow("local no hit") << kLocal << "opt_qth" << "Paris" << QStringList{};
    QTest::newRow("local injection") << kLocal << "opt_qth" << "x' or '1'='1" << QStringList{};
    QTest::newRow("local NUL") << kLocal << "opt_qth" << QString("Kö") + QChar(0) << QStringList{};
    QTest::newRow("dx callsign") << kDx << "opt_skip" << "13dl00" << QStringList{"13DL001", "13DL003", "13DL002"};
    QTest::newRow("dx datum") << kDx << "opt_datum" << ".02.2020" << kByDate;
    QTest::newRow("dx vorname") << kDx << "opt_vorname" << "DORA" << QStringList{"EI1AB"};
    QTest::newRow("dx ort") << kDx << "opt_qth" << "bozen" << QStringList{"IN3XY"};
    QTest::newRow("dx kanal") << kDx << "opt_kanal" << "4" << QStringList{"IN3XY"};
    QTest::newRow("dx frequenz") << kDx << "opt_frequenz" << "27,1" << QStringList{"13DL001", "13DL003"};
    QTest::newRow("dx land") << kDx << "opt_land" << "irl" << QStringList{"EI1AB"};
    QTest::newRow("dx no hit") << kDx << "opt_land" << "Japan" << QStringList{};
}
// clang-format on

void TestLogbook::search()
{
    QFETCH(QString, window);
    QFETCH(QString, option);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    const bool local = window == kLocal;
    Logbook lb = openWith(window, 5);
    lb.get<QRadioButton>(option)->setChecked(true);
    lb.get("txt_suchbegriff")->setText(text);
    lb.click("cmd_suchen");
    const QStringList shown = lb.column(local ? "SKIP" : "CallSign");
    if (found.isEmpty()) {
        QCOMPARE(m_fx->messages.size(), 1);
        QCOMPARE(m_fx->messages[0].text,
                 "Der Suchbegriff " + text + " konnte nicht gefunden werden! Bitte überprüfen Sie die Eingabe!");
        QCOMPARE(m_fx->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(shown, local ? kBySkip : kByDate); // the whole list again
        QCOMPARE(lb.count(), QStringLiteral("5 Einträge"));
        QCOMPARE(lb.text("txt_suchbegriff"), text);
        return;
    }
    QVERIFY2(m_fx->messages.isEmpty(), qPrintable(m_fx->messageTexts().join('\n')));
    QCOMPARE(shown, found);
    QCOMPARE(lb.count(), QString::number(found.size()) + " Einträge");
    QCOMPARE(lb.tab(), 1);
}

void TestLogbook::searchBoxAndReset()
{
    Logbook lb = openWith(kLocal, 5);
    QLineEdit *box = lb.get("txt_suchbegriff");
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->text().isEmpty());
    box->insert("ö");
    lb.click("cmd_suchen");
    QCOMPARE(lb.count(), QStringLiteral("1 Einträge"));
    QCOMPARE(lb.column(0), QStringList{"Ötzi"});
    QTest::mouseClick(box, Qt::LeftButton); // every click empties it
    QVERIFY(box->text().isEmpty());
    lb.click("cmd_alle");
    QCOMPARE(lb.count(), QStringLiteral("5 Einträge"));
    QCOMPARE(lb.column(0), kBySkip);
}

void TestLogbook::pendingContactIsNeverDropped()
{
    // A grid click while a new contact is pending writes it, and the record tab shows the row clicked.
    Logbook lb = openWith(kLocal, 2);
    lb.click("cmd_neu");
    lb.type("txt_skip", "Klick");
    lb.clickRow(0);
    QCOMPARE(countIn("Kontakt", "skip = 'Klick'"), 1);
    QCOMPARE(lb.tab(), 0);
    QCOMPARE(lb.get("txt_skip")->text(), QStringLiteral("Adler"));
    // A search or the tab switch while a change is pending: written, not dropped.
    lb.click("cmd_bearbeiten");
    lb.type("txt_ort", "Suche");
    lb.setTab(1);
    lb.click("cmd_alle");
    QCOMPARE(countIn("Kontakt", "skip = 'Adler' and ort = 'Suche'"), 1);
    // Closing the window with a pending contact writes it.
    lb.click("cmd_abbrechen");
    lb.click("cmd_neu");
    lb.type("txt_skip", "Schluss");
    m_fx->close(kLocal);
    QVERIFY(!m_fx->isOpen(kLocal));
    QCOMPARE(countIn("Kontakt", "skip = 'Schluss'"), 1);
    // When that write fails, the window stays open with the typed contact.
    lb = open(kLocal);
    lb.click("cmd_neu");
    lb.type("txt_skip", "Gesperrt");
    sql::Database other = testsupport::lockExclusively("Frequenzen1.quorvel");
    lb.source()->setBusyTimeout(50);
    m_fx->close(kLocal);
    QVERIFY(m_fx->isOpen(kLocal));
    QCOMPARE(lb.get("txt_skip")->text(), QStringLiteral("Gesperrt"));
    QCOMPARE(m_fx->messages.size(), 1);
    QVERIFY(m_fx->messages[0].text.startsWith(QStringLiteral("Der Datensatz wurde nicht gespeichert.")));
    other.close();
    m_fx->close(kLocal);
    QVERIFY(!m_fx->isOpen(kLocal));
    QCOMPARE(countIn("Kontakt", "skip = 'Gesperrt'"), 1);
}

// clang-format off
void TestLogbook::failedSaveKeepsTheContact_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("button"); // SPEICHERN after NEU, or BEARBEITEN while editing
    QTest::newRow("locked, SPEICHERN") << "locked" << "cmd_speichern";
    QTest::newRow("locked, BEARBEITEN") << "locked" << "cmd_bearbeiten";
    QTest::newRow("disk full, SPEICHERN") << "full" << "cmd_speichern";
    QTest::newRow("file deleted, SPEICHERN") << "deleted" << "cmd_speichern";
    QTest::newRow("read-only file, SPEICHERN") << "readonly" << "cmd_speichern";
}
// clang-format on

void TestLogbook::failedSaveKeepsTheContact()
{
    QFETCH(QString, cause);
    QFETCH(QString, button);
    if (cause == "readonly" && geteuid() == 0)
        QSKIP("root writes read-only files; the record source test covers a connection that reads only");
    addContacts("Kontakt", kLocalRows.mid(0, 1));
    if (cause == "readonly")
        QFile::setPermissions("Frequenzen1.quorvel", QFileDevice::ReadOwner);
    Logbook lb = open(kLocal);
    lb.source()->setBusyTimeout(50);
    const bool adding = button == "cmd_speichern";
    lb.click(adding ? "cmd_neu" : "cmd_bearbeiten");
    lb.type("txt_skip", "Wichtig");
    const QString before = lb.state();

    sql::Database other;
    std::optional<testsupport::FileSizeLimit> full;
    if (cause == "locked")
        other = testsupport::lockExclusively("Frequenzen1.quorvel");
    else if (cause == "full")
        full.emplace(1024);
    else if (cause == "deleted")
        QFile::remove("Frequenzen1.quorvel");
    lb.click(button);
    full.reset();
    // Told, not shown as saved: the contact stays typed and the window in its state.
    QCOMPARE(m_fx->messages.size(), 1);
    QVERIFY2(m_fx->messages[0].text.startsWith(QStringLiteral("Der Datensatz wurde nicht gespeichert.")),
             qPrintable(m_fx->messages[0].text));
    QCOMPARE(m_fx->messages[0].icon, QMessageBox::Critical);
    QCOMPARE(lb.get("txt_skip")->text(), QStringLiteral("Wichtig"));
    QCOMPARE(lb.state(), before);
    if (cause == "deleted") {
        QVERIFY(!QFile::exists("Frequenzen1.quorvel")); // and no new file made anywhere
        return;
    }
    other.close();
    if (cause == "readonly")
        return;
    // The cause mended, the same button stores the contact.
    lb.click(button);
    QCOMPARE(m_fx->messages.size(), 1);
    QCOMPARE(countIn("Kontakt", "skip = 'Wichtig'"), 1);
}

void TestLogbook::killedRightAfterSaveKeepsTheContact()
{
    // A child process saves a contact, says so, and is killed at once (SIGKILL).
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KW_SAVE_AND_WAIT", m_fx->dir());
    child.setProcessEnvironment(env);
    child.start();
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForReadyRead(20000));
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("saved"));
    child.kill();
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(countIn("Kontakt", "skip = 'Überlebt' and ort = 'Stromausfall'"), 1);
}

void TestLogbook::windowsSideBySideWrite()
{
    Logbook local = openWith(kLocal, 5);
    Logbook dx = openWith(kDx, 5);
    m_fx->open("frm_locator");
    for (int i = 0; i < 3; ++i) {
        for (const Logbook &lb : {local, dx}) {
            lb.click("cmd_neu");
            lb.type("txt_skip", QStringLiteral("Runde %1").arg(i));
            lb.click("cmd_speichern");
        }
    }
    QVERIFY2(m_fx->messages.isEmpty(), qPrintable(m_fx->messageTexts().join('\n')));
    QCOMPARE(countIn("Kontakt", "skip like 'Runde%'"), 3);
    QCOMPARE(countIn("Kontakt_dx", "skip like 'Runde%'"), 3);
}

void TestLogbook::missingLogbookFile()
{
    QVERIFY(QFile::remove("Frequenzen1.quorvel"));
    Logbook lb = open(kDx);
    QCOMPARE(m_fx->messages.size(), 1);
    QVERIFY(m_fx->messages[0].text.contains("Frequenzen1.quorvel"));
    lb.click("cmd_neu");
    QCOMPARE(m_fx->messages.size(), 2);
    QCOMPARE(lb.state(), QStringLiteral("fields L remarks ro+en buttons 11000 qsl 00"));
    lb.click("cmd_suchen");
    lb.click("cmd_drucken");
    m_fx->close(kDx);
    QVERIFY(!QFile::exists("Frequenzen1.quorvel"));
}

// The child of killedRightAfterSaveKeepsTheContact: saves through the real window, then waits.
int saveAndWait(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QDir::setCurrent(qEnvironmentVariable("KW_SAVE_AND_WAIT"));
    const auto told = seams::messageBox.replace(
        [](QWidget *, const seams::MessageRecord &r) { std::fprintf(stderr, "%s\n", qPrintable(r.text)); });
    shell::MainWindow main;
    Logbook lb{shell::WindowRegistry::instance().show(kLocal)};
    lb.click("cmd_neu");
    lb.get("txt_skip")->setText("Überlebt");
    lb.get("txt_ort")->setText("Stromausfall");
    lb.click("cmd_speichern");
    std::printf("saved\n");
    std::fflush(stdout);
    for (;;)
        pause();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("KW_SAVE_AND_WAIT"))
        return saveAndWait(argc, argv);
    QApplication app(argc, argv);
    TestLogbook test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logbook.moc"
