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
    void noteExit();
    // Saves what was edited and not yet written: the note when it was
    // changed, the alarm lists when they were, the year store when its
    // last write failed. Nothing untouched, and no file that failed to
    // load, is written. False with the reasons (naming the files) when a
    // write failed; the edited text and marks stay. The close sequence
    // and the autosave call it.
    bool saveEdited(QString *error);
    // At start-up: loads the alarm lists of the project last tracked, so
    // that they ring before the "Time" page is opened.
    void loadLastTrackedAlarms();
    // The file that names the project last tracked.
    QString lastTrackedFile() const;
    void ensureMonthFolder();
    static int lastDayOfMonth(int year, int month);
    int columnDate(int column) const { return Record.columnDate(column); }

    // The sleep grid.
    void buildSleepGrid(double first);
    void clearSleepGrid();
    double dayHours(int column) const;
    static QString slotLabel(int row);
    void sleepChartDrawCell(QPainter *painter, const QRect &rect, int row, int column) const;
    void dateChartDrawCell(QPainter *painter, const QRect &rect, int row, int column) const;
    void timeChartDrawCell(QPainter *painter, const QRect &rect, int row, int column) const;
    void sleepChartSelectCell(int column, int row);

    // Pages and charts.
    void btnChartClick();
    void btnGraphClick();
    void showWeekChart(double date);
    void showSleepCycle(double hours, double start);

    // Alarm pages and the sleep report.
    void btnBedClick();
    void btnFeedClick();
    void writeSleepReport();
    void SpeedButton7Click();
    void SpeedButton5Click();
    void printSleepReport();
    AlarmPages *Alarms;
    SleepReportWindow *Report;

    SleepRecord Record;

    QWidget *Panel1;
    QStackedWidget *pgSleep;
    QWidget *TabSheet6;
    QWidget *TabSheet3;
    QWidget *TabSheet4;
    QWidget *TabSheet2;
    QWidget *TabSheet5;
    QWidget *TabSheet1;
    QPushButton *btnChart;
    QPushButton *btnGraph;

    // "Baby Sleep Tracker"
    StringGrid dateGrid;
    StringGrid timeGrid;
    StringGrid sleepGrid;
    StringGridView *dateChart;
    StringGridView *timeChart;
    SleepGridView *sleepChart;
    QLabel *timeLabel;
    QLabel *sleepLabel;
    QLabel *Sleep_7;
    // Says why the grid takes no marks while the year file cannot be read.
    QLabel *yearError;
    // Where the sleep report was written, once it was opened.
    QLabel *reportWhere;
    QWidget *Panel2;
    QWidget *boxDream;
    QWidget *boxSleep;
    QWidget *boxDeepSleep;

    // "Data"
    StringGridView *yearChart;

    // "Baby Journal"
    QLabel *Label1;
    QLabel *dateLabel;
    QPlainTextEdit *Note;

    // "Sleep Graph"
    QLabel *Label10;
    QLabel *Label13;
    QLabel *labelRange;
    QChartView *Week_chart;
    QStackedBarSeries *Series1;

    // "Go to Bed"
    QChartView *cycleGraph;
    QLineSeries *Series3;
    QLineSeries *Series4;

Q_SIGNALS:
    // The main window's date picker follows a clicked day (the week stays).
    void selectedDateChanged(double date);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
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
