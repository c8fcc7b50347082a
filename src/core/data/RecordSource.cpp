#include "core/data/RecordSource.h"

#include "core/data/SqlLike.h"

#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace data {
namespace {
// Results up to this size are held as the ids of their rows; larger ones are read in windows.
constexpr int kSmall = 5000;
constexpr int kBusyMs = 15000;
const QString kNotOpen = QStringLiteral("Die Datenbank ist nicht geöffnet.");
} // namespace

// Counts the rows a filter lets through in the same pass that keeps the ids of the first ones,
// as an aggregate, so the engine scans without handing every row out.
struct RecordSource::Collector {
    sqlite3_int64 count = 0;
    std::vector<qint64> ids;

    static void step(sqlite3_context *ctx, int, sqlite3_value **argv)
    {
        auto *self = static_cast<Collector *>(sqlite3_user_data(ctx));
        if (self->ids.size() < size_t(kSmall))
            self->ids.push_back(sqlite3_value_int64(argv[0]));
        ++self->count;
    }
    static void final(sqlite3_context *ctx)
    {
        sqlite3_result_int64(ctx, static_cast<Collector *>(sqlite3_user_data(ctx))->count);
    }
};

RecordSource::RecordSource(QObject *parent) : QObject(parent), m_collector(std::make_unique<Collector>()) {}

RecordSource::~RecordSource() = default;

bool RecordSource::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool RecordSource::failEngine(const QString &what, int resultCode)
{
    return fail(what + QLatin1Char(' ') + sql::engineMessage(resultCode, m_db.systemErrno()));
}

bool RecordSource::open(const QString &fileName, Mode mode)
{
    close();
    m_fileName = fileName;
    if (!QFileInfo(fileName).isFile())
        return fail(QStringLiteral("Die Datei %1 wurde nicht gefunden. Bitte die Datei in den Programmordner legen "
                                   "und das Fenster neu öffnen.")
                        .arg(fileName));
    const auto access = mode == Mode::ReadOnly ? sql::Database::Access::ReadOnly : sql::Database::Access::ReadWrite;
    int rc = m_db.open(fileName, access, kBusyMs);
    // A file that is not a database opens fine and fails at its first statement, which waits for
    // another program's lock like every other access.
    QStringList tables;
    if (rc == SQLITE_OK)
        rc = m_db.column(QStringLiteral("select count(*) from sqlite_master"), &tables);
    if (rc == SQLITE_OK && tables.value(0) == QLatin1String("0")) {
        m_db.close();
        return fail(QStringLiteral("Die Datei %1 ist leer: sie enthält keine Tabellen und ist keine Datenbank dieses "
                                   "Programms.")
                        .arg(fileName));
    }
    if (rc != SQLITE_OK) {
        const int errorNumber = m_db.systemErrno();
        m_db.close();
        return fail(openFailure(fileName, rc, errorNumber));
    }
    if (!registerLike(m_db.handle())
        || sqlite3_create_function(m_db.handle(), "kw_collect", 1, SQLITE_UTF8, m_collector.get(), nullptr,
                                   Collector::step, Collector::final)
               != SQLITE_OK) {
        m_db.close();
        return fail(QStringLiteral("Die Suche kann für die Datei %1 nicht eingerichtet werden.").arg(fileName));
    }
    if (mode == Mode::ReadWrite) {
        if (rc = m_db.makeDurable(); rc != SQLITE_OK) {
            const int errorNumber = m_db.systemErrno();
            m_db.close();
            return fail(QStringLiteral("Die Datei %1 kann nicht so geöffnet werden, dass jede Änderung sofort sicher "
                                       "gespeichert wird. ")
                            .arg(fileName)
                        + sql::engineMessage(rc, errorNumber));
        }
    }
    m_error.clear();
    return true;
}

QString RecordSource::openFailure(const QString &fileName, int resultCode, int errorNumber)
{
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Datei %1 wird gerade von einem anderen Programm benutzt und bleibt gesperrt. Bitte "
                              "das andere Programm beenden und das Fenster neu öffnen.")
            .arg(fileName);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Datei %1 ist beschädigt oder keine Datenbank dieses Programms.").arg(fileName);
    default:
        return QStringLiteral("Die Datei %1 kann nicht geöffnet werden. ").arg(fileName)
               + sql::engineMessage(resultCode, errorNumber);
    }
}

