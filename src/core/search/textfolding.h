#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

// Text as the search compares it: compatibility-decomposed (NFKD), with
// every combining mark dropped and case folded, so "Café", "CAFE" and
// "cafe" read alike, as do "ﬁ" and "fi". Folded text is kept as UTF-8
// bytes: the notes are mostly ASCII, so that takes about a byte a
// character, and a folded word is found inside folded text by a plain
// byte search. Line breaks stay where they are (CR LF and a lone CR become
// LF): line n of the folded text is line n of the original.
namespace TextFolding {

// Appends the folded form of the text to out.
void appendFolded(QStringView text, std::string &out);
std::string folded(QStringView text);

// A folded line together with, for every byte of it, the position in the
// original line of the character it came from; origins has one more entry
// than bytes, the original line's length, so that the end of a match maps
// too.
struct MappedLine
{
    std::string bytes;
    std::vector<qsizetype> origins;
};
MappedLine foldedWithOrigins(QStringView line);

} // namespace TextFolding
