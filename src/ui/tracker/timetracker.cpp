#include "ui/tracker/timetracker.h"

#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "ui/common/look.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "ui/grid/stringgridview.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/tracker/sleepgridview.h"
#include "core/tracker/sleeptrack.h"
#include "ui/tracker/alarmpages.h"
#include "ui/tracker/sleepreportwindow.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextCursor>
#include <QVBoxLayout>

using namespace SleepTrack;

namespace {

// The page "Baby Sleep Tracker". Cell sizes count the one-pixel grid line
// below (and right of) each cell.
constexpr int kGridLeft = 8;
constexpr int kGridTop = 4;
constexpr int kDayColumnWidth = 19;     // 18 px cell + line
constexpr int kSleepHeaderHeight = 18;  // 17 px + line
constexpr int kSlotRowHeight = 8;       // 7 px + line
constexpr int kHourRowHeight = 16;      // 15 px + line: two slot rows
constexpr int kDateRowHeight = 13;      // 12 px + line
constexpr int kTimeColumnWidth = 63;

const QColor kOddColumn(0xF7, 0xF7, 0xF7);
const QColor kMarked(0x91, 0xC8, 0xFF);
const QColor kDayLine(0xC0, 0xC0, 0xC0);
const QColor kMidnight(0x00, 0x40, 0x80);
const QColor kDateCell(0xCC, 0xE4, 0xFF);
const QColor kSelectedFrame(0xFF, 0x00, 0x00);
const QColor kSleepFixed(0xFD, 0xFD, 0xFD);
const QColor kTimeFixed(0xF4, 0xF4, 0xF4);
const QColor kRowLine(0xE0, 0xE0, 0xE0);
const QColor kRangeHighlight(0x33, 0x66, 0xCC, 0x40);

QWidget *whitePage(const QString &name, const QString &caption, QWidget *parent)
{
    QWidget *page = whitePanel(name, parent);
    page->setAccessibleName(caption);
    return page;
}

QLabel *label(const QString &name, const QString &text, const QFont &font, QWidget *parent)
{
    return captionLabel(name, text, font, parent);
}

QWidget *box(const QString &name, const QColor &colour, QWidget *parent)
{
    auto *b = new QWidget(parent);
    b->setObjectName(name);
    fillBackground(b, colour);
    b->resize(12, 12);
    return b;
}

void fixedGridLook(StringGridView *view)
{
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setFrameShape(QFrame::NoFrame);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

} // namespace

TimeTracker::TimeTracker(DataFolder *dataFolder, const Services &services, QWidget *parent)
    : QWidget(parent)
    , dateGrid(kGridDays + 1, 3)
    , timeGrid(1, 26)
    , sleepGrid(kGridDays + 1, kSlotRows + 1)
    , m_dataFolder(dataFolder)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmTimeTrack"));
    setWindowTitle(tr("Baby"));
    setAccessibleName(tr("Time tracker"));
    setFont(pixelFont(QStringLiteral("Arial"), 11));
    paintWhite(this);

    pagesPanel = whitePage(QStringLiteral("Panel1"), tr("Tracker"), this);
    auto *fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(pagesPanel);

    // The form's own page buttons lie under the page control, which covers
    // them; the notebook's header carries the ones the user presses.
    chartButton = new QPushButton(tr("Chart"), pagesPanel);
    chartButton->setObjectName(QStringLiteral("btnChart"));
    chartButton->setAccessibleName(tr("Chart"));
    graphButton = new QPushButton(tr("Graph"), pagesPanel);
    graphButton->setObjectName(QStringLiteral("btnGraph"));
    graphButton->setAccessibleName(tr("Graph"));
    graphButton->move(80, 0);
    connect(chartButton, &QPushButton::clicked, this, &TimeTracker::showSleepGrid);
    connect(graphButton, &QPushButton::clicked, this, &TimeTracker::showSleepGraph);

    pageStack = new QStackedWidget(pagesPanel);
    pageStack->setObjectName(QStringLiteral("pgSleep"));
    auto *pages = new QVBoxLayout(pagesPanel);
    pages->setContentsMargins(0, 0, 0, 0);
    pages->addWidget(pageStack);

