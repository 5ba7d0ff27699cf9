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
    out.reserve(out.size() + size_t(text.size()));
    forEachCodePoint(text, [&out](char32_t code, qsizetype) {
        if (code < 0x80) {
            char c = static_cast<char>(code);
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
            out.push_back(c);
        } else {
            appendFoldedCodePoint(code, out);
        }
    });
}

std::string folded(QStringView text)
{
    std::string out;
    appendFolded(text, out);
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
