#include "lookup/LookupWindow.h"

#include "ui/DataControl.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace lookup {

LookupWindow::LookupWindow(const char *name, const QString &designCaption, const data::Query &firstQuery,
                           std::vector<ui::GridColumn> columns, QSize preferredSize, QWidget *parent)
    : QWidget(parent), m_preferredSize(preferredSize)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(designCaption);

    m_source = ui::openDataControl(this, data::kReferenceFile, firstQuery);
    // openDataControl has already told the user when the file or the query failed.
    m_loaded = m_source->isOpen() && m_source->lastError().isEmpty();
    m_columns = std::move(columns);

    m_controls = new QHBoxLayout;
    m_layout = new QVBoxLayout(this);
    m_layout->addLayout(m_controls);
}

void LookupWindow::addGrid()
{
    m_grid = new ui::DataGrid(m_source, std::move(m_columns), this);
    m_layout->addWidget(m_grid, 1);
}

bool LookupWindow::runQuery(const data::Query &query)
{
    m_source->setQuery(query);
    return ui::refreshOrTell(this, m_source);
}

void LookupWindow::showCount(const QString &before)
{
    // Plain digits: QString::number never groups.
    setWindowTitle(before + QString::number(m_source->recordCount()) + QStringLiteral(" Datensätze"));
}

LookupWindow::Search LookupWindow::addSearch(const char *frame, const QString &caption, const char *edit,
                                             const char *button, const QString &buttonText, int stretch)
{
    auto *box = new QGroupBox(caption, this);
    box->setObjectName(QString::fromLatin1(frame));
    const Search search{ui::lineEdit(box, edit), ui::button(box, button, buttonText)};
    auto *row = new QHBoxLayout(box);
    row->addWidget(search.edit, 1);
    row->addWidget(search.button);
    m_controls->addWidget(box, stretch);
    ui::returnClicks(search.edit, search.button);
    m_searchBoxes << search.edit;
    return search;
}

QPushButton *LookupWindow::addResetButton(const char *name, const QString &text)
{
    auto *reset = ui::button(this, name, text);
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, style()->pixelMetric(QStyle::PM_LayoutBottomMargin));
    column->addStretch(1);
    column->addWidget(reset);
    m_controls->addLayout(column);
    return reset;
}

void LookupWindow::clearSearchBoxes()
{
    for (QLineEdit *box : std::as_const(m_searchBoxes))
        box->clear();
}

} // namespace lookup
