#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// The data control of a window: one SQLite connection of its own, a query text (the record
// source), the result with an exact count and lazily read rows, a current row, and edits.
// Nothing throws: every operation reports success, and lastError() tells what failed.
class RecordSource : public QObject {
    Q_OBJECT
public:
    enum class Mode { ReadOnly, ReadWrite };

    explicit RecordSource(QObject *parent = nullptr);
    ~RecordSource() override;

    // Opens the file by the name given (a bare name resolves against the working directory).
    // Never creates a file.
    bool open(const QString &fileName, Mode mode = Mode::ReadOnly);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_fileName; }

    void setRecordSource(const QString &sql) { m_sql = sql; }
    QString recordSource() const { return m_sql; }

    // Runs the record source; on success the current row is the first one.
    bool refresh();
    QString lastError() const { return m_error; }

    int recordCount() const { return m_count; }
    QStringList columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // case-insensitive; -1 when absent

    int currentRow() const { return m_current; }
    bool eof() const { return m_current >= m_count || m_count == 0; }
    bool bof() const { return m_current < 0; }
    void move(int rows);                // relative to the current row
    void moveNext() { move(1); }
    void moveFirst() { setCurrentRow(0); }
    void setCurrentRow(int row);

    // Value of a column by name in the current row, read as text; null QVariant for NULL.
    QVariant field(const QString &name) const;
    QString fieldText(const QString &name) const { return field(name).toString(); }
    QVariant value(int row, int column) const;

    // Edits. setField changes the current (or pending new) row in memory; update() writes it.
    bool addNew();
    bool isAdding() const { return m_adding; }
    bool isEditing() const { return m_adding || !m_pending.isEmpty(); }
    void setField(const QString &name, const QVariant &value);
    bool update();
    bool deleteCurrent();
    void cancel();

signals:
    void refreshed();                 // the result was replaced
    void currentChanged(int row);     // the current row moved
    void rowChanged(int row);         // a row's values changed

private:
    using Row = std::vector<QVariant>;
    bool fail(const QString &message);
    const Row *row(int index) const;
    std::optional<int> countRows() const;
    bool readRows(int offset, int limit, std::vector<Row> *rows) const;
    int positionOfId(const QVariant &id) const;
    QString tableName() const;
    bool execWrite(const QString &sql, const QVariantList &binds, QString *error);

    sqlite3 *m_db = nullptr;
    QString m_fileName;
    QString m_sql;
    QString m_resultSql; // the query behind the rows shown; a failed refresh keeps both
    QString m_error;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    int m_count = 0;
    int m_current = -1;
    // Rows held in memory: the first rows of the result, and a window of rows read on demand.
    // No statement stays open between calls, so the file is never held locked.
    std::vector<Row> m_rows;
    mutable int m_windowStart = 0;
    mutable std::vector<Row> m_window;
    // Edits
    bool m_adding = false;
    QHash<int, QVariant> m_pending; // column -> new value
};

} // namespace data
