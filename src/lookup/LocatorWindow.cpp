#include "lookup/LocatorWindow.h"

#include "data/SqlLike.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const QString kWholeTable = QStringLiteral("select * from [locator]");
// Sample texts: a locator and a town that the shipped table holds, so the first click finds a row.
const QString kSampleLocator = QStringLiteral("JO62QM");
const QString kSampleTown = QStringLiteral("Berlin");

QString contains(const QString &text) { return data::sqlText(QLatin1Char('%') + text + QLatin1Char('%')); }
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
    txt_locator = ui::lineEdit(this, "txt_locator", 0, false, true);
    txt_locator->setText(kSampleLocator);
    auto *locator = ui::button(this, "cmd_locator", QStringLiteral("SUCHEN"));
    txt_stadt = ui::lineEdit(this, "txt_stadt");
    txt_stadt->setText(kSampleTown);
    auto *stadt = ui::button(this, "cmd_Stadt", QStringLiteral("SUCHE"));
    auto *reset = ui::button(this, "cmd_reset", QStringLiteral("RESET"));

    controls()->addWidget(searchFrame("Frame2", QStringLiteral("Suche mit Locator"), txt_locator, locator));
    controls()->addWidget(searchFrame("Frame1", QStringLiteral("Suche mit Ortsname"), txt_stadt, stadt), 1);
    addResetButton(reset);

    connect(locator, &QPushButton::clicked, this, &LocatorWindow::cmd_locator_clicked);
    connect(stadt, &QPushButton::clicked, this, &LocatorWindow::cmd_Stadt_clicked);
    connect(reset, &QPushButton::clicked, this, &LocatorWindow::cmd_reset_clicked);
    Form_Load();
}

QString LocatorWindow::locatorQuery(const QString &text)
{
    return QStringLiteral("select * from [locator] where Locator Like ") + contains(text);
}

QString LocatorWindow::townQuery(const QString &text)
{
    return QStringLiteral("select * from [locator] where Stadt Like ") + contains(text);
}

void LocatorWindow::Form_Load()
{
    // The data control has run the whole-table query; its count is the caption's, once.
    if (loaded())
        showCount(QStringLiteral("Locator Daten  "));
}

void LocatorWindow::cmd_locator_clicked() { runQuery(locatorQuery(txt_locator->text())); }

void LocatorWindow::cmd_Stadt_clicked() { runQuery(townQuery(txt_stadt->text())); }

void LocatorWindow::cmd_reset_clicked() { runQuery(kWholeTable); } // the search texts stay

} // namespace lookup
