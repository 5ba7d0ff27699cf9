#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

class StringGrid;

// Money amounts as exact decimals. An amount is a whole number of
// billionths held in a 128-bit integer, so sums of cents stay exact far
// beyond what a double can hold (99999999999999.99 + 0.01 and 10^20 - 1
// add up to the last cent); what would not fit is refused and said,
// never rounded away.
namespace Amount {

using Units = __int128;

// Decimals kept; a text with more is rounded to the nearest billionth.
inline constexpr int Decimals = 9;

enum class Reading {
    Empty,     // nothing but blanks
    Value,     // *units holds the amount
    NotAmount, // neither the fixed nor the locale's form
    TooLarge,  // an amount, but beyond what can be added exactly
};

// Reads a cell's text, without leading and trailing characters of codes 0
// to 32. First in the fixed form, the same in every language: an optional
// sign, digits with at most one point and no grouping, an optional
// exponent ("12.5", "-3", "1e3"). Then in the locale's form: its decimal
// separator, its group separators where it puts them, its signs and
// digits ("1.234,50" in German, "1,234.50" in English). Anything else is
// not an amount.
Reading read(QStringView text, const QLocale &locale, Units *units);

// The amount rounded to two decimals (halves away from zero), with the
// locale's decimal separator, minus sign and digits, and no grouping:
// "100000000000000.00", "-18,75".
QString format(Units units, const QLocale &locale);

// One cell the balance did not add, and why.
struct SkippedCell
{
    int row = 0;
    int column = 0;
    QString text;
    Reading reading = Reading::NotAmount; // or Value for a negative amount
};

// Credits minus debits of the usable amounts of the rows from firstRow on:
// blank cells are passed over, every other cell that is not added (not an
// amount, below zero, too large) is listed in skipped. When the sum itself
// would not fit, overflow is true and balance is meaningless.
struct Balance
{
    Units balance = 0;
    bool overflow = false;
    QList<SkippedCell> skipped;
};
Balance balanceOf(const StringGrid &grid, int debitColumn, int creditColumn, int firstRow,
                  const QLocale &locale);

// "rows 4 (Debit "1,50": not an amount), 7 (Credit "-3": below zero)": the
// skipped cells for a message, the first few by name and a count of the
// rest; headings names the columns.
QString describeSkipped(const QList<SkippedCell> &skipped, const QStringList &headings);

} // namespace Amount
