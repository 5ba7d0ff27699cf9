#include "core/projects/amount.h"

#include "core/grid/stringgrid.h"

#include <QCoreApplication>

#include <algorithm>

namespace Amount {

namespace {

// Amounts whose billionths need more digits than this are refused: the sum
// of a million of them still fits in 128 bits.
constexpr int kMaxUnitDigits = 32;
constexpr int kMaxExponent = 99;

QString tr(const char *text)
{
    return QCoreApplication::translate("Amount", text);
}

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The fixed form: [+-] digits [. digits] [e [+-] digits], at least one
// digit before the exponent, nothing else.
Reading readFixed(QStringView text, Units *units)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    QString digits; // integer and fraction digits, without the point
    int fractionDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (isAsciiDigit(c)) {
            digits.append(c);
            if (point)
                ++fractionDigits;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty())
        return Reading::NotAmount;
    int exponent = 0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            negativeExponent = text.at(i) == QLatin1Char('-');
            ++i;
        }
        const qsizetype start = i;
        for (; i < n && isAsciiDigit(text.at(i)); ++i)
            exponent = std::min(exponent * 10 + (text.at(i).unicode() - u'0'), 100000);
        if (i == start)
            return Reading::NotAmount;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return Reading::NotAmount;

    // Leading zeros say nothing.
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits.at(first) == QLatin1Char('0'))
        ++first;
    digits = digits.mid(first);
    if (digits == QLatin1String("0")) {
        *units = 0;
        return Reading::Value;
    }
    if (exponent > kMaxExponent)
        return Reading::TooLarge;
    // The value is digits * 10^shift billionths.
    const int shift = Decimals + std::max(exponent, -kMaxExponent - Decimals) - fractionDigits;
    if (digits.size() + shift > kMaxUnitDigits)
        return Reading::TooLarge;
    Units value = 0;
    bool roundUp = false;
    const qsizetype kept = shift >= 0 ? digits.size() : digits.size() + shift;
    for (qsizetype k = 0; k < kept; ++k)
        value = value * 10 + (digits.at(k).unicode() - u'0');
    if (shift >= 0) {
        for (int k = 0; k < shift; ++k)
            value *= 10;
    } else if (kept >= 0 && kept < digits.size()) {
        // Rounded to the nearest billionth, halves up.
        roundUp = digits.at(kept).unicode() >= u'5';
    }
    if (roundUp)
        ++value;
    *units = negative ? -value : value;
    return Reading::Value;
}

// The locale's form, turned into the fixed form when the locale reads it.
Reading readLocale(QStringView text, const QLocale &locale, Units *units)
{
    QLocale lenient = locale;
    lenient.setNumberOptions(locale.numberOptions() & ~QLocale::RejectGroupSeparator);
    QString candidate = text.toString();
    const QString group = lenient.groupSeparator();
    // Where the locale groups with a no-break space, a plain blank typed
    // for it counts the same.
    if (group == QStringView(u"\u00A0") || group == QStringView(u"\u202F"))
        candidate.replace(QLatin1Char(' '), group);
    bool ok = false;
    lenient.toDouble(candidate, &ok);
    if (!ok)
        return Reading::NotAmount;
    if (!group.isEmpty())
        candidate.remove(group);
    candidate.replace(lenient.decimalPoint(), QStringLiteral("."));
    candidate.replace(lenient.negativeSign(), QStringLiteral("-"));
    candidate.replace(lenient.positiveSign(), QStringLiteral("+"));
    candidate.replace(lenient.exponential(), QStringLiteral("e"), Qt::CaseInsensitive);
    for (QChar &c : candidate) {
        if (c.category() == QChar::Number_DecimalDigit && !isAsciiDigit(c))
            c = QChar(u'0' + c.digitValue());
    }
    return readFixed(candidate, units);
}

QString digitsOf(Units value)
{
    if (value == 0)
        return QStringLiteral("0");
    QString out;
    while (value > 0) {
        out.prepend(QChar(u'0' + static_cast<int>(value % 10)));
        value /= 10;
    }
    return out;
}

Units powerOfTen(int n)
{
    Units p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

} // namespace

Reading read(QStringView text, const QLocale &locale, Units *units)
{
    const QStringView t = trimmed(text);
    if (t.isEmpty())
        return Reading::Empty;
    Units value = 0;
    Reading reading = readFixed(t, &value);
    if (reading == Reading::NotAmount)
        reading = readLocale(t, locale, &value);
    if (reading == Reading::Value && units)
        *units = value;
    return reading;
}

QString format(Units units, const QLocale &locale)
{
    const bool negative = units < 0;
    const Units magnitude = negative ? -units : units;
    const Units cent = powerOfTen(Decimals - 2);
    Units cents = magnitude / cent;
    if ((magnitude % cent) * 2 >= cent)
        ++cents;
    QString text = digitsOf(cents / 100) + QLatin1Char('.');
    const int fraction = static_cast<int>(cents % 100);
    text += QChar(u'0' + fraction / 10);
    text += QChar(u'0' + fraction % 10);
    // The locale's digits, separator and sign; the pattern has no grouping.
    const QString zero = locale.zeroDigit();
    if (zero.size() == 1 && zero.at(0) != QLatin1Char('0')) {
        for (QChar &c : text) {
            if (isAsciiDigit(c))
                c = QChar(zero.at(0).unicode() + (c.unicode() - u'0'));
        }
    }
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (negative && cents != 0)
        text.prepend(locale.negativeSign());
    return text;
}

Balance balanceOf(const StringGrid &grid, int debitColumn, int creditColumn, int firstRow,
                  const QLocale &locale)
{
    Balance result;
    Units credit = 0;
    Units debit = 0;
    for (int row = std::max(firstRow, 0); row < grid.rowCount(); ++row) {
        for (const int column : {debitColumn, creditColumn}) {
            const QString text = grid.cell(column, row);
            Units value = 0;
            const Reading reading = read(text, locale, &value);
            if (reading == Reading::Empty)
                continue;
            if (reading != Reading::Value || value < 0) {
                result.skipped.append({row, column, text, reading});
                continue;
            }
            Units &total = column == debitColumn ? debit : credit;
            if (__builtin_add_overflow(total, value, &total))
                result.overflow = true;
        }
    }
    if (__builtin_sub_overflow(credit, debit, &result.balance))
        result.overflow = true;
    return result;
}

QString describeSkipped(const QList<SkippedCell> &skipped, const QStringList &headings)
{
    constexpr qsizetype kNamed = 5;
    QStringList parts;
    for (qsizetype i = 0; i < skipped.size() && i < kNamed; ++i) {
        const SkippedCell &cell = skipped.at(i);
        const QString why = cell.reading == Reading::TooLarge ? tr("too large to add exactly")
                            : cell.reading == Reading::Value  ? tr("below zero")
                                                              : tr("not an amount");
        const QString heading = cell.column < headings.size() ? headings.at(cell.column) : QString();
        parts.append(tr("row %1 (%2 \"%3\": %4)").arg(cell.row).arg(heading, cell.text.trimmed(), why));
    }
    QString text = parts.join(QStringLiteral(", "));
    if (skipped.size() > kNamed)
        text += tr(" and %1 more").arg(skipped.size() - kNamed);
    return text;
}

} // namespace Amount
