#pragma once
#include "core/exchange/ContactMapping.h"
#include "core/sql/Sqlite.h"

#include <QString>
#include <QStringDecoder>
#include <memory>
#include <vector>

namespace exchange {

// Every contact of a logbook in the order of its list, a chunk at a time, read within one read
// transaction so that the contacts are those of one moment.
//
// The ids come first, in the list's order, from the index that serves the list (it holds the
// order, so the table is not read for them; a file of an earlier version without that index is
// sorted by the engine). The contacts then come by their ids, a chunk per statement: the engine
// looks them up in the order of the ids, which keeps it near where it last read.
class ListReader {
public:
    ListReader(sql::Database *db, logbook::Book book);
    ~ListReader();
    ListReader(const ListReader &) = delete;
    ListReader &operator=(const ListReader &) = delete;

    // Reads the ids; false with error() when the engine fails.
    bool start();
    // Reads the same list as first, which has started, through a connection of its own: its read
    // transaction begins while first's holds the file, so no change can come between the two
    // and both read the contacts of one moment. False with error() when it cannot begin.
    bool follow(const ListReader &first);
    // Reads only every `every`-th chunk, beginning with chunk `offset` (0-based).
    void share(size_t offset, size_t every);
    qint64 count() const { return qint64(m_ids->size()); }
    // The next chunk of contacts in the list's order (empty at the end), read into the contacts
    // given where there are; false with error() when the engine fails or a contact is missing.
    bool next(std::vector<Contact> *contacts);
    QString error() const { return m_error; }

private:
    bool fail(const QString &what, int resultCode);
    bool begin();
    bool prepareRows();

    sql::Database *m_db;
    logbook::Book m_book;
    std::shared_ptr<const std::vector<qint64>> m_ids = std::make_shared<std::vector<qint64>>();
    size_t m_done = 0, m_skip = 0; // ids read or passed over; ids passed over after each chunk
    sql::Statement m_rows;
    std::vector<size_t> m_positions; // of the book's columns in a contact
    std::vector<std::pair<qint64, size_t>> m_slots; // id and place in the chunk, by id
    QStringDecoder m_decoder;
    bool m_inTransaction = false;
    QString m_error;
};

} // namespace exchange
