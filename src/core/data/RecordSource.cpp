#include "core/data/RecordSource.h"

#include "core/data/SqlLike.h"

#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace data {
namespace {
// Results up to this size are held whole; larger ones are read in windows of kChunk rows.
constexpr int kWhole = 5000;
constexpr int kChunk = 256;
constexpr int kFirstRows = 64;
// A plain query text keeps this many rows from its counting pass.
constexpr int kTextRows = 5000;
constexpr int kDefaultBusyMs = 15000;

QVariant columnValue(sqlite3_stmt *stmt, int col)
{
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_NULL:
        return QVariant();
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
        return QString::fromUtf8(text, sqlite3_column_bytes(stmt, col));
    }
    }
}

void readRow(sqlite3_stmt *stmt, int columns, std::vector<QVariant> *row)
{
    row->resize(size_t(columns));
    for (int c = 0; c < columns; ++c)
        (*row)[size_t(c)] = columnValue(stmt, c);
}

template <typename Ids> QString idList(const Ids &ids)
{
    QStringList list;
    list.reserve(qsizetype(ids.size()));
    for (const auto id : ids)
        list << QString::number(id);
    return list.join(QLatin1Char(','));
}

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &v)
{
    if (v.isNull()) {
        sqlite3_bind_null(stmt, index);
    } else if (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
        sqlite3_bind_int64(stmt, index, v.toLongLong());
    } else {
        const QByteArray s = v.toString().toUtf8();
        sqlite3_bind_text(stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
    }
}
} // namespace

// Counts the rows a filter lets through in the same pass that keeps the ids of the first ones,
// as an aggregate, so the engine scans without handing every row out.
struct RecordSource::Collector {
    sqlite3_int64 count = 0;
    std::vector<sqlite3_int64> ids;

    static void step(sqlite3_context *ctx, int, sqlite3_value **argv)
    {
        auto *self = static_cast<Collector *>(sqlite3_user_data(ctx));
        if (self->ids.size() < size_t(kWhole))
            self->ids.push_back(sqlite3_value_int64(argv[0]));
        ++self->count;
    }
    static void final(sqlite3_context *ctx)
    {
        sqlite3_result_int64(ctx, static_cast<Collector *>(sqlite3_user_data(ctx))->count);
    }
};

QString engineMessage(int resultCode)
{
    switch (resultCode & 0xff) {
    case SQLITE_READONLY:
        return QStringLiteral("Die Datei ist schreibgeschützt oder liegt in einem Ordner ohne Schreibrecht.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt und ist gesperrt.");
    case SQLITE_IOERR:
        return QStringLiteral("Die Datei konnte nicht gelesen oder geschrieben werden (Ein-/Ausgabefehler, "
                              "vielleicht wurde der Datenträger entfernt).");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datei ist beschädigt oder keine Datenbank dieses Programms.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Der Zugriff auf die Datei wurde verweigert.");
    case SQLITE_NOMEM:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        return QStringLiteral("Die Datenbank hat einen Wert abgelehnt.");
    case SQLITE_ERROR:
        return QStringLiteral("Die Abfrage passt nicht zu den Tabellen der Datei (eine Tabelle oder Spalte fehlt).");
    default:
        return QStringLiteral("Die Datenbank meldet einen Fehler (Code %1).").arg(resultCode);
    }
}

RecordSource::RecordSource(QObject *parent) : QObject(parent) {}

RecordSource::~RecordSource()
{
    close();
    delete m_collector;
}

bool RecordSource::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool RecordSource::failEngine(const QString &what)
{
    return fail(what + QLatin1Char(' ') + engineMessage(m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN));
}

