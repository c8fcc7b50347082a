#include "lookup/FlugWindow.h"

#include "data/SqlLike.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const QString kWholeTable = QStringLiteral("select * from [flugfunk] order by Ort asc");
} // namespace

FlugWindow::FlugWindow(QWidget *parent)
    : LookupWindow("frm_flug", QStringLiteral("Flugfunk Frequenzen"), kWholeTable,
                   // The table's column is spelled Frquenz.
                   {{QStringLiteral("Frequenz"), QStringLiteral("Frquenz")}, {QStringLiteral("Ort"), QStringLiteral("Ort")}},
                   QSize(640, 560), parent)
{
    txt_ort = ui::lineEdit(this, "txt_ort");
    auto *ort = ui::button(this, "cmd_sucheort", QStringLiteral("Suchen"));
    txt_freq = ui::lineEdit(this, "txt_freq");
    auto *freq = ui::button(this, "cmd_suchefreq", QStringLiteral("Suchen"));
    auto *reset = ui::button(this, "cmd_reset", QStringLiteral("R E S E T"));

    controls()->addWidget(searchFrame("Frame1", QStringLiteral("Suche mit Ortsangabe"), txt_ort, ort), 1);
    controls()->addWidget(searchFrame("Frame4", QStringLiteral("Suche mit Frequenzangabe"), txt_freq, freq), 1);
    addResetButton(reset);

    connect(ort, &QPushButton::clicked, this, &FlugWindow::cmd_sucheort_clicked);
    connect(freq, &QPushButton::clicked, this, &FlugWindow::cmd_suchefreq_clicked);
    connect(reset, &QPushButton::clicked, this, &FlugWindow::cmd_reset_clicked);
    Form_Load();
}

QString FlugWindow::searchQuery(const QString &column, const QString &text)
{
    return QStringLiteral("select * from [flugfunk] where %1 like ").arg(column)
        + data::sqlText(QLatin1Char('%') + text + QLatin1Char('%')) + QStringLiteral(" order by Ort asc");
}

void FlugWindow::Form_Load()
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
    txt_ort->clear();
    txt_freq->clear();
}

} // namespace lookup
