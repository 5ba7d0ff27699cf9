#include "core/snapshots/retention.h"

#include <QTest>

// Which of a set of snapshots the retention rule keeps.
class TestRetention : public QObject
{
    Q_OBJECT

private:
    // The snapshots kept, as "yyyy-MM-dd HH:mm" texts in the order given.
    static QStringList kept(const QList<QDateTime> &taken, const QDate &today)
    {
        const QList<bool> keep = snapshotsToKeep(taken, today);
        QStringList result;
        for (qsizetype i = 0; i < taken.size(); ++i) {
            if (keep.at(i))
                result.append(taken.at(i).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        }
        return result;
    }
    static QDateTime at(int y, int m, int d, int hour = 9)
    {
        return QDateTime(QDate(y, m, d), QTime(hour, 0));
    }
    // One snapshot a day at 09:00 for the given number of days up to today.
    static QList<QDateTime> daily(const QDate &today, int days)
    {
        QList<QDateTime> taken;
        for (int i = 0; i < days; ++i)
            taken.append(QDateTime(today.addDays(-i), QTime(9, 0)));
        return taken;
    }

private Q_SLOTS:
    void nothingToKeepFromNothing()
    {
        QVERIFY(snapshotsToKeep({}, QDate(2026, 12, 10)).isEmpty());
    }

    void fewSnapshotsAreAllKept()
    {
        const QList<QDateTime> taken{at(2026, 12, 10), at(2026, 12, 8), at(2026, 11, 1), at(2025, 6, 3)};
        QCOMPARE(kept(taken, QDate(2026, 12, 10)).size(), 4);
    }

    // A year and a half of daily snapshots: 7 days, then the newest of each
    // of 4 weeks and of each of 12 months; the sets overlap.
    void dailyWeeklyMonthlyFromEveryDay()
    {
        const QDate today(2026, 12, 10); // a Thursday
        const QList<QDateTime> taken = daily(today, 550);
        const QStringList keep = kept(taken, today);
        QStringList expected;
        for (int i = 0; i < 7; ++i) // 4 to 10 December
            expected.append(QDateTime(today.addDays(-i), QTime(9, 0)).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        // Weeks: this week's newest is today (kept already); then the
        // Sundays ending the three weeks before.
        for (const QDate &sunday : {QDate(2026, 11, 29), QDate(2026, 11, 22)})
            expected.append(QDateTime(sunday, QTime(9, 0)).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        // The week of 30 Nov - 6 Dec ends on 6 December, a daily one.
        // Months: December is today; then the last day of each of the 11
        // months before.
        QDate monthEnd(2026, 11, 30);
        for (int i = 0; i < 11; ++i) {
            expected.append(QDateTime(monthEnd, QTime(9, 0)).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
            monthEnd = QDate(monthEnd.year(), monthEnd.month(), 1).addDays(-1);
        }
        QStringList sortedKeep = keep;
        QStringList sortedExpected = expected;
        sortedKeep.sort();
        sortedExpected.removeDuplicates();
        sortedExpected.sort();
        QCOMPARE(sortedKeep, sortedExpected);
        QCOMPARE(keep.size(), 7 + 2 + 11);
    }

    // Several snapshots of one day: only the day's newest counts for it.
    void newestOfTheDayIsKept()
    {
        const QList<QDateTime> taken{at(2026, 12, 10, 8), at(2026, 12, 10, 17), at(2026, 12, 10, 12)};
        QCOMPARE(kept(taken, QDate(2026, 12, 10)), QStringList{QStringLiteral("2026-12-10 17:00")});
    }

    // A program started on a few days only: the last 7 days that have a
    // snapshot count, however far apart they are.
    void daysWithoutSnapshotsTakeNoPlace()
    {
        QList<QDateTime> taken;
        for (int i = 0; i < 10; ++i)
            taken.append(at(2026, 1, 1).addDays(i * 3));
        const QStringList keep = kept(taken, QDate(2026, 12, 10));
        // The 7 newest days, plus the monthly ones of January (newest in
        // it is 28 Jan, a daily one already) — so exactly the 7 newest
        // days and nothing else from weeks (the 4 newest weeks are among
        // them).
        QCOMPARE(keep.size(), 7);
        QVERIFY(keep.contains(QStringLiteral("2026-01-28 09:00")));
        QVERIFY(!keep.contains(QStringLiteral("2026-01-07 09:00")));
    }

    // Around a year's end: ISO week 53 of 2026, 31 December 2025 in week 1
    // of 2026, and December of two years as two months.
    void yearBoundaries()
    {
        QList<QDateTime> taken = daily(QDate(2027, 1, 10), 7);
        taken << at(2026, 12, 29) << at(2026, 12, 1) << at(2025, 12, 31) << at(2025, 12, 1);
        const QStringList keep = kept(taken, QDate(2027, 1, 10));
        QCOMPARE(keep.size(), 10);
        QVERIFY(keep.contains(QStringLiteral("2026-12-29 09:00")));
        QVERIFY(keep.contains(QStringLiteral("2026-12-01 09:00")));
        QVERIFY(keep.contains(QStringLiteral("2025-12-31 09:00")));
        QVERIFY(!keep.contains(QStringLiteral("2025-12-01 09:00")));
    }

    // Snapshots dated after today (a clock that was wrong) are never
    // deleted and do not push the real ones out.
    void futureSnapshotsAreKeptAndTakeNoPlace()
    {
        QList<QDateTime> taken = daily(QDate(2026, 12, 10), 7);
        taken.append(at(2030, 1, 1));
        taken.append(at(2030, 1, 2));
        const QStringList keep = kept(taken, QDate(2026, 12, 10));
        QCOMPARE(keep.size(), 9);
    }

    // Never the only one, whatever the dates.
    void theOnlySnapshotStays()
    {
        QCOMPARE(kept({at(1990, 1, 1)}, QDate(2026, 12, 10)).size(), 1);
        QCOMPARE(kept({QDateTime()}, QDate(2026, 12, 10)).size(), 1);
    }

    // The rule does not depend on the order the snapshots come in.
    void orderDoesNotMatter()
    {
        QList<QDateTime> taken = daily(QDate(2026, 12, 10), 400);
        const QStringList forward = kept(taken, QDate(2026, 12, 10));
        std::reverse(taken.begin(), taken.end());
        QStringList backward = kept(taken, QDate(2026, 12, 10));
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(backward, forward);
    }
};

QTEST_APPLESS_MAIN(TestRetention)
#include "tst_retention.moc"
