#include "calc/KabelWindow.h"

#include "calc/ResultBox.h"
#include "core/calc/Cable.h"
#include "ui/MessageBox.h"
#include "ui/WindowHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace calc {
namespace {

const QString kNoCable = QStringLiteral("Kabeltyp auswählen");
const QString kFrequencyNotPositive = QStringLiteral("Die Frequenz muss größer als 0 sein.");
const QString kBadLength = QStringLiteral("Bitte eine gültige Länge in Metern eingeben.");
const QString kTooManyPasses = QStringLiteral("Die gewünschte Länge ergibt mehr als %1 halbe Wellenlängen. "
                                              "Bitte eine kürzere Länge oder eine niedrigere Frequenz eingeben.")
                                   .arg(QLocale(QLocale::German, QLocale::Germany).toString(kMaxHalfWaves));

QString refusalText(CableCut::Refusal refusal)
{
    switch (refusal) {
    case CableCut::Refusal::BadFrequency:
        return kBadFrequency;
    case CableCut::Refusal::FrequencyNotPositive:
        return kFrequencyNotPositive;
    case CableCut::Refusal::BadLength:
        return kBadLength;
    case CableCut::Refusal::TooManyHalfWaves:
        return kTooManyPasses;
    case CableCut::Refusal::HalfWaveOutOfRange:
    case CableCut::Refusal::LengthOutOfRange:
        return kOutOfRange;
    case CableCut::Refusal::UnknownCable:
    case CableCut::Refusal::None:
        break;
    }
    return kNoCable;
}

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
    for (const CableType &cable : cableTypes())
        cmd_kabel->addItem(QString::fromUtf8(cable.name));
    cmd_kabel->setCurrentIndex(-1);
    cmd_kabel->setEditText(QStringLiteral("... Kabeltyp auswählen"));

    connect(go, &QPushButton::clicked, this, &KabelWindow::cmd_laengerechnen_clicked);
    for (QLineEdit *input : {txt_frequenz, txt_laenge, cmd_kabel->lineEdit()})
        ui::returnClicks(input, go);
}

void KabelWindow::cmd_laengerechnen_clicked()
{
    const CableCut cut = cableCut(cmd_kabel->currentText(), txt_frequenz->text(), txt_laenge->text());
    if (cut.refusal == CableCut::Refusal::UnknownCable) {
        ui::plain(this, kNoCable);
        return;
    }
    // Everything is checked before the first box is written, so a refused click leaves all
    // three result boxes as they were. A half-wave too wide for its box is told before what
    // went wrong adding it up.
    if (!cut.halfWave) {
        ui::critical(this, refusalText(cut.refusal));
        return;
    }
    if (!fitsBox(this, *cut.halfWave, txt_ber, QStringLiteral("Berechnungsfaktor")))
        return;
    if (cut.refusal != CableCut::Refusal::None) {
        ui::critical(this, refusalText(cut.refusal));
        return;
    }
    if (!fitsBox(this, cut.length, txt_ergebnis, QStringLiteral("Benötigte Kabellänge (m)")))
        return;

    txt_ber->setText(cut.halfWave->toString());
    txt_band->setText(cut.factor);
    txt_ergebnis->setText(cut.length.toString());
}

} // namespace calc
