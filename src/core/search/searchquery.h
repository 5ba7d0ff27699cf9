#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

// What the user typed into the search field, made ready for matching:
// words separated by blanks, and phrases in double quotation marks, each
// folded (see TextFolding). A text matches when it holds every word and
// every phrase, in any order.
struct SearchQuery
{
    // Longer queries are not searched: nothing a person writes into a note
    // is found by a query this long, and it must not hold the window up.
    static constexpr qsizetype kMaxLength = 1000;
    // Words past this many are not searched either.
    static constexpr int kMaxTerms = 32;

    // The folded words and phrases, longest first (the longest is the
    // rarest, and the first term rules documents out fastest).
    std::vector<std::string> terms;
    // The query was too long or had too many words: it matches nothing.
    bool refused = false;

    // Control characters count as blanks; an unclosed quotation mark runs
    // to the end of the query. Empty words and phrases are dropped.
    static SearchQuery parse(QStringView typed);

    // Nothing to look for: no result at all.
    bool isEmpty() const { return terms.empty(); }
};
