#pragma once

#include "ui/platform/services.h"
#include "core/tracker/sleepreport.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class IPrintTarget;
class QPushButton;
class QTextDocument;
class QWidget;

// The tracker's report actions: writing "DedoDurid.html" into the build
// folder, showing it with the desktop's opener and printing it through the
// printing service without page header or footer: on the current printer
// without a prompt, or, when there is none, into a PDF file the user
// agreed to and chose.
class SleepReportWindow : public QObject
{
    Q_OBJECT
public:
    // What the report describes: the bound project's folder, its month
    // folder name (Y2024M5) and the month's short name (May).
    struct Source
    {
        QString trackedFolder;
        QString monthKey;
        QString monthText;
    };

    SleepReportWindow(const QString &buildDir, const Services &services, QWidget *owner);
    ~SleepReportWindow() override;

    // The report from the month folder's "time.txt"; without that file
    // nothing is written. A failed write is returned, not shown.
    SleepReport::Result writeSleepReport(const Source &source);
    // Writes the report and opens it.
    void showReport(const Source &source);
    // Prints the report: load it, wait, print it, wait, release it. The
    // waits run on timers, so the window answers meanwhile.
    void printSleepReport();

    QString reportPath() const;
    bool isPrinting() const { return m_document != nullptr; }

    // The two waits of the print job, in milliseconds.
    int loadWait = 3000;
    int closeWait = 2000;

    // Puts "Show Report" and "Print Report" on the parent at a place; the
    // source is asked for when "Show Report" is pressed.
    void addButtons(QWidget *parent, int x, int y, std::function<Source()> source);

Q_SIGNALS:
    // The report was handed to the desktop's opener; the text says where
    // the file is.
    void reportOpened(const QString &where);
    // The print job has ended; ok is false when nothing was printed.
    void printFinished(bool ok);

private:
    void printLoaded();
    void finishPrint(bool ok);
    void showError(const QString &text);

    // The show and print buttons, made by addButtons.
    QPushButton *m_showButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QString m_buildDir;
    Services m_services;
    QPointer<QWidget> m_owner;
    QTextDocument *m_document = nullptr;
    // Where the job in progress prints, and the PDF file it writes when
    // there is no printer.
    std::unique_ptr<IPrintTarget> m_target;
    QString m_pdfPath;
    bool m_printed = false;
};
