#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <mutex>
#include <optional>

class IClock;

// One version of a stored file, as read or written by this program: what
// the file system says about it, and a digest of its bytes for when that
// alone cannot tell whether the content changed.
struct FileVersion
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0; // mtime
    qint64 changedNs = 0;  // ctime: moves on every change, and no program can set it back
    quint64 inode = 0;
    quint64 device = 0;
    QByteArray digest;

    // Same entry, same size, same times: the content is the one recorded.
    bool sameEntryAs(const FileVersion &other) const;
};

// The files of one data folder as this program last read or wrote them.
// While an object exists, TextFile's reads of files inside its folder
// record the version they read, and every write first compares the file on
// disk with that version: a file changed by another program (a second
// machine sharing the folder through a synchronised folder, an editor) is
// kept as a conflict copy beside it instead of being written over. A
// symbolic link inside the folder is only followed when its target lies
// inside the folder too.
//
// It also carries the fault tests put behind the writes into the folder.
// Objects register themselves for their folder while they exist; the most
// recently made one is asked for a path inside several.
class StoredFiles
{
public:
    // Given the path and the size of a write, the number of bytes the device
    // takes before it fails (negative: no fault).
    using WriteFault = std::function<qint64(const QString &path, qint64 size)>;

    StoredFiles(const QString &root, const IClock &clock);
    ~StoredFiles();
    StoredFiles(const StoredFiles &) = delete;
    StoredFiles &operator=(const StoredFiles &) = delete;

    // The folder as given, cleaned, without a trailing "/"; and with every
    // symbolic link resolved.
    const QString &root() const { return m_root; }
    const QString &canonicalRoot() const { return m_canonicalRoot; }
    const IClock &clock() const { return m_clock; }

    // True when the absolute, cleaned path lies inside the folder.
    bool holds(const QString &absolutePath) const;

    // The registered folder holding the path (absolute and cleaned), or null.
    static StoredFiles *holding(const QString &absolutePath);

    void setWriteFault(WriteFault fault) { m_writeFault = std::move(fault); }
    const WriteFault &writeFault() const { return m_writeFault; }

    // Told the notice of every conflict copy a write into the folder made,
    // whoever asked for the write, so that the window can show it.
    using ConflictListener = std::function<void(const QString &notice)>;
    void setConflictListener(ConflictListener listener) { m_conflictListener = std::move(listener); }
    void reportConflict(const QString &notice) const
    {
        if (m_conflictListener)
            m_conflictListener(notice);
    }

    // The version last read or written at the path (absolute and cleaned).
    std::optional<FileVersion> knownVersion(const QString &path) const;
    void remember(const QString &path, const FileVersion &version);
    void forget(const QString &path);
    // The program moved the file: what was known at one path is known at
    // the other.
    void move(const QString &from, const QString &to);

private:
    QString m_root;
    QString m_canonicalRoot;
    const IClock &m_clock;
    WriteFault m_writeFault;
    ConflictListener m_conflictListener;
    mutable std::mutex m_mutex;
    QHash<QString, FileVersion> m_versions;
};
