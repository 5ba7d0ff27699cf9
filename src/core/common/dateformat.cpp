#include "core/common/dateformat.h"

#include "core/common/daynumber.h"

namespace {

int runLength(const QString &pattern, qsizetype at, QChar letter)
{
    int n = 0;
    while (at + n < pattern.size() && pattern.at(at + n) == letter)
        ++n;
    return n;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString formatDateTime(const QString &pattern, const QDateTime &dateTime, const QLocale &locale)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    const bool twelveHour = pattern.contains(QLatin1String("ampm"));

    QString out;
    out.reserve(pattern.size() * 2);
    bool afterHour = false; // the last letter group was "h" or "hh"
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('a') && pattern.mid(i, 4) == QLatin1String("ampm")) {
            out += time.hour() < 12 ? locale.amText() : locale.pmText();
            afterHour = false;
            i += 4;
        } else if (c == QLatin1Char('d')) {
            const int n = qMin(runLength(pattern, i, c), 6);
            switch (n) {
            case 1: out += QString::number(date.day()); break;
            case 2: out += twoDigits(date.day()); break;
            case 3: out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat); break;
            case 4: out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat); break;
            case 5: out += locale.toString(date, QLocale::ShortFormat); break;
            default: out += locale.toString(date, QLocale::LongFormat); break;
            }
            afterHour = false;
            i += n;
        } else if (c == QLatin1Char('m')) {
            int n = qMin(runLength(pattern, i, c), 4);
            if (afterHour && n <= 2) {
                out += n == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            } else {
                switch (n) {
                case 1: out += QString::number(date.month()); break;
                case 2: out += twoDigits(date.month()); break;
                case 3: out += locale.monthName(date.month(), QLocale::ShortFormat); break;
                default: out += locale.monthName(date.month(), QLocale::LongFormat); break;
                }
            }
            afterHour = false;
            i += n;
        } else if (c == QLatin1Char('y') && runLength(pattern, i, c) >= 2) {
            const int n = qMin(runLength(pattern, i, c), 4);
            if (n == 2)
                out += twoDigits(date.year() % 100);
            else
                out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            afterHour = false;
            i += n;
        } else if (c == QLatin1Char('h')) {
            const int n = qMin(runLength(pattern, i, c), 2);
            int hour = time.hour();
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += n == 1 ? QString::number(hour) : twoDigits(hour);
            afterHour = true;
            i += n;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString formatDateTime(const QString &pattern, double dayNumber, const QLocale &locale)
{
    return formatDateTime(pattern, DayNumber::toDateTime(dayNumber), locale);
}

QString formatFloat(const QString &pattern, double value, const QLocale &locale)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : static_cast<int>(pattern.size() - point - 1);
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', decimals);
}
