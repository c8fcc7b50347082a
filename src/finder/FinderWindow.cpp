#include "finder/FinderWindow.h"

#include "core/data/Query.h"
#include "core/text/GermanText.h"
#include "ui/DataControl.h"
#include "ui/MessageBox.h"
#include "ui/WindowHelpers.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace finder {
namespace {
const QString kChannelMessage80 = QStringLiteral("Bitte einen Kanal zwischen 1 und 80 eingeben");
// The AE5800 accepts 1 to 44 and still says 40: the radio's table names 40 channels.
const QString kChannelMessage40 = QStringLiteral("Bitte einen Kanal zwischen 1 und 40 eingeben");
const QString kNotFound = QStringLiteral("Frequenz nicht vorhanden !!");
const QString kBadBand = QStringLiteral("Ungültige Eingabe !");

QLabel *caption(QWidget *parent, const char *name, const QString &text)
{
    QLabel *l = ui::label(parent, name, text);
    l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return l;
}
} // namespace

FinderWindow::FinderWindow(const FinderVariant &variant, QWidget *parent) : QWidget(parent), m_variant(variant)
{
    setObjectName(QString::fromLatin1(variant.name));
    setWindowTitle(variant.caption);

    auto *panels = new QVBoxLayout;
    QGroupBox *search = buildSearchPanel();
    QGroupBox *lookup = buildLookupPanel();
    QGroupBox *channels = buildChannelPanel();
    if (variant.channelPanelOnTop) {
        panels->addWidget(channels);
        panels->addWidget(search);
        panels->addWidget(lookup);
    } else {
        panels->addWidget(search);
        panels->addWidget(lookup);
        panels->addWidget(channels);
    }
    auto *ende = ui::button(this, "cmd_ende", QStringLiteral("ENDE"));
    // Tab runs through the panels as they stand, top to bottom, and ends on ENDE.
    QList<QWidget *> tabOrder;
    for (int i = 0; i < panels->count(); ++i)
        for (QWidget *w : panels->itemAt(i)->widget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w->focusPolicy() & Qt::TabFocus)
                tabOrder << w;
    ui::chainTabOrder(tabOrder << ende);
    ende->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    ende->setFixedWidth(56);
    connect(ende, &QPushButton::clicked, this, &FinderWindow::cmd_ende_clicked);

    // Shape1: the decoration behind the panels.
    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::StyledPanel);
    shape->setLayout(panels);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(shape, 1);
    layout->addWidget(ende);
    // The window opens as wide as its caption needs and grows no further: in a larger frame
    // (maximized, say) the panels stay together at its top left.
    setMaximumSize(std::max(QWidget::sizeHint().width(), ui::captionWidth(this)), QWidget::sizeHint().height());

    m_source = ui::openDataControl(this, data::kReferenceFile, variant.designSource);
}

QSize FinderWindow::sizeHint() const { return maximumSize(); }

QGroupBox *FinderWindow::buildSearchPanel()
{
    auto *box = new QGroupBox(QStringLiteral("Nach Kanal suchen"), this);
    box->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(box);
    const int resultWidth = m_variant.wideOutputs ? 110 : 70;
    txt_frequenz = ui::lineEdit(box, "txt_frequenz", 2);
    txt_frequenz->setFixedWidth(34);
    txt_frequenz1 = ui::lineEdit(box, "txt_frequenz1", 3);
    txt_frequenz1->setFixedWidth(42);
    auto *go = ui::button(box, "cmd_suchen", QStringLiteral("SUCHEN"));
    txt_result = ui::lineEdit(box, "txt_result", 0, true);
    txt_result->setFixedWidth(resultWidth);
    grid->addWidget(caption(box, "Label9", QStringLiteral("Frequenz")), 0, 0, 1, 3);
    grid->addWidget(txt_frequenz, 1, 0);
    grid->addWidget(ui::label(box, "Label3", QStringLiteral(",")), 1, 1);
    grid->addWidget(txt_frequenz1, 1, 2);
    grid->addWidget(go, 1, 3);
    grid->addWidget(caption(box, "Label4", QStringLiteral("Kanal")), 0, 4);
    grid->addWidget(txt_result, 1, 4);
    grid->setColumnStretch(5, 1);
    connect(go, &QPushButton::clicked, this, &FinderWindow::cmd_suchen_clicked);
    ui::returnClicks(txt_frequenz, go);
    ui::returnClicks(txt_frequenz1, go);
    return box;
}

QGroupBox *FinderWindow::buildLookupPanel()
{
    auto *box = new QGroupBox(QStringLiteral("Nach Frequenz suchen"), this);
    box->setObjectName(QStringLiteral("Frame3"));
    auto *grid = new QGridLayout(box);
    txt_ch = ui::lineEdit(box, "txt_ch", 2, false, true);
    txt_ch->setFixedWidth(34);
    txt_band = ui::lineEdit(box, "txt_band", 1, false, true);
    txt_band->setFixedWidth(34);
    auto *go = ui::button(box, "cmd_search", QStringLiteral("SUCHEN"));
    txt_res = ui::lineEdit(box, "txt_res", 5, true);
    txt_res->setFixedWidth(70);
    auto *dot = ui::label(box, "Label6", QStringLiteral("."));
    dot->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(caption(box, "Label7", QStringLiteral("Kanal")), 0, 0);
    grid->addWidget(txt_ch, 1, 0);
    grid->addWidget(dot, 1, 1);
    grid->addWidget(caption(box, "Label8", m_variant.label8Caption), 0, 2);
    grid->addWidget(txt_band, 1, 2);
    grid->addWidget(go, 1, 3);
    grid->addWidget(caption(box, "Label5", QStringLiteral("Frequenz")), 0, 4);
    grid->addWidget(txt_res, 1, 4);
    grid->setColumnStretch(5, 1);
    connect(go, &QPushButton::clicked, this, &FinderWindow::cmd_search_clicked);
    ui::returnClicks(txt_ch, go);
    ui::returnClicks(txt_band, go);
    return box;
}

