#include "tprojects.h"

#include "common/fonts.h"
#include "datafolder/tdir.h"
#include "departmentdelegate.h"
#include "pageeditor.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printing/pageprintjob.h"
#include "projects/projectnames.h"
#include "projects/projectpages.h"
#include "tfrmprojcat.h"
#include "tprojectnotebook.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

void paintWhite(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::white);
    widget->setPalette(pal);
}

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

TProjects::TProjects(const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("ProjectsSection"));
    paintWhite(this);
    // The section takes the space its page has; it never holds the main
    // window at a minimum width (a narrow window clips it instead).
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    createListColumn();
    pgProject = new TProjectNotebook(this);
    createBottomBar();

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(Panel13);
    row->addWidget(pgProject, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(row, 1);
    layout->addWidget(Panel9);

    for (PageEditor *editor : pgProject->pageEditors())
        connect(editor, &PageEditor::focusLost, this, &TProjects::ProjectsExit);
    connect(pgProject, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_changingByProgram)
            pgProjectChange(index);
    });
    setDepartmentLines(ProjectNames::BuiltInDepartments());
    showCommandsFor(pgProject->currentIndex());
}

void TProjects::createListColumn()
{
    Panel13 = new QWidget(this);
    Panel13->setObjectName(QStringLiteral("Panel13"));
    Panel13->setFixedWidth(185);
    paintWhite(Panel13);

    Panel8 = new QWidget(Panel13);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setFixedHeight(26);
    paintWhite(Panel8);
    Projects_Label = new QLabel(tr("Projects"), Panel8);
    Projects_Label->setObjectName(QStringLiteral("Projects_Label"));
    Projects_Label->setFont(pixelFont(QStringLiteral("Georgia"), 16, FontStyle::Bold));
    Projects_Label->setAlignment(Qt::AlignCenter);
    auto *labelLayout = new QVBoxLayout(Panel8);
    labelLayout->setContentsMargins(0, 0, 0, 0);
    labelLayout->addWidget(Projects_Label);

    Department = new QListWidget(Panel13);
    Department->setObjectName(QStringLiteral("Department"));
    Department->setAccessibleName(tr("Projects and categories"));
    Department->setFixedWidth(177);
    Department->setFont(pixelFont(QStringLiteral("Arial"), 15));
    Department->setFrameShape(QFrame::Box);
    Department->setLineWidth(1);
    Department->setUniformItemSizes(true);
    Department->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Department->setSelectionMode(QAbstractItemView::SingleSelection);
    Department->setItemDelegate(new DepartmentDelegate(Department));
    QPalette pal = Department->palette();
    pal.setColor(QPalette::Base, QColor(0xE8, 0xF3, 0xFF));
    Department->setPalette(pal);
    // A line is chosen when it becomes selected by the mouse or the keys;
    // merely tabbing into the list chooses nothing.
    connect(Department->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_changingByProgram && selectedRow(Department) >= 0)
            DepartmentClick();
    });

    auto *column = new QVBoxLayout(Panel13);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel8);
    column->addWidget(Department, 1, Qt::AlignLeft);
}

