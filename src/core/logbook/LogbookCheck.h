#pragma once
#include <QString>

namespace sql {
class Database;
}

// Whether a file is a logbook the windows can work on, and why a file could not be read or
// written, in the user's words.
namespace logbook {

// What the operating system reported (an errno value).
QString systemReason(int error);
// Why SQLite could not write a file: disk full, folder gone, no permission.
QString writeReason(const sql::Database &db, int resultCode);
// Why SQLite could not read a file the user chose.
QString readReason(const sql::Database &db, int resultCode);

// Why the open file is not an intact logbook of this program that the windows can safely work
// on (integrity, both tables as tables with their columns and their row id as id, no trigger or
// view of its own); empty when it is one.
QString logbookProblem(sql::Database &db);

} // namespace logbook
