#include "core/tracker/alarmrule.h"

#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "core/tracker/listviewstream.h"

#include <QRegularExpression>

#include <cmath>

namespace AlarmRule {

namespace {

const char *const kShortDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

double readNumber(const QLocale &base, const QString &text, bool *ok)
{
    QLocale strict = base;
    strict.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return strict.toDouble(text, ok);
}

// A number in the fixed form: the text as written by timeValueText.
bool isStoredNumber(const QString &text)
{
    bool ok = false;
    readNumber(QLocale::c(), text.trimmed(), &ok);
    return ok;
}

// The weekday (1 = Monday) a token names, in English or the locale; 0 for
// none.
int weekdayOf(const QString &token, const QLocale &locale)
{
    for (int d = 1; d <= 7; ++d) {
        if (token == QLatin1String(kShortDays[d - 1]))
            return d;
    }
    for (int d = 1; d <= 7; ++d) {
        if (token == locale.dayName(d, QLocale::ShortFormat)
            || token == locale.standaloneDayName(d, QLocale::ShortFormat))
            return d;
    }
    return 0;
}

// "<weekday> <month>, <day>, <year>": the month is found by its full name
// at the end of the first part, in English or in the locale; the weekday
// name is not needed to know the date.
QDate parseDate(const QString &text, const QLocale &locale)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(.*\\S),\\s*(\\d{1,2}),\\s*(\\d{1,4})\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    const QString names = match.captured(1);
    const int day = match.captured(2).toInt();
    const int year = match.captured(3).toInt();
    const QLocale english = storedLocale();
    for (int m = 1; m <= 12; ++m) {
        for (const QLocale *loc : {&english, &locale}) {
            for (const QString &month : {loc->monthName(m, QLocale::LongFormat),
                                         loc->standaloneMonthName(m, QLocale::LongFormat)}) {
                if (month.isEmpty())
                    continue;
                if (names == month || names.endsWith(QLatin1Char(' ') + month)) {
                    const QDate date(year, m, day);
                    if (date.isValid())
                        return date;
                }
            }
        }
    }
    return {};
}

int minuteOfDay(double value)
{
    const QTime time = DayNumber::toDateTime(value).time();
    return time.isValid() ? time.hour() * 60 + time.minute() : 0;
}

} // namespace

QLocale storedLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

double parseTimeValue(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = readNumber(QLocale::c(), trimmed, &ok);
    if (!ok)
        value = readNumber(locale, trimmed, &ok);
    if (!ok || !std::isfinite(value) || !DayNumber::isRepresentable(value))
        return 0;
    return value;
}

QString timeValueText(double value)
{
    return QString::number(value, 'g', 15);
}

QString formatTime(double value, const QLocale &locale)
{
    return formatDateTime(QStringLiteral("hh:mm ampm"), value, locale);
}

QString weeklySchedule(const QList<bool> &mondayToSunday)
{
    QString schedule;
    for (int i = 0; i < 7 && i < mondayToSunday.size(); ++i) {
        if (mondayToSunday.at(i))
            schedule += QLatin1String(kShortDays[i]) + QLatin1Char(' ');
    }
    return schedule;
}

QString fixedDateSchedule(const QDate &date)
{
    return formatDateTime(QStringLiteral("dddd mmmm, d, yyyy"), DayNumber::fromDate(date), storedLocale());
}

QString caption(const QString &schedule, const QString &timeText)
{
    return schedule.trimmed() + QStringLiteral(" at ") + timeText;
}

Schedule parseSchedule(const QString &text, const QLocale &locale)
{
    Schedule schedule;
    if (text.contains(QLatin1String("Daily"))) {
        schedule.kind = Schedule::Daily;
        return schedule;
    }
    const QStringList tokens = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    quint8 days = 0;
    for (const QString &token : tokens) {
        const int d = weekdayOf(token, locale);
        if (d == 0) {
            days = 0;
            break;
        }
        days |= quint8(1u << (d - 1));
    }
    if (days != 0) {
        schedule.kind = Schedule::Weekdays;
        schedule.weekdays = days;
        return schedule;
    }
    const QDate date = parseDate(text, locale);
    if (date.isValid()) {
        schedule.kind = Schedule::Date;
        schedule.date = date;
    }
    return schedule;
}

