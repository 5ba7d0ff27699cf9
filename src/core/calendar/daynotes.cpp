#include "daynotes.h"

#include "common/dateformat.h"
#include "common/daynumber.h"

namespace DayNotes {

QString NoteName(double date, const QLocale &locale)
{
    return FolderName(date, locale) + QStringLiteral(".txt");
}

QString FolderName(double date, const QLocale &locale)
{
    return FormatDateTime(QStringLiteral("mmm-dd-yyy"), date, locale);
}

bool IsWeekend(double date)
{
    const int day = DayNumber::toDate(date).dayOfWeek();
    return day == Qt::Saturday || day == Qt::Sunday;
}

} // namespace DayNotes
