#pragma once

#include <QLocale>
#include <QString>

// Names of a date's note file and day folder. They follow the user's
// locale ("mmm" is the locale's month abbreviation), as the stored files
// of existing data folders do.
namespace DayNotes {

// "mmm-dd-yyy" + ".txt": 5 January 2024 gives "Jan-05-2024.txt".
QString NoteName(double date, const QLocale &locale = QLocale());

// "mmm-dd-yyy" without an extension: the day folder's name.
QString FolderName(double date, const QLocale &locale = QLocale());

// Saturday or Sunday.
bool IsWeekend(double date);

} // namespace DayNotes
