#include "lookup/BosWindow.h"

#include "ui/WindowHelpers.h"

#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const data::Query kWholeTable = data::Query(QStringLiteral("bos")).orderBy(QStringLiteral("Ort"));

std::vector<ui::GridColumn> columns()
{
    std::vector<ui::GridColumn> result;
    for (const char *field : {"BL", "Ort", "Benutzer", "Rufname", "Kanal", "Freq"})
        result.push_back({QString::fromLatin1(field), QString::fromLatin1(field)});
    return result;
}
} // namespace

BosWindow::BosWindow(QWidget *parent)
    : LookupWindow("frm_bos", QStringLiteral("BOS-Frequenzen"), kWholeTable, columns(), QSize(960, 600), parent)
{
    const Search freq = addSearch("Frame4", QStringLiteral("Suche mit Frequenzangabe"), "txt_freq", "cmd_suchefreq",
                                  QStringLiteral("Suchen"));
    const Search rufname = addSearch("Frame2", QStringLiteral("Suche mit Rufnamenangabe"), "txt_rufname",
                                     "cmd_sucherufname", QStringLiteral("Suchen"));
    const Search ort = addSearch("Frame1", QStringLiteral("Suche mit Ortsangabe"), "txt_ort", "cmd_sucheort",
                                 QStringLiteral("Suchen"));
    txt_freq = freq.edit;
    txt_rufname = rufname.edit;
    txt_ort = ort.edit;

    connect(freq.button, &QPushButton::clicked, this, &BosWindow::cmd_suchefreq_clicked);
    connect(rufname.button, &QPushButton::clicked, this, &BosWindow::cmd_sucherufname_clicked);
    connect(ort.button, &QPushButton::clicked, this, &BosWindow::cmd_sucheort_clicked);
    connect(addResetButton("cmd_reset", QStringLiteral("R E S E T")), &QPushButton::clicked, this,
            &BosWindow::cmd_reset_clicked);
    addGrid();
    Form_load();
}

data::Query BosWindow::searchQuery(const QString &column, const QString &text)
{
    return data::Query(QStringLiteral("bos"))
        .whereContains(column, text, QStringLiteral("like"))
        .orderBy(QStringLiteral("Ort"));
}

void BosWindow::Form_load()
{
    // Counted once over the whole table; searches and reset leave the caption alone.
    if (loaded())
        showCount(QStringLiteral("BOS-Frequenzen   "));
}

// Each search reads its own box only; text left in the others does not narrow it.
void BosWindow::cmd_suchefreq_clicked() { runQuery(searchQuery(QStringLiteral("Freq"), txt_freq->text())); }

void BosWindow::cmd_sucherufname_clicked() { runQuery(searchQuery(QStringLiteral("Rufname"), txt_rufname->text())); }

void BosWindow::cmd_sucheort_clicked() { runQuery(searchQuery(QStringLiteral("Ort"), txt_ort->text())); }

void BosWindow::cmd_reset_clicked()
{
    runQuery(kWholeTable);
    clearSearchBoxes();
}

} // namespace lookup
