// The record tab of both logbook windows: every field with its label, its sample text, its place,
// the column it shows and writes, and the order the Tab key walks through them.
#include "support/WindowDriver.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

using testsupport::child;
using testsupport::Fixture;
using testsupport::Window;

namespace {
const QString kLocal = QStringLiteral("frm_kontaktverwaltung");
const QString kDx = QStringLiteral("frm_kontaktverwaltungdx");

struct Field {
    const char *control;
    const char *label; // objectName of its label
    const char *caption;
    const char *sample;
    const char *column;
    bool personal; // in the frame "Persönliche Daten"
};

// clang-format off
const Field kFields[] = {
    {"txt_skip",     "Label1",  "Skip",       "Funkfreund",       "skip",     false},
    {"txt_callsign", "Label2",  "CallSign",   "DL1ABC",           "callsign", false},
    {"txt_vorname",  "Label3",  "Vorname",    "Hans",             "vorname",  false},
    {"txt_ort",      "Label4",  "QTH",        "München",          "ort",      false},
    {"txt_land",     "Label5",  "Land",       "Deutschland",      "land",     false},
    {"txt_datum",    "Label6",  "Datum",      "30.06.2006",       "datum",    false},
    {"txt_uhrzeit",  "Label7",  "Uhrzeit",    "21:45",            "uhrzeit",  false},
    {"txt_kanal",    "Label8",  "Kanal",      "12",               "lanal",    false},
    {"txt_frequenz", "Label9",  "Frequenz",   "27,005",           "frequenz", false},
    {"txt_band",     "Label10", "Modulation", "FM",               "band",     false},
    {"txt_swert",    "Label11", "S-Wert",     "9+30",             "swert",    false},
    {"txt_rwert",    "Label12", "R-Wert",     "5",                "rwert",    false},
    {"txt_name",     "Label13", "Nachname",   "Mustermann",       "name",     true},
    {"txt_strasse",  "Label14", "Straße",     "Hauptstraße 1",    "strasse",  true},
    {"txt_plz",      "Label15", "PLZ",        "80331",            "plz",      true},
    {"txt_tel",      "Label16", "Tel.",       "089 1234567",      "tel",      true},
    {"txt_email",    "Label17", "email",      "hans@example.org", "email",    true},
    {"txt_web",      "Label18", "web",        "www.example.org",  "web",      true},
};
// clang-format on

const QStringList kButtons{"cmd_neu", "cmd_bearbeiten", "cmd_speichern", "cmd_löschen", "cmd_abbrechen"};

QWidget *recordTab(QWidget *window) { return child<QTabWidget>(window, QStringLiteral("SSTab1"))->widget(0); }

// The controls of the record tab the Tab key stops at, in the order it visits them.
QStringList tabWalk(QWidget *window)
{
    QWidget *page = recordTab(window);
    QWidget *first = child<QLineEdit>(window, QStringLiteral("txt_skip"));
    QStringList walk;
    QWidget *w = first;
    do {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            walk << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first);
    return walk;
}
} // namespace

class TestRecordTab : public QObject {
    Q_OBJECT
private slots:
    void init() { m_fx = std::make_unique<Fixture>(); }
    void cleanup() { m_fx.reset(); }

    void fields_data();
    void fields();
    void remarksQslAndTabOrder_data();
    void remarksQslAndTabOrder();
    void contactInTwoColumns();
    void everyFieldShowsAndWritesItsColumn_data();
    void everyFieldShowsAndWritesItsColumn();

private:
    std::unique_ptr<Fixture> m_fx;
};

void TestRecordTab::fields_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("field");
    for (const QString &window : {kLocal, kDx})
        for (int i = 0; i < int(std::size(kFields)); ++i)
            QTest::addRow("%s %s", window == kLocal ? "local" : "dx", kFields[i].control) << window << i;
}

void TestRecordTab::fields()
{
    QFETCH(QString, window);
    QFETCH(int, field);
    const Field &f = kFields[field];
    const Window w{m_fx->open(window)};
    auto *edit = w.get(f.control);
    auto *label = w.get<QLabel>(f.label);
    QCOMPARE(label->text(), QString::fromUtf8(f.caption));
    QCOMPARE(label->buddy(), edit);
    auto *frame = qobject_cast<QGroupBox *>(edit->parentWidget());
    QCOMPARE(frame != nullptr, f.personal);
    if (frame)
        QCOMPARE(frame->title(), QStringLiteral("Persönliche Daten"));

    // Locked while browsing; a new contact shows the form of the value greyed in the empty field.
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->placeholderText(), QString());
    w.click("cmd_neu");
    QVERIFY(!edit->isReadOnly());
    QCOMPARE(edit->text(), QString());
    QCOMPARE(edit->placeholderText(), QString::fromUtf8(f.sample));
    QVERIFY(m_fx->messages.isEmpty());
}

