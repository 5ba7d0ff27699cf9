#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>

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
namespace AlarmRule {

// The stored time value read as a day number; 0 when it is not a number
// or lies outside the dates the program can show. Accepts the locale's
// decimal separator and the point.
double TimeValue(const QString &text, const QLocale &locale = QLocale());
// A day number in the general form with up to 15 significant digits and
// the locale's decimal separator (45296.8958333333).
QString TimeValueText(double value, const QLocale &locale = QLocale());
// "hh:mm ampm" of a day number (09:30 PM).
QString TimeText(double value, const QLocale &locale = QLocale());

// The weekday schedule: "Mon " ... "Sun " for each chosen day, Monday
// first, each with its trailing blank; empty when no day is chosen.
QString WeeklySchedule(const QList<bool> &mondayToSunday);
// The schedule of one date: "dddd mmmm, d, yyyy".
QString FixedDateSchedule(const QDate &date, const QLocale &locale = QLocale());
// The visible caption: the trimmed schedule, " at ", the time text.
QString Caption(const QString &schedule, const QString &timeText);

// The three texts of the present moment an entry is compared with.
struct NowTexts
{
    QString time; // "hh:mm ampm"
    QString day;  // "ddd"
    QString date; // "dddd mmmm, d, yyyy"
};
NowTexts Now(const QDateTime &now, const QLocale &locale = QLocale());

// A checked entry rings when its time of day, to the minute, is now and
// its schedule contains "Daily", today's short weekday name or today's
// full date (case-sensitive). So a date schedule, which starts with the
// full weekday name, also rings on that weekday every week where the full
// name contains the short one.
// With timeTexts, the time texts of stored values already seen are
// looked up instead of formatted again (the clock asks every second).
using TimeTexts = QHash<QString, QString>;
bool Matches(const AlarmEntry &entry, const NowTexts &now, const QLocale &locale = QLocale(),
             TimeTexts *timeTexts = nullptr);
// The index of the first entry from the top that rings, or -1.
int FirstMatch(const QList<AlarmEntry> &entries, const NowTexts &now,
               const QLocale &locale = QLocale(), TimeTexts *timeTexts = nullptr);

} // namespace AlarmRule

// The clock's tick counter (the timer's Tag): 0 while no alarm rings, 1
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
    };

    // One tick at the given moment over the lists as they are now.
    Actions Tick(const QList<AlarmEntry> &bedTimes, const QList<AlarmEntry> &feedTimes,
                 const QDateTime &now, const QLocale &locale = QLocale());
    // An alarm fired by other means (a snoozed alarm ringing again).
    void Fire() { Tag = 1; }

    int Tag = 0;

private:
    AlarmRule::TimeTexts m_timeTexts;
    QLocale m_timeTextsLocale;
};
