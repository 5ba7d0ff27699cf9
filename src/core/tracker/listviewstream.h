#pragma once

#include "core/common/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The byte layout of a list view with check boxes, as the alarm lists
// ("bedtimes.txt", "wakeuptimes.txt") store it. All integers are 32-bit
// signed little-endian, there is no header or checksum:
//
//   flag          1 byte    1 when the list shows check boxes, else 0
//   count N       4 bytes
//   N entries:    checked   1 byte (only when flag is not 0)
//                 caption   string
//                 count M   4 bytes
//                 M strings (the sub-items)
//
// A string is a 4-byte length followed by that many bytes of text, no
// terminator. An empty list is 01 00 00 00 00.

struct ListViewItem
{
    bool checked = false;
    QString caption;
    QStringList subItems;

    bool operator==(const ListViewItem &) const = default;
};

struct ListViewData
{
    bool checkBoxes = true;
    QList<ListViewItem> items;

    bool operator==(const ListViewData &) const = default;
};

// Writing primitives: one byte, one 32-bit integer, one string (length,
// then the UTF-8 bytes when the length is above 0).
void writeByte(QByteArray &out, quint8 value);
void writeInt(QByteArray &out, qint32 value);
void writeStr(QByteArray &out, const QString &text);

// Reads the primitives from bytes in memory. Past the end readByte and
// readInt give -1; readStr gives an empty string for a length of -1 or
// less and for 0, and for a length beyond the end takes the bytes that
// remain. Every shortfall marks the reader damaged; nothing it does
// allocates more than the input holds.
class ListViewReader
{
public:
    explicit ListViewReader(const QByteArray &bytes) : m_bytes(bytes) {}

    int readByte();
    qint32 readInt();
    QString readStr();

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool damaged() const { return m_damaged; }
    void markDamaged() { m_damaged = true; }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    bool m_damaged = false;
};

// What a load found: clean is false when the bytes were cut short, held a
// count or length that did not fit, or carried bytes after the last
// entry; the entries that could be read are kept all the same.
struct ListViewLoad
{
    bool ok = true;    // false only when the file could not be read at all
    bool clean = true; // false when the content was damaged
    QString error;     // names the file and the reason when !ok or !clean
};

QByteArray encodeListView(const ListViewData &list);

// Decodes the layout. Entries are read until N are read or the bytes run
// out: the entry in which they run out is kept with its missing fields
// empty, further entries are not made up, so a count of two billion in a
// short file cannot make two billion entries. A check byte missing at the
// end leaves the entry unchecked.
ListViewLoad decodeListView(const QByteArray &bytes, ListViewData *list);

// Writes the list to the path atomically.
WriteResult saveListView(const ListViewData &list, const QString &path);

// Reads the file at the path (which the caller has checked exists) into the
// list, replacing its entries. A file too large to be an alarm list is not
// read at all.
ListViewLoad loadListView(ListViewData *list, const QString &path);

// The largest list file that is read; larger ones are refused as damaged.
constexpr qint64 MaxListViewFileSize = 16 * 1024 * 1024;

// Copies a file that did not read cleanly to a free name beside it
// ("bedtimes.txt.damaged", then "bedtimes.txt.damaged-2", ...), so that
// the save that replaces it destroys nothing. Returns the copy's path, or
// the reason there is none.
Expected<QString> keepDamagedCopy(const QString &path);

// The same reader over bytes in memory, for callers (and fuzz targets)
// that hold the file's content already.
inline ListViewLoad loadListView(ListViewData *list, const QByteArray &bytes)
{
    return decodeListView(bytes, list);
}
