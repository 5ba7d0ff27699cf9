#include "tracker/alarmrule.h"

#include "common/dateformat.h"
#include "common/daynumber.h"

#include <cmath>

namespace AlarmRule {

double TimeValue(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value) || !DayNumber::isRepresentable(value))
        return 0;
    return value;
}

QString TimeValueText(double value, const QLocale &locale)
{
    QString text = QString::number(value, 'g', 15);
    const QString point = locale.decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QString TimeText(double value, const QLocale &locale)
{
    return FormatDateTime(QStringLiteral("hh:mm ampm"), value, locale);
}

QString WeeklySchedule(const QList<bool> &mondayToSunday)
{
    static const char *const names[] = {"Mon ", "Tue ", "Wed ", "Thu ", "Fri ", "Sat ", "Sun "};
    QString schedule;
    for (int i = 0; i < 7 && i < mondayToSunday.size(); ++i) {
        if (mondayToSunday.at(i))
            schedule += QLatin1String(names[i]);
    }
    return schedule;
}

QString FixedDateSchedule(const QDate &date, const QLocale &locale)
{
    return FormatDateTime(QStringLiteral("dddd mmmm, d, yyyy"), DayNumber::fromDate(date), locale);
}

QString Caption(const QString &schedule, const QString &timeText)
{
    return schedule.trimmed() + QStringLiteral(" at ") + timeText;
}

NowTexts Now(const QDateTime &now, const QLocale &locale)
{
    return NowTexts{FormatDateTime(QStringLiteral("hh:mm ampm"), now, locale),
                    FormatDateTime(QStringLiteral("ddd"), now, locale),
                    FormatDateTime(QStringLiteral("dddd mmmm, d, yyyy"), now, locale)};
}

bool Matches(const AlarmEntry &entry, const NowTexts &now, const QLocale &locale, TimeTexts *timeTexts)
{
    if (!entry.checked)
        return false;
    // The schedule first: it is a plain search, the time text a formatting.
    const bool today = entry.schedule.contains(QLatin1String("Daily"))
                       || (!now.day.isEmpty() && entry.schedule.contains(now.day))
                       || (!now.date.isEmpty() && entry.schedule.contains(now.date));
    if (!today)
        return false;
    if (!timeTexts)
        return TimeText(TimeValue(entry.timeValue, locale), locale) == now.time;
    auto it = timeTexts->constFind(entry.timeValue);
    if (it == timeTexts->cend()) {
        if (timeTexts->size() > 4096) // lists come and go; keep it small
            timeTexts->clear();
        it = timeTexts->insert(entry.timeValue, TimeText(TimeValue(entry.timeValue, locale), locale));
    }
    return *it == now.time;
}

int FirstMatch(const QList<AlarmEntry> &entries, const NowTexts &now, const QLocale &locale,
               TimeTexts *timeTexts)
{
    for (int i = 0; i < entries.size(); ++i) {
        if (Matches(entries.at(i), now, locale, timeTexts))
            return i;
    }
    return -1;
}

} // namespace AlarmRule

AlarmTicker::Actions AlarmTicker::Tick(const QList<AlarmEntry> &bedTimes,
                                       const QList<AlarmEntry> &feedTimes, const QDateTime &now,
                                       const QLocale &locale)
{
    Actions actions;
    if (locale != m_timeTextsLocale) {
        m_timeTexts.clear();
        m_timeTextsLocale = locale;
    }
    const AlarmRule::NowTexts texts = AlarmRule::Now(now, locale);
    if (AlarmRule::FirstMatch(bedTimes, texts, locale, &m_timeTexts) >= 0) {
        actions.playBed = true;
        Tag = 1;
    }
    if (AlarmRule::FirstMatch(feedTimes, texts, locale, &m_timeTexts) >= 0) {
        actions.playFeed = true;
        Tag = 1;
    }
    if (Tag > 0)
        ++Tag;
    if (Tag > 60) {
        actions.stop = true;
        Tag = 0;
    }
    return actions;
}
