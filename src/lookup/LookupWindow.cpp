#include "lookup/LookupWindow.h"

#include "data/DataControl.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace lookup {

LookupWindow::LookupWindow(const char *name, const QString &designCaption, const QString &firstQuery,
                           std::vector<data::GridColumn> columns, QSize preferredSize, QWidget *parent)
    : QWidget(parent), m_preferredSize(preferredSize)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(designCaption);

    m_source = data::openDataControl(this, data::kReferenceFile, firstQuery);
    // openDataControl has already told the user when the file or the query failed.
    m_loaded = m_source->isOpen() && m_source->lastError().isEmpty();
    m_grid = new data::DataGrid(m_source, std::move(columns), this);

    m_controls = new QHBoxLayout;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_controls);
    layout->addWidget(m_grid, 1);
}

bool LookupWindow::runQuery(const QString &sql)
{
    m_source->setRecordSource(sql);
    return data::refreshOrTell(this, m_source);
}

void LookupWindow::showCount(const QString &before)
{
    // Plain digits: QString::number never groups.
    setWindowTitle(before + QString::number(m_source->recordCount()) + QStringLiteral(" Datensätze"));
}

QGroupBox *LookupWindow::searchFrame(const char *name, const QString &caption, QLineEdit *edit, QPushButton *go)
{
    auto *frame = new QGroupBox(caption, this);
    frame->setObjectName(QString::fromLatin1(name));
    edit->setParent(frame);
    go->setParent(frame);
    auto *row = new QHBoxLayout(frame);
    row->addWidget(edit, 1);
    row->addWidget(go);
    return frame;
}

void LookupWindow::addResetButton(QPushButton *reset)
{
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, style()->pixelMetric(QStyle::PM_LayoutBottomMargin));
    column->addStretch(1);
    column->addWidget(reset);
    m_controls->addLayout(column);
}

} // namespace lookup
