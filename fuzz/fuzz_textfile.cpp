// Stored text files: decoding (UTF-8 with the Windows-1252 fallback), line
// splitting and the editor/list encodings must accept any bytes and keep
// their round-trip promises.
#include "core/common/textfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = TextFile::decode(bytes);
    const QString normal = TextFile::normaliseLineEnds(text);
    if (normal.contains(QLatin1Char('\r')))
        std::abort();

    // Editor text: what is written reads back as the same text.
    const QByteArray stored = TextFile::encodeText(normal);
    QString again = TextFile::normaliseLineEnds(TextFile::decode(stored));
    QString expected = normal;
    expected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    expected.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (!expected.startsWith(QChar(0xFEFF)) && again != expected)
        std::abort();

    // Lists: every line comes back, one per entry.
    const QStringList lines = TextFile::splitLines(text);
    for (const QString &line : lines) {
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            std::abort();
    }
    const QStringList back = TextFile::splitLines(TextFile::decode(TextFile::encodeLines(lines)));
    if (!lines.isEmpty() && !lines.first().startsWith(QChar(0xFEFF)) && back != lines)
        std::abort();
    return 0;
}
