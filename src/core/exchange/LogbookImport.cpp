#include "core/exchange/ContactMapping.h"
#include "core/exchange/Duplicates.h"
#include "core/exchange/LocalClock.h"
#include "core/exchange/LogbookExchange.h"
#include "core/sql/Sqlite.h"
#include "core/text/GermanText.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace exchange {
namespace {

constexpr int kProgressEvery = 500;
constexpr int kMaxUnusedNames = 1000; // distinct field names counted; a file of garbage has no end of them

const QString kUnchanged = QStringLiteral(" Das Logbuch ist unverändert.");

// The format of a file whose name does not tell: ADX begins with XML.
Format sniff(QFile *file)
{
    const QByteArray start = file->peek(1024).trimmed();
    const bool xml =
        start.startsWith("<?xml") || start.startsWith("\xEF\xBB\xBF<?xml") || start.left(5).toUpper() == "<ADX>";
    return xml ? Format::Adx : Format::Adi;
}

class Importer {
public:
    Importer(const ImportRequest &request, const Progress &progress) : m_request(request), m_progress(progress) {}
    ImportResult run();

private:
    bool prepare(Format *format);
    bool readAll(RecordReader *reader);
    bool insert(const Contact &contact);
    void reject(qint64 line, const QString &reason);
    void finishUnused();
    bool fail(const QString &text)
    {
        m_result.error = text;
        return false;
    }

