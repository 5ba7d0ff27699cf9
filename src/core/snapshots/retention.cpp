#include "core/snapshots/retention.h"

#include <QSet>

#include <algorithm>
#include <numeric>

QList<bool> snapshotsToKeep(const QList<QDateTime> &taken, const QDate &today)
{
    QList<bool> keep(taken.size(), false);
    QList<qsizetype> newestFirst(taken.size());
    std::iota(newestFirst.begin(), newestFirst.end(), 0);
    std::stable_sort(newestFirst.begin(), newestFirst.end(),
                     [&taken](qsizetype a, qsizetype b) { return taken.at(a) > taken.at(b); });

    struct Rule
    {
        int slots;
        qint64 (*period)(const QDate &);
        QSet<qint64> used;
    };
    Rule rules[] = {
        {7, [](const QDate &d) { return d.toJulianDay(); }, {}},
        {4,
         [](const QDate &d) {
             int weekYear = 0;
             const int week = d.weekNumber(&weekYear);
             return qint64(weekYear) * 100 + week;
         },
         {}},
        {12, [](const QDate &d) { return qint64(d.year()) * 100 + d.month(); }, {}},
    };
    for (const qsizetype index : std::as_const(newestFirst)) {
        const QDate day = taken.at(index).date();
        if (!day.isValid() || day > today) {
            keep[index] = true;
            continue;
        }
        for (Rule &rule : rules) {
            const qint64 period = rule.period(day);
            if (rule.used.contains(period) || rule.used.size() >= rule.slots)
                continue;
            rule.used.insert(period);
            keep[index] = true;
        }
    }
    if (!taken.isEmpty() && std::none_of(keep.begin(), keep.end(), [](bool k) { return k; }))
        keep[newestFirst.first()] = true;
    return keep;
}
