#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>

struct ListViewItem;

// One alarm entry as the clock sees it: its check box, its schedule text
// ("Daily", weekday texts such as "Mon Wed Fri ", or a date such as
// "Saturday April, 5, 2008") and its stored time value as text.
struct AlarmEntry
{
    bool checked = false;
    QString schedule;
    QString timeValue;
};

// The texts of an alarm entry and the rule that decides when it rings.
//
// Entries are stored in one fixed form whatever the desktop's language:
// English day and month names, the time value with a point. Lists written
// in the current locale's form (a date "Samstag April, 5, 2008", a time
// value "45296,5") are read too and turned into the fixed form.
namespace AlarmRule {

// The locale of the stored texts (English, United States).
QLocale storedLocale();

// The stored time value read as a day number: the fixed form with a point
// first, then the locale's form; neither accepts group separators. 0 when
// it is not a number or lies outside the dates the program can show.
double parseTimeValue(const QString &text, const QLocale &locale = QLocale());
// A day number in the general form with up to 15 significant digits and a
// point (45296.8958333333).
QString timeValueText(double value);
// "hh:mm ampm" of a day number (09:30 PM), in the stored form by default.
QString formatTime(double value, const QLocale &locale = storedLocale());

// The weekday schedule: "Mon " ... "Sun " for each chosen day, Monday
// first, each with its trailing blank; empty when no day is chosen.
QString weeklySchedule(const QList<bool> &mondayToSunday);
// The schedule of one date: "dddd mmmm, d, yyyy" with English names.
QString fixedDateSchedule(const QDate &date);
// The visible caption: the trimmed schedule, " at ", the time text.
QString caption(const QString &schedule, const QString &timeText);

// What a schedule text means.
struct Schedule
{
    enum Kind { Unknown, Daily, Weekdays, Date };
    Kind kind = Unknown;
    quint8 weekdays = 0; // bit (dayOfWeek - 1) for each chosen day
    QDate date;
};
// Reads a schedule written in the fixed form or in the locale's form.
Schedule parseSchedule(const QString &text, const QLocale &locale = QLocale());

// Turns an entry read from a list file into the fixed form: its schedule,
// its time value and, when either changed, its caption. False when the
// entry was in the fixed form already (or is not understood).
bool toStoredForm(ListViewItem *item, const QLocale &locale = QLocale());

// The present moment an entry is compared with, and its texts in the
// locale (used for schedules that are not understood).
struct NowTexts
{
    QString time; // "hh:mm ampm"
    QString day;  // "ddd"
    QString date; // "dddd mmmm, d, yyyy"
    QDateTime moment;
};
NowTexts nowTexts(const QDateTime &now, const QLocale &locale = QLocale());

// A checked entry rings when its time of day, to the minute, is now and
// its schedule is "Daily", names today's weekday, or is today's date. A
// schedule that is not understood rings as it always did: when it
// contains today's short weekday name or today's full date.
// With a cache, schedules and times already read are looked up instead of
// read again (the clock asks every tick over every entry).
struct ParseCache
{
    QHash<QString, Schedule> schedules;
    QHash<QString, int> minutes;
    void clear()
    {
        schedules.clear();
        minutes.clear();
    }
};
bool matches(const AlarmEntry &entry, const NowTexts &now, const QLocale &locale = QLocale(),
             ParseCache *cache = nullptr);
// The index of the first entry from the top that rings, or -1.
int firstMatch(const QList<AlarmEntry> &entries, const NowTexts &now,
               const QLocale &locale = QLocale(), ParseCache *cache = nullptr);

} // namespace AlarmRule

// The clock's tick counter (the timer's tag): 0 while no alarm rings, 1
// when one fires, one more at every tick, and back to 0 with the sound
// stopped when it passes 60, so an alarm left ringing ends at the end of
// the 59th tick after its last matching tick.
class AlarmTicker
{
public:
    struct Actions
    {
        bool playBed = false;
        bool playFeed = false; // played after the bed sound, which it replaces
        bool stop = false;
        int bedEntry = -1;  // the entry that rang, from the top
        int feedEntry = -1;
    };

    // One tick at the given moment over the lists as they are now.
    Actions tick(const QList<AlarmEntry> &bedTimes, const QList<AlarmEntry> &feedTimes,
                 const QDateTime &now, const QLocale &locale = QLocale());
    // An alarm fired by other means (a snoozed alarm ringing again).
    void fire() { ticks = 1; }

    int ticks = 0;

private:
    AlarmRule::ParseCache m_cache;
    QLocale m_cacheLocale;
};
