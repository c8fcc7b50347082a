#include "core/exchange/LocalClock.h"

#include <QList>

namespace exchange {
namespace {

bool allDigits(QStringView s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return !s.isEmpty();
}

// The offset from UTC that holds all day, nullopt on a day the clocks change.
std::optional<int> dayOffset(QDate date, Qt::TimeSpec spec)
{
    const QDateTime first(date, QTime(0, 0), spec), last(date, QTime(23, 59, 59), spec);
    const int a = first.toLocalTime().offsetFromUtc(), b = last.toLocalTime().offsetFromUtc();
    if (a != b)
        return std::nullopt;
    return a;
}

} // namespace

WallTime LocalClock::utcOf(QDate localDate, QTime localTime)
{
    auto it = m_localDays.find(localDate.toJulianDay());
    if (it == m_localDays.end())
        it = m_localDays.insert(localDate.toJulianDay(), dayOffset(localDate, Qt::LocalTime));
    const QDateTime utc = *it ? QDateTime(localDate, localTime, Qt::UTC).addSecs(-**it)
                              : QDateTime(localDate, localTime, Qt::LocalTime).toUTC();
    return {utc.date(), utc.time()};
}

WallTime LocalClock::localOf(QDate utcDate, QTime utcTime)
{
    auto it = m_utcDays.find(utcDate.toJulianDay());
    if (it == m_utcDays.end())
        it = m_utcDays.insert(utcDate.toJulianDay(), dayOffset(utcDate, Qt::UTC));
    const QDateTime utc(utcDate, utcTime, Qt::UTC);
    // The wall clock of the local time, held in a UTC value so that no conversion runs again.
    const QDateTime local = *it ? utc.addSecs(**it) : utc.toLocalTime();
    return {local.date(), local.time()};
}

std::optional<QDate> logDate(QStringView text)
{
    const QStringView t = text.trimmed();
    const QChar separator = t.contains(u'.') ? u'.' : t.contains(u'-') ? u'-' : u'/';
    const QList<QStringView> parts = t.split(separator);
    if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        return std::nullopt;
    int day = parts[0].toInt(), month = parts[1].toInt(), year = parts[2].toInt();
    if (parts[0].size() == 4 && separator == u'-') { // ISO
        year = parts[0].toInt();
        day = parts[2].toInt();
    } else if (parts[2].size() == 2) {
        year += year < 70 ? 2000 : 1900;
    } else if (parts[2].size() != 4) {
        return std::nullopt;
    }
    if (parts[0].size() > 4 || parts[1].size() > 2)
        return std::nullopt;
    const QDate date(year, month, day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<QTime> logTime(QStringView text)
{
    QString t = text.trimmed().toString();
    if (t.endsWith(QLatin1String("uhr"), Qt::CaseInsensitive))
        t = t.chopped(3).trimmed();
    int h = -1, m = -1, s = 0;
    const QChar separator = t.contains(u':') ? u':' : u'.';
    const QList<QStringView> parts = QStringView(t).split(separator);
    if (parts.size() == 1 && allDigits(t) && (t.size() == 4 || t.size() == 6)) {
        h = t.left(2).toInt();
        m = t.mid(2, 2).toInt();
        s = t.size() == 6 ? t.mid(4, 2).toInt() : 0;
    } else if ((parts.size() == 2 || parts.size() == 3) && parts[0].size() <= 2 && parts[1].size() == 2) {
        for (QStringView p : parts)
            if (!allDigits(p) || p.size() > 2)
                return std::nullopt;
        h = parts[0].toInt();
        m = parts[1].toInt();
        s = parts.size() == 3 ? parts[2].toInt() : 0;
    }
    const QTime time(h, m, s);
    return h >= 0 && time.isValid() ? std::optional(time) : std::nullopt;
}

} // namespace exchange
