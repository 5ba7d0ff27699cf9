// Grid rows files: any line reads as some fields without a hang, and the
// row made of those fields (empty ones stored as a single blank) is
// written as a line that reads back as exactly the same cells.
#include "core/common/textfile.h"
#include "core/grid/commatext.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList lines = TextFile::splitLines(TextFile::decode(bytes));
    for (const QString &line : lines) {
        QStringList cells = CommaText::decodeLine(line);
        // A reader with a limit gives the same first fields and more than
        // the limit exactly when the line has more.
        const QStringList limited = CommaText::decodeLine(line, 3);
        if (limited != cells.mid(0, limited.size()) || (limited.size() > 3) != (cells.size() > 3))
            std::abort();
        for (QString &cell : cells) {
            if (cell.isEmpty())
                cell = QStringLiteral(" ");
        }

        const QString written = CommaText::encodeRow(cells);
        if (written.contains(QLatin1Char('\r')) || written.contains(QLatin1Char('\n')))
            std::abort();
        QStringList back = CommaText::decodeLine(written);
        for (QString &cell : back) {
            if (cell.isEmpty())
                cell = QStringLiteral(" ");
        }
        // A cell that is a line break can only be written as a blank.
        QStringList expected = cells;
        for (QString &cell : expected) {
            cell.replace(QLatin1Char('\r'), QLatin1Char(' '));
            cell.replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
        if (back != expected)
            std::abort();
    }
    return 0;
}
