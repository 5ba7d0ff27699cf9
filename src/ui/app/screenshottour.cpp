#include "screenshottour.h"

#include "tform1.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSaveFile>
#include <QToolButton>

ScreenshotTour::ScreenshotTour(TForm1 *form, const QString &folder, QSize windowSize)
    : m_form(form)
    , m_folder(folder)
    , m_windowSize(windowSize)
{
}

QStringList ScreenshotTour::fileNames()
{
    return {QStringLiteral("calendar.png"), QStringLiteral("projects.png"),
            QStringLiteral("lists.png"), QStringLiteral("decisions.png")};
}

bool ScreenshotTour::run(QString *error)
{
    m_written.clear();
    if (!QDir().mkpath(m_folder)) {
        *error = QObject::tr("Cannot create the folder %1.").arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    if (!m_form->started())
        m_form->Timer1Timer();
    // The start-up step maximises the window; pictures of one known size
    // compare better from run to run.
    m_form->showNormal();
    m_form->resize(m_windowSize);

    // The section buttons, pressed as a user would.
    const QList<QToolButton *> sections = {m_form->Image1, m_form->Image2, m_form->btnGoals,
                                               m_form->Image4};
    const QStringList names = fileNames();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        sections.at(i)->click();
        QApplication::processEvents();
        const QPixmap picture = m_form->grab();
        const QString path = QDir(m_folder).filePath(names.at(i));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
            *error = QObject::tr("Cannot write the picture %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        m_written << path;
    }
    sections.first()->click();
    return true;
}
