#pragma once

#include "core/common/result.h"

#include <QList>
#include <QLocale>
#include <QString>

// Names of a date's note file and day folder. Stored names never depend on
// the desktop's language: the month is always the English abbreviation
// Jan ... Dec, as the C locale writes it, so one data folder reads the same
// under any locale. Older installs named them with the locale's month
// abbreviation ("Jan.-05-2024.txt" in German); such names are found and
// adopted by the functions below.
namespace DayNotes {

// "mmm-dd-yyy" + ".txt" with English months: 5 January 2024 gives
// "Jan-05-2024.txt".
QString noteName(double date);

// The day folder's name: "Jan-05-2024".
QString folderName(double date);

// The names a locale's month abbreviation gives ("Jan.-05-2024.txt" in
// German, "janv.-05-2024.txt" in French); equal to noteName/folderName
// where the locale writes the English abbreviation.
QString localeNoteName(double date, const QLocale &locale);
QString localeFolderName(double date, const QLocale &locale);

// Reads a note file's text. Only a regular file is opened: a folder, a
// named pipe or a device in a note's place fails with a message naming it,
// without blocking. A missing file is an empty note.
Expected<QString> readNote(const QString &path);

// Saturday or Sunday.
bool isWeekend(double date);

// What became of a note (or day folder) found under the locale's name.
struct Adoption
{
    enum Outcome {
        Nothing,      // no such entry, or nothing in it worth keeping
        Moved,        // renamed to the fixed name in one step
        Kept,         // could not be renamed: stays, and is used, where it is
        BothHoldText, // both names hold text: both stay, the fixed one is used
    };
    Outcome outcome = Nothing;
    QString fixedPath;
    QString localePath;
    QString error; // why a Kept entry could not be renamed
};

// Gives the entry at localePath the fixed name fixedPath: renamed when
// the fixed name is free, or holds only an empty note (empty folder); left
// where it is when both hold text or the rename fails. Only regular files
// (isFolder false) or folders (isFolder true) are considered; a rename is
// one atomic step, so the text is always under exactly one of the names.
Adoption adoptLocaleNamed(const QString &fixedPath, const QString &localePath, bool isFolder);

// Adopts every note in dbDir and every day folder in userDataDir named with
// the locale's month abbreviations. Both paths end with a separator.
QList<Adoption> adoptAllLocaleNamed(const QString &dbDir, const QString &userDataDir,
                                    const QLocale &locale);

} // namespace DayNotes
