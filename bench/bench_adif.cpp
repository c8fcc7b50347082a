// ADIF exchange at the sizes real logbooks reach: export of a large logbook, import of a large
// file (umlauts, long remarks, half of it already in the logbook) into it, and files that are
// no logbook at all. Time and peak memory (VmHWM, reset before each step) of every step.
//   bench_adif [contacts] [records] [--no-huge]      default: 1000000 100000
//   bench_adif --export FILE      exports the local logbook of the logbook file FILE (a copy of a
//                                 real logbook: contacts as users type them) to ADI and ADX
#include "core/exchange/LogbookExchange.h"
#include "core/logbook/ListOrder.h"
#include "core/sql/Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using logbook::Book;

namespace {

long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
double g_cpuAtStart = 0;

void startStep(QElapsedTimer *timer)
{
    resetPeak();
    g_cpuAtStart = cpuSeconds();
    timer->restart();
}

// Wall time, processor time (the machine is shared: the wall clock also counts others' work) and
// peak memory of the step.
void report(const char *step, const QElapsedTimer &timer, const QString &note = {})
{
    std::printf("%-46s %7.2f s wall %7.2f s cpu %5ld MB  %s\n", step, timer.elapsed() / 1000.0,
                cpuSeconds() - g_cpuAtStart, peakKb() / 1024, qPrintable(note));
    std::fflush(stdout);
}

const char *const kTowns[] = {"München", "Köln", "Düsseldorf", "Gießen", "Saarbrücken", "Lübeck", "Würzburg", "Jena"};
const char *const kNames[] = {"Jörg", "Müßig", "Anne-Käthe", "Zoë", "Björn", "Ülkü", "Ærø", "Hans"};

QString remarkOf(qint64 i)
{
    QString r = QStringLiteral("Grüße aus %1, QSL über Büro. ").arg(QString::fromUtf8(kTowns[i % 8]));
    if (i % 10 == 0) // every tenth contact has a long remark of several lines
        for (int k = 0; k < 12; ++k)
            r += QStringLiteral("Zeile %1: Antenne Ground-Plane, Wetter schön, Verbindung über %2 km.\n")
                     .arg(k)
                     .arg(i % 977);
    return r;
}

// The contacts a logbook of `count` holds: every column filled, umlauts everywhere, saved in an
// order that has nothing to do with the list's (as a logbook grown over years is), so that the
// export reads them from all over the file.
bool fillLogbook(const QString &file, qint64 count)
{
    sql::Database db;
    if (db.open(file, sql::Database::Access::ReadWrite) != 0)
        return false;
    db.exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN"));
    sql::Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO Kontakt (skip, vorname, ort, land, callsign, datum, uhrzeit, lanal, frequenz, band, rwert, swert, "
        "name, strasse, plz, tel, email, web, bemerkung) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,"
        "?16,?17,?18,?19)"));
    for (qint64 n = 0; n < count; ++n) {
        const qint64 i = qint64((quint64(n) * 2654435761u) % quint64(count)); // every i once, scattered
        const QDate day = QDate(2000, 1, 1).addDays(i % 9000);
        const int channel = int(i % 80) + 1;
        insert.reset();
        insert.bind(1, QStringLiteral("Funkfreund %1 %2").arg(QString::fromUtf8(kNames[i % 8])).arg(i));
        insert.bind(2, QString::fromUtf8(kNames[(i / 8) % 8]));
        insert.bind(3, QString::fromUtf8(kTowns[i % 8]));
        insert.bind(4, QStringLiteral("Österreich"));
        insert.bind(5, QStringLiteral("DL%1ÄB").arg(i));
        insert.bind(6, day.toString(QStringLiteral("dd.MM.yyyy")));
        insert.bind(7, QTime(int(i % 24), int(i % 60)).toString(QStringLiteral("HH:mm")));
        insert.bind(8, QString::number(channel));
        insert.bind(9, i % 3 ? QStringLiteral("27,%1").arg(5 + 10 * (i % 40), 3, 10, QChar(u'0')) : QString());
        insert.bind(10, i % 2 ? QStringLiteral("FM") : QStringLiteral("usb"));
        insert.bind(11, QStringLiteral("5"));
        insert.bind(12, QStringLiteral("9+30"));
        insert.bind(13, QStringLiteral("Schäfer"));
        insert.bind(14, QStringLiteral("Hauptstraße %1").arg(i % 200));
        insert.bind(15, QStringLiteral("80331"));
        insert.bind(16, QStringLiteral("089 %1").arg(i));
        insert.bind(17, QStringLiteral("jörg%1@example.org").arg(i));
        insert.bind(18, QStringLiteral("www.example.org"));
        insert.bind(19, remarkOf(i));
        if (insert.run() != 101)
            return false;
    }
    return db.exec(QStringLiteral("COMMIT")) == 0 && db.exec(logbook::indexSql(Book::Local)) == 0;
}

exchange::ExportResult exportLog(const QString &logbook, const QString &target)
{
    exchange::ExportRequest r;
    r.logbookFile = logbook;
    r.book = Book::Local;
    r.target = target;
    r.header.programVersion = QStringLiteral("bench");
    r.header.created = QDateTime::currentDateTimeUtc();
    return exchange::exportLogbook(r, [](qint64, qint64) { return true; });
}

