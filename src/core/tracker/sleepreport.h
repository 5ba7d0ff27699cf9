#pragma once

#include "core/common/textfile.h"

#include <QString>
#include <QStringList>

// The sleep report: a small HTML page in the build folder made from the
// readings file "time.txt" of a project's month folder. Each reading line
// is shown in a table when it holds a "."; a line that is exactly "F=" or
// "T" is passed over, any other line adds an empty row.
namespace SleepReport {

// "DedoDurid.html"
QString fileName();

// The report's lines for the month's short name, the lines of the
// readings file and the creation date text. A reading is text, so "<",
// ">" and "&" in it are escaped before its "=" signs are widened.
QStringList reportLines(const QString &monthText, const QStringList &readings,
                  const QString &createdDate);

struct Result
{
    bool written = false; // false when there was no readings file
    WriteResult write;    // the failure to read the readings or write the report
};

// Writes the report from the readings file when it exists; without one,
// nothing is written and an earlier report stays as it was.
Result writeReport(const QString &readingsPath, const QString &reportPath, const QString &monthText,
             const QString &createdDate);

} // namespace SleepReport
