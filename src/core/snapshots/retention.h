#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>

// Which snapshots to keep, given the moments they were taken (any order)
// and today: the newest of each of the last 7 days that have one, of each
// of the last 4 weeks (ISO weeks) that have one and of each of the last 12
// months that have one; a snapshot any rule keeps stays. Snapshots dated
// after today (a clock that was wrong) are kept and take no place. Never
// empty when there is at least one snapshot. The answer holds one flag per
// snapshot, in the order given: true to keep.
QList<bool> snapshotsToKeep(const QList<QDateTime> &taken, const QDate &today);
