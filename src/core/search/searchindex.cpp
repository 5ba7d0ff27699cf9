#include "core/search/searchindex.h"

#include "core/search/textfolding.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>
#include <QTimer>
#include <QWaitCondition>

#include <algorithm>
#include <cstring>

#include <string.h>

namespace {

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool cancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Finds one folded term in folded texts, remembering where it was last
// found in the current text so that the next look starts from there.
class TermFinder
{
public:
    explicit TermFinder(const std::string &term)
        : m_term(term)
    {
    }
    // Starts on a new text.
    void reset()
    {
        m_at = std::string::npos;
        m_valid = false;
    }
    // The first position at or after from where the term is, or npos.
    size_t find(const std::string &text, size_t from)
    {
        if (m_valid && (m_at == std::string::npos || m_at >= from))
            return m_at;
        m_at = search(text, from);
        m_valid = true;
        return m_at;
    }

private:
    size_t search(const std::string &text, size_t from) const
    {
        if (from >= text.size() || m_term.size() > text.size() - from)
            return std::string::npos;
        const char *begin = text.data() + from;
        const size_t length = text.size() - from;
        const void *found = m_term.size() == 1
                                ? std::memchr(begin, m_term.front(), length)
                                : memmem(begin, length, m_term.data(), m_term.size());
        return found ? size_t(static_cast<const char *>(found) - text.data()) : std::string::npos;
    }

    std::string m_term;
    size_t m_at = std::string::npos;
    bool m_valid = false;
};

} // namespace

namespace SearchIndexing {

SnapshotPointer build(const SearchRoots &roots, const SearchSnapshot *previous, const QSet<QString> *dirtyFolders,
                      const std::atomic<bool> *cancel)
{
    auto snapshot = std::make_shared<SearchSnapshot>();
    QHash<QString, DocumentPointer> known;
    QHash<QString, std::vector<DocumentPointer>> knownByFolder;
    QHash<QString, QStringList> unreadableByFolder;
    if (previous) {
        known.reserve(qsizetype(previous->documents.size()));
        for (const DocumentPointer &document : previous->documents) {
            known.insert(document->place.path, document);
            knownByFolder[folderOf(document->place.path)].push_back(document);
        }
        for (const QString &path : previous->unreadable)
            unreadableByFolder[folderOf(path)].append(path);
    }
    const bool onlyDirty = previous && dirtyFolders;

    for (const QString &folder : SearchDocuments::searchedFolders(roots)) {
        if (cancelled(cancel))
            return nullptr;
        // An untouched folder keeps what was read from it; a folder the
        // last snapshot did not know is read all the same.
        if (onlyDirty && !dirtyFolders->contains(folder)
            && (knownByFolder.contains(folder) || unreadableByFolder.contains(folder))) {
            const std::vector<DocumentPointer> &kept = knownByFolder.value(folder);
            snapshot->documents.insert(snapshot->documents.end(), kept.begin(), kept.end());
            snapshot->unreadable += unreadableByFolder.value(folder);
            continue;
        }
        const QFileInfoList entries =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
        for (const QFileInfo &entry : entries) {
            if (cancelled(cancel))
                return nullptr;
            SearchPlace place;
            if (!SearchDocuments::placeOf(entry.filePath(), roots, &place))
                continue;
            const qint64 size = entry.size();
            const qint64 modified = entry.lastModified().toMSecsSinceEpoch();
            const qint64 changed = entry.metadataChangeTime().toMSecsSinceEpoch();
            const DocumentPointer before = known.value(place.path);
            if (before && before->size == size && before->modified == modified && before->changed == changed) {
                snapshot->documents.push_back(before);
                continue;
            }
            if (size > kLargestFile) {
                snapshot->unreadable.append(place.path);
                continue;
            }
            Expected<std::string> folded = SearchDocuments::readFolded(place);
            if (!folded) {
                snapshot->unreadable.append(place.path);
                continue;
            }
            auto document = std::make_shared<IndexedDocument>();
            document->place = place;
            document->folded = std::move(folded.value);
            document->size = size;
            document->modified = modified;
            document->changed = changed;
            snapshot->documents.push_back(std::move(document));
        }
    }
    std::sort(snapshot->documents.begin(), snapshot->documents.end(),
              [](const DocumentPointer &a, const DocumentPointer &b) {
                  return SearchDocuments::listedBefore(a->place, b->place);
              });
    for (const DocumentPointer &document : snapshot->documents) {
        snapshot->foldedBytes += qint64(document->folded.size());
        snapshot->fileBytes += qMax<qint64>(0, document->size);
    }
    return snapshot;
}

SearchResults search(const SearchSnapshot &snapshot, const SearchQuery &query,
                     const std::vector<DocumentPointer> &replacements, qsizetype hitLimit)
{
    SearchResults results;
    if (query.isEmpty() || query.refused)
        return results;

    // The documents to look through: the snapshot's, with the editors'
    // texts standing in for their files.
    std::vector<DocumentPointer> merged;
    const std::vector<DocumentPointer> *documents = &snapshot.documents;
    if (!replacements.empty()) {
        QHash<QString, DocumentPointer> byPath;
        for (const DocumentPointer &replacement : replacements)
            byPath.insert(replacement->place.path, replacement);
        merged.reserve(snapshot.documents.size() + replacements.size());
        for (const DocumentPointer &document : snapshot.documents) {
            const auto replaced = byPath.constFind(document->place.path);
            if (replaced == byPath.constEnd()) {
                merged.push_back(document);
            } else {
                merged.push_back(*replaced);
                byPath.erase(replaced);
            }
        }
        if (!byPath.isEmpty()) {
            for (const DocumentPointer &added : std::as_const(byPath))
                merged.push_back(added);
            std::stable_sort(merged.begin(), merged.end(), [](const DocumentPointer &a, const DocumentPointer &b) {
                return SearchDocuments::listedBefore(a->place, b->place);
            });
        }
        documents = &merged;
    }

    std::vector<TermFinder> finders;
    finders.reserve(query.terms.size());
    for (const std::string &term : query.terms)
        finders.emplace_back(term);

    for (const DocumentPointer &document : *documents) {
        const std::string &text = document->folded;
        bool all = true;
        for (TermFinder &finder : finders) {
            finder.reset();
            if (finder.find(text, 0) == std::string::npos) {
                all = false;
                break;
            }
        }
        if (!all)
            continue;
        ++results.documentCount;
        // Line by line: the first term found from here on gives the next
        // matching line; the look goes on after its end.
        size_t from = 0;
        size_t counted = 0;
        int line = 0;
        while (from < text.size()) {
            size_t at = std::string::npos;
            for (TermFinder &finder : finders)
                at = std::min(at, finder.find(text, from));
            if (at == std::string::npos)
                break;
            ++results.lineCount;
            if (qsizetype(results.hits.size()) < hitLimit) {
                line += int(std::count(text.begin() + std::ptrdiff_t(counted), text.begin() + std::ptrdiff_t(at), '\n'));
                counted = at;
                results.hits.push_back({document, line});
            }
            const void *end = std::memchr(text.data() + at, '\n', text.size() - at);
            if (!end)
                break;
            from = size_t(static_cast<const char *>(end) - text.data()) + 1;
        }
    }
    return results;
}

} // namespace SearchIndexing