QGroupBox *FinderWindow::buildChannelPanel()
{
    auto *box = new QGroupBox(m_variant.frame2Caption, this);
    box->setObjectName(QStringLiteral("Frame2"));
    auto *grid = new QGridLayout(box);
    txt_kanal = ui::lineEdit(box, "txt_kanal", 2, false, true);
    txt_kanal->setFixedWidth(34);
    auto *go = ui::button(box, "txt_kanalsuche", QStringLiteral("SUCHEN"));
    kanal = ui::lineEdit(box, "kanal", 0, true);
    kanal->setFixedWidth(m_variant.wideOutputs ? 110 : 70);
    freq = ui::lineEdit(box, "freq", 0, true);
    freq->setFixedWidth(70);
    grid->addWidget(caption(box, "Label10", QStringLiteral("Kanal")), 0, 0);
    grid->addWidget(txt_kanal, 1, 0);
    grid->addWidget(go, 1, 1);
    grid->addWidget(caption(box, "Label1", QStringLiteral("Kanal")), 0, 2);
    grid->addWidget(kanal, 1, 2);
    grid->addWidget(caption(box, "Label2", QStringLiteral("Frequenz")), 0, 3);
    grid->addWidget(freq, 1, 3);
    grid->setColumnStretch(4, 1);
    connect(go, &QPushButton::clicked, this, &FinderWindow::txt_kanalsuche_clicked);
    ui::returnClicks(txt_kanal, go);
    return box;
}

namespace {
data::Query searchQuery(const QString &table, QChar band, const QString &key)
{
    return data::Query(table).whereContains(QString(band), key);
}
} // namespace

void FinderWindow::txt_kanalsuche_clicked()
{
    const QString text = txt_kanal->text();
    const auto value = german::readNumber(text);
    if (!value || *value < 1 || *value > 80) {
        txt_kanal->clear();
        ui::critical(this, kChannelMessage80);
        return;
    }
    // Only the exact key text counts: "05" or "7,0" pass the range test and find nothing.
    for (int i = 0; i < 80; ++i) {
        if (text == QString::number(i + 1)) {
            kanal->setText(m_variant.channels[size_t(i)].designation);
            freq->setText(m_variant.channels[size_t(i)].frequency);
            return;
        }
    }
}

void FinderWindow::cmd_suchen_clicked()
{
    const QString typed = txt_frequenz->text() + txt_frequenz1->text();
    const auto value = german::readNumber(typed);
    if (!value || *value < m_variant.minKHz || *value > m_variant.maxKHz) {
        txt_frequenz->clear();
        txt_frequenz1->clear();
        ui::critical(this, m_variant.rangeMessage);
        return;
    }
    // The HAM radio lies 5 kHz below the table: look for the typed value plus the shift.
    const QString key = m_variant.shiftKHz ? QString::number(std::llround(*value) + m_variant.shiftKHz) : typed;
    if (!m_source->isOpen())
        return;
    for (const QChar band : m_variant.bands) {
        m_source->setQuery(searchQuery(m_variant.searchTable, band, key));
        if (!m_source->refresh())
            return;
        if (m_source->recordCount() == 1) {
            txt_result->setText(m_source->fieldText(QStringLiteral("kanal")) + QLatin1Char(' ') + band.toLower());
            return;
        }
    }
    ui::critical(this, kNotFound);
}

void FinderWindow::cmd_search_clicked()
{
    const auto channel = german::readNumber(txt_ch->text());
    const bool rejected = !channel || *channel < 1 || *channel > m_variant.maxChannel;
    if (rejected) {
        txt_ch->clear();
        ui::critical(this, kChannelMessage40);
    }
    m_source->setQuery(data::Query(m_variant.lookupTable));
    const bool loaded = m_source->refresh();

    const QString band = txt_band->text();
    for (const QChar letter : m_variant.bands) {
        if (band != QString(letter) && band != QString(letter.toLower()))
            continue;
        if (rejected || !loaded)
            return;
        m_source->move(int(std::lround(*channel)) - 1);
        if (m_source->eof())
            return;
        QString value = m_source->fieldText(QString(letter));
        if (m_variant.shiftKHz) {
            const auto khz = german::readNumber(value);
            if (!khz)
                return;
            value = QString::number(std::llround(*khz) - m_variant.shiftKHz);
        }
        txt_res->setText(value);
        return;
    }
    ui::critical(this, kBadBand);
}

void FinderWindow::cmd_ende_clicked() { ui::closeOwnWindow(this); }

} // namespace finder
