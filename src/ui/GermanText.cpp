#include "ui/GermanText.h"

#include <QLocale>

namespace ui {

std::optional<double> readNumber(const QString &text)
{
    static const QLocale german(QLocale::German, QLocale::Germany);
    bool ok = false;
    const double value = german.toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString dateText(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

} // namespace ui
