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

    // Handler, named after its control.
    void cmd_laengerechnen_clicked();

private:
    QTabWidget *SSTab1;
    QLineEdit *txt_frequenz, *txt_laenge;
    QComboBox *cmd_kabel;
    QLineEdit *txt_band, *txt_ber, *txt_ergebnis;
};

} // namespace calc
