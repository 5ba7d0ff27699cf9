#pragma once

#include "ui/platform/services.h"
#include "core/topics/topicstore.h"

#include <QList>
#include <QWidget>

class QLabel;
class QListWidget;
class QModelIndex;
class QPlainTextEdit;
class QToolButton;
class DataFolder;

// What the two topic workspaces ("My Lists" and "Decisions") share: the
// topic list on the left with its four buttons, the title, the editors
// that hold the open topic, embedding into a host panel, sizing, and the
// close handling. A workspace adds its editors in the order of its editor
// set and lays out its writing side.
class TopicWorkspace : public QWidget, public ITopicEditors
{
    Q_OBJECT
public:
    struct Design
    {
        // Width of the topic side, width of the topic list and its distance from
        // the top.
        int topicPanelWidth;
        int listWidth;
        int listTop;
        // Shown after the topic name in the title.
        QString titleSuffix;
        // The title while no topic is open.
        QString idleTitle;
    };

    TopicWorkspace(const Services &services, TopicWorkspaceSetup setup, const Design &design,
                   QWidget *parent = nullptr);

    TopicStore &store() { return m_store; }
    const TopicStore &store() const { return m_store; }
    QString currentTopic() const { return m_store.currentTopic(); }

    // Becomes a borderless child of the host at its top-left corner, loads
    // the topic list and shows itself.
    void embedIn(QWidget *hostPanel);
    // Sets the size of the main panel (and of the form around it).
    virtual void resizeTo(int width, int height);

    // Selects the list's row as a click would, opening its topic.
    void selectTopicRow(int row);
    // Opens the entry selected in the list (what a click in it does).
    void openSelectedTopic();
    // Selects and opens the topic stored under the stem (the name without
    // the characters a file name cannot hold; see Topics::stripTopicName)
    // and shows the editor at the index of the editor set. The editor, or
    // null when no entry has that stem or the topic could not be opened.
    QPlainTextEdit *showTopicEditor(const QString &topicStem, int editorIndex);
    // Swap the selected entry with its neighbour.
    void moveSelectedTopicUp();
    void moveSelectedTopicDown();
    // Stores the open topic and the topic list; the result tells the main
    // window whether anything could not be written.
    WriteResult storeAll();

    // Writes what was edited in the open topic since it was loaded or last
    // saved, and nothing else; the failure names every file not written,
    // whose text stays in the editors. For saving while the program runs.
    WriteResult saveEditedTopic();
    bool hasUnsavedEdits() const;

    // See TopicStore::shownFiles and followDiskChanges; the list and the
    // title follow what was read again.
    QStringList shownFiles() const { return m_store.shownFiles(); }
    void followDiskChanges(const QStringList &paths);

    // ITopicEditors
    QString editorText(int index) const override;
    void setEditorText(int index, const QString &text) override;
    void setEditorLocked(int index, const QString &reason) override;

Q_SIGNALS:
    // Another topic is open (see shownFiles).
    void shownFilesChanged();

protected:
    // The editors' side, laid out by each workspace, with its title above.
    QWidget *writePanel;
    QLabel *titleLabel;
    // Renames the selected topic and its files (also F2 in the list); the
    // last of the list's buttons in the tab chain.
    QToolButton *renameTopicButton;

    // Adds the next editor of the editor set.
    void addEditor(QPlainTextEdit *editor);
    // Brings the page holding the editor at the index into view.
    virtual void showEditorPage(int index) { Q_UNUSED(index); }
    // Places the controls of writePanel for its current size.
    virtual void layoutWritePanel() = 0;
    void layoutControls();
    void showError(const WriteResult &result);
    const Services &services() const { return m_services; }

private Q_SLOTS:
    // Asks for the name of a new topic and appends it to the list.
    void addTopic();
    // Asks, then deletes the selected topic and its files.
    void deleteSelectedTopic();
    // Asks for a new name for the selected topic and renames its files.
    void renameSelectedTopic();

private:
    void syncList();
    void updateTitle();
    void showLoadErrors();
    bool listMatches(const QStringList &topics) const;
    void listSelectionChanged();
    void listPressed(const QModelIndex &index);

    Services m_services;
    QWidget *m_mainPanel;
    QToolButton *m_topicAddButton;
    QToolButton *m_topicDeleteButton;
    QToolButton *m_topicUpButton;
    QToolButton *m_topicDownButton;
    QListWidget *m_topicList;
    QWidget *m_topicPanel;
    QWidget *m_buttonStrip;
    Design m_design;
    TopicStore m_store;
    QList<QPlainTextEdit *> m_editors;
    bool m_syncing = false;
    // The selection changed under a mouse press that is not yet reported.
    bool m_pressOpened = false;
};
