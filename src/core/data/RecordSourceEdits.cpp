#include "core/data/RecordSource.h"

#include <algorithm>

// The current row of a record source and the edits of it.
namespace data {
namespace {
const QString kNotOpen = QStringLiteral("Die Datenbank ist nicht geöffnet.");

// Ends a wait for another program's lock when the operation that waited is over.
struct WaitEnd {
    sql::Database &db;
    ~WaitEnd() { db.endWait(); }
};
} // namespace

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
    const WaitEnd waited{m_db};
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
    const WaitEnd waited{m_db};
    TableWriter writer(&m_db, m_editTable, m_fileName);
    if (const QString why = writeRefusal(writer); !why.isEmpty())
        return fail(QStringLiteral("Der Datensatz wurde nicht gelöscht. ") + why);
    const Row *current = m_edits.isAdding() ? nullptr : row(m_current);
    if (!current || m_idColumn < 0)
        return fail(QStringLiteral("Der Datensatz wurde nicht gelöscht. Es ist kein gespeicherter Datensatz "
                                   "ausgewählt."));
    if (const QString error = writer.remove((*current)[size_t(m_idColumn)].toLongLong()); !error.isEmpty())
        return fail(error);

    // The row leaves the result, and the pending change with it, before anyone reacts to the row
    // going. The row that takes its place (or the new last) becomes current.
    const int position = m_current;
    const EditState before = editState();
    m_edits.clear();
    endEdits(before);
    emit rowAboutToBeRemoved(position);
    m_result->removed(position);
    m_current = std::min(position, recordCount() - 1);
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

} // namespace data
