#pragma once

#include "core/common/textfile.h"

#include <QHash>
#include <QString>

// Remembers what page files held when they were last read or written, so
// that gathering the summary of hundreds of projects again reads only the
// files that changed since, and a summary file that already holds the
// text is not encoded and compared again. A file counts as unchanged while
// its size and modification time (to the nanosecond) are the same.
class PageCache
{
public:
    struct Section
    {
        bool exists = false; // the file holds at least one byte
        QString body;        // "\n   " + line for each non-blank line
    };

    // The summary section body of one page file.
    const Section &section(const QString &path);

    // Writes the text to path (through ProjectPages::savePageText) unless
    // the file is known to hold it already.
    WriteResult saveText(const QString &ownerFolder, const QString &path, const QString &text);

    qsizetype readsDone() const { return m_reads; }

private:
    struct Stamp
    {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const Stamp &other) const = default;
    };
    static bool stampOf(const QString &path, Stamp *stamp);

    struct SectionEntry
    {
        Stamp stamp;
        Section section;
    };
    struct TextEntry
    {
        Stamp stamp;
        QString text;
    };
    QHash<QString, SectionEntry> m_sections;
    QHash<QString, TextEntry> m_written;
    Section m_missing;
    qsizetype m_reads = 0;
};
