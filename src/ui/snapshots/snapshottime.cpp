#include "ui/snapshots/snapshottime.h"

#include <QLocale>
#include <QRegularExpression>

QString shownSnapshotTime(const QDateTime &taken)
{
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    timeFormat.remove(seconds);
    return locale.toString(taken.date(), QLocale::ShortFormat) + QLatin1Char(' ') + locale.toString(taken.time(), timeFormat);
}
