#include "ui/app/screenshottour.h"

#include "core/datafolder/datafolder.h"
#include "ui/projects/projectssection.h"
#include "ui/app/mainwindow.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QPixmap>
#include <QBuffer>
#include <QSaveFile>

namespace {

// Lets a section that was just chosen finish: its layout requests, the
// window system's answer to the window's size, and its first paint. Waits
// until the window is shown, and a little longer for what it posts itself.
void settle(QWidget *window)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    } while ((!window->isVisible() && clock.elapsed() < 3000) || clock.elapsed() < 250);
}

// The first project line whose folder holds data files.
int projectInUse(const MainWindow *window)
{
    const QStringList lines = window->projectsSection()->departmentLines();
    for (int row = 0; row < lines.size(); ++row) {
        const QString name = lines.at(row).trimmed();
        if (name.isEmpty())
            continue;
        const QString folder = window->dataFolder()->projectsDir() + name;
        if (QFileInfo(folder).isDir() && !QDir(folder).entryList(QDir::Files).isEmpty())
            return row;
    }
    return -1;
}

// The first topic with a file of its own.
int topicInUse(TopicWorkspace *workspace)
{
    const TopicStore &store = workspace->store();
    for (int row = 0; row < store.topics().size(); ++row) {
        for (const TopicEditor &editor : store.setup().editors) {
            if (QFileInfo(store.topicFileName(store.topics().at(row), editor.name)).isFile())
                return row;
        }
    }
    return -1;
}

} // namespace

ScreenshotTour::ScreenshotTour(MainWindow *window, const QString &folder, QSize windowSize)
    : m_window(window)
    , m_folder(folder)
    , m_windowSize(windowSize)
{
}

QStringList ScreenshotTour::fileNames()
{
    return {QStringLiteral("calendar.png"), QStringLiteral("projects.png"),
            QStringLiteral("lists.png"), QStringLiteral("decisions.png")};
}

void ScreenshotTour::showInUse(int section)
{
    // What a user of the data folder would have open: a project with its
    // pages, a list, a decision. A data folder without any shows the
    // sections as they start.
    if (section == 1) {
        const int row = projectInUse(m_window);
        if (row >= 0)
            m_window->projectsSection()->selectProjectRow(row);
    } else if (section == 2 || section == 3) {
        TopicWorkspace *workspace = section == 2 ? static_cast<TopicWorkspace *>(m_window->listsWorkspace())
                                                 : static_cast<TopicWorkspace *>(m_window->decisionsWorkspace());
        const int row = workspace ? topicInUse(workspace) : -1;
        if (row >= 0)
            workspace->selectTopicRow(row);
    }
}

Result ScreenshotTour::run()
{
    m_written.clear();
    if (!QDir().mkpath(m_folder))
        return Result::failure(QObject::tr("Cannot create the folder %1.").arg(QDir::toNativeSeparators(m_folder)));
    if (!m_window->started())
        m_window->runStartup();
    // The start-up step maximises the window; pictures of one known size
    // compare better from run to run.
    m_window->showNormal();
    m_window->resize(m_windowSize);
    settle(m_window);

    // The sections, in the order of their buttons.
    const QList<void (MainWindow::*)()> sections = {&MainWindow::showCalendar, &MainWindow::showProjects,
                                                    &MainWindow::showLists, &MainWindow::showDecisions};
    const QStringList names = fileNames();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        (m_window->*sections.at(i))();
        showInUse(static_cast<int>(i));
        settle(m_window);
        const QPixmap picture = m_window->grab();
        const QString path = QDir(m_folder).filePath(names.at(i));
        // Encoded in memory and written in one unbuffered write, so that a
        // full disk is reported instead of leaving a short picture behind.
        QByteArray png;
        QBuffer buffer(&png);
        QSaveFile file(path);
        if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")
            || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(png) != png.size()
            || !file.commit()) {
            return Result::failure(QObject::tr("Cannot write the picture %1: %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString()));
        }
        m_written << path;
    }
    m_window->showCalendar();
    return Result::success();
}
