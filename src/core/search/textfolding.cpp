#include "core/search/textfolding.h"

#include <QChar>
#include <QString>

namespace {

void appendUtf8(char32_t code, std::string &out)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Folds one character (a code point) that is not ASCII.
void appendFoldedCodePoint(char32_t code, std::string &out)
{
    // A lone surrogate is no character: it matches nothing.
    if (QChar::isSurrogate(code))
        return;
    const QString decomposed = QString::fromUcs4(&code, 1).normalized(QString::NormalizationForm_KD);
    const QList<uint> codes = decomposed.toUcs4();
    for (const uint part : codes) {
        if (QChar::isMark(part))
            continue;
        const char32_t lower = QChar::toCaseFolded(part);
        appendUtf8(lower, out);
    }
}

// Calls emit(code point, index of its first UTF-16 unit) for each
// character of the text.
template <typename Emit>
void forEachCodePoint(QStringView text, Emit emit)
{
    const qsizetype size = text.size();
    const QChar *units = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1].unicode())) {
            emit(QChar::surrogateToUcs4(unit, units[i + 1].unicode()), i);
            ++i;
        } else {
            emit(char32_t(unit), i);
        }
    }
}

} // namespace

namespace TextFolding {

void appendFolded(QStringView text, std::string &out)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        // A run of ASCII, the usual case, is copied in lower case at once.
        qsizetype end = i;
        while (end < size && units[end] < 0x80)
            ++end;
        if (end > i) {
            const size_t at = out.size();
            out.resize(at + size_t(end - i));
            char *target = out.data() + at;
            for (qsizetype k = i; k < end; ++k) {
                const char16_t c = units[k];
                if (c == u'\r') {
                    // CR LF and a lone CR are line breaks like LF.
                    if (k + 1 < size && units[k + 1] == u'\n')
                        continue;
                    *target++ = '\n';
                    continue;
                }
                *target++ = static_cast<char>(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
            }
            out.resize(size_t(target - out.data()));
            i = end;
            continue;
        }
        // One character beyond ASCII (a surrogate pair is one character).
        char32_t code = units[i];
        qsizetype length = 1;
        if (QChar::isHighSurrogate(units[i]) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            code = QChar::surrogateToUcs4(units[i], units[i + 1]);
            length = 2;
        }
        appendFoldedCodePoint(code, out);
        i += length;
    }
}

std::string folded(QStringView text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    appendFolded(text, out);
    // Kept for as long as the document is: no room to spare.
    if (out.capacity() > out.size() + out.size() / 64)
        out.shrink_to_fit();
    return out;
}

MappedLine foldedWithOrigins(QStringView line)
{
    MappedLine mapped;
    forEachCodePoint(line, [&mapped](char32_t code, qsizetype at) {
        const size_t before = mapped.bytes.size();
        const QString one = QString::fromUcs4(&code, 1);
        appendFolded(one, mapped.bytes);
        mapped.origins.insert(mapped.origins.end(), mapped.bytes.size() - before, at);
    });
    mapped.origins.push_back(line.size());
    return mapped;
}

} // namespace TextFolding
