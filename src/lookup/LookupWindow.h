#pragma once
#include "core/data/Query.h"
#include "ui/DataGrid.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>
#include <vector>

class QHBoxLayout;
class QVBoxLayout;
class QLineEdit;
class QPushButton;

namespace data {
class RecordSource;
}

namespace lookup {

// What the four look-up windows share: the data control Adodc1 on the reference file, the grid
// DataGrid1 under a row of search controls, and running a query without ever failing hard.
class LookupWindow : public QWidget {
    Q_OBJECT
public:
    data::RecordSource *dataControl() const { return m_source; }
    ui::DataGrid *grid() const { return m_grid; }
    QSize sizeHint() const override { return m_preferredSize; }

protected:
    // Opens Adodc1 with the query the window shows first. The design-time query of the windows
    // that replace it at load would only be thrown away, so the control opens with the load
    // query straight away.
    LookupWindow(const char *name, const QString &designCaption, const data::Query &firstQuery,
                 std::vector<ui::GridColumn> columns, QSize preferredSize, QWidget *parent);

    // Sets the query and runs it. On a database error the user is told, the grid keeps what it
    // showed and false comes back; the window stays open and usable.
    bool runQuery(const data::Query &query);

    // True when the first query ran, so the caption may show the table's row count.
    bool loaded() const { return m_loaded; }
    // The caption with the row count: before + digits + " Datensätze".
    void showCount(const QString &before);

    // The row above the grid that takes the frames and buttons.
    QHBoxLayout *controls() const { return m_controls; }

    // A frame with one search box and its button side by side, added to the row above the grid.
    // Return in the box clicks the button.
    struct Search {
        QLineEdit *edit;
        QPushButton *button;
    };
    Search addSearch(const char *frame, const QString &caption, const char *edit, const char *button,
                     const QString &buttonText, int stretch = 1);
    // The reset button beside the frames, level with the buttons inside them.
    QPushButton *addResetButton(const char *name, const QString &text);
    // Empties every box made by addSearch.
    void clearSearchBoxes();
    // The grid under the controls; added once they are in place, so that Tab reaches it last.
    void addGrid();

private:
    data::RecordSource *m_source;
    ui::DataGrid *m_grid = nullptr;
    std::vector<ui::GridColumn> m_columns; // until the grid is added
    QVBoxLayout *m_layout;
    QHBoxLayout *m_controls;
    QList<QLineEdit *> m_searchBoxes;
    QSize m_preferredSize;
    bool m_loaded = false;
};

} // namespace lookup
