#include "core/data/RecordSource.h"
#include "core/data/SqlLike.h"
#include "core/logbook/ListOrder.h"
#include "core/sql/Sqlite.h"
#include "support/TestSupport.h"
#include "ui/DataControl.h"
#include "ui/DataGrid.h"
#include "ui/FieldBinding.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

using data::RecordSource;
using testsupport::Fixture;

namespace {
// Fills Kontakt with contacts skip "S00001" ... in file order, ort "Ort n".
void fillContacts(const QString &file, int count)
{
    QVERIFY(testsupport::execSql(file, QStringLiteral("with recursive c(i) as (select 1 union all select i+1 from c "
                                                      "where i < %1) insert into Kontakt (skip, ort) select "
                                                      "printf('S%05d', i), 'Ort ' || i from c;")
                                           .arg(count)));
}

int countWhere(const QString &file, const QString &where)
{
    return testsupport::sqlColumn(file, "select count(*) from Kontakt where " + where).value(0, "-1").toInt();
}

void openLogbook(RecordSource &source, const data::Query &query = data::Query("Kontakt").orderBy("skip"))
{
    QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    source.setEditTable("Kontakt");
    source.setQuery(query);
    QVERIFY2(source.refresh(), qPrintable(source.lastError()));
}
} // namespace

class TestRecordSource : public QObject {
    Q_OBJECT
private slots:
    void likeMatch_data();
    void likeMatch();
    void likeInSql_data();
    void likeInSql();
    void queryShapes_data();
    void queryShapes();
    void apostrophesCannotEndTheLiteral_data();
    void apostrophesCannotEndTheLiteral();
    void exactCountAndLazyRows();
    void openWindowDoesNotLockTheFile();
    void navigation();
    void editsReachTheFile();
    void cancelDropsPendingEdits();
    void gridFollowsSourceAndSelection();
    void bindingShowsAndStoresRow();
    void listOrder_data();
    void listOrder();
    void pendingRecordSurvivesAMove_data();
    void pendingRecordSurvivesAMove();
    void editsChangeTheShownResultInPlace_data();
    void editsChangeTheShownResultInPlace();
    void walkReadsEveryRowOnce();
    void failedSaveKeepsThePendingRecord_data();
    void failedSaveKeepsThePendingRecord();
    void missingOrBrokenFile_data();
    void missingOrBrokenFile();
    void badQueryIsReportedNotThrown();
};

// clang-format off
void TestRecordSource::likeMatch_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("match");
    QTest::newRow("contains") << "%Ber%" << "Berlin" << true;
    QTest::newRow("other case ascii") << "%berlin%" << "BERLIN" << true;
    QTest::newRow("umlaut case") << "%ärzte%" << "Notfall Ärzte" << true;
    QTest::newRow("umlaut upper pattern") << "ÖSTERREICH" << "österreich" << true;
    QTest::newRow("exact no prefix match") << "dl" << "DL1" << false;
    QTest::newRow("exact") << "dl" << "DL" << true;
    QTest::newRow("percent only") << "%" << "" << true;
    QTest::newRow("two percent empty text") << "%%" << "" << true;
    QTest::newRow("underscore one char") << "D_" << "DL" << true;
    QTest::newRow("underscore not two") << "D_" << "DL1" << false;
    QTest::newRow("underscore umlaut") << "M_nchen" << "München" << true;
    QTest::newRow("prefix wildcard") << "D%" << "DA" << true;
    QTest::newRow("prefix wildcard miss") << "D%" << "ED" << false;
    QTest::newRow("suffix") << "%dorf" << "Düsseldorf" << true;
    QTest::newRow("backtracking") << "%a%b%c" << "aXbXaYbYc" << true;
    QTest::newRow("backtracking miss") << "%a%b%c" << "aXbXaYbY" << false;
    QTest::newRow("apostrophe") << "%O'Brien%" << "Pat O'Brien" << true;
    QTest::newRow("eszett needs no fold") << "STRASSE" << "Straße" << false;
}
// clang-format on

