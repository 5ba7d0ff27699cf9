#include "ui/tracker/sleepreportwindow.h"

#include "core/common/dateformat.h"
#include "core/common/textfile.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "core/platform/shell.h"
#include "core/printing/printtarget.h"
#include "ui/printing/pageprintjob.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <memory>

SleepReportWindow::SleepReportWindow(const QString &buildDir, const Services &services, QWidget *owner)
    : QObject(owner), m_buildDir(buildDir), m_services(services), m_owner(owner)
{
}

SleepReportWindow::~SleepReportWindow()
{
    if (m_document) {
        delete m_document;
        QApplication::restoreOverrideCursor();
    }
}

QString SleepReportWindow::reportPath() const
{
    return m_buildDir + SleepReport::fileName();
}

SleepReport::Result SleepReportWindow::writeSleepReport(const Source &source)
{
    if (source.trackedFolder.isEmpty() || m_buildDir.isEmpty())
        return {};
    const QDateTime now = m_services.clock->now();
    return SleepReport::writeReport(source.trackedFolder + source.monthKey + QStringLiteral("/time.txt"),
                              reportPath(), source.monthText,
                              formatDateTime(QStringLiteral("ddddd"), now));
}

void SleepReportWindow::showReport(const Source &source)
{
    const SleepReport::Result result = writeSleepReport(source);
    if (!result.write.ok) {
        showError(result.write.error);
        return;
    }
    if (!QFileInfo::exists(reportPath())) {
        showError(tr("There is no sleep report yet. It is written when the month folder \"%1\" "
                     "holds a readings file \"time.txt\".")
                      .arg(QDir::toNativeSeparators(source.trackedFolder + source.monthKey)));
        return;
    }
    const QString where = QDir::toNativeSeparators(reportPath());
    if (!m_services.shell->openPath(reportPath())) {
        showError(tr("No program could open the sleep report. It is saved as \"%1\"; open that file "
                     "with a web browser.")
                      .arg(where));
        return;
    }
    // The desktop may still find no browser without telling: say where
    // the page is all the same.
    Q_EMIT reportOpened(tr("Sleep report: %1").arg(where));
}

void SleepReportWindow::printSleepReport()
{
    if (m_document)
        return; // one print job at a time
    if (!QFileInfo::exists(reportPath())) {
        showError(tr("There is no sleep report to print yet (\"%1\").")
                      .arg(QDir::toNativeSeparators(reportPath())));
        Q_EMIT printFinished(false);
        return;
    }
    const Expected<QByteArray> read = TextFile::readBytes(reportPath());
    const QByteArray &html = read.value;
    if (!read) {
        showError(read.error);
        Q_EMIT printFinished(false);
        return;
    }
    m_pdfPath.clear();
    m_target = choosePrintTarget(m_services, m_owner, QStringLiteral("DedoDurid.pdf"), &m_pdfPath);
    if (!m_target) {
        Q_EMIT printFinished(false);
        return;
    }
    // The page carries no header or footer: the document is printed with
    // its own page size, which leaves out the page numbers.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_document = new QTextDocument;
    m_document->setBaseUrl(QUrl::fromLocalFile(m_buildDir));
    m_document->setHtml(TextFile::decode(html));
    m_printed = false;
    QTimer::singleShot(loadWait, this, &SleepReportWindow::printLoaded);
}

void SleepReportWindow::printLoaded()
{
    if (!m_document)
        return;
    m_printed = m_target && printDocument(*m_target, m_document);
    m_target.reset();
    if (!m_printed)
        showError(tr("The sleep report could not be printed."));
    else if (!m_pdfPath.isEmpty())
        m_services.dialogs->message(m_owner, tr("No printer is installed. The sleep report was "
                                                "saved as \"%1\".")
                                                 .arg(QDir::toNativeSeparators(m_pdfPath)));
    QTimer::singleShot(closeWait, this, [this] { finishPrint(m_printed); });
}

void SleepReportWindow::finishPrint(bool ok)
{
    delete m_document;
    m_document = nullptr;
    QApplication::restoreOverrideCursor();
    Q_EMIT printFinished(ok);
}

void SleepReportWindow::showError(const QString &text)
{
    m_services.dialogs->error(m_owner, text);
}

void SleepReportWindow::addButtons(QWidget *parent, int x, int y, std::function<Source()> source)
{
    m_showButton = new QPushButton(tr("Show Report"), parent);
    m_showButton->setObjectName(QStringLiteral("SpeedButton7"));
    m_showButton->setAccessibleName(tr("Show sleep report"));
    m_showButton->setGeometry(x, y, 110, 28);
    m_printButton = new QPushButton(tr("Print Report"), parent);
    m_printButton->setObjectName(QStringLiteral("SpeedButton5"));
    m_printButton->setAccessibleName(tr("Print sleep report"));
    m_printButton->setGeometry(x + 118, y, 110, 28);
    connect(m_showButton, &QPushButton::clicked, this,
            [this, source] { showReport(source()); });
    connect(m_printButton, &QPushButton::clicked, this, &SleepReportWindow::printSleepReport);
}
