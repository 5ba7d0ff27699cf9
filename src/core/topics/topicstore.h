#pragma once

#include "common/textfile.h"

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
    // The topic in the editors; empty before the first open and after a
    // delete.
    const QString &currentTopic() const { return m_currentTopic; }

    // Replaces the list by the topics file's lines when the file exists.
    // A file that exists but cannot be read keeps the built-in list and
    // makes SaveTopicList leave that file alone for the rest of the run.
    // A file that does not hold text is moved aside (see
    // TextFile::readTextBytes): the built-in list is kept and saved as
    // usual, and the failure carries the notice saying where it is kept.
    WriteResult LoadTopicList();
    // Writes the whole list to the topics file, creating it when missing.
    WriteResult SaveTopicList();

    // The selected entry, or the first one; empty for an empty list.
    QString SelectedTopic() const;

    QString TopicFileName(const QString &topic, const QString &editorName) const;

    // Writes the editor's text to the topic's file. For the open topic a
    // file that exists and already holds that text is left untouched.
    WriteResult SaveEditor(int editor, const QString &topic);
    WriteResult SaveTopic(const QString &topic);
    // Stores the open topic, then loads every editor of the new one. When
    // a file cannot be written or read, the editors keep the open topic.
    WriteResult OpenTopic(const QString &topic);
    // Removes every file of the topic that exists.
    WriteResult DeleteTopicFiles(const QString &topic);
    // Stores the open topic unless it is the one deleted, removes the
    // selected entry and the topic's files, then opens the first entry
    // (an empty list leaves the editors empty) and writes the list.
    WriteResult DeleteTopic(const QString &topic);

    // Appends the name unless it is empty or equal, ignoring letter case,
    // to an entry already listed. Returns true when it was appended.
    bool AddTopic(const QString &name);

    enum class Move { NothingSelected, Moved, AtEnd };
    // Swap the selected entry with its neighbour; the selection follows.
    Move MoveUp();
    Move MoveDown();
    void SwapItems(int i, int j);

    // At shut-down: stores the open topic, then the list.
    WriteResult Close();

private:
    TopicWorkspaceSetup m_setup;
    ITopicEditors *m_editors;
    QStringList m_topics;
    int m_selected = -1;
    QString m_currentTopic;
    // What each editor's file of the current topic holds, as far as this
    // store wrote or read it; an unchanged editor is not written again.
    QStringList m_storedTexts;
    bool m_topicsFileUnreadable = false;
};