void TestRecordTab::remarksQslAndTabOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("qsl"); // captions of chk_qslverschickt and chk_qslbekommen
    QTest::addColumn<QStringList>("walk");
    QStringList fields;
    for (const Field &f : kFields)
        fields << QString::fromUtf8(f.control);
    const QStringList local = fields + QStringList{"RichTextBox1"} + kButtons;
    QTest::newRow("local") << kLocal << QStringList{} << local;
    QTest::newRow("dx") << kDx << QStringList{"QSL verschickt", "QSL bekommen"}
                        << local + QStringList{"chk_qslverschickt", "chk_qslbekommen"};
}

void TestRecordTab::remarksQslAndTabOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, qsl);
    QFETCH(QStringList, walk);
    const Window w{m_fx->open(window)};
    QCOMPARE(tabWalk(w.w), walk);
    auto *remarks = w.get<QTextEdit>("RichTextBox1");
    QCOMPARE(qobject_cast<QGroupBox *>(remarks->parentWidget())->title(), QStringLiteral("Persönliche Daten"));
    w.click("cmd_neu");
    QCOMPARE(remarks->placeholderText(), QStringLiteral("Bemerkungen zur Verbindung"));

    QStringList captions;
    for (const char *name : {"chk_qslverschickt", "chk_qslbekommen"})
        if (auto *box = w.w->findChild<QCheckBox *>(QString::fromLatin1(name)))
            captions << box->text();
    QCOMPARE(captions, qsl);
    // Eighteen labelled fields and no more.
    QCOMPARE(recordTab(w.w)->findChildren<QLabel *>().size(), 18);
    QCOMPARE(recordTab(w.w)->findChildren<QLineEdit *>().size(), 18);
}

// The twelve contact fields stand in two columns of six, each label left of its field.
void TestRecordTab::contactInTwoColumns()
{
    const Window w{m_fx->open(kLocal)};
    w.get<QTabWidget>("SSTab1")->setCurrentIndex(0);
    QCoreApplication::processEvents();
    auto place = [&w](int i) { return w.get(kFields[i].control)->mapTo(w.w, QPoint(0, 0)); };
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(place(i).x(), place(i / 6 * 6).x());
        QCOMPARE(place(i).y(), place(i % 6).y());
        QVERIFY(w.get<QLabel>(kFields[i].label)->mapTo(w.w, QPoint(0, 0)).x() < place(i).x());
    }
    QVERIFY(place(0).x() < place(6).x());
    QVERIFY(place(0).y() < place(1).y());
}

void TestRecordTab::everyFieldShowsAndWritesItsColumn_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::newRow("local") << kLocal << "Kontakt";
    QTest::newRow("dx") << kDx << "Kontakt_dx";
}

void TestRecordTab::everyFieldShowsAndWritesItsColumn()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    const bool dx = window == kDx;
    QStringList columns, values;
    for (const Field &f : kFields) {
        columns << QString::fromUtf8(f.column);
        values << "'gespeichert " + columns.last() + "'";
    }
    columns << "bemerkung";
    values << "'gespeicherte Bemerkung'";
    if (dx) {
        columns << "qslverschickt"
                << "qslbekommen";
        values << "1"
               << "0";
    }
    QVERIFY(testsupport::execSql(
        "Frequenzen1.quorvel",
        QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns.join(','), values.join(','))));
    const Window w{m_fx->open(window)};
    for (const Field &f : kFields)
        QCOMPARE(w.get(f.control)->text(), "gespeichert " + QString(f.column));
    auto *remarks = w.get<QTextEdit>("RichTextBox1");
    QCOMPARE(remarks->toPlainText(), QStringLiteral("gespeicherte Bemerkung"));
    if (dx) {
        QVERIFY(w.get<QCheckBox>("chk_qslverschickt")->isChecked());
        QVERIFY(!w.get<QCheckBox>("chk_qslbekommen")->isChecked());
    }

    // Typed into every control of a new contact, each value lands in its own column.
    w.click("cmd_neu");
    for (const Field &f : kFields)
        w.get(f.control)->setText("neu " + QString(f.column));
    remarks->setPlainText(QStringLiteral("neue Bemerkung"));
    if (dx) {
        w.get<QCheckBox>("chk_qslverschickt")->setChecked(false);
        w.get<QCheckBox>("chk_qslbekommen")->setChecked(true);
    }
    w.click("cmd_speichern");
    QVERIFY(m_fx->messages.isEmpty());
    auto stored = [&table](const QString &column) {
        return testsupport::sqlColumn("Frequenzen1.quorvel",
                                      QStringLiteral("select %1 from %2 where skip = 'neu skip'").arg(column, table));
    };
    for (const Field &f : kFields)
        QCOMPARE(stored(f.column), QStringList{"neu " + QString(f.column)});
    QCOMPARE(stored("bemerkung"), QStringList{"neue Bemerkung"});
    if (dx)
        QCOMPARE(stored("qslverschickt || qslbekommen"), QStringList{"01"});
}

QTEST_MAIN(TestRecordTab)
#include "tst_record_tab.moc"
