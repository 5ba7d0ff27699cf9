#include "ui/projects/documentscommands.h"

#include "core/datafolder/datafolder.h"
#include "ui/projects/documentsbrowser.h"

#include "ui/platform/dialogs.h"
#include "core/platform/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

DocumentsCommands::DocumentsCommands(DataFolder *dataFolder, const Services &services, QWidget *section)
    : QObject(section)
    , m_section(section)
    , m_dataFolder(dataFolder)
    , m_services(services)
    , m_files(new DocumentsBrowser(dataFolder, services, section))
{
}

void DocumentsCommands::openDocumentsFolder()
{
    m_files->openShownFolder();
}

void DocumentsCommands::openDataFolder(const QString &projectFolder)
{
    m_dataFolder->openFolder(projectFolder.isEmpty() ? m_dataFolder->projectsDir() : projectFolder);
}

void DocumentsCommands::openLink(const QString &link)
{
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
        m_services.dialogs->error(m_section->window(),
                                  tr("The link \"%1\" could not be opened: the file \"%2\" does not exist.")
                                      .arg(link, localPath));
        return;
    }
    if (!m_services.shell->openPath(localPath.isEmpty() ? link : localPath))
        m_services.dialogs->error(m_section->window(),
                                  tr("The link \"%1\" could not be opened: the desktop found no program "
                                     "to open it, or it is not a web address or a file.")
                                      .arg(link));
}