void TestRecordSource::likeMatch()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, match);
    QCOMPARE(data::likeMatch(pattern, text), match);
}

// clang-format off
void TestRecordSource::likeInSql_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("count");
    // Rows: (1,'Berlin',26965), (2,'Ärzte',NULL), (3,NULL,27005), (4,'berliner',26975)
    QTest::newRow("case folded") << "t Like '%BERLIN%'" << 2;
    QTest::newRow("umlaut folded") << "t Like '%ärz%'" << 1;
    QTest::newRow("number by its text") << "n Like '%2696%'" << 1;
    QTest::newRow("number prefix") << "n Like '2697_'" << 1;
    QTest::newRow("null never matches") << "t Like '%%'" << 3;
    QTest::newRow("null never matches negated") << "not (t Like 'x')" << 3;
    QTest::newRow("escape clause") << "t Like 'b%r' escape '\\'" << 1;
}
// clang-format on

void TestRecordSource::likeInSql()
{
    QFETCH(QString, where);
    QFETCH(int, count);
    Fixture fx(QSize(1280, 1024), false);
    const QString file = fx.path("like.db");
    QVERIFY(testsupport::execSql(
        file, "create table x (id integer primary key, t text, n integer);"
              "insert into x values (1,'Berlin',26965),(2,'Ärzte',NULL),(3,NULL,27005),(4,'berliner',26975);"));
    sql::Database db;
    QCOMPARE(db.open(file, sql::Database::Access::ReadOnly), 0);
    QVERIFY(data::registerLike(db.handle()));
    QStringList counted;
    QCOMPARE(db.column("select count(*) from x where " + where, &counted), 0);
    QCOMPARE(counted, QStringList{QString::number(count)});
}

// clang-format off
void TestRecordSource::queryShapes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column"); // searched column, empty: no search
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("first");
    QTest::newRow("whole table in file order") << "Frequenzen.quorvel" << "umbau" << "" << "" << "" << 40 << "kanal" << "1";
    QTest::newRow("other letter case") << "Frequenzen.quorvel" << "Umbau" << "" << "" << "" << 40 << "D" << "26965";
    QTest::newRow("band search") << "Frequenzen.quorvel" << "Umbau" << "D" << "%26965%" << "" << 1 << "Kanal" << "1";
    QTest::newRow("band search none") << "Frequenzen.quorvel" << "Umbau" << "A" << "%26965%" << "" << 0 << "Kanal" << "";
    QTest::newRow("exact prefix") << "Frequenzen.quorvel" << "prefix" << "prefix" << "dl" << "prefix" << 1 << "PREFIX" << "DL";
    QTest::newRow("sorted lookup") << "Frequenzen.quorvel" << "bos" << "" << "" << "Ort" << -1 << "" << "";
    QTest::newRow("logbook by skip") << "Frequenzen1.quorvel" << "Kontakt" << "" << "" << "skip" << 0 << "skip" << "";
    QTest::newRow("logbook dx") << "Frequenzen1.quorvel" << "Kontakt_dx" << "" << "" << "" << 0 << "skip" << "";
    QTest::newRow("logbook search") << "Frequenzen1.quorvel" << "Kontakt" << "ort" << "%Ber%" << "skip" << 0 << "ort" << "";
}
// clang-format on

void TestRecordSource::queryShapes()
{
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, pattern);
    QFETCH(QString, order);
    QFETCH(int, count);
    QFETCH(QString, field);
    QFETCH(QString, first);
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(file));
    data::Query query(table);
    if (!column.isEmpty())
        query.where(column, pattern);
    source.setQuery(query.orderBy(order));
    QVERIFY2(source.refresh(), qPrintable(source.lastError()));
    if (count >= 0)
        QCOMPARE(source.recordCount(), count);
    if (!field.isEmpty())
        QCOMPARE(source.fieldText(field), first);
}

