#pragma once
#include "core/data/Query.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// The data control of a window: one SQLite connection of its own, a query (the record source),
// its result with an exact count, a current row, and edits of one table.
//
// The result is a snapshot that edits change in place: a saved new row is added at its end, a
// deleted row leaves it, a changed row keeps its place, all without running the query again.
// Small results are held whole; large ones are read in windows when shown, with no statement
// kept open between calls, so the file is never held locked.
//
// Nothing throws: every operation reports success, and lastError() tells in German what failed.
class RecordSource : public QObject {
    Q_OBJECT
public:
    enum class Mode { ReadOnly, ReadWrite };
    enum class EditState {
        Browsing, // nothing pending
        Adding,   // a new record is pending (addNew)
        Editing,  // changed values of the current record are pending
    };

    // One row of a walk over the whole result: a column's value by name (any case).
    using RowReader = std::function<QVariant(const QString &column)>;

    explicit RecordSource(QObject *parent = nullptr);
    ~RecordSource() override;

    // Opens the file by the name given (a bare name resolves against the working directory).
    // Never creates a file. ReadWrite connections write through a rollback journal and sync the
    // file on every save, so a saved record survives a killed process or a power cut.
    bool open(const QString &fileName, Mode mode = Mode::ReadOnly);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_fileName; }

    // The query the next refresh() runs. A Query runs from its parts; a plain SQL text runs as
    // it stands (a statement that would change data is refused).
    void setQuery(const Query &query);
    void setRecordSource(const QString &sql);
    QString recordSource() const { return m_query.isNull() ? m_sql : m_query.text(); }
    const Query &query() const { return m_query; }

    // The one table that addNew/update/deleteCurrent write to; without it nothing is written.
    void setEditTable(const QString &table) { m_editTable = table; }
    QString editTable() const { return m_editTable; }
    // How long a write waits for another program's lock before it fails.
    void setBusyTimeout(int milliseconds);

    // Creates the index the German order of a column needs, where the file lacks it
    // (logbook files from earlier versions). Fails quietly on a read-only file.
    void ensureSortIndex(const QString &table, const QString &column);

    // Runs the query; the first row becomes current. Pending edits are saved first, as on any
    // move; when that fails, nothing is run and the edits stay pending.
    bool refresh();
    QString lastError() const { return m_error; }

    int recordCount() const { return m_count; }
    QStringList columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // case-insensitive; -1 when absent

    // The current row; recordCount() while a new record is pending or past the end.
    int currentRow() const { return m_current; }
    bool eof() const { return m_current < 0 || m_current >= m_count; }
    // Moving off a record with pending edits saves them first (false, and no move, when that
    // fails).
    bool setCurrentRow(int row);
    bool move(int rows) { return setCurrentRow(m_current + rows); }
    bool moveNext() { return move(1); }
    bool moveFirst() { return setCurrentRow(0); }

    // Value of a column by name in the current row (pending values included); null for NULL.
    QVariant field(const QString &name) const;
    QString fieldText(const QString &name) const { return field(name).toString(); }
    // A shown value, without pending edits; null when the row cannot be read.
    QVariant value(int row, int column) const;

    EditState editState() const;
    bool addNew();
    // A new value for a column of the current (or pending new) record; written by update().
    void setField(const QString &name, const QVariant &value);
    bool update();
    // Saves pending edits the way a move off the record does (a new record nothing was entered
    // into is dropped); true when nothing is left pending.
    bool savePending();
    bool deleteCurrent();
    void cancel();

    // Walks every row of the current query once, in its order, over one statement. visit
    // returns false to stop early. False with lastError() when the engine fails.
    bool forEachRow(const std::function<bool(const RowReader &)> &visit);

signals:
    void refreshed();             // the result was replaced
    void currentChanged(int row); // the current row moved, or its values changed
    void rowChanged(int row);     // a row's shown values changed
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void editStateChanged(EditState state);
    void readFailed(const QString &message); // rows of the result could not be read

private:
    using Row = std::vector<QVariant>;
    struct Pinned {
        int position;
        Row row;
    };
    struct Collector;

    bool fail(const QString &message);
    bool failEngine(const QString &what);
    bool refreshQuery();
    bool refreshText();
    // Reads every row of a statement into rows; the pattern of patternOf (if given) is bound.
    bool materialize(const QString &sql, std::vector<Row> *rows, const Query *patternOf = nullptr) const;
    // Prepares a statement, binding the pattern of the query given (if any) as ?1.
    bool prepare(const QString &sql, sqlite3_stmt **stmt, const Query *patternOf) const;
    const Row *row(int position) const;
    const Row *lazyRow(int index) const;
    const Row *idRow(int position) const;
    void tellReadFailed() const;
    bool readWindow(int start, int limit, bool reverse, std::vector<Row> *rows) const;
    QString exclusion() const;
    int pinnedBefore(int position) const;
    int pinnedAt(int position) const;
    void invalidateWindow() const;
    bool readRowById(qint64 id, Row *row);
    bool writable(QString *why) const;
    void setState(bool adding, bool clearPending);

    sqlite3 *m_db = nullptr;
    Collector *m_collector = nullptr;
    QString m_fileName;
    Query m_query;
    QString m_sql;
    QString m_editTable;
    QString m_error;

    // The result shown.
    Query m_resultQuery; // the query behind it (null for a plain text)
    QString m_resultSql; // the plain text behind it
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    int m_idColumn = -1;
    int m_count = 0;
    int m_current = -1;
    bool m_whole = true;     // every row is in m_rows (a small result of a plain text)
    std::vector<Row> m_rows; // whole: all rows; otherwise the first rows of a plain text
    // A small result of a Query: the ids of its rows in order, the rows read by id when shown.
    bool m_byId = false;
    std::vector<qint64> m_ids;
    // A large result of a Query: rows read in windows from the engine, leaving out the rows
    // whose place and values are held here (changed or added since the refresh).
    int m_lazyCount = 0;
    std::vector<Pinned> m_pinned; // sorted by position
    std::vector<qint64> m_excluded;
    mutable int m_windowStart = 0;
    mutable std::vector<Row> m_window;
    mutable bool m_readFailed = false;

    // Edits
    bool m_adding = false;
    int m_beforeAdd = -1;
    QHash<QString, std::pair<QString, QVariant>> m_pending; // folded name -> (name, value)
    EditState m_state = EditState::Browsing;
};

// A German text for an SQLite result code, never the engine's own English.
QString engineMessage(int resultCode);

} // namespace data
