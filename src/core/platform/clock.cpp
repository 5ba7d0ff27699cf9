#include "core/platform/clock.h"

#include "core/common/daynumber.h"

double IClock::nowDayNumber() const
{
    return DayNumber::fromDateTime(now());
}

int IClock::todayDayNumber() const
{
    return DayNumber::fromDate(now().date());
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}
