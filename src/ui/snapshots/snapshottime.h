#pragma once

#include <QDateTime>
#include <QString>

// A snapshot's moment as the window shows it: the locale's short date and
// time, to the minute (snapshot names keep no seconds).
QString shownSnapshotTime(const QDateTime &taken);
