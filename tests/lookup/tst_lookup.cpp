#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "support/WindowDriver.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using testsupport::Fixture;
using testsupport::Window;

namespace {
const QString kReference = QStringLiteral("Frequenzen.quorvel");

// Runs statements on the working copy of the reference file, outside any window.
bool exec(const Fixture &fx, const QString &sql) { return testsupport::execSql(fx.path(kReference), sql); }

// The first column of a query on the working copy; a NULL comes back as a null QString.
QStringList values(const Fixture &fx, const QString &sql) { return testsupport::sqlColumn(fx.path(kReference), sql); }

// Places as a German reader expects them sorted: umlauts with their base letters, ß as ss, case
// not deciding; and the same places in the order they are stored.
const QStringList kPlacesInOrder{"Aachen",    "Ahrweiler", "Ärzen",      "Berlin", "Oberhof", "öhringen",
                                 "Strasburg", "Straßburg", "Überlingen", "ulm",    "Zwickau"};
const QStringList kPlacesStored{"Zwickau", "öhringen", "Berlin",    "Straßburg",  "Aachen",   "ulm",
                                "Ärzen",   "Oberhof",  "Strasburg", "Überlingen", "Ahrweiler"};

// The BOS and aviation tables hold nothing but these places (frequencies 84,4000 and 121,500,
// call name O'Brien).
bool placesOnly(const Fixture &fx)
{
    QString sql = "delete from bos; delete from flugfunk;";
    for (const QString &place : kPlacesStored)
        sql += QStringLiteral("insert into bos values ('XX','%1','Test','O''Brien','1','84,4000');"
                              "insert into flugfunk values ('121,500','%1');")
                   .arg(place);
    return exec(fx, sql);
}
} // namespace

class TestLookup : public QObject {
    Q_OBJECT
private slots:
    void captionsAndGrids_data();
    void captionsAndGrids();
    void containsSearch_data();
    void containsSearch();
    void hostileTextsGetNoEngineText_data();
    void hostileTextsGetNoEngineText();
    void searchOrder_data();
    void searchOrder();
    void prefixSearch_data();
    void prefixSearch();
    void prefixBoxEmptiedOnFocus_data();
    void prefixBoxEmptiedOnFocus();
    void reset_data();
    void reset();
    void locatorDefaults();
    void databaseErrors_data();
    void databaseErrors();
};

// clang-format off
void TestLookup::captionsAndGrids_data()
{
    QTest::addColumn<QString>("command"); // menu command; empty: opened by name only
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("search");
    QTest::newRow("prefix") << "gfhfgh" << "frm_prefix" << "prefix" << 1234 << "PREFIX LISTE"
                            << QStringList{"PREFIX", "LAND", ""} << "cmd_suche";
    QTest::newRow("locator") << "loc" << "frm_locator" << "locator" << 1234 << "Locator Daten  1234 Datensätze"
                             << QStringList{"Locator", "Distrikt", "Stadt", "Extra", "DXCC"} << "cmd_Stadt";
    QTest::newRow("bos") << "" << "frm_bos" << "bos" << 1234 << "BOS-Frequenzen   1234 Datensätze"
                         << QStringList{"BL", "Ort", "Benutzer", "Rufname", "Kanal", "Freq"} << "cmd_sucheort";
    QTest::newRow("flug") << "" << "frm_flug" << "flugfunk" << 87 << " FlugFunk   87 Datensätze"
                          << QStringList{"Frequenz", "Ort"} << "cmd_suchefreq";
}
// clang-format on

void TestLookup::captionsAndGrids()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(QString, table);
    QFETCH(int, rows);
    QFETCH(QString, caption);
    QFETCH(QStringList, columns);
    QFETCH(QString, search);
    Fixture fx;
    // Bring the table to the wanted size: cut it down, or double it and cut.
    for (int i = 0; i < 4; ++i)
        QVERIFY(exec(fx, QStringLiteral("insert into %1 select * from %1").arg(table)));
    QVERIFY(exec(
        fx, QStringLiteral("delete from %1 where rowid not in (select rowid from %1 limit %2)").arg(table).arg(rows)));
    Window w;
    if (command.isEmpty()) {
        w = fx.open(window);
    } else {
        fx.mainWindow()->trigger(command);
        w = shell::WindowRegistry::instance().window(window);
    }
    QVERIFY(w.w);
    QCOMPARE(w.w->windowTitle(), caption);
    QCOMPARE(w.headers(), columns);
    QCOMPARE(w.grid()->model()->rowCount(), rows);
    // The count is taken once: searches and reset leave the caption alone.
    w.click(search);
    w.click("cmd_reset");
    QCOMPARE(w.w->windowTitle(), caption);
    QCOMPARE(w.grid()->model()->rowCount(), rows);
}

