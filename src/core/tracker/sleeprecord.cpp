#include "core/tracker/sleeprecord.h"

#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "core/grid/gridroutines.h"
#include "core/tracker/sleeptrack.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

using namespace SleepTrack;

namespace {

const QString kMark = QStringLiteral("*");
const QString kMarkedCell = QStringLiteral(" ");

// An empty field of a year file loads as a single blank; both mean "none".
bool isBlank(const QString &cell)
{
    return cell.isEmpty() || cell == kMarkedCell;
}

// Texts stored in the year file are the same whatever the desktop's
// language: English month names and a point in numbers.
QLocale storedLocale()
{
    return QLocale::c();
}

QString longDay(const QDate &date)
{
    return formatDateTime(QStringLiteral("mmmm d"), static_cast<double>(DayNumber::fromDate(date)),
                          storedLocale());
}

} // namespace

SleepRecord::SleepRecord()
    : yearChart(kStoreColumns, kStoreRows)
    , nextYearChart(kStoreColumns, kStoreRows)
{
    yearChart.setFixedRows(1);
    nextYearChart.setFixedRows(1);
}

void SleepRecord::bind(const QString &folder, double date)
{
    const QDate day = DayNumber::toDate(date);
    m_year = static_cast<quint16>(day.year());
    m_month = static_cast<quint16>(day.month());
    m_day = static_cast<quint16>(day.day());
    m_trackedFolder = folder;
    m_selectedDate = date;
    m_monthKey = monthKeyOf(day);
    m_monthText = formatDateTime(QStringLiteral("mmm"), date);
}

QString SleepRecord::bindNote(double date)
{
    m_noteFile = m_trackedFolder + noteFileName(DayNumber::toDate(date));
    return m_noteFile;
}

void SleepRecord::freshStore(StringGrid &store, int year)
{
    QList<QStringList> rows;
    rows.reserve(kStoreRows);
    rows.append({QStringLiteral("Date"), QStringLiteral("Farenheit"), QStringLiteral("Celsius"),
                 QStringLiteral("BarHeight"), QStringLiteral("Time")});
    const QDate first(year, 1, 1);
    const int days = first.daysInYear();
    for (int r = 1; r < kStoreRows; ++r) {
        // m_day 366 of a common year has no date.
        if (r <= days)
            rows.append({longDay(first.addDays(r - 1))});
        else
            rows.append(QStringList());
    }
    store.replaceAll(kStoreColumns, std::move(rows));
    store.setFixedRows(1);
}

Result SleepRecord::loadStore(StringGrid &store, const QString &file, int year, QString *notice)
{
    if (!TextFile::entryExists(file)) {
        freshStore(store, year);
        return Result::success();
    }
    // Only a load that can say so moves a damaged file aside; any other
    // refuses it and leaves it as it is.
    QString keptAside;
    const Result loaded = loadGridRows(store, file, notice ? &keptAside : nullptr);
    if (!loaded) {
        freshStore(store, year);
        return loaded;
    }
    if (!keptAside.isEmpty()) {
        // The file did not hold text and was moved aside: a new year starts.
        freshStore(store, year);
        if (notice)
            *notice = keptAside;
        return Result::success();
    }
    // Files written with fewer rows or columns keep their content; the
    // store grows to hold every day and every slot.
    const int loadedRows = store.rowCount();
    if (store.columnCount() < kStoreColumns)
        store.setColumnCount(kStoreColumns);
    if (loadedRows < kStoreRows) {
        store.setRowCount(kStoreRows);
        const QDate first(year, 1, 1);
        for (int r = qMax(1, loadedRows); r <= first.daysInYear(); ++r)
            store.setCell(0, r, longDay(first.addDays(r - 1)));
    }
    store.setFixedRows(1);
    return Result::success();
}

Result SleepRecord::loadYear(int year, QString *notice)
{
    m_yearStart = firstDayOfYear(year);
    m_yearFile = m_trackedFolder + yearFileName(year);
    m_nextLoaded = false;
    m_nextChanged = false;
    m_nextRefused = false;
    m_yearChanged = false;
    const Result loaded = loadStore(yearChart, m_yearFile, year, notice);
    m_yearRefused = !loaded;
    return loaded;
}

QString SleepRecord::nextYearFile() const
{
    return m_trackedFolder + yearFileName(DayNumber::toDate(m_yearStart).year() + 1);
}

void SleepRecord::ensureNextYear()
{
    if (m_nextLoaded || m_yearFile.isEmpty())
        return;
    m_nextRefused = !loadStore(nextYearChart, nextYearFile(), DayNumber::toDate(m_yearStart).year() + 1);
    m_nextLoaded = true;
}

WriteResult SleepRecord::saveYear()
{
    if (m_yearFile.isEmpty() || !m_loaded)
        return {};
    if (!m_yearRefused) {
        const WriteResult written = saveGridRows(yearChart, m_yearFile);
        if (!written)
            return written;
        m_yearChanged = false;
    }
    if (m_nextLoaded && m_nextChanged && !m_nextRefused) {
        const WriteResult written = saveGridRows(nextYearChart, nextYearFile());
        if (!written)
            return written;
        m_nextChanged = false;
    }
    return {};
}

bool SleepRecord::ensureMonthFolder() const
{
    if (m_trackedFolder.isEmpty())
        return false;
    const QString folder = m_trackedFolder + m_monthKey;
    return QFileInfo(folder).isDir() || QDir().mkdir(folder);
}

StringGrid *SleepRecord::storeFor(int dayNumber, int *row)
{
    const QDate date = DayNumber::toDate(dayNumber);
    const int year = DayNumber::toDate(m_yearStart).year();
    if (!date.isValid() || m_yearFile.isEmpty())
        return nullptr;
    *row = date.dayOfYear();
    if (date.year() == year)
        return &yearChart;
    if (date.year() == year + 1) {
        ensureNextYear();
        return &nextYearChart;
    }
    return nullptr;
}

