#include "calc/WelleWindow.h"

#include "calc/ResultBox.h"
#include "core/calc/Wavelength.h"
#include "ui/MessageBox.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace calc {
namespace {

// What one direction of the window reads, writes and says when it has no result.
struct Direction {
    QString badInput;
    QString zeroInput;
    QString resultField; // the caption of the result frame
};

const Direction kToWavelength{kBadFrequency, QStringLiteral("Die Frequenz darf nicht 0 sein."),
                              QStringLiteral("Wellenlänge (m)")};
const Direction kToFrequency{QStringLiteral("Bitte eine gültige Wellenlänge in Metern eingeben."),
                             QStringLiteral("Die Wellenlänge darf nicht 0 sein."), QStringLiteral("Frequenz (MHz)")};

// 300 / input into the result box, which keeps as many characters as it holds. Input that
// gives no result, or a result whose integer part alone would be cut, leaves the box as it was.
void compute(QWidget *window, const Direction &d, const QLineEdit *input, QLineEdit *result)
{
    const Wave w = wave(input->text());
    switch (w.refusal) {
    case Wave::Refusal::NotANumber:
        ui::critical(window, d.badInput);
        return;
    case Wave::Refusal::Zero:
        ui::critical(window, d.zeroInput);
        return;
    case Wave::Refusal::OutOfRange:
        ui::critical(window, kOutOfRange);
        return;
    case Wave::Refusal::None:
        break;
    }
    if (!fitsBox(window, w.value, result, d.resultField))
        return;
    result->setText(w.value.toString());
}

} // namespace

WelleWindow::WelleWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_welle"));
    setWindowTitle(QStringLiteral("Wellenlänge"));

    txt_frequenz2 = ui::lineEdit(nullptr, "txt_frequenz2", 10);
    txt_frequenz2->setText(QStringLiteral("150,000"));
    txt_welle = ui::lineEdit(nullptr, "txt_welle", 7, true, true);
    txt_welle->setText(QStringLiteral("2"));
    txt_welle2 = ui::lineEdit(nullptr, "txt_welle2", 9);
    txt_welle2->setText(QStringLiteral("2"));
    txt_freque = ui::lineEdit(nullptr, "txt_freque", 7, true, true);
    txt_freque->setText(QStringLiteral("150"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false); // both tab captions in full
    SSTab1->addTab(buildTab("Frame4", QStringLiteral("Frequenz in MHz eingeben"), txt_frequenz2, "cmd_los", "Frame5",
                            QStringLiteral("Wellenlänge (m)"), txt_welle),
                   QStringLiteral("Wellenlänge berechnen"));
    SSTab1->addTab(buildTab("Frame6", QStringLiteral("Wellenlänge eingeben (m)"), txt_welle2, "cmd_losumkehr", "Frame7",
                            QStringLiteral("Frequenz (MHz)"), txt_freque),
                   QStringLiteral("Frequenz berechnen"));
    SSTab1->setCurrentIndex(0); // every load opens on the wavelength tab

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(findChild<QPushButton *>(QStringLiteral("cmd_los")), &QPushButton::clicked, this,
            &WelleWindow::cmd_los_clicked);
    connect(findChild<QPushButton *>(QStringLiteral("cmd_losumkehr")), &QPushButton::clicked, this,
            &WelleWindow::cmd_losumkehr_clicked);
}

QWidget *WelleWindow::buildTab(const char *inputFrame, const QString &inputCaption, QLineEdit *input,
                               const char *button, const char *resultFrame, const QString &resultCaption,
                               QLineEdit *result)
{
    auto *page = new QWidget;
    auto *in = new QGroupBox(inputCaption, page);
    in->setObjectName(QString::fromLatin1(inputFrame));
    auto *inLayout = new QHBoxLayout(in);
    input->setFixedWidth(90);
    inLayout->addWidget(input);
    QPushButton *go = ui::button(in, button, QStringLiteral("Berechnen"));
    inLayout->addWidget(go);
    ui::returnClicks(input, go);

    auto *out = new QGroupBox(resultCaption, page);
    out->setObjectName(QString::fromLatin1(resultFrame));
    auto *outLayout = new QHBoxLayout(out);
    result->setFixedWidth(90);
    outLayout->addWidget(result, 0, Qt::AlignHCenter);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(in);
    layout->addWidget(out);
    return page;
}

void WelleWindow::cmd_los_clicked() { compute(this, kToWavelength, txt_frequenz2, txt_welle); }

void WelleWindow::cmd_losumkehr_clicked() { compute(this, kToFrequency, txt_welle2, txt_freque); }

} // namespace calc
