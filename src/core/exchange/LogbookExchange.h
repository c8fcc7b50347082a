#pragma once
#include "core/exchange/AdifWriter.h"
#include "core/logbook/Contact.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

// A whole logbook to an ADIF file and an ADIF file into a logbook.
namespace exchange {

// Told now and then how far the work is (done of total, in contacts or bytes); returning false
// cancels it.
using Progress = std::function<bool(qint64 done, qint64 total)>;

struct ExportRequest {
    QString logbookFile;
    logbook::Book book = logbook::Book::Local;
    QString target;         // .adi or .adx
    bool overwrite = false; // the user agreed to replace an existing file
    HeaderInfo header;
};

struct ExportResult {
    qint64 written = 0;
    bool cancelled = false;
    QString error; // German; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Writes every contact into a temporary file beside the target, which takes the target's name
// only when it is complete. On failure or cancel the target is left as it was.
ExportResult exportLogbook(const ExportRequest &request, const Progress &progress = {});

struct ImportRequest {
    QString logbookFile;
    logbook::Book book = logbook::Book::Local;
    QString source; // .adi, .adif or .adx; another name is read as what its content shows
};

// The reject list holds at most this many lines; the count goes on beyond.
constexpr int kMaxListedRejects = 10000;

struct ImportResult {
    qint64 read = 0, imported = 0, duplicates = 0, rejected = 0;
    QStringList rejectedLines;            // "Zeile 12: kein Datum (QSO_DATE fehlt)"
    QList<QPair<QString, qint64>> unused; // fields of the file no column takes, and how often
    bool cancelled = false;
    QString error; // German; empty on success, else nothing was imported
    bool ok() const { return error.isEmpty(); }
};

// Reads every record and takes all of them or none: the contacts go in within one transaction.
ImportResult importIntoLogbook(const ImportRequest &request, const Progress &progress = {});

// The summary for the user: records read, imported, duplicates, rejected, fields left out.
QString summaryOf(const ImportResult &result);

} // namespace exchange