// clang-format off
void TestLookup::containsSearch_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // rows whose column contains this pattern, any case
    QTest::addColumn<bool>("hits");
    const QString loc = "frm_locator", bos = "frm_bos", flug = "frm_flug";
    QTest::newRow("locator square") << loc << "txt_locator" << "cmd_locator" << "Locator" << "JO62" << "JO62" << true;
    QTest::newRow("locator lower case") << loc << "txt_locator" << "cmd_locator" << "Locator" << "jo62qm" << "jo62qm" << true;
    QTest::newRow("town lower case") << loc << "txt_stadt" << "cmd_Stadt" << "Stadt" << "berlin" << "berlin" << true;
    QTest::newRow("town umlaut upper") << loc << "txt_stadt" << "cmd_Stadt" << "Stadt" << "MÜNCHEN" << "MÜNCHEN" << true;
    QTest::newRow("underscore one letter") << loc << "txt_stadt" << "cmd_Stadt" << "Stadt" << "k_ln" << "k.ln" << true;
    QTest::newRow("percent") << loc << "txt_stadt" << "cmd_Stadt" << "Stadt" << "%" << "" << true;
    QTest::newRow("empty text") << loc << "txt_locator" << "cmd_locator" << "Locator" << "" << "" << true;
    QTest::newRow("apostrophe town") << loc << "txt_stadt" << "cmd_Stadt" << "Stadt" << "o'brien" << "o'brien" << true;
    QTest::newRow("no hit") << loc << "txt_stadt" << "cmd_Stadt" << "Stadt" << "xyzzy" << "xyzzy" << false;
    QTest::newRow("bos part of frequency") << bos << "txt_freq" << "cmd_suchefreq" << "Freq" << "84,4" << "84,4" << true;
    QTest::newRow("bos frequency wildcard") << bos << "txt_freq" << "cmd_suchefreq" << "Freq" << "84_4" << "84.4" << true;
    QTest::newRow("bos frequency empty") << bos << "txt_freq" << "cmd_suchefreq" << "Freq" << "" << "" << true;
    QTest::newRow("bos call name") << bos << "txt_rufname" << "cmd_sucherufname" << "Rufname" << "florian" << "florian" << true;
    QTest::newRow("bos call name apostrophe") << bos << "txt_rufname" << "cmd_sucherufname" << "Rufname" << "O'Brien" << "O'Brien" << true;
    QTest::newRow("bos place upper") << bos << "txt_ort" << "cmd_sucheort" << "Ort" << "AUGSBURG" << "augsburg" << true;
    QTest::newRow("bos place empty") << bos << "txt_ort" << "cmd_sucheort" << "Ort" << "" << "" << true;
    QTest::newRow("flug place") << flug << "txt_ort" << "cmd_sucheort" << "Ort" << "berlin" << "berlin" << true;
    QTest::newRow("flug place apostrophe") << flug << "txt_ort" << "cmd_sucheort" << "Ort" << "o'brien" << "o'brien" << true;
    QTest::newRow("flug frequency") << flug << "txt_freq" << "cmd_suchefreq" << "Frequenz" << "121," << "121," << true;
    QTest::newRow("flug frequency percent") << flug << "txt_freq" << "cmd_suchefreq" << "Frequenz" << "%" << "" << true;
    QTest::newRow("flug frequency no hit") << flug << "txt_freq" << "cmd_suchefreq" << "Frequenz" << "999" << "999" << false;
}
// clang-format on