bool RecordSource::open(const QString &fileName, Mode mode)
{
    close();
    m_fileName = fileName;
    if (!QFileInfo(fileName).isFile())
        return fail(QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(fileName));
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("Die Datei %1 kann nicht geöffnet werden.").arg(fileName));
    }
    // A file that is not a database opens fine and fails at its first statement.
    if (sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("Die Datei %1 ist beschädigt oder keine Datenbank dieses Programms.").arg(fileName));
    }
    if (!m_collector)
        m_collector = new Collector;
    if (!registerLike(db)
        || sqlite3_create_function(db, "kw_collect", 1, SQLITE_UTF8, m_collector, nullptr, Collector::step,
                                   Collector::final)
               != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("Die Suche kann für die Datei %1 nicht eingerichtet werden.").arg(fileName));
    }
    sqlite3_busy_timeout(db, kDefaultBusyMs);
    if (mode == Mode::ReadWrite) {
        // A rollback journal keeps the logbook one plain file between saves (a backup copies
        // just it), and FULL syncs journal and file before a save returns.
        sqlite3_exec(db, "pragma journal_mode=delete", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "pragma synchronous=full", nullptr, nullptr, nullptr);
    }
    m_db = db;
    m_error.clear();
    return true;
}

void RecordSource::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_rows.clear();
    m_window.clear();
    m_pinned.clear();
    m_excluded.clear();
    m_resultQuery = Query();
    m_resultSql.clear();
    m_columns.clear();
    m_columnIndex.clear();
    m_idColumn = -1;
    m_count = 0;
    m_lazyCount = 0;
    m_current = -1;
    m_whole = true;
    m_byId = false;
    m_ids.clear();
    m_adding = false;
    m_pending.clear();
    m_state = EditState::Browsing;
}

void RecordSource::setQuery(const Query &query)
{
    m_query = query;
    m_sql.clear();
}

void RecordSource::setRecordSource(const QString &sql)
{
    m_query = Query();
    m_sql = sql;
}

void RecordSource::setBusyTimeout(int milliseconds)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

void RecordSource::ensureSortIndex(const QString &table, const QString &column)
{
    if (!m_db || sqlite3_db_readonly(m_db, "main") == 1)
        return;
    const QString sql = QStringLiteral("create index if not exists %1 on %2 (%3, %4)")
                            .arg(quotedName(table + QStringLiteral("_sort_") + column), quotedName(table),
                                 sortKeySql(column), quotedName(column));
    sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

bool RecordSource::prepare(const QString &sql, sqlite3_stmt **stmt, const Query *patternOf) const
{
    const QByteArray text = sql.toUtf8();
    *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), stmt, nullptr) != SQLITE_OK || !*stmt) {
        sqlite3_finalize(*stmt);
        *stmt = nullptr;
        return false;
    }
    if (patternOf && patternOf->filter()) {
        // Bound, not spliced into the text: any character the user typed, NUL and apostrophe
        // included, is only ever part of the pattern.
        const QByteArray pattern = patternOf->filter()->pattern.toUtf8();
        sqlite3_bind_text(*stmt, 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
    }
    return true;
}

bool RecordSource::refresh()
{
    if (!m_db)
        return fail(m_error.isEmpty() ? QStringLiteral("Die Datenbank ist nicht geöffnet.") : m_error);
    if (!savePending())
        return false;
    const bool ok = m_query.isNull() ? refreshText() : refreshQuery();
    if (!ok)
        return false;
    m_window.clear();
    m_windowStart = 0;
    m_readFailed = false;
    m_idColumn = m_columnIndex.value(QStringLiteral("id"), -1);
    m_current = 0;
    m_adding = false;
    m_pending.clear();
    setState(false, true);
    m_error.clear();
    emit refreshed();
    emit currentChanged(m_current);
    return true;
}

