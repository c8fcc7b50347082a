#pragma once
#include "core/data/Query.h"
#include "ui/DataGrid.h"

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <optional>

namespace lists {

// What one frequency list window shows.
struct ListDefinition {
    const char *name;
    QString caption;
    data::Query recordSource;
    std::vector<ui::GridColumn> columns;
    QSize clientTwips;
    std::optional<QPoint> placeTwips; // placed at this point on every new load
};

const std::vector<ListDefinition> &listDefinitions();

// A fixed-size window with a read-only grid over one reference table.
class ListWindow : public QWidget {
    Q_OBJECT
public:
    explicit ListWindow(const ListDefinition &definition, QWidget *parent = nullptr);
    data::RecordSource *dataControl() const { return m_source; }
    ui::DataGrid *grid() const { return m_grid; }

private:
    data::RecordSource *m_source;
    ui::DataGrid *m_grid;
};

} // namespace lists
