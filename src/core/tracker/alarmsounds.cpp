#include "core/tracker/alarmsounds.h"

#include <QDir>
#include <QFileInfo>

namespace AlarmSounds {

QStringList bedSounds()
{
    return {QStringLiteral("Silence"),      QStringLiteral("Wind"),
            QStringLiteral("Rain"),         QStringLiteral("Thunder"),
            QStringLiteral("Music"),        QStringLiteral("CalmSeaWaves"),
            QStringLiteral("HarbourAmbient"), QStringLiteral("RiverFlowRapids")};
}

QStringList feedSounds()
{
    return {QStringLiteral("Silence"), QStringLiteral("DrinkGulp"), QStringLiteral("BabyCrying"),
            QStringLiteral("Kisses"),  QStringLiteral("Chirps"),    QStringLiteral("Buzz"),
            QStringLiteral("Klaxon")};
}

QString findFolder(const QString &programDir, const QString &builtIn)
{
    QStringList candidates;
    if (!programDir.isEmpty()) {
        const QDir program(programDir);
        candidates << program.filePath(QStringLiteral("sounds"))
                   << program.filePath(QStringLiteral("../share/vellumark/sounds"));
    }
    if (!builtIn.isEmpty())
        candidates << builtIn;
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath()) + QLatin1Char('/');
    }
    return QString();
}

} // namespace AlarmSounds
