#include "core/calendar/daynotes.h"

#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "core/common/syncfiles.h"
#include "core/common/textfile.h"

#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace DayNotes {

namespace {

QString namePart(double date, const QLocale &locale)
{
    return formatDateTime(QStringLiteral("mmm-dd-yyy"), date, locale);
}

bool holdsText(const QFileInfo &info, bool isFolder)
{
    if (isFolder)
        return !QDir(info.absoluteFilePath()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    return info.size() > 0;
}

bool isKind(const QFileInfo &info, bool isFolder)
{
    return isFolder ? info.isDir() : info.isFile();
}

Adoption moved(const QString &fixedPath, const QString &localePath, bool ok, const QString &error)
{
    Adoption a;
    a.fixedPath = fixedPath;
    a.localePath = localePath;
    a.outcome = ok ? Adoption::Moved : Adoption::Kept;
    a.error = ok ? QString() : error;
    return a;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString noteName(double date)
{
    return folderName(date) + QStringLiteral(".txt");
}

QString folderName(double date)
{
    return namePart(date, QLocale::c());
}

QString localeNoteName(double date, const QLocale &locale)
{
    return localeFolderName(date, locale) + QStringLiteral(".txt");
}

QString localeFolderName(double date, const QLocale &locale)
{
    return namePart(date, locale);
}

Expected<QString> readNote(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        // Read all the same: the note is remembered as missing, so that one
        // made elsewhere meanwhile is not written over.
        return TextFile::readText(path);
    }
    if (!info.isFile()) {
        return Expected<QString>::failure(
            QCoreApplication::translate("DayNotes", "Could not read the file \"%1\": %2")
                .arg(info.absoluteFilePath(),
                     info.isDir() ? QCoreApplication::translate("DayNotes", "it is a folder")
                                  : QCoreApplication::translate("DayNotes", "it is not a regular file")));
    }
    return TextFile::readText(path);
}

bool isWeekend(double date)
{
    const int day = DayNumber::toDate(date).dayOfWeek();
    return day == Qt::Saturday || day == Qt::Sunday;
}

Adoption adoptLocaleNamed(const QString &fixedPath, const QString &localePath, bool isFolder)
{
    Adoption none;
    none.fixedPath = fixedPath;
    none.localePath = localePath;
    if (fixedPath == localePath)
        return none;
    const QFileInfo old(localePath);
    if (old.isSymLink() || !isKind(old, isFolder))
        return none;
    const QFileInfo fixed(fixedPath);
    const bool fixedTaken = fixed.exists() || fixed.isSymLink();
    if (!fixedTaken) {
        // rename(2) within one folder: the entry is under one name or the
        // other, never half moved.
        const bool ok = QDir().rename(localePath, fixedPath);
        return moved(fixedPath, localePath, ok,
                     ok ? QString() : QStringLiteral("the file could not be renamed"));
    }
    if (!holdsText(old, isFolder))
        return none; // an empty old entry beside a used name loses nothing
    if (fixed.isSymLink() || !isKind(fixed, isFolder) || holdsText(fixed, isFolder)) {
        none.outcome = Adoption::BothHoldText;
        return none;
    }
    // The fixed name holds only an empty note or an empty folder: the old
    // entry takes its place.
    if (isFolder) {
        if (!QDir().rmdir(fixedPath))
            return moved(fixedPath, localePath, false, QStringLiteral("the empty folder could not be removed"));
        const bool ok = QDir().rename(localePath, fixedPath);
        return moved(fixedPath, localePath, ok,
                     ok ? QString() : QStringLiteral("the folder could not be renamed"));
    }
    // rename(2) replaces the empty file in one step.
    const bool ok = std::rename(QFile::encodeName(localePath).constData(),
                                QFile::encodeName(fixedPath).constData())
                    == 0;
    return moved(fixedPath, localePath, ok, ok ? QString() : systemError());
}

QList<Adoption> adoptAllLocaleNamed(const QString &dbDir, const QString &userDataDir,
                                    const QLocale &locale)
{
    // Month abbreviations of the locale that differ from the stored ones.
    QList<int> months;
    QStringList alternatives;
    for (int month = 1; month <= 12; ++month) {
        const QString own = locale.monthName(month, QLocale::ShortFormat);
        if (own != QLocale::c().monthName(month, QLocale::ShortFormat)) {
            months.append(month);
            alternatives.append(QRegularExpression::escape(own));
        }
    }
    QList<Adoption> out;
    if (months.isEmpty())
        return out;
    const QRegularExpression pattern(QStringLiteral("^(%1)-(\\d\\d)-(\\d{4})$").arg(alternatives.join('|')));

    auto adoptIn = [&](const QString &dir, bool isFolder) {
        const QDir::Filters filter = isFolder ? (QDir::Dirs | QDir::NoDotAndDotDot) : QDir::Files;
        const QStringList names = QDir(dir).entryList(filter | QDir::Hidden, QDir::Name);
        for (const QString &name : names) {
            if (SyncFiles::isSyncToolEntry(name))
                continue; // a synchronisation tool's copy is not a note of an older install
            QString stem = name;
            if (!isFolder) {
                if (!stem.endsWith(QLatin1String(".txt")))
                    continue;
                stem.chop(4);
            }
            const QRegularExpressionMatch match = pattern.match(stem);
            if (!match.hasMatch())
                continue;
            const int month = months.at(alternatives.indexOf(QRegularExpression::escape(match.captured(1))));
            const QDate date(match.captured(3).toInt(), month, match.captured(2).toInt());
            if (!date.isValid())
                continue;
            const double day = DayNumber::fromDate(date);
            const QString fixed = dir + (isFolder ? folderName(day) : noteName(day));
            const Adoption a = adoptLocaleNamed(fixed, dir + name, isFolder);
            if (a.outcome != Adoption::Nothing)
                out.append(a);
        }
    };
    adoptIn(dbDir, false);
    adoptIn(userDataDir, true);
    return out;
}

} // namespace DayNotes
