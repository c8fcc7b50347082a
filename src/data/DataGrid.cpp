#include "data/DataGrid.h"

#include "data/RecordSource.h"

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
                if (current.isValid() && current.row() != m_source->currentRow())
                    m_source->setCurrentRow(current.row());
            });
    connect(source, &RecordSource::currentChanged, this, [this](int row) {
        if (row >= 0 && row < m_model->rowCount() && currentIndex().row() != row)
            setCurrentIndex(m_model->index(row, std::max(0, currentIndex().column())));
    });
}

} // namespace data
