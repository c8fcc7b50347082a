#pragma once
#include <QString>

struct sqlite3;

namespace data {

// LIKE as the query texts expect it: % any run, _ any one character, case folded for all
// letters (not only ASCII), optional escape character.
bool likeMatch(QStringView pattern, QStringView text, QChar escape = QChar());

// Replaces the connection's like() (and with it the LIKE operator). NULL on either side
// gives NULL, which a WHERE clause treats as no match; numbers compare by their text.
bool registerLike(sqlite3 *db);

} // namespace data