// clang-format off
void TestRecordSource::apostrophesCannotEndTheLiteral_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::newRow("O'Brien") << "O'Brien" << 1;
    QTest::newRow("lone apostrophe") << "'" << 1;
    QTest::newRow("closing attempt") << "x' or '1'='1" << 0;
    QTest::newRow("statement attempt") << "'; drop table Kontakt; --" << 0;
    QTest::newRow("NUL character") << QStringLiteral("O'B") + QChar(0) + QStringLiteral("rien") << 0;
}
// clang-format on

void TestRecordSource::apostrophesCannotEndTheLiteral()
{
    QFETCH(QString, typed);
    QFETCH(int, count);
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    source.setEditTable("Kontakt");
    source.setQuery(data::Query("Kontakt").orderBy("skip"));
    QVERIFY(source.refresh());
    QVERIFY(source.addNew());
    source.setField("skip", "Paddy");
    source.setField("name", "O'Brien");
    QVERIFY2(source.update(), qPrintable(source.lastError()));
    // The typed text is only ever searched for; nothing of it reaches the engine as SQL.
    source.setQuery(data::Query("Kontakt").whereContains("name", typed).orderBy("skip"));
    QVERIFY2(source.refresh(), qPrintable(source.lastError()));
    QCOMPARE(source.recordCount(), count);
    source.setQuery(data::Query("Kontakt"));
    QVERIFY(source.refresh());
    QCOMPARE(source.recordCount(), 1);
}

void TestRecordSource::exactCountAndLazyRows()
{
    Fixture fx(QSize(1280, 1024), false);
    const QString file = fx.path("many.db");
    QVERIFY(testsupport::execSql(file, "create table t (id integer primary key, v text);"
                                       "with recursive c(i) as (select 1 union all select i+1 from c where i < 12000)"
                                       " insert into t select 12001 - i, printf('row %05d', 12001 - i) from c;"));
    RecordSource source;
    QVERIFY(source.open(file));
    source.setQuery(data::Query("t").whereContains("v", "7").orderBy("v"));
    QVERIFY(source.refresh());
    int expected = 0;
    for (int i = 1; i <= 12000; ++i)
        expected += QString::number(i).contains('7');
    QCOMPARE(source.recordCount(), expected);
    // Far rows, then near ones again, in any order.
    QCOMPARE(source.value(expected - 1, 1).toString(), QStringLiteral("row 11997"));
    QCOMPARE(source.value(0, 1).toString(), QStringLiteral("row 00007"));
    QVERIFY(!source.value(expected, 1).isValid());
    // Unfiltered and filtered results larger than what is kept in memory, read anywhere.
    for (const data::Query &query : {data::Query("t").orderBy("v"), data::Query("t").where("v", "row%").orderBy("v")}) {
        source.setQuery(query);
        QVERIFY(source.refresh());
        QCOMPARE(source.recordCount(), 12000);
        for (int row : {0, 99, 100, 4999, 5000, 11999, 6000, 5999, 42})
            QCOMPARE(source.value(row, 0).toString(), QString::number(row + 1));
    }
}

