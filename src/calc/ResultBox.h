#pragma once
#include <QString>

class QLineEdit;
class QWidget;

namespace calc {

class Decimal;

// What both calculators say.
inline const QString kBadFrequency = QStringLiteral("Bitte eine gültige Frequenz in MHz eingeben.");
inline const QString kOutOfRange = QStringLiteral("Das Ergebnis liegt außerhalb des Rechenbereichs.");

// Whether the value's integer part fits the result box; tells the user when not. The box cuts
// a longer text, which would show a misleading figure ("10000000" as "1000000").
bool fitsBox(QWidget *window, const Decimal &value, const QLineEdit *box, const QString &field);

} // namespace calc
