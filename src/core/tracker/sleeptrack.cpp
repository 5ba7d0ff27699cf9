#include "core/tracker/sleeptrack.h"

#include "core/common/daynumber.h"

#include <QLocale>

namespace SleepTrack {

int dayOfYear(int dayNumber)
{
    const QDate date = DayNumber::toDate(dayNumber);
    return date.isValid() ? date.dayOfYear() : 0;
}

int firstDayOfYear(int year)
{
    return DayNumber::fromDate(QDate(year, 1, 1));
}

int lastDayOfMonth(int year, int month)
{
    month = qBound(1, month, 12);
    const QDate next = month == 12 ? QDate(year + 1, 1, 1) : QDate(year, month + 1, 1);
    return DayNumber::fromDate(next) - 1;
}

QString slotLabel(int row)
{
    if (row < 1 || row > kVisibleSlotRows)
        return {};
    // Row 1 is 8 pm; every row is half an hour later.
    const int halfHours = (row - 1) + 40; // 8 pm = 40 half hours after midnight
    const int minutesOfDay = (halfHours % 48) * 30;
    const int hour24 = minutesOfDay / 60;
    const bool half = minutesOfDay % 60 != 0;
    const bool pm = hour24 >= 12;
    int hour12 = hour24 % 12;
    if (hour12 == 0)
        hour12 = 12;
    const QString suffix = pm ? QStringLiteral(" pm") : QStringLiteral(" am");
    if (half)
        return QString::number(hour12) + QStringLiteral(":30") + suffix;
    // Whole hours before 1 am (8 pm to 12 am) are written without minutes.
    if (row <= 9)
        return QString::number(hour12) + suffix;
    return QString::number(hour12) + QStringLiteral(":00") + suffix;
}

QStringList hourLabels()
{
    QStringList labels;
    for (int i = 0; i < 24; ++i) {
        const int hour24 = (20 + i) % 24;
        int hour12 = hour24 % 12;
        if (hour12 == 0)
            hour12 = 12;
        labels.append(QStringLiteral("%1 %2").arg(hour12, 2).arg(hour24 >= 12 ? QStringLiteral("pm")
                                                                               : QStringLiteral("am")));
    }
    return labels;
}

QString yearFileName(int year)
{
    return QString::number(year) + QStringLiteral("-time.txt");
}

QString noteFileName(const QDate &date)
{
    return QStringLiteral("Y%1M%2D%3-note.txt").arg(date.year()).arg(date.month()).arg(date.day());
}

QString monthKeyOf(const QDate &date)
{
    return QStringLiteral("Y%1M%2").arg(date.year()).arg(date.month());
}

QList<double> sleepCyclePattern()
{
    static const char kPattern[] = "1,-1,-2,-3,-4,-3,-1,-3,-4,-4,-3,-1,-1,-2,-3,-3,-2,-1,-1,-1,-2,-2,-2,"
                                   "-1,-2,-1,-2,-2,-0.5,-0.5,-0.5,-0.5,-0.5,-0.5,-0.5,0.5";
    QList<double> values;
    for (const QString &item : QString::fromLatin1(kPattern).split(QLatin1Char(','))) {
        bool ok = false;
        const double value = QLocale::c().toDouble(item, &ok);
        values.append(ok ? value : 0.0);
    }
    return values;
}

QList<QPointF> sleepCyclePoints(double start)
{
    QList<QPointF> points;
    const QList<double> pattern = sleepCyclePattern();
    for (int k = 0; k < pattern.size(); ++k)
        points.append(QPointF(start + k * 0.25 / 24.0, pattern.at(k)));
    return points;
}

QList<QPointF> wakeUpLine(double start, double hours)
{
    const double at = start + hours / 24.0;
    return {QPointF(at, -4.0), QPointF(at, 1.0)};
}

} // namespace SleepTrack
