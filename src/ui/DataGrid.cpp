#include "ui/DataGrid.h"

#include "core/data/RecordSource.h"
#include "ui/MessageBox.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QScrollBar>
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
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_wanted.clear(); // a new result: its own widths
        fitColumns();
    });
    // Rows scrolled into view may need more room.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (isVisible())
            fitColumns();
    });
}

void DataGrid::fitColumns()
{
    const int columns = m_model->columnCount();
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int first = std::max(0, rowAt(0));
    const int last = std::min(m_model->rowCount(), first + viewport()->height() / rowHeight + 1) - 1;
    // A little air beside the text, and the grid line.
    const int padding = fontMetrics().averageCharWidth() + (showGrid() ? 1 : 0);
    m_wanted.resize(size_t(columns), 0);
    std::vector<int> least(static_cast<size_t>(columns), 0);
    for (int c = 0; c < columns; ++c) {
        least[size_t(c)] = horizontalHeader()->sectionSizeHint(c);
        // What a column needs only grows while the rows of one result pass by: scrolling back to
        // shorter values does not make the columns jump.
        int &wanted = m_wanted[size_t(c)];
        for (int r = first; r <= last; ++r)
            wanted = std::max(wanted, sizeHintForIndex(m_model->index(r, c)).width() + padding);
        wanted = std::max(wanted, least[size_t(c)]);
    }
    const std::vector<int> widths = shareWidth(m_wanted, least, viewport()->width());
    for (int c = 0; c < columns; ++c)
        setColumnWidth(c, widths[size_t(c)]);
    m_fittedHeight = viewport()->height();
}

std::vector<int> DataGrid::shareWidth(const std::vector<int> &wanted, const std::vector<int> &least, int width)
{
    // Every column as wide as it wants while all fit; otherwise the widest are held to one cap so
    // that all columns stay in view, none below its header. The cap is the largest that fits.
    auto total = [&](int cap) {
        long sum = 0;
        for (size_t c = 0; c < wanted.size(); ++c)
            sum += std::max(least[c], std::min(wanted[c], cap));
        return sum;
    };
    if (wanted.empty())
        return wanted;
    int low = 0, high = *std::max_element(wanted.begin(), wanted.end());
    if (total(high) <= width)
        return wanted;
    if (total(0) > width) // not even the headers fit: the grid scrolls sideways, no column is cut below them
        low = high = *std::max_element(least.begin(), least.end());
    while (low < high) {
        const int cap = (low + high + 1) / 2;
        if (total(cap) <= width)
            low = cap;
        else
            high = cap - 1;
    }
    std::vector<int> widths(wanted.size());
    for (size_t c = 0; c < wanted.size(); ++c)
        widths[c] = std::max(least[c], std::min(wanted[c], low));
    return widths;
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
    // More or fewer rows in view, or another width than at the last fit: fit again.
    if (isVisible() && (viewport()->height() != m_fittedHeight || event->size().width() != event->oldSize().width()))
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
