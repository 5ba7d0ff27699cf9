#include "core/common/daynumber.h"

#include <cmath>

namespace DayNumber {

namespace {
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;
// 1 January 100 and 31 December 9999 as day numbers.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
} // namespace

QDate epoch()
{
    return QDate(1899, 12, 30);
}

int fromDate(const QDate &date)
{
    if (!date.isValid())
        return 0;
    return static_cast<int>(epoch().daysTo(date));
}

int wholeDay(double dayNumber)
{
    return static_cast<int>(std::floor(dayNumber));
}

QDate toDate(double dayNumber)
{
    if (!isRepresentable(dayNumber))
        return {};
    return epoch().addDays(wholeDay(dayNumber));
}

double fromDateTime(const QDateTime &dateTime)
{
    const int day = fromDate(dateTime.date());
    const qint64 ms = dateTime.time().msecsSinceStartOfDay();
    return day + static_cast<double>(ms) / kMsPerDay;
}

QDateTime toDateTime(double dayNumber)
{
    const QDate date = toDate(dayNumber);
    if (!date.isValid())
        return {};
    const double fraction = dayNumber - std::floor(dayNumber);
    qint64 ms = std::llround(fraction * kMsPerDay);
    if (ms >= kMsPerDay)
        ms = kMsPerDay - 1;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

bool isRepresentable(double dayNumber)
{
    return std::isfinite(dayNumber) && dayNumber >= kFirstDay && dayNumber < kLastDay + 1.0;
}

} // namespace DayNumber
