#include "lookup/BosWindow.h"

#include "data/SqlLike.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const QString kWholeTable = QStringLiteral("select * from [bos] order by Ort asc");

std::vector<data::GridColumn> columns()
{
    std::vector<data::GridColumn> result;
    for (const char *field : {"BL", "Ort", "Benutzer", "Rufname", "Kanal", "Freq"})
        result.push_back({QString::fromLatin1(field), QString::fromLatin1(field)});
    return result;
}
} // namespace

BosWindow::BosWindow(QWidget *parent)
    : LookupWindow("frm_bos", QStringLiteral("BOS-Frequenzen"), kWholeTable, columns(), QSize(960, 600), parent)
{
    txt_freq = ui::lineEdit(this, "txt_freq");
    auto *freq = ui::button(this, "cmd_suchefreq", QStringLiteral("Suchen"));
    txt_rufname = ui::lineEdit(this, "txt_rufname");
    auto *rufname = ui::button(this, "cmd_sucherufname", QStringLiteral("Suchen"));
    txt_ort = ui::lineEdit(this, "txt_ort");
    auto *ort = ui::button(this, "cmd_sucheort", QStringLiteral("Suchen"));
    auto *reset = ui::button(this, "cmd_reset", QStringLiteral("R E S E T"));

    controls()->addWidget(searchFrame("Frame4", QStringLiteral("Suche mit Frequenzangabe"), txt_freq, freq), 1);
    controls()->addWidget(searchFrame("Frame2", QStringLiteral("Suche mit Rufnamenangabe"), txt_rufname, rufname), 1);
    controls()->addWidget(searchFrame("Frame1", QStringLiteral("Suche mit Ortsangabe"), txt_ort, ort), 1);
    addResetButton(reset);

    connect(freq, &QPushButton::clicked, this, &BosWindow::cmd_suchefreq_clicked);
    connect(rufname, &QPushButton::clicked, this, &BosWindow::cmd_sucherufname_clicked);
    connect(ort, &QPushButton::clicked, this, &BosWindow::cmd_sucheort_clicked);
    connect(reset, &QPushButton::clicked, this, &BosWindow::cmd_reset_clicked);
    Form_Load();
}

QString BosWindow::searchQuery(const QString &column, const QString &text)
{
    return QStringLiteral("select * from [bos] where %1 like ").arg(column)
        + data::sqlText(QLatin1Char('%') + text + QLatin1Char('%')) + QStringLiteral(" order by Ort asc");
}

void BosWindow::Form_Load()
{
    // Counted once over the whole table; searches and reset leave the caption alone.
    if (loaded())
        showCount(QStringLiteral("BOS-Frequenzen   "));
}

// Each search reads its own box only; text left in the others does not narrow it.
void BosWindow::cmd_suchefreq_clicked() { runQuery(searchQuery(QStringLiteral("Freq"), txt_freq->text())); }

void BosWindow::cmd_sucherufname_clicked()
{
    runQuery(searchQuery(QStringLiteral("Rufname"), txt_rufname->text()));
}

void BosWindow::cmd_sucheort_clicked() { runQuery(searchQuery(QStringLiteral("Ort"), txt_ort->text())); }

void BosWindow::cmd_reset_clicked()
{
    runQuery(kWholeTable);
    txt_ort->clear();
    txt_freq->clear();
    txt_rufname->clear();
}

} // namespace lookup
