#include "calc/ResultBox.h"

#include "core/calc/Decimal.h"
#include "ui/MessageBox.h"

#include <QLineEdit>

namespace calc {

bool fitsBox(QWidget *window, const Decimal &value, const QLineEdit *box, const QString &field)
{
    if (value.integerTextLength() <= box->maxLength())
        return true;
    ui::critical(window, QStringLiteral("Das Ergebnis %1 ist zu groß für das Feld „%2“: es fasst nur %3 Zeichen.")
                             .arg(value.toString(), field)
                             .arg(box->maxLength()));
    return false;
}

} // namespace calc
