#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Watches the files the editors show and tells when any of them changed
// on disk: written in place, replaced (the way safe writes and
// synchronisation tools replace a file), made or removed. Each section
// hands over the files it shows under a name of its own and replaces them
// whenever it shows others. Changes are told a moment after the first
// event, so that a file written in several steps is mostly reported once,
// whole, and a change made meanwhile is told at the next look. The program's own writes are reported too; the
// receiver asks TextFile::changedOnDisk whether a change came from
// elsewhere.
class FileChangeWatcher : public QObject
{
    Q_OBJECT
public:
    explicit FileChangeWatcher(QObject *parent = nullptr);

    // The files shown by one section (absolute paths); an empty list stops
    // watching them.
    void setFiles(const QString &section, const QStringList &files);
    QStringList watchedFiles() const;

    // Looks at every watched file now (for file systems whose changes the
    // system does not announce, such as a network share: the window asks
    // when it is activated) and tells what changed since the last look.
    void checkNow();

Q_SIGNALS:
    void filesChanged(const QStringList &paths);

private:
    struct Stamp
    {
        bool exists = false;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        quint64 inode = 0;
        bool operator==(const Stamp &other) const = default;
    };
    static Stamp stampOf(const QString &path);
    // Watches every file that exists and the folder of every file, again
    // after a file was replaced (a watch follows the replaced file, not
    // the name).
    void renewWatches();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QHash<QString, QStringList> m_filesBySection;
    QHash<QString, Stamp> m_stamps;
};
