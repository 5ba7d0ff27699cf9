#pragma once

#include "core/common/result.h"
#include "core/snapshots/snapshotcatalog.h"
#include "core/snapshots/snapshotrestore.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class IClock;
class QThread;

// Takes the snapshots of one data folder and restores from them, one job at
// a time on a worker thread; the window only hears of a job when it ends
// (queued signals), so it never waits for the disk. Keeps the status of the
// last snapshot for the window to show.
class SnapshotKeeper : public QObject
{
    Q_OBJECT
public:
    // commandLineDir: the folder given with --backup-dir, or empty.
    SnapshotKeeper(const QString &dataRoot, const QString &commandLineDir, IClock *clock, QObject *parent = nullptr);
    ~SnapshotKeeper() override;

    QString dataRoot() const { return m_dataRoot; }
    QString backupDir() const { return m_backupDir; }
    // True when the folder was given on the command line (it cannot be
    // changed from the window then).
    bool backupDirFixed() const { return m_backupDirFixed; }
    // Stores the folder chosen in the window; empty goes back to the default.
    Result chooseBackupDir(const QString &dir);

    // "Last snapshot: <time>", "No snapshot yet" or the last failure.
    QString statusText() const { return m_status; }
    bool busy() const { return m_worker != nullptr; }
    bool restoring() const { return m_restoring; }

    // Runs before any restore: saves what is edited in the window; a
    // failure stops the restore.
    void setBeforeRestore(std::function<Result()> beforeRestore) { m_beforeRestore = std::move(beforeRestore); }

    // At start-up: a snapshot unless one was taken today already. False
    // when none is started.
    bool takeDailySnapshot();
    // "Snapshot now". False when another job runs.
    bool takeSnapshotNow();
    // A copy of one file of a snapshot, over the current one or beside it.
    // Over the current one, the current state is kept in a snapshot first.
    bool restoreFile(const SnapshotFile &snapshot, const QString &entryName, SnapshotRestore::Placement placement);
    // The whole data folder from a snapshot, after a snapshot of the
    // current state.
    bool restoreEverything(const SnapshotFile &snapshot);

    // Blocks until the running job has ended (tests, and the end of the
    // program).
    void waitForIdle();

Q_SIGNALS:
    void statusChanged(const QString &status);
    // A snapshot ended; ok or the failure.
    void snapshotFinished(const Result &outcome);
    // A restore ended; on success message says what was restored.
    void restoreFinished(const Result &outcome, const QString &message);
    // Files of the data folder were replaced: the window reads them again.
    void dataReplaced();

private:
    struct JobOutcome
    {
        Result result;
        QString message;
        bool snapshotTaken = false;
        QDateTime snapshotTime;
        QStringList unreadable;
        bool dataChanged = false;
        // What the job read for the window's thread to write.
        QByteArray restoredBytes;
    };
    // work runs on the worker; then, on the window's thread, afterwards
    // (when given) before the job's end is told.
    bool start(bool restore, std::function<JobOutcome()> work,
               std::function<void(JobOutcome &)> afterwards = {});
    void finishJob(const JobOutcome &outcome, bool restore);
    // No job runs and everything edited is saved, so a restore may start;
    // a failed save is reported as the restore's outcome.
    bool readyToRestore();
    // Runs on the worker: a snapshot, then the retention rule.
    static JobOutcome snapshotJob(const QString &root, const QString &backups, const QDateTime &now, bool prune);
    void updateStatusFromCatalog();
    void setStatus(const QString &status);

    QString m_dataRoot;
    QString m_commandLineDir;
    QString m_backupDir;
    bool m_backupDirFixed = false;
    IClock *m_clock;
    QString m_status;
    QThread *m_worker = nullptr;
    bool m_restoring = false;
    std::function<Result()> m_beforeRestore;
};
