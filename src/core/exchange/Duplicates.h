#pragma once
#include "core/exchange/ContactMapping.h"
#include "core/sql/Sqlite.h"

#include <QString>
#include <utility>
#include <vector>

namespace exchange {

// What makes two contacts the same contact: the call sign (or, without one, the skip name),
// the date, the time to the minute and the frequency, each in a normal form, so that
// "1.7.2006" meets "01.07.2006" and "27,005" meets "27.005 MHz".
QString duplicateKey(const Contact &contact);

// The contacts a logbook held before an import, as the hashes of their keys: a few bytes per
// contact, so that a logbook of a million contacts is checked without holding it.
class DuplicateIndex {
public:
    // Reads the keys of every contact of the table; false with a German error when it cannot.
    bool load(const sql::Database &db, const QString &table, QString *error);
    // Whether a contact with the same key was in the table (checked against the row itself).
    bool contains(const Contact &contact);
    size_t size() const { return m_keys.size(); }

private:
    Contact rowContact();
    std::vector<std::pair<size_t, qint64>> m_keys; // hash, id; sorted
    sql::Statement m_row;
};

} // namespace exchange