void TestLookup::containsSearch()
{
    QFETCH(QString, window);
    QFETCH(QString, edit);
    QFETCH(QString, button);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(bool, hits);
    Fixture fx;
    // Edge rows: every searched column empty (null), and a name with an apostrophe.
    QVERIFY(exec(fx, "insert into locator values (NULL,'Irland',NULL,NULL,'EI');"
                     "insert into locator values ('IO51OB','Irland','O''Brien',NULL,'EI');"
                     "insert into bos values ('XX',NULL,'Test',NULL,'1',NULL);"
                     "insert into bos values ('XX','Aachen','Test','O''Brien','2','84,0000');"
                     "insert into flugfunk values (NULL,NULL);"
                     "insert into flugfunk values ('118,000','O''Brien Field');"));
    const Window w = fx.open(window);
    QVERIFY(w.w);
    // Text left in the other boxes must not narrow the search.
    for (QLineEdit *other : w.w->findChildren<QLineEdit *>())
        other->setText(QStringLiteral("qqqq"));
    w.type(edit, text);
    w.click(button);
    QVERIFY2(fx.messages.isEmpty(), qPrintable(fx.messageTexts().join('|')));

    const QString table = window == "frm_locator" ? "locator" : window == "frm_bos" ? "bos" : "flugfunk";
    const QString field = column == "Frequenz" ? "Frquenz" : column;
    const QRegularExpression pattern(expected, QRegularExpression::CaseInsensitiveOption);
    QStringList wanted; // stored order
    for (const QString &v : values(fx, QStringLiteral("select %1 from %2").arg(field, table)))
        if (!v.isNull() && pattern.match(v).hasMatch())
            wanted << v;
    QCOMPARE(!wanted.isEmpty(), hits);
    QStringList shown = w.column(column);
    if (window == "frm_locator") {
        QCOMPARE(shown, wanted); // unsorted: the table's own order
    } else {
        // The same rows (their order: searchOrder).
        std::sort(shown.begin(), shown.end());
        std::sort(wanted.begin(), wanted.end());
        QCOMPARE(shown, wanted);
    }
}

// clang-format off
void TestLookup::hostileTextsGetNoEngineText_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("button");
    for (const auto &[window, edit, button] :
         {std::tuple{"frm_bos", "txt_freq", "cmd_suchefreq"}, std::tuple{"frm_bos", "txt_rufname", "cmd_sucherufname"},
          std::tuple{"frm_bos", "txt_ort", "cmd_sucheort"}, std::tuple{"frm_flug", "txt_ort", "cmd_sucheort"},
          std::tuple{"frm_flug", "txt_freq", "cmd_suchefreq"}, std::tuple{"frm_locator", "txt_locator", "cmd_locator"},
          std::tuple{"frm_locator", "txt_stadt", "cmd_Stadt"}, std::tuple{"frm_prefix", "txt_suche", "cmd_suche"}})
        QTest::newRow(qPrintable(QString("%1 %2").arg(window, button))) << window << edit << button;
}
// clang-format on

void TestLookup::hostileTextsGetNoEngineText()
{
    // Pasted text reaches the engine only as a bound pattern: a NUL, a control character or a
    // quote finds nothing (the prefix window says so in its own words) and never an error.
    QFETCH(QString, window);
    QFETCH(QString, edit);
    QFETCH(QString, button);
    Fixture fx;
    const Window w = fx.open(window);
    for (const QString &text : {QStringLiteral("B") + QChar(0) + "e", QString(QChar(0)), QStringLiteral("\x01'"),
                                QStringLiteral("'"), QStringLiteral("%'; --")}) {
        w.get(edit)->setText(text);
        w.click(button);
        for (const QString &m : fx.messageTexts())
            QCOMPARE(m, QStringLiteral("Kein Datensatz gefunden"));
        fx.clearMessages();
    }
}

// clang-format off
void TestLookup::searchOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("places"); // the grid's column Ort, top to bottom
    const QStringList withR{"Ahrweiler", "Ärzen", "Berlin", "Oberhof", "öhringen", "Strasburg", "Straßburg", "Überlingen"};
    QTest::newRow("bos frequency") << "frm_bos" << "txt_freq" << "cmd_suchefreq" << "84,4" << kPlacesInOrder;
    QTest::newRow("bos call name, apostrophe, any case") << "frm_bos" << "txt_rufname" << "cmd_sucherufname" << "o'b"
                                                         << kPlacesInOrder;
    QTest::newRow("bos place") << "frm_bos" << "txt_ort" << "cmd_sucheort" << "ER"
                               << QStringList{"Ahrweiler", "Berlin", "Oberhof", "Überlingen"};
    QTest::newRow("flug place") << "frm_flug" << "txt_ort" << "cmd_sucheort" << "r" << withR;
    QTest::newRow("flug frequency") << "frm_flug" << "txt_freq" << "cmd_suchefreq" << "121" << kPlacesInOrder;
}
// clang-format on

