#include "core/exchange/ContactMapping.h"
#include "core/exchange/Handover.h"
#include "core/exchange/LocalClock.h"
#include "core/exchange/LogbookExchange.h"
#include "core/exchange/ListReader.h"
#include "core/sql/Sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <atomic>
#include <thread>

namespace exchange {
namespace {

constexpr int kProgressEvery = 2000;
constexpr size_t kAhead = 4; // chunks the reading thread may be ahead

ExportResult failed(const QString &text)
{
    ExportResult r;
    r.error = text;
    return r;
}

// A chunk of the list on its way into the file: its contacts, or already their records.
struct Chunk {
    std::vector<Contact> contacts;
    std::string records;
    qint64 count = 0;
};

// The contacts are read in a thread of their own, so that reading the logbook and writing the
// file go on at the same time. Turning contacts into records is shared: the reading thread does
// it for a chunk whenever the writing one is behind, which keeps both busy. No text is used by
// both threads. The thread is stopped and waited for when this goes.
class ExportSteps {
public:
    ExportSteps(ListReader *list, logbook::Book book, Format format)
        : m_book(book), m_format(format), m_reading([this, list] { read(list); })
    {
    }
    ~ExportSteps()
    {
        m_chunks.stop();
        m_spare.stop();
        m_spareContacts.stop();
        m_reading.join();
    }
    ExportSteps(const ExportSteps &) = delete;
    ExportSteps &operator=(const ExportSteps &) = delete;

    // The next chunk in the list's order; false at the end.
    bool next(Chunk *chunk) { return m_chunks.take(chunk); }
    // Memory of a written chunk, to be used again: the texts of the contacts are read into the
    // texts of contacts before, rather than into new ones that the other thread frees (which
    // costs the allocator dearly).
    void giveBack(Chunk *chunk)
    {
        m_spare.offer(std::move(chunk->records));
        m_spareContacts.offer(std::move(chunk->contacts));
    }
    // Whether the end came because the file could not be read (the list's error()).
    bool readFailed() const { return m_readFailed; }

private:
    void read(ListReader *list)
    {
        AdifWriter records(nullptr, m_format);
        LocalClock clock;
        std::vector<AdifField> fields;
        std::vector<Contact> mine; // the contacts of the last chunk turned into records here
        for (;;) {
            Chunk chunk;
            if (!m_spareContacts.poll(&chunk.contacts))
                chunk.contacts = std::move(mine);
            if (!list->next(&chunk.contacts))
                m_readFailed = true;
            if (m_readFailed || chunk.contacts.empty())
                break;
            chunk.count = qint64(chunk.contacts.size());
            if (m_chunks.pending() >= 2) { // the writing thread is behind
                m_spare.poll(&chunk.records);
                records.take(&chunk.records);
                for (const Contact &contact : chunk.contacts) {
                    fieldsOfContact(contact, m_book, m_format, clock, &fields);
                    records.record(fields);
                }
                records.take(&chunk.records);
                mine = std::move(chunk.contacts);
                chunk.contacts = {};
            }
            if (!m_chunks.put(std::move(chunk)))
                break;
        }
        m_chunks.close();
    }

    const logbook::Book m_book;
    const Format m_format;
    Handover<Chunk> m_chunks{kAhead};
    Handover<std::string> m_spare{kAhead};
    Handover<std::vector<Contact>> m_spareContacts{kAhead};
    std::atomic<bool> m_readFailed = false;
    std::thread m_reading; // last: it starts when everything else is there
};

// Writes the contacts of the list into the writer; false when reading or writing fails or the
// user cancels (result->cancelled).
bool writeContacts(ListReader &list, const ExportRequest &request, AdifWriter &writer, const Progress &progress,
                   ExportResult *result)
{
    ExportSteps steps(&list, request.book, writer.format());
    LocalClock clock;
    std::vector<AdifField> fields;
    Chunk chunk;
    while (steps.next(&chunk)) {
        for (const Contact &contact : chunk.contacts) {
            fieldsOfContact(contact, request.book, writer.format(), clock, &fields);
            if (!writer.record(fields))
                return false;
        }
        if (!chunk.records.empty() && !writer.pass(chunk.records))
            return false;
        steps.giveBack(&chunk);
        const qint64 before = result->written;
        result->written += chunk.count;
        if (progress && before / kProgressEvery != result->written / kProgressEvery
            && !progress(result->written, list.count())) {
            result->cancelled = true;
            return false;
        }
    }
    return !steps.readFailed() && writer.finish();
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
    sql::Database db;
    if (const int rc = db.open(request.logbookFile, sql::Database::Access::ReadOnly); rc != 0)
        return failed(QStringLiteral("Die Datei %1 kann nicht geöffnet werden. ").arg(request.logbookFile)
                      + sql::engineMessage(rc, db.systemErrno()));
    ListReader list(&db, request.book);
    if (!list.start())
        return failed(list.error());

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
    if (!writeContacts(list, request, writer, progress, &result)) {
        out.cancelWriting();
        out.commit(); // only removes the temporary file
        if (result.cancelled)
            result.error = QStringLiteral("Der Export wurde abgebrochen. Es wurde keine Datei geschrieben.");
        else
            result.error = !writer.error().isEmpty() ? writer.error() : list.error();
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
        progress(result.written, list.count());
    return result;
}

} // namespace exchange
