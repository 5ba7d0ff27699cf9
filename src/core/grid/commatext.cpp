#include "commatext.h"

namespace CommaText {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

// Codes 0 to 32: blanks and control characters. NUL counts as one of
// them, so a damaged line holding one still moves on.
inline bool isBlankOrControl(char16_t c)
{
    return c <= 32;
}

inline bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

bool needsQuotes(const QString &cell)
{
    for (const QChar ch : cell) {
        const char16_t c = ch.unicode();
        if (isBlankOrControl(c) || c == kQuote || c == kComma || c == 0x7F)
            return true;
    }
    return false;
}

QString encodeRow(const QStringList &cells)
{
    if (cells.size() == 1 && cells.first().isEmpty())
        return QStringLiteral("\"\"");
    QString line;
    qsizetype length = cells.size();
    for (const QString &cell : cells)
        length += cell.size() + 2;
    line.reserve(length);
    bool first = true;
    for (const QString &cell : cells) {
        if (!first)
            line += QChar(kComma);
        first = false;
        if (!needsQuotes(cell)) {
            line += cell;
            continue;
        }
        line += QChar(kQuote);
        for (const QChar ch : cell) {
            if (ch.unicode() == kQuote)
                line += QChar(kQuote);
            line += isLineBreak(ch.unicode()) ? QChar(u' ') : ch;
        }
        line += QChar(kQuote);
    }
    return line;
}

QStringList decodeLine(const QString &line, qsizetype fieldLimit)
{
    QStringList fields;
    const char16_t *p = reinterpret_cast<const char16_t *>(line.constData());
    const char16_t *const end = p + line.size();

    while (p < end && isBlankOrControl(*p))
        ++p;
    while (p < end) {
        if (fieldLimit >= 0 && fields.size() > fieldLimit)
            break;
        if (*p == kQuote) {
            QString field;
            ++p;
            while (p < end) {
                if (*p == kQuote) {
                    if (p + 1 < end && p[1] == kQuote) {
                        field += QChar(kQuote);
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                const char16_t *run = p;
                while (p < end && *p != kQuote)
                    ++p;
                field.append(reinterpret_cast<const QChar *>(run), p - run);
            }
            fields.append(field);
        } else {
            const char16_t *start = p;
            while (p < end && !isBlankOrControl(*p) && *p != kComma)
                ++p;
            fields.append(QString(reinterpret_cast<const QChar *>(start), p - start));
        }
        while (p < end && isBlankOrControl(*p))
            ++p;
        if (p < end && *p == kComma) {
            if (p + 1 == end)
                fields.append(QString());
            ++p;
            while (p < end && isBlankOrControl(*p))
                ++p;
        }
    }
    return fields;
}

} // namespace CommaText