// The BOS and aviation windows list what they find by place (the locator window: containsSearch).
void TestLookup::searchOrder()
{
    QFETCH(QString, window);
    QFETCH(QString, edit);
    QFETCH(QString, button);
    QFETCH(QString, text);
    QFETCH(QStringList, places);
    Fixture fx;
    QVERIFY(placesOnly(fx));
    const Window w = fx.open(window);
    w.type(edit, text);
    w.click(button);
    QCOMPARE(w.column("Ort"), places);
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestLookup::prefixSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("oracle"); // the prefixes expected, straight from the table; none: not found
    QTest::newRow("lower case exact") << "dl" << "select PREFIX from prefix where PREFIX = 'DL'";
    QTest::newRow("longer prefix") << "DL1" << "select PREFIX from prefix where PREFIX = 'DL1'";
    QTest::newRow("first letter and percent")
        << "D%" << "select PREFIX from prefix where substr(PREFIX, 1, 1) = 'D' order by PREFIX";
    QTest::newRow("underscore") << "d_"
                                << "select PREFIX from prefix where substr(PREFIX, 1, 1) = 'D' and length(PREFIX) = 2 "
                                   "order by PREFIX";
    QTest::newRow("apostrophe") << "o'k" << "select PREFIX from prefix where PREFIX = 'O''K'";
    QTest::newRow("empty text") << "" << "";
    QTest::newRow("unknown") << "QQ" << "";
}
// clang-format on

void TestLookup::prefixSearch()
{
    QFETCH(QString, text);
    QFETCH(QString, oracle);
    Fixture fx;
    QVERIFY(
        exec(fx, "insert into prefix values ('DL1','Testland','EU'); insert into prefix values ('O''K','Test','EU');"));
    const QStringList stored = values(fx, "select PREFIX from prefix");
    fx.mainWindow()->trigger("gfhfgh");
    const Window w = shell::WindowRegistry::instance().window("frm_prefix");
    QVERIFY(w.w);
    QCOMPARE(w.column("PREFIX"), stored);
    w.type("txt_suche", text);
    w.click("cmd_suche");
    const QStringList wanted = oracle.isEmpty() ? QStringList() : values(fx, oracle);
    if (wanted.isEmpty()) {
        QVERIFY(oracle.isEmpty());
        QCOMPARE(fx.messages.size(), 1);
        QCOMPARE(fx.messages[0].title, QStringLiteral("WELLENKLADDE 2006"));
        QCOMPARE(fx.messages[0].text, QStringLiteral("Kein Datensatz gefunden"));
        QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(w.column("PREFIX"), stored); // the whole table, not the empty result
        QCOMPARE(w.text("txt_suche"), text);
    } else {
        QVERIFY(fx.messages.isEmpty());
        QCOMPARE(w.column("PREFIX"), wanted);
    }
}

// clang-format off
void TestLookup::prefixBoxEmptiedOnFocus_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("mouse") << true;
    QTest::newRow("keyboard") << false;
}
// clang-format on

void TestLookup::prefixBoxEmptiedOnFocus()
{
    QFETCH(bool, byMouse);
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main));
    const Window w = fx.open("frm_prefix");
    QLineEdit *box = w.get("txt_suche");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "DLXY");
    QCOMPARE(box->text(), QStringLiteral("DLX")); // three characters at most
    QTest::keyClick(box, Qt::Key_Backspace);
    w.click("cmd_suche");
    QCOMPARE(w.column("PREFIX"), QStringList{"DL"});
    QCOMPARE(box->text(), QStringLiteral("DL"));
    w.click("cmd_suche"); // again without entering the box: the same search
    QCOMPARE(w.column("PREFIX"), QStringList{"DL"});
    if (byMouse)
        QTest::mouseClick(box, Qt::LeftButton);
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QVERIFY(box->hasFocus());
    QCOMPARE(box->text(), QString());
    QCOMPARE(w.column("PREFIX"), QStringList{"DL"}); // the grid keeps the last result
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestLookup::reset_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column"); // grid column compared with the table
    QTest::addColumn<QStringList>("whole"); // the whole list as shown; empty: the table in stored order
    QTest::addColumn<bool>("boxesEmptied");
    QTest::newRow("bos") << "frm_bos" << "cmd_sucheort" << "bos" << "Ort" << kPlacesInOrder << true;
    QTest::newRow("flug") << "frm_flug" << "cmd_sucheort" << "flugfunk" << "Ort" << kPlacesInOrder << true;
    QTest::newRow("locator") << "frm_locator" << "cmd_Stadt" << "locator" << "Locator" << QStringList() << false;
    QTest::newRow("prefix") << "frm_prefix" << "cmd_suche" << "prefix" << "PREFIX" << QStringList() << true;
}
// clang-format on

