// Large logbooks through the real local logbook window (record source and grid): opening, a search on
// each searchable column, scrolling to the last row and saving one contact, against one sequential
// scan of the table with SQLite's built-in LIKE timed in the same run.
//   bench_logbook [contacts ...]      default: 100000 1000000
#include "core/data/RecordSource.h"
#include "logbook/LogbookWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr int kRuns = 5;
constexpr int kPageRows = 30; // rows a logbook grid shows at once
constexpr int kWords = 50;    // each word of a column's vocabulary stands in about 2 % of the rows

// Per searchable column: 50 words none of which contains another, and one value planted in a
// single row. The search texts are that value (about one hit), the first word (about 2 %) and %.
struct Column {
    const char *name;
    const char *option;
    std::vector<QByteArray> words;
    QByteArray planted;
};

std::vector<QByteArray> numbered(const char *stem, int first)
{
    std::vector<QByteArray> words;
    for (int i = 0; i < kWords; ++i)
        words.push_back(QByteArray(stem) + QByteArray::number(first + i));
    return words;
}

std::vector<Column> columns()
{
    std::vector<QByteArray> towns, lands, channels, frequencies;
    for (const char *t :
         {"München",   "Köln",    "Düsseldorf", "Nürnberg", "Lübeck",   "Göttingen",  "Würzburg",  "Saarbrücken",
          "Osnabrück", "Gießen",  "Bremen",     "Hamburg",  "Dresden",  "Leipzig",    "Hannover",  "Kassel",
          "Erfurt",    "Jena",    "Rostock",    "Kiel",     "Mainz",    "Trier",      "Bonn",      "Aachen",
          "Krefeld",   "Bochum",  "Dortmund",   "Essen",    "Duisburg", "Wuppertal",  "Bielefeld", "Paderborn",
          "Magdeburg", "Potsdam", "Cottbus",    "Zwickau",  "Chemnitz", "Plauen",     "Gera",      "Weimar",
          "Fulda",     "Marburg", "Siegen",     "Hagen",    "Passau",   "Regensburg", "Augsburg",  "Ulm",
          "Freiburg",  "Konstanz"})
        towns.push_back(t);
    for (const char *l :
         {"Deutschland", "Österreich",    "Schweiz",      "Italien",   "Frankreich", "Spanien",    "Portugal",
          "Belgien",     "Holland",       "Luxemburg",    "Dänemark",  "Schweden",   "Norwegen",   "Finnland",
          "Polen",       "Tschechien",    "Slowakei",     "Ungarn",    "Slowenien",  "Kroatien",   "Serbien",
          "Bulgarien",   "Rumänien",      "Griechenland", "Türkei",    "Zypern",     "Malta",      "England",
          "Schottland",  "Wales",         "Island",       "Estland",   "Lettland",   "Litauen",    "Russland",
          "Ukraine",     "Moldau",        "Albanien",     "Bosnien",   "Montenegro", "Kosovo",     "Andorra",
          "Monaco",      "Liechtenstein", "Kanada",       "Brasilien", "Japan",      "Australien", "Marokko",
          "Tunesien"})
        lands.push_back(l);
    for (int i = 0; i < kWords; ++i) {
        channels.push_back(QByteArray::number(30 + i)); // 30..79: two digits, none inside another
        frequencies.push_back(QByteArray::number(26565 + 10 * i).insert(2, ','));
    }
    return {
        {"skip", "opt_skip", numbered("Skip-", 100), "Quirinus"},
        {"vorname", "opt_vorname", numbered("Name-", 100), "Xaveria"},
        {"ort", "opt_qth", towns, "Wolkenkuckucksheim"},
        {"lanal", "opt_kanal", channels, "99"},
        {"frequenz", "opt_frequenz", frequencies, "29,999"},
        {"land", "opt_land", lands, "Tuvalu"},
    };
}

