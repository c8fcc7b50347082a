// Large logbooks through the real logbook windows (record source and grid): opening, searches,
// scrolling to the last row and saving one contact, each search against one sequential scan of the
// table with SQLite's built-in LIKE timed in the same run.
//
// The data is the worst a logbook grown over years holds: contacts saved in an order that has
// nothing to do with the list's order, no ANALYZE statistics (a logbook grown one SPEICHERN at a
// time has none; the runs are repeated with them), and hit sets placed by their rank in the list:
// the last 3 %, the first 3 %, only the very last contact, the last half; besides words spread
// evenly over the table, a `_` wildcard and an umlaut in other case.
//   bench_logbook [contacts ...]      default: 100000 1000000
#include "core/data/RecordSource.h"
#include "core/logbook/ListOrder.h"
#include "core/sql/Sqlite.h"
#include "logbook/LogbookWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr int kRuns = 3;
constexpr int kPageRows = 30; // rows a logbook grid shows at once
constexpr int kWords = 50;    // each word of a column's vocabulary stands in about 2 % of the rows

// One search: the option button, the column it searches, the text typed.
struct Search {
    const char *option;
    const char *column;
    const char *text;
    const char *what;
};

struct Book {
    logbook::Book book;
    const char *window;
    const char *orderColumn; // the column whose rank places the hit sets
    std::vector<Search> searches;
};

const Book kBooks[] = {
    {logbook::Book::Local,
     "frm_kontaktverwaltung",
     "skip",
     {{"opt_qth", "ort", "Zielort", "last 3 %"},
      {"opt_qth", "ort", "Anfangsort", "first 3 %"},
      {"opt_qth", "ort", "Schlusslicht", "only the last"},
      {"opt_vorname", "vorname", "Halbzeit", "last half"},
      {"opt_qth", "ort", "Zielor_", "_ wildcard, last 3 %"},
      {"opt_land", "land", "ÖSTERREICH", "umlaut, other case"},
      {"opt_skip", "skip", "Skip-17", "spread"},
      {"opt_kanal", "lanal", "42", "spread"},
      {"opt_frequenz", "frequenz", "27,1", "spread"},
      {"opt_skip", "skip", "%", "everything"},
      {"opt_qth", "ort", "Nirgendwo", "nothing"}}},
    {logbook::Book::Dx,
     "frm_kontaktverwaltungdx",
     "datum",
     {{"opt_qth", "ort", "Zielort", "last 3 %"},
      {"opt_qth", "ort", "Anfangsort", "first 3 %"},
      {"opt_qth", "ort", "Schlusslicht", "only the last"},
      {"opt_vorname", "vorname", "Halbzeit", "last half"},
      {"opt_skip", "callsign", "DC7", "spread"},
      {"opt_datum", "datum", ".2019", "spread"},
      {"opt_land", "land", "ÖSTERREICH", "umlaut, other case"},
      {"opt_qth", "ort", "%", "everything"}}},
};

const char *const kLands[] = {"Deutschland", "Österreich", "Schweiz", "Italien",  "Frankreich",
                              "Dänemark",    "Schweden",   "Türkei",  "Rumänien", "Lübeck"};

void exec(sql::Database &db, const QString &sql)
{
    if (db.exec(sql) != SQLITE_OK)
        std::fprintf(stderr, "SQL failed: %s\n", qPrintable(db.engineText()));
}

