#include "core/exchange/ContactMapping.h"
#include "core/exchange/Handover.h"
#include "core/exchange/LocalClock.h"
#include "core/exchange/LogbookExchange.h"
#include "core/exchange/ListReader.h"
#include "core/sql/Sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
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

// The contacts are read in threads of their own (a lane each, with its own connection, reading
// every other chunk), so that reading the logbook, which must fetch every contact from wherever
// it lies in the file, and writing the file go on at the same time. Turning contacts into records
// is shared: a reading thread does it for a chunk whenever the writing one is behind, which keeps
// all busy. No text is used by two threads at once. The threads are stopped and waited for when
// this goes.
class ExportSteps {
public:
    ExportSteps(const std::vector<ListReader *> &lists, logbook::Book book, Format format)
        : m_book(book), m_format(format)
    {
        for (size_t i = 0; i < lists.size(); ++i) {
            lists[i]->share(i, lists.size());
            m_lanes.push_back(std::make_unique<Lane>());
        }
        for (size_t i = 0; i < lists.size(); ++i) // each lane complete before a thread starts
            m_lanes[i]->thread = std::thread([this, lane = m_lanes[i].get(), list = lists[i]] { read(list, lane); });
    }
    ~ExportSteps()
    {
        for (auto &lane : m_lanes) {
            lane->chunks.stop();
            lane->spare.stop();
            lane->spareContacts.stop();
        }
        for (auto &lane : m_lanes)
            lane->thread.join();
    }
    ExportSteps(const ExportSteps &) = delete;
    ExportSteps &operator=(const ExportSteps &) = delete;

    // The next chunk in the list's order; false at the end.
    bool next(Chunk *chunk)
    {
        m_current = m_lanes[m_next++ % m_lanes.size()].get();
        return m_current->chunks.take(chunk);
    }
    // Memory of the chunk just written, to be used again by the lane that read it: its texts are
    // read into again rather than new ones made that this thread frees (which costs the
    // allocator dearly).
    void giveBack(Chunk *chunk)
    {
        m_current->spare.offer(std::move(chunk->records));
        m_current->spareContacts.offer(std::move(chunk->contacts));
    }
    // Whether the end came because the file could not be read (a list's error()).
    bool readFailed() const
    {
        return std::any_of(m_lanes.begin(), m_lanes.end(), [](const auto &lane) { return bool(lane->failed); });
    }

private:
    struct Lane {
        Handover<Chunk> chunks{kAhead};
        Handover<std::string> spare{kAhead};
        Handover<std::vector<Contact>> spareContacts{kAhead};
        std::atomic<bool> failed = false;
        std::thread thread;
    };

    void read(ListReader *list, Lane *lane)
    {
        AdifWriter records(nullptr, m_format);
        LocalClock clock;
        std::vector<AdifField> fields;
        std::vector<Contact> mine; // the contacts of the last chunk turned into records here
        for (;;) {
            Chunk chunk;
            if (!lane->spareContacts.poll(&chunk.contacts))
                chunk.contacts = std::move(mine);
            if (!list->next(&chunk.contacts))
                lane->failed = true;
            if (lane->failed || chunk.contacts.empty())
                break;
            chunk.count = qint64(chunk.contacts.size());
            if (lane->chunks.pending() >= 2) { // the writing thread is behind
                lane->spare.poll(&chunk.records);
                records.take(&chunk.records);
                for (const Contact &contact : chunk.contacts) {
                    fieldsOfContact(contact, m_book, m_format, clock, &fields);
                    records.record(fields);
                }
                records.take(&chunk.records);
                mine = std::move(chunk.contacts);
                chunk.contacts = {};
            }
            if (!lane->chunks.put(std::move(chunk)))
                break;
        }
        lane->chunks.close();
    }

    const logbook::Book m_book;
    const Format m_format;
    std::vector<std::unique_ptr<Lane>> m_lanes;
    Lane *m_current = nullptr;
    size_t m_next = 0;
};

// Writes the contacts of the list into the writer; false when reading or writing fails or the
// user cancels (result->cancelled).
bool writeContacts(const std::vector<ListReader *> &lists, const ExportRequest &request, AdifWriter &writer,
                   const Progress &progress, ExportResult *result)
{
    ListReader &list = *lists.front();
    ExportSteps steps(lists, request.book, writer.format());
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

// The readers of the list: the first, and a second that reads every other chunk through a
// connection of its own when it can begin while the first holds the file (else the first reads
// alone).
struct Lanes {
    sql::Database db, second; // before the readers, which end their transactions when they go
    std::optional<ListReader> first, follower;
    std::vector<ListReader *> lists;

    // Empty, or why the logbook cannot be read.
    QString open(const QString &file, logbook::Book book)
    {
        if (const int rc = db.open(file, sql::Database::Access::ReadOnly); rc != 0)
            return QStringLiteral("Die Datei %1 kann nicht geöffnet werden. ").arg(file)
                   + sql::engineMessage(rc, db.systemErrno());
        first.emplace(&db, book);
        if (!first->start())
            return first->error();
        lists.push_back(&*first);
        if (second.open(file, sql::Database::Access::ReadOnly, 0) == 0) {
            follower.emplace(&second, book);
            if (follower->follow(*first))
                lists.push_back(&*follower);
        }
        return {};
    }
    // Why reading failed on the way; a failure is never taken for the end of the list.
    QString error() const
    {
        for (const ListReader *list : lists)
            if (!list->error().isEmpty())
                return list->error();
        return QStringLiteral("Das Logbuch konnte nicht vollständig gelesen werden.");
    }
};

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
    Lanes lanes;
    if (const QString error = lanes.open(request.logbookFile, request.book); !error.isEmpty())
        return failed(error);

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
    if (!writeContacts(lanes.lists, request, writer, progress, &result)) {
        out.cancelWriting();
        out.commit(); // only removes the temporary file
        if (result.cancelled)
            result.error = QStringLiteral("Der Export wurde abgebrochen. Es wurde keine Datei geschrieben.");
        else
            result.error = !writer.error().isEmpty() ? writer.error() : lanes.error();
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
        progress(result.written, lanes.lists.front()->count());
    return result;
}

} // namespace exchange