void TestRecordSource::openWindowDoesNotLockTheFile()
{
    // A window that shows a large result must not keep other connections from writing.
    Fixture fx;
    RecordSource reader, writer;
    QVERIFY(reader.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    QVERIFY(writer.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    writer.setEditTable("Kontakt_dx");
    writer.setQuery(data::Query("Kontakt_dx"));
    QVERIFY(writer.refresh());
    for (int i = 0; i < 300; ++i) {
        QVERIFY(writer.addNew());
        writer.setField("skip", QString::number(i));
        QVERIFY(writer.update());
    }
    reader.setQuery(data::Query("Kontakt_dx").orderBy("datum"));
    QVERIFY(reader.refresh());
    QCOMPARE(reader.value(250, 1).isValid(), true);
    QElapsedTimer t;
    t.start();
    QVERIFY(writer.addNew());
    writer.setField("skip", "frei");
    QVERIFY2(writer.update(), qPrintable(writer.lastError()));
    QVERIFY(t.elapsed() < 5000);
}

void TestRecordSource::navigation()
{
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(data::kReferenceFile));
    source.setQuery(data::Query("president"));
    QVERIFY(source.refresh());
    QCOMPARE(source.currentRow(), 0);
    source.move(39);
    QCOMPARE(source.fieldText("kanal"), QStringLiteral("40"));
    QVERIFY(!source.eof());
    source.moveNext();
    QVERIFY(source.eof());
    QVERIFY(!source.field("kanal").isValid());
    source.moveFirst();
    QCOMPARE(source.fieldText("KANAL"), QStringLiteral("1"));
    QCOMPARE(source.columns().first(), QStringLiteral("KANAL"));
    QCOMPARE(source.columnIndex("Kanal"), 0);
    QCOMPARE(source.columnIndex("nothing"), -1);
}

void TestRecordSource::editsReachTheFile()
{
    Fixture fx;
    {
        RecordSource source;
        QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
        source.setEditTable("Kontakt_dx");
        source.setQuery(data::Query("Kontakt_dx").orderBy("datum"));
        QVERIFY(source.refresh());
        for (const char *skip : {"Charly", "Alpha", "Bravo"}) {
            QVERIFY(source.addNew());
            source.setField("skip", skip);
            source.setField("ort", "Köln");
            source.setField("qslbekommen", 1);
            QVERIFY2(source.update(), qPrintable(source.lastError()));
            QCOMPARE(source.fieldText("skip"), QString::fromLatin1(skip));
        }
        QCOMPARE(source.recordCount(), 3);
        // Edit the second, delete the first.
        source.setCurrentRow(1);
        source.setField("ort", "Düsseldorf");
        QVERIFY(source.update());
        source.setCurrentRow(0);
        QVERIFY(source.deleteCurrent());
        QCOMPARE(source.recordCount(), 2);
        QCOMPARE(source.fieldText("skip"), QStringLiteral("Alpha"));
    }
    RecordSource again;
    QVERIFY(again.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    again.setQuery(data::Query("Kontakt_dx").orderBy("skip"));
    QVERIFY(again.refresh());
    QCOMPARE(again.recordCount(), 2);
    QCOMPARE(again.fieldText("skip"), QStringLiteral("Alpha"));
    QCOMPARE(again.fieldText("ort"), QStringLiteral("Düsseldorf"));
    QCOMPARE(again.fieldText("qslbekommen"), QStringLiteral("1"));
    again.moveNext();
    QCOMPARE(again.fieldText("skip"), QStringLiteral("Bravo"));
    QCOMPARE(again.fieldText("ort"), QStringLiteral("Köln"));
}

void TestRecordSource::cancelDropsPendingEdits()
{
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    source.setEditTable("Kontakt");
    source.setQuery(data::Query("Kontakt").orderBy("skip"));
    QVERIFY(source.refresh());
    QVERIFY(source.addNew());
    source.setField("skip", "Tango");
    QVERIFY(source.update());
    source.setField("skip", "Changed");
    QCOMPARE(source.fieldText("skip"), QStringLiteral("Changed"));
    source.cancel();
    QCOMPARE(source.fieldText("skip"), QStringLiteral("Tango"));
    QVERIFY(source.addNew());
    source.setField("skip", "Never");
    source.cancel();
    QVERIFY(source.refresh());
    QCOMPARE(source.recordCount(), 1);
}

void TestRecordSource::gridFollowsSourceAndSelection()
{
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(data::kReferenceFile));
    source.setQuery(data::Query("umbau"));
    QVERIFY(source.refresh());
    ui::DataGrid grid(&source, {{"Kanal", "Kanal"}, {"Band D", "d"}, {"Gone", "nosuchfield"}});
    QCOMPARE(grid.model()->rowCount(), 40);
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Band D"));
    QCOMPARE(grid.model()->index(23, 1).data().toString(), QStringLiteral("27235"));
    QVERIFY(!grid.model()->index(0, 2).data().isValid());
    grid.setCurrentIndex(grid.model()->index(11, 0));
    QCOMPARE(source.currentRow(), 11);
    QCOMPARE(source.fieldText("kanal"), QStringLiteral("12"));
    source.setCurrentRow(5);
    QCOMPARE(grid.currentIndex().row(), 5);
    source.setQuery(data::Query("Umbau").whereContains("D", "272"));
    QVERIFY(source.refresh());
    QCOMPARE(grid.model()->rowCount(), source.recordCount());
}

void TestRecordSource::bindingShowsAndStoresRow()
{
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
    source.setEditTable("Kontakt_dx");
    source.setQuery(data::Query("Kontakt_dx").orderBy("datum"));
    QVERIFY(source.refresh());
    QLineEdit skip, ort;
    QCheckBox qsl;
    QTextEdit remarks;
    ui::FieldBinding binding(&source);
    binding.bind(&skip, "skip");
    binding.bind(&ort, "ort");
    binding.bind(&qsl, "qslverschickt");
    binding.bind(&remarks, "bemerkung");
    QVERIFY(source.addNew());
    QVERIFY(skip.text().isEmpty() && !qsl.isChecked());
    skip.setText("Zulu");
    ort.setText("Gießen");
    qsl.setChecked(true);
    remarks.setPlainText("Erste Zeile\nzweite Zeile mit ' und \"");
    QCOMPARE(source.fieldText("ort"), QStringLiteral("Gießen")); // written through, one source of truth
    QVERIFY(source.update());
    skip.clear();
    QCOMPARE(source.editState(), RecordSource::EditState::Editing);
    source.cancel();
    QCOMPARE(skip.text(), QStringLiteral("Zulu"));
    QCOMPARE(ort.text(), QStringLiteral("Gießen"));
    QVERIFY(qsl.isChecked());
    QCOMPARE(remarks.toPlainText(), QStringLiteral("Erste Zeile\nzweite Zeile mit ' und \""));
}

// clang-format off
void TestRecordSource::listOrder_data()
{
    QTest::addColumn<bool>("dx");
    QTest::addColumn<QStringList>("saved"); // in the order saved
    QTest::addColumn<QStringList>("shown");
    // "Strasse" and "Straße" share the key; the text decides between them.
    QTest::newRow("local by skip, German order")
        << false << QStringList{"Zeppelin", "Ulm", "über", "Stuttgart", "Strasse", "Straße", "öko", "Ober", "Bern",
                                "Berlin", "berlin", "ATIS", "Apron", "Äpfel"}
        << QStringList{"Äpfel", "Apron", "ATIS", "Berlin", "berlin", "Bern", "Ober", "öko", "Strasse", "Straße",
                       "Stuttgart", "über", "Ulm", "Zeppelin"};
    QTest::newRow("dx by the date named, texts that are no date after")
        << true << QStringList{"gestern", "01.02.2025", "08.12.2026", "", "15.12.2024", "1.2.2025", "30.06.2006",
                               "31.12.2024"}
        << QStringList{"30.06.2006", "15.12.2024", "31.12.2024", "01.02.2025", "08.12.2026", "", "1.2.2025",
                       "gestern"};
}
// clang-format on

void TestRecordSource::listOrder()
{
    QFETCH(bool, dx);
    QFETCH(QStringList, saved);
    QFETCH(QStringList, shown);
    Fixture fx;
    const logbook::Book book = dx ? logbook::Book::Dx : logbook::Book::Local;
    const QString column = dx ? "datum" : "skip";
    for (const QString &s : saved)
        QVERIFY(testsupport::execSql(
            fx.path(data::kLogbookFile),
            QStringLiteral("insert into %1 (%2) values ('%3')").arg(logbook::tableOf(book), column, s)));
    for (const bool withIndex : {false, true}) { // an earlier version's file, and one brought up to date
        RecordSource source;
        QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadWrite));
        if (withIndex)
            source.upgrade(logbook::indexSql(book));
        source.setQuery(data::Query(logbook::tableOf(book)).orderBy(logbook::listOrder(book)));
        QVERIFY2(source.refresh(), qPrintable(source.lastError()));
        QStringList rows;
        for (int r = 0; r < source.recordCount(); ++r)
            rows << source.value(r, source.columnIndex(column)).toString();
        QCOMPARE(rows, shown);
    }
}

