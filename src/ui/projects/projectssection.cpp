#include "ui/projects/projectssection.h"

#include "ui/common/look.h"
#include "core/datafolder/datafolder.h"
#include "ui/projects/departmentdelegate.h"
#include "ui/projects/pageeditor.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/printing/pageprintjob.h"
#include "core/projects/projectnames.h"
#include "core/projects/projectpages.h"
#include "ui/common/pictures.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/documentsbrowser.h"
#include "ui/projects/documentscommands.h"
#include "ui/tracker/timetracker.h"
#include "ui/projects/editcategoriesdialog.h"
#include "ui/projects/projectnotebook.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *flatButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setAccessibleName(text);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setFont(pixelFont(QStringLiteral("Arial"), 12, FontStyle::Bold));
    return button;
}

int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

} // namespace

ProjectsSection::ProjectsSection(const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("ProjectsSection"));
    paintWhite(this);
    // The section takes the space its page has; it never holds the main
    // window at a minimum width (a narrow window clips it instead).
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    createListColumn();
    m_notebook = new ProjectNotebook(this);
    createBottomBar();

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_listColumn);
    row->addWidget(m_notebook, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(row, 1);
    layout->addWidget(m_bottomBar);

    for (PageEditor *editor : m_notebook->pageEditors())
        connect(editor, &PageEditor::focusLost, this, &ProjectsSection::saveLeftPage);
    connect(m_notebook, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_changingByProgram)
            followTab(index);
    });
    setDepartmentLines(ProjectNames::builtInDepartments());
    showCommandsFor(m_notebook->currentIndex());
    createLedger();
}

void ProjectsSection::createLedger()
{
    m_ledger = new CostLedgerWidget(m_services, this);
    m_notebook->setLedgerWidget(m_ledger);
    // Tab follows the Costs page as it is seen: the grid, the plus and
    // minus buttons and "Calculate" under it, then the notes on the right.
    m_ledger->orderTabChain();
    setTabOrder(m_ledger->lastInTabChain(), m_notebook->pageEditor(ProjectNotebook::CostsTab));
    connect(m_ledger, &CostLedgerWidget::projectFolderRequested, this, [this] {
        if (!m_dataFolder)
            return;
        const QString owner = m_ledger->ownerName();
        m_dataFolder->openFolder(owner.isEmpty() ? m_dataFolder->projectsDir()
                                                 : m_dataFolder->projectsDir() + owner + QLatin1Char('/'));
    });
}

void ProjectsSection::createTrackerAndDocuments()
{
    m_tracker = new TimeTracker(m_dataFolder, m_services);
    m_tracker->embedIn(m_notebook->trackerHost());
    connect(this, &ProjectsSection::trackerBindRequested, m_tracker, &TimeTracker::loadDay);
    connect(m_notebook, &ProjectNotebook::sleepGridRequested, m_tracker, &TimeTracker::showSleepGrid);
    connect(m_notebook, &ProjectNotebook::sleepGraphRequested, m_tracker, &TimeTracker::showSleepGraph);
    connect(m_notebook, &ProjectNotebook::bedTimesRequested, m_tracker, &TimeTracker::showBedPage);
    connect(m_notebook, &ProjectNotebook::feedingTimesRequested, m_tracker, &TimeTracker::showFeedPage);
    connect(m_notebook, &ProjectNotebook::sleepReportRequested, m_tracker, &TimeTracker::showSleepReport);
    connect(m_notebook, &ProjectNotebook::sleepReportPrintRequested, m_tracker, &TimeTracker::printSleepReport);
    connect(m_tracker, &TimeTracker::selectedDateChanged, this, &ProjectsSection::trackerDaySelected);
    connect(m_tracker, &TimeTracker::shownNoteFileChanged, this, &ProjectsSection::shownFilesChanged);
    // The alarms ring from the start, before the "Time" page is opened.
    m_tracker->loadLastTrackedAlarms();

    m_documents = new DocumentsCommands(m_dataFolder, m_services, this);
    m_notebook->setDocumentsWidget(m_documents->files());
    connect(this, &ProjectsSection::documentsSwitchRequested, m_documents->files(), &DocumentsBrowser::switchTo);
    createFolderCommands();
    m_notebook->addOpenLinkCommands();
    connect(m_notebook, &ProjectNotebook::linkOpenRequested, m_documents, &DocumentsCommands::openLink);
}

