// Town search in the shipped locator table and in one grown to 100,000 rows: the frm_locator
// window against the same query run straight through SQLite, with this program's like() and
// with SQLite's own LIKE. Prints medians in milliseconds; asserts nothing.
#include "core/data/RecordSource.h"
#include "core/data/SqlLike.h"
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
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(file).constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt *count = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from locator", -1, &count, nullptr);
    sqlite3_step(count);
    const int have = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "insert into locator values (?,?,?,?,?)", -1, &insert, nullptr);
    for (int i = have; i < kRows; ++i) {
        const QByteArray locator = QStringLiteral("J%1%2%3%4%5")
                                       .arg(QChar('A' + i % 18))
                                       .arg(i / 18 % 10)
                                       .arg(i / 180 % 10)
                                       .arg(QChar('A' + i / 1800 % 24))
                                       .arg(QChar('A' + i / 43200 % 24))
                                       .toUtf8();
        const QByteArray town =
            (i % 500 == 0 ? QStringLiteral("Neu-Berlin %1") : QStringLiteral("Gemeinde Nr. %1")).arg(i).toUtf8();
        sqlite3_bind_text(insert, 1, locator.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, "Bundesland Süd", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, town.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, "Landkreis Übungsdorf", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, "DL", -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool ok = sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The query straight through SQLite: prepare, step to the end, count.
int runDirect(sqlite3 *db, const QByteArray &sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return -1;
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        ++rows;
    sqlite3_finalize(stmt);
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

    sqlite3 *withLike = nullptr, *builtIn = nullptr;
    sqlite3_open_v2("Frequenzen.quorvel", &withLike, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open_v2("Frequenzen.quorvel", &builtIn, SQLITE_OPEN_READONLY, nullptr);
    data::registerLike(withLike);

    std::printf("frm_locator, %s, median of %d runs, milliseconds\n", qPrintable(label), kRuns);
    std::printf("open window (whole table, count, caption): %.1f  [%s]\n\n", openMs, qPrintable(window->windowTitle()));
    std::printf("%-12s %8s %10s %12s %12s %12s\n", "town text", "rows", "window", "RecordSrc", "sqlite+like()",
                "sqlite LIKE");
    for (const QString &text :
         {QStringLiteral("berlin"), QStringLiteral("xyz"), QStringLiteral("%"), QStringLiteral("münchen")}) {
        const data::Query query = lookup::LocatorWindow::townQuery(text);
        const QString sql = query.text();
        const QByteArray utf8 = sql.toUtf8();
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
        const double directMs = timeMs([&] { direct = runDirect(withLike, utf8); });
        const double builtInMs = timeMs([&] { builtInRows = runDirect(builtIn, utf8); });
        std::printf("%-12s %8d %10.1f %12.1f %12.1f %12.1f", qPrintable(text), rows, windowMs, sourceMs, directMs,
                    builtInMs);
        if (direct != rows || builtInRows != rows)
            std::printf("   (rows: like() %d, LIKE %d)", direct, builtInRows);
        std::printf("\n");
    }
    std::printf("\n");
    sqlite3_close(withLike);
    sqlite3_close(builtIn);
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
