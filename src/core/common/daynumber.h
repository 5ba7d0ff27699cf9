#pragma once

#include <QDate>
#include <QDateTime>

// A day number is a date and time held as a floating-point count of days
// since 30 December 1899; the fraction is the time of day (0.5 = noon).
// The command line, the date pickers, the alarm entries and all date
// arithmetic use it, so every conversion goes through these functions.
namespace DayNumber {

// The date whose day number is 0.
QDate epoch();

// Whole days from the epoch to the date; an invalid date gives 0.
int fromDate(const QDate &date);

// The date of the whole part of a day number (negative numbers count back
// from the epoch, the fraction only ever adds a time of day).
QDate toDate(double dayNumber);

double fromDateTime(const QDateTime &dateTime);
QDateTime toDateTime(double dayNumber);

// The whole part of a day number as a day count, rounding towards minus
// infinity so that the day of -0.25 (29 Dec 1899, 18:00) is -1.
int wholeDay(double dayNumber);

// True when the day number lies in the range the program can show as a
// date (1 January 100 to 31 December 9999) and is finite.
bool isRepresentable(double dayNumber);

} // namespace DayNumber