void RecordSource::close()
{
    m_db.close();
    m_result.reset();
    m_columns.clear();
    m_columnIndex.clear();
    m_idColumn = -1;
    m_current = -1;
    m_edits.clear();
}

void RecordSource::upgrade(const QString &statements)
{
    if (isOpen() && !m_db.isReadOnly())
        m_db.exec(statements);
}

std::unique_ptr<Result> RecordSource::run(const Query &asked, QStringList *columns)
{
    if (asked.isNull()) {
        fail(QStringLiteral("Die Abfrage ist leer."));
        return nullptr;
    }
    const Query query = usable(asked);
    // The columns, from the statement that reads the rows.
    sql::Statement probe = m_db.prepare(query.engineSql() + QStringLiteral(" limit 0"));
    if (!probe.ok()) {
        sql::Statement table = m_db.prepare(QStringLiteral("select 1 from sqlite_master where type in ('table', "
                                                           "'view') and name = ? collate nocase"));
        table.bind(1, query.table());
        if ((probe.resultCode() & 0xff) == SQLITE_ERROR && table.ok() && !table.next())
            fail(QStringLiteral("In der Datei %1 fehlt die Tabelle „%2“.").arg(m_fileName, query.table()));
        else
            failEngine(QStringLiteral("Die Abfrage kann nicht ausgeführt werden."), probe.resultCode());
        return nullptr;
    }
    for (int c = 0; c < probe.columnCount(); ++c)
        *columns << probe.columnName(c);
    TableReader reader(&m_db, query, *columns);
    std::vector<qint64> ids;
    // With an index that holds the order and the searched column, one pass over it tests every
    // row and hands out the hits in order, wherever they fall in it.
    if (query.filter() && !query.order().index.isEmpty()) {
        if (!collectIds(query, query.engineSql({.columns = QStringLiteral("rowid")}), &ids))
            return nullptr;
        return idResult(std::move(reader), std::move(ids));
    }
    // The exact count. With a filter every row is tested anyway: one scan counts and keeps the
    // ids of the first hits; a small result is then put in order by those ids alone.
    const QString table = quotedName(query.table());
    sql::Statement counting =
        m_db.prepare(query.filter() ? QStringLiteral("select kw_collect(rowid) from %1 where %2 like ?1")
                                          .arg(table, quotedName(query.filter()->column))
                                    : QStringLiteral("select count(*) from %1").arg(table));
    if (query.filter())
        counting.bind(1, query.filter()->pattern);
    *m_collector = {};
    const int rc = counting.step();
    if (rc != SQLITE_ROW) {
        failEngine(QStringLiteral("Die Daten können nicht gelesen werden."), rc);
        return nullptr;
    }
    const qint64 count = counting.integer(0);
    if (count > kSmall)
        return windowedResult(std::move(reader), int(count));
    const Query unfiltered = Query(query.table()).orderBy(query.order());
    const QString ordering =
        query.filter()
            ? unfiltered.engineSql({.columns = QStringLiteral("rowid"),
                                    .condition = QStringLiteral("rowid in (%1)").arg(idList(m_collector->ids)),
                                    .byIndex = false})
            : unfiltered.engineSql({.columns = QStringLiteral("rowid")});
    if (!collectIds(unfiltered, ordering, &ids))
        return nullptr;
    return idResult(std::move(reader), std::move(ids));
}

bool RecordSource::collectIds(const Query &query, const QString &sql, std::vector<qint64> *ids)
{
    sql::Statement statement = m_db.prepare(sql);
    if (query.filter())
        statement.bind(1, query.filter()->pattern);
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW)
        ids->push_back(statement.integer(0));
    if (rc != SQLITE_DONE)
        return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."), rc);
    return true;
}

Query RecordSource::usable(const Query &query) const
{
    // A file of an earlier version may lack the index of the order: the engine finds its own way.
    const QString index = query.order().index;
    if (index.isEmpty())
        return query;
    sql::Statement statement =
        m_db.prepare(QStringLiteral("select 1 from sqlite_master where type = 'index' and name = ?"));
    statement.bind(1, index);
    return statement.next() ? query : query.withoutIndex();
}

