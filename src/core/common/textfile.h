#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every text store of the program is a whole file of lines: written in
// UTF-8 with CR LF between lines, read with any line end (CR, LF, CR LF),
// UTF-8 with a fallback to Windows-1252 for files from older installs.
// A missing file reads as empty. Writes replace the file atomically.

#include "core/common/result.h"

// The outcome of a write: ok, or a message naming the file and the reason.
using WriteResult = Result;

class QFile;

namespace TextFile {

// Data folders (see StoredFiles, which registers each while it exists): a
// symbolic link inside one is followed only when its target lies inside it
// too; a link leading out of it or nowhere is never opened, and its target
// is never written. For a path outside every data folder a link is
// followed when its target exists. Reads of a file inside a data folder
// remember the version read; a write over a file that changed on disk
// since keeps that version as "NAME (conflict YYYY-MM-DD HHMM).txt"
// beside it, writes the new bytes under the name and says so in the
// result's notice.

// Where a read or a write of the path goes: the path itself, or the target
// of a symbolic link the rule above lets through. Fails with the reason
// (not a whole message) when the entry must not be opened.
Expected<QString> resolveStoredPath(const QString &path);

// True when something is at the path, a broken symbolic link included
// (QFileInfo::exists follows links and calls a broken one missing).
bool entryExists(const QString &path);

// True when the file at the path, inside a data folder, is no longer the
// version this program last read or wrote there: changed, made or removed
// by another program since. False when it is the same, or when this
// program has not read it.
bool changedOnDisk(const QString &path);

// The program itself renamed a file of a data folder: the version known
// at the old name is the one at the new name, so that its next save is
// not taken for a write over a change made elsewhere.
void noteMoved(const QString &from, const QString &to);

// Writes the bytes to the path through a QSaveFile: either the old or the
// new content is on disk afterwards, never a mix. Every failure of a write,
// the flush to disk or the rename is reported with a message naming the
// file; an entry that is not a regular file (a folder, a named pipe…) is
// never replaced.
WriteResult writeBytes(const QString &path, const QByteArray &bytes);

enum class OpenOutcome { Missing, Opened };

// Opens a stored file for reading: only a regular file, and never blocking
// (a named pipe or a device is refused, not opened). Missing: nothing is
// at the path. A failure names the file and the reason.
Expected<OpenOutcome> openForReading(const QString &path, QFile *file);

// Reads the bytes; a missing file gives empty bytes and ok. A file that
// exists but cannot be read fails with a message naming it.
//
// This and every read below are loads: inside a data folder the version
// read becomes the one the next write compares the file with. Code that
// reads a stored file without taking its text over (a search, a preview,
// a test) must peek instead, or it would hide a change made elsewhere from
// the editor that shows the file.
Expected<QByteArray> readBytes(const QString &path);

// Reads like readBytes and readText, without remembering the version read.
Expected<QByteArray> peekBytes(const QString &path);
Expected<QString> peekText(const QString &path);

// Decodes stored bytes line by line: a line that is valid UTF-8 is read as
// UTF-8, any other line as Windows-1252 (files from older installs). A
// leading byte-order mark is dropped.
QString decode(const QByteArray &bytes);

// True when the bytes cannot be a text file of this program: more than
// one in a hundred is a NUL or a control character other than TAB, LF, VT,
// FF, CR, ESC and a final Ctrl-Z, and they are not valid UTF-8 either (what
// this program writes always is); or they are mostly NUL bytes.
// Windows-1252 text, and text with a stray control character, are not.
bool looksDamaged(QByteArrayView bytes);

// Moves a damaged file aside to "NAME.damaged" (or "NAME.damaged-2", …:
// an existing copy is never replaced), so that a new file can be started
// under its name. Returns the copy's path, or the reason it could not.
Expected<QString> keepDamagedAside(const QString &path);

// Reads a file that must hold text (a list or a table). Bytes that cannot
// be text (see looksDamaged) are not taken: the file is moved aside first,
// the bytes are empty and the notice says which file could not be read as
// text and where it is kept, so that the caller starts a new one. When it
// cannot be moved aside, the read fails (and the caller must not write
// over it).
Expected<QByteArray> readTextBytes(const QString &path);

// Editor text: lines joined by CR LF, no line break after the last line,
// so the file holds exactly what the editor holds. Reading turns every
// line end into "\n", the editor's own line end.
Expected<QString> readText(const QString &path);
WriteResult writeText(const QString &path, const QString &text);
QByteArray encodeText(const QString &text);

// Lists of lines: one line per entry, each followed by CR LF. Reading a
// file "a<CRLF>b<CRLF>" or "a<CRLF>b" gives the two lines a and b.
Expected<QStringList> readLines(const QString &path);
QStringList splitLines(const QString &text);
WriteResult writeLines(const QString &path, const QStringList &lines);
QByteArray encodeLines(const QStringList &lines);

// Any line end to "\n".
QString normaliseLineEnds(const QString &text);

} // namespace TextFile
