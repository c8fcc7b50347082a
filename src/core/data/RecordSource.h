#pragma once
#include "core/data/EditBuffer.h"
#include "core/data/Query.h"
#include "core/data/Result.h"
#include "core/sql/Sqlite.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace data {

// The data control of a window: one SQLite connection of its own, a query, its result with an
// exact count, a current row, and the edits of one table.
//
// The result is a snapshot that edits change in place: a saved new row is added at its end, a
// deleted row leaves it, a changed row keeps its place, all without running the query again.
// Rows are read from the file when shown, with no statement kept open between calls, so the file
// is never held locked by a window that only shows it.
//
// Nothing throws: every operation reports success, and lastError() tells in German what failed.
class RecordSource : public QObject {
    Q_OBJECT
public:
    enum class Mode { ReadOnly, ReadWrite };
    using EditState = EditBuffer::State;

    // One row of a walk over the whole result: a column's value by name (any case).
    using RowReader = std::function<QVariant(const QString &column)>;

    explicit RecordSource(QObject *parent = nullptr);
    ~RecordSource() override;

    // Opens the file by the name given (a bare name resolves against the working directory).
    // Never creates a file. ReadWrite connections write through a rollback journal and sync the
    // file on every save, so a saved record survives a killed process or a power cut; a file that
    // cannot be kept so is not opened.
    bool open(const QString &fileName, Mode mode = Mode::ReadOnly);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    QString fileName() const { return m_fileName; }

    // The query the next refresh() runs.
    void setQuery(const Query &query) { m_query = query; }
    const Query &query() const { return m_query; }
    QString recordSource() const { return m_query.text(); }

    // The one table that addNew/update/deleteCurrent write to; without it nothing is written.
    void setEditTable(const QString &table) { m_editTable = table; }
    QString editTable() const { return m_editTable; }
    // How long a write waits for another program's lock before it fails.
    void setBusyTimeout(int milliseconds) { m_db.setBusyTimeout(milliseconds); }

    // Brings a file of an earlier version up to date (its indexes): runs the statements unless the
    // file cannot be written, where the queries find their way without.
    void upgrade(const QString &statements);

    // Runs the query; the first row becomes current. Pending edits are saved first, as on any
    // move; when that fails, nothing is run and the edits stay pending.
    bool refresh();
    QString lastError() const { return m_error; }

    int recordCount() const { return m_result ? m_result->count() : 0; }
    QStringList columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // case-insensitive; -1 when absent

    // The current row; recordCount() while a new record is pending or past the end.
    int currentRow() const { return m_current; }
    bool eof() const { return m_current < 0 || m_current >= recordCount(); }
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

    EditState editState() const { return m_edits.state(); }
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
    struct Collector;

    bool fail(const QString &message);
    bool failEngine(const QString &what, int resultCode);
    static QString openFailure(const QString &fileName, int resultCode, int errorNumber);
    std::unique_ptr<Result> run(const Query &asked, QStringList *columns);
    bool collectIds(const Query &query, const QString &sql, std::vector<qint64> *ids);
    Query usable(const Query &query) const;
    const Row *row(int position) const;
    void endEdits(EditState before);
    QString writeRefusal(const TableWriter &writer) const;
    void placeStored(const TableWriter &writer, qint64 id);

    sql::Database m_db;
    std::unique_ptr<Collector> m_collector;
    QString m_fileName;
    Query m_query;
    QString m_editTable;
    QString m_error;

    // The result shown.
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    int m_idColumn = -1;
    std::unique_ptr<Result> m_result;
    int m_current = -1;
    mutable bool m_readFailed = false;

    EditBuffer m_edits;
};

} // namespace data