bool RecordSource::refresh()
{
    if (!isOpen())
        return fail(m_error.isEmpty() ? kNotOpen : m_error);
    if (!savePending())
        return false;
    QStringList columns;
    std::unique_ptr<Result> result = run(m_query, &columns);
    if (!result)
        return false;
    m_columns = columns;
    m_columnIndex.clear();
    for (int c = int(columns.size()) - 1; c >= 0; --c) // the first of two equal names wins
        m_columnIndex.insert(columns.at(c).toCaseFolded(), c);
    m_idColumn = columnIndex(QStringLiteral("id"));
    m_result = std::move(result);
    m_readFailed = false;
    m_current = 0;
    m_error.clear();
    emit refreshed();
    emit currentChanged(m_current);
    return true;
}

int RecordSource::columnIndex(const QString &name) const { return m_columnIndex.value(name.toCaseFolded(), -1); }

const Row *RecordSource::row(int position) const
{
    if (!m_result || position < 0 || position >= m_result->count())
        return nullptr;
    const Row *values = m_result->row(position);
    if (!values && !m_readFailed) { // told once per result
        m_readFailed = true;
        emit const_cast<RecordSource *>(this)->readFailed(
            QStringLiteral("Ein Teil der Daten aus %1 konnte nicht gelesen werden; die Liste zeigt leere "
                           "Zeilen. Bitte das Fenster schließen und neu öffnen.")
                .arg(m_fileName));
    }
    return values;
}

QVariant RecordSource::value(int row, int column) const
{
    const Row *values = column >= 0 && column < int(m_columns.size()) ? this->row(row) : nullptr;
    return values ? (*values)[size_t(column)] : QVariant();
}

QVariant RecordSource::field(const QString &name) const
{
    if (const auto pending = m_edits.value(name))
        return *pending;
    if (m_edits.isAdding())
        return QVariant();
    return value(m_current, columnIndex(name));
}

bool RecordSource::setCurrentRow(int row)
{
    // Moving off a pending record saves it, as the data control always did; a failed save keeps
    // the record and its values where they are.
    if (row != m_current && !savePending()) {
        emit currentChanged(m_current);
        return false;
    }
    m_current = std::clamp(row, -1, recordCount());
    emit currentChanged(m_current);
    return true;
}

void RecordSource::endEdits(EditState before)
{
    if (editState() != before)
        emit editStateChanged(editState());
}

bool RecordSource::savePending()
{
    if (editState() == EditState::Browsing)
        return true;
    if (m_edits.isAdding() && m_edits.isEmpty()) { // a new record nothing was entered into
        m_current = std::clamp(m_edits.returnTo(), -1, recordCount());
        m_edits.clear();
        endEdits(EditState::Adding);
        return true;
    }
    return update();
}

bool RecordSource::addNew()
{
    if (!isOpen())
        return fail(m_error.isEmpty() ? kNotOpen : m_error);
    if (m_editTable.isEmpty() || m_columns.isEmpty())
        return fail(QStringLiteral("In diese Daten kann nicht geschrieben werden."));
    if (editState() == EditState::Editing && !update())
        return false;
    const EditState before = editState();
    m_edits.startAdding(m_current);
    m_current = recordCount();
    endEdits(before);
    emit currentChanged(m_current);
    return true;
}

void RecordSource::setField(const QString &name, const QVariant &value)
{
    const EditState before = editState();
    m_edits.set(name, value);
    endEdits(before);
}

QString RecordSource::writeRefusal(const TableWriter &writer) const
{
    if (!isOpen())
        return m_error.isEmpty() ? kNotOpen : m_error;
    if (m_editTable.isEmpty() || m_columns.isEmpty())
        return QStringLiteral("In diese Daten kann nicht geschrieben werden.");
    return writer.refusal();
}