bool RecordSource::refreshQuery()
{
    const Query &q = m_query;
    // The columns, from the statement that reads the rows.
    sqlite3_stmt *stmt = nullptr;
    if (!prepare(q.engineSql() + QStringLiteral(" limit 0"), &stmt, &q))
        return failEngine(QStringLiteral("Die Abfrage kann nicht ausgeführt werden."));
    QStringList columns;
    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    sqlite3_finalize(stmt);

    // The exact count. With a filter every row has to be tested anyway: one scan counts and
    // keeps the ids of the first hits; a small result is then put in order by those ids alone.
    qint64 count = 0;
    std::vector<sqlite3_int64> ids;
    const QString table = quotedName(q.table());
    const QString counting = q.filter() ? QStringLiteral("select kw_collect(rowid) from %1 where %2 like ?1")
                                              .arg(table, quotedName(q.filter()->column))
                                        : QStringLiteral("select count(*) from %1").arg(table);
    m_collector->count = 0;
    m_collector->ids.clear();
    if (!prepare(counting, &stmt, &q))
        return failEngine(QStringLiteral("Die Abfrage kann nicht ausgeführt werden."));
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        count = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."));
    ids.swap(m_collector->ids);

    // A small result is held as its ids in order; its rows are read by id when shown.
    std::vector<qint64> ordered;
    const bool byId = count <= kWhole;
    if (byId && count > 0) {
        const Query unfiltered = Query(q.table()).orderBy(q.orderColumn());
        const QString sql = q.filter() ? unfiltered.engineSql(QStringLiteral("rowid in (%1)").arg(idList(ids)), false,
                                                              QStringLiteral("rowid"))
                                       : unfiltered.engineSql({}, false, QStringLiteral("rowid"));
        if (!prepare(sql, &stmt, nullptr))
            return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."));
        int step;
        while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
            ordered.push_back(sqlite3_column_int64(stmt, 0));
        sqlite3_finalize(stmt);
        if (step != SQLITE_DONE)
            return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."));
        count = qint64(ordered.size());
    }
    m_resultQuery = q;
    m_resultSql.clear();
    m_columns = columns;
    m_columnIndex.clear();
    for (int c = int(columns.size()) - 1; c >= 0; --c) // the first of two equal names wins
        m_columnIndex.insert(columns.at(c).toCaseFolded(), c);
    m_count = int(count);
    m_whole = false;
    m_rows.clear();
    m_byId = byId;
    m_ids = std::move(ordered);
    m_lazyCount = byId ? 0 : m_count;
    m_pinned.clear();
    m_excluded.clear();
    return true;
}