// ---- the index kept current in the background -------------------------------

struct SearchIndex::Shared
{
    QMutex mutex;
    SnapshotPointer snapshot;
    // Cleared by the index when it goes; a build still running then posts
    // nothing.
    SearchIndex *owner = nullptr;
    std::atomic<bool> cancel{false};
    // A build is running on the pool; the index waits for it when it goes.
    bool running = false;
    QWaitCondition idle;
};

SearchIndex::SearchIndex(const SearchRoots &roots, QObject *parent)
    : QObject(parent)
    , m_roots(roots)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &SearchIndex::folderChanged);
    // Saves come in bursts (seven notes, seven pages): one build after them.
    m_settleTimer = new QTimer(this);
    m_settleTimer->setSingleShot(true);
    m_settleTimer->setInterval(150);
    connect(m_settleTimer, &QTimer::timeout, this, [this] { requestBuild({}, false); });
}

SearchIndex::~SearchIndex()
{
    if (Shared *shared = m_shared.get()) {
        QMutexLocker locker(&shared->mutex);
        shared->owner = nullptr;
        shared->cancel.store(true);
        // A build stops at its next file; nothing it reads outlives the index.
        while (shared->running)
            shared->idle.wait(&shared->mutex);
    }
}

void SearchIndex::start()
{
    if (m_started)
        return;
    m_started = true;
    requestBuild({}, true);
}

void SearchIndex::refresh()
{
    if (m_started)
        requestBuild({}, true);
}

SnapshotPointer SearchIndex::snapshot() const
{
    QMutexLocker locker(&m_shared->mutex);
    return m_shared->snapshot;
}

bool SearchIndex::isBusy() const
{
    return m_running || m_hasWork || m_settleTimer->isActive();
}

void SearchIndex::requestBuild(const QSet<QString> &dirtyFolders, bool everything)
{
    m_wantsAll = m_wantsAll || everything;
    m_dirty.unite(dirtyFolders);
    m_hasWork = true;
    if (!m_running)
        runNextBuild();
}

void SearchIndex::runNextBuild()
{
    if (!m_hasWork)
        return;
    m_hasWork = false;
    m_running = true;
    const bool everything = m_wantsAll;
    const QSet<QString> dirty = m_dirty;
    m_wantsAll = false;
    m_dirty.clear();
    const SnapshotPointer previous = snapshot();
    const std::shared_ptr<Shared> shared = m_shared;
    const SearchRoots roots = m_roots;
    {
        QMutexLocker locker(&shared->mutex);
        shared->running = true;
    }
    QThreadPool::globalInstance()->start([shared, roots, previous, dirty, everything] {
        const SnapshotPointer built = SearchIndexing::build(roots, previous.get(), everything ? nullptr : &dirty,
                                                            &shared->cancel);
        QMutexLocker locker(&shared->mutex);
        shared->running = false;
        shared->idle.wakeAll();
        if (built)
            shared->snapshot = built;
        if (SearchIndex *owner = shared->owner)
            QMetaObject::invokeMethod(owner, [owner] { owner->buildFinished(); }, Qt::QueuedConnection);
    });
}

void SearchIndex::buildFinished()
{
    m_running = false;
    watchFolders();
    Q_EMIT updated();
    runNextBuild();
}

void SearchIndex::folderChanged(const QString &folder)
{
    QString changed = folder;
    if (!changed.endsWith(QLatin1Char('/')))
        changed += QLatin1Char('/');
    m_dirty.insert(changed);
    if (changed == m_roots.projectsDir)
        watchFolders();
    m_settleTimer->start();
}

void SearchIndex::watchFolders()
{
    QStringList wanted = SearchDocuments::searchedFolders(m_roots);
    wanted.append(m_roots.projectsDir);
    QStringList missing;
    const QStringList watched = m_watcher->directories();
    for (QString folder : std::as_const(wanted)) {
        folder.chop(1);
        if (!watched.contains(folder) && QFileInfo(folder).isDir())
            missing.append(folder);
    }
    if (!missing.isEmpty())
        m_watcher->addPaths(missing);
}
