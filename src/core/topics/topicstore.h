#pragma once

#include "core/common/textfile.h"

#include <QList>
#include <QString>
#include <QStringList>

// How one editor of a workspace keeps its text on disk.
enum class TopicEditorKind {
    // A line-numbered list editor: one line per entry, each followed by a
    // line break.
    Lines,
    // A plain memo: stored exactly as held, no break after the last line.
    Text,
};

struct TopicEditor
{
    // The editor's control name; it is part of every topic file name.
    QString name;
    TopicEditorKind kind = TopicEditorKind::Lines;
    // What the user calls the editor ("Reasons For"), used in messages;
    // empty for a workspace with a single editor.
    QString caption = {};
};

// What makes one workspace different from the other.
struct TopicWorkspaceSetup
{
    // Full path of the file that keeps the list of topic names.
    QString topicsFile;
    // Folder of the topic files, ending with "/".
    QString folder;
    // The editor set, in the order files are saved, loaded and deleted.
    QList<TopicEditor> editors;
    // The list shown while there is no topics file.
    QStringList builtInTopics;
};

// Access to the texts the workspace's editors hold ("\n" line ends),
// by position in the editor set.
class ITopicEditors
{
public:
    virtual ~ITopicEditors() = default;
    virtual QString editorText(int index) const = 0;
    virtual void setEditorText(int index, const QString &text) = 0;
    // A non-empty reason makes the editor read-only and shows the reason in
    // it; an empty one makes it editable again.
    virtual void setEditorLocked(int index, const QString &reason)
    {
        Q_UNUSED(index);
        Q_UNUSED(reason);
    }
};

// What became of a name typed for a new or renamed topic.
struct TopicNameCheck
{
    enum Verdict {
        Accepted,
        // Nothing left once control characters are gone.
        Blank,
        // An entry of that name, ignoring letter case, is listed already.
        Duplicate,
        // One of its file names would not fit in a file name.
        TooLong,
        // Its files would be those of another listed topic.
        SharesFiles,
    };
    Verdict verdict = Accepted;
    // The name as it would be listed.
    QString name;
    // Why it was refused, for the user.
    QString message;
    bool accepted() const { return verdict == Accepted; }
};

// The topic list of a workspace and the topic whose text the editors
// hold. Every operation that touches a file returns a result naming the
// file on failure; a failed operation leaves the editors' text in place so
// nothing typed is lost, and a topic is only replaced in the editors once
// its own text is safely on disk.
class TopicStore
{
public:
    TopicStore(TopicWorkspaceSetup setup, ITopicEditors *editors);

    const TopicWorkspaceSetup &setup() const { return m_setup; }
    const QStringList &topics() const { return m_topics; }
    // The selected entry, or -1.
    int selectedIndex() const { return m_selected; }
    // Out-of-range rows clear the selection.
    void setSelectedIndex(int index);
    // The topic in the editors; empty while no topic is open.
    const QString &currentTopic() const { return m_currentTopic; }
    // The entry the editors belong to: the open topic's, or the one chosen
    // while it cannot be opened (no name, a name too long); -1 for none.
    int currentIndex() const { return m_currentIndex; }
    // Why each editor's file of the open topic could not be read; an empty
    // string for a file that loaded. Such an editor is read-only and its
    // file is never written.
    const QStringList &loadErrors() const { return m_loadErrors; }

    // Replaces the list by the topics file's lines when the file exists.
    // A file that exists but cannot be read keeps the built-in list and
    // makes saveTopicList leave that file alone for the rest of the run.
    // A file that does not hold text is moved aside (see
    // TextFile::readTextBytes): the built-in list is kept and saved as
    // usual, and the failure carries the notice saying where it is kept.
    WriteResult loadTopicList();
    // Writes the whole list to the topics file, creating it when missing.
    WriteResult saveTopicList();

    // The selected entry, or the first one; empty for an empty list.
    QString selectedTopic() const;