    bedPage = whitePage(QStringLiteral("TabSheet6"), tr("Go to Bed"), pageStack);
    sleepPage = whitePage(QStringLiteral("TabSheet3"), tr("Baby Sleep Tracker"), pageStack);
    dataPage = whitePage(QStringLiteral("TabSheet4"), tr("Data"), pageStack);
    journalPage = whitePage(QStringLiteral("TabSheet2"), tr("Baby Journal"), pageStack);
    graphPage = whitePage(QStringLiteral("TabSheet5"), tr("Sleep Graph"), pageStack);
    feedPage = whitePage(QStringLiteral("TabSheet1"), tr("Feeding Alarm"), pageStack);
    for (QWidget *page : {bedPage, sleepPage, dataPage, journalPage, graphPage, feedPage})
        pageStack->addWidget(page);

    createBedPage();
    createSleepPage();
    createDataPage();
    createJournalPage();
    createGraphPage();
    pageStack->setCurrentIndex(1);

    // The alarm lists and their clock, which runs from now on.
    m_alarmPages = new AlarmPages(bedPage, feedPage, m_services, this);
    connect(m_alarmPages, &AlarmPages::sleepCycleRequested, this, &TimeTracker::showSleepCycle);
    sleepReport = new SleepReportWindow(m_dataFolder ? m_dataFolder->buildDir() : QString(), m_services, this);
    connect(sleepReport, &SleepReportWindow::reportOpened, this, [this](const QString &where) {
        reportWhere->setText(where);
        reportWhere->show();
    });
}

TimeTracker::~TimeTracker() = default;

void TimeTracker::embedIn(QWidget *host)
{
    setParent(host);
    setWindowFlags(Qt::Widget);
    QLayout *layout = host->layout();
    if (!layout) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(this);
    resize(host->size());
    update();
    show();
}

// ---- pages ----------------------------------------------------------------

void TimeTracker::createSleepPage()
{
    dateChart = new StringGridView(&dateGrid, sleepPage);
    dateChart->setObjectName(QStringLiteral("Date_Chart"));
    dateChart->setAccessibleName(tr("Dates"));
    fixedGridLook(dateChart);
    dateChart->setFont(pixelFont(QStringLiteral("Arial Narrow"), 9));
    dateChart->setBackgroundColor(QColor(0xF4, 0xFA, 0xFF));
    dateChart->setDefaultColumnWidth(kDayColumnWidth);
    dateChart->setDefaultRowHeight(kDateRowHeight);
    dateChart->setEnabled(false);
    dateChart->setCellPainter([this](QPainter *p, const QRect &r, int row, int column) {
        drawDateCell(p, r, row, column);
    });

    timeChart = new StringGridView(&timeGrid, sleepPage);
    timeChart->setObjectName(QStringLiteral("Time_Chart"));
    timeChart->setAccessibleName(tr("Hours"));
    fixedGridLook(timeChart);
    timeChart->setFocusPolicy(Qt::NoFocus);
    timeChart->setSelectionMode(QAbstractItemView::NoSelection);
    timeGrid.setFixedRows(1);
    timeChart->setDefaultColumnWidth(kTimeColumnWidth);
    timeChart->setDefaultRowHeight(kHourRowHeight);
    timeChart->setRowHeight(0, kSleepHeaderHeight);
    timeChart->setCellPainter([this](QPainter *p, const QRect &r, int row, int column) {
        drawTimeCell(p, r, row, column);
    });

    sleepGrid.setFixedRows(1);
    sleepChart = new SleepGridView(&sleepGrid, sleepPage);
    sleepChart->setObjectName(QStringLiteral("Sleep_Chart"));
    sleepChart->setAccessibleName(tr("Sleep grid"));
    sleepChart->setFrameShape(QFrame::NoFrame);
    sleepChart->setFont(pixelFont(QStringLiteral("Arial"), 9));
    sleepChart->setShowGrid(false);
    sleepChart->setDefaultColumnWidth(kDayColumnWidth);
    sleepChart->setDefaultRowHeight(kSlotRowHeight);
    sleepChart->setRowHeight(0, kSleepHeaderHeight);
    sleepChart->setColumnHidden(0, true);
    sleepChart->setCellPainter([this](QPainter *p, const QRect &r, int row, int column) {
        drawSleepCell(p, r, row, column);
    });
    connect(sleepChart, &SleepGridView::cellSelected, this, &TimeTracker::toggleSleepSlot);

    const QFont bold = pixelFont(QStringLiteral("Arial"), 11, FontStyle::Bold);
    timeLabel = label(QStringLiteral("Time_Label"), tr("Total Time "), bold, sleepPage);
    sleepLabel = label(QStringLiteral("Sleep_Label"), QStringLiteral("."), bold, sleepPage);
    recentTotalsLabel = label(QStringLiteral("Sleep_7"), QStringLiteral("."),
                    pixelFont(QStringLiteral("Times New Roman"), 11, FontStyle::Bold), sleepPage);
    yearError = label(QStringLiteral("YearError"), QString(), bold, sleepPage);
    yearError->setWordWrap(true);
    yearError->setStyleSheet(QStringLiteral("color: #B00000;"));
    yearError->hide();
    reportWhere = label(QStringLiteral("ReportWhere"), QString(), pixelFont(QStringLiteral("Arial"), 11), sleepPage);
    reportWhere->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reportWhere->hide();

    legendPanel = new QWidget(sleepPage);
    legendPanel->setObjectName(QStringLiteral("Panel2"));
    boxDream = box(QStringLiteral("Box_Dream"), Qt::white, legendPanel);
    boxSleep = box(QStringLiteral("Box_Sleep"), Qt::white, legendPanel);
    boxDeepSleep = box(QStringLiteral("Box_DeepSleep"), Qt::white, legendPanel);
    const QString captions[] = {tr("Dreaming"), tr("Sleep"), tr("Deep Sleep")};
    int x = 0;
    int i = 0;
    for (QWidget *b : {boxDream, boxSleep, boxDeepSleep}) {
        b->move(x, 2);
        auto *caption = new QLabel(captions[i++], legendPanel);
        caption->move(x + 16, 0);
        caption->adjustSize();
        x += 16 + caption->width() + 12;
    }
    legendPanel->resize(x, 16);
    legendPanel->hide();

    clearSleepGrid();
    placeSleepGrids();
}

