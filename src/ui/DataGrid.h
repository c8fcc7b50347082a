#pragma once
#include "ui/GridModel.h"

#include <QTableView>

namespace ui {

// DataGrid1: a read-only table bound to a record source; selecting a row moves the current row.
// Every column is as wide as its header and the rows in view need, the last one stretches to the
// window, and a cell cut short shows its full text as a tool tip.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(data::RecordSource *source, std::vector<GridColumn> columns, QWidget *parent = nullptr);

    // Sizes the columns to the header and the rows that have been in view of this result (never
    // reading further rows), and keeps every column in view: when they do not all fit, the widest
    // share one cap. Runs by itself when the grid is shown, scrolled, resized or gets a new result.
    void fitColumns();
    // The widths for columns that want these widths and need at least these, in a grid this wide.
    static std::vector<int> shareWidth(const std::vector<int> &wanted, const std::vector<int> &least, int width);
    // Whether the cell shows less than its whole text.
    bool isCut(const QModelIndex &index) const;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void showCurrent(int row);

    data::RecordSource *m_source;
    GridModel *m_model;
    int m_fittedHeight = -1;   // viewport height the columns were last fitted for
    std::vector<int> m_wanted; // per column: the widest of the rows seen in this result
};

} // namespace ui
