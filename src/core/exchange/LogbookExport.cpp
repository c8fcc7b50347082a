#include "core/data/RecordSource.h"
#include "core/exchange/ContactMapping.h"
#include "core/exchange/LocalClock.h"
#include "core/exchange/LogbookExchange.h"
#include "core/sql/Sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace exchange {
namespace {

constexpr int kProgressEvery = 2000;

qint64 countOf(const QString &file, const QString &table)
{
    sql::Database db;
    if (db.open(file, sql::Database::Access::ReadOnly) != 0)
        return 0;
    sql::Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
    return count.next() ? count.integer(0) : 0;
}

ExportResult failed(const QString &text)
{
    ExportResult r;
    r.error = text;
    return r;
}

} // namespace

ExportResult exportLogbook(const ExportRequest &request, const Progress &progress)
{
    const auto format = formatOfFileName(request.target);
    if (!format)
        return failed(QStringLiteral("Bitte einen Dateinamen mit der Endung .adi oder .adx wählen."));
    if (!request.overwrite && QFileInfo::exists(request.target))
        return failed(QStringLiteral("Die Datei „%1“ gibt es bereits. Sie wird nicht überschrieben; bitte einen "
                                     "anderen Namen wählen oder die Datei mit „...“ auswählen und das Ersetzen "
                                     "bestätigen.")
                          .arg(QDir::toNativeSeparators(request.target)));
    data::RecordSource source;
    if (!source.open(request.logbookFile))
        return failed(source.lastError());
    source.setQuery(request.list);
    const qint64 total = countOf(request.logbookFile, request.list.table());

    // Written beside the target under a temporary name, which becomes the target's on commit.
    QSaveFile out(request.target);
    if (!out.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("Die Datei „%1“ kann nicht angelegt werden (Ordner schreibgeschützt oder "
                                     "nicht vorhanden?).")
                          .arg(QDir::toNativeSeparators(request.target)));
    AdifWriter writer(&out, *format);
    HeaderInfo header = request.header;
    if (header.comment.isEmpty())
        header.comment =
            QStringLiteral("Kanalwerk: ADIF-Export des Logbuchs %1")
                .arg(request.book == logbook::Book::Local ? QStringLiteral("LOCAL") : QStringLiteral("DX"));
    ExportResult result;
    writer.header(header);

    const std::vector<const logbook::ContactField *> fields = logbook::fieldsOf(request.book);
    std::vector<std::pair<size_t, QString>> columns; // position in the contact, column name
    for (const logbook::ContactField *f : fields)
        columns.emplace_back(size_t(f - logbook::contactFields().data()), QString::fromLatin1(f->column));
    Contact contact(logbook::contactFields().size());
    LocalClock clock;
    const bool read = source.forEachRow([&](const data::RecordSource::RowReader &row) {
        for (const auto &[position, column] : columns) {
            const QVariant v = row(column);
            contact[position] = v.isNull() ? Value() : Value(v.toString());
        }
        if (!writer.record(fieldsOfContact(contact, request.book, *format, clock)))
            return false;
        ++result.written;
        if (progress && result.written % kProgressEvery == 0 && !progress(result.written, total)) {
            result.cancelled = true;
            return false;
        }
        return true;
    });
    if (!read || result.cancelled || !writer.finish()) {
        out.cancelWriting();
        out.commit(); // only removes the temporary file
        if (result.cancelled)
            result.error = QStringLiteral("Der Export wurde abgebrochen. Es wurde keine Datei geschrieben.");
        else
            result.error = !writer.error().isEmpty() ? writer.error() : source.lastError();
        result.written = 0;
        return result;
    }
    if (!request.overwrite && QFileInfo::exists(request.target)) { // appeared meanwhile
        out.cancelWriting();
        out.commit();
        return failed(QStringLiteral("Die Datei „%1“ ist inzwischen angelegt worden und wird nicht überschrieben.")
                          .arg(QDir::toNativeSeparators(request.target)));
    }
    if (!out.commit())
        return failed(QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden (ist der Datenträger voll?).")
                          .arg(QDir::toNativeSeparators(request.target)));
    if (progress)
        progress(result.written, total);
    return result;
}

} // namespace exchange