bool RecordSource::materialize(const QString &sql, std::vector<Row> *rows, const Query *patternOf) const
{
    sqlite3_stmt *stmt = nullptr;
    if (!prepare(sql, &stmt, patternOf))
        return false;
    const int columns = sqlite3_column_count(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        rows->emplace_back();
        readRow(stmt, columns, &rows->back());
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

bool RecordSource::refreshText()
{
    sqlite3_stmt *stmt = nullptr;
    if (!prepare(m_sql, &stmt, nullptr))
        return m_sql.trimmed().isEmpty() ? fail(QStringLiteral("Die Abfrage ist leer."))
                                         : failEngine(QStringLiteral("Die Abfrage kann nicht ausgeführt werden."));
    if (!sqlite3_stmt_readonly(stmt)) {
        sqlite3_finalize(stmt);
        return fail(QStringLiteral("Die Abfrage würde Daten ändern und wird nicht ausgeführt."));
    }
    const int columnCount = sqlite3_column_count(stmt);
    QStringList columns;
    for (int c = 0; c < columnCount; ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    // One pass counts and keeps the first rows; rows past them are read in windows.
    std::vector<Row> rows;
    int count = 0, rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (count < kTextRows) {
            rows.emplace_back();
            readRow(stmt, columnCount, &rows.back());
        }
        ++count;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."));
    m_resultQuery = Query();
    m_resultSql = m_sql;
    m_columns = columns;
    m_columnIndex.clear();
    for (int c = columnCount - 1; c >= 0; --c)
        m_columnIndex.insert(columns.at(c).toCaseFolded(), c);
    m_count = count;
    m_whole = count <= kTextRows;
    m_rows = std::move(rows);
    m_byId = false;
    m_ids.clear();
    m_lazyCount = 0;
    m_pinned.clear();
    m_excluded.clear();
    return true;
}

int RecordSource::columnIndex(const QString &name) const { return m_columnIndex.value(name.toCaseFolded(), -1); }

int RecordSource::pinnedBefore(int position) const
{
    return int(std::lower_bound(m_pinned.begin(), m_pinned.end(), position,
                                [](const Pinned &p, int pos) { return p.position < pos; })
               - m_pinned.begin());
}

int RecordSource::pinnedAt(int position) const
{
    const int i = pinnedBefore(position);
    return i < int(m_pinned.size()) && m_pinned[size_t(i)].position == position ? i : -1;
}

QString RecordSource::exclusion() const
{
    if (m_excluded.empty())
        return {};
    return QStringLiteral("rowid not in (%1)").arg(idList(m_excluded));
}

void RecordSource::invalidateWindow() const
{
    m_window.clear();
    m_windowStart = 0;
}

bool RecordSource::readWindow(int start, int limit, bool reverse, std::vector<Row> *rows) const
{
    QString sql;
    int offset = start;
    if (m_resultQuery.isNull()) {
        sql = m_resultSql.trimmed();
    } else {
        sql = m_resultQuery.engineSql(exclusion(), reverse);
        if (reverse)
            offset = m_lazyCount - start - limit;
    }
    sql += QStringLiteral(" limit %1 offset %2").arg(limit).arg(offset);
    if (!materialize(sql, rows, &m_resultQuery))
        return false;
    if (reverse)
        std::reverse(rows->begin(), rows->end());
    return int(rows->size()) == limit;
}

void RecordSource::tellReadFailed() const
{
    if (m_readFailed)
        return;
    m_readFailed = true;
    emit const_cast<RecordSource *>(this)->readFailed(
        QStringLiteral("Ein Teil der Daten aus %1 konnte nicht gelesen werden; die Liste zeigt leere "
                       "Zeilen. Bitte das Fenster schließen und neu öffnen.")
            .arg(m_fileName));
}

const RecordSource::Row *RecordSource::lazyRow(int index) const
{
    if (index >= m_windowStart && index < m_windowStart + int(m_window.size()))
        return &m_window[size_t(index - m_windowStart)];
    const int total = m_resultQuery.isNull() ? m_count : m_lazyCount;
    if (!m_db || index < 0 || index >= total)
        return nullptr;
    // A window around the row, a little of it above; the rows of the second half are read
    // from the end backwards, so the last rows come as fast as the first.
    const bool reverse = !m_resultQuery.isNull() && index >= total / 2;
    int start = std::max(m_resultQuery.isNull() ? int(m_rows.size()) : 0, index - kChunk / 4);
    // The first rows of a filtered result cost a walk through the order to each hit: read no more
    // of them than a grid shows at first.
    const int size = index < kFirstRows && m_resultQuery.filter() ? kFirstRows : kChunk;
    int end = std::min(total, start + size);
    if (reverse) {
        end = std::min(total, index + kChunk * 3 / 4);
        start = std::max(0, end - kChunk);
    }
    std::vector<Row> window;
    if (!readWindow(start, end - start, reverse, &window)) {
        tellReadFailed();
        return nullptr;
    }
    m_windowStart = start;
    m_window = std::move(window);
    return &m_window[size_t(index - m_windowStart)];
}

const RecordSource::Row *RecordSource::idRow(int position) const
{
    if (position >= m_windowStart && position < m_windowStart + int(m_window.size()))
        return &m_window[size_t(position - m_windowStart)];
    const int start = std::max(0, position - kChunk / 4);
    const int end = std::min(m_count, start + kChunk);
    const std::vector<qint64> ids(m_ids.begin() + start, m_ids.begin() + end);
    std::vector<Row> rows;
    QHash<qint64, size_t> at;
    if (m_db
        && materialize(QStringLiteral("select rowid, * from %1 where rowid in (%2)")
                           .arg(quotedName(m_resultQuery.table()), idList(ids)),
                       &rows)) {
        for (size_t i = 0; i < rows.size(); ++i)
            at.insert(rows[i].front().toLongLong(), i);
    }
    std::vector<Row> window;
    for (qint64 id : ids) {
        const auto found = at.constFind(id);
        if (found == at.constEnd()) { // gone from the file since the result was made
            tellReadFailed();
            return nullptr;
        }
        Row &r = rows[*found];
        r.erase(r.begin()); // the rowid asked for
        window.push_back(std::move(r));
    }
    m_windowStart = start;
    m_window = std::move(window);
    return &m_window[size_t(position - m_windowStart)];
}

const RecordSource::Row *RecordSource::row(int position) const
{
    if (position < 0 || position >= m_count)
        return nullptr;
    if (m_whole)
        return &m_rows[size_t(position)];
    if (m_byId)
        return idRow(position);
    if (m_resultQuery.isNull()) // a plain text: the first rows kept, the rest in windows
        return position < int(m_rows.size()) ? &m_rows[size_t(position)] : lazyRow(position);
    const int pinned = pinnedAt(position);
    if (pinned >= 0)
        return &m_pinned[size_t(pinned)].row;
    return lazyRow(position - pinnedBefore(position));
}

QVariant RecordSource::value(int row, int column) const
{
    const Row *values = column >= 0 && column < int(m_columns.size()) ? this->row(row) : nullptr;
    return values ? (*values)[size_t(column)] : QVariant();
}

QVariant RecordSource::field(const QString &name) const
{
    const QString key = name.toCaseFolded();
    const auto pending = m_pending.constFind(key);
    if (pending != m_pending.constEnd())
        return pending->second;
    if (m_adding)
        return QVariant();
    return value(m_current, columnIndex(name));
}

RecordSource::EditState RecordSource::editState() const { return m_state; }

void RecordSource::setState(bool adding, bool clearPending)
{
    m_adding = adding;
    if (clearPending)
        m_pending.clear();
    const EditState state = m_adding              ? EditState::Adding
                            : m_pending.isEmpty() ? EditState::Browsing
                                                  : EditState::Editing;
    if (state != m_state) {
        m_state = state;
        emit editStateChanged(state);
    }
}

bool RecordSource::setCurrentRow(int row)
{
    // Moving off a pending record saves it, as the data control always did; a failed save
    // keeps the record and its values where they are.
    if (row != m_current && !savePending()) {
        emit currentChanged(m_current);
        return false;
    }
    m_current = std::clamp(row, -1, m_count);
    emit currentChanged(m_current);
    return true;
}

bool RecordSource::savePending()
{
    if (m_state == EditState::Browsing)
        return true;
    if (m_adding && m_pending.isEmpty()) { // a new record nothing was entered into
        setState(false, true);
        m_current = std::clamp(m_beforeAdd, -1, m_count);
        return true;
    }
    return update();
}

bool RecordSource::addNew()
{
    if (!m_db)
        return fail(m_error.isEmpty() ? QStringLiteral("Die Datenbank ist nicht geöffnet.") : m_error);
    if (m_editTable.isEmpty() || m_columns.isEmpty())
        return fail(QStringLiteral("In diese Daten kann nicht geschrieben werden."));
    if (m_state == EditState::Editing && !update())
        return false;
    if (!m_adding)
        m_beforeAdd = m_current;
    m_current = m_count;
    setState(true, true);
    emit currentChanged(m_current);
    return true;
}

void RecordSource::setField(const QString &name, const QVariant &value)
{
    m_pending.insert(name.toCaseFolded(), {name, value});
    setState(m_adding, false);
}

bool RecordSource::writable(QString *why) const
{
    if (!m_db) {
        *why = m_error.isEmpty() ? QStringLiteral("Die Datenbank ist nicht geöffnet.") : m_error;
        return false;
    }
    if (m_editTable.isEmpty() || m_columns.isEmpty()) {
        *why = QStringLiteral("In diese Daten kann nicht geschrieben werden.");
        return false;
    }
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        *why = engineMessage(SQLITE_READONLY);
        return false;
    }
    // A file deleted, renamed or replaced under the open connection would take the write
    // into a file nobody sees again.
    int moved = 0;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved) {
        *why = QStringLiteral("Die Datei %1 wurde gelöscht, umbenannt oder ersetzt, während das Fenster offen war.")
                   .arg(m_fileName);
        return false;
    }
    return true;
}

bool RecordSource::readRowById(qint64 id, Row *row)
{
    QStringList names;
    for (const QString &c : std::as_const(m_columns))
        names << quotedName(c);
    sqlite3_stmt *stmt = nullptr;
    if (!prepare(QStringLiteral("select %1 from %2 where rowid=?").arg(names.join(','), quotedName(m_editTable)), &stmt,
                 nullptr))
        return false;
    sqlite3_bind_int64(stmt, 1, id);
    const bool found = sqlite3_step(stmt) == SQLITE_ROW;
    if (found)
        readRow(stmt, int(m_columns.size()), row);
    sqlite3_finalize(stmt);
    return found;
}

bool RecordSource::update()
{
    if (m_state == EditState::Browsing)
        return true;
    QString why;
    if (!writable(&why))
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. ") + why);
    if (!m_adding && (eof() || m_idColumn < 0 || !row(m_current)))
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. Es ist kein Datensatz ausgewählt, "
                                   "in den die Änderungen geschrieben werden könnten."));

    // The pending columns in the order of the result; the id is the engine's.
    QStringList names;
    QVariantList binds;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const auto it = m_pending.constFind(m_columns.at(c).toCaseFolded());
        if (it == m_pending.constEnd() || c == m_idColumn)
            continue;
        names << quotedName(m_columns.at(c));
        binds << it->second;
    }
    const bool unknownColumn = std::any_of(m_pending.keyBegin(), m_pending.keyEnd(),
                                           [this](const QString &key) { return !m_columnIndex.contains(key); });
    if (unknownColumn)
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. Eine Spalte fehlt in der Tabelle %1.")
                        .arg(m_editTable));

    QString sql;
    const qint64 id = m_adding ? 0 : (*row(m_current))[size_t(m_idColumn)].toLongLong();
    if (m_adding) {
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        sql = names.isEmpty() ? QStringLiteral("insert into %1 default values").arg(quotedName(m_editTable))
                              : QStringLiteral("insert into %1 (%2) values (%3)")
                                    .arg(quotedName(m_editTable), names.join(','), marks.join(','));
    } else {
        QStringList sets;
        for (const QString &n : std::as_const(names))
            sets << n + QStringLiteral("=?");
        sql = QStringLiteral("update %1 set %2 where rowid=?").arg(quotedName(m_editTable), sets.join(','));
        binds << id;
    }
    sqlite3_stmt *stmt = nullptr;
    if (!prepare(sql, &stmt, nullptr))
        return failEngine(QStringLiteral("Der Datensatz wurde nicht gespeichert."));
    for (int i = 0; i < binds.size(); ++i)
        bindValue(stmt, i + 1, binds.at(i));
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return failEngine(QStringLiteral("Der Datensatz wurde nicht gespeichert."));
    if (!m_adding && sqlite3_changes(m_db) != 1)
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. Er ist nicht mehr in der Datei vorhanden."));

    // The stored row as the engine holds it now, in its place in the result.
    const qint64 stored = m_adding ? sqlite3_last_insert_rowid(m_db) : id;
    Row values;
    if (!readRowById(stored, &values)) {
        values.assign(m_columns.size(), QVariant());
        for (int c = 0; c < int(m_columns.size()); ++c)
            values[size_t(c)] = m_pending.value(m_columns.at(c).toCaseFolded()).second;
        if (m_idColumn >= 0)
            values[size_t(m_idColumn)] = QString::number(stored);
    }
    if (m_adding) {
        const int position = m_count;
        emit rowAboutToBeInserted(position);
        if (m_whole) {
            m_rows.push_back(std::move(values));
        } else if (m_byId) {
            m_ids.push_back(stored);
            invalidateWindow();
        } else {
            m_pinned.push_back({position, std::move(values)});
            m_excluded.push_back(stored);
        }
        ++m_count;
        m_current = position;
        setState(false, true);
        emit rowInserted(position);
    } else {
        if (m_whole) {
            m_rows[size_t(m_current)] = std::move(values);
        } else if (m_byId) {
            invalidateWindow(); // read again by its id
        } else {
            const int pinned = pinnedAt(m_current);
            if (pinned >= 0) {
                m_pinned[size_t(pinned)].row = std::move(values);
            } else {
                m_pinned.insert(m_pinned.begin() + pinnedBefore(m_current), {m_current, std::move(values)});
                m_excluded.push_back(stored);
                --m_lazyCount;
                invalidateWindow();
            }
        }
        setState(false, true);
        emit rowChanged(m_current);
    }
    emit currentChanged(m_current);
    return true;
}

