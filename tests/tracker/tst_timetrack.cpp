// The tracker form offscreen: binding to project folders, clicks, keys and
// the wheel on the sleep grid, what is drawn, the statistics and the charts,
// and the files left in the project folders.
#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/grid/stringgrid.h"
#include "core/tracker/sleeptrack.h"
#include "ui/tracker/sleepgridview.h"
#include "ui/tracker/timetracker.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedBarSeries>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QScrollBar>
#include <QMouseEvent>

#include <memory>

namespace {


QStringList yearFields(const QString &file, int dayRow)
{
    const QStringList lines = TextFile::readLines(file).value;
    return lines.value(dayRow).split(QLatin1Char(','));
}

} // namespace

class TestTimeTrack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_fakes = std::make_unique<FakeServices>();
        m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 15)));
        m_data = std::make_unique<DataFolder>(m_dir->path() + QLatin1Char('/'), &m_fakes->shell, m_fakes->clock);
        m_form = std::make_unique<TimeTracker>(m_data.get(), m_fakes->services());
        m_form->resize(900, 600);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup()
    {
        m_form.reset();
        m_data.reset();
        m_fakes.reset();
        m_dir.reset();
    }

    // A project that never used the tracker: an empty month, an empty
    // note, the bare year store, and nothing written into its folder.
    void neverUsedProjectWritesNothing()
    {
        const QString a = project("A");
        QVERIFY(!QDir(a).exists());
        m_form->loadDay(a, now());
        QVERIFY(QDir(a).exists());
        QVERIFY(QDir(a).isEmpty());
        QCOMPARE(m_form->sleepRecord.yearChart.cell(2, 0), QStringLiteral("Celsius"));
        QCOMPARE(m_form->sleepRecord.yearChart.cell(0, 128), QStringLiteral("May 7"));
        QCOMPARE(noteEdit(m_form.get())->toPlainText(), QString());
        for (int c = 1; c <= 33; ++c)
            QCOMPARE(m_form->dayHours(c), 0.0);
        QCOMPARE(dateLabel(m_form.get())->text(), QStringLiteral("May 7, 2024"));
        QCOMPARE(pageStack(m_form.get())->currentIndex(), 1);
        QCOMPARE(sleepLabel(m_form.get())->text(), QStringLiteral("."));
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
    }

    void clickTogglesAndSaves()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        QSignalSpy picked(m_form.get(), &TimeTracker::selectedDateChanged);
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        click(column, 3);

        QCOMPARE(m_form->sleepGrid.cell(column, 0), QStringLiteral("0.5"));
        QCOMPARE(sleepLabel(m_form.get())->text(), QStringLiteral("0.5 hours"));
        QCOMPARE(timeLabel(m_form.get())->text(), QStringLiteral("May 7, 2024 Time Total: "));
        QCOMPARE(dateLabel(m_form.get())->text(), QStringLiteral("Tuesday, May 7, 2024"));
        QCOMPARE(recentTotalsLabel(m_form.get())->text(), QStringLiteral("Last 7 days: 0.5 hours   30 days : 0.5 hours"));
        QCOMPARE(sleepChart(m_form.get())->toolTip(), QStringLiteral("9 pm - 9:30 pm"));
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.first().first().toDouble(), double(dayNumberOf(2024, 5, 7)));
        QVERIFY(QDir(a + "Y2024M5").exists());
        QStringList fields = yearFields(a + "2024-time.txt", 128);
        QCOMPARE(fields.value(1), QStringLiteral("\"May 7\""));
        QCOMPARE(fields.value(2), QStringLiteral("0.5"));
        QCOMPARE(fields.value(13), QStringLiteral("*"));

        click(column, 3);
        QCOMPARE(sleepLabel(m_form.get())->text(), QStringLiteral("0.0 hours"));
        fields = yearFields(a + "2024-time.txt", 128);
        QCOMPARE(fields.value(2), QStringLiteral("0.0"));
        QCOMPARE(fields.value(13), QString());
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
    }

    void hints_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hint");
        QTest::newRow("row 3") << 3 << "9 pm - 9:30 pm";
        QTest::newRow("row 48") << 48 << "7:30 pm - ";
        QTest::newRow("row 49") << 49 << " - ";
    }

    void hints()
    {
        QFETCH(int, row);
        QFETCH(QString, hint);
        m_form->loadDay(project("A"), now());
        m_form->toggleSleepSlot(columnOf(dayNumberOf(2024, 5, 2)), row);
        QCOMPARE(sleepChart(m_form.get())->toolTip(), hint);
        // The hint shows wherever the pointer rests on the grid.
        QWidget *viewport = sleepChart(m_form.get())->viewport();
        const QPoint at = cellCentre(columnOf(dayNumberOf(2024, 5, 20)), 30);
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &help);
        QTRY_COMPARE(QToolTip::text(), hint);
    }

    // A to B on the Time page: A's marks, totals and note stay in A's
    // folder, B shows none of them, and coming back shows them again.
    void switchingProjectsKeepsEachOwnData()
    {
        const QString a = project("A");
        const QString b = project("B");
        m_form->loadDay(a, now());
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        click(column, 10);
        click(column, 11);
        noteEdit(m_form.get())->setPlainText(QStringLiteral("Slept well"));

        m_form->loadDay(b, now());
        QCOMPARE(TextFile::readText(a + "Y2024M5D7-note.txt").value, QStringLiteral("Slept well"));
        QCOMPARE(yearFields(a + "2024-time.txt", 128).value(2), QStringLiteral("1.0"));
        QCOMPARE(noteEdit(m_form.get())->toPlainText(), QString());
        QCOMPARE(m_form->dayHours(column), 0.0);
        QCOMPARE(m_form->sleepGrid.cell(column, 0), QString());
        QCOMPARE(m_form->sleepRecord.yearChart.cell(2, 128), QString());
        QVERIFY(!QFile::exists(b + "2024-time.txt"));

        m_form->loadDay(a, now());
        QCOMPARE(m_form->dayHours(column), 1.0);
        QCOMPARE(m_form->sleepGrid.cell(column, 0), QStringLiteral("1.0"));
        QCOMPARE(noteEdit(m_form.get())->toPlainText(), QStringLiteral("Slept well"));
        // B got its files at the rebinding that left it, none of A's data.
        QCOMPARE(yearFields(b + "2024-time.txt", 128).value(2), QString());
        QCOMPARE(TextFile::readText(b + "Y2024M5D7-note.txt").value, QString());
    }

    void noteOfTheClickedDay()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        noteEdit(m_form.get())->setPlainText(QStringLiteral("Tuesday"));
        click(columnOf(dayNumberOf(2024, 5, 3)), 5);
        QCOMPARE(TextFile::readText(a + "Y2024M5D7-note.txt").value, QStringLiteral("Tuesday"));
        QCOMPARE(m_form->sleepRecord.noteFile(), a + "Y2024M5D3-note.txt");
        QCOMPARE(noteEdit(m_form.get())->toPlainText(), QString());
        // Leaving a day whose note was not touched writes nothing: no
        // empty note file is left in the project folder.
        click(columnOf(dayNumberOf(2024, 5, 4)), 5);
        QVERIFY(!QFile::exists(a + "Y2024M5D3-note.txt"));
        m_form->loadDay(project("B"), now());
        QCOMPARE(QDir(a).entryList({QStringLiteral("*-note.txt")}), QStringList{QStringLiteral("Y2024M5D7-note.txt")});
    }

    void laterDayMovesTheMonth()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        m_form->loadDay(a, dayNumberOf(2024, 6, 3) + 0.5);
        QCOMPARE(m_form->columnDate(1), dayNumberOf(2024, 5, 31));
        QCOMPARE(m_form->columnDate(31), dayNumberOf(2024, 6, 30));
        QCOMPARE(m_form->dateGrid.cell(0, 2), QStringLiteral("31"));
        QCOMPARE(m_form->sleepRecord.monthKey(), QStringLiteral("Y2024M6"));
    }

    // Arrow keys toggle every slot they land on; Shift only extends the
    // range; the wheel changes nothing; a drag toggles the first cell only.
    void keysWheelAndDrag()
    {
        m_form->loadDay(project("A"), now());
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        click(column, 3);
        QTest::keyClick(sleepChart(m_form.get()), Qt::Key_Down);
        QTest::keyClick(sleepChart(m_form.get()), Qt::Key_Down);
        QCOMPARE(m_form->sleepGrid.cell(column, 4), QStringLiteral(" "));
        QCOMPARE(m_form->sleepGrid.cell(column, 5), QStringLiteral(" "));
        QTest::keyClick(sleepChart(m_form.get()), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(m_form->sleepGrid.cell(column, 6), QString());
        QCOMPARE(m_form->dayHours(column), 1.5);

        QWheelEvent wheel(cellCentre(column, 10), sleepChart(m_form.get())->viewport()->mapToGlobal(cellCentre(column, 10)),
                          QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(sleepChart(m_form.get())->viewport(), &wheel);
        QCOMPARE(m_form->dayHours(column), 1.5);

        const int other = column + 2;
        QWidget *viewport = sleepChart(m_form.get())->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(other, 20));
        QMouseEvent move(QEvent::MouseMove, cellCentre(other, 24), viewport->mapToGlobal(cellCentre(other, 24)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, cellCentre(other, 24));
        QCOMPARE(m_form->dayHours(other), 0.5);
        QCOMPARE(m_form->sleepGrid.cell(other, 20), QStringLiteral(" "));
        // The keyboard never reaches the header row or the hidden column.
        QTest::keyClick(sleepChart(m_form.get()), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(m_form->sleepGrid.cell(1, 0), QString());
        QVERIFY(m_form->sleepGrid.currentRow() >= 1);
        QVERIFY(m_form->sleepGrid.currentColumn() >= 1);
    }

    // Drawing: three marked slots one below the other form one bar; the
    // Monday and today lines; the red frame on the selected day.
    void drawing()
    {
        m_form->loadDay(project("A"), now());
        const int column = columnOf(dayNumberOf(2024, 5, 2));
        for (int row : {5, 6, 7})
            m_form->toggleSleepSlot(column, row);
        const QImage image = sleepChart(m_form.get())->viewport()->grab().toImage();
        const QRect top = sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(5, column));
        const QRect bottom = sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(7, column));
        const int x = top.center().x();
        for (int y = top.top(); y <= bottom.bottom(); ++y)
            QCOMPARE(image.pixelColor(x, y), QColor(0x91, 0xC8, 0xFF));
        // Above and below the bar: no mark.
        QVERIFY(image.pixelColor(x, top.top() - 3) != QColor(0x91, 0xC8, 0xFF));
        QVERIFY(image.pixelColor(x, bottom.bottom() + 3) != QColor(0x91, 0xC8, 0xFF));

        // 6 May 2024 is a Monday, 7 May today: grey at their left edges, in
        // the header row too.
        for (int date : {dayNumberOf(2024, 5, 6), dayNumberOf(2024, 5, 7)}) {
            for (int row : {0, 20}) {
                const QRect r = sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(row, columnOf(date)));
                QCOMPARE(image.pixelColor(r.left(), r.center().y()), QColor(0xC0, 0xC0, 0xC0));
            }
        }
        const QRect plain = sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(20, columnOf(dayNumberOf(2024, 5, 9))));
        QVERIFY(image.pixelColor(plain.left(), plain.center().y()) != QColor(0xC0, 0xC0, 0xC0));
        // The midnight line under the 11:30 pm slot.
        const QRect eight = sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(8, columnOf(dayNumberOf(2024, 5, 9))));
        QCOMPARE(image.pixelColor(eight.center().x(), eight.bottom() - 1), QColor(0x00, 0x40, 0x80));

        // The red frame moved to the clicked day: date header column c shows
        // the grid's column c + 1.
        const QImage dates = dateChart(m_form.get())->viewport()->grab().toImage();
        const QRect framed = dateChart(m_form.get())->visualRect(m_form->dateGrid.index(1, column - 1));
        QCOMPARE(dates.pixelColor(framed.left(), framed.center().y()), QColor(0xFF, 0, 0));
        QCOMPARE(dates.pixelColor(framed.right() - 1, framed.center().y()), QColor(0xFF, 0, 0));
        const QRect other = dateChart(m_form.get())->visualRect(m_form->dateGrid.index(1, column + 2));
        QCOMPARE(dates.pixelColor(other.left(), other.center().y()), QColor(0xCC, 0xE4, 0xFF));
    }

    void weekChart()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        // Two hours on Monday 6 May, a Tuesday at 0.0 that counts.
        for (int row : {1, 2, 3, 4})
            m_form->toggleSleepSlot(columnOf(dayNumberOf(2024, 5, 6)), row);
        // 30 April lies before the May grid: its 0.0 comes from the store.
        m_form->sleepRecord.yearChart.setCell(2, SleepTrack::dayOfYear(dayNumberOf(2024, 4, 30)), QStringLiteral("0.0"));
        m_form->toggleSleepSlot(columnOf(dayNumberOf(2024, 5, 7)), 1);

        m_form->showSleepGraph();
        QCOMPARE(pageStack(m_form.get())->currentIndex(), 4);
        QCOMPARE(rangeLabel(m_form.get())->text(), QStringLiteral("Apr 7 - May 7"));
        const QList<QBarSet *> sets = m_form->weekdaySeries->barSets();
        QCOMPARE(sets.size(), 7);
        QCOMPARE(sets.at(0)->at(0), 2.0);
        QCOMPARE(sets.at(1)->at(1), 0.25);
        QCOMPARE(sets.at(2)->at(2), 0.0);
        QCOMPARE(sets.at(6)->at(6), 0.0);
        QCOMPARE(sets.at(0)->label(), QStringLiteral("Mon"));
        m_form->showSleepGrid();
        QCOMPARE(pageStack(m_form.get())->currentIndex(), 1);

        // After a click on another day, "Graph" ends its range there.
        m_form->toggleSleepSlot(columnOf(dayNumberOf(2024, 5, 20)), 1);
        m_form->showSleepGraph();
        QCOMPARE(rangeLabel(m_form.get())->text(), QStringLiteral("Apr 20 - May 20"));
    }

    void sleepCycleChart()
    {
        const double start = dayNumberOf(2024, 5, 7) + 21.0 / 24;
        m_form->showSleepCycle(7.5, start);
        const QList<QPointF> curve = m_form->cycleSeries->points();
        const qreal startMs = DayNumber::toDateTime(start).toMSecsSinceEpoch();
        QCOMPARE(curve.first(), QPointF(startMs, 1.0));
        QCOMPARE(curve.last().y(), 0.5);
        QCOMPARE(curve.last().x(), startMs + 8.75 * 3600 * 1000);
        const QList<QPointF> wake = m_form->wakeSeries->points();
        QCOMPARE(wake.size(), 2);
        QCOMPARE(wake.first().x(), startMs + 7.5 * 3600 * 1000);
        QCOMPARE(rangeLabel(m_form.get())->text(), QStringLiteral("Apr 7 - May 7"));
        auto *times = qobject_cast<QCategoryAxis *>(cycleChart(m_form.get())->chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(times);
        QCOMPARE(times->categoriesLabels().first(), QStringLiteral("9 PM"));
        QCOMPARE(times->categoriesLabels().last(), QStringLiteral("5 AM"));
        QCOMPARE(times->count(), 9);
        QCOMPARE(times->categoriesLabels().at(3), QStringLiteral("12 AM"));
    }

    // A year file that cannot be written: the message names it and the
    // marks stay on screen.
    void writeFailureIsReported()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        // Something else took the file's place.
        QVERIFY(QDir().mkpath(a + "2024-time.txt"));
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        click(column, 3);
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(m_fakes->dialogs.errors.first().contains(QStringLiteral("2024-time.txt")));
        QCOMPARE(m_form->sleepGrid.cell(column, 3), QStringLiteral(" "));
    }

    // A note that cannot be read is reported, and the empty memo is never
    // written over it.
    void unreadableNoteIsKept()
    {
        const QString a = project("A");
        QVERIFY(QDir().mkpath(a + "Y2024M5D7-note.txt"));
        m_form->loadDay(a, now());
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(noteEdit(m_form.get())->isReadOnly());
        m_form->loadDay(a, dayNumberOf(2024, 5, 8));
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(QFileInfo(a + "Y2024M5D7-note.txt").isDir());
        QVERIFY(!noteEdit(m_form.get())->isReadOnly());
    }

    // Days before 30 December 1899 have no grid; nothing breaks.
    void datesBeforeDayZero()
    {
        m_form->loadDay(project("A"), dayNumberOf(1899, 12, 5));
        QVERIFY(m_form->sleepRecord.firstDate() < 0);
        QCOMPARE(m_form->dateGrid.cell(0, 0), QString());
        m_form->toggleSleepSlot(3, 3);
        QCOMPARE(m_form->dayHours(3), 0.0);
        m_form->showSleepGraph();
        QCOMPARE(m_form->weekdaySeries->barSets().at(0)->at(0), 0.0);
    }

    void folderOutsideTheDataFolderIsRefused()
    {
        m_form->loadDay(m_dir->path() + QStringLiteral("/Projects/../../elsewhere/"), now());
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(!m_form->sleepRecord.isLoaded());
        QVERIFY(m_form->sleepRecord.yearFile().isEmpty());
    }

    // Down from the last visible row (7:30 pm) never scrolls the grid:
    // the totals row stays, each hour label stays beside its cells, and a
    // click beside "8 pm" marks the 8 pm slot.
    void keyboardNeverShiftsLabelsAgainstCells()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        const QRect firstSlot = sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(1, column));
        click(column, 48);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(sleepChart(m_form.get()), Qt::Key_Down);
        QTest::keyClick(sleepChart(m_form.get()), Qt::Key_PageDown);
        QTest::keyClick(sleepChart(m_form.get()), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(sleepChart(m_form.get())->verticalScrollBar()->value(), 0);
        QCOMPARE(sleepChart(m_form.get())->rowViewportPosition(0), 0);
        QCOMPARE(sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(1, column)), firstSlot);
        // The rows below the visible ones still take marks from the keys.
        QCOMPARE(m_form->sleepGrid.cell(column, 49), QStringLiteral(" "));

        const int other = column - 1;
        click(other, 1);
        QCOMPARE(m_form->sleepGrid.cell(other, 1), QStringLiteral(" "));
        QCOMPARE(yearFields(a + "2024-time.txt", 127).value(11), QStringLiteral("*"));
        QCOMPARE(sleepChart(m_form.get())->toolTip(), QStringLiteral("8 pm - 8:30 pm"));
    }

    // Each click of a quick double click toggles.
    void doubleClickTogglesTwice()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        QWidget *viewport = sleepChart(m_form.get())->viewport();
        const QPoint at = cellCentre(column, 6);
        const QPoint global = viewport->mapToGlobal(at);
        // As the window system delivers it: the second press comes as a
        // double click.
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
            if (type == QEvent::MouseButtonPress)
                QCOMPARE(m_form->sleepGrid.cell(column, 6), QStringLiteral(" "));
        }
        QCOMPARE(m_form->sleepGrid.cell(column, 6), QString());
        QCOMPARE(yearFields(a + "2024-time.txt", 128).value(16), QString());
        QCOMPARE(yearFields(a + "2024-time.txt", 128).value(2), QStringLiteral("0.0"));
    }

    // A year file that cannot be loaded (here a folder in its place): the
    // grid takes no marks, says why, and the file is never written.
    void unloadableYearFileMakesTheGridReadOnly()
    {
        const QString a = project("A");
        QVERIFY(QDir().mkpath(a + "2024-time.txt"));
        m_form->loadDay(a, now());
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(yearError(m_form.get())->isVisibleTo(m_form.get()));
        QVERIFY2(yearError(m_form.get())->text().contains(QStringLiteral("2024")), qPrintable(yearError(m_form.get())->text()));
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        click(column, 3);
        QCOMPARE(m_form->sleepGrid.cell(column, 3), QString());
        QCOMPARE(m_form->dayHours(column), 0.0);
        QCOMPARE(sleepLabel(m_form.get())->text(), QStringLiteral("."));
        QString error;
        QVERIFY(m_form->saveEdited());
        m_form->loadDay(project("B"), now());
        QVERIFY(QFileInfo(a + "2024-time.txt").isDir());
        QVERIFY(!yearError(m_form.get())->isVisibleTo(m_form.get()));
        click(column, 3);
        QCOMPARE(m_form->sleepGrid.cell(column, 3), QStringLiteral(" "));

        // A December grid shows two days of a next year that cannot be
        // read: those two columns take no marks, the others do.
        const QString c = project("C");
        QVERIFY(QDir().mkpath(c + "2025-time.txt"));
        m_form->loadDay(c, dayNumberOf(2024, 12, 10));
        const int january = columnOf(dayNumberOf(2025, 1, 1));
        click(january, 3);
        QCOMPARE(m_form->sleepGrid.cell(january, 3), QString());
        click(january - 1, 3);
        QCOMPARE(m_form->sleepGrid.cell(january - 1, 3), QStringLiteral(" "));
        QVERIFY(QFileInfo(c + "2025-time.txt").isDir());
    }

    // The statistics of one project are not shown under the next.
    void statisticsStartAfreshAtEachBinding()
    {
        m_form->loadDay(project("A"), now());
        click(columnOf(dayNumberOf(2024, 5, 7)), 3);
        QCOMPARE(sleepLabel(m_form.get())->text(), QStringLiteral("0.5 hours"));
        m_form->loadDay(project("B"), now());
        QCOMPARE(sleepLabel(m_form.get())->text(), QStringLiteral("."));
        QCOMPARE(recentTotalsLabel(m_form.get())->text(), QStringLiteral("."));
        QCOMPARE(timeLabel(m_form.get())->text(), QStringLiteral("Total Time "));
    }

    // A rebinding whose note cannot be written leaves everything bound as
    // it was: the note stays in the memo, the project and its marks stay.
    void rebindingIsAllOrNothing()
    {
        const QString a = project("A");
        m_form->loadDay(a, now());
        const int column = columnOf(dayNumberOf(2024, 5, 7));
        click(column, 3);
        noteEdit(m_form.get())->setPlainText(QStringLiteral("Teething"));
        QVERIFY(QDir().mkpath(a + "Y2024M5D7-note.txt")); // something took its place
        m_form->loadDay(project("B"), now());
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(m_fakes->dialogs.errors.first().contains(QStringLiteral("Y2024M5D7-note.txt")));
        QCOMPARE(m_form->sleepRecord.trackedFolder(), a);
        QCOMPARE(noteEdit(m_form.get())->toPlainText(), QStringLiteral("Teething"));
        QCOMPARE(m_form->sleepGrid.cell(column, 3), QStringLiteral(" "));
        QVERIFY(!QDir(project("B")).exists() || QDir(project("B")).isEmpty());

        // Once the place is free again, the same move succeeds.
        QVERIFY(QDir().rmdir(a + "Y2024M5D7-note.txt"));
        m_form->loadDay(project("B"), now());
        QCOMPARE(m_form->sleepRecord.trackedFolder(), project("B"));
        QCOMPARE(TextFile::readText(a + "Y2024M5D7-note.txt").value, QStringLiteral("Teething"));
    }

    // "Save what is edited" (the close sequence, the autosave): the edited
    // note only; a failure names the file and keeps the text.
    void saveEditedWritesOnlyWhatWasEdited()
    {
        const QString a = project("A");
        QVERIFY(QDir().mkpath(a));
        QVERIFY(TextFile::writeText(a + "Y2024M5D7-note.txt", QStringLiteral("on disk")).ok);
        m_form->loadDay(a, now());
        // Changed by another program meanwhile: an untouched note stays.
        TextFile::writeText(a + "Y2024M5D7-note.txt", QStringLiteral("changed elsewhere"));
        QVERIFY(m_form->saveEdited());
        QCOMPARE(TextFile::readText(a + "Y2024M5D7-note.txt").value, QStringLiteral("changed elsewhere"));
        QVERIFY(!QFile::exists(a + "2024-time.txt"));

        noteEdit(m_form.get())->setPlainText(QStringLiteral("typed"));
        QVERIFY(m_form->saveEdited());
        QCOMPARE(TextFile::readText(a + "Y2024M5D7-note.txt").value, QStringLiteral("typed"));

        noteEdit(m_form.get())->setPlainText(QStringLiteral("typed again"));
        QVERIFY(QFile::remove(a + "Y2024M5D7-note.txt"));
        QVERIFY(QDir().mkpath(a + "Y2024M5D7-note.txt"));
        const Result failed = m_form->saveEdited();
        QVERIFY(!failed);
        QVERIFY2(failed.error.contains(QStringLiteral("Y2024M5D7-note.txt")), qPrintable(failed.error));
        QCOMPARE(noteEdit(m_form.get())->toPlainText(), QStringLiteral("typed again"));
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
    }

private:
    QString project(const QString &name) const { return m_data->projectsDir() + name + QLatin1Char('/'); }
    double now() const { return m_fakes->clock.nowDayNumber(); }
    int columnOf(int date) const { return date - m_form->sleepRecord.firstDate() + 1; }
    QPoint cellCentre(int column, int row) const
    {
        return sleepChart(m_form.get())->visualRect(m_form->sleepGrid.index(row, column)).center();
    }
    void click(int column, int row)
    {
        QTest::mouseClick(sleepChart(m_form.get())->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(column, row));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<DataFolder> m_data;
    std::unique_ptr<TimeTracker> m_form;
};

QTEST_MAIN(TestTimeTrack)
#include "tst_timetrack.moc"