// Contacts saved in random order, then the hit sets placed by rank in the list's order.
void generate(const QString &file, int contacts, const Book &book)
{
    sql::Database db;
    db.open(file, sql::Database::Access::ReadWrite);
    const QString table = logbook::tableOf(book.book);
    const data::Query::Order order = logbook::listOrder(book.book);
    // As a file of an earlier version: without the list's index, which the first opening builds.
    exec(db, QStringLiteral("drop index if exists %1").arg(data::quotedName(order.index)));
    exec(db, QStringLiteral("delete from %1; begin").arg(table));
    sql::Statement insert =
        db.prepare(QStringLiteral("insert into %1 (skip, vorname, ort, lanal, frequenz, land, callsign, datum, "
                                  "uhrzeit, band, rwert, swert, name, strasse, plz, tel, email, web, bemerkung) "
                                  "values (?,?,?,?,?,?,?,?,'21:45','FM','5','9+30','Mustermann','Hauptstraße 1',"
                                  "'12345','0123 456789','hans@example.org','www.example.org','Gute Verbindung, "
                                  "QSL via Büro')")
                       .arg(table));
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < contacts; ++i) {
        const QByteArray values[] = {
            "Skip-" + QByteArray::number(next() % 1000) + ' ' + QByteArray::number(next() % 1000),
            "Name-" + QByteArray::number(100 + next() % kWords),
            "Ort-" + QByteArray::number(100 + next() % kWords),
            QByteArray::number(1 + next() % 80),
            QByteArray::number(26565 + 10 * (next() % 85)).insert(2, ','),
            kLands[next() % std::size(kLands)],
            "DC" + QByteArray::number(next() % 10) + "ABC",
            QStringLiteral("%1.%2.20%3")
                .arg(1 + next() % 28, 2, 10, QChar('0'))
                .arg(1 + next() % 12, 2, 10, QChar('0'))
                .arg(next() % 20, 2, 10, QChar('0'))
                .toUtf8(),
        };
        for (int c = 0; c < 8; ++c)
            insert.bind(c + 1, QString::fromUtf8(values[c]));
        insert.run();
        insert.reset();
    }
    exec(db, QStringLiteral("commit"));
    // The hit sets by rank in the list's order.
    QStringList terms{order.key};
    for (const QString &c : order.columns)
        terms << data::quotedName(c);
    const QString ranked = QStringLiteral("select rowid from %1 order by %2, rowid").arg(table, terms.join(','));
    const QString descending = QStringLiteral("select rowid from %1 order by %2 desc, rowid desc")
                                   .arg(table, terms.join(QStringLiteral(" desc,")));
    const int share = contacts * 33 / 1000;
    exec(db, QStringLiteral("begin;"
                            "update %1 set ort = 'Zielort' where rowid in (%2 limit %3);"
                            "update %1 set ort = 'Anfangsort' where rowid in (%4 limit %3);"
                            "update %1 set ort = 'Schlusslicht' where rowid in (%2 limit 1);"
                            "update %1 set vorname = 'Halbzeit' where rowid in (%2 limit %5);"
                            "commit")
                 .arg(table, descending)
                 .arg(share)
                 .arg(ranked)
                 .arg(contacts / 2));
    exec(db, QStringLiteral("drop table if exists sqlite_stat1"));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double timeMs(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// The user's click on a button of the window.
void click(QWidget *window, const char *button)
{
    window->findChild<QPushButton *>(QString::fromUtf8(button))->click();
}

// The rows the grid shows from its top row down, read as painting reads them.
void readPage(QTableView *grid, int top)
{
    const auto *model = grid->model();
    for (int r = top; r < std::min(top + kPageRows, model->rowCount()); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->index(r, c).data();
}

// One sequential scan of the table with SQLite's own LIKE: the yardstick for a search.
double scanMs(const sql::Database &builtIn, const QString &table, const char *column, const QString &text, int *count)
{
    const QString sql =
        QStringLiteral("select count(*) from %1 not indexed where %2 like ?").arg(table, QString::fromLatin1(column));
    const QString pattern = '%' + text + '%';
    return timeMs([&] {
        sql::Statement scan = builtIn.prepare(sql);
        if (scan.bind(1, pattern).next())
            *count = int(scan.integer(0));
    });
}

long peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Every search of the book, timed from the click until the first page of the grid is read.
double searches(const Book &book, logbook::LogbookWindow *window, const sql::Database &builtIn)
{
    auto *grid = window->findChild<QTableView *>("DataGrid1");
    auto *box = window->findChild<QLineEdit *>("txt_suchbegriff");
    double worst = 0;
    for (const Search &s : book.searches) {
        window->findChild<QRadioButton *>(QString::fromLatin1(s.option))->setChecked(true);
        const QString text = QString::fromUtf8(s.text);
        std::vector<double> times, scans;
        int hits = 0, scanned = 0;
        for (int run = 0; run < kRuns; ++run) {
            box->setText(text);
            times.push_back(timeMs([&] {
                click(window, "cmd_suchen");
                readPage(grid, 0);
            }));
            hits = window->dataControl()->recordCount();
            scans.push_back(scanMs(builtIn, logbook::tableOf(book.book), s.column, text, &scanned));
        }
        const double ratio = median(times) / median(scans);
        worst = std::max(worst, ratio);
        const bool noHit = scanned == 0; // the window shows the full list after telling so
        std::printf("  %-9s %s %-20s %8d %9.1f %9.1f %6.2f%s\n", s.column, qPrintable(text.leftJustified(12)), s.what,
                    noHit ? 0 : hits, median(times), median(scans), ratio,
                    noHit || hits == scanned ? "" : "  (count differs from the scan!)");
    }
    return worst;
}

void scrollAndSave(logbook::LogbookWindow *window)
{
    auto *grid = window->findChild<QTableView *>("DataGrid1");
    std::vector<double> ends, saves;
    for (int run = 0; run < kRuns; ++run) {
        click(window, "cmd_alle");
        readPage(grid, 0);
        ends.push_back(timeMs([&] {
            grid->scrollToBottom();
            readPage(grid, std::max(0, grid->model()->rowCount() - kPageRows));
        }));
    }
    for (int run = 0; run < kRuns; ++run) {
        click(window, "cmd_neu");
        window->findChild<QLineEdit *>("txt_skip")->setText(QStringLiteral("Neu %1").arg(run));
        window->findChild<QLineEdit *>("txt_ort")->setText(QStringLiteral("Gießen"));
        saves.push_back(timeMs([&] { click(window, "cmd_speichern"); }));
    }
    std::printf("  scroll to the last row: %.1f   SPEICHERN of one contact: %.1f\n", median(ends), median(saves));
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {100000, 1000000};
    seams::Overrides stage;
    stage.replace(seams::screen, [] { return QSize(1280, 1024); });
    stage.replace(seams::messageBox, [](QWidget *, const seams::MessageRecord &r) {
        if (!r.text.contains(QStringLiteral("konnte nicht gefunden werden")))
            std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
    });

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString file = dir.filePath("Frequenzen1.quorvel");
    shell::MainWindow frame;
    auto &registry = shell::WindowRegistry::instance();
    double worst = 0;

    for (int contacts : sizes) {
        double worstHere = 0;
        for (const Book &book : kBooks) {
            QFile::remove(file);
            if (!QFile::copy(QStringLiteral(KW_DATA_DIR "/Frequenzen1.quorvel"), file)) {
                std::fprintf(stderr, "cannot copy the built logbook file\n");
                return 1;
            }
            QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
            QElapsedTimer made;
            made.start();
            generate(file, contacts, book);
            const QString name = QString::fromLatin1(book.window);
            // The first opening of a file from an earlier version builds the list's index.
            const double first = timeMs([&] { registry.show(name); });
            registry.close(name);
            std::printf("\n%s, %d contacts (generated in %.1f s), median of %d runs, ms\n", book.window, contacts,
                        made.elapsed() / 1000.0, kRuns);
            std::printf("  first opening, building the index: %.0f\n", first);
            for (const bool statistics : {false, true}) {
                sql::Database builtIn; // SQLite's own LIKE: the wrapper registers no function
                builtIn.open(file, sql::Database::Access::ReadWrite);
                exec(builtIn,
                     statistics ? QStringLiteral("analyze") : QStringLiteral("drop table if exists sqlite_stat1"));
                std::vector<double> opens;
                for (int run = 0; run < kRuns; ++run) {
                    registry.close(name);
                    opens.push_back(
                        timeMs([&] { readPage(registry.show(name)->findChild<QTableView *>("DataGrid1"), 0); }));
                }
                auto *window = static_cast<logbook::LogbookWindow *>(registry.window(name));
                std::printf(" %s statistics: open (full list, count %d, first page): %.1f\n",
                            statistics ? "with" : "without", window->dataControl()->recordCount(), median(opens));
                std::printf("  %-9s %-12s %-20s %8s %9s %9s %6s\n", "column", "text", "hit set", "hits", "search",
                            "scan", "ratio");
                const double w = searches(book, window, builtIn);
                worstHere = std::max(worstHere, w);
                worst = std::max(worst, w);
                builtIn.close();
                if (statistics)
                    scrollAndSave(window);
                registry.close(name);
            }
        }
        std::printf("\nworst search/scan ratio at %d contacts: %.2f\n", contacts, worstHere);
    }
    std::printf("\npeak memory of the process: %ld MB\n", peakMemoryMb());
    std::printf("search/scan worst ratio: %.2f\n", worst);
    return 0;
}