// clang-format off
void TestRecordSource::pendingRecordSurvivesAMove_data()
{
    QTest::addColumn<bool>("adding");  // a new record, or a change of row 1
    QTest::addColumn<bool>("byClick"); // moved by a grid click, or by a refresh (search, reset)
    QTest::newRow("new record, grid click") << true << true;
    QTest::newRow("new record, refresh") << true << false;
    QTest::newRow("changed record, grid click") << false << true;
    QTest::newRow("changed record, refresh") << false << false;
}
// clang-format on

void TestRecordSource::pendingRecordSurvivesAMove()
{
    QFETCH(bool, adding);
    QFETCH(bool, byClick);
    Fixture fx;
    fillContacts(fx.path(data::kLogbookFile), 3);
    RecordSource source;
    openLogbook(source);
    ui::DataGrid grid(&source, {{"SKIP", "skip"}, {"QTH", "ort"}});
    QLineEdit skip;
    ui::FieldBinding binding(&source);
    binding.bind(&skip, "skip");
    if (adding) {
        QVERIFY(source.addNew());
        QCOMPARE(source.editState(), RecordSource::EditState::Adding);
    } else {
        grid.setCurrentIndex(grid.model()->index(1, 0));
    }
    skip.setText("Getippt");
    QCOMPARE(source.fieldText("skip"), QStringLiteral("Getippt"));
    if (byClick) {
        grid.setCurrentIndex(grid.model()->index(adding ? 1 : 0, 0));
    } else {
        QVERIFY(source.refresh());
    }
    // What was typed is in the file, the moved-to row shows its own values and stays as it was.
    QCOMPARE(source.editState(), RecordSource::EditState::Browsing);
    QCOMPARE(countWhere(fx.path(data::kLogbookFile), "skip = 'Getippt'"), 1);
    QCOMPARE(countWhere(fx.path(data::kLogbookFile), "1"), adding ? 4 : 3);
    QCOMPARE(skip.text(), source.value(source.currentRow(), source.columnIndex("skip")).toString());
    if (byClick)
        QCOMPARE(skip.text(), QString(adding ? "S00002" : "S00001"));
    QCOMPARE(countWhere(fx.path(data::kLogbookFile), "skip = 'S00002'"), adding ? 1 : 0);
}

