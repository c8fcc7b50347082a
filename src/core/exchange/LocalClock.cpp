#include "core/exchange/LocalClock.h"

#include <array>
#include <limits>

namespace exchange {
namespace {

bool allDigits(QStringView s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return !s.isEmpty();
}

// The value of digits, 0 when it is beyond an int (as QString::toInt() has it).
int number(QStringView digits)
{
    qint64 value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return 0;
    }
    return int(value);
}

// The parts of a text between separators: at most four, and a count of five when there are more.
struct Parts {
    std::array<QStringView, 4> part;
    qsizetype count = 0;
};

Parts split(QStringView text, QChar separator)
{
    Parts p;
    for (;;) {
        if (p.count == qsizetype(p.part.size())) {
            p.count = 5;
            return p;
        }
        const qsizetype at = text.indexOf(separator);
        p.part[size_t(p.count++)] = at < 0 ? text : text.left(at);
        if (at < 0)
            return p;
        text = text.mid(at + 1);
    }
}

// The wall clock moved by a number of seconds.
WallTime moved(QDate date, QTime time, int seconds)
{
    constexpr qint64 kDay = 86400 * 1000;
    const qint64 ms = time.msecsSinceStartOfDay() + qint64(seconds) * 1000;
    const qint64 days = ms >= 0 ? ms / kDay : -((kDay - 1 - ms) / kDay);
    return {date.addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms - days * kDay))};
}

// The offset from UTC that holds all day, nullopt on a day the clocks change.
std::optional<int> dayOffset(QDate date, Qt::TimeSpec zone)
{
    const QDateTime first(date, QTime(0, 0), zone), last(date, QTime(23, 59, 59), zone);
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
    if (*it)
        return moved(localDate, localTime, -**it);
    const QDateTime utc = QDateTime(localDate, localTime, Qt::LocalTime).toUTC();
    return {utc.date(), utc.time()};
}

WallTime LocalClock::localOf(QDate utcDate, QTime utcTime)
{
    auto it = m_utcDays.find(utcDate.toJulianDay());
    if (it == m_utcDays.end())
        it = m_utcDays.insert(utcDate.toJulianDay(), dayOffset(utcDate, Qt::UTC));
    if (*it)
        return moved(utcDate, utcTime, **it);
    const QDateTime local = QDateTime(utcDate, utcTime, Qt::UTC).toLocalTime();
    return {local.date(), local.time()};
}

std::optional<QDate> logDate(QStringView text)
{
    const QStringView t = text.trimmed();
    const QChar separator = t.contains(u'.') ? u'.' : t.contains(u'-') ? u'-' : u'/';
    const Parts split = exchange::split(t, separator);
    const auto &parts = split.part;
    if (split.count != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        return std::nullopt;
    int day = number(parts[0]), month = number(parts[1]), year = number(parts[2]);
    if (parts[0].size() == 4 && separator == u'-') { // ISO
        year = number(parts[0]);
        day = number(parts[2]);
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
    QStringView t = text.trimmed();
    if (t.endsWith(QLatin1String("uhr"), Qt::CaseInsensitive))
        t = t.chopped(3).trimmed();
    int h = -1, m = -1, s = 0;
    const QChar separator = t.contains(u':') ? u':' : u'.';
    const Parts split = exchange::split(t, separator);
    const auto &parts = split.part;
    if (split.count == 1 && allDigits(t) && (t.size() == 4 || t.size() == 6)) {
        h = number(t.left(2));
        m = number(t.mid(2, 2));
        s = t.size() == 6 ? number(t.mid(4, 2)) : 0;
    } else if ((split.count == 2 || split.count == 3) && parts[0].size() <= 2 && parts[1].size() == 2) {
        for (qsizetype i = 0; i < split.count; ++i)
            if (!allDigits(parts[size_t(i)]) || parts[size_t(i)].size() > 2)
                return std::nullopt;
        h = number(parts[0]);
        m = number(parts[1]);
        s = split.count == 3 ? number(parts[2]) : 0;
    }
    const QTime time(h, m, s);
    return h >= 0 && time.isValid() ? std::optional(time) : std::nullopt;
}

} // namespace exchange