bool RecordSource::update()
{
    if (editState() == EditState::Browsing)
        return true;
    TableWriter writer(&m_db, m_editTable, m_fileName);
    if (const QString why = writeRefusal(writer); !why.isEmpty())
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. ") + why);
    const bool adding = m_edits.isAdding();
    const Row *current = adding ? nullptr : row(m_current);
    if (!adding && (m_idColumn < 0 || !current))
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. Es ist kein Datensatz ausgewählt, "
                                   "in den die Änderungen geschrieben werden könnten."));
    EditBuffer::Values values;
    if (!m_edits.inOrderOf(m_columns, m_idColumn, &values))
        return fail(QStringLiteral("Der Datensatz wurde nicht gespeichert. Eine Spalte fehlt in der Tabelle %1.")
                        .arg(m_editTable));
    qint64 id = adding ? 0 : (*current)[size_t(m_idColumn)].toLongLong();
    if (const QString error = adding ? writer.insert(values, &id) : writer.update(id, values); !error.isEmpty())
        return fail(error);
    placeStored(writer, id);
    return true;
}

void RecordSource::placeStored(const TableWriter &writer, qint64 id)
{
    // The stored row as the engine holds it now, in its place in the result.
    Row values;
    if (!writer.readBack(id, m_columns, &values)) {
        values.assign(m_columns.size(), QVariant());
        for (int c = 0; c < int(m_columns.size()); ++c)
            values[size_t(c)] = m_edits.value(m_columns.at(c)).value_or(QVariant());
        if (m_idColumn >= 0)
            values[size_t(m_idColumn)] = QString::number(id);
    }
    const EditState before = editState();
    if (m_edits.isAdding()) {
        const int position = recordCount();
        emit rowAboutToBeInserted(position);
        m_result->appended(id, std::move(values));
        m_current = position;
        m_edits.clear();
        endEdits(before);
        emit rowInserted(position);
    } else {
        m_result->changed(m_current, id, std::move(values));
        m_edits.clear();
        endEdits(before);
        emit rowChanged(m_current);
    }
    emit currentChanged(m_current);
}

bool RecordSource::deleteCurrent()
{
    TableWriter writer(&m_db, m_editTable, m_fileName);
    if (const QString why = writeRefusal(writer); !why.isEmpty())
        return fail(QStringLiteral("Der Datensatz wurde nicht gelöscht. ") + why);
    const Row *current = m_edits.isAdding() ? nullptr : row(m_current);
    if (!current || m_idColumn < 0)
        return fail(QStringLiteral("Der Datensatz wurde nicht gelöscht. Es ist kein gespeicherter Datensatz "
                                   "ausgewählt."));
    if (const QString error = writer.remove((*current)[size_t(m_idColumn)].toLongLong()); !error.isEmpty())
        return fail(error);

    // The row leaves the result; the current position stays where it was.
    const int position = m_current;
    const EditState before = editState();
    emit rowAboutToBeRemoved(position);
    m_result->removed(position);
    m_edits.clear();
    endEdits(before);
    emit rowRemoved(position);
    emit currentChanged(m_current);
    return true;
}

void RecordSource::cancel()
{
    const EditState before = editState();
    if (m_edits.isAdding())
        m_current = std::clamp(m_edits.returnTo(), -1, recordCount());
    m_edits.clear();
    endEdits(before);
    emit currentChanged(m_current);
}

bool RecordSource::forEachRow(const std::function<bool(const RowReader &)> &visit)
{
    if (!isOpen())
        return fail(m_error.isEmpty() ? kNotOpen : m_error);
    const Query query = usable(m_query);
    sql::Statement statement = m_db.prepare(query.engineSql());
    if (!statement.ok())
        return failEngine(QStringLiteral("Die Daten können nicht gelesen werden."), statement.resultCode());
    if (m_query.filter())
        statement.bind(1, m_query.filter()->pattern);
    QHash<QString, int> index;
    for (int c = statement.columnCount() - 1; c >= 0; --c)
        index.insert(statement.columnName(c).toCaseFolded(), c);
    const RowReader reader = [&](const QString &column) {
        const int c = index.value(column.toCaseFolded(), -1);
        return c < 0 ? QVariant() : statement.value(c);
    };
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
        if (!visit(reader)) {
            rc = SQLITE_DONE;
            break;
        }
    }
    if (rc != SQLITE_DONE)
        return failEngine(QStringLiteral("Die Daten können nicht vollständig gelesen werden."), rc);
    return true;
}

} // namespace data
