#pragma once

#include "core/common/textfile.h"

#include <QColor>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

class StringGrid;

// Stateless routines over a StringGrid, shared by the ledger and the
// tracker. Row 0 is the heading row of every grid they work on.

// Inserts an empty row at `row` (1 or more); the rows from there on move
// down by one. The current cell stays where it is.
void insertGridRow(StringGrid &grid, int row);

// Removes `row`; the rows below move up. Row 0 and rows outside the grid
// are never removed. The current row then moves up by one, but not above
// row 1, whichever row was removed.
void deleteGridRow(StringGrid &grid, int row);

// Limits that keep a damaged or hostile grid rows file from exhausting
// memory: a file larger than this, with more lines or with a line of more
// fields is refused with a message and left untouched.
inline constexpr qint64 kMaxGridFileBytes = 64LL * 1024 * 1024;
inline constexpr int kMaxGridRows = 1000000;
inline constexpr int kMaxGridColumns = 1024;

// Replaces the grid's content with the lines of a grid rows file. The row
// count becomes the number of lines, the column count the largest number
// of fields of a line (at least 1). An empty field becomes a cell holding
// a single blank, so later fields keep their columns. With no lines the
// grid keeps one row, whose cells are left as they were.
// Fails with a message naming the file when the lines are refused (the
// grid is then unchanged).
Result loadGridLines(StringGrid &grid, const QStringList &lines, const QString &fileName);

// Reads a grid rows file into the grid (see loadGridLines). A file that
// cannot be read, is too large or does not hold text leaves the grid
// unchanged and fails with a message naming the file. With a notice, a
// file that does not hold text is moved aside instead (see
// TextFile::readTextBytes): success, the grid unchanged and the notice
// saying so; the caller then starts a new grid.
Result loadGridRows(StringGrid &grid, const QString &fileName, QString *notice = nullptr);

// One comma-text line per row, from row 0 to the last.
QStringList gridRowsToLines(const StringGrid &grid);

// Writes every row to the file, replacing it atomically. The folder must
// exist; otherwise the result carries the message.
WriteResult saveGridRows(const StringGrid &grid, const QString &fileName);

// The numeric cell test shared by the summing routines: the text without
// leading and trailing characters of codes 0 to 32; empty gives no value.
// Otherwise a decimal number in the locale's format (optional sign and
// exponent, no group separators); anything else counts as -1. Values below
// 0 are not used by the routines.
std::optional<double> numericCellValue(const QString &text, const QLocale &locale = QLocale());

// Sum of the usable values of a column from firstRow to lastRow inclusive;
// the rows are limited to the grid. Additions that would overflow are
// passed over.
double sumGridColumn(const StringGrid &grid, int column, int firstRow, int lastRow,
                     const QLocale &locale = QLocale());

// Average of the usable values of a column over the rows standing for the
// given weekday (1 Monday .. 7 Sunday) of the year, row r being day r of
// the year (row 1 is 1 January). Rows past the grid's end are empty.
// 0 when no value was used.
double averageGridWeekday(const StringGrid &grid, int year, int weekday, int column, int firstRow,
                          int lastRow, const QLocale &locale = QLocale());

// Sum of the usable values of a column from firstRow (at least 1) to the
// last row, rounded down to a whole number (12.75 gives 12). A sum beyond
// the 32-bit range gives the largest 32-bit number.
int sumGridColumnFloor(const StringGrid &grid, int column, int firstRow,
                       const QLocale &locale = QLocale());

// What a striped cell shows: the text, or its first 37 characters and
// "..." when it is longer.
QString stripedCellText(const QString &text);

// The background of a striped row: #C0DCC0 for the heading row, #F4F9FD
// for odd rows and the grid's own background for the other even rows.
QColor stripedRowColor(int row, const QColor &gridBackground);