bool RecordSource::deleteCurrent()
{
    QString why;
    if (!writable(&why))
        return fail(QStringLiteral("Der Datensatz wurde nicht gelöscht. ") + why);
    const Row *current = m_adding ? nullptr : row(m_current);
    if (!current || m_idColumn < 0)
        return fail(QStringLiteral("Der Datensatz wurde nicht gelöscht. Es ist kein gespeicherter Datensatz "
                                   "ausgewählt."));
    const qint64 id = (*current)[size_t(m_idColumn)].toLongLong();
    sqlite3_stmt *stmt = nullptr;
    if (!prepare(QStringLiteral("delete from %1 where rowid=?").arg(quotedName(m_editTable)), &stmt, nullptr))
        return failEngine(QStringLiteral("Der Datensatz wurde nicht gelöscht."));
    sqlite3_bind_int64(stmt, 1, id);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return failEngine(QStringLiteral("Der Datensatz wurde nicht gelöscht."));

    // The row leaves the result; the current position stays where it was.
    const int position = m_current;
    emit rowAboutToBeRemoved(position);
    if (m_whole) {
        m_rows.erase(m_rows.begin() + position);
    } else if (m_byId) {
        m_ids.erase(m_ids.begin() + position);
        invalidateWindow();
    } else {
        const int pinned = pinnedAt(position);
        if (pinned >= 0)
            m_pinned.erase(m_pinned.begin() + pinned);
        else
            --m_lazyCount;
        for (size_t i = size_t(pinnedBefore(position)); i < m_pinned.size(); ++i)
            --m_pinned[i].position;
        invalidateWindow();
    }
    --m_count;
    setState(false, true);
    emit rowRemoved(position);
    emit currentChanged(m_current);
    return true;
}

