#pragma once

#include "core/common/textfile.h"
#include "core/grid/stringgrid.h"

#include <QString>

// One project's sleep record: the binding to a project folder and a date,
// the in-memory year store of the bound year and the month of half-hour
// slots shown in the sleep grid.
//
// The year store `yearChart` holds a header row and one row per day of the
// year (row r is day r, 366 days in a leap year); column 2 holds the day's
// total of marked hours, column 10 + s "*" when slot row s is marked. A
// December grid also shows 1 and 2 January of the following year; those
// days live in that year's own store, loaded beside the bound one and
// written to that year's file once one of them changes.
class SleepRecord
{
public:
    SleepRecord();

    // The binding: the project folder (ending with "/"), the selected
    // date and its parts, the month folder name (Y2024M5) and the month's
    // short name (May).
    QString trackedFolder() const { return m_trackedFolder; }
    double selectedDate() const { return m_selectedDate; }
    quint16 year() const { return m_year; }
    quint16 month() const { return m_month; }
    quint16 day() const { return m_day; }
    QString monthKey() const { return m_monthKey; }
    QString monthText() const { return m_monthText; }
    // The first date of the sleep grid (its column 1).
    int firstDate() const { return m_firstDate; }
    // The first date and the file of the bound year's store.
    int yearStart() const { return m_yearStart; }
    QString yearFile() const { return m_yearFile; }
    // True once a binding has loaded its files (see markLoaded).
    bool isLoaded() const { return m_loaded; }
    // The binding is complete: its note, year and grid are loaded.
    void markLoaded() { m_loaded = true; }

    // The note file bound to the memo; empty while none is.
    QString noteFile() const { return m_noteFile; }
    // Binds the note of a date in the tracked folder and returns its file.
    QString bindNote(double date);
    // The memo holds no note (its file could not be read).
    void releaseNote() { m_noteFile.clear(); }

    // The year store of the bound year.
    StringGrid yearChart;
    // The year after it, for the first days of January in a December grid.
    StringGrid nextYearChart;

    // Binding steps without files: keeps the date's parts, the folder, the
    // selected date, the month key and the month text.
    void bind(const QString &folder, double date);

    // Makes the year store for a year of trackedFolder: loads its year file
    // or, when there is none, a fresh store with the dates in column 0.
    // A year file that cannot be read (or is damaged beyond the limits of
    // a grid rows file) gives a fresh store that is never written over the
    // file, and the message. A year file that does not hold text is moved
    // aside (see TextFile::readTextBytes): a fresh store that is saved as
    // usual, success, and the notice saying where it is kept.
    Result loadYear(int year, QString *notice = nullptr);

    // Writes the year store (and the following year's store when one of its
    // days changed). Does nothing before the first binding.
    WriteResult saveYear();
    // Creates trackedFolder + MonthKey when missing; false when it cannot.
    bool ensureMonthFolder() const;

    // The store and row that hold a date, or nullptr for a date in neither
    // the bound year nor the year after it.
    StringGrid *storeFor(int dayNumber, int *row);
    const StringGrid *storeFor(int dayNumber, int *row) const;

    bool isSlotMarked(int dayNumber, int slot) const;
    // The day total as stored, empty when there is none.
    QString dayTotal(int dayNumber) const;

    // The sleep grid: sleepChart (34 columns, 52 rows; header cell of a
    // day column = the day total, slot cell " " when marked) and the date
    // header dateChart (3 rows, 34 columns).
    static void clearSleepGrid(StringGrid &sleep);
    void fillSleepGrid(StringGrid &sleep, StringGrid &dates, int first);
    int columnDate(int column) const { return m_firstDate + column - 1; }
    static double dayHours(const StringGrid &sleep, int column);

    // What a toggled slot changes.
    struct Toggle
    {
        bool valid = false;
        double hours = 0;
        double last7 = 0;
        double last30 = 0;
    };
    // Toggles slot `row` of grid column `column` in the sleep grid and the
    // store, writes the day's short date and total, and sums the totals of
    // the 7 and 30 days before the day. selectedDate becomes the column's
    // date. Header row, column 0 and rows outside the slots are refused.
    Toggle toggleSlot(StringGrid &sleep, int column, int row);

    // Mean day total per weekday (Monday first) over the 31 days ending
    // with the date.
    QList<double> weekdayAverages(int dayNumber) const;

    // True when the year file could not be read this binding (it is then
    // never overwritten, and its days take no marks).
    bool yearFileRefused() const { return m_yearRefused; }
    // True when a day of that date lies in a store whose file could not
    // be read: its slots cannot be toggled.
    bool isReadOnly(int dayNumber) const;
    // True when a toggle has not reached the year file yet (its write
    // failed).
    bool hasUnsavedChanges() const { return m_yearChanged || m_nextChanged; }

private:
    QString m_trackedFolder;
    double m_selectedDate = 0;
    int m_firstDate = 0;
    int m_yearStart = 0;
    QString m_yearFile;
    QString m_noteFile;
    QString m_monthKey;
    QString m_monthText;
    quint16 m_year = 0;
    quint16 m_month = 0;
    quint16 m_day = 0;
    bool m_loaded = false;

    static void freshStore(StringGrid &store, int year);
    static Result loadStore(StringGrid &store, const QString &file, int year, QString *notice = nullptr);
    // Loads the year after the bound one the first time a day of it is
    // needed.
    void ensureNextYear();
    QString nextYearFile() const;

    bool m_nextLoaded = false;
    bool m_yearChanged = false;
    bool m_nextChanged = false;
    bool m_yearRefused = false;
    bool m_nextRefused = false;
};
