#include "ui/snapshots/snapshotkeeper.h"

#include "core/platform/clock.h"
#include "core/snapshots/backuplocation.h"
#include "core/snapshots/retention.h"
#include "core/snapshots/snapshotwriter.h"
#include "ui/snapshots/snapshottime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <memory>

SnapshotKeeper::SnapshotKeeper(const QString &dataRoot, const QString &commandLineDir, IClock *clock, QObject *parent)
    : QObject(parent)
    , m_dataRoot(dataRoot)
    , m_commandLineDir(commandLineDir)
    , m_backupDir(BackupLocation::resolve(dataRoot, commandLineDir))
    , m_backupDirFixed(!commandLineDir.trimmed().isEmpty())
    , m_clock(clock)
{
    updateStatusFromCatalog();
}

SnapshotKeeper::~SnapshotKeeper()
{
    // The job's end is not told to a window that is going away.
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

Result SnapshotKeeper::chooseBackupDir(const QString &dir)
{
    if (busy())
        return Result::failure(tr("A snapshot is being taken; choose the folder when it is done."));
    if (!dir.isEmpty()) {
        const QString problem = SnapshotWriter::backupDirProblem(m_dataRoot, dir);
        if (!problem.isEmpty())
            return Result::failure(problem);
    }
    const Result stored = BackupLocation::choose(m_dataRoot, dir);
    if (!stored)
        return stored;
    m_backupDir = BackupLocation::resolve(m_dataRoot, m_commandLineDir);
    updateStatusFromCatalog();
    return Result::success();
}

void SnapshotKeeper::updateStatusFromCatalog()
{
    const QList<SnapshotFile> snapshots = SnapshotCatalog::list(m_backupDir);
    setStatus(snapshots.isEmpty() ? tr("No snapshot yet")
                                  : tr("Last snapshot: %1").arg(shownSnapshotTime(snapshots.first().taken)));
}

void SnapshotKeeper::setStatus(const QString &status)
{
    if (status == m_status)
        return;
    m_status = status;
    Q_EMIT statusChanged(status);
}

bool SnapshotKeeper::takeDailySnapshot()
{
    const QDate today = m_clock->now().date();
    const QList<SnapshotFile> snapshots = SnapshotCatalog::list(m_backupDir);
    for (const SnapshotFile &snapshot : snapshots) {
        if (snapshot.taken.date() == today)
            return false;
    }
    return takeSnapshotNow();
}

bool SnapshotKeeper::takeSnapshotNow()
{
    const QString root = m_dataRoot;
    const QString backups = m_backupDir;
    const QDateTime now = m_clock->now();
    return start(false, [root, backups, now] { return snapshotJob(root, backups, now, true); });
}

SnapshotKeeper::JobOutcome SnapshotKeeper::snapshotJob(const QString &root, const QString &backups,
                                                       const QDateTime &now, bool prune)
{
    JobOutcome outcome;
    removeUnfinishedSnapshots(backups);
    const Expected<SnapshotSummary> written = SnapshotWriter(root, backups).write(now);
    if (!written) {
        outcome.result = written;
        return outcome;
    }
    outcome.snapshotTaken = true;
    outcome.snapshotTime = now;
    outcome.unreadable = written.value.unreadable;
    if (!prune)
        return outcome;
    const QList<SnapshotFile> snapshots = SnapshotCatalog::list(backups);
    QList<QDateTime> taken;
    for (const SnapshotFile &snapshot : snapshots)
        taken.append(snapshot.taken);
    const QList<bool> keep = snapshotsToKeep(taken, now.date());
    for (qsizetype i = 0; i < snapshots.size(); ++i) {
        // The snapshot just written always stays.
        if (!keep.at(i) && snapshots.at(i).path != written.value.path)
            QFile::remove(snapshots.at(i).path);
    }
    return outcome;
}

bool SnapshotKeeper::readyToRestore()
{
    if (busy())
        return false;
    const Result prepared = m_beforeRestore ? m_beforeRestore() : Result::success();
    if (!prepared) {
        Q_EMIT restoreFinished(prepared, QString());
        return false;
    }
    return true;
}

bool SnapshotKeeper::restoreFile(const SnapshotFile &snapshot, const QString &entryName,
                                 SnapshotRestore::Placement placement)
{
    if (!readyToRestore())
        return false;
    const QString root = m_dataRoot;
    const QString backups = m_backupDir;
    const QDateTime now = m_clock->now();
    // Only a file that is there can be lost by writing over it.
    const bool replaces = placement == SnapshotRestore::Placement::OverCurrent
                          && QFileInfo::exists(QDir(root).filePath(entryName));
    // The worker keeps the current state and reads the copy; the copy is
    // written here, on the window's thread, like every other save.
    auto work = [=] {
        JobOutcome outcome;
        if (replaces) {
            outcome = snapshotJob(root, backups, now, false);
            if (!outcome.result) {
                outcome.result.error = tr("%1\n\nNothing was restored: the current state could not be kept "
                                          "in a snapshot first.").arg(outcome.result.error);
                return outcome;
            }
        }
        const Expected<QByteArray> bytes = SnapshotCatalog::readFile(snapshot.path, entryName);
        if (!bytes)
            outcome.result = bytes;
        else
            outcome.restoredBytes = bytes.value;
        return outcome;
    };
    auto place = [=](JobOutcome &outcome) {
        if (!outcome.result)
            return;
        const Expected<QString> written =
            SnapshotRestore::placeFile(outcome.restoredBytes, entryName, root, placement, snapshot.taken.date());
        if (!written) {
            outcome.result = written;
            return;
        }
        outcome.dataChanged = true;
        outcome.message = tr("\"%1\" was restored from the snapshot of %2 as \"%3\".")
                              .arg(entryName, shownSnapshotTime(snapshot.taken), QDir::toNativeSeparators(written.value));
    };
    return start(true, work, place);
}

bool SnapshotKeeper::restoreEverything(const SnapshotFile &snapshot)
{
    if (!readyToRestore())
        return false;
    const QString root = m_dataRoot;
    const QString backups = m_backupDir;
    const QDateTime now = m_clock->now();
    return start(true, [=] {
        JobOutcome outcome = snapshotJob(root, backups, now, false);
        if (!outcome.result) {
            outcome.result.error = tr("%1\n\nNothing was restored: the current state could not be kept in a "
                                      "snapshot first.").arg(outcome.result.error);
            return outcome;
        }
        const Result restored = SnapshotRestore::restoreEverything(snapshot.path, root, backups);
        // Even a failed swap may have replaced some folders before it
        // stopped (the next start finishes it); the window reads again.
        outcome.dataChanged = true;
        if (!restored) {
            outcome.result = restored;
            return outcome;
        }
        outcome.message = tr("The data folder holds the snapshot of %1 again. The state before it is in the "
                             "snapshot of %2.").arg(shownSnapshotTime(snapshot.taken), shownSnapshotTime(now));
        return outcome;
    });
}

bool SnapshotKeeper::start(bool restore, std::function<JobOutcome()> work,
                           std::function<void(JobOutcome &)> afterwards)
{
    if (m_worker)
        return false;
    auto outcome = std::make_shared<JobOutcome>();
    m_worker = QThread::create([outcome, work = std::move(work)] { *outcome = work(); });
    m_restoring = restore;
    connect(m_worker, &QThread::finished, this, [this, outcome, restore, afterwards] {
        m_worker->deleteLater();
        m_worker = nullptr;
        m_restoring = false;
        if (afterwards)
            afterwards(*outcome);
        finishJob(*outcome, restore);
    });
    setStatus(restore ? tr("Restoring…") : tr("Taking a snapshot…"));
    m_worker->start(QThread::LowPriority);
    return true;
}

void SnapshotKeeper::finishJob(const JobOutcome &outcome, bool restore)
{
    if (outcome.snapshotTaken) {
        QString status = tr("Last snapshot: %1").arg(shownSnapshotTime(outcome.snapshotTime));
        if (!outcome.unreadable.isEmpty())
            status += tr(" (not in it, could not be read: %1)").arg(outcome.unreadable.join(QStringLiteral("; ")));
        setStatus(status);
    } else if (!outcome.result && !restore) {
        setStatus(tr("The last snapshot failed: %1").arg(outcome.result.error));
    } else {
        updateStatusFromCatalog();
    }
    if (outcome.dataChanged)
        Q_EMIT dataReplaced();
    if (restore)
        Q_EMIT restoreFinished(outcome.result, outcome.message);
    else
        Q_EMIT snapshotFinished(outcome.result);
}

void SnapshotKeeper::waitForIdle()
{
    if (!m_worker)
        return;
    m_worker->wait();
    // Delivers the queued end of the job now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