void TProjects::createBottomBar()
{
    Panel9 = new QWidget(this);
    Panel9->setObjectName(QStringLiteral("Panel9"));
    Panel9->setFixedHeight(26);
    paintWhite(Panel9);
    auto *bar = new QHBoxLayout(Panel9);
    bar->setContentsMargins(4, 0, 8, 0);
    bar->setSpacing(6);

    btnEdit = flatButton(QStringLiteral("btnEdit"), tr("Edit"), Panel9);
    btnEdit->setToolTip(tr("Edit the list of categories and projects"));
    connect(btnEdit, &QToolButton::clicked, this, &TProjects::btnEditClick);
    SpeedButton5 = flatButton(QStringLiteral("SpeedButton5"), tr("Delete"), Panel9);
    SpeedButton5->setToolTip(tr("Delete the selected project and all its data"));
    connect(SpeedButton5, &QToolButton::clicked, this, &TProjects::btnRefreshClick);
    auto *separator = new QFrame(Panel9);
    separator->setObjectName(QStringLiteral("Bevel1"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    Clear_Label = flatButton(QStringLiteral("Clear_Label"), tr("Clear Text"), Panel9);
    QFont underlined = pixelFont(QStringLiteral("Arial"), 12);
    underlined.setUnderline(true);
    Clear_Label->setFont(underlined);
    Clear_Label->setCursor(Qt::PointingHandCursor);
    Clear_Label->setToolTip(tr("Clear the text of the page shown"));
    connect(Clear_Label, &QToolButton::clicked, this, &TProjects::Clear_LabelClick);
    print_button = flatButton(QStringLiteral("print_button"), tr("Print"), Panel9);
    print_button->setToolTip(tr("Print the page shown"));
    connect(print_button, &QToolButton::clicked, this, &TProjects::print_buttonClick);

    Folder_Label = new QLabel(tr("Documents"), Panel9);
    Folder_Label->setObjectName(QStringLiteral("Folder_Label"));
    Folder_Label->setFont(pixelFont(QStringLiteral("Arial"), 13));

    bar->addWidget(btnEdit);
    bar->addWidget(SpeedButton5);
    bar->addWidget(separator);
    bar->addWidget(Clear_Label);
    bar->addWidget(print_button);
    bar->addSpacing(12);
    bar->addWidget(Folder_Label);
    bar->addStretch(1);
}

// ---- the list -----------------------------------------------------------

QStringList TProjects::departmentLines() const
{
    QStringList lines;
    lines.reserve(Department->count());
    for (int i = 0; i < Department->count(); ++i)
        lines.append(Department->item(i)->text());
    return lines;
}

void TProjects::setDepartmentLines(const QStringList &lines)
{
    m_changingByProgram = true;
    Department->clear();
    Department->addItems(lines);
    Department->setCurrentRow(-1);
    m_changingByProgram = false;
}

void TProjects::selectNoLine()
{
    m_changingByProgram = true;
    Department->clearSelection();
    Department->setCurrentRow(-1);
    m_changingByProgram = false;
}

QString TProjects::DepartmentsFile() const
{
    return m_dataFolder ? m_dataFolder->ConfigDir + QStringLiteral("departments.txt") : QString();
}

void TProjects::LoadDepartments()
{
    if (!m_dataFolder)
        return;
    const QString path = DepartmentsFile();
    if (!QFileInfo::exists(path))
        return;
    QString error;
    const QStringList lines = TextFile::readLines(path, &error);
    if (!error.isEmpty()) {
        m_departmentsLoaded = false;
        m_services.dialogs->error(
            this, tr("%1\n\nThe built-in project list is shown; the file will not be replaced when the "
                     "program closes.")
                      .arg(error));
        return;
    }
    setDepartmentLines(lines);
}

QString TProjects::CurrentProjectName() const
{
    const int row = selectedRow(Department);
    if (row >= 0)
        return ProjectNames::TrimBlanks(Department->item(row)->text());
    if (Department->count() > 0)
        return Department->item(0)->text();
    return {};
}

QString TProjects::ProjectFolder() const
{
    const QString name = CurrentProjectName();
    if (!m_dataFolder || ProjectNames::TrimBlanks(name).isEmpty()
        || !ProjectNames::NameProblem(ProjectNames::TrimBlanks(name)).isEmpty())
        return {};
    return m_dataFolder->ProjectsDir + name + QLatin1Char('/');
}

void TProjects::SectionEntered()
{
    Projects_Label->setText(tr("Projects"));
}

void TProjects::reportErrors(const QStringList &errors)
{
    if (errors.isEmpty() || m_reporting)
        return;
    // The box takes the focus from an editor, which would save again.
    m_reporting = true;
    m_services.dialogs->error(this, errors.join(QStringLiteral("\n\n")));
    m_reporting = false;
}

// ---- pages ----------------------------------------------------------------

bool TProjects::LoadPage(PageEditor *editor, QString *error)
{
    const QString path = ProjectPages::PageFile(m_dataFolder->ProjectsDir, editor->OwnerName, editor->EditorName());
    QString text;
    const bool ok = ProjectPages::LoadPageText(path, &text, error);
    editor->LoadFailed = !ok;
    editor->setReadOnly(!ok);
    editor->setPageText(text);
    editor->document()->setModified(false);
    return ok;
}

bool TProjects::SavePage(PageEditor *editor, QString *error)
{
    if (!m_dataFolder || editor->LoadFailed)
        return true;
    const QString folder = ProjectPages::OwnerFolder(m_dataFolder->ProjectsDir, editor->OwnerName);
    const QString path = ProjectPages::PageFile(m_dataFolder->ProjectsDir, editor->OwnerName, editor->EditorName());
    const WriteResult written = ProjectPages::SavePageText(folder, path, editor->pageText());
    if (!written) {
        if (error)
            *error = written.error;
        return false;
    }
    return true;
}

void TProjects::BuildSummary(PageEditor *editor, QString *error)
{
    editor->OwnerName = ProjectNames::SummaryName;
    const QString text = ProjectPages::BuildSummaryText(departmentLines(), m_dataFolder->ProjectsDir,
                                                        editor->EditorName(), &m_pageCache);
    editor->LoadFailed = false;
    editor->setReadOnly(false);
    editor->setPageText(text, true);
    const WriteResult written = m_pageCache.saveText(
        m_dataFolder->SummaryDir, m_dataFolder->SummaryDir + editor->EditorName() + QStringLiteral(".txt"), text);
    if (!written && error)
        *error = written.error;
}

bool TProjects::SwitchPage(PageEditor *editor, QString *error)
{
    if (!SavePage(editor, error))
        return false; // the text stays with its owner
    editor->OwnerName = CurrentProjectName();
    bool ok = true;
    if (editor->OwnerName == ProjectNames::SummaryName) {
        QString summaryError;
        BuildSummary(editor, &summaryError);
        if (!summaryError.isEmpty()) {
            ok = false;
            if (error)
                *error = summaryError;
        }
    } else {
        ok = LoadPage(editor, error);
    }
    const QString folder = ProjectPages::OwnerFolder(m_dataFolder->ProjectsDir, editor->OwnerName);
    if (!QFileInfo(folder).isDir())
        QDir(m_dataFolder->ProjectsDir).mkdir(editor->OwnerName);
    return ok;
}

void TProjects::LoadStartPages(TDir *dataFolder)
{
    m_dataFolder = dataFolder;
    // Every editor starts on the pages of the projects folder itself, so
    // that the first switch writes back what was there, not empty pages.
    QStringList errors;
    for (PageEditor *editor : pgProject->pageEditors()) {
        editor->OwnerName.clear();
        QString error;
        if (!LoadPage(editor, &error))
            errors.append(error);
    }
    reportErrors(errors);
}

// ---- handlers -------------------------------------------------------------

void TProjects::DepartmentClick()
{
    if (!m_dataFolder)
        return;
    const QString name = CurrentProjectName();
    if (name.isEmpty())
        return;
    const QString problem = ProjectNames::NameProblem(name);
    if (!problem.isEmpty()) {
        reportErrors({problem});
        return;
    }
    // Every page goes back to its owner first; when one cannot be written,
    // nothing is switched and no typed text is lost.
    QStringList errors;
    const QList<PageEditor *> editors = pgProject->pageEditors();
    for (PageEditor *editor : editors) {
        QString error;
        if (!SavePage(editor, &error))
            errors.append(error);
    }
    if (!errors.isEmpty()) {
        errors.append(tr("The pages still show \"%1\"; the project \"%2\" was not opened.")
                          .arg(editors.first()->OwnerName, name));
        reportErrors(errors);
        return;
    }

    Projects_Label->setText(name);
    pgProject->SetHeadings(name);
    Folder_Label->setText(QStringLiteral("Documents\\%1\\").arg(name));
    for (PageEditor *editor : editors) {
        QString error;
        if (!SwitchPage(editor, &error))
            errors.append(error);
    }
    reportErrors(errors);

    Q_EMIT ledgerSwitchRequested(name);
    Q_EMIT documentsSwitchRequested(name);
    if (pgProject->currentIndex() == TProjectNotebook::TimeTab)
        Q_EMIT trackerBindRequested(ProjectFolder(), m_services.clock->nowDayNumber());
}

void TProjects::ProjectsExit(PageEditor *editor)
{
    // A window that is being hidden or torn down has saved at close.
    if (!m_dataFolder || m_reporting || !window()->isVisible() || selectedRow(Department) == 0)
        return;
    editor->ensureFilled();
    const QString text = editor->toPlainText();
    const QString trimmed = ProjectPages::TrimPageText(text);
    if (trimmed != text && !editor->isReadOnly()) {
        // Keeps the undo history: the trim is one more step to undo.
        QTextCursor cursor(editor->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(trimmed);
    }
    QString error;
    if (!SavePage(editor, &error))
        reportErrors({error});
}

void TProjects::btnEditClick()
{
    if (!m_dataFolder)
        return;
    // The dialog starts from the list on screen, so that a project deleted
    // since the file was last written does not come back.
    TfrmProjCat dialog(departmentLines(), DepartmentsFile(), m_services.dialogs, window());
    if (dialog.exec() == QDialog::Accepted) {
        QString error;
        const QStringList lines = TextFile::readLines(DepartmentsFile(), &error);
        if (error.isEmpty()) {
            setDepartmentLines(lines);
            m_departmentsLoaded = true;
        } else {
            reportErrors({error});
        }
    }
    selectNoLine();
}

void TProjects::btnRefreshClick()
{
    const int row = selectedRow(Department);
    if (!m_dataFolder || row < 0)
        return;
    const QString name = ProjectNames::TrimBlanks(Department->item(row)->text());
    if (name.isEmpty())
        return;
    const QString problem = ProjectNames::NameProblem(name);
    if (!problem.isEmpty()) {
        reportErrors({problem});
        return;
    }
    if (!m_services.dialogs->okCancel(
            this, QStringLiteral("Are you sure you want to delete this project? All project data will be deleted. ")))
        return;
    QString error;
    if (!ProjectPages::DeleteProjectFolder(*m_dataFolder, m_dataFolder->ProjectsDir + name + QLatin1Char('/'), &error))
        reportErrors({error});
    m_changingByProgram = true;
    delete Department->takeItem(row);
    Department->clearSelection();
    Department->setCurrentRow(-1);
    pgProject->setCurrentIndex(TProjectNotebook::ToDoTab);
    m_changingByProgram = false;
    showCommandsFor(TProjectNotebook::ToDoTab);
}

void TProjects::Clear_LabelClick()
{
    PageEditor *editor = pgProject->ActivePageEditor();
    if (!editor || editor->isReadOnly())
        return;
    editor->ensureFilled();
    if (m_services.dialogs->yesNo(this, QStringLiteral("Clear all text?"))) {
        QTextCursor cursor(editor->document());
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
    }
}

void TProjects::print_buttonClick()
{
    PageEditor *editor = pgProject->ActivePageEditor();
    if (!editor)
        return;
    editor->ensureFilled();
    PrintPages(m_services, window(), Projects_Label->text(), DisplayedLines(editor), editor->font(),
               PageLayoutInches{0.25f, 0.5f, 0.75f, 1.0f, 6.0f});
}

void TProjects::showCommandsFor(int tab)
{
    const bool show = tab != TProjectNotebook::TimeTab && tab != TProjectNotebook::OtherTab
                      && tab != TProjectNotebook::DocumentsTab;
    Clear_Label->setVisible(show);
    print_button->setVisible(show);
}

void TProjects::pgProjectChange(int index)
{
    showCommandsFor(index);
    if (pgProject->tabText(index) == QLatin1String("Time")) {
        const QString folder = ProjectFolder();
        if (!folder.isEmpty())
            Q_EMIT trackerBindRequested(folder, m_services.clock->nowDayNumber());
    }
}

// ---- close ----------------------------------------------------------------

bool TProjects::SaveAtClose(QString *error)
{
    if (!m_dataFolder)
        return true;
    QStringList errors;
    if (m_departmentsLoaded) {
        const WriteResult written = TextFile::writeLines(DepartmentsFile(), departmentLines());
        if (!written)
            errors.append(written.error);
    }
    for (PageEditor *editor : pgProject->pageEditors()) {
        QString pageError;
        if (!SavePage(editor, &pageError))
            errors.append(pageError);
    }
    if (!errors.isEmpty() && error)
        *error = errors.join(QStringLiteral("\n\n"));
    return errors.isEmpty();
}
