#include "data/DataGrid.h"

#include "data/RecordSource.h"
#include "ui/MessageBox.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace data {

DataGrid::DataGrid(RecordSource *source, std::vector<GridColumn> columns, QWidget *parent)
    : QTableView(parent), m_source(source), m_model(new GridModel(source, std::move(columns), this))
{
    setObjectName(QStringLiteral("DataGrid1"));
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(18); // the record selector column
    horizontalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                // A pending record is saved before the move; when that fails, the user is told
                // and the selection goes back to the record that keeps the typed values.
                if (current.isValid() && current.row() != m_source->currentRow()
                    && !m_source->setCurrentRow(current.row()))
                    ui::critical(window(), m_source->lastError());
            });
    connect(source, &RecordSource::currentChanged, this, &DataGrid::showCurrent);
}

void DataGrid::showCurrent(int row)
{
    // A pending new record and the end of the result have no row in the grid.
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        return;
    }
    if (currentIndex().row() != row)
        setCurrentIndex(m_model->index(row, std::max(0, currentIndex().column())));
    else if (!selectionModel()->isRowSelected(row, {}))
        selectRow(row);
}

} // namespace data
