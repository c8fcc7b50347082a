#include "lookup/LocatorWindow.h"

#include "ui/WindowHelpers.h"

#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const data::Query kWholeTable{QStringLiteral("locator")};
// Sample texts: a locator and a town that the shipped table holds, so the first click finds a row.
const QString kSampleLocator = QStringLiteral("JO62QM");
const QString kSampleTown = QStringLiteral("Berlin");
} // namespace

LocatorWindow::LocatorWindow(QWidget *parent)
    : LookupWindow("frm_locator", QStringLiteral("LOCATOR DATENBANK"), kWholeTable,
                   {{QStringLiteral("Locator"), QStringLiteral("Locator")},
                    {QStringLiteral("Distrikt"), QStringLiteral("Distrikt")},
                    {QStringLiteral("Stadt"), QStringLiteral("Stadt")},
                    {QStringLiteral("Extra"), QStringLiteral("Extra")},
                    {QStringLiteral("DXCC"), QStringLiteral("DXCC")}},
                   QSize(780, 560), parent)
{
    const Search locator = addSearch("Frame2", QStringLiteral("Suche mit Locator"), "txt_locator", "cmd_locator",
                                     QStringLiteral("SUCHEN"), 0);
    const Search stadt =
        addSearch("Frame1", QStringLiteral("Suche mit Ortsname"), "txt_stadt", "cmd_Stadt", QStringLiteral("SUCHE"));
    txt_locator = locator.edit;
    txt_locator->setAlignment(Qt::AlignCenter);
    txt_locator->setText(kSampleLocator);
    txt_stadt = stadt.edit;
    txt_stadt->setText(kSampleTown);

    connect(locator.button, &QPushButton::clicked, this, &LocatorWindow::cmd_locator_clicked);
    connect(stadt.button, &QPushButton::clicked, this, &LocatorWindow::cmd_Stadt_clicked);
    connect(addResetButton("cmd_reset", QStringLiteral("RESET")), &QPushButton::clicked, this,
            &LocatorWindow::cmd_reset_clicked);
    addGrid();
    Form_load();
}

data::Query LocatorWindow::locatorQuery(const QString &text)
{
    return data::Query(QStringLiteral("locator")).whereContains(QStringLiteral("Locator"), text);
}

data::Query LocatorWindow::townQuery(const QString &text)
{
    return data::Query(QStringLiteral("locator")).whereContains(QStringLiteral("Stadt"), text);
}

void LocatorWindow::Form_load()
{
    // The data control has run the whole-table query; its count is the caption's, once.
    if (loaded())
        showCount(QStringLiteral("Locator Daten  "));
}

void LocatorWindow::cmd_locator_clicked() { runQuery(locatorQuery(txt_locator->text())); }

void LocatorWindow::cmd_Stadt_clicked() { runQuery(townQuery(txt_stadt->text())); }

void LocatorWindow::cmd_reset_clicked() { runQuery(kWholeTable); } // the search texts stay

} // namespace lookup