void TestLookup::reset()
{
    QFETCH(QString, window);
    QFETCH(QString, search);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QStringList, whole);
    QFETCH(bool, boxesEmptied);
    Fixture fx;
    QVERIFY(placesOnly(fx));
    const Window w = fx.open(window);
    const QList<QLineEdit *> boxes = w.w->findChildren<QLineEdit *>();
    for (QLineEdit *box : boxes)
        box->setText(box->maxLength() == 3 ? QStringLiteral("DL") : QStringLiteral("ber"));
    w.click(search);
    QVERIFY(!w.column(column).isEmpty());
    w.click("cmd_reset");
    if (whole.isEmpty())
        whole = values(fx, QStringLiteral("select %1 from %2 order by rowid").arg(column, table));
    QCOMPARE(w.column(column), whole);
    for (QLineEdit *box : boxes)
        QCOMPARE(box->text().isEmpty(), boxesEmptied);
    QVERIFY(fx.messages.isEmpty());
}

void TestLookup::locatorDefaults()
{
    Fixture fx;
    fx.mainWindow()->trigger("loc");
    Window w = shell::WindowRegistry::instance().window("frm_locator");
    QLineEdit *locator = w.get("txt_locator");
    QLineEdit *town = w.get("txt_stadt");
    QCOMPARE(locator->text().size(), 6);
    QVERIFY(locator->alignment() & Qt::AlignHCenter);
    QVERIFY(!town->text().isEmpty());
    // The samples find rows of the shipped table.
    w.click("cmd_locator");
    QVERIFY(w.column("Locator").contains(locator->text()));
    w.click("cmd_Stadt");
    QVERIFY(w.column("Stadt").contains(town->text()));
    const QString sampleLocator = locator->text(), sampleTown = town->text();
    locator->setText("AA00");
    town->setText("Nirgendwo");
    fx.close("frm_locator");
    fx.mainWindow()->trigger("loc");
    w = shell::WindowRegistry::instance().window("frm_locator");
    QCOMPARE(w.text("txt_locator"), sampleLocator);
    QCOMPARE(w.text("txt_stadt"), sampleTown);
    QVERIFY(fx.messages.isEmpty());
}

// clang-format off
void TestLookup::databaseErrors_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("caption"); // shown when the file is missing
    QTest::addColumn<bool>("fileMissing");
    const QList<QStringList> windows = {{"frm_prefix", "prefix", "txt_suche", "cmd_suche", "PREFIX LISTE"},
                                        {"frm_locator", "locator", "txt_locator", "cmd_locator", "LOCATOR DATENBANK"},
                                        {"frm_bos", "bos", "txt_rufname", "cmd_sucherufname", "BOS-Frequenzen"},
                                        {"frm_flug", "flugfunk", "txt_freq", "cmd_suchefreq", "Flugfunk Frequenzen"}};
    for (const QStringList &w : windows) {
        for (const bool missing : {false, true})
            QTest::addRow("%s %s", qPrintable(w[0]), missing ? "file missing" : "table gone")
                << w[0] << w[1] << w[2] << w[3] << w[4] << missing;
    }
}
// clang-format on

void TestLookup::databaseErrors()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    QFETCH(QString, edit);
    QFETCH(QString, search);
    QFETCH(QString, caption);
    QFETCH(bool, fileMissing);
    Fixture fx;
    if (fileMissing)
        QVERIFY(QFile::remove(fx.path(kReference)));
    const Window w = fx.open(window);
    QVERIFY(w.w);
    if (fileMissing) {
        QCOMPARE(fx.messages.size(), 1);
        QVERIFY(fx.messages[0].text.contains(kReference));
        QCOMPARE(w.w->windowTitle(), caption); // no count to show
        fx.clearMessages();
    } else {
        QVERIFY(exec(fx, QStringLiteral("alter table %1 rename to weg").arg(table)));
    }
    w.type(edit, "qqq");
    w.click(search);
    // One German message, no not-found message, and the window stays.
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QVERIFY2(fx.messages[0].text.startsWith("Die Daten aus Frequenzen.quorvel konnten nicht gelesen werden"),
             qPrintable(fx.messages[0].text));
    QVERIFY(fx.isOpen(window));
    if (!fileMissing) {
        // Once the table is back, the window works again.
        QVERIFY(exec(fx, QStringLiteral("alter table weg rename to %1").arg(table)));
        // The grid still holds the whole list, down to its last row.
        QAbstractItemModel *model = w.grid()->model();
        QVERIFY(!model->index(model->rowCount() - 1, 1).data().toString().isEmpty());
        fx.clearMessages();
        w.click("cmd_reset");
        QVERIFY(fx.messages.isEmpty());
        QCOMPARE(w.grid()->model()->rowCount(),
                 values(fx, QStringLiteral("select count(*) from %1").arg(table)).value(0).toInt());
    }
    fx.close(window);
    QVERIFY(!fx.isOpen(window));
}

QTEST_MAIN(TestLookup)
#include "tst_lookup.moc"