    const ImportRequest &m_request;
    const Progress &m_progress;
    ImportResult m_result;
    QFile m_file;
    sql::Database m_db;
    sql::Statement m_insert;
    DuplicateIndex m_existing;
    std::vector<size_t> m_positions; // of the table's columns in a contact, in insert order
    QHash<QByteArray, qint64> m_unused;
};

bool Importer::prepare(Format *format)
{
    m_file.setFileName(m_request.source);
    const QString shown = QDir::toNativeSeparators(m_request.source);
    if (!m_file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden.").arg(shown));
    if (m_file.size() == 0)
        return fail(QStringLiteral("Die Datei „%1“ ist leer.").arg(shown));
    *format = formatOfFileName(m_request.source).value_or(sniff(&m_file));
    int rc = m_db.open(m_request.logbookFile, sql::Database::Access::ReadWrite);
    if (rc == SQLITE_OK)
        rc = m_db.makeDurable();
    if (rc != SQLITE_OK)
        return fail(QStringLiteral("Das Logbuch kann nicht geöffnet werden: ") + sql::engineMessage(rc));
    const QString table = logbook::tableOf(m_request.book);
    QString error;
    if (!m_existing.load(m_db, table, &error))
        return fail(error);
    QStringList names, marks;
    for (const logbook::ContactField *f : logbook::fieldsOf(m_request.book)) {
        m_positions.push_back(size_t(f - logbook::contactFields().data()));
        names << QString::fromLatin1(f->column);
        marks << QStringLiteral("?");
    }
    m_insert = m_db.prepare(
        QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)").arg(table, names.join(u','), marks.join(u',')));
    if (!m_insert.ok())
        return fail(QStringLiteral("Das Logbuch kann keine Kontakte aufnehmen: ")
                    + sql::engineMessage(m_insert.resultCode()));
    return true;
}

bool Importer::insert(const Contact &contact)
{
    m_insert.reset();
    for (size_t i = 0; i < m_positions.size(); ++i) {
        const Value &v = contact[m_positions[i]];
        if (v)
            m_insert.bind(int(i) + 1, *v);
        else
            m_insert.bind(int(i) + 1, QVariant());
    }
    const int rc = m_insert.run();
    if (rc != SQLITE_DONE)
        return fail(QStringLiteral("Ein Kontakt konnte nicht gespeichert werden: ") + sql::engineMessage(rc)
                    + kUnchanged);
    return true;
}

void Importer::reject(qint64 line, const QString &reason)
{
    ++m_result.rejected;
    if (m_result.rejectedLines.size() < kMaxListedRejects)
        m_result.rejectedLines << QStringLiteral("Zeile %1: %2").arg(line).arg(reason);
}

bool Importer::readAll(RecordReader *reader)
{
    LocalClock clock;
    AdifRecord record;
    while (reader->next(&record)) {
        ++m_result.read;
        const Taken taken = contactOfRecord(record, m_request.book, clock);
        for (const QByteArray &name : taken.unused)
            if (m_unused.size() < kMaxUnusedNames || m_unused.contains(name))
                ++m_unused[name];
        if (!taken.reject.isEmpty())
            reject(record.line, taken.reject);
        else if (m_existing.contains(taken.contact))
            ++m_result.duplicates;
        else if (insert(taken.contact))
            ++m_result.imported;
        else
            return false;
        if (m_progress && m_result.read % kProgressEvery == 0 && !m_progress(reader->bytesRead(), m_file.size())) {
            m_result.cancelled = true;
            return fail(QStringLiteral("Der Import wurde abgebrochen.") + kUnchanged);
        }
    }
    if (!reader->failure().isEmpty())
        return fail(reader->failure() + kUnchanged);
    return true;
}

void Importer::finishUnused()
{
    for (auto it = m_unused.cbegin(); it != m_unused.cend(); ++it)
        m_result.unused.append({QString::fromLatin1(it.key()), it.value()});
    std::sort(m_result.unused.begin(), m_result.unused.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
}

ImportResult Importer::run()
{
    Format format = Format::Adi;
    if (!prepare(&format))
        return m_result;
    for (bool windows1252 : {false, true}) {
        if (m_db.exec(QStringLiteral("BEGIN IMMEDIATE")) != SQLITE_OK) {
            fail(QStringLiteral("Das Logbuch ist gesperrt: ") + sql::engineMessage(m_db.errorCode()));
            return m_result;
        }
        m_file.seek(0);
        const auto reader = format == Format::Adi ? makeReader(format, &m_file) : makeAdxReader(&m_file, windows1252);
        const bool ok = readAll(reader.get());
        if (ok && m_result.read == 0)
            fail(QStringLiteral("Die Datei enthält keine Kontakte."));
        if (ok && m_result.read > 0 && m_db.exec(QStringLiteral("COMMIT")) == SQLITE_OK)
            break;
        if (ok && m_result.read > 0)
            fail(QStringLiteral("Die Kontakte konnten nicht gespeichert werden: ")
                 + sql::engineMessage(m_db.errorCode()) + kUnchanged);
        m_db.exec(QStringLiteral("ROLLBACK"));
        // An ADX file in Latin-1 that does not say so: once more, read as such.
        if (windows1252 || !reader->failedOnEncoding())
            break;
        m_result = ImportResult();
        m_unused.clear();
    }
    if (!m_result.ok()) { // nothing went in
        m_result.imported = 0;
        m_result.duplicates = 0;
    }
    finishUnused();
    return m_result;
}

QString number(qint64 n) { return german::integerText(n); }

} // namespace

ImportResult importIntoLogbook(const ImportRequest &request, const Progress &progress)
{
    return Importer(request, progress).run();
}

QString summaryOf(const ImportResult &r)
{
    QStringList lines;
    lines << QStringLiteral("Gelesen: %1 Sätze").arg(number(r.read))
          << QStringLiteral("Übernommen: %1 Kontakte").arg(number(r.imported))
          << QStringLiteral("Doppelt (übersprungen): %1").arg(number(r.duplicates))
          << QStringLiteral("Abgelehnt: %1").arg(number(r.rejected));
    if (!r.unused.isEmpty()) {
        QStringList names;
        for (qsizetype i = 0; i < r.unused.size() && i < 8; ++i)
            names << QStringLiteral("%1 (%2)").arg(r.unused[i].first, number(r.unused[i].second));
        if (r.unused.size() > 8)
            names << QStringLiteral("und %1 weitere").arg(r.unused.size() - 8);
        lines << QStringLiteral("Nicht übernommene Felder: ") + names.join(QStringLiteral(", "));
    }
    return lines.join(u'\n');
}

} // namespace exchange
