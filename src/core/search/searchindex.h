#pragma once

#include "core/search/searchdocuments.h"
#include "core/search/searchquery.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

class QFileSystemWatcher;
class QTimer;

// Every searched file at one moment, read and folded. Never changed once
// made: a newer state of the files is a new snapshot, which takes over the
// documents of unchanged files from the one before.
struct SearchSnapshot
{
    // In listing order (SearchDocuments::listedBefore).
    std::vector<DocumentPointer> documents;
    // Files that could not be read; they are left out.
    QStringList unreadable;
    // Bytes of folded text held, and bytes of the files they came from.
    qint64 foldedBytes = 0;
    qint64 fileBytes = 0;
};
using SnapshotPointer = std::shared_ptr<const SearchSnapshot>;

// One result row: a line of a document that holds a searched word.
struct SearchHit
{
    DocumentPointer document;
    int line = 0;
};

struct SearchResults
{
    // The first rows, up to the limit asked for.
    std::vector<SearchHit> hits;
    // All matching lines, and the documents they are in.
    qsizetype lineCount = 0;
    qsizetype documentCount = 0;
};

namespace SearchIndexing {

// Files larger than this are not read for the search (and are counted
// with the unreadable ones).
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

// Reads the searched folders. With a previous snapshot, files whose size
// and times did not change keep their documents; with dirtyFolders, only
// those folders are looked at again and the documents of every other
// folder are kept as they were. A set cancel flag stops the work early
// (the result is then incomplete and must be dropped).
SnapshotPointer build(const SearchRoots &roots, const SearchSnapshot *previous = nullptr,
                      const QSet<QString> *dirtyFolders = nullptr, const std::atomic<bool> *cancel = nullptr);

// Finds the documents holding every term of the query. Documents in
// replacements (an open editor's text) stand in for the snapshot's
// document of the same path, or are added when the snapshot has none.
// A document matches when it holds all terms; each line of it holding
// any of them is a hit.
SearchResults search(const SearchSnapshot &snapshot, const SearchQuery &query,
                     const std::vector<DocumentPointer> &replacements = {}, qsizetype hitLimit = 500);

} // namespace SearchIndexing

// Keeps a snapshot of the searched files current: built on a worker thread
// once started, and read again in the background whenever a searched
// folder changes (the program's own saves included) or refresh() is
// called. The user interface only takes the current snapshot.
class SearchIndex : public QObject
{
    Q_OBJECT
public:
    explicit SearchIndex(const SearchRoots &roots, QObject *parent = nullptr);
    ~SearchIndex() override;

    const SearchRoots &roots() const { return m_roots; }

    // The first build, in the background; the folders are watched from then on.
    void start();
    // Looks at every file's size and times again, in the background, and
    // reads what changed (files changed in place by another program do not
    // always make their folder report a change).
    void refresh();
    // The latest snapshot; null until the first build is done.
    SnapshotPointer snapshot() const;
    // True while a build or a refresh is running or waiting.
    bool isBusy() const;

Q_SIGNALS:
    // A new snapshot is there.
    void updated();

private:
    struct Shared;
    void requestBuild(const QSet<QString> &dirtyFolders, bool everything);
    void runNextBuild();
    void buildFinished();
    void folderChanged(const QString &folder);
    void watchFolders();

    SearchRoots m_roots;
    std::shared_ptr<Shared> m_shared;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_settleTimer = nullptr;
    bool m_started = false;
    bool m_running = false;
    bool m_wantsAll = false;
    QSet<QString> m_dirty;
    bool m_hasWork = false;
};