void ProjectsSection::createFolderCommands()
{
    m_folderButton = new PictureButton(QStringLiteral(":/icons/folder_open.svg"), tr("Open Data Folder"), m_bottomBar);
    m_folderButton->setObjectName(QStringLiteral("Image3"));
    m_folderButton->setToolTip(tr("Open Data Folder"));
    m_folderButton->setIconSize(QSize(18, 22));
    connect(m_folderButton, &QToolButton::clicked, m_documents, &DocumentsCommands::openDocumentsFolder);
    m_dataLabel = new QLabel(tr("Data Files"), m_bottomBar);
    m_dataLabel->setObjectName(QStringLiteral("Data_label"));
    QFont underlined(QStringLiteral("Arial"));
    underlined.setPixelSize(12);
    underlined.setUnderline(true);
    m_dataLabel->setFont(underlined);
    for (QLabel *label : {m_folderLabel, m_dataLabel}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        // Reached with Tab and opened with Enter or Space, like a link.
        label->setFocusPolicy(Qt::StrongFocus);
        label->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px dotted palette(text); }"));
    }
    m_dataLabel->setAccessibleName(tr("Data Files"));
    m_dataLabel->setAccessibleDescription(tr("Opens the project's data folder"));
    m_folderLabel->setAccessibleDescription(tr("Opens the project's documents folder"));
    m_dataLabel->setToolTip(tr("Open the project's data folder"));
    m_folderLabel->setToolTip(tr("Open the project's documents folder"));
    m_bottomBarLayout->insertWidget(m_bottomBarLayout->indexOf(m_folderLabel), m_folderButton);
    m_bottomBarLayout->addWidget(m_dataLabel);
}

bool ProjectsSection::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_documents || (watched != m_folderLabel && watched != m_dataLabel))
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_folderLabel)
            m_documents->openDocumentsFolder();
        else
            openDataFolder();
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            if (watched == m_dataLabel)
                openDataFolder();
            else
                m_documents->openDocumentsFolder();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProjectsSection::openDataFolder()
{
    m_documents->openDataFolder(projectFolder());
}

DocumentsBrowser *ProjectsSection::documentsBrowser() const
{
    return m_documents ? m_documents->files() : nullptr;
}

bool ProjectsSection::ledgerCellIsOpen() const
{
    return m_ledger->cellEditorIsOpen();
}

Result ProjectsSection::saveTrackerEdits()
{
    if (!m_tracker)
        return Result::success();
    return m_tracker->saveEdited();
}

void ProjectsSection::finishStartup()
{
    loadDepartments();
    m_ledger->setLedgerHeadings();
    Q_EMIT shownFilesChanged();
}

void ProjectsSection::createListColumn()
{
    m_listColumn = new QWidget(this);
    m_listColumn->setObjectName(QStringLiteral("Panel13"));
    m_listColumn->setFixedWidth(185);
    paintWhite(m_listColumn);

    m_listHeader = new QWidget(m_listColumn);
    m_listHeader->setObjectName(QStringLiteral("Panel8"));
    m_listHeader->setFixedHeight(26);
    paintWhite(m_listHeader);
    m_projectsLabel = new QLabel(tr("Projects"), m_listHeader);
    m_projectsLabel->setObjectName(QStringLiteral("Projects_Label"));
    m_projectsLabel->setFont(pixelFont(QStringLiteral("Georgia"), 16, FontStyle::Bold));
    m_projectsLabel->setAlignment(Qt::AlignCenter);
    auto *labelLayout = new QVBoxLayout(m_listHeader);
    labelLayout->setContentsMargins(0, 0, 0, 0);
    labelLayout->addWidget(m_projectsLabel);

    m_department = new QListWidget(m_listColumn);
    m_department->setObjectName(QStringLiteral("Department"));
    m_department->setAccessibleName(tr("Projects and categories"));
    m_department->setFixedWidth(177);
    m_department->setFont(pixelFont(QStringLiteral("Arial"), 15));
    m_department->setFrameShape(QFrame::Box);
    m_department->setLineWidth(1);
    m_department->setUniformItemSizes(true);
    m_department->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_department->setSelectionMode(QAbstractItemView::SingleSelection);
    m_department->setItemDelegate(new DepartmentDelegate(m_department));
    setBaseColor(m_department, QColor(0xE8, 0xF3, 0xFF));
    // A line is chosen when it becomes selected by the mouse or the keys;
    // merely tabbing into the list chooses nothing.
    connect(m_department->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_changingByProgram && selectedRow(m_department) >= 0)
            openSelectedProject();
    });

    auto *column = new QVBoxLayout(m_listColumn);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_listHeader);
    column->addWidget(m_department, 1, Qt::AlignLeft);
}