// clang-format off
void TestRecordSource::editsChangeTheShownResultInPlace_data()
{
    QTest::addColumn<int>("rows"); // a small result is held whole, a large one read in windows
    QTest::newRow("small") << 40;
    QTest::newRow("large") << 12000;
}
// clang-format on

void TestRecordSource::editsChangeTheShownResultInPlace()
{
    QFETCH(int, rows);
    Fixture fx;
    fillContacts(fx.path(data::kLogbookFile), rows);
    RecordSource source;
    openLogbook(source);
    ui::GridModel model(&source, {{"SKIP", "skip"}});
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    auto skipAt = [&](int row) { return model.index(row, 0).data().toString(); };
    auto expected = [](int n) { return QStringLiteral("S%1").arg(n, 5, 10, QLatin1Char('0')); };
    // The query set but not run yet does not change where edits go.
    source.setQuery(data::Query("Kontakt").whereContains("skip", "nothing").orderBy("skip"));

    // A saved new record joins the end of the shown list; it sorts first in the file.
    QVERIFY(source.addNew());
    source.setField("skip", "AAA neu");
    QVERIFY2(source.update(), qPrintable(source.lastError()));
    QCOMPARE(model.rowCount(), rows + 1);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(source.currentRow(), rows);
    QCOMPARE(skipAt(rows), QStringLiteral("AAA neu"));
    // A changed row keeps its place although its new text sorts elsewhere.
    const int middle = rows / 2;
    QVERIFY(source.setCurrentRow(middle));
    source.setField("skip", "ZZZ geändert");
    QVERIFY(source.update());
    QCOMPARE(skipAt(middle), QStringLiteral("ZZZ geändert"));
    // A deleted row leaves; the rows behind it move up; the position stays.
    QVERIFY(source.setCurrentRow(middle + 2));
    QVERIFY(source.deleteCurrent());
    QCOMPARE(removed.size(), 1);
    QCOMPARE(source.currentRow(), middle + 2);
    QCOMPARE(model.rowCount(), rows);
    for (int row : {0, 1, middle - 1, middle + 1, middle + 2, rows - 2})
        QCOMPARE(skipAt(row), expected(row < middle + 2 ? row + 1 : row + 2));
    QCOMPARE(skipAt(middle), QStringLiteral("ZZZ geändert"));
    QCOMPARE(skipAt(rows - 1), QStringLiteral("AAA neu"));
    QCOMPARE(resets.size(), 0);
    // The file holds the same, and the next refresh sorts it as a fresh query would.
    QCOMPARE(countWhere(fx.path(data::kLogbookFile), "1"), rows);
    source.setQuery(data::Query("Kontakt").orderBy("skip"));
    QVERIFY(source.refresh());
    QCOMPARE(skipAt(0), QStringLiteral("AAA neu"));
    QCOMPARE(skipAt(rows - 1), QStringLiteral("ZZZ geändert"));
}

