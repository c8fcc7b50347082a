#pragma once
#include <QDate>
#include <QString>
#include <optional>

// Numbers and dates in the German format, whatever the system locale says.
namespace ui {

// Reads a number as a German user writes it: decimal comma, period as group separator,
// blanks around it allowed. Anything else is not a number.
std::optional<double> readNumber(const QString &text);

// dd.MM.yyyy, four-digit year.
QString dateText(const QDate &date);

// Twips of the window designs to pixels (15 twips per pixel).
constexpr int twips(int t) { return (t + 7) / 15; }

} // namespace ui
