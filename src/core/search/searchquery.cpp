#include "core/search/searchquery.h"

#include "core/search/textfolding.h"

#include <algorithm>

namespace {

bool isSeparator(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

// A phrase's words are matched with single blanks between them, whatever
// the user typed between them.
QString simplifiedPhrase(QStringView phrase)
{
    QString out;
    bool gap = false;
    for (const QChar c : phrase) {
        if (isSeparator(c)) {
            gap = !out.isEmpty();
            continue;
        }
        if (gap)
            out += QLatin1Char(' ');
        gap = false;
        out += c;
    }
    return out;
}

} // namespace

SearchQuery SearchQuery::parse(QStringView typed)
{
    SearchQuery query;
    if (typed.size() > kMaxLength) {
        query.refused = true;
        return query;
    }
    QStringList parts;
    qsizetype i = 0;
    const qsizetype size = typed.size();
    while (i < size) {
        const QChar c = typed.at(i);
        if (isSeparator(c)) {
            ++i;
        } else if (c == QLatin1Char('"')) {
            const qsizetype close = typed.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? size : close;
            parts.append(simplifiedPhrase(typed.sliced(i + 1, end - i - 1)));
            i = end + 1;
        } else {
            qsizetype end = i;
            while (end < size && !isSeparator(typed.at(end)) && typed.at(end) != QLatin1Char('"'))
                ++end;
            parts.append(typed.sliced(i, end - i).toString());
            i = end;
        }
    }
    for (const QString &part : std::as_const(parts)) {
        std::string term = TextFolding::folded(part);
        if (term.empty())
            continue;
        if (std::find(query.terms.begin(), query.terms.end(), term) == query.terms.end())
            query.terms.push_back(std::move(term));
    }
    if (int(query.terms.size()) > kMaxTerms) {
        query.terms.clear();
        query.refused = true;
        return query;
    }
    std::stable_sort(query.terms.begin(), query.terms.end(),
                     [](const std::string &a, const std::string &b) { return a.size() > b.size(); });
    return query;
}
