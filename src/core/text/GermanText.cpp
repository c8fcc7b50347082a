#include "core/text/GermanText.h"

#include <cmath>

namespace german {
namespace {
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
} // namespace

std::optional<GermanNumber> scanNumber(const QString &text)
{
    const QString t = text.trimmed();
    GermanNumber n;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        n.negative = t[i++] == u'-';
    bool comma = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (isDigit(c)) {
            (comma ? n.fractionDigits : n.integerDigits) += c;
        } else if (c == u'.' && !comma && !n.integerDigits.isEmpty() && i + 1 < t.size() && isDigit(t[i + 1])) {
            continue; // a group separator stands between two digits of the integer part
        } else if (c == u',' && !comma) {
            comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (n.integerDigits.isEmpty() && n.fractionDigits.isEmpty())
        return std::nullopt;
    return n;
}

std::optional<double> readNumber(const QString &text)
{
    const auto n = scanNumber(text);
    if (!n)
        return std::nullopt;
    // The digits in the C form, which QString::toDouble reads whatever the locale.
    QString c = n->integerDigits.isEmpty() ? QStringLiteral("0") : n->integerDigits;
    if (!n->fractionDigits.isEmpty())
        c += u'.' + n->fractionDigits;
    bool ok = false;
    const double value = c.toDouble(&ok);
    if (!ok || !std::isfinite(value)) // hundreds of digits overflow a double
        return std::nullopt;
    return n->negative ? -value : value;
}

QString integerText(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u'.');
    return value < 0 ? u'-' + digits : digits;
}

QString dateText(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

} // namespace german
