// Large logbooks: the logbook's full list and a substring search through the record source
// (exact count plus the first grid page) against the same query run directly through SQLite.
//   bench_logbook [contacts ...]      default: 100000 1000000
#include "data/GridModel.h"
#include "data/RecordSource.h"
#include "data/SqlLike.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr int kRuns = 5;
constexpr int kPageRows = 30; // rows a logbook grid shows at once

const char *const kTowns[] = {"Berlin", "Hamburg", "München", "Köln", "Frankfurt", "Stuttgart", "Düsseldorf",
                              "Leipzig", "Dortmund", "Essen", "Bremen", "Dresden", "Hannover", "Nürnberg",
                              "Duisburg", "Bochum", "Wuppertal", "Bielefeld", "Bonn", "Münster"};

void generate(const QString &file, int contacts)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db, "delete from Kontakt; begin", nullptr, nullptr, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Kontakt (skip, vorname, ort, land, callsign, datum, uhrzeit, lanal, frequenz,"
                       " band, rwert, swert, name, strasse, plz, tel, email, web, bemerkung)"
                       " values (?,?,?,'Deutschland',?,?,'21:45','12','27,105','FM','5','9+30',?,?,?,?,?,?,?)",
                       -1, &stmt, nullptr);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < contacts; ++i) {
        const QByteArray skip = QStringLiteral("Skip%1").arg(next() % 1000000, 6, 10, QChar('0')).toUtf8();
        const QByteArray town = QByteArray(kTowns[next() % 20]) + ' ' + QByteArray::number(next() % 100);
        const QByteArray call = "DC" + QByteArray::number(next() % 10) + "ABC";
        const QByteArray date = QStringLiteral("%1.%2.20%3").arg(1 + next() % 28, 2, 10, QChar('0'))
                                    .arg(1 + next() % 12, 2, 10, QChar('0')).arg(next() % 20, 2, 10, QChar('0')).toUtf8();
        const QByteArray texts[] = {skip, "Hans", town, call, date, "Mustermann", "Hauptstraße 1", "12345",
                                    "0123 456789", "hans@example.org", "www.example.org", "Gute Verbindung, QSL via Büro"};
        for (int c = 0; c < 12; ++c)
            sqlite3_bind_text(stmt, c + 1, texts[c].constData(), int(texts[c].size()), SQLITE_TRANSIENT);
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

// Through the window's data control: exact count and the first page of the grid.
double viaRecordSource(const QString &file, const QString &sql, int *count)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        data::RecordSource source;
        source.open(file, data::RecordSource::Mode::ReadWrite);
        data::GridModel model(&source, {{"Skip", "skip"}, {"QTH", "ort"}, {"Datum", "datum"}});
        QElapsedTimer t;
        t.start();
        source.setRecordSource(sql);
        source.refresh();
        *count = source.recordCount();
        for (int r = 0; r < std::min(kPageRows, model.rowCount()); ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                model.index(r, c).data();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// The same query straight through the C API, stepping to the end (that is what an exact count takes).
double direct(const QString &file, const QString &sql, bool ownLike, int *count)
{
    std::vector<double> times;
    const QByteArray text = sql.toUtf8();
    for (int run = 0; run < kRuns; ++run) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        if (ownLike)
            data::registerLike(db);
        QElapsedTimer t;
        t.start();
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr);
        int n = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            ++n;
        sqlite3_finalize(stmt);
        times.push_back(t.nsecsElapsed() / 1e6);
        *count = n;
        sqlite3_close(db);
    }
    return median(times);
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
    QCoreApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.empty())
        sizes = {100000, 1000000};

    QTemporaryDir dir;
    const QString file = dir.filePath("Frequenzen1.quorvel");
    const QString full = "select * from [Kontakt] order by skip asc";
    const QString search = "select * from [Kontakt] where ort Like '%nchen 4%' order by skip asc";
    std::printf("%-9s %-28s %10s %12s %12s %12s %8s\n", "contacts", "query", "rows", "source ms", "direct ms",
                "builtin ms", "ratio");
    for (int contacts : sizes) {
        QFile::remove(file);
        if (!QFile::copy(QStringLiteral(KW_DATA_DIR "/Frequenzen1.quorvel"), file)) {
            std::fprintf(stderr, "cannot copy the built logbook file\n");
            return 1;
        }
        QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
        generate(file, contacts);
        for (const auto &[name, sql] : {std::pair{"(a) full list by skip", full}, std::pair{"(b) search on ort", search}}) {
            int viaCount = 0, directCount = 0, builtinCount = 0;
            const double via = viaRecordSource(file, sql, &viaCount);
            const double own = direct(file, sql, true, &directCount);
            const double builtin = direct(file, sql, false, &builtinCount);
            if (viaCount != directCount)
                std::fprintf(stderr, "count mismatch: %d against %d\n", viaCount, directCount);
            std::printf("%-9d %-28s %10d %12.1f %12.1f %12.1f %8.2f\n", contacts, name, viaCount, via, own, builtin,
                        via / own);
        }
    }
    std::printf("peak memory of the process: %ld MB\n", peakMemoryMb());
    return 0;
}