void generate(const QString &file, int contacts, const std::vector<Column> &cols)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db, "delete from Kontakt; begin", nullptr, nullptr, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Kontakt (skip, vorname, ort, lanal, frequenz, land, callsign, datum, uhrzeit,"
                       " band, rwert, swert, name, strasse, plz, tel, email, web, bemerkung)"
                       " values (?,?,?,?,?,?,?,?,'21:45','FM','5','9+30','Mustermann','Hauptstraße 1','12345',"
                       "'0123 456789','hans@example.org','www.example.org','Gute Verbindung, QSL via Büro')",
                       -1, &stmt, nullptr);
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    const int planted = contacts / 3;
    for (int i = 0; i < contacts; ++i) {
        // The planted values sit in one row; the skip texts also carry a number, as names do.
        for (size_t c = 0; c < cols.size(); ++c) {
            QByteArray v = i == planted ? cols[c].planted : cols[c].words[next() % kWords];
            if (c == 0 && i != planted)
                v += ' ' + QByteArray::number(next() % 1000);
            sqlite3_bind_text(stmt, int(c) + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        }
        const QByteArray call = "DC" + QByteArray::number(next() % 10) + "ABC";
        const QByteArray date = QStringLiteral("%1.%2.20%3")
                                    .arg(1 + next() % 28, 2, 10, QChar('0'))
                                    .arg(1 + next() % 12, 2, 10, QChar('0'))
                                    .arg(next() % 20, 2, 10, QChar('0'))
                                    .toUtf8();
        sqlite3_bind_text(stmt, 7, call.constData(), int(call.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 8, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "commit; analyze", nullptr, nullptr, nullptr);
    sqlite3_close(db);
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

// The rows the grid shows from its top row down, read as painting reads them.
void readPage(QTableView *grid, int top)
{
    const auto *model = grid->model();
    for (int r = top; r < std::min(top + kPageRows, model->rowCount()); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->index(r, c).data();
}

// One sequential scan of the table with SQLite's own LIKE: the yardstick for a search.
double scanMs(sqlite3 *builtIn, const char *column, const QString &text, int *count)
{
    const QByteArray sql = QStringLiteral("select count(*) from Kontakt not indexed where %1 like '%%2%'")
                               .arg(QString::fromLatin1(column), text)
                               .toUtf8();
    return timeMs([&] {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(builtIn, sql.constData(), -1, &stmt, nullptr);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            *count = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
    });
}

// The user's click on a button of the window.
void click(QWidget *window, const char *button)
{
    window->findChild<QPushButton *>(QString::fromUtf8(button))->click();
}

long peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
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
        std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
    });

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString file = dir.filePath("Frequenzen1.quorvel");
    const std::vector<Column> cols = columns();
    shell::MainWindow frame;
    auto &registry = shell::WindowRegistry::instance();
    const QString name = QStringLiteral("frm_kontaktverwaltung");
    double worst = 0;

    for (int contacts : sizes) {
        QFile::remove(file);
        if (!QFile::copy(QStringLiteral(KW_DATA_DIR "/Frequenzen1.quorvel"), file)) {
            std::fprintf(stderr, "cannot copy the built logbook file\n");
            return 1;
        }
        QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
        double worstHere = 0;
        QElapsedTimer made;
        made.start();
        generate(file, contacts, cols);
        std::printf("\n%d contacts (generated in %.1f s), median of %d runs, ms\n", contacts, made.elapsed() / 1000.0,
                    kRuns);

        // Opening: the full list, the exact count, the first grid page.
        std::vector<double> opens;
        for (int run = 0; run < kRuns; ++run) {
            registry.close(name);
            opens.push_back(timeMs([&] { readPage(registry.show(name)->findChild<QTableView *>("DataGrid1"), 0); }));
        }
        auto *window = static_cast<logbook::LogbookWindow *>(registry.window(name));
        auto *grid = window->findChild<QTableView *>("DataGrid1");
        auto *box = window->findChild<QLineEdit *>("txt_suchbegriff");
        std::printf("open window (full list, count %d, first page): %.1f\n", window->dataControl()->recordCount(),
                    median(opens));

        sqlite3 *builtIn = nullptr;
        sqlite3_open_v2(QFile::encodeName(file).constData(), &builtIn, SQLITE_OPEN_READONLY, nullptr);
        std::printf("%-9s %-20s %9s %10s %10s %7s\n", "column", "text", "hits", "search", "scan", "ratio");
        for (const Column &c : cols) {
            window->findChild<QRadioButton *>(QString::fromLatin1(c.option))->setChecked(true);
            for (const QString &text :
                 {QString::fromUtf8(c.planted), QString::fromUtf8(c.words[0]), QStringLiteral("%")}) {
                std::vector<double> searches, scans;
                int hits = 0, scanned = 0;
                for (int run = 0; run < kRuns; ++run) {
                    box->setText(text);
                    searches.push_back(timeMs([&] {
                        click(window, "cmd_suchen");
                        readPage(grid, 0);
                    }));
                    hits = window->dataControl()->recordCount();
                    scans.push_back(scanMs(builtIn, c.name, text, &scanned));
                }
                const double ratio = median(searches) / median(scans);
                worst = std::max(worst, ratio);
                worstHere = std::max(worstHere, ratio);
                std::printf("%-9s %-20s %9d %10.1f %10.1f %7.2f%s\n", c.name, qPrintable(text), hits, median(searches),
                            median(scans), ratio, hits == scanned ? "" : "  (count differs from the scan!)");
            }
        }
        sqlite3_close(builtIn);
        std::printf("worst ratio at %d contacts: %.2f\n", contacts, worstHere);

        // Scrolling to the last row of the full list, and back to the top.
        click(window, "cmd_alle");
        std::vector<double> ends;
        for (int run = 0; run < kRuns; ++run) {
            click(window, "cmd_alle");
            readPage(grid, 0);
            ends.push_back(timeMs([&] {
                grid->scrollToBottom();
                readPage(grid, std::max(0, grid->model()->rowCount() - kPageRows));
            }));
        }
        std::printf("scroll to the last row: %.1f\n", median(ends));

        // SPEICHERN of one new contact, disk sync included.
        std::vector<double> saves;
        for (int run = 0; run < kRuns; ++run) {
            click(window, "cmd_neu");
            window->findChild<QLineEdit *>("txt_skip")->setText(QStringLiteral("Neu %1").arg(run));
            window->findChild<QLineEdit *>("txt_ort")->setText(QStringLiteral("Gießen"));
            saves.push_back(timeMs([&] { click(window, "cmd_speichern"); }));
        }
        std::printf("SPEICHERN of one contact: %.1f  (count now %d)\n", median(saves),
                    window->dataControl()->recordCount());
        registry.close(name);
    }
    std::printf("\npeak memory of the process: %ld MB\n", peakMemoryMb());
    std::printf("search/scan worst ratio: %.2f\n", worst);
    return 0;
}
