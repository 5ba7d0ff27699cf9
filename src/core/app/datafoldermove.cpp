#include "core/app/datafoldermove.h"

#include "core/app/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

QString moveText(const char *text)
{
    return QCoreApplication::translate("DataFolderMove", text);
}

QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

// The folders at the top of a data folder tree (see DataFolder), created or only
// named there.
const char *const kDataFolderNames[] = {"DB",  "Config", "Build", "Help",     "FTP",      "Folders", "Log",
                                        "Report", "Icons", "Brand", "UserData", "Projects", "Journal",
                                        "Decision"};

// The data folders present below the build tree's program folder.
QStringList dataFoldersIn(const QString &root)
{
    QStringList found;
    for (const char *folder : kDataFolderNames) {
        const QString name = QString::fromLatin1(folder);
        const QFileInfo info(root + name);
        if (info.isDir() || info.isSymLink())
            found << name;
    }
    return found;
}

Result copyTree(const QString &source, const QString &destination)
{
    const QFileInfo info(source);
    if (info.isSymLink()) {
        // A link stays a link; where it points is not ours to copy.
        if (!QFile::link(info.symLinkTarget(), destination))
            return Result::failure(moveText("could not copy the link %1").arg(shown(source)));
        return Result::success();
    }
    if (info.isDir()) {
        if (!QDir().mkdir(destination))
            return Result::failure(moveText("could not create the folder %1").arg(shown(destination)));
        const QDir dir(source);
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            const Result copied = copyTree(dir.filePath(entry), QDir(destination).filePath(entry));
            if (!copied)
                return copied;
        }
        return Result::success();
    }
    if (!info.isFile())
        return Result::failure(moveText("%1 is not a regular file").arg(shown(source)));
    QFile file(source);
    if (!file.copy(destination))
        return Result::failure(moveText("could not copy %1: %2").arg(shown(source), file.errorString()));
    if (QFileInfo(destination).size() != info.size())
        return Result::failure(moveText("the copy of %1 is incomplete").arg(shown(source)));
    return Result::success();
}

// Removes the folder when it holds nothing but empty folders.
bool removeEmptyTree(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return true;
    const QStringList subfolders = dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : subfolders) {
        if (!removeEmptyTree(dir.filePath(name)))
            return false;
    }
    return QDir().rmdir(folder);
}

} // namespace

bool folderHoldsFiles(const QString &folder)
{
    const QString lock = QDir(folder).filePath(SingleInstance::lockFileName());
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink())
            continue;
        if (QDir::cleanPath(path) == QDir::cleanPath(lock))
            continue;
        return true;
    }
    return false;
}

DataFolderMove moveDataFolderOutOfBuildTree(const QString &buildDataRoot, const QString &userDataRoot)
{
    DataFolderMove result;
    const QStringList folders = dataFoldersIn(buildDataRoot);
    bool oldHoldsFiles = false;
    for (const QString &name : folders)
        oldHoldsFiles = oldHoldsFiles || folderHoldsFiles(buildDataRoot + name);
    if (!oldHoldsFiles)
        return result;

    const QString target = QDir::cleanPath(userDataRoot);
    if (folderHoldsFiles(target)) {
        result.outcome = DataFolderMove::BothHoldData;
        result.message =
            moveText("Vellumark keeps its data in %1, where cleaning a build folder cannot delete them. "
               "Data from earlier runs were also found in the build folder %2 and were not moved, "
               "because %1 already holds data. The notes in %2 are not shown: move what you need "
               "by hand before the build folder is cleaned.")
                .arg(shown(target), shown(buildDataRoot));
        return result;
    }

    const QFileInfo targetInfo(target);
    const QString staging =
        targetInfo.path() + QStringLiteral("/.") + targetInfo.fileName() + QStringLiteral(".moving");
    QStringList placed;
    auto failed = [&](const QString &reason) {
        // Put back what already took its place, then drop the copy.
        for (const QString &name : std::as_const(placed))
            QDir().rename(target + QLatin1Char('/') + name, staging + QLatin1Char('/') + name);
        QDir(staging).removeRecursively();
        result.outcome = DataFolderMove::Failed;
        result.message = moveText("Data from earlier runs were found in the build folder %1 but could not be "
                            "moved to %2 (%3). Nothing was moved, and this run uses the data in %1: "
                            "keep a copy of them before the build folder is cleaned.")
                             .arg(shown(buildDataRoot), shown(target), reason);
        return result;
    };

    // A copy left by an interrupted move is incomplete; the build tree
    // still holds everything.
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging))
        return failed(moveText("could not create the folder %1").arg(shown(staging)));
    for (const QString &name : folders) {
        const Result copied = copyTree(buildDataRoot + name, staging + QLatin1Char('/') + name);
        if (!copied)
            return failed(copied.error);
    }
    // The target holds no file, only perhaps empty folders of a first run
    // and the lock of this program.
    QDir().mkpath(target);
    for (const QString &name : folders) {
        const QString place = target + QLatin1Char('/') + name;
        if (!removeEmptyTree(place))
            return failed(moveText("%1 could not be replaced").arg(shown(place)));
        if (!QDir().rename(staging + QLatin1Char('/') + name, place))
            return failed(moveText("could not move %1 into %2").arg(name, shown(target)));
        placed << name;
    }
    QDir().rmdir(staging);

    QStringList leftBehind;
    for (const QString &name : folders) {
        const QString old = buildDataRoot + name;
        const bool removed = QFileInfo(old).isSymLink() ? QFile::remove(old) : QDir(old).removeRecursively();
        if (!removed)
            leftBehind << shown(old);
    }
    result.outcome = DataFolderMove::Moved;
    result.message = moveText("Your data were moved from the build folder %1 to %2, where cleaning a build "
                        "folder cannot delete them.")
                         .arg(shown(buildDataRoot), shown(target));
    if (!leftBehind.isEmpty())
        result.message += QLatin1Char(' ')
                          + moveText("These old copies could not be removed and are no longer used: %1")
                                .arg(leftBehind.join(QStringLiteral(", ")));
    return result;
}