void TimeTracker::placeSleepGrids()
{
    dateChart->resize(626, 3 * kDateRowHeight - 1);
    sleepChart->resize(629, 403);
    dateChart->move(0, kGridTop);
    timeChart->setGeometry(kGridLeft, dateChart->y() + 38, kTimeColumnWidth + 1, 403);
    sleepChart->move(timeChart->x() + 62, timeChart->y());
    // Column 0 of the sleep grid takes no room, so the date header's
    // column 0 stands over the first day column.
    dateChart->move(sleepChart->x(), kGridTop);
    timeChart->setRowHeight(0, kSleepHeaderHeight);
    sleepChart->setRowHeight(0, kSleepHeaderHeight);
    sleepChart->setColumnHidden(0, true);

    const int labelsTop = sleepChart->y() + sleepChart->height() + 6;
    timeLabel->move(kGridLeft, labelsTop);
    sleepLabel->move(136 + kGridLeft, labelsTop);
    recentTotalsLabel->move(272 + kGridLeft, labelsTop);
    legendPanel->move(kGridLeft, labelsTop + 24);
    yearError->setGeometry(kGridLeft, labelsTop + 22, sleepChart->x() + sleepChart->width() - kGridLeft, 48);
    reportWhere->setGeometry(kGridLeft, labelsTop + 72, sleepChart->x() + sleepChart->width() - kGridLeft, 18);

    for (auto [b, colour] : {std::pair{boxDream, QColor(0xFF, 0x80, 0x80)},
                             std::pair{boxSleep, QColor(0xCA, 0xE4, 0xFF)},
                             std::pair{boxDeepSleep, QColor(0x91, 0xC8, 0xFF)}}) {
        setWindowColor(b, colour);
    }
}

void TimeTracker::createDataPage()
{
    yearChart = new StringGridView(&sleepRecord.yearChart, dataPage);
    yearChart->setObjectName(QStringLiteral("Year_Chart"));
    yearChart->setAccessibleName(tr("Year data"));
    yearChart->setEditTriggers(QAbstractItemView::NoEditTriggers);
    yearChart->setDefaultRowHeight(18);
    auto *l = new QVBoxLayout(dataPage);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(yearChart);
}

