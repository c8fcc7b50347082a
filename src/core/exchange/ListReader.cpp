#include "core/exchange/ListReader.h"

#include "core/logbook/ListOrder.h"

#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

namespace exchange {
namespace {

constexpr int kChunk = 500; // contacts read by one statement

// Puts a column's text into the value, into the memory the value already has where it suffices:
// the chunks are used again, and a million contacts are read without a million allocations.
void readInto(Value *value, sqlite3_stmt *row, int column, QStringDecoder &decoder)
{
    if (sqlite3_column_type(row, column) == SQLITE_NULL) {
        value->reset();
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, column));
    const QByteArrayView bytes(text, sqlite3_column_bytes(row, column));
    const qsizetype most = decoder.requiredSpace(bytes.size());
    if (!*value || !(*value)->isDetached()) // a text still shared is left to its other holders
        value->emplace(most, Qt::Uninitialized);
    QString &s = **value;
    s.resize(most);
    s.resize(decoder.appendToBuffer(s.data(), bytes) - s.constData());
}

} // namespace

ListReader::ListReader(sql::Database *db, logbook::Book book)
    : m_db(db), m_book(book), m_decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)
{
}

ListReader::~ListReader()
{
    m_rows = sql::Statement();
    if (m_inTransaction)
        m_db->exec(QStringLiteral("COMMIT"));
}

bool ListReader::fail(const QString &what, int resultCode)
{
    m_error = what + u' ' + sql::engineMessage(resultCode, m_db->systemErrno());
    return false;
}

bool ListReader::begin()
{
    const int begun = m_db->exec(QStringLiteral("BEGIN"));
    if (begun != SQLITE_OK)
        return fail(QStringLiteral("Das Logbuch kann nicht gelesen werden."), begun);
    m_inTransaction = true;
    return true;
}

bool ListReader::start()
{
    if (!begin())
        return false;
    const QString table = logbook::tableOf(m_book);
    data::Query list = data::Query(table).orderBy(logbook::listOrder(m_book));
    sql::Statement hasIndex =
        m_db->prepare(QStringLiteral("select 1 from sqlite_master where type = 'index' and name = ?"));
    hasIndex.bind(1, list.order().index);
    if (!hasIndex.next())
        list = list.withoutIndex();
    sql::Statement ids = m_db->prepare(list.engineSql({.columns = QStringLiteral("rowid"), .condition = {}}));
    int rc = ids.ok() ? SQLITE_ROW : ids.resultCode();
    auto all = std::make_shared<std::vector<qint64>>();
    while (ids.ok() && (rc = ids.step()) == SQLITE_ROW)
        all->push_back(ids.integer(0));
    if (rc != SQLITE_DONE)
        return fail(QStringLiteral("Die Liste des Logbuchs kann nicht gelesen werden."), rc);
    m_ids = std::move(all);
    return prepareRows();
}

bool ListReader::follow(const ListReader &first)
{
    if (!begin())
        return false;
    // The first read takes the file's shared lock; until then the transaction holds nothing.
    QStringList ignored;
    if (const int rc = m_db->column(QStringLiteral("select count(*) from sqlite_master"), &ignored); rc != SQLITE_OK)
        return fail(QStringLiteral("Das Logbuch kann nicht gelesen werden."), rc);
    m_ids = first.m_ids;
    return prepareRows();
}

void ListReader::share(size_t offset, size_t every)
{
    m_done = std::min(m_ids->size(), offset * kChunk);
    m_skip = (every - 1) * kChunk;
}

bool ListReader::prepareRows()
{
    const QString table = logbook::tableOf(m_book);
    QStringList columns{QStringLiteral("rowid")}, marks;
    for (const logbook::ContactField *f : logbook::fieldsOf(m_book)) {
        m_positions.push_back(size_t(f - logbook::contactFields().data()));
        columns << data::quotedName(QString::fromLatin1(f->column));
    }
    for (int i = 1; i <= kChunk; ++i)
        marks << QStringLiteral("?%1").arg(i);
    m_rows = m_db->prepare(QStringLiteral("select %1 from %2 where rowid in (%3)")
                               .arg(columns.join(u','), data::quotedName(table), marks.join(u',')));
    if (!m_rows.ok())
        return fail(QStringLiteral("Das Logbuch kann nicht gelesen werden."), m_rows.resultCode());
    return true;
}

bool ListReader::next(std::vector<Contact> *contacts)
{
    const std::vector<qint64> &ids = *m_ids;
    const size_t n = std::min(ids.size() - m_done, size_t(kChunk));
    contacts->resize(n);
    if (n == 0)
        return true;
    m_slots.clear();
    m_rows.reset();
    for (size_t i = 0; i < size_t(kChunk); ++i) {
        if (i < n) {
            m_slots.emplace_back(ids[m_done + i], i);
            m_rows.bind(int(i) + 1, ids[m_done + i]);
        } else {
            m_rows.bind(int(i) + 1, QVariant()); // NULL is no rowid
        }
    }
    std::sort(m_slots.begin(), m_slots.end());
    std::vector<bool> filled(n, false);
    int rc;
    while ((rc = m_rows.step()) == SQLITE_ROW) {
        const qint64 id = m_rows.integer(0);
        const auto slot = std::lower_bound(m_slots.begin(), m_slots.end(), std::pair{id, size_t(0)});
        if (slot == m_slots.end() || slot->first != id)
            continue;
        Contact &contact = (*contacts)[slot->second];
        contact.resize(logbook::contactFields().size());
        for (size_t c = 0; c < m_positions.size(); ++c)
            readInto(&contact[m_positions[c]], m_rows.handle(), int(c) + 1, m_decoder);
        filled[slot->second] = true;
    }
    if (rc != SQLITE_DONE)
        return fail(QStringLiteral("Die Daten können nicht vollständig gelesen werden."), rc);
    if (std::find(filled.begin(), filled.end(), false) != filled.end()) {
        m_error = QStringLiteral("Ein Kontakt der Liste fehlt im Logbuch; es wurde während des Exports verändert.");
        return false;
    }
    m_done = std::min(ids.size(), m_done + n + m_skip);
    return true;
}

} // namespace exchange
