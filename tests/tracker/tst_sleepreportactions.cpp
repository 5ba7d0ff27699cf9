#include "fakes.h"
#include "recordingprinter.h"
#include "ui/printing/qtprinting.h"
#include "ui/tracker/sleepreportwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// Showing and printing the sleep report: which file, in which order, and
// that the window keeps answering while the print job waits.
class TestSleepReportActions : public QObject
{
    Q_OBJECT

private:
    static void put(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void writeUsesTheBoundMonth();
    void showWritesAndOpensTheReport();
    void showWithoutReadingsExplains();
    void printGoesToTheCurrentPrinterWithoutBlocking();
    void printWithoutReportExplains();
    void printWithoutPrinterSavesAPdf();
};

void TestSleepReportActions::writeUsesTheBoundMonth()
{
    QTemporaryDir dir;
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 5, 7), QTime(8, 0)));
    QWidget owner;
    const QString build = dir.filePath(QStringLiteral("Build/"));
    QDir().mkpath(build);
    SleepReportWindow report(build, fakes.services(), &owner);
    const QString project = dir.filePath(QStringLiteral("Projects/Baby/"));
    put(project + QStringLiteral("Y2024M5/time.txt"), "Mon=98.2\r\n");
    const SleepReport::Result r =
        report.writeSleepReport({project, QStringLiteral("Y2024M5"), QStringLiteral("May")});
    QVERIFY(r.written);
    QFile html(build + QStringLiteral("DedoDurid.html"));
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray text = html.readAll();
    QVERIFY(text.contains("<u>May Sleep Body Temperature (BBT) </u></h2>"));
    QVERIFY(text.contains("Mon&nbsp;&nbsp;=&nbsp;98.2 &deg; F"));
    const QString created = QLocale().toString(QDate(2024, 5, 7), QLocale::ShortFormat);
    QVERIFY(text.contains("<div > .: created: " + created.toUtf8() + "</div><br>"));

    // Another month without readings leaves the report as it was.
    QVERIFY(!report.writeSleepReport({project, QStringLiteral("Y2024M6"), QStringLiteral("Jun")})
                 .written);
    QVERIFY(QFile::exists(build + QStringLiteral("DedoDurid.html")));
    // An unbound tracker writes nothing.
    QVERIFY(!report.writeSleepReport({}).written);
}

void TestSleepReportActions::showWritesAndOpensTheReport()
{
    QTemporaryDir dir;
    FakeServices fakes;
    QWidget owner;
    const QString build = dir.filePath(QStringLiteral("Build/"));
    QDir().mkpath(build);
    SleepReportWindow report(build, fakes.services(), &owner);
    const QString project = dir.filePath(QStringLiteral("P/"));
    put(project + QStringLiteral("Y2024M1/time.txt"), "a=1.5\r\n");
    report.addButtons(&owner, 0, 0, [project] {
        return SleepReportWindow::Source{project, QStringLiteral("Y2024M1"), QStringLiteral("Jan")};
    });
    auto *show = owner.findChild<QPushButton *>(QStringLiteral("SpeedButton7"));
    QVERIFY(show);
    show->click();
    QCOMPARE(fakes.shell.opened, QStringList{build + QStringLiteral("DedoDurid.html")});
    QVERIFY(QFile::exists(build + QStringLiteral("DedoDurid.html")));
    QVERIFY(fakes.dialogs.errors.isEmpty());
}

void TestSleepReportActions::showWithoutReadingsExplains()
{
    QTemporaryDir dir;
    FakeServices fakes;
    QWidget owner;
    SleepReportWindow report(dir.filePath(QStringLiteral("Build/")), fakes.services(), &owner);
    report.showReport({dir.filePath(QStringLiteral("P/")), QStringLiteral("Y2024M1"),
                              QStringLiteral("Jan")});
    QVERIFY(fakes.shell.opened.isEmpty());
    QCOMPARE(fakes.dialogs.errors.size(), 1);
    QVERIFY(fakes.dialogs.errors.first().contains(QStringLiteral("time.txt")));
}

void TestSleepReportActions::printGoesToTheCurrentPrinterWithoutBlocking()
{
    QTemporaryDir dir;
    FakeServices fakes;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(pdf);
    QtPrinting printing(&printer, &fakes.dialogs);
    Services services = fakes.services();
    services.printing = &printing;
    QWidget owner;
    const QString build = dir.filePath(QStringLiteral("Build/"));
    put(build + QStringLiteral("DedoDurid.html"),
        "<html><body><table><tr><td>a&nbsp;&nbsp;=&nbsp;97.1 &deg; F</td></tr></table>"
        "</body></html>\r\n");
    SleepReportWindow report(build, services, &owner);
    report.loadWait = 50;
    report.closeWait = 50;
    QSignalSpy done(&report, &SleepReportWindow::printFinished);

    report.printSleepReport();
    // The job waits on timers: nothing is printed yet, the call returned,
    // the busy cursor shows, and a second request is ignored.
    QVERIFY(report.isPrinting());
    QVERIFY(QApplication::overrideCursor());
    QVERIFY(!QFile::exists(pdf));
    report.printSleepReport();
    QTRY_COMPARE(done.count(), 1);
    QCOMPARE(done.first().first().toBool(), true);
    QVERIFY(!report.isPrinting());
    QVERIFY(!QApplication::overrideCursor());
    QFile out(pdf);
    QVERIFY(out.open(QIODevice::ReadOnly));
    QVERIFY(out.readAll().startsWith("%PDF"));
    QVERIFY(fakes.dialogs.errors.isEmpty() && fakes.dialogs.messages.isEmpty());
    QVERIFY(fakes.dialogs.printerSetups == 0); // no prompt
}

void TestSleepReportActions::printWithoutReportExplains()
{
    QTemporaryDir dir;
    FakeServices fakes;
    QWidget owner;
    SleepReportWindow report(dir.filePath(QStringLiteral("Build/")), fakes.services(), &owner);
    QSignalSpy done(&report, &SleepReportWindow::printFinished);
    report.printSleepReport();
    QCOMPARE(done.count(), 1);
    QCOMPARE(fakes.dialogs.errors.size(), 1);
    QVERIFY(fakes.dialogs.errors.first().contains(QStringLiteral("DedoDurid.html")));
    QVERIFY(!QApplication::overrideCursor());
}

void TestSleepReportActions::printWithoutPrinterSavesAPdf()
{
    QTemporaryDir dir;
    FakeServices fakes;
    QWidget owner;
    const QString build = dir.filePath(QStringLiteral("Build/"));
    put(build + QStringLiteral("DedoDurid.html"), "<html><body>x</body></html>\r\n");
    // No printer: the user agrees to a PDF file and names it.
    FakePrinting printing;
    printing.printerInstalled = false;
    printing.pdfAnswer = build + QStringLiteral("DedoDurid.pdf");
    fakes.dialogs.answers.enqueue(true);
    Services services = fakes.services();
    services.printing = &printing;
    SleepReportWindow report(build, services, &owner);
    report.loadWait = 0;
    report.closeWait = 0;
    QSignalSpy done(&report, &SleepReportWindow::printFinished);
    report.printSleepReport();
    QTRY_COMPARE(done.count(), 1);
    QVERIFY(QFile::exists(build + QStringLiteral("DedoDurid.pdf")));
    QCOMPARE(fakes.dialogs.messages.size(), 1);
    QVERIFY(fakes.dialogs.messages.first().contains(QStringLiteral("DedoDurid.pdf")));
}

QTEST_MAIN(TestSleepReportActions)
#include "tst_sleepreportactions.moc"