void TestRecordSource::walkReadsEveryRowOnce()
{
    Fixture fx;
    fillContacts(fx.path(data::kLogbookFile), 12000);
    RecordSource source;
    openLogbook(source, data::Query("Kontakt").whereContains("ort", "rt ").orderBy("skip")); // large: read in windows
    QStringList walked;
    QVERIFY(source.forEachRow([&](const RecordSource::RowReader &field) {
        walked << field("SKIP").toString();
        return true;
    }));
    QCOMPARE(walked.size(), source.recordCount());
    // The shown rows, read in windows from both ends, are the walked ones.
    QStringList shown;
    for (int r = 0; r < source.recordCount(); ++r)
        shown << source.value(r, source.columnIndex("skip")).toString();
    QCOMPARE(shown, walked);
    // Rows that can no longer be read are told once, not shown as blank cells without a word.
    QSignalSpy failed(&source, &RecordSource::readFailed);
    QVERIFY(testsupport::execSql(fx.path(data::kLogbookFile), "drop table Kontakt"));
    QVERIFY(!source.value(source.recordCount() / 2, 1).isValid());
    QVERIFY(!source.value(0, 1).isValid());
    QCOMPARE(failed.size(), 1);
    QVERIFY(!source.forEachRow([](const RecordSource::RowReader &) { return true; }));
    QVERIFY(std::is_sorted(walked.begin(), walked.end()));
    QCOMPARE(walked.removeDuplicates(), 0);
}

// clang-format off
void TestRecordSource::failedSaveKeepsThePendingRecord_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("read-only file") << "readonly";
    QTest::newRow("disk full") << "full";
    QTest::newRow("locked by another program") << "locked";
    QTest::newRow("file deleted") << "deleted";
}
// clang-format on

void TestRecordSource::failedSaveKeepsThePendingRecord()
{
    QFETCH(QString, cause);
    Fixture fx;
    const QString file = fx.path(data::kLogbookFile);
    fillContacts(file, 2);
    RecordSource source;
    if (cause == "readonly" && geteuid() == 0) {
        // Root writes any file; a connection that fell back to reading only is the same case.
        QVERIFY(source.open(data::kLogbookFile, RecordSource::Mode::ReadOnly));
        source.setEditTable("Kontakt");
        source.setQuery(data::Query("Kontakt").orderBy("skip"));
        QVERIFY(source.refresh());
    } else {
        if (cause == "readonly")
            QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        openLogbook(source);
    }
    source.setBusyTimeout(100);
    // A full disk: no file of this process may grow.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const auto noGrowth = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &before); });
    if (cause == "full") {
        signal(SIGXFSZ, SIG_IGN);
        rlimit full = before;
        full.rlim_cur = 1024; // no write past the first kilobyte of any file
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
    }
    sqlite3 *other = nullptr;
    if (cause == "locked") {
        QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    } else if (cause == "deleted") {
        QVERIFY(QFile::rename(file, file + ".weg"));
    }
    QVERIFY(source.addNew());
    source.setField("skip", "Bleibt");
    QVERIFY(!source.update());
    QVERIFY2(source.lastError().startsWith(QStringLiteral("Der Datensatz wurde nicht gespeichert.")),
             qPrintable(source.lastError()));
    QCOMPARE(source.editState(), RecordSource::EditState::Adding);
    QCOMPARE(source.fieldText("skip"), QStringLiteral("Bleibt"));
    QVERIFY(!source.setCurrentRow(0)); // nor does a move drop it
    QCOMPARE(source.fieldText("skip"), QStringLiteral("Bleibt"));
    // The cause gone, the same record saves.
    if (other) {
        sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    setrlimit(RLIMIT_FSIZE, &before);
    if (cause == "locked" || cause == "full") {
        QVERIFY2(source.update(), qPrintable(source.lastError()));
        QCOMPARE(countWhere(file, "skip = 'Bleibt'"), 1);
    }
}

// clang-format off
void TestRecordSource::missingOrBrokenFile_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file is missing
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a database") << QByteArray("Dies ist keine Datenbank, sondern ein Brief.\n").repeated(40);
}
// clang-format on