void TimeTracker::createJournalPage()
{
    journalTitle = label(QStringLiteral("Label1"), tr("Baby Journal"), pixelFont(QStringLiteral("Georgia"), 19),
                   journalPage);
    journalTitle->move(8, 8);
    dateLabel = label(QStringLiteral("Date_Label"), QString(), pixelFont(QStringLiteral("Arial"), 13),
                       journalPage);
    dateLabel->setAccessibleName(tr("Date"));
    dateLabel->setGeometry(8, 36, 400, 18);
    noteEdit = new QPlainTextEdit(journalPage);
    noteEdit->setObjectName(QStringLiteral("Note"));
    noteEdit->setAccessibleName(tr("Note"));
    noteEdit->setFont(pixelFont(QStringLiteral("Arial"), 13));
    noteEdit->setGeometry(8, 60, 620, 380);
    noteEdit->installEventFilter(this);
}

bool TimeTracker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == noteEdit && event->type() == QEvent::FocusOut)
        leaveNote();
    return QWidget::eventFilter(watched, event);
}

void TimeTracker::reportWrite(const WriteResult &result)
{
    if (!result)
        m_services.dialogs->error(this, result.error);
}

// ---- binding and files ------------------------------------------------------

int TimeTracker::lastDayOfMonth(int year, int month)
{
    return SleepTrack::lastDayOfMonth(year, month);
}

QString TimeTracker::slotLabel(int row)
{
    return SleepTrack::slotLabel(row);
}

void TimeTracker::loadDay(const QString &folder, double date)
{
    if (!DayNumber::isRepresentable(date) || folder.isEmpty())
        return;
    // Every binding stays inside the data folder, whatever the project's
    // name made of the path.
    if (m_dataFolder) {
        const QString root = QDir::cleanPath(m_dataFolder->rootDir()) + QLatin1Char('/');
        const QString wanted = QDir::cleanPath(folder) + QLatin1Char('/');
        if (!wanted.startsWith(root) || wanted == root) {
            m_services.dialogs->error(this, tr("The tracker cannot use the folder \"%1\": it lies "
                                               "outside the data folder.").arg(folder));
            return;
        }
    }

    if (sleepRecord.isLoaded()) {
        saveTracker();
        // Marks or alarm lists that could not be written keep the binding
        // they belong to; the reason was shown.
        if (sleepRecord.hasUnsavedChanges() || m_alarmPages->hasEditedLists())
            return;
    }
    // The note of the date being left is written (when edited) before
    // anything of the new binding is set: a note that cannot be written
    // keeps the old binding whole.
    if (!sleepRecord.noteFile().isEmpty()) {
        const WriteResult written = writeNote();
        if (!written) {
            reportWrite(written);
            return;
        }
    }
    sleepRecord.bind(folder, date);
    rememberTrackedProject(folder);
    resetStatistics();
    // A project that never stored anything has no folder yet.
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        m_services.dialogs->error(this, tr("The folder \"%1\" could not be created.").arg(folder));

    loadNote(date);
    loadYear(sleepRecord.year());
    buildSleepGrid(lastDayOfMonth(sleepRecord.year(), sleepRecord.month()) - 30);
    dateLabel->setText(formatDateTime(QStringLiteral("mmmm d, yyyy"), date));
    sleepRecord.markLoaded();
    dateChart->viewport()->update();
    m_alarmPages->loadLists(sleepRecord.trackedFolder());
}

void TimeTracker::saveTracker()
{
    if (sleepRecord.yearFile().isEmpty())
        return;
    ensureMonthFolder();
    if (!sleepRecord.isLoaded())
        return;
    writeSleepReport();
    reportWrite(sleepRecord.saveYear());
    m_alarmPages->saveLists();
}

void TimeTracker::showBedPage()
{
    pageStack->setCurrentWidget(bedPage);
}

void TimeTracker::showFeedPage()
{
    pageStack->setCurrentWidget(feedPage);
}

