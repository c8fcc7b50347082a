#pragma once
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QStringView>
#include <QTime>
#include <optional>

// The logbook holds date and time as the operator typed them, in his local time; ADIF holds UTC.
namespace exchange {

// Converts between this system's local time and UTC for the date in question (summer or winter
// time), fast for many contacts: the offset of a day without a change of the clocks is worked
// out once.
struct WallTime {
    QDate date;
    QTime time;
};

class LocalClock {
public:
    WallTime utcOf(QDate localDate, QTime localTime);
    WallTime localOf(QDate utcDate, QTime utcTime);

private:
    QHash<qint64, std::optional<int>> m_localDays, m_utcDays; // offset of the whole day, if one
};

// A date as typed into the logbook: "30.06.2006", "1.7.2006", "30.06.06", "2006-06-30".
std::optional<QDate> logDate(QStringView text);
// A time as typed: "21:45", "21:45:30", "2145", "21.45", "9:05 Uhr".
std::optional<QTime> logTime(QStringView text);

} // namespace exchange