const StringGrid *SleepRecord::storeFor(int dayNumber, int *row) const
{
    const QDate date = DayNumber::toDate(dayNumber);
    const int year = DayNumber::toDate(m_yearStart).year();
    if (!date.isValid() || m_yearFile.isEmpty())
        return nullptr;
    *row = date.dayOfYear();
    if (date.year() == year)
        return &yearChart;
    if (date.year() == year + 1 && m_nextLoaded)
        return &nextYearChart;
    return nullptr;
}

bool SleepRecord::isSlotMarked(int dayNumber, int slot) const
{
    int row = 0;
    const StringGrid *store = storeFor(dayNumber, &row);
    return store && store->cell(kSlotColumnBase + slot, row) == kMark;
}

QString SleepRecord::dayTotal(int dayNumber) const
{
    int row = 0;
    const StringGrid *store = storeFor(dayNumber, &row);
    if (!store)
        return {};
    const QString total = store->cell(kTotalColumn, row);
    return isBlank(total) ? QString() : total;
}

void SleepRecord::clearSleepGrid(StringGrid &sleep)
{
    QList<QStringList> rows(sleep.rowCount());
    // Column 0 holds nothing; the day columns lose their totals and marks.
    sleep.replaceAll(sleep.columnCount(), std::move(rows));
}

void SleepRecord::fillSleepGrid(StringGrid &sleep, StringGrid &dates, int first)
{
    if (sleep.columnCount() < kGridDays + 1)
        sleep.setColumnCount(kGridDays + 1);
    if (sleep.rowCount() < kSlotRows + 1)
        sleep.setRowCount(kSlotRows + 1);
    clearSleepGrid(sleep);
    sleep.setFixedRows(1);
    m_firstDate = first;
    if (first < 0)
        return;

    QList<QStringList> header(3);
    for (int c = 0; c <= kGridDays - 1; ++c) {
        const double day = first + c;
        header[0].append(formatDateTime(QStringLiteral("ddd"), day));
        header[1].append(formatDateTime(QStringLiteral("mmm"), day));
        header[2].append(formatDateTime(QStringLiteral("d"), day));
    }
    dates.replaceAll(kGridDays + 1, std::move(header));

    QList<QStringList> rows(sleep.rowCount(), QStringList(sleep.columnCount()));
    for (int c = 1; c <= kGridDays; ++c) {
        int d = 0;
        const StringGrid *store = storeFor(columnDate(c), &d);
        if (!store)
            continue;
        const QString total = store->cell(kTotalColumn, d);
        if (total != kMarkedCell)
            rows[0][c] = total;
        const QStringList cells = store->rowCells(d);
        for (int s = 1; s <= kSlotRows && s < rows.size(); ++s) {
            if (cells.value(kSlotColumnBase + s) == kMark)
                rows[s][c] = kMarkedCell;
        }
    }
    sleep.replaceAll(sleep.columnCount(), std::move(rows));
    sleep.setFixedRows(1);
}

double SleepRecord::dayHours(const StringGrid &sleep, int column)
{
    double hours = 0;
    for (int s = 1; s <= kSlotRows; ++s) {
        if (sleep.cell(column, s) == kMarkedCell)
            hours += 0.5;
    }
    return hours;
}

SleepRecord::Toggle SleepRecord::toggleSlot(StringGrid &sleep, int column, int row)
{
    Toggle result;
    // A grid that was not built (days before day 0) takes no marks.
    if (column < 1 || column > kGridDays || row < 1 || row > kSlotRows || m_yearFile.isEmpty() || m_firstDate < 0)
        return result;
    const int date = columnDate(column);
    int d = 0;
    StringGrid *store = storeFor(date, &d);
    // A store whose file could not be read takes no marks: they could
    // never be saved.
    if (!store || isReadOnly(date))
        return result;

    const bool marked = sleep.cell(column, row) != kMarkedCell;
    sleep.setCell(column, row, marked ? kMarkedCell : QString());
    m_selectedDate = date;

    result.valid = true;
    result.hours = dayHours(sleep, column);
    sleep.setCell(column, 0, formatFloat(QStringLiteral("0.0"), result.hours));
    store->setCell(kShortDateColumn, d, formatDateTime(QStringLiteral("mmm d"), m_selectedDate, storedLocale()));
    store->setCell(kTotalColumn, d, formatFloat(QStringLiteral("0.0"), result.hours, storedLocale()));
    // The clicked day and the 7 (then 30) days before it.
    result.last7 = sumGridColumn(*store, kTotalColumn, d - 7, d);
    result.last30 = sumGridColumn(*store, kTotalColumn, d - 30, d);
    store->setCell(kSlotColumnBase + row, d, marked ? kMark : QString());
    if (store == &nextYearChart)
        m_nextChanged = true;
    else
        m_yearChanged = true;
    return result;
}

bool SleepRecord::isReadOnly(int dayNumber) const
{
    const QDate date = DayNumber::toDate(dayNumber);
    const int year = DayNumber::toDate(m_yearStart).year();
    if (date.year() == year)
        return m_yearRefused;
    return date.year() == year + 1 && m_nextRefused;
}

QList<double> SleepRecord::weekdayAverages(int dayNumber) const
{
    QList<double> averages;
    int d = 0;
    const StringGrid *store = storeFor(dayNumber, &d);
    const int year = DayNumber::toDate(dayNumber).year();
    for (int w = 1; w <= 7; ++w)
        averages.append(store ? averageGridWeekday(*store, year, w, kTotalColumn, d - 30, d) : 0.0);
    return averages;
}
