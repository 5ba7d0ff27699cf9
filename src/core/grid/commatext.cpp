#include "core/grid/commatext.h"

#include <algorithm>

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

void appendRow(QString &out, const QStringList &cells, qsizetype count)
{
    if (count == 1 && (cells.isEmpty() || cells.first().isEmpty())) {
        out += QLatin1String("\"\"");
        return;
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            out += QChar(kComma);
        if (i >= cells.size())
            continue;
        const QString &cell = cells.at(i);
        if (!needsQuotes(cell)) {
            out += cell;
            continue;
        }
        out += QChar(kQuote);
        qsizetype run = 0;
        const qsizetype n = cell.size();
        for (qsizetype k = 0; k < n; ++k) {
            const char16_t c = cell.at(k).unicode();
            if (c != kQuote && !isLineBreak(c))
                continue;
            out += QStringView(cell).mid(run, k - run);
            out += c == kQuote ? QLatin1String("\"\"") : QLatin1String(" ");
            run = k + 1;
        }
        out += QStringView(cell).mid(run);
        out += QChar(kQuote);
    }
}

QString encodeRow(const QStringList &cells)
{
    QString line;
    appendRow(line, cells, cells.size());
    return line;
}

QStringList decodeLine(QStringView line, qsizetype fieldLimit)
{
    QStringList fields;
    const char16_t *p = line.utf16();
    const char16_t *const end = p + line.size();
    // Most lines have one field more than commas; one pass over the line
    // saves growing the list field by field.
    qsizetype commas = 0;
    for (const char16_t *q = p; q < end; ++q)
        commas += *q == kComma;
    fields.reserve(fieldLimit >= 0 ? std::min(commas + 1, fieldLimit + 1) : commas + 1);

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
