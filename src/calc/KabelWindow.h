#pragma once
#include <QWidget>

class QComboBox;
class QLineEdit;
class QTabWidget;

namespace calc {

// The length to cut a coaxial feed line to: the wanted length rounded up to a whole number of
// electrical half-waves h = (factor x 150) / frequency, added one by one.
class KabelWindow : public QWidget {
    Q_OBJECT
public:
    explicit KabelWindow(QWidget *parent = nullptr);

private:
    // Handlers, named control_event; run only by their controls.
    void cmd_laengerechnen_clicked();

    QTabWidget *SSTab1;
    QLineEdit *txt_frequenz, *txt_laenge;
    QComboBox *cmd_kabel;
    QLineEdit *txt_band, *txt_ber, *txt_ergebnis;
};

} // namespace calc