// `records` records of which every second one is a contact of the logbook (in UTC, as another
// program would write it) and the others are new.
void writeImportFile(const QString &file, qint64 records)
{
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    QByteArray buffer;
    auto field = [&](const char *name, const QString &value) {
        const QByteArray v = value.toUtf8();
        buffer += '<' + QByteArray(name) + ':' + QByteArray::number(v.size()) + '>' + v + ' ';
    };
    buffer += "Bench\n<EOH>\n";
    for (qint64 n = 0; n < records; ++n) {
        const qint64 i = n % 2 ? n * 7 : 10'000'000 + n; // existing contact, or a new one
        const QDate day = QDate(2000, 1, 1).addDays(i % 9000);
        const QDateTime utc = QDateTime(day, QTime(int(i % 24), int(i % 60)), Qt::LocalTime).toUTC();
        field("CALL", QStringLiteral("DL%1ÄB").arg(i));
        field("QSO_DATE", utc.date().toString(QStringLiteral("yyyyMMdd")));
        field("TIME_ON", utc.time().toString(QStringLiteral("HHmm")));
        if (i % 3)
            field("FREQ", QStringLiteral("27.%1").arg(5 + 10 * (i % 40), 3, 10, QChar(u'0')));
        field("MODE", QStringLiteral("FM"));
        field("NAME", QString::fromUtf8(kNames[i % 8]));
        field("QTH", QString::fromUtf8(kTowns[i % 8]));
        field("NOTES", remarkOf(i).replace(u'\n', QStringLiteral("\r\n")));
        buffer += "<EOR>\n";
        if (buffer.size() > (1 << 20)) {
            out.write(buffer);
            buffer.clear();
        }
    }
    out.write(buffer);
}

exchange::ImportResult importLog(const QString &logbook, const QString &file)
{
    return exchange::importIntoLogbook({logbook, Book::Local, file}, [](qint64, qint64) { return true; });
}

} // namespace

// Both exports of a logbook that is there already.
int exportOnly(const QString &file)
{
    QTemporaryDir dir;
    QElapsedTimer t;
    for (const char *name : {"export.adi", "export.adx"}) {
        const QString target = dir.filePath(QString::fromLatin1(name));
        startStep(&t);
        const auto r = exportLog(file, target);
        report(qPrintable(QStringLiteral("export %1 to %2").arg(QFileInfo(file).fileName(), QString::fromLatin1(name))),
               t, r.ok() ? QStringLiteral("%1 written, %2 MB").arg(r.written).arg(QFileInfo(target).size() >> 20)
                         : r.error);
    }
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--export")
        return exportOnly(QString::fromLocal8Bit(argv[2]));
    const qint64 contacts = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1'000'000;
    const qint64 records = argc > 2 ? QByteArray(argv[2]).toLongLong() : 100'000;
    QTemporaryDir dir;
    const QString logbook = dir.filePath(QStringLiteral("Frequenzen1.quorvel"));
    QFile::copy(QStringLiteral(KW_DATA_DIR "/Frequenzen1.quorvel"), logbook);
    QFile::setPermissions(logbook, QFile::permissions(logbook) | QFile::WriteOwner);
    std::printf("bench_adif: %lld contacts in the logbook, %lld records to import (TZ=%s)\n", contacts, records,
                qgetenv("TZ").constData());
    QElapsedTimer t;
    startStep(&t);
    if (!fillLogbook(logbook, contacts)) {
        std::printf("cannot fill the logbook\n");
        return 1;
    }
    report("filling the logbook (setup)", t);

    for (const char *name : {"export.adi", "export.adx"}) {
        startStep(&t);
        const auto r = exportLog(logbook, dir.filePath(QString::fromLatin1(name)));
        report(qPrintable(QStringLiteral("export %1 contacts to %2").arg(contacts).arg(QString::fromLatin1(name))), t,
               r.ok() ? QStringLiteral("%1 written, %2 MB")
                            .arg(r.written)
                            .arg(QFileInfo(dir.filePath(QString::fromLatin1(name))).size() >> 20)
                      : r.error);
    }

    const QString in = dir.filePath(QStringLiteral("import.adi"));
    writeImportFile(in, records);
    startStep(&t);
    auto r = importLog(logbook, in);
    report(qPrintable(QStringLiteral("import %1 records into %2 contacts").arg(records).arg(contacts)), t,
           r.ok() ? QStringLiteral("%1 imported, %2 duplicates, %3 rejected")
                        .arg(r.imported)
                        .arg(r.duplicates)
                        .arg(r.rejected)
                  : r.error);

    if (argc > 3 && QByteArray(argv[3]) == "--no-huge")
        return 0;
    // Files that are no logbook, 1 GB each, sparse on disk.
    const QString zeros = dir.filePath(QStringLiteral("nullen.adi"));
    QFile z(zeros);
    z.open(QIODevice::WriteOnly);
    z.resize(qint64(1) << 30);
    z.close();
    startStep(&t);
    r = importLog(logbook, zeros);
    report("import a 1 GB file of zeros", t, r.error);

    const QString past = dir.filePath(QStringLiteral("zulang.adi"));
    QFile p(past);
    p.open(QIODevice::WriteOnly);
    p.write("<CALL:4>DL1A<QSO_DATE:8>20060630<NOTES:2000000000>");
    p.resize(qint64(1) << 30);
    p.close();
    startStep(&t);
    r = importLog(logbook, past);
    report("import 1 GB: a length pointing past the end", t,
           r.ok() ? QStringLiteral("%1 read, %2 rejected: %3").arg(r.read).arg(r.rejected).arg(r.rejectedLines.value(0))
                  : r.error);
    return 0;
}