bool toStoredForm(ListViewItem *item, const QLocale &locale)
{
    if (item->subItems.size() < 2)
        return false;
    QString schedule = item->subItems.at(0);
    const Schedule meaning = parseSchedule(schedule, locale);
    if (meaning.kind == Schedule::Weekdays) {
        QList<bool> days;
        for (int d = 0; d < 7; ++d)
            days.append(meaning.weekdays & (1u << d));
        schedule = weeklySchedule(days);
    } else if (meaning.kind == Schedule::Date) {
        schedule = fixedDateSchedule(meaning.date);
    }
    QString value = item->subItems.at(1);
    if (!isStoredNumber(value)) {
        bool ok = false;
        const double number = readNumber(locale, value.trimmed(), &ok);
        if (ok && std::isfinite(number) && DayNumber::isRepresentable(number))
            value = timeValueText(number);
    }
    if (schedule == item->subItems.at(0) && value == item->subItems.at(1))
        return false;
    item->subItems[0] = schedule;
    item->subItems[1] = value;
    item->caption = caption(schedule, formatTime(parseTimeValue(value)));
    return true;
}

NowTexts nowTexts(const QDateTime &now, const QLocale &locale)
{
    return NowTexts{formatDateTime(QStringLiteral("hh:mm ampm"), now, locale),
                    formatDateTime(QStringLiteral("ddd"), now, locale),
                    formatDateTime(QStringLiteral("dddd mmmm, d, yyyy"), now, locale), now};
}

bool matches(const AlarmEntry &entry, const NowTexts &now, const QLocale &locale, ParseCache *cache)
{
    if (!entry.checked)
        return false;
    if (cache && cache->schedules.size() + cache->minutes.size() > 8192) // lists come and go
        cache->clear();

    Schedule schedule;
    if (cache) {
        auto it = cache->schedules.constFind(entry.schedule);
        if (it == cache->schedules.cend())
            it = cache->schedules.insert(entry.schedule, parseSchedule(entry.schedule, locale));
        schedule = *it;
    } else {
        schedule = parseSchedule(entry.schedule, locale);
    }

    const QDate today = now.moment.date();
    bool todayRings = false;
    switch (schedule.kind) {
    case Schedule::Daily:
        todayRings = true;
        break;
    case Schedule::Weekdays:
        todayRings = today.isValid() && (schedule.weekdays & (1u << (today.dayOfWeek() - 1)));
        break;
    case Schedule::Date:
        todayRings = schedule.date == today;
        break;
    case Schedule::Unknown:
        todayRings = (!now.day.isEmpty() && entry.schedule.contains(now.day))
                     || (!now.date.isEmpty() && entry.schedule.contains(now.date));
        break;
    }
    if (!todayRings)
        return false;

    int minutes = 0;
    if (cache) {
        auto it = cache->minutes.constFind(entry.timeValue);
        if (it == cache->minutes.cend())
            it = cache->minutes.insert(entry.timeValue, minuteOfDay(parseTimeValue(entry.timeValue, locale)));
        minutes = *it;
    } else {
        minutes = minuteOfDay(parseTimeValue(entry.timeValue, locale));
    }
    const QTime time = now.moment.time();
    return time.isValid() && minutes == time.hour() * 60 + time.minute();
}

int firstMatch(const QList<AlarmEntry> &entries, const NowTexts &now, const QLocale &locale,
               ParseCache *cache)
{
    for (int i = 0; i < entries.size(); ++i) {
        if (matches(entries.at(i), now, locale, cache))
            return i;
    }
    return -1;
}

} // namespace AlarmRule

AlarmTicker::Actions AlarmTicker::tick(const QList<AlarmEntry> &bedTimes,
                                       const QList<AlarmEntry> &feedTimes, const QDateTime &now,
                                       const QLocale &locale)
{
    Actions actions;
    if (locale != m_cacheLocale) {
        m_cache.clear();
        m_cacheLocale = locale;
    }
    const AlarmRule::NowTexts texts = AlarmRule::nowTexts(now, locale);
    actions.bedEntry = AlarmRule::firstMatch(bedTimes, texts, locale, &m_cache);
    if (actions.bedEntry >= 0) {
        actions.playBed = true;
        ticks = 1;
    }
    actions.feedEntry = AlarmRule::firstMatch(feedTimes, texts, locale, &m_cache);
    if (actions.feedEntry >= 0) {
        actions.playFeed = true;
        ticks = 1;
    }
    if (ticks > 0)
        ++ticks;
    if (ticks > 60) {
        actions.stop = true;
        ticks = 0;
    }
    return actions;
}
