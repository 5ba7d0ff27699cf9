#pragma once

#include "ui/platform/services.h"
#include "core/tracker/sleeprecord.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineSeries;
class QPlainTextEdit;
class QPushButton;
class QStackedBarSeries;
class QStackedWidget;
class SleepGridView;
class StringGridView;
class AlarmPages;
class SleepReportWindow;
class DataFolder;

// The time and sleep tracker, embedded in the "Time" page of the project
// notebook. It works on one project folder at a time: loadDay binds it to a
// folder and a date, a click in the sleep grid toggles a half-hour slot and
// saves, and the "Chart" and "Graph" buttons switch between the grid and the
// weekday chart.
class TimeTracker : public QWidget
{
    Q_OBJECT
public:
    // The data folder keeps every binding inside the data root.
    TimeTracker(DataFolder *dataFolder, const Services &services, QWidget *parent = nullptr);
    ~TimeTracker() override;

    // Places the form as a borderless child filling the host panel and
    // shows it; it follows the panel's size from then on.
    void embedIn(QWidget *host);

    // Binding and files.
    void loadDay(const QString &folder, double date);
    void saveTracker();
    void loadYear(int year);
    void loadNote(double date);
    void saveNote();
    // The note file shown; empty while none is.
    QString shownNoteFile() const { return sleepRecord.noteFile(); }
    // Files changed on disk by another program: a note shown and not
    // edited shows its file's new text; an edited one keeps its text, and
    // its next save keeps the other version beside it.
    void followDiskChanges(const QStringList &paths);
    // Saves what was edited and not yet written: the note when it was
    // changed, the alarm lists when they were, the year store when its
    // last write failed. Nothing untouched, and no file that failed to
    // load, is written. False with the reasons (naming the files) when a
    // write failed; the edited text and marks stay. The close sequence
    // and the autosave call it.
    Result saveEdited();
    // At start-up: loads the alarm lists of the project last tracked, so
    // that they ring before the "Time" page is opened.
    void loadLastTrackedAlarms();
    // The file that names the project last tracked.
    QString lastTrackedFile() const;
    void ensureMonthFolder();
    static int lastDayOfMonth(int year, int month);
    int columnDate(int column) const { return sleepRecord.columnDate(column); }

    // The sleep grid.
    void buildSleepGrid(double first);
    void clearSleepGrid();
    double dayHours(int column) const;
    static QString slotLabel(int row);
    void drawSleepCell(QPainter *painter, const QRect &rect, int row, int column) const;
    void drawDateCell(QPainter *painter, const QRect &rect, int row, int column) const;
    void drawTimeCell(QPainter *painter, const QRect &rect, int row, int column) const;
    // A click on a slot of the sleep grid: marks or clears it, shows the
    // day's figures and saves.
    void toggleSleepSlot(int column, int row);

    void showWeekChart(double date);
    void writeSleepReport();
    // The alarm pages, built into the "Go to Bed" and "Feeding Alarm" pages.
    AlarmPages *alarmPages() const { return m_alarmPages; }

    SleepRecord sleepRecord;

    // "Baby Sleep Tracker"
    StringGrid dateGrid;
    StringGrid timeGrid;
    StringGrid sleepGrid;

    // The charts' data: the averages per weekday and the sleep cycle.
    QStackedBarSeries *weekdaySeries;
    QLineSeries *cycleSeries;
    QLineSeries *wakeSeries;

public Q_SLOTS:
    // The notebook's page buttons.
    void showSleepGrid();
    void showSleepGraph();
    void showBedPage();
    void showFeedPage();
    void showSleepReport();
    void printSleepReport();
    // The sleep cycle of a bed time: the curve from its start.
    void showSleepCycle(double hours, double start);

Q_SIGNALS:
    // The main window's date picker follows a clicked day (the week stays).
    void selectedDateChanged(double date);
    // Another note file is shown (see shownNoteFile).
    void shownNoteFileChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AlarmPages *m_alarmPages;
    SleepReportWindow *sleepReport;

    QWidget *pagesPanel;
    QStackedWidget *pageStack;
    QWidget *bedPage;
    QWidget *sleepPage;
    QWidget *dataPage;
    QWidget *journalPage;
    QWidget *graphPage;
    QWidget *feedPage;
    QPushButton *chartButton;
    QPushButton *graphButton;

    // "Baby Sleep Tracker"
    StringGridView *dateChart;
    StringGridView *timeChart;
    SleepGridView *sleepChart;
    QLabel *timeLabel;
    QLabel *sleepLabel;
    QLabel *recentTotalsLabel;
    // Says why the grid takes no marks while the year file cannot be read.
    QLabel *yearError;
    // Where the sleep report was written, once it was opened.
    QLabel *reportWhere;
    QWidget *legendPanel;
    QWidget *boxDream;
    QWidget *boxSleep;
    QWidget *boxDeepSleep;

    // "Data"
    StringGridView *yearChart;

    // "Baby Journal"
    QLabel *journalTitle;
    QLabel *dateLabel;
    QPlainTextEdit *noteEdit;

    // "Sleep Graph"
    QLabel *graphTitle;
    QLabel *graphSubtitle;
    QLabel *rangeLabel;
    QChartView *weekChart;

    // "Go to Bed"
    QChartView *cycleChart;

    // The memo lost the focus: its note is saved.
    void leaveNote();
    void createSleepPage();
    void createDataPage();
    void createJournalPage();
    void createGraphPage();
    void createBedPage();
    void placeSleepGrids();
    void reportWrite(const WriteResult &result);
    // Writes the memo to NoteFile when it was edited since it was loaded
    // or last written.
    WriteResult writeNote();
    void rememberTrackedProject(const QString &folder);
    void resetStatistics();

    DataFolder *m_dataFolder;
    Services m_services;
    // The text NoteFile held when it was last read or written.
    QString m_noteOnDisk;
    // The project folder named in lastTrackedFile, as last read or written.
    QString m_lastTracked;
    bool m_lastTrackedRead = false;
};
