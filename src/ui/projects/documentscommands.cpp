#include "ui/projects/documentscommands.h"

#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "core/datafolder/datafolder.h"
#include "ui/projects/pageeditor.h"
#include "core/projects/documents.h"
#include "ui/projects/documentsbrowser.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"

#include "ui/platform/dialogs.h"
#include "core/platform/shell.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTextBlock>
#include <QToolButton>

DocumentsCommands::DocumentsCommands(ProjectsSection *projects, DataFolder *dataFolder, const Services &services)
    : QObject(projects)
    , m_projects(projects)
    , m_dataFolder(dataFolder)
    , m_services(services)
{
    ProjectNotebook *notebook = projects->pgProject;
    m_files = new DocumentsBrowser(dataFolder, services, notebook->filesHost);
    if (!notebook->filesHost->layout())
        new QVBoxLayout(notebook->filesHost);
    notebook->filesHost->layout()->addWidget(m_files);
    connect(projects, &ProjectsSection::documentsSwitchRequested, m_files, &DocumentsBrowser::switchTo);

    // Bottom bar: the folder picture before "Documents", "Data Files" at the right.
    auto *bar = qobject_cast<QBoxLayout *>(projects->Panel9->layout());
    Image3 = new PictureButton(QStringLiteral(":/icons/folder_open.svg"), tr("Open Data Folder"),
                               projects->Panel9);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setToolTip(tr("Open Data Folder"));
    Image3->setIconSize(QSize(18, 22));
    connect(Image3, &QToolButton::clicked, this, &DocumentsCommands::folderCreateClick);
    dataLabel = new QLabel(tr("Data Files"), projects->Panel9);
    dataLabel->setObjectName(QStringLiteral("Data_label"));
    QFont underlined = pixelFont(QStringLiteral("Arial"), 12);
    underlined.setUnderline(true);
    dataLabel->setFont(underlined);
    for (QLabel *label : {projects->folderLabel, dataLabel}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        // Reached with Tab and opened with Enter or Space, like a link.
        label->setFocusPolicy(Qt::StrongFocus);
        label->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px dotted palette(text); }"));
    }
    dataLabel->setAccessibleName(tr("Data Files"));
    dataLabel->setAccessibleDescription(tr("Opens the project's data folder"));
    projects->folderLabel->setAccessibleDescription(tr("Opens the project's documents folder"));
    dataLabel->setToolTip(tr("Open the project's data folder"));
    projects->folderLabel->setToolTip(tr("Open the project's documents folder"));
    if (bar) {
        const int at = bar->indexOf(projects->folderLabel);
        bar->insertWidget(at < 0 ? bar->count() : at, Image3);
        bar->addWidget(dataLabel);
    }

    // Links page: "Open Link" in its header and double-click on a line.
    SpeedButton1 = new QToolButton(notebook->linksHeader);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(tr("Open Link"));
    SpeedButton1->setToolTip(tr("Open the link on the line with the cursor"));
    SpeedButton1->adjustSize();
    SpeedButton1->move(600, 36);
    connect(SpeedButton1, &QToolButton::clicked, this, &DocumentsCommands::SpeedButton1Click);
    notebook->Links->viewport()->installEventFilter(this);
}

bool DocumentsCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_projects->folderLabel)
            folderLabelClick();
        else if (watched == dataLabel)
            dataLabelClick();
    } else if (event->type() == QEvent::KeyPress
               && (watched == m_projects->folderLabel || watched == dataLabel)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            if (watched == dataLabel)
                dataLabelClick();
            else
                folderLabelClick();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick
               && watched == m_projects->pgProject->Links->viewport()) {
        // Let the editor place the caret on the clicked line first.
        QObject::eventFilter(watched, event);
        auto *links = m_projects->pgProject->Links;
        links->setTextCursor(links->cursorForPosition(static_cast<QMouseEvent *>(event)->position().toPoint()));
        linksDblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void DocumentsCommands::folderLabelClick()
{
    m_files->OpenThisFolder1Click();
}

void DocumentsCommands::folderCreateClick()
{
    m_files->OpenThisFolder1Click();
}

void DocumentsCommands::dataLabelClick()
{
    const QString folder = m_projects->ProjectFolder();
    m_dataFolder->OpenFolder(folder.isEmpty() ? m_dataFolder->ProjectsDir : folder);
}

void DocumentsCommands::linksDblClick()
{
    openLinkAtCaret();
}

void DocumentsCommands::SpeedButton1Click()
{
    openLinkAtCaret();
}

void DocumentsCommands::openLinkAtCaret()
{
    auto *links = m_projects->pgProject->Links;
    const QString link = links->textCursor().block().text().trimmed();
    if (link.isEmpty())
        return;
    // A line naming a file on this computer that is not there says so,
    // rather than leaving the desktop to do nothing.
    const QUrl url(link);
    const bool hasScheme = url.isValid() && url.scheme().size() > 1;
    QString localPath;
    if (url.isLocalFile())
        localPath = url.toLocalFile();
    else if (!hasScheme && (link.startsWith(QLatin1Char('/')) || link.startsWith(QLatin1String("~/"))))
        localPath = link.startsWith(QLatin1Char('~')) ? QDir::homePath() + link.mid(1) : link;
    if (!localPath.isEmpty() && !QFileInfo::exists(localPath)) {
        m_services.dialogs->error(m_projects->window(),
                                  tr("The link \"%1\" could not be opened: the file \"%2\" does not exist.")
                                      .arg(link, localPath));
        return;
    }
    if (!m_services.shell || !m_services.shell->openPath(localPath.isEmpty() ? link : localPath))
        m_services.dialogs->error(m_projects->window(),
                                  tr("The link \"%1\" could not be opened: the desktop found no program "
                                     "to open it, or it is not a web address or a file.")
                                      .arg(link));
}
