#pragma once

#include "core/common/result.h"

#include <QSize>
#include <QString>
#include <QStringList>

class MainWindow;

// Pictures of the main window for the README and the software centres:
// runs the start-up step at once, shows each section in turn at a fixed
// window size, with the first project, list and decision that hold data
// open, waits until it is built and shown, and writes one PNG per section
// into a folder.
class ScreenshotTour
{
public:
    ScreenshotTour(MainWindow *window, const QString &folder, QSize windowSize = QSize(1180, 720));

    // The file names, in the order the sections are shown.
    static QStringList fileNames();

    // Writes the pictures; on failure a message naming the file. The
    // window stays open: the caller decides when to close.
    Result run();

    QStringList written() const { return m_written; }

private:
    void showInUse(int section);

    MainWindow *m_window;
    QString m_folder;
    QSize m_windowSize;
    QStringList m_written;
};
