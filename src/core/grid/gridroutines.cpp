#include "core/grid/gridroutines.h"

#include "core/grid/commatext.h"
#include "core/common/daynumber.h"
#include "core/grid/stringgrid.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("GridRows", text);
}

QString shownPath(const QString &fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

// Adds a usable cell value; an addition that overflows is passed over.
inline bool addValue(double *sum, double value)
{
    const double next = *sum + value;
    if (!std::isfinite(next))
        return false;
    *sum = next;
    return true;
}

QLocale numberLocale(const QLocale &locale)
{
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    return strict;
}

// Weekday of a whole day number, Monday 1 .. Sunday 7. Day 0 (30 December
// 1899) was a Saturday.
inline int weekdayOf(qint64 day)
{
    const qint64 m = ((day + 5) % 7 + 7) % 7;
    return static_cast<int>(m) + 1;
}

} // namespace

void insertGridRow(StringGrid &grid, int row)
{
    if (row < 0)
        return;
    grid.insertEmptyRow(std::min(row, grid.rowCount()));
}

void deleteGridRow(StringGrid &grid, int row)
{
    if (row <= 0 || row >= grid.rowCount())
        return;
    const int current = grid.currentRow();
    grid.removeRowAt(row);
    grid.setCurrentRow(current <= 1 ? 1 : current - 1);
}

namespace {

// The lines of a text, split at CR LF, CR or LF; a final line end adds no
// empty line.
QList<QStringView> splitLineViews(QStringView text)
{
    QList<QStringView> lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1).unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

Result loadLineViews(StringGrid &grid, const QList<QStringView> &lines, const QString &fileName)
{
    if (lines.size() > kMaxGridRows) {
        return Result::failure(tr("The file \"%1\" has %2 lines, more than the %3 a table can hold. "
                                  "It was not loaded and is left as it is.")
                                   .arg(shownPath(fileName))
                                   .arg(lines.size())
                                   .arg(kMaxGridRows));
    }
    if (lines.isEmpty()) {
        grid.setColumnCount(1);
        grid.setRowCount(1);
        return Result::success();
    }

    QList<QStringList> rows;
    rows.reserve(lines.size());
    qsizetype columns = 1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringList fields = CommaText::decodeLine(lines.at(i), kMaxGridColumns);
        if (fields.size() > kMaxGridColumns) {
            return Result::failure(tr("Line %1 of the file \"%2\" has more than %3 cells; the file looks "
                                      "damaged. It was not loaded and is left as it is.")
                                       .arg(i + 1)
                                       .arg(shownPath(fileName))
                                       .arg(kMaxGridColumns));
        }
        for (QString &field : fields) {
            if (field.isEmpty())
                field = QStringLiteral(" ");
        }
        columns = std::max(columns, fields.size());
        rows.append(std::move(fields));
    }
    grid.replaceAll(static_cast<int>(columns), std::move(rows));
    return Result::success();
}

} // namespace

Result loadGridLines(StringGrid &grid, const QStringList &lines, const QString &fileName)
{
    QList<QStringView> views;
    views.reserve(lines.size());
    for (const QString &line : lines)
        views.append(line);
    return loadLineViews(grid, views, fileName);
}

Result loadGridRows(StringGrid &grid, const QString &fileName, QString *notice)
{
    const QFileInfo info(fileName);
    if (info.isFile() && info.size() > kMaxGridFileBytes) {
        return Result::failure(tr("The file \"%1\" is larger than %2 MB; it looks damaged. It was not "
                                  "loaded and is left as it is.")
                                   .arg(shownPath(fileName))
                                   .arg(kMaxGridFileBytes / (1024 * 1024)));
    }
    QByteArray bytes;
    if (!notice) {
        Expected<QByteArray> read = TextFile::readBytes(fileName);
        if (!read)
            return Result(read);
        bytes = std::move(read.value);
        if (TextFile::looksDamaged(bytes)) {
            return Result::failure(tr("The file \"%1\" could not be read as text; it looks damaged. It was not "
                                      "loaded and is left as it is.")
                                       .arg(shownPath(fileName)));
        }
    } else {
        Expected<QByteArray> read = TextFile::readTextBytes(fileName);
        *notice = read.notice;
        if (!read)
            return Result(read);
        bytes = std::move(read.value);
        if (!notice->isEmpty())
            return Result::success(); // kept aside: the caller starts a new one
    }
    const QString text = TextFile::decode(bytes);
    return loadLineViews(grid, splitLineViews(text), fileName);
}

QStringList gridRowsToLines(const StringGrid &grid)
{
    QStringList lines;
    const int rows = grid.rowCount();
    lines.reserve(rows);
    for (int r = 0; r < rows; ++r)
        lines.append(CommaText::encodeRow(grid.rowCells(r)));
    return lines;
}