void TimeTracker::writeSleepReport()
{
    reportWrite(sleepReport->writeSleepReport({sleepRecord.trackedFolder(), sleepRecord.monthKey(), sleepRecord.monthText()}).write);
}

void TimeTracker::showSleepReport()
{
    sleepReport->showReport({sleepRecord.trackedFolder(), sleepRecord.monthKey(), sleepRecord.monthText()});
}

void TimeTracker::printSleepReport()
{
    sleepReport->printSleepReport();
}

void TimeTracker::ensureMonthFolder()
{
    // A month folder that cannot be made is passed over: nothing is
    // written into it.
    sleepRecord.ensureMonthFolder();
}

void TimeTracker::loadYear(int year)
{
    QString notice;
    const Result loaded = sleepRecord.loadYear(year, &notice);
    const QString error = loaded.error;
    yearError->setVisible(!loaded);
    if (loaded) {
        // A year file that did not hold text was moved aside; a new year
        // starts and the message says where the old file is kept.
        if (!notice.isEmpty())
            m_services.dialogs->error(this, notice);
        return;
    }
    yearError->setText(tr("The marks of %1 cannot be shown: %2 The grid takes no marks until the "
                          "file can be read, and the file is left as it is.")
                           .arg(year)
                           .arg(error.simplified()));
    m_services.dialogs->error(
        this, tr("%1\n\nThe marks of this year are not shown, and the file is left as it is.").arg(error));
}

void TimeTracker::loadNote(double date)
{
    if (!sleepRecord.noteFile().isEmpty()) {
        const WriteResult written = writeNote();
        if (!written) {
            // The note stays in the memo, bound to its own file.
            reportWrite(written);
            return;
        }
    }
    sleepRecord.bindNote(date);
    const Expected<QString> read = TextFile::readText(sleepRecord.noteFile());
    const QString &error = read.error;
    const QString &text = read.value;
    noteEdit->setReadOnly(false);
    if (!error.isEmpty()) {
        // A note that cannot be read is never overwritten with an empty one.
        noteEdit->setPlainText(QString());
        noteEdit->setReadOnly(true);
        sleepRecord.releaseNote();
        m_services.dialogs->error(this, error);
        return;
    }
    noteEdit->setPlainText(text);
    m_noteOnDisk = text;
    Q_EMIT shownNoteFileChanged();
}

void TimeTracker::followDiskChanges(const QStringList &paths)
{
    const QString file = sleepRecord.noteFile();
    if (file.isEmpty() || noteEdit->isReadOnly() || noteEdit->toPlainText() != m_noteOnDisk
        || !paths.contains(QDir::cleanPath(QFileInfo(file).absoluteFilePath())) || !TextFile::changedOnDisk(file))
        return;
    const Expected<QString> read = TextFile::readText(file);
    if (!read)
        return; // the text shown stays; the next save reports what is wrong with the file
    const int cursor = noteEdit->textCursor().position();
    noteEdit->setPlainText(read.value);
    m_noteOnDisk = noteEdit->toPlainText();
    QTextCursor kept = noteEdit->textCursor();
    kept.setPosition(qMin(cursor, noteEdit->document()->characterCount() - 1));
    noteEdit->setTextCursor(kept);
}

WriteResult TimeTracker::writeNote()
{
    // Only an edited note is written: a day merely visited leaves no
    // file, and a note changed on disk meanwhile is not overwritten with
    // what was shown.
    const QString text = noteEdit->toPlainText();
    if (sleepRecord.noteFile().isEmpty() || noteEdit->isReadOnly() || text == m_noteOnDisk)
        return {};
    const WriteResult written = TextFile::writeText(sleepRecord.noteFile(), text);
    if (written)
        m_noteOnDisk = text;
    return written;
}

Result TimeTracker::saveEdited()
{
    QStringList errors;
    const WriteResult note = writeNote();
    if (!note)
        errors.append(note.error);
    if (sleepRecord.isLoaded() && sleepRecord.hasUnsavedChanges()) {
        const WriteResult year = sleepRecord.saveYear();
        if (!year)
            errors.append(year.error);
    }
    const Result lists = m_alarmPages->saveEditedLists();
    if (!lists)
        errors.append(lists.error);
    if (!errors.isEmpty())
        return Result::failure(errors.join(QLatin1Char('\n')));
    return Result::success();
}

