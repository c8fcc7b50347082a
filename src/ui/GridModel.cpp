#include "ui/GridModel.h"

#include "core/data/RecordSource.h"

namespace ui {

GridModel::GridModel(data::RecordSource *source, std::vector<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_source(source), m_columns(std::move(columns))
{
    resolveColumns();
    connect(source, &data::RecordSource::refreshed, this, [this] {
        beginResetModel();
        resolveColumns();
        endResetModel();
    });
    connect(source, &data::RecordSource::rowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
    // Saved and deleted rows change the shown result in place.
    connect(source, &data::RecordSource::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(source, &data::RecordSource::rowInserted, this, [this] { endInsertRows(); });
    connect(source, &data::RecordSource::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(source, &data::RecordSource::rowRemoved, this, [this] { endRemoveRows(); });
}

void GridModel::resolveColumns()
{
    m_sourceColumn.clear();
    for (const GridColumn &c : m_columns)
        m_sourceColumn.push_back(m_source->columnIndex(c.field));
}

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_source->recordCount(); }

int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const int column = m_sourceColumn[size_t(index.column())];
    return column < 0 ? QVariant() : m_source->value(index.row(), column);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < int(m_columns.size()) ? QVariant(m_columns[size_t(section)].caption)
                                                               : QVariant();
    return QVariant();
}

} // namespace ui
