#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Date and time texts from patterns:
//   d dd ddd dddd ddddd dddddd   day, day with zero, short/long weekday name,
//                                locale short date, locale long date
//   m mm mmm mmmm                month, month with zero, short/long month name;
//                                "m"/"mm" after an hour letter mean minutes
//   yy yyy yyyy                  two-digit year, four-digit year (twice)
//   h hh                         hour, hour with zero
//   ampm                         12-hour clock with the locale's AM/PM text
// Every other character is copied. Names and designators come from the
// locale given: texts on screen use the user's, texts that are stored or
// name files pass QLocale::c(), so they read the same in every language.
QString formatDateTime(const QString &pattern, const QDateTime &dateTime,
                       const QLocale &locale = QLocale());
QString formatDateTime(const QString &pattern, double dayNumber,
                       const QLocale &locale = QLocale());

// The number patterns "0.0" and "0.00": the value rounded to one or two
// decimals with the locale's decimal separator and no group separator.
// Any other pattern gives the value with as many decimals as the pattern
// has zeros after its point.
QString formatFloat(const QString &pattern, double value, const QLocale &locale = QLocale());
