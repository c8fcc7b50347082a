#include "calc/KabelWindow.h"

#include "calc/ResultBox.h"
#include "core/calc/Decimal.h"
#include "ui/MessageBox.h"
#include "ui/WindowHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace calc {
namespace {

// The cable table: list order is match order. Factors are texts, read like the user's input.
struct Cable {
    const char *name;
    const char *factor;
};
constexpr Cable kCables[] = {
    {"RG 58 CU", "0,66"},  {"RG 58 ALL", "0,78"}, {"Aircell 5", "0,82"}, {"H 155", "0,79"},
    {"AIRCELL 7", "0,83"}, {"RG 213 U", "0,66"},  {"H 500", "0,81"},     {"Hirschmann KOKA799", "0,82"},
};

const QString kNoCable = QStringLiteral("Kabeltyp auswählen");
const QString kFrequencyNotPositive = QStringLiteral("Die Frequenz muss größer als 0 sein.");
const QString kBadLength = QStringLiteral("Bitte eine gültige Länge in Metern eingeben.");
const QString kTooManyPasses = QStringLiteral("Die gewünschte Länge ergibt mehr als %1 halbe Wellenlängen. "
                                              "Bitte eine kürzere Länge oder eine niedrigere Frequenz eingeben.")
                                   .arg(QStringLiteral("1.000.000"));

QLineEdit *resultBox(QWidget *window, QVBoxLayout *column, const char *frame, const QString &caption, const char *name,
                     int maxLength, bool centred)
{
    auto *box = new QGroupBox(caption, window);
    box->setObjectName(QString::fromLatin1(frame));
    auto *layout = new QVBoxLayout(box);
    QLineEdit *edit = ui::lineEdit(box, name, maxLength, true, centred);
    edit->setFixedWidth(80);
    layout->addWidget(edit, 0, Qt::AlignHCenter);
    column->addWidget(box);
    return edit;
}

} // namespace

KabelWindow::KabelWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_kabel"));
    setWindowTitle(QStringLiteral("Kabellänge berechnen"));

    auto *page = new QWidget;
    auto *inputs = new QGroupBox(page);
    inputs->setObjectName(QStringLiteral("Frame1"));
    txt_frequenz = ui::lineEdit(inputs, "txt_frequenz");
    txt_frequenz->setText(QStringLiteral("27,205"));
    txt_laenge = ui::lineEdit(inputs, "txt_länge");
    txt_laenge->setText(QStringLiteral("10"));
    cmd_kabel = new QComboBox(inputs);
    cmd_kabel->setObjectName(QStringLiteral("cmd_kabel"));
    cmd_kabel->setEditable(true);
    cmd_kabel->setInsertPolicy(QComboBox::NoInsert);
    cmd_kabel->setCompleter(nullptr); // the name is matched exactly as typed, letter case included
    cmd_kabel->setMinimumWidth(170);
    auto *go = ui::button(inputs, "cmd_längerechnen", QStringLiteral("Berechnen"));

    auto *grid = new QGridLayout(inputs);
    grid->addWidget(ui::label(inputs, "lbl_FrequenzFrequenz", QStringLiteral("Frequenz")), 0, 0);
    grid->addWidget(txt_frequenz, 0, 1);
    grid->addWidget(ui::label(inputs, "Label1", QStringLiteral("Länge")), 1, 0);
    grid->addWidget(txt_laenge, 1, 1);
    grid->addWidget(ui::label(inputs, "Label2", QStringLiteral("Kabeltyp wählen")), 2, 0);
    grid->addWidget(cmd_kabel, 2, 1);
    grid->addWidget(go, 3, 1, Qt::AlignRight);
    grid->setRowStretch(4, 1);

    auto *results = new QVBoxLayout;
    txt_band = resultBox(page, results, "Frame3", QStringLiteral("Verk.-Faktor"), "txt_band", 4, true);
    txt_ber = resultBox(page, results, "Frame8", QStringLiteral("Berechnungsfaktor"), "txt_ber", 5, true);
    txt_ergebnis =
        resultBox(page, results, "Frame2", QStringLiteral("Benötigte Kabellänge (m)"), "txt_ergebnis", 6, false);

    auto *pageLayout = new QHBoxLayout(page);
    pageLayout->addWidget(inputs);
    pageLayout->addLayout(results);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(page, QStringLiteral("Kabellänge berechnen"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    // Load: the tab, then the cable names; the box keeps its own text until the user picks.
    SSTab1->setCurrentIndex(0);
    for (const Cable &cable : kCables)
        cmd_kabel->addItem(QString::fromUtf8(cable.name));
    cmd_kabel->setCurrentIndex(-1);
    cmd_kabel->setEditText(QStringLiteral("... Kabeltyp auswählen"));

    connect(go, &QPushButton::clicked, this, &KabelWindow::cmd_laengerechnen_clicked);
    for (QLineEdit *input : {txt_frequenz, txt_laenge, cmd_kabel->lineEdit()})
        ui::returnClicks(input, go);
}

void KabelWindow::cmd_laengerechnen_clicked()
{
    // "0" marks a cable that is not in the table; names match exactly, letter case included.
    QString factorText = QStringLiteral("0");
    for (const Cable &cable : kCables) {
        if (cmd_kabel->currentText() == QString::fromUtf8(cable.name))
            factorText = QString::fromUtf8(cable.factor);
    }
    if (factorText == QStringLiteral("0")) {
        ui::plain(this, kNoCable);
        return;
    }

    // Everything is checked before the first box is written, so a refused click leaves all
    // three result boxes as they were.
    const Decimal factor = *Decimal::parse(factorText);
    const auto frequency = Decimal::parse(txt_frequenz->text());
    if (!frequency) {
        ui::critical(this, kBadFrequency);
        return;
    }
    // Zero has no quotient; below zero h turns negative and the total would never reach the length.
    if (*frequency <= Decimal(0)) {
        ui::critical(this, kFrequencyNotPositive);
        return;
    }
    const auto length = Decimal::parse(txt_laenge->text());
    if (!length) {
        ui::critical(this, kBadLength);
        return;
    }

    const Decimal::Result h = factor.multiply(Decimal(150)).value.divide(*frequency);
    if (!h.ok() || h.value.isZero()) {
        ui::critical(this, kOutOfRange);
        return;
    }
    if (!fitsBox(this, h.value, txt_ber, QStringLiteral("Berechnungsfaktor")))
        return;

    // Half-waves added one by one until the wanted length is reached, at least one.
    Decimal total;
    int passes = 0;
    do {
        if (passes == kMaxPasses) {
            ui::critical(this, kTooManyPasses);
            return;
        }
        const Decimal::Result sum = total.add(h.value);
        if (!sum.ok()) {
            ui::critical(this, kOutOfRange);
            return;
        }
        total = sum.value;
        ++passes;
    } while (total < *length);
    if (!fitsBox(this, total, txt_ergebnis, QStringLiteral("Benötigte Kabellänge (m)")))
        return;

    txt_ber->setText(h.value.toString());
    txt_band->setText(factorText);
    txt_ergebnis->setText(total.toString());
}

} // namespace calc
