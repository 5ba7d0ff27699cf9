#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every text store of the program is a whole file of lines: written in
// UTF-8 with CR LF between lines, read with any line end (CR, LF, CR LF),
// UTF-8 with a fallback to Windows-1252 for files from older installs.
// A missing file reads as empty. Writes replace the file atomically.

// The outcome of a write: ok, or a message naming the file and the reason.
struct WriteResult
{
    bool ok = true;
    QString error;
    explicit operator bool() const { return ok; }
    static WriteResult failure(const QString &message) { return {false, message}; }
};

#include <functional>

namespace TextFile {

// A fault to put behind the safe-write function: given the path and the
// size of a write, the number of bytes the device takes before it fails
// (negative: no fault). Tests use it to make writes fail part-way.
using WriteFault = std::function<qint64(const QString &path, qint64 size)>;
void setWriteFault(WriteFault fault);

// Writes the bytes to the path through a QSaveFile: either the old or the
// new content is on disk afterwards, never a mix.
WriteResult writeBytes(const QString &path, const QByteArray &bytes);

// Reads the bytes; a missing file gives empty bytes and ok. A file that
// exists but cannot be read fails with a message naming it.
bool readBytes(const QString &path, QByteArray *bytes, QString *error = nullptr);

// Decodes stored bytes: UTF-8 (a leading byte-order mark is dropped), or
// Windows-1252 when the bytes are not valid UTF-8.
QString decode(const QByteArray &bytes);

// Editor text: lines joined by CR LF, no line break after the last line,
// so the file holds exactly what the editor holds. Reading turns every
// line end into "\n", the editor's own line end.
QString readText(const QString &path, QString *error = nullptr);
WriteResult writeText(const QString &path, const QString &text);
QByteArray encodeText(const QString &text);

// Lists of lines: one line per entry, each followed by CR LF. Reading a
// file "a<CRLF>b<CRLF>" or "a<CRLF>b" gives the two lines a and b.
QStringList readLines(const QString &path, QString *error = nullptr);
QStringList splitLines(const QString &text);
WriteResult writeLines(const QString &path, const QStringList &lines);
QByteArray encodeLines(const QStringList &lines);

// Any line end to "\n".
QString normaliseLineEnds(const QString &text);

} // namespace TextFile
