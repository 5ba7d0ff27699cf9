#pragma once

#include "core/common/result.h"
#include "ui/platform/services.h"
#include "core/projects/pagecache.h"

#include <QStringList>
#include <QWidget>

class PageEditor;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QToolButton;
class CostLedgerWidget;
class DataFolder;
class DocumentsBrowser;
class DocumentsCommands;
class ProjectNotebook;
class TimeTracker;

// The Projects section: the list of categories and projects on the left,
// the project notebook on the right and the command bar along the bottom.
// It owns the parts of its notebook: the cost ledger (made with the
// section), the time tracker and the documents commands (made at start-up,
// once the data folder is there).
// Selecting a line makes it the current project: the seven page editors
// save to the project they showed and load the new one, then the ledger,
// the documents list and the tracker are told (the signals below, in that
// order).
class ProjectsSection : public QWidget
{
    Q_OBJECT
public:
    ProjectsSection(const Services &services, QWidget *parent);

    // The notebook of the selected project's pages.
    ProjectNotebook *notebook() const { return m_notebook; }
    // Selects the list's row as a click would, switching to its project.
    void selectProjectRow(int row);
    // True when the tab shown has a page that "Print" prints.
    bool canPrintShownPage() const;

    // Start-up: loads every page editor from the projects folder itself,
    // before any project is selected.
    void loadStartPages(DataFolder *dataFolder);
    // Start-up, after loadStartPages: the tracker in the Time tab (its
    // alarms ring from then on), the documents list and the folder and link
    // commands.
    void createTrackerAndDocuments();
    // Start-up, last: the project list (loadDepartments) and the ledger's
    // headings.
    void finishStartup();
    // Start-up: the list from "departments.txt", or the built-in lines
    // when the file does not exist. A file that cannot be read is reported
    // and is then never written over at close.
    void loadDepartments();
    // The ledger of the Costs page: it switches with the pages, all or
    // nothing, and is saved with them.
    CostLedgerWidget *ledger() const { return m_ledger; }
    // Made by createTrackerAndDocuments; null before.
    TimeTracker *timeTracker() const { return m_tracker; }
    DocumentsBrowser *documentsBrowser() const;
    // True while an edit is open in one of the ledger's cells.
    bool ledgerCellIsOpen() const;
    // Saves the tracker's edited note and alarm lists; true when there is
    // nothing to save or no tracker yet. Shows nothing.
    Result saveTrackerEdits();
    // Saves every page editor and the ledger that were edited since they
    // were loaded or last saved, each to the project it belongs to; what is
    // not edited is not written. The text stays on screen whatever
    // happens. False with one message per file that could not be written,
    // appended to errors. Shows nothing.
    bool saveEdited(QStringList *errors);
    // Close: saveEdited and "departments.txt" (when the list changed since
    // it was read, or the file is not there yet); every reason, one per
    // file, when something could not be written. Shows nothing.
    Result saveAtClose();
    // The "Projects" section button was pressed.
    void sectionEntered();

    QStringList departmentLines() const;
    void setDepartmentLines(const QStringList &lines);
    QString departmentsFile() const;

    // The selected line trimmed, or the first line as stored when none is
    // selected; empty with an empty list.
    QString currentProjectName() const;
    // ProjectsDir + current project name + "/"; empty when there is no
    // current project or its name cannot name a folder.
    QString projectFolder() const;

    // Selects the project's line (opening it, as a click does) and shows
    // the tab of the page (a ProjectPages name). The page's editor, or null
    // when the project is not in the list or could not be opened.
    PageEditor *showProjectPage(const QString &project, const QString &pageName);

    // Prints the page shown, as "Print" does; nothing on the tabs without
    // a page editor.
    void printShownPage();

    // The files on screen: the page files of the project shown, its ledger
    // and "departments.txt".
    QStringList shownFiles() const;
    // Files changed on disk by another program: a page or ledger that was
    // not edited shows the file's new content, an edited one keeps its text
    // (its next save keeps the other version beside it); the project list
    // is read again unless it was changed here, keeping the project shown
    // selected.
    void followDiskChanges(const QStringList &paths);

    // One page editor: load, save (to its owner), switch, summarise.
    Result loadPage(PageEditor *editor);
    Result savePage(PageEditor *editor);
    Result switchPage(PageEditor *editor);
    Result buildSummary(PageEditor *editor);

Q_SIGNALS:
    // The selection's later steps, for the ledger, the documents list and
    // the tracker; emitted in this order.
    void ledgerSwitchRequested(const QString &projectName);
    void documentsSwitchRequested(const QString &projectName);
    // The tracker is bound to the project folder at the day number now
    // (fraction = time of day); only while the Time tab is shown.
    void trackerBindRequested(const QString &projectFolder, double now);
    // A day was chosen in the tracker (a day number).
    void trackerDaySelected(double dayNumber);
    // Other files are on screen (see shownFiles).
    void shownFilesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // The line selected in the list becomes the current project.
    void openSelectedProject();
    // "Edit": the list in the categories dialog.
    void editProjectList();
    // "Delete": the selected project's folder, after asking.
    void deleteSelectedProject();
    void clearShownPage();
    void followTab(int index);
    // A page editor lost the focus: its trimmed text is saved.
    void saveLeftPage(PageEditor *editor);

private:
    // List column.
    QLabel *m_projectsLabel;
    QListWidget *m_department;
    ProjectNotebook *m_notebook;
    // Bottom bar.
    QToolButton *m_editButton;
    QToolButton *m_deleteButton;
    QToolButton *m_clearTextButton;
    QToolButton *m_printButton;
    QLabel *m_folderLabel;
    void createListColumn();
    void createBottomBar();
    void createLedger();
    // The folder picture before "Documents" and "Data Files" at the right
    // of the bottom bar.
    void createFolderCommands();
    void openDataFolder();
    void showCommandsFor(int tab);
    void selectNoLine();
    void reportErrors(const QStringList &errors);
    // Why the project cannot be opened (its name, or what is in the place
    // of its folder); empty when it can.
    QString openProblem(const QString &name) const;
    // Puts the selection back on the line of the project on screen.
    void restoreSelection();
    void markLoadFailed(PageEditor *editor, const QString &reason);

    Services m_services;
    DataFolder *m_dataFolder = nullptr;
    // What the page files held when the summary last gathered them.
    PageCache m_pageCache;
    // False when "departments.txt" exists but could not be read.
    bool m_departmentsLoaded = true;
    // The list as last read or written: an unchanged list is not written.
    QStringList m_departmentsStored;
    // The row of the project the pages show; -1 when none is selected.
    int m_shownRow = -1;
    CostLedgerWidget *m_ledger = nullptr;
    TimeTracker *m_tracker = nullptr;
    DocumentsCommands *m_documents = nullptr;
    QWidget *m_listColumn = nullptr;
    QWidget *m_listHeader = nullptr;
    QWidget *m_bottomBar = nullptr;
    QHBoxLayout *m_bottomBarLayout = nullptr;
    QToolButton *m_folderButton = nullptr;
    QLabel *m_dataLabel = nullptr;
    bool m_changingByProgram = false;
    bool m_reporting = false;
};