void ProjectsSection::createBottomBar()
{
    m_bottomBar = new QWidget(this);
    m_bottomBar->setObjectName(QStringLiteral("Panel9"));
    m_bottomBar->setFixedHeight(26);
    paintWhite(m_bottomBar);
    auto *bar = new QHBoxLayout(m_bottomBar);
    m_bottomBarLayout = bar;
    bar->setContentsMargins(4, 0, 8, 0);
    bar->setSpacing(6);

    m_editButton = flatButton(QStringLiteral("btnEdit"), tr("Edit"), m_bottomBar);
    m_editButton->setToolTip(tr("Edit the list of categories and projects"));
    connect(m_editButton, &QToolButton::clicked, this, &ProjectsSection::editProjectList);
    m_deleteButton = flatButton(QStringLiteral("SpeedButton5"), tr("Delete"), m_bottomBar);
    m_deleteButton->setToolTip(tr("Delete the selected project and all its data"));
    connect(m_deleteButton, &QToolButton::clicked, this, &ProjectsSection::deleteSelectedProject);
    auto *separator = new QFrame(m_bottomBar);
    separator->setObjectName(QStringLiteral("Bevel1"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    m_clearTextButton = flatButton(QStringLiteral("Clear_Label"), tr("Clear Text"), m_bottomBar);
    QFont underlined = pixelFont(QStringLiteral("Arial"), 12);
    underlined.setUnderline(true);
    m_clearTextButton->setFont(underlined);
    m_clearTextButton->setCursor(Qt::PointingHandCursor);
    m_clearTextButton->setToolTip(tr("Clear the text of the page shown"));
    connect(m_clearTextButton, &QToolButton::clicked, this, &ProjectsSection::clearShownPage);
    m_printButton = flatButton(QStringLiteral("print_button"), tr("Print"), m_bottomBar);
    m_printButton->setToolTip(tr("Print the page shown"));
    connect(m_printButton, &QToolButton::clicked, this, &ProjectsSection::printShownPage);

    m_folderLabel = new QLabel(tr("Documents"), m_bottomBar);
    m_folderLabel->setObjectName(QStringLiteral("Folder_Label"));
    m_folderLabel->setFont(pixelFont(QStringLiteral("Arial"), 13));

    bar->addWidget(m_editButton);
    bar->addWidget(m_deleteButton);
    bar->addWidget(separator);
    bar->addWidget(m_clearTextButton);
    bar->addWidget(m_printButton);
    bar->addSpacing(12);
    bar->addWidget(m_folderLabel);
    bar->addStretch(1);
}

// ---- the list -----------------------------------------------------------

QStringList ProjectsSection::departmentLines() const
{
    QStringList lines;
    lines.reserve(m_department->count());
    for (int i = 0; i < m_department->count(); ++i)
        lines.append(m_department->item(i)->text());
    return lines;
}

void ProjectsSection::setDepartmentLines(const QStringList &lines)
{
    m_changingByProgram = true;
    m_department->clear();
    m_department->addItems(lines);
    m_department->setCurrentRow(-1);
    m_shownRow = -1;
    m_changingByProgram = false;
}

void ProjectsSection::selectNoLine()
{
    m_changingByProgram = true;
    m_department->clearSelection();
    m_department->setCurrentRow(-1);
    m_shownRow = -1;
    m_changingByProgram = false;
}

void ProjectsSection::restoreSelection()
{
    m_changingByProgram = true;
    if (m_shownRow >= 0 && m_shownRow < m_department->count()) {
        m_department->setCurrentRow(m_shownRow);
    } else {
        m_department->clearSelection();
        m_department->setCurrentRow(-1);
    }
    m_changingByProgram = false;
}

QString ProjectsSection::departmentsFile() const
{
    return m_dataFolder ? m_dataFolder->configDir() + QStringLiteral("departments.txt") : QString();
}

void ProjectsSection::loadDepartments()
{
    if (!m_dataFolder)
        return;
    const QString path = departmentsFile();
    m_departmentsStored = departmentLines();
    if (!TextFile::entryExists(path)) {
        // Read all the same, so that a list made elsewhere meanwhile is noticed.
        TextFile::readBytes(path);
        return;
    }
    const Expected<QByteArray> read = TextFile::readTextBytes(path);
    const QString &error = read.error;
    if (read && !read.notice.isEmpty()) {
        // Moved aside: the built-in list starts a new file, as when there is none.
        m_services.dialogs->error(this, read.notice);
        return;
    }
    const QStringList lines = TextFile::splitLines(TextFile::decode(read.value));
    if (!error.isEmpty()) {
        m_departmentsLoaded = false;
        m_services.dialogs->error(
            this, tr("%1\n\nThe built-in project list is shown; the file will not be replaced when the "
                     "program closes.")
                      .arg(error));
        return;
    }
    setDepartmentLines(lines);
    m_departmentsStored = lines;
}

QString ProjectsSection::currentProjectName() const
{
    const int row = selectedRow(m_department);
    if (row >= 0)
        return ProjectNames::trimBlanks(m_department->item(row)->text());
    if (m_department->count() > 0)
        return m_department->item(0)->text();
    return {};
}

QString ProjectsSection::projectFolder() const
{
    const QString name = currentProjectName();
    if (!m_dataFolder || ProjectNames::trimBlanks(name).isEmpty()
        || !ProjectNames::nameProblem(ProjectNames::trimBlanks(name)).isEmpty())
        return {};
    return m_dataFolder->projectsDir() + name + QLatin1Char('/');
}

void ProjectsSection::sectionEntered()
{
    m_projectsLabel->setText(tr("Projects"));
}

void ProjectsSection::reportErrors(const QStringList &errors)
{
    if (errors.isEmpty() || m_reporting)
        return;
    // The box takes the focus from an editor, which would save again.
    m_reporting = true;
    m_services.dialogs->error(this, errors.join(QStringLiteral("\n\n")));
    m_reporting = false;
}

// ---- pages ----------------------------------------------------------------

void ProjectsSection::markLoadFailed(PageEditor *editor, const QString &reason)
{
    editor->loadFailed = true;
    editor->setReadOnly(true);
    editor->setPlaceholderText(reason);
    editor->setToolTip(reason);
}

Result ProjectsSection::loadPage(PageEditor *editor)
{
    const QString folder = ProjectPages::ownerFolder(m_dataFolder->projectsDir(), editor->ownerName);
    const QString path = ProjectPages::pageFile(m_dataFolder->projectsDir(), editor->ownerName, editor->pageName());
    // Without its folder a page reads as empty, but that says nothing about
    // the file: a disk that comes back would have its pages written over.
    const Expected<QString> loaded =
        QFileInfo(folder).isDir()
            ? ProjectPages::loadPageText(path)
            : Expected<QString>::failure(tr("Could not read the file \"%1\": its folder is not there.")
                                             .arg(QFileInfo(path).absoluteFilePath()));
    editor->setPageText(loaded.value);
    if (loaded) {
        editor->loadFailed = false;
        editor->setReadOnly(false);
        editor->setPlaceholderText(QString());
        editor->setToolTip(QString());
    } else {
        markLoadFailed(editor, tr("%1\nThis page is read-only and will not be saved.").arg(loaded.error));
    }
    return loaded;
}

Result ProjectsSection::savePage(PageEditor *editor)
{
    // A page that failed to load is never written over; one that nobody
    // edited is left as it is on disk.
    if (!m_dataFolder || editor->loadFailed || !editor->isEdited())
        return Result::success();
    const QString projectsDir = m_dataFolder->projectsDir();
    const QString folder = ProjectPages::ownerFolder(projectsDir, editor->ownerName);
    const QString path = ProjectPages::pageFile(projectsDir, editor->ownerName, editor->pageName());
    // A project folder that went away while its page was being edited is
    // made again, so the text is kept; without the projects folder itself
    // (a removed disk) the save fails and says so.
    if (!QFileInfo(folder).isDir()
        && !(!editor->ownerName.isEmpty() && QFileInfo(projectsDir).isDir() && QDir(projectsDir).mkdir(editor->ownerName))) {
        return Result::failure(tr("Could not write the file \"%1\": its folder is not there and could not be made "
                                  "(is the data folder's disk still there?).")
                                   .arg(QFileInfo(path).absoluteFilePath()));
    }
    const WriteResult written = ProjectPages::savePageText(folder, path, editor->pageText());
    if (!written)
        return written;
    editor->markSaved();
    return Result::success();
}

bool ProjectsSection::saveEdited(QStringList *errors)
{
    if (!m_dataFolder)
        return true;
    bool ok = true;
    for (PageEditor *editor : m_notebook->pageEditors()) {
        const Result saved = savePage(editor);
        if (!saved) {
            ok = false;
            if (errors)
                errors->append(saved.error);
        }
    }
    if (m_ledger) {
        const Result saved = m_ledger->saveLedger();
        if (!saved) {
            ok = false;
            if (errors)
                errors->append(saved.error);
        }
    }
    return ok;
}

Result ProjectsSection::buildSummary(PageEditor *editor)
{
    editor->ownerName = ProjectNames::SummaryName;
    const QString text = ProjectPages::buildSummaryText(departmentLines(), m_dataFolder->projectsDir(),
                                                        editor->pageName(), &m_pageCache);
    editor->loadFailed = false;
    editor->setReadOnly(false);
    editor->setPlaceholderText(QString());
    editor->setToolTip(QString());
    editor->setPageText(text, true);
    return m_pageCache.saveText(m_dataFolder->summaryDir(),
                                m_dataFolder->summaryDir() + editor->pageName() + QStringLiteral(".txt"), text);
}

Result ProjectsSection::switchPage(PageEditor *editor)
{
    const Result saved = savePage(editor);
    if (!saved)
        return saved; // the text stays with its owner
    editor->ownerName = currentProjectName();
    const QString folder = ProjectPages::ownerFolder(m_dataFolder->projectsDir(), editor->ownerName);
    if (!QFileInfo(folder).isDir())
        QDir(m_dataFolder->projectsDir()).mkdir(editor->ownerName);
    if (editor->ownerName == ProjectNames::SummaryName)
        return buildSummary(editor);
    return loadPage(editor);
}

void ProjectsSection::loadStartPages(DataFolder *dataFolder)
{
    m_dataFolder = dataFolder;
    m_ledger->setProjectsDir(dataFolder->projectsDir());
    // Every editor starts on the pages of the projects folder itself, so
    // that the first switch writes back what was there, not empty pages.
    QStringList errors;
    for (PageEditor *editor : m_notebook->pageEditors()) {
        editor->ownerName.clear();
        const Result loaded = loadPage(editor);
        if (!loaded)
            errors.append(loaded.error);
    }
    reportErrors(errors);
    Q_EMIT shownFilesChanged();
}

QStringList ProjectsSection::shownFiles() const
{
    if (!m_dataFolder)
        return {};
    QStringList files{departmentsFile()};
    const QString projectsDir = m_dataFolder->projectsDir();
    for (const PageEditor *editor : m_notebook->pageEditors()) {
        if (editor->ownerName != ProjectNames::SummaryName)
            files.append(ProjectPages::pageFile(projectsDir, editor->ownerName, editor->pageName()));
    }
    const QString ledgerFile = m_ledger->ledger().ledgerFileName();
    if (!ledgerFile.isEmpty())
        files.append(ledgerFile);
    if (m_tracker && !m_tracker->shownNoteFile().isEmpty())
        files.append(m_tracker->shownNoteFile());
    return files;
}

void ProjectsSection::followDiskChanges(const QStringList &paths)
{
    if (!m_dataFolder || m_reporting)
        return;
    const auto changedHere = [&paths](const QString &file) {
        return paths.contains(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
    };
    QStringList errors;
    const QString projectsDir = m_dataFolder->projectsDir();
    for (PageEditor *editor : m_notebook->pageEditors()) {
        if (editor->ownerName == ProjectNames::SummaryName || editor->isEdited() || editor->isFilling())
            continue;
        const QString file = ProjectPages::pageFile(projectsDir, editor->ownerName, editor->pageName());
        // Only a change made elsewhere (or a page that could not be read
        // before) is read again: the program's own saves change files too.
        if (!changedHere(file) || (!editor->loadFailed && !TextFile::changedOnDisk(file)))
            continue;
        const int cursor = editor->textCursor().position();
        const Result loaded = loadPage(editor);
        if (!loaded)
            errors.append(loaded.error);
        QTextCursor kept = editor->textCursor();
        kept.setPosition(qMin(cursor, editor->document()->characterCount() - 1));
        editor->setTextCursor(kept);
    }
    const QString ledgerFile = m_ledger->ledger().ledgerFileName();
    if (!ledgerFile.isEmpty() && changedHere(ledgerFile) && !m_ledger->ledger().edited() && !ledgerCellIsOpen()
        && (!m_ledger->ledger().editable() || TextFile::changedOnDisk(ledgerFile))) {
        const Result shown = m_ledger->showProject(m_ledger->ownerName());
        if (!shown)
            errors.append(shown.error);
    }
    if (m_tracker)
        m_tracker->followDiskChanges(paths);
    if (changedHere(departmentsFile()) && departmentLines() == m_departmentsStored
        && TextFile::changedOnDisk(departmentsFile())) {
        const Expected<QStringList> read = TextFile::readLines(departmentsFile());
        if (read) {
            const QString shown = m_notebook->pageEditors().first()->ownerName;
            setDepartmentLines(read.value);
            m_departmentsStored = read.value;
            m_departmentsLoaded = true;
            for (int row = 0; row < m_department->count(); ++row) {
                if (!shown.isEmpty() && ProjectNames::trimBlanks(m_department->item(row)->text()) == shown) {
                    m_shownRow = row;
                    break;
                }
            }
            restoreSelection();
        } else {
            errors.append(read.error);
        }
    }
    reportErrors(errors);
}

// ---- handlers -------------------------------------------------------------

QString ProjectsSection::openProblem(const QString &name) const
{
    const QString problem = ProjectNames::nameProblem(name);
    if (!problem.isEmpty())
        return problem;
    const QString projectsDir = m_dataFolder->projectsDir();
    if (!QFileInfo(projectsDir).isDir())
        return tr("The project \"%1\" cannot be opened: the projects folder \"%2\" is not there "
                  "(was the data folder's disk removed?).")
            .arg(name, QFileInfo(projectsDir).absoluteFilePath());
    const QFileInfo folder(projectsDir + name);
    if ((folder.exists() || folder.isSymLink()) && !folder.isDir())
        return tr("The project \"%1\" cannot be opened: \"%2\" is a file, not a folder, so nothing "
                  "typed for it could be kept. Choose \"Edit\" and rename the line.")
            .arg(name, folder.absoluteFilePath());
    return {};
}

void ProjectsSection::openSelectedProject()
{
    if (!m_dataFolder)
        return;
    const QString name = currentProjectName();
    if (name.isEmpty())
        return;
    // A switch is all or nothing: the project on screen stays, with its
    // line selected again, unless the new one can be opened and every
    // edited page and the ledger went back to their project first.
    const QList<PageEditor *> editors = m_notebook->pageEditors();
    QStringList errors;
    const bool saved = saveEdited(&errors);
    const QString problem = openProblem(name);
    if (!problem.isEmpty())
        errors.append(problem);
    if (!errors.isEmpty()) {
        restoreSelection();
        if (!saved)
            errors.append(tr("The pages still show \"%1\"; the project \"%2\" was not opened.")
                              .arg(editors.first()->ownerName, name));
        reportErrors(errors);
        return;
    }
    m_shownRow = selectedRow(m_department);

    m_projectsLabel->setText(name);
    m_notebook->setHeadings(name);
    m_folderLabel->setText(QDir::toNativeSeparators(QStringLiteral("Documents/%1/").arg(name)));
    if (!QFileInfo(m_dataFolder->projectsDir() + name).isDir())
        QDir(m_dataFolder->projectsDir()).mkdir(name);
    for (PageEditor *editor : editors) {
        const Result switched = switchPage(editor);
        if (!switched)
            errors.append(switched.error);
    }
    if (m_ledger) {
        const Result shown = m_ledger->showProject(name);
        if (!shown)
            errors.append(shown.error);
    }
    if (!errors.isEmpty())
        errors.append(tr("What could not be read is shown read-only and will not be saved."));
    reportErrors(errors);

    Q_EMIT ledgerSwitchRequested(name);
    Q_EMIT documentsSwitchRequested(name);
    if (m_notebook->currentIndex() == ProjectNotebook::TimeTab)
        Q_EMIT trackerBindRequested(projectFolder(), m_services.clock->nowDayNumber());
    Q_EMIT shownFilesChanged();
}

PageEditor *ProjectsSection::showProjectPage(const QString &project, const QString &pageName)
{
    int row = -1;
    for (int i = 0; i < m_department->count() && row < 0; ++i) {
        if (m_department->item(i)->text().trimmed() == project)
            row = i;
    }
    if (row < 0 || !m_dataFolder)
        return nullptr;
    if (selectedRow(m_department) != row || m_shownRow != row)
        m_department->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    const QList<PageEditor *> editors = m_notebook->pageEditors();
    // The switch was refused (a page could not be saved): the pages still
    // belong to another project.
    if (editors.isEmpty() || editors.first()->ownerName != project)
        return nullptr;
    m_department->scrollToItem(m_department->item(row));
    const struct
    {
        QString page;
        ProjectNotebook::Tab tab;
    } tabs[] = {{ProjectPages::kToDoPage, ProjectNotebook::ToDoTab},
                {ProjectPages::kDonePage, ProjectNotebook::DoneTab},
                {ProjectPages::kWaitingPage, ProjectNotebook::WaitingTab},
                {ProjectPages::kCostNotesPage, ProjectNotebook::CostsTab},
                {ProjectPages::kSomeDayPage, ProjectNotebook::SomeDayTab},
                {ProjectPages::kLinksPage, ProjectNotebook::LinksTab},
                {ProjectPages::kOtherPage, ProjectNotebook::OtherTab}};
    for (const auto &entry : tabs) {
        if (entry.page != pageName)
            continue;
        m_notebook->setCurrentIndex(entry.tab);
        PageEditor *editor = m_notebook->activePageEditor();
        if (editor)
            editor->ensureFilled();
        return editor;
    }
    return nullptr;
}

void ProjectsSection::saveLeftPage(PageEditor *editor)
{
    // A window that is being hidden or torn down has saved at close. A box
    // or dialog that takes the focus belongs to an operation that saves and
    // reports for itself: one message, never a second one on top of it.
    if (!m_dataFolder || m_reporting || !window()->isVisible() || selectedRow(m_department) == 0
        || QApplication::activeModalWidget())
        return;
    if (editor->loadFailed || !editor->isEdited())
        return;
    editor->ensureFilled();
    const QString text = editor->toPlainText();
    const QString trimmed = ProjectPages::trimPageText(text);
    if (trimmed != text && !editor->isReadOnly()) {
        // Keeps the undo history: the trim is one more step to undo.
        QTextCursor cursor(editor->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(trimmed);
    }
    const Result saved = savePage(editor);
    if (!saved)
        reportErrors({saved.error});
}

void ProjectsSection::editProjectList()
{
    if (!m_dataFolder)
        return;
    // The dialog starts from the list on screen, so that a project deleted
    // since the file was last written does not come back.
    EditCategoriesDialog dialog(departmentLines(), departmentsFile(), m_services.dialogs, window());
    if (m_services.dialogs->execForm(&dialog) == QDialog::Accepted) {
        const Expected<QStringList> read = TextFile::readLines(departmentsFile());
        const QString &error = read.error;
        const QStringList &lines = read.value;
        if (error.isEmpty()) {
            setDepartmentLines(lines);
            m_departmentsStored = lines;
            m_departmentsLoaded = true;
        } else {
            reportErrors({error});
        }
    }
    selectNoLine();
}

void ProjectsSection::deleteSelectedProject()
{
    const int row = selectedRow(m_department);
    if (!m_dataFolder || row < 0)
        return;
    const QString name = ProjectNames::trimBlanks(m_department->item(row)->text());
    if (name.isEmpty())
        return;
    const QString problem = ProjectNames::nameProblem(name);
    if (!problem.isEmpty()) {
        reportErrors({problem});
        return;
    }
    if (!m_services.dialogs->okCancel(
            this, QStringLiteral("Are you sure you want to delete this project? All project data will be deleted. ")))
        return;
    const Result deleted =
        ProjectPages::deleteProjectFolder(*m_dataFolder, m_dataFolder->projectsDir() + name + QLatin1Char('/'));
    if (!deleted)
        reportErrors({deleted.error});
    // The deleted project's text stays on screen, read-only: it has no
    // folder to go back to, and must not make one again.
    for (PageEditor *editor : m_notebook->pageEditors()) {
        if (editor->ownerName == name)
            markLoadFailed(editor, tr("The project \"%1\" was deleted.").arg(name));
    }
    if (m_ledger && m_ledger->ownerName() == name)
        m_ledger->ownerDeleted();
    m_changingByProgram = true;
    m_shownRow = -1;
    delete m_department->takeItem(row);
    m_department->clearSelection();
    m_department->setCurrentRow(-1);
    m_notebook->setCurrentIndex(ProjectNotebook::ToDoTab);
    m_changingByProgram = false;
    showCommandsFor(ProjectNotebook::ToDoTab);
}

void ProjectsSection::clearShownPage()
{
    PageEditor *editor = m_notebook->activePageEditor();
    if (!editor || editor->isReadOnly())
        return;
    editor->ensureFilled();
    if (m_services.dialogs->yesNo(this, QStringLiteral("Clear all text?"))) {
        QTextCursor cursor(editor->document());
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
    }
}

void ProjectsSection::printShownPage()
{
    PageEditor *editor = m_notebook->activePageEditor();
    if (!editor)
        return;
    editor->ensureFilled();
    printPages(m_services, window(), m_projectsLabel->text(), displayedLines(editor), editor->font(),
               PageLayoutInches{0.25f, 0.5f, 0.75f, 1.0f, 6.0f});
}

void ProjectsSection::showCommandsFor(int tab)
{
    const bool show = tab != ProjectNotebook::TimeTab && tab != ProjectNotebook::OtherTab
                      && tab != ProjectNotebook::DocumentsTab;
    m_clearTextButton->setVisible(show);
    m_printButton->setVisible(show);
}

void ProjectsSection::followTab(int index)
{
    showCommandsFor(index);
    if (m_notebook->tabText(index) == QLatin1String("Time")) {
        const QString folder = projectFolder();
        if (!folder.isEmpty())
            Q_EMIT trackerBindRequested(folder, m_services.clock->nowDayNumber());
    }
}

// ---- close ----------------------------------------------------------------

Result ProjectsSection::saveAtClose()
{
    if (!m_dataFolder)
        return Result::success();
    QStringList errors;
    const QStringList lines = departmentLines();
    if (m_departmentsLoaded && (lines != m_departmentsStored || !TextFile::entryExists(departmentsFile()))) {
        const WriteResult written = TextFile::writeLines(departmentsFile(), lines);
        if (written)
            m_departmentsStored = lines;
        else
            errors.append(written.error);
    }
    saveEdited(&errors);
    if (!errors.isEmpty())
        return Result::failure(errors.join(QStringLiteral("\n\n")));
    return Result::success();
}

void ProjectsSection::selectProjectRow(int row)
{
    m_department->setCurrentRow(row);
}

bool ProjectsSection::canPrintShownPage() const
{
    return !m_printButton->isHidden();
}