QString TimeTracker::lastTrackedFile() const
{
    return m_dataFolder ? m_dataFolder->configDir() + QStringLiteral("lasttracked.txt") : QString();
}

void TimeTracker::rememberTrackedProject(const QString &folder)
{
    if (!m_dataFolder)
        return;
    // The project's folder name, relative to the projects folder.
    const QString projects = QDir::cleanPath(m_dataFolder->projectsDir());
    const QString cleaned = QDir::cleanPath(folder);
    if (!cleaned.startsWith(projects + QLatin1Char('/')))
        return;
    const QString name = cleaned.mid(projects.size() + 1);
    if (!m_lastTrackedRead) {
        m_lastTracked = TextFile::readText(lastTrackedFile()).value.trimmed();
        m_lastTrackedRead = true;
    }
    if (name == m_lastTracked)
        return;
    // A start-up convenience: a failure costs nothing but that.
    if (TextFile::writeText(lastTrackedFile(), name))
        m_lastTracked = name;
}

void TimeTracker::loadLastTrackedAlarms()
{
    if (!m_dataFolder || sleepRecord.isLoaded())
        return;
    const QString file = lastTrackedFile();
    if (!QFileInfo(file).isFile())
        return;
    const Expected<QString> read = TextFile::readText(file);
    const QString &error = read.error;
    const QString name = read.value.trimmed();
    m_lastTracked = name;
    m_lastTrackedRead = true;
    if (!error.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('\n')))
        return;
    const QString projects = QDir::cleanPath(m_dataFolder->projectsDir());
    const QString folder = QDir::cleanPath(projects + QLatin1Char('/') + name);
    // Only a project folder inside the projects folder.
    if (!folder.startsWith(projects + QLatin1Char('/')) || !QFileInfo(folder).isDir())
        return;
    m_alarmPages->loadLists(folder + QLatin1Char('/'));
}

void TimeTracker::resetStatistics()
{
    // The figures of the previous binding do not belong to this one.
    timeLabel->setText(tr("Total Time "));
    timeLabel->adjustSize();
    sleepLabel->setText(QStringLiteral("."));
    sleepLabel->adjustSize();
    recentTotalsLabel->setText(QStringLiteral("."));
    recentTotalsLabel->adjustSize();
}

void TimeTracker::saveNote()
{
    if (!sleepRecord.noteFile().isEmpty())
        reportWrite(writeNote());
}

void TimeTracker::leaveNote()
{
    saveNote();
}

// ---- the sleep grid ---------------------------------------------------------

void TimeTracker::clearSleepGrid()
{
    sleepChart->setQuiet(true);
    SleepRecord::clearSleepGrid(sleepGrid);
    sleepChart->setQuiet(false);
}

void TimeTracker::buildSleepGrid(double first)
{
    sleepChart->setQuiet(true);
    sleepRecord.fillSleepGrid(sleepGrid, dateGrid, DayNumber::wholeDay(first));
    timeGrid.setCell(0, 0, tr("Time Spent"));
    const QStringList hours = hourLabels();
    for (int r = 0; r < hours.size(); ++r)
        timeGrid.setCell(0, r + 1, hours.at(r));
    placeSleepGrids();
    // The cursor starts on the bound day, without marking anything.
    const int column = qBound(1, DayNumber::wholeDay(sleepRecord.selectedDate()) - sleepRecord.firstDate() + 1, kGridDays);
    sleepGrid.setCurrentCell(column, 1);
    sleepChart->setQuiet(false);
    sleepChart->viewport()->update();
    dateChart->viewport()->update();
}

double TimeTracker::dayHours(int column) const
{
    return SleepRecord::dayHours(sleepGrid, column);
}

