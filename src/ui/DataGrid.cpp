#include "ui/DataGrid.h"

#include "core/data/RecordSource.h"
#include "ui/MessageBox.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QToolTip>

namespace ui {

DataGrid::DataGrid(data::RecordSource *source, std::vector<GridColumn> columns, QWidget *parent)
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
    horizontalHeader()->setStretchLastSection(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        // A pending record is saved before the move; when that fails, the user is told
        // and the selection goes back to the record that keeps the typed values.
        if (current.isValid() && current.row() != m_source->currentRow() && !m_source->setCurrentRow(current.row()))
            ui::critical(window(), m_source->lastError());
    });
    connect(source, &data::RecordSource::currentChanged, this, &DataGrid::showCurrent);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::fitColumns);
}

void DataGrid::fitColumns()
{
    const int columns = m_model->columnCount();
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int first = std::max(0, rowAt(0));
    const int last = std::min(m_model->rowCount(), first + viewport()->height() / rowHeight + 1) - 1;
    const int widest = std::max(horizontalHeader()->minimumSectionSize(), viewport()->width() / 2);
    // A little air beside the text, and the grid line.
    const int padding = fontMetrics().averageCharWidth() + (showGrid() ? 1 : 0);
    for (int c = 0; c < columns; ++c) {
        int width = horizontalHeader()->sectionSizeHint(c);
        int content = 0;
        for (int r = first; r <= last; ++r)
            content = std::max(content, sizeHintForIndex(m_model->index(r, c)).width() + padding);
        width = std::max(width, std::min(content, widest));
        setColumnWidth(c, width);
    }
    m_fittedHeight = viewport()->height();
}

bool DataGrid::isCut(const QModelIndex &index) const
{
    return index.isValid() && sizeHintForIndex(index).width() > visualRect(index).width();
}

void DataGrid::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    fitColumns();
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    // More or fewer rows in view than at the last fit: fit again to what is shown now.
    if (isVisible() && viewport()->height() != m_fittedHeight)
        fitColumns();
}

bool DataGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = indexAt(help->pos());
        if (isCut(index))
            QToolTip::showText(help->globalPos(), index.data().toString(), viewport(), visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
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

} // namespace ui
