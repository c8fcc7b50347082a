#include "lookup/FlugWindow.h"

#include "ui/WindowHelpers.h"

#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const data::Query kWholeTable = data::Query(QStringLiteral("flugfunk")).orderBy(QStringLiteral("Ort"));
} // namespace

FlugWindow::FlugWindow(QWidget *parent)
    : LookupWindow(
        "frm_flug", QStringLiteral("Flugfunk Frequenzen"), kWholeTable,
        // The table's column is spelled Frquenz.
        {{QStringLiteral("Frequenz"), QStringLiteral("Frquenz")}, {QStringLiteral("Ort"), QStringLiteral("Ort")}},
        QSize(640, 560), parent)
{
    const Search ort = addSearch("Frame1", QStringLiteral("Suche mit Ortsangabe"), "txt_ort", "cmd_sucheort",
                                 QStringLiteral("Suchen"));
    const Search freq = addSearch("Frame4", QStringLiteral("Suche mit Frequenzangabe"), "txt_freq", "cmd_suchefreq",
                                  QStringLiteral("Suchen"));
    txt_ort = ort.edit;
    txt_freq = freq.edit;

    connect(ort.button, &QPushButton::clicked, this, &FlugWindow::cmd_sucheort_clicked);
    connect(freq.button, &QPushButton::clicked, this, &FlugWindow::cmd_suchefreq_clicked);
    connect(addResetButton("cmd_reset", QStringLiteral("R E S E T")), &QPushButton::clicked, this,
            &FlugWindow::cmd_reset_clicked);
    addGrid();
    Form_load();
}

data::Query FlugWindow::searchQuery(const QString &column, const QString &text)
{
    return data::Query(QStringLiteral("flugfunk"))
        .whereContains(column, text, QStringLiteral("like"))
        .orderBy(QStringLiteral("Ort"));
}

void FlugWindow::Form_load()
{
    // Leading blank, "FlugFunk" with two capitals, three blanks before the count.
    if (loaded())
        showCount(QStringLiteral(" FlugFunk   "));
}

void FlugWindow::cmd_sucheort_clicked() { runQuery(searchQuery(QStringLiteral("Ort"), txt_ort->text())); }

void FlugWindow::cmd_suchefreq_clicked() { runQuery(searchQuery(QStringLiteral("Frquenz"), txt_freq->text())); }

void FlugWindow::cmd_reset_clicked()
{
    runQuery(kWholeTable);
    clearSearchBoxes();
}

} // namespace lookup
