#pragma once

#include <QString>
#include <QStringList>

// The comma text of one grid row, as stored in a grid rows file.
//
// Writing: a row of exactly one empty cell is "\"\"". Otherwise the cells
// are joined by ","; a cell holding a blank, a control character, a
// double quotation mark or a comma is enclosed in double quotation marks
// with each mark inside doubled; any other cell is written as it is (an
// empty cell as nothing). A row of n cells always has n - 1 separators.
// A line break inside a cell cannot be stored in a file of lines, so it
// is written as a blank.
//
// Reading: characters with codes 0 to 32 are passed over before the first
// field and after each field. A field that starts with a double quotation
// mark runs to the closing mark ("" inside stands for one mark; a missing
// closing mark ends the field at the end of the line). Any other field
// runs up to a comma or a character with a code of 32 or less, so that an
// unquoted blank also ends a field. A comma ends a field; a comma that is
// the last character adds one more, empty field.
namespace CommaText {

QString encodeRow(const QStringList &cells);
// Appends the comma text of a row of `count` cells to `out`; cells past
// the end of the list are empty.
void appendRow(QString &out, const QStringList &cells, qsizetype count);
// With a limit, reading stops once the line has given more fields than
// that, so a caller can refuse a damaged line without reading all of it.
QStringList decodeLine(QStringView line, qsizetype fieldLimit = -1);

// True when the cell must be written in quotation marks.
bool needsQuotes(const QString &cell);

} // namespace CommaText