void TestRecordSource::missingOrBrokenFile()
{
    QFETCH(QByteArray, content);
    Fixture fx(QSize(1280, 1024), false);
    if (!content.isEmpty()) {
        QFile f(fx.path(data::kReferenceFile));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QWidget window;
    RecordSource *source = ui::openDataControl(&window, data::kReferenceFile, data::Query("umbau"));
    QVERIFY(source);
    QVERIFY(!source->isOpen());
    QCOMPARE(fx.messages.size(), 1);
    QVERIFY(fx.messages[0].text.contains(QStringLiteral("Frequenzen.quorvel")));
    QCOMPARE(fx.messages[0].icon, QMessageBox::Critical);
    QVERIFY(!source->refresh());
    QCOMPARE(source->recordCount(), 0);
    QVERIFY(source->eof());
    // Nothing created or changed the file.
    QCOMPARE(QFile::exists(fx.path(data::kReferenceFile)), !content.isEmpty());
    if (!content.isEmpty()) {
        QFile f(fx.path(data::kReferenceFile));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }
}

void TestRecordSource::badQueryIsReportedNotThrown()
{
    Fixture fx;
    RecordSource source;
    QVERIFY(source.open(data::kReferenceFile));
    source.setQuery(data::Query("prefix"));
    QVERIFY(source.refresh());
    const int count = source.recordCount();
    const QString farRow = source.value(count - 1, 0).toString();
    const std::pair<data::Query, QString> bad[] = {
        {data::Query("gibtsnicht"), "In der Datei Frequenzen.quorvel fehlt die Tabelle „gibtsnicht“."},
        {data::Query("Umbau").whereContains("gibtsnicht", "x"), "Die Abfrage kann nicht ausgeführt werden."},
        {data::Query("Umbau").orderBy("gibtsnicht"), "Die Abfrage kann nicht ausgeführt werden."}};
    for (const auto &[query, message] : bad) {
        source.setQuery(query);
        QVERIFY(!source.refresh());
        QVERIFY2(source.lastError().startsWith(message), qPrintable(source.lastError()));
        // The result shown before stays whole, rows past the first page included.
        QCOMPARE(source.recordCount(), count);
        QCOMPARE(source.value(count - 1, 0).toString(), farRow);
    }
    QVERIFY(!farRow.isEmpty());
    // The reference file is opened read-only: a write fails cleanly and says why.
    source.setEditTable("prefix");
    QVERIFY(source.addNew());
    source.setField("LAND", "Nirgendwo");
    QVERIFY(!source.update());
    QVERIFY(source.lastError().contains(QStringLiteral("schreibgeschützt")));
    source.cancel();
    source.setQuery(data::Query("umbau"));
    QVERIFY(source.refresh());
    QCOMPARE(source.recordCount(), 40);
}

QTEST_MAIN(TestRecordSource)
#include "tst_recordsource.moc"