void RecordSource::cancel()
{
    if (m_adding)
        m_current = std::clamp(m_beforeAdd, -1, m_count);
    setState(false, true);
    emit currentChanged(m_current);
}

bool RecordSource::forEachRow(const std::function<bool(const RowReader &)> &visit)
{
    if (!m_db)
        return fail(m_error.isEmpty() ? QStringLiteral("Die Datenbank ist nicht geöffnet.") : m_error);
    sqlite3_stmt *stmt = nullptr;
    const QString sql = m_query.isNull() ? m_sql : m_query.engineSql();
    if (!prepare(sql, &stmt, &m_query))
        return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."));
    if (!sqlite3_stmt_readonly(stmt)) {
        sqlite3_finalize(stmt);
        return fail(QStringLiteral("Die Abfrage würde Daten ändern und wird nicht ausgeführt."));
    }
    QHash<QString, int> index;
    for (int c = sqlite3_column_count(stmt) - 1; c >= 0; --c)
        index.insert(QString::fromUtf8(sqlite3_column_name(stmt, c)).toCaseFolded(), c);
    const RowReader reader = [&](const QString &column) {
        const int c = index.value(column.toCaseFolded(), -1);
        return c < 0 ? QVariant() : columnValue(stmt, c);
    };
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!visit(reader)) {
            rc = SQLITE_DONE;
            break;
        }
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return failEngine(QStringLiteral("Die Daten können nicht vollständig gelesen werden."));
    return true;
}

} // namespace data
