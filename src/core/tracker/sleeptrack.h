#pragma once

#include <QDate>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// Fixed facts of the sleep tracker: the layout of the year store, the
// half-hour slots, the names of the tracker's files and the sleep-cycle
// pattern. Plain routines, no state.
namespace SleepTrack {

// Slot rows are numbered from 1: rows 1 to 48 are the visible half hours
// from 8 pm to 7:30 pm, rows 49 to 51 lie below the visible area.
inline constexpr int kSlotRows = 51;
inline constexpr int kVisibleSlotRows = 48;
// The year store: a header row and one row per day of the year, 366 in a
// leap year; columns 0 to 10 hold dates and the day total, column 10 + s
// the mark of slot row s.
inline constexpr int kStoreRows = 367;
inline constexpr int kSlotColumnBase = 10;
inline constexpr int kStoreColumns = kSlotColumnBase + kSlotRows + 1;
inline constexpr int kTotalColumn = 2;
inline constexpr int kShortDateColumn = 1;
// The sleep grid shows 33 days: the 31 days ending with the month's last
// day and the first two days of the following month.
inline constexpr int kGridDays = 33;

// Day of the year of a whole day number: 1 January is 1.
int dayOfYear(int dayNumber);
// Day number of 1 January of a year.
int firstDayOfYear(int year);
// Day number of the last day of a month (1..12); a month outside 1..12
// is taken as the nearest one.
int lastDayOfMonth(int year, int month);

// "8 pm", "8:30 pm", ... "7:30 pm" for rows 1..48; empty for other rows.
QString slotLabel(int row);
// The 24 hour labels beside the grid: " 8 pm" ... " 7 pm".
QStringList hourLabels();

// File names inside the project folder.
QString yearFileName(int year);              // 2024-time.txt
QString noteFileName(const QDate &date);     // Y2024M5D7-note.txt
QString monthKeyOf(const QDate &date);       // Y2024M5

// The fixed sleep-depth pattern, one value per quarter hour from the bed
// time on (36 values).
QList<double> sleepCyclePattern();
// The sleep curve from a bed time: x is the day number (bed time + k
// quarter hours), y the depth value.
QList<QPointF> sleepCyclePoints(double start);
// The wake-up line: two points at start + hours, from depth -4 to 1.
QList<QPointF> wakeUpLine(double start, double hours);

} // namespace SleepTrack
