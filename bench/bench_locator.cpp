// Town search in the shipped locator table and in one grown to 100,000 rows: the frm_locator
// window against the same query run straight through SQLite, with this program's like() and
// with SQLite's own LIKE. Prints medians in milliseconds; asserts nothing.
#include "core/data/RecordSource.h"
#include "core/data/SqlLike.h"
#include "core/sql/Sqlite.h"
#include "lookup/LocatorWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {
constexpr int kRows = 100000;
constexpr int kRuns = 7;
constexpr int kPage = 30; // rows a grid page shows

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeMs(const std::function<void()> &work)
{
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        runs.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(runs);
}

// Fills the table up to kRows with generated towns; every 500th is a "Neu-Berlin".
bool grow(const QString &file)
{
    sql::Database db;
    if (db.open(file, sql::Database::Access::ReadWrite) != SQLITE_OK || db.exec(QStringLiteral("begin")) != SQLITE_OK)
        return false;
    QStringList count;
    db.column(QStringLiteral("select count(*) from locator"), &count);
    sql::Statement insert = db.prepare(QStringLiteral("insert into locator values (?,?,?,?,?)"));
    for (int i = count.value(0).toInt(); i < kRows; ++i) {
        const QString locator = QStringLiteral("J%1%2%3%4%5")
                                    .arg(QChar('A' + i % 18))
                                    .arg(i / 18 % 10)
                                    .arg(i / 180 % 10)
                                    .arg(QChar('A' + i / 1800 % 24))
                                    .arg(QChar('A' + i / 43200 % 24));
        const QString town =
            (i % 500 == 0 ? QStringLiteral("Neu-Berlin %1") : QStringLiteral("Gemeinde Nr. %1")).arg(i);
        insert.bind(1, locator).bind(2, QStringLiteral("Bundesland Süd")).bind(3, town);
        insert.bind(4, QStringLiteral("Landkreis Übungsdorf")).bind(5, QStringLiteral("DL")).run();
        insert.reset();
    }
    return db.exec(QStringLiteral("commit")) == SQLITE_OK;
}

// The query straight through SQLite: prepare, step to the end, count.
int runDirect(const sql::Database &db, const data::Query &search)
{
    sql::Statement query = db.prepare(search.engineSql());
    if (!query.ok())
        return -1;
    query.bind(1, search.filter()->pattern);
    int rows = 0;
    while (query.next())
        ++rows;
    return rows;
}

// What the user waits for: the click runs the query to an exact count, then a page is drawn.
void readFirstPage(QTableView *grid)
{
    QAbstractItemModel *model = grid->model();
    const int rows = std::min(kPage, model->rowCount());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->index(r, c).data();
}

// Opens frm_locator on the table as it stands and times its load and four town searches.
void measure(const QString &label)
{
    auto &registry = shell::WindowRegistry::instance();
    const double openMs = timeMs([&] {
        registry.close(QStringLiteral("frm_locator"));
        registry.show(QStringLiteral("frm_locator"));
    });
    QWidget *window = registry.window(QStringLiteral("frm_locator"));
    auto *town = window->findChild<QLineEdit *>(QStringLiteral("txt_stadt"));
    auto *search = window->findChild<QPushButton *>(QStringLiteral("cmd_Stadt"));
    auto *grid = window->findChild<QTableView *>(QStringLiteral("DataGrid1"));
    auto *source = window->findChild<data::RecordSource *>(QStringLiteral("Adodc1"));

    sql::Database withLike, builtIn; // builtIn keeps SQLite's own LIKE: the wrapper registers no function
    withLike.open(QStringLiteral("Frequenzen.quorvel"), sql::Database::Access::ReadOnly);
    builtIn.open(QStringLiteral("Frequenzen.quorvel"), sql::Database::Access::ReadOnly);
    data::registerLike(withLike.handle());

    std::printf("frm_locator, %s, median of %d runs, milliseconds\n", qPrintable(label), kRuns);
    std::printf("open window (whole table, count, caption): %.1f  [%s]\n\n", openMs, qPrintable(window->windowTitle()));
    std::printf("%-12s %8s %10s %12s %12s %12s\n", "town text", "rows", "window", "RecordSrc", "sqlite+like()",
                "sqlite LIKE");
    for (const QString &text :
         {QStringLiteral("berlin"), QStringLiteral("xyz"), QStringLiteral("%"), QStringLiteral("münchen")}) {
        // The town search of the window, run straight through SQLite as well.
        const data::Query query = data::Query(QStringLiteral("locator")).whereContains(QStringLiteral("Stadt"), text);
        town->setText(text);
        const double windowMs = timeMs([&] {
            search->click();
            readFirstPage(grid);
        });
        const int rows = source->recordCount();
        data::RecordSource plain;
        plain.open(QStringLiteral("Frequenzen.quorvel"));
        plain.setQuery(query);
        const double sourceMs = timeMs([&] { plain.refresh(); });
        int direct = 0, builtInRows = 0;
        const double directMs = timeMs([&] { direct = runDirect(withLike, query); });
        const double builtInMs = timeMs([&] { builtInRows = runDirect(builtIn, query); });
        std::printf("%-12s %8d %10.1f %12.1f %12.1f %12.1f", qPrintable(text), rows, windowMs, sourceMs, directMs,
                    builtInMs);
        if (direct != rows || builtInRows != rows)
            std::printf("   (rows: like() %d, LIKE %d)", direct, builtInRows);
        std::printf("\n");
    }
    std::printf("\n");
    registry.close(QStringLiteral("frm_locator"));
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    seams::Overrides stage;
    stage.replace(seams::messageBox, [](QWidget *, const seams::MessageRecord &m) {
        std::fprintf(stderr, "Meldung: %s\n", qPrintable(m.text));
    });
    stage.replace(seams::screen, [] { return QSize(1280, 1024); });

    QTemporaryDir dir;
    for (const char *name : {"Frequenzen.quorvel", "Frequenzen1.quorvel"}) {
        const QString target = dir.filePath(QString::fromLatin1(name));
        QFile::copy(QDir(QStringLiteral(KW_DATA_DIR)).filePath(QString::fromLatin1(name)), target);
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    QDir::setCurrent(dir.path());

    shell::MainWindow main;
    measure(QStringLiteral("shipped table"));
    if (!grow(dir.filePath(QStringLiteral("Frequenzen.quorvel")))) {
        std::fprintf(stderr, "cannot grow the locator table\n");
        return 1;
    }
    measure(QStringLiteral("grown table"));
    return 0;
}