WriteResult saveGridRows(const StringGrid &grid, const QString &fileName)
{
    QString text;
    const int rows = grid.rowCount();
    for (int r = 0; r < rows; ++r) {
        CommaText::appendRow(text, grid.storedRow(r), grid.columnCount());
        text += QLatin1String("\r\n");
    }
    return TextFile::writeBytes(fileName, text.toUtf8());
}

namespace {

// The numeric cell test with a locale that already rejects group
// separators.
// The locale's number format, with a quick path for the common plain
// amounts (digits and at most one decimal separator).
struct NumberFormat
{
    explicit NumberFormat(const QLocale &locale)
        : strict(numberLocale(locale))
    {
        const QString point = strict.decimalPoint();
        if (point.size() == 1)
            decimalPoint = point.at(0).unicode();
    }
    QLocale strict;
    QLocale fixed = numberLocale(QLocale::c());
    char16_t decimalPoint = 0;
};

std::optional<double> plainAmount(QStringView text, char16_t decimalPoint)
{
    constexpr qsizetype kLongest = 32;
    if (decimalPoint == 0 || text.size() > kLongest)
        return std::nullopt;
    char buffer[kLongest];
    bool digit = false;
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            buffer[i] = static_cast<char>(c);
            digit = true;
        } else if (c == decimalPoint && !point) {
            buffer[i] = '.';
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(buffer, buffer + text.size(), value);
    if (ec != std::errc() || end != buffer + text.size())
        return std::nullopt;
    return value;
}

// The numeric cell test.
std::optional<double> cellValue(const QString &text, const NumberFormat &format)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    if (begin == end)
        return std::nullopt;
    const QStringView trimmed = QStringView(text).mid(begin, end - begin);
    // The fixed form first, the same in every language (a point, no
    // grouping), then the locale's.
    if (const std::optional<double> plain = plainAmount(trimmed, u'.'))
        return plain;
    bool fixedOk = false;
    const double fixed = format.fixed.toDouble(trimmed, &fixedOk);
    if (fixedOk && std::isfinite(fixed))
        return fixed;
    if (const std::optional<double> plain = plainAmount(trimmed, format.decimalPoint))
        return plain;
    bool ok = false;
    const double value = format.strict.toDouble(trimmed, &ok);
    // "inf" and "nan" are words, not amounts.
    if (!ok || !std::isfinite(value))
        return -1.0;
    return value;
}

} // namespace

std::optional<double> numericCellValue(const QString &text, const QLocale &locale)
{
    return cellValue(text, NumberFormat(locale));
}

double sumGridColumn(const StringGrid &grid, int column, int firstRow, int lastRow,
                     const QLocale &locale)
{
    const NumberFormat strict(locale);
    const int first = std::max(firstRow, 0);
    const int last = std::min(lastRow, grid.rowCount() - 1);
    double sum = 0;
    for (int r = first; r <= last; ++r) {
        const std::optional<double> value = cellValue(grid.cell(column, r), strict);
        if (value && *value >= 0)
            addValue(&sum, *value);
    }
    return sum;
}

double averageGridWeekday(const StringGrid &grid, int year, int weekday, int column, int firstRow,
                          int lastRow, const QLocale &locale)
{
    const NumberFormat strict(locale);
    const qint64 base = DayNumber::fromDate(QDate(year, 1, 1));
    const int first = std::max(firstRow, 0);
    // Rows past the grid's end hold nothing, so they need no visit.
    const int last = std::min(lastRow, grid.rowCount() - 1);
    double sum = 0;
    int count = 0;
    for (int r = first; r <= last; ++r) {
        if (weekdayOf(base + r - 1) != weekday)
            continue;
        const std::optional<double> value = cellValue(grid.cell(column, r), strict);
        if (value && *value >= 0 && addValue(&sum, *value))
            ++count;
    }
    return count == 0 ? 0.0 : sum / count;
}

int sumGridColumnFloor(const StringGrid &grid, int column, int firstRow, const QLocale &locale)
{
    const double sum =
        std::floor(sumGridColumn(grid, column, std::max(firstRow, 1), INT_MAX, locale));
    if (sum >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(sum);
}

QString stripedCellText(const QString &text)
{
    constexpr qsizetype kShown = 37;
    if (text.size() <= kShown)
        return text;
    return text.left(kShown) + QStringLiteral("...");
}

QColor stripedRowColor(int row, const QColor &gridBackground)
{
    if (row == 0)
        return QColor(0xC0, 0xDC, 0xC0);
    if (row % 2 != 0)
        return QColor(0xF4, 0xF9, 0xFD);
    return gridBackground;
}