    QString topicFileName(const QString &topic, const QString &editorName) const;
    // True when every file name of the topic fits the file system's limit.
    bool fitsFileName(const QString &topic) const;

    // Writes the editor's text to the topic's file. For the open topic only
    // an edited editor is written: one whose text differs from what was
    // loaded or last saved; an editor whose file could not be read is never
    // written.
    WriteResult saveEditor(int editor, const QString &topic);
    // Saves every editor, also after one failed; the failure names each file
    // that could not be written.
    WriteResult saveTopic(const QString &topic);
    // Saves what was edited in the open topic (nothing when none is open).
    WriteResult saveEdits();
    // True when an editor of the open topic holds text not yet saved.
    bool hasUnsavedEdits() const;
    // Stores the open topic, then loads every editor of the new one. When
    // the open topic cannot be stored, or the name cannot name files,
    // nothing changes. A file that cannot be read leaves its editor empty
    // and locked (see loadErrors()).
    WriteResult openTopic(const QString &topic);
    // What a pick in the list does: opens the selected entry, or, for an
    // entry with no name or a name too long for its files, stores the open
    // topic and leaves the editors empty and locked with the reason. When
    // the open topic cannot be stored, the selection returns to its entry.
    WriteResult openSelected();
    // Stores the open topic, then empties and locks the editors with the
    // reason; entry becomes currentIndex().
    WriteResult leaveTopic(int entry, const QString &reason);
    // The reason shown in the editors while no topic is chosen.
    static QString noTopicReason();
    // Removes every file of the topic that exists.
    WriteResult deleteTopicFiles(const QString &topic);
    // Deletes the selected entry, which must be the topic named: stores the
    // open topic unless it is the one deleted, removes the topic's files and
    // the entry, then selects and opens the first entry (an empty list
    // leaves the editors empty and locked) and writes the list. With nothing
    // selected nothing happens and the result says so.
    WriteResult deleteTopic(const QString &topic);

    // Checks a typed name for a new topic, or for renaming the entry
    // renamed (its own name and files do not count as taken).
    TopicNameCheck checkNewName(const QString &typed, int renamed = -1) const;
    // Appends the cleaned name unless the check refuses it.
    TopicNameCheck addTopic(const QString &typed);
    // Renames the selected entry and its files, all or nothing, after the
    // same checks as a new name and after storing the open topic. A name
    // that stays the same changes nothing.
    WriteResult renameSelectedTopic(const QString &typed);

    enum class Move { NothingSelected, Moved, AtEnd };
    // Swap the selected entry with its neighbour; the selection follows.
    Move moveUp();
    Move moveDown();
    void swapItems(int i, int j);

    // At shut-down: stores the open topic, then the list.
    WriteResult storeAll();

    // The files the workspace shows: the topics file and the open topic's.
    QStringList shownFiles() const;
    // Files changed on disk by another program (absolute, cleaned paths).
    // An editor of the open topic that holds no unsaved edits shows its
    // file's new content (one that could not be read is tried again); an
    // edited one keeps its text, and its next save keeps the other version
    // beside it. The topic list is read again unless it was changed here
    // since it was read or saved; the selection and the open topic stay
    // on their names. The failure names every file that could not be read.
    WriteResult followDiskChanges(const QStringList &paths);

private:
    TopicWorkspaceSetup m_setup;
    ITopicEditors *m_editors;
    QStringList m_topics;
    int m_selected = -1;
    void lockAll(const QString &reason);
    QString editorCaption(int editor) const;
    QString tooLongMessage(const QString &name) const;

    QString m_currentTopic;
    int m_currentIndex = -1;
    // What each editor held when its topic was loaded or last saved; an
    // editor still holding that is not written.
    QStringList m_storedTexts;
    QStringList m_loadErrors;
    bool m_topicsFileUnreadable = false;
    // The list as the topics file held it when last read or written.
    QStringList m_topicsOnDisk;
};
