#pragma once

#include <QList>
#include <QTabWidget>

class PageEditor;
class QLabel;
class QToolButton;
class QVBoxLayout;

// The project notebook: nine tabs, seven of them holding a page editor of
// the current project under a heading. The Costs tab keeps a host for the
// ledger beside its notes editor, the Time tab the panel the tracker is
// placed in, and the Documents tab a host for the documents list; the
// Projects section fills them.
class ProjectNotebook : public QTabWidget
{
    Q_OBJECT
public:
    enum Tab { ToDoTab, DoneTab, WaitingTab, CostsTab, TimeTab, SomeDayTab, LinksTab, OtherTab, DocumentsTab };

    explicit ProjectNotebook(QWidget *parent = nullptr);

    // The page editors, in the order the project switch walks them.
    QList<PageEditor *> pageEditors() const;
    // The page editor of a tab; none on Time and Documents.
    PageEditor *pageEditor(Tab tab) const;
    // The editor on the tab being shown; none on Time and Documents.
    PageEditor *activePageEditor() const;
    // The headings for project name: "Name"  To Do, and so on.
    void setHeadings(const QString &name);

    // The parts the Projects section brings: the ledger grid with its
    // bottom panel (433 px wide, left of the notes editor) and the
    // documents folder list fill their hosts; the tracker places itself in
    // the Time tab's host.
    void setLedgerWidget(QWidget *ledger);
    void setDocumentsWidget(QWidget *documents);
    QWidget *trackerHost() const;
    // Adds "Open Link" to the Links header and lets a double-click on a
    // line of the Links page open it: both emit linkOpenRequested.
    void addOpenLinkCommands();

Q_SIGNALS:
    // The line of the Links page under the caret, trimmed, is to be opened.
    void linkOpenRequested(const QString &line);
    // The Time tab's buttons were pressed.
    void sleepGridRequested();
    void sleepGraphRequested();
    void bedTimesRequested();
    void feedingTimesRequested();
    void sleepReportRequested();
    void sleepReportPrintRequested();

private:
    void requestLinkAtCaret();

    QWidget *editorPage(PageEditor *editor, QLabel **heading, const char *headingName,
                        const QString &headingText, const QString &subHeading, QWidget **header = nullptr);
    QWidget *costsPage();
    QWidget *timePage();
    QWidget *documentsPage();

    PageEditor *m_toDoEditor;
    PageEditor *m_doneEditor;
    PageEditor *m_waitingEditor;
    PageEditor *m_costNotesEditor;
    PageEditor *m_someDayEditor;
    PageEditor *m_linksEditor;
    PageEditor *m_otherEditor;

    QLabel *m_todoLabel = nullptr;
    QLabel *m_doneLabel = nullptr;
    QLabel *m_waitingLabel = nullptr;
    QLabel *m_costsLabel = nullptr;
    QLabel *m_somedayLabel = nullptr;
    QLabel *m_linksLabel = nullptr;
    QLabel *m_otherLabel = nullptr;
    QLabel *m_timeLabel = nullptr;
    QLabel *m_documentsHeading = nullptr;
    QLabel *m_documentsSubHeading = nullptr;
    QWidget *m_ledgerHost = nullptr;
    QWidget *m_trackerHost = nullptr;
    QWidget *m_documentsHost = nullptr;
    // The Links header, where its "Open Link" button belongs.
    QWidget *m_linksHeader = nullptr;
};
