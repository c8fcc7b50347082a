#pragma once
// What a core file may include: core, Qt Core, SQLite and the standard library.
#include "core/data/Query.h"
#include <QString>
#include <QtCore/QDate>
#include <sqlite3.h>
#include <vector>
