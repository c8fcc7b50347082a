#pragma once
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace testsupport {

// A window driven through the names of its controls, as a user drives it. A control that is
// missing fails the test (see child()).
class Window {
public:
    Window(QWidget *window = nullptr) : w(window) {}
    QWidget *w;

    template <typename T = QLineEdit> T *get(const QString &name) const { return child<T>(w, name); }
    // What a text box, a label or a button shows.
    QString text(const QString &control) const { return get<QWidget>(control)->property("text").toString(); }
    void click(const QString &button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    // Focus, select all, insert: the text replaces what was there, as typed (keyClicks knows no umlauts).
    void type(const QString &field, const QString &text) const
    {
        focus(field);
        get(field)->selectAll();
        get(field)->insert(text);
    }
    void focus(const QString &field) const
    {
        get<QWidget>(field)->setFocus();
        QCoreApplication::processEvents();
    }

    // The grid DataGrid1 as shown: its headers, a column (by position or header), a row clicked.
    QTableView *grid() const { return get<QTableView>(QStringLiteral("DataGrid1")); }
    QStringList headers() const
    {
        QStringList out;
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            out << grid()->model()->headerData(c, Qt::Horizontal).toString();
        return out;
    }
    QStringList column(int column) const
    {
        QStringList out;
        for (int r = 0; column >= 0 && r < grid()->model()->rowCount(); ++r)
            out << grid()->model()->index(r, column).data().toString();
        return out;
    }
    QStringList column(const QString &header) const { return column(int(headers().indexOf(header))); }
    void clickRow(int row) const
    {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace testsupport
