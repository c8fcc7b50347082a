#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace data {
class RecordSource;
}

namespace ui {

// A grid column: header caption and the field it shows.
struct GridColumn {
    QString caption;
    QString field;
};

// The rows of a record source under a fixed set of columns. Rows are read only when shown.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(data::RecordSource *source, std::vector<GridColumn> columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const std::vector<GridColumn> &gridColumns() const { return m_columns; }

private:
    void resolveColumns();

    data::RecordSource *m_source;
    std::vector<GridColumn> m_columns;
    std::vector<int> m_sourceColumn; // per grid column; -1 when the result lacks the field
};

} // namespace ui