void TimeTracker::toggleSleepSlot(int column, int row)
{
    const SleepRecord::Toggle toggle = sleepRecord.toggleSlot(sleepGrid, column, row);
    if (!toggle.valid)
        return;
    const double selected = sleepRecord.selectedDate();
    Q_EMIT selectedDateChanged(selected);
    timeLabel->setText(formatDateTime(QStringLiteral("mmm d, yyyy"), selected) + tr(" Time Total: "));
    timeLabel->adjustSize();
    recentTotalsLabel->setText(tr("Last 7 days: ") + formatFloat(QStringLiteral("0.0"), toggle.last7) + tr(" hours")
                     + tr("   30 days : ") + formatFloat(QStringLiteral("0.0"), toggle.last30) + tr(" hours"));
    recentTotalsLabel->adjustSize();
    saveTracker();
    dateLabel->setText(formatDateTime(QStringLiteral("dddddd"), selected));
    sleepLabel->setText(formatFloat(QStringLiteral("0.0"), toggle.hours) + tr(" hours"));
    sleepLabel->adjustSize();
    sleepChart->setToolTip(slotLabel(row) + QStringLiteral(" - ") + slotLabel(row + 1));
    sleepChart->viewport()->update();
    loadNote(selected);
    dateChart->viewport()->update();
}

void TimeTracker::drawSleepCell(QPainter *painter, const QRect &rect, int row, int column) const
{
    // The cell proper; the pixel row below it is the line between rows.
    const QRect cell = rect.adjusted(0, 0, -1, -1);
    painter->fillRect(rect, row == 0 ? kSleepFixed : Qt::white);
    painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), kRowLine);
    const QString text = sleepGrid.cell(column, row);
    if (column >= 1 && row >= 1 && column % 2 == 1)
        painter->fillRect(cell, kOddColumn);
    if (text == QLatin1String(" "))
        painter->fillRect(cell.adjusted(0, -1, 0, 1), kMarked);
    if (row == 0 && !text.isEmpty()) {
        painter->setPen(Qt::black);
        painter->drawText(cell.adjusted(1, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    const int date = columnDate(column);
    const int today = m_services.clock->todayDayNumber();
    const QDate day = DayNumber::toDate(date);
    if (column >= 1 && (date == today || (day.isValid() && day.dayOfWeek() == Qt::Monday))) {
        painter->setPen(QPen(kDayLine, 1));
        painter->drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
    }
    if (row == 8 && column >= 1) {
        painter->setPen(QPen(kMidnight, 1));
        painter->drawLine(cell.left() - 1, cell.bottom(), cell.right() + 1, cell.bottom());
    }
    // A range dragged or extended with Shift stays highlighted, and the
    // keyboard's cell is framed while the grid has the focus.
    const QModelIndex index = sleepGrid.index(row, column);
    const QItemSelectionModel *selection = sleepChart->selectionModel();
    if (selection && selection->isSelected(index)) {
        qsizetype selected = 0;
        for (const QItemSelectionRange &range : selection->selection())
            selected += qsizetype(range.width()) * range.height();
        if (selected > 1)
            painter->fillRect(cell, kRangeHighlight);
    }
    if (sleepChart->hasFocus() && selection && selection->currentIndex() == index) {
        painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

void TimeTracker::drawDateCell(QPainter *painter, const QRect &rect, int row, int column) const
{
    const QRect grown = rect.adjusted(-1, -1, 1, 1);
    painter->fillRect(grown, kDateCell);
    painter->setPen(Qt::black);
    painter->drawText(grown.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      dateGrid.cell(column, row));
    if (sleepRecord.isLoaded() || !sleepRecord.yearFile().isEmpty()) {
        if (sleepRecord.firstDate() + column == DayNumber::wholeDay(sleepRecord.selectedDate())) {
            painter->setPen(QPen(kSelectedFrame, 2));
            painter->drawLine(grown.left() + 1, grown.top(), grown.left() + 1, grown.bottom());
            painter->drawLine(grown.right() - 2, grown.top(), grown.right() - 2, grown.bottom());
        }
    }
}

void TimeTracker::drawTimeCell(QPainter *painter, const QRect &rect, int row, int column) const
{
    painter->fillRect(rect, row == 0 ? kTimeFixed : Qt::white);
    painter->setPen(Qt::black);
    painter->drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      timeGrid.cell(column, row));
}

// ---- pages -----------------------------------------------------------------

void TimeTracker::showSleepGrid()
{
    pageStack->setCurrentIndex(1);
}

void TimeTracker::showSleepGraph()
{
    pageStack->setCurrentIndex(4);
    showWeekChart(sleepRecord.selectedDate());
}
