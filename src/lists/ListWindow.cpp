#include "lists/ListWindow.h"

#include "ui/DataControl.h"
#include "ui/WindowHelpers.h"

#include <QVBoxLayout>

namespace lists {
namespace {
std::vector<ui::GridColumn> byName(const QStringList &fields)
{
    std::vector<ui::GridColumn> columns;
    for (const QString &f : fields)
        columns.push_back({f, f});
    return columns;
}
const QStringList kUmbauColumns = {"Kanal", "A", "B", "C", "D", "E", "F", "G", "H", "I", "L"};
const QStringList kAlbrechtColumns = {"Kanal", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
} // namespace

const std::vector<ListDefinition> &listDefinitions()
{
    static const std::vector<ListDefinition> definitions = {
        {"frm_liste", QStringLiteral("-*MIDLAND ALAN Frequenzliste CB*- FM/AM"),
         data::Query(QStringLiteral("umbau"), data::Query::From::Bare), byName(kUmbauColumns), QSize(10395, 6300),
         std::nullopt},
        {"frm_listeham", QStringLiteral("-*MIDLAND ALAN Frequenzliste HAM*- FM/AM"),
         data::Query(QStringLiteral("Ham"), data::Query::From::Bare), byName(kUmbauColumns), QSize(10395, 6300),
         std::nullopt},
        {"frm_albrecht",
         QStringLiteral("Frequenzliste ALBRECHT AE 5800 / AE485") + QString(17, QLatin1Char(' '))
             + QStringLiteral("454CH AM/FM/SSB"),
         data::Query(QStringLiteral("albrecht2"), data::Query::From::Bare), byName(kAlbrechtColumns),
         QSize(10260, 6330), std::nullopt},
        {"frm_listealbrechtallg", QStringLiteral("Frequenzliste ALBRECHT allgemein"),
         data::Query(QStringLiteral("albrechtallg"), data::Query::From::Bare), byName(kAlbrechtColumns),
         QSize(10230, 6255), std::nullopt},
        {"frm_listepresident", QStringLiteral("Frequenzliste President Jackson 240CH AM/SSB/FM"),
         data::Query(QStringLiteral("president"), data::Query::From::Bare),
         byName({"KANAL", "A", "B", "C", "D", "E", "F"}), QSize(7875, 6315), std::nullopt},
        {"frm_dx",
         QStringLiteral("DX - Frequenzen"),
         data::Query(QStringLiteral("dxfreq"), data::Query::From::Bare),
         {{"QRG", "Frequenz"}, {"Mod", "Modulation"}, {"Land - Organisation", "Land-Organisation"}},
         QSize(13035, 8340),
         QPoint(1050, 760)},
    };
    return definitions;
}

ListWindow::ListWindow(const ListDefinition &definition, QWidget *parent) : QWidget(parent)
{
    setObjectName(QString::fromLatin1(definition.name));
    setWindowTitle(definition.caption);
    setFixedSize(ui::twips(definition.clientTwips.width()), ui::twips(definition.clientTwips.height()));

    m_source = ui::openDataControl(this, data::kReferenceFile, definition.recordSource);
    m_grid = new ui::DataGrid(m_source, definition.columns, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
}

} // namespace lists
