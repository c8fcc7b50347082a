#pragma once
#include "data/GridModel.h"

#include <QTableView>

namespace data {

// DataGrid1: a read-only table bound to a record source; selecting a row moves the current row.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(RecordSource *source, std::vector<GridColumn> columns, QWidget *parent = nullptr);
    GridModel *gridModel() const { return m_model; }

private:
    void showCurrent(int row);

    RecordSource *m_source;
    GridModel *m_model;
};

} // namespace data
