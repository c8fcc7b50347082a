#pragma once
#include <QWidget>

class QLineEdit;
class QTabWidget;

namespace calc {

// Wavelength from frequency and back: 300 divided by the input, in exact decimal arithmetic,
// the quotient cut (never rounded) to the result box.
class WelleWindow : public QWidget {
    Q_OBJECT
public:
    explicit WelleWindow(QWidget *parent = nullptr);

private:
    // Handlers, named control_event; run only by their controls.
    void cmd_los_clicked();       // frequency (MHz) -> wavelength (m)
    void cmd_losumkehr_clicked(); // wavelength (m) -> frequency (MHz)

    QWidget *buildTab(const char *inputFrame, const QString &inputCaption, QLineEdit *input, const char *button,
                      const char *resultFrame, const QString &resultCaption, QLineEdit *result);

    QTabWidget *SSTab1;
    QLineEdit *txt_frequenz2, *txt_welle;
    QLineEdit *txt_welle2, *txt_freque;
};

} // namespace calc
