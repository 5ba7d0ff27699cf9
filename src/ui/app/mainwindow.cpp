#include "ui/app/mainwindow.h"

#include "ui/app/autosave.h"
#include "ui/app/filechangewatcher.h"
#include "ui/app/keyboardaccess.h"
#include "ui/calendar/datecommitter.h"
#include "ui/calendar/datepicker.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/daynumber.h"
#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "core/datafolder/datafolder.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/platform/printing.h"
#include "ui/printing/pageprintjob.h"
#include "ui/grid/stringgridview.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"
#include "ui/projects/projectssection.h"
#include "core/snapshots/snapshotrestore.h"
#include "ui/snapshots/snapshotkeeper.h"
#include "ui/snapshots/snapshotsdialog.h"
#include "ui/search/searchnavigator.h"
#include "ui/search/searchpanel.h"
#include "core/search/searchindex.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kBarHeight = 75;
constexpr int kDesignClientWidth = 860;
constexpr int kDesignClientHeight = 628;
// Distance of ">" from the bar's right edge (anchored top-right).
constexpr int kRightArrowOffset = kDesignClientWidth - 828;
const QColor kCaptionColor(0xFF, 0x80, 0x80);

} // namespace

MainWindow::MainWindow(const Services &services, const StartOptions &options, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_options(options)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lumora"));
    setWindowIcon(svgIcon(QStringLiteral(":/icons/vellumark.svg")));
    setFont(pixelFont(QStringLiteral("Arial"), 12));
    setWindowColor(this, Qt::white);

    m_central = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_central.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(m_central.get());

    createTopBar();
    // The picker shows the start day from the first moment, not the
    // control's default date until the start-up step runs.
    setPickerDate(startDayNumber());
    createPages();
    createMenus();
    new KeyboardAccess(this);
    auto *printKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    printKey->setObjectName(QStringLiteral("PrintShortcut"));
    connect(printKey, &QShortcut::activated, this, &MainWindow::printShownPage);
    layout->addWidget(m_bar);
    layout->addWidget(m_sections, 1);

    resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }

    m_startupTimer = new QTimer(this);
    m_startupTimer->setObjectName(QStringLiteral("Timer1"));
    m_startupTimer->setInterval(1000);
    m_startupTimer->setSingleShot(true);
    connect(m_startupTimer, &QTimer::timeout, this, &MainWindow::runStartup);
    m_startupTimer->start();
}

MainWindow::~MainWindow()
{
    // The columns are closed without saving or reporting anything; the
    // members then go in the order of their declaration, reversed.
    if (m_dataFolder)
        m_dataFolder->storedFiles().setConflictListener({});
    if (m_week)
        m_week->destroyColumns();
}

void MainWindow::createTopBar()
{
    m_bar = new SvgPicture(QStringLiteral(":/icons/bar.svg"));
    m_bar->setObjectName(QStringLiteral("bar"));
    m_bar->setFixedHeight(kBarHeight);
    m_bar->installEventFilter(this);

    auto arrow = [this](const QString &name, const QString &text, const QString &spoken) {
        auto *button = new QToolButton(m_bar);
        button->setObjectName(name);
        button->setText(text);
        button->setAccessibleName(spoken);
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 32));
        button->setStyleSheet(QStringLiteral("QToolButton { color: #FF8080; background: transparent;"
                                             " border: none; }"
                                             "QToolButton:focus { border: 1px dotted #FF8080; }"));
        return button;
    };
    m_previousDayButton = arrow(QStringLiteral("Left"), QStringLiteral("<"), tr("Previous day"));
    m_previousDayButton->setToolTip(tr("One day back (Alt+Left)"));
    m_previousDayButton->setGeometry(16, 16, 30, 40);
    connect(m_previousDayButton, &QToolButton::clicked, this, &MainWindow::moveWeekBack);

    struct SectionButton
    {
        QToolButton **button;
        QLabel **label;
        const char *name;
        const char *labelName;
        const char *resource;
        QString caption;
        QRect geometry;
        QPoint labelAt;
        void (MainWindow::*handler)();
        const char *shortcut;
    };
    const SectionButton sectionButtons[] = {
        {&m_calendarButton, &m_calendarCaption, "Image1", "SHoppingList_Label", ":/icons/calendar.svg",
         tr("Calendar"), QRect(53, 10, 49, 49), QPoint(52, 50), &MainWindow::showCalendar, "Ctrl+1"},
        {&m_projectsButton, &m_projectsCaption, "Image2", "Label1", ":/icons/projects.svg", tr("Projects"),
         QRect(104, 6, 57, 49), QPoint(108, 50), &MainWindow::showProjects, "Ctrl+2"},
        {&m_listsButton, &m_listsCaption, "btnGoals", "Label8", ":/icons/lists.svg", tr("My Lists"),
         QRect(160, 6, 41, 49), QPoint(164, 50), &MainWindow::showLists, "Ctrl+3"},
        {&m_decisionsButton, &m_decisionsCaption, "Image4", "Label5", ":/icons/decisions.svg", tr("Decisions"),
         QRect(208, 6, 49, 49), QPoint(212, 50), &MainWindow::showDecisions, "Ctrl+4"},
    };
    for (const SectionButton &s : sectionButtons) {
        auto *button = new PictureButton(QString::fromLatin1(s.resource), s.caption, m_bar);
        button->setObjectName(QString::fromLatin1(s.name));
        button->setGeometry(s.geometry);
        // Leave room under the picture for its caption.
        button->setIconSize(QSize(s.geometry.width() - 8, s.geometry.height() - 14));
        button->setShortcut(QKeySequence(QString::fromLatin1(s.shortcut)));
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            s.caption, QKeySequence(QString::fromLatin1(s.shortcut)).toString(QKeySequence::NativeText)));
        connect(button, &QToolButton::clicked, this, s.handler);
        *s.button = button;

        auto *label = new QLabel(s.caption, m_bar);
        label->setObjectName(QString::fromLatin1(s.labelName));
        label->setFont(pixelFont(QStringLiteral("Arial"), 9));
        setTextColor(label, kCaptionColor);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->move(s.labelAt);
        label->adjustSize();
        *s.label = label;
    }

    m_datePicker = new DatePicker(m_bar);
    m_datePicker->setObjectName(QStringLiteral("Date_Picker"));
    m_datePicker->setAccessibleName(tr("Date"));
    m_datePicker->setCalendarPopup(true);
    m_datePicker->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    m_datePicker->setFont(pixelFont(QStringLiteral("Arial"), 16));
    // The picker names the week's first day; all seven days stay nameable.
    m_datePicker->setDateRange(DayNumber::toDate(WeekController::earliestFirstDay()),
                              DayNumber::toDate(WeekController::latestFirstDay()));
    m_datePicker->setGeometry(272, 24, 281, 26);
    // The week follows a date the user settled on, not every keystroke.
    m_pickerCommitter = new DateCommitter(m_datePicker);
    connect(m_pickerCommitter, &DateCommitter::dateCommitted, this, &MainWindow::showPickedWeek);

    m_nextDayButton = arrow(QStringLiteral("Right"), QStringLiteral(">"), tr("Next day"));
    m_nextDayButton->setToolTip(tr("One day forward (Alt+Right)"));
    m_nextDayButton->resize(30, 40);
    m_searchPanel = new SearchPanel(m_bar, this);
    m_searchNavigator = std::make_unique<SearchNavigator>(this);
    m_searchPanel->setEditorTexts([this] { return m_searchNavigator->editedTexts(); });
    connect(m_searchPanel, &SearchPanel::placeChosen, this,
            [this](const SearchHit &hit, const SearchQuery &query) { m_searchNavigator->goTo(hit, query); });
    placeNextDayButton();
    connect(m_nextDayButton, &QToolButton::clicked, this, &MainWindow::moveWeekForward);

    m_previousDayButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_nextDayButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));

    setTabOrder(m_previousDayButton, m_calendarButton);
    setTabOrder(m_calendarButton, m_projectsButton);
    setTabOrder(m_projectsButton, m_listsButton);
    setTabOrder(m_listsButton, m_decisionsButton);
    setTabOrder(m_decisionsButton, m_datePicker);
    setTabOrder(m_datePicker, m_nextDayButton);
}

void MainWindow::placeSearchField()
{
    // Between the date picker and ">", at most 240 px wide.
    const int right = m_nextDayButton->x() - 8;
    const int left = qMax(m_datePicker->geometry().right() + 16, right - 240);
    m_searchPanel->setFieldGeometry(QRect(left, 26, qMax(60, right - left), 24));
}

void MainWindow::createPages()
{
    m_sections = new QStackedWidget;
    m_sections->setObjectName(QStringLiteral("pg"));

    m_calendarPage = whitePanel(QStringLiteral("TabSheet1"), m_sections);
    // The columns are placed by hand: each is as wide as the week rule
    // says, and none of them may hold the window at a minimum width.
    m_calendarPage->installEventFilter(this);
    // Left to right: the tags 1..7. The hosts' object names are not in
    // column order: the sixth column's host bears the number 7, the
    // seventh's the number 6.
    const char *const hostNames[] = {"Panel1", "Panel2", "Panel3", "Panel4",
                                     "Panel5", "Panel7", "Panel6"};
    int tag = 0;
    for (const char *name : hostNames) {
        QWidget *host = whitePanel(QString::fromLatin1(name), m_calendarPage);
        host->setProperty("tag", ++tag);
        host->resize(110, host->height());
        m_dayColumnHosts.append(host);
    }
    packDayPanels();

    m_projectsPage = whitePanel(QStringLiteral("TabSheet2"), m_sections);
    m_emptyPage = whitePanel(QStringLiteral("TabSheet13"), m_sections);
    m_listsPage = whitePanel(QStringLiteral("TabSheet14"), m_sections);
    m_decisionsPage = whitePanel(QStringLiteral("TabSheet3"), m_sections);

    auto fill = [](QWidget *page, QWidget *panel) {
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(panel);
    };
    m_listsHost = whitePanel(QStringLiteral("pnlGoals"), m_listsPage);
    fill(m_listsPage, m_listsHost);
    m_decisionsHost = whitePanel(QStringLiteral("Decision_Panel"), m_decisionsPage);
    fill(m_decisionsPage, m_decisionsHost);
    auto *projectsLayout = new QVBoxLayout(m_projectsPage);
    projectsLayout->setContentsMargins(0, 0, 0, 0);
    createProjectsSection();

    for (QWidget *page : {m_calendarPage, m_projectsPage, m_emptyPage, m_listsPage, m_decisionsPage})
        m_sections->addWidget(page);
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addSeparator();
    QAction *printerSetup = file->addAction(tr("Printer Setup"), this, &MainWindow::showPrinterSetup);
    printerSetup->setObjectName(QStringLiteral("PrinterSetup1"));
    file->addSeparator();
    // The snapshots, with the state of the last one under them.
    QAction *snapshots = file->addAction(tr("Snapshots…"), this, &MainWindow::showSnapshots);
    snapshots->setObjectName(QStringLiteral("Snapshots1"));
    m_snapshotStatus = file->addAction(QString());
    m_snapshotStatus->setObjectName(QStringLiteral("SnapshotStatus1"));
    m_snapshotStatus->setEnabled(false);
    m_snapshotStatus->setVisible(false);
    file->addSeparator();
    QAction *exit = file->addAction(tr("Exit"), this, &MainWindow::exitProgram);
    exit->setObjectName(QStringLiteral("Exit1"));
    // Not QKeySequence::Quit: that is empty where the platform theme knows no quit key.
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    const struct
    {
        const char *name;
        QString caption;
        void (MainWindow::*handler)();
        QKeySequence::StandardKey key;
        bool separatorAfter;
    } items[] = {
        {"Undo1", tr("Undo"), &MainWindow::undoEdit, QKeySequence::Undo, true},
        {"Cut1", tr("&Cut"), &MainWindow::cutSelection, QKeySequence::Cut, false},
        {"Copy1", tr("&Copy"), &MainWindow::copySelection, QKeySequence::Copy, false},
        {"Paste1", tr("&Paste"), &MainWindow::pasteClipboard, QKeySequence::Paste, true},
        {"SelectAll1", tr("Select All"), &MainWindow::selectAllText, QKeySequence::SelectAll, true},
    };
    for (const auto &item : items) {
        QAction *action = edit->addAction(item.caption, this, item.handler);
        action->setObjectName(QString::fromLatin1(item.name));
        // The editors handle these keys themselves; the menu shows them.
        action->setShortcut(item.key);
        action->setShortcutContext(Qt::WidgetShortcut);
        if (item.separatorAfter)
            edit->addSeparator();
    }
    QAction *find = edit->addAction(tr("Find…"), this, &MainWindow::findText);
    find->setObjectName(QStringLiteral("Find1"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));

    QMenu *view = menuBar()->addMenu(tr("View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction *small = view->addAction(tr("Small Calendar"), this, &MainWindow::showSmallCalendar);
    small->setObjectName(QStringLiteral("SmallCalendar2"));

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    QAction *about = help->addAction(tr("About"));
    about->setObjectName(QStringLiteral("About1"));
}

void MainWindow::packDayPanels()
{
    int x = 0;
    for (QWidget *panel : std::as_const(m_dayColumnHosts)) {
        panel->setGeometry(x, 0, panel->width(), m_calendarPage->height());
        x += panel->width();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_calendarPage && event->type() == QEvent::Resize)
        packDayPanels();
    // The bar takes its width from the layout, which runs after the
    // window's own resize: ">" follows the bar itself.
    if (watched == m_bar && event->type() == QEvent::Resize)
        placeNextDayButton();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::placeNextDayButton()
{
    m_nextDayButton->move(qMax(0, m_bar->width() - kRightArrowOffset), 16);
    placeSearchField();
}

// ---- start-up ----------------------------------------------------------

double MainWindow::startDayNumber() const
{
    return dayNumberFor(m_options.dayArgument);
}

double MainWindow::dayNumberFor(const QString &dayArgument) const
{
    const QString argument = dayArgument.trimmed();
    const int today = m_services.clock->todayDayNumber();
    if (argument.isEmpty())
        return m_services.clock->nowDayNumber();
    bool ok = false;
    const qlonglong day = argument.toLongLong(&ok);
    // Not a whole number, or a day the picker cannot show: start on today.
    if (!ok || day < DayNumber::fromDate(m_datePicker->minimumDate())
        || day > DayNumber::fromDate(m_datePicker->maximumDate()))
        return today;
    return static_cast<double>(day);
}

void MainWindow::runStartup()
{
    m_startupTimer->stop();
    if (m_started || m_closing)
        return;

    // A restore of everything that a crash interrupted is finished (or
    // dropped) before anything reads the data folder.
    const Result restored = SnapshotRestore::finishInterruptedRestore(m_options.dataRoot);
    if (!restored)
        m_services.dialogs->error(this, restored.error);
    m_snapshots = std::make_unique<SnapshotKeeper>(m_options.dataRoot, m_options.backupDir, m_services.clock);
    m_snapshots->setBeforeRestore([this] {
        QStringList errors;
        if (saveEdits(&errors, true))
            return Result::success();
        return Result::failure(tr("%1\n\nNothing was restored, so that this text is not lost.")
                                   .arg(errors.join(QStringLiteral("\n\n"))));
    });
    connect(m_snapshots.get(), &SnapshotKeeper::dataReplaced, this, &MainWindow::reloadData);
    connect(m_snapshots.get(), &SnapshotKeeper::statusChanged, this, [this](const QString &status) {
        m_snapshotStatus->setText(status);
    });
    m_snapshotStatus->setText(m_snapshots->statusText());
    m_snapshotStatus->setVisible(true);
    m_fileChangeWatcher = new FileChangeWatcher(this);

    buildSections(startDayNumber());

    m_started = true;
    applyLayout();
    showMaximized();
    m_projectsSection->finishStartup();
    m_autoSave = new AutoSave(this, [this] { autoSaveEdits(); }, this);
    Q_EMIT startupFinished();
}

void MainWindow::buildSections(double firstDay)
{
    m_dataFolder = std::make_unique<DataFolder>(m_options.dataRoot, m_services.shell, *m_services.clock);
    m_dataFolder->removeUnfinishedWrites();
    // A write that finds its file changed elsewhere keeps the other version
    // as a copy; the user is told which, once the current event is done.
    m_dataFolder->storedFiles().setConflictListener([this](const QString &notice) {
        if (m_conflictNotices.isEmpty())
            QTimer::singleShot(0, this, &MainWindow::showConflictNotices);
        m_conflictNotices.append(notice);
    });
    // The search reads every note on a worker thread while the rest of the
    // start-up goes on; the window never waits for it. A restore of
    // everything brings a new data folder, and with it a new index.
    SearchIndex *previousIndex = m_searchIndex;
    m_searchIndex = new SearchIndex(SearchRoots::of(*m_dataFolder), this);
    m_searchPanel->setIndex(m_searchIndex);
    delete previousIndex;
    m_searchIndex->start();
    m_sections->setCurrentWidget(m_calendarPage);

    m_week = std::make_unique<WeekController>(m_dataFolder.get(), m_services, this);
    // The editors are made in the order of the numbers in the hosts' object
    // names (1 to 7): the week lists its columns, and their save failures,
    // in that order.
    for (const qsizetype host : {0, 1, 2, 3, 4, 6, 5}) {
        QWidget *panel = m_dayColumnHosts.at(host);
        m_week->addDayColumn(panel, panel->property("tag").toInt());
    }
    connect(m_week.get(), &WeekController::printRequested, this,
            [this](DayNoteColumn *editor) { printDayNote(m_services, this, editor); });
    connect(m_week.get(), &WeekController::shownFilesChanged, this,
            [this] { m_fileChangeWatcher->setFiles(QStringLiteral("week"), m_week->shownFiles()); });
    connect(m_fileChangeWatcher, &FileChangeWatcher::filesChanged, m_week.get(),
            &WeekController::followDiskChanges);
    connect(m_projectsSection, &ProjectsSection::shownFilesChanged, this,
            [this] { m_fileChangeWatcher->setFiles(QStringLiteral("projects"), m_projectsSection->shownFiles()); });
    connect(m_fileChangeWatcher, &FileChangeWatcher::filesChanged, m_projectsSection,
            &ProjectsSection::followDiskChanges);

    m_projectsSection->loadStartPages(m_dataFolder.get());

    m_listsWorkspace = std::make_unique<ListsWorkspace>(*m_dataFolder, m_services);
    m_decisionsWorkspace = std::make_unique<DecisionsWorkspace>(*m_dataFolder, m_services);
    for (TopicWorkspace *workspace : {static_cast<TopicWorkspace *>(m_listsWorkspace.get()),
                                      static_cast<TopicWorkspace *>(m_decisionsWorkspace.get())}) {
        const QString section = workspace == m_listsWorkspace.get() ? QStringLiteral("lists")
                                                                     : QStringLiteral("decisions");
        connect(workspace, &TopicWorkspace::shownFilesChanged, this,
                [this, workspace, section] { m_fileChangeWatcher->setFiles(section, workspace->shownFiles()); });
        connect(m_fileChangeWatcher, &FileChangeWatcher::filesChanged, workspace,
                &TopicWorkspace::followDiskChanges);
    }
    m_listsWorkspace->embedIn(m_listsHost);
    m_decisionsWorkspace->embedIn(m_decisionsHost);

    setPickerDate(firstDay);
    const Result shown = m_week->showWeekFrom(firstDay);
    showWeekInPicker();
    reportWeekError(shown);

    m_projectsSection->createTrackerAndDocuments();
}

void MainWindow::createProjectsSection()
{
    m_projectsSection = new ProjectsSection(m_services, m_projectsPage);
    m_projectsPage->layout()->addWidget(m_projectsSection);
    // A day clicked in the tracker moves the picker, not the week.
    connect(m_projectsSection, &ProjectsSection::trackerDaySelected, this, &MainWindow::setPickerDate);
}

void MainWindow::takeDailySnapshot()
{
    if (!m_snapshots || m_closing)
        return;
    // A window left open for days takes the next day's snapshot as well.
    if (!m_dailySnapshotTimer) {
        m_dailySnapshotTimer = new QTimer(this);
        m_dailySnapshotTimer->setInterval(60 * 60 * 1000);
        connect(m_dailySnapshotTimer, &QTimer::timeout, this, &MainWindow::takeDailySnapshot);
        m_dailySnapshotTimer->start();
    }
    if (!m_snapshots->takeDailySnapshot())
        return;
    // The day's snapshot runs unseen; only its failure is worth a word.
    connect(m_snapshots.get(), &SnapshotKeeper::snapshotFinished, this, [this](const Result &outcome) {
        // An open Snapshots window shows the failure itself; one that lasts
        // (a backups disk that is not there) is told once a day.
        const QDate today = m_services.clock->now().date();
        if (outcome || m_closing || m_snapshotsShown || m_snapshotFailureToldOn == today)
            return;
        m_snapshotFailureToldOn = today;
        m_services.dialogs->error(this, tr("No snapshot of the data folder could be taken today.\n\n%1").arg(outcome.error));
    }, Qt::SingleShotConnection);
}

void MainWindow::showSnapshots()
{
    if (!m_started || m_closing)
        return;
    SnapshotsDialog dialog(m_snapshots.get(), m_services.dialogs, this);
    m_snapshotsShown = true;
    m_services.dialogs->execForm(&dialog);
    m_snapshotsShown = false;
}

void MainWindow::reloadData()
{
    if (!m_started || m_closing || m_closed)
        return;
    m_reloading = true;
    // Nothing of the old sections may save while they go: the files under
    // them are the restored ones now.
    setFocus();
    QWidget *shownSection = m_sections->currentWidget();
    const double firstDay = m_week->firstDay();
    m_week->destroyColumns();
    m_week.reset();
    m_listsWorkspace.reset();
    m_decisionsWorkspace.reset();
    delete m_projectsSection;
    createProjectsSection();

    buildSections(firstDay);
    applyLayout();
    m_projectsSection->finishStartup();
    m_sections->setCurrentWidget(shownSection);
    // The widget that had the keyboard is gone: the shown section's button
    // takes it, so the keys work as soon as the window is back in front.
    QToolButton *sectionButton = shownSection == m_projectsPage ? m_projectsButton
                                 : shownSection == m_listsPage  ? m_listsButton
                                 : shownSection == m_decisionsPage ? m_decisionsButton
                                                                 : m_calendarButton;
    if (!focusWidget() || !focusWidget()->isVisible())
        sectionButton->setFocus();
    m_reloading = false;
}

void MainWindow::showRequestedDay(const QString &dayArgument)
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (dayArgument.trimmed().isEmpty() || m_closing || m_closed)
        return;
    if (!m_started) {
        m_options.dayArgument = dayArgument;
        setPickerDate(startDayNumber());
        return;
    }
    // A question or dialog is open: the code that opened it expects the
    // week to stay where it is.
    if (QApplication::activeModalWidget())
        return;
    const double day = dayNumberFor(dayArgument);
    setPickerDate(day);
    reportWeekError(m_week->showWeekFrom(day));
}

void MainWindow::setPickerDate(double dayNumber)
{
    m_pickerCommitter->cancelPending();
    const QSignalBlocker blocker(m_datePicker);
    m_datePicker->setDate(DayNumber::toDate(dayNumber));
}

// ---- layout ------------------------------------------------------------

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Back from another program, maybe one that changed a file shown here
    // on a file system that does not announce changes.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_fileChangeWatcher && !m_closing)
        m_fileChangeWatcher->checkNow();
}

void MainWindow::showConflictNotices()
{
    if (m_conflictNotices.isEmpty())
        return;
    const QString text = m_conflictNotices.join(QStringLiteral("\n\n"));
    m_conflictNotices.clear();
    m_services.dialogs->message(this, text);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void MainWindow::applyLayout()
{
    if (m_closing)
        return;
    // The figures count the window's outer size, title bar and frame
    // included.
    const QSize outer = frameGeometry().size().expandedTo(size());
    const int width = outer.width();
    const int height = outer.height();
    const int column = width / 7;
    if (m_week) {
        m_week->resizeDayColumns(column, height - 132);
        packDayPanels();
    }
    if (m_listsWorkspace)
        m_listsWorkspace->resizeTo(width, height - 170);
    if (m_decisionsWorkspace)
        m_decisionsWorkspace->resizeTo(width, height - 170);
    m_datePicker->move(qMax((width - m_datePicker->width()) / 2, 270), m_datePicker->y());
    placeNextDayButton();
}

// ---- sections and menus -------------------------------------------------

void MainWindow::showCalendar()
{
    m_sections->setCurrentWidget(m_calendarPage);
}

void MainWindow::showProjects()
{
    m_sections->setCurrentWidget(m_projectsPage);
    m_projectsSection->sectionEntered();
}

void MainWindow::showLists()
{
    m_sections->setCurrentWidget(m_listsPage);
}

void MainWindow::showDecisions()
{
    m_sections->setCurrentWidget(m_decisionsPage);
}

void MainWindow::printShownPage()
{
    if (!m_started)
        return;
    if (m_sections->currentWidget() == m_calendarPage && m_week && !m_week->columns().isEmpty()) {
        DayNoteColumn *editor = m_week->columns().first();
        for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (auto *focused = qobject_cast<DayNoteColumn *>(w)) {
                editor = focused;
                break;
            }
        }
        editor->requestPrint();
    } else if (m_sections->currentWidget() == m_projectsPage && m_projectsSection
               && m_projectsSection->canPrintShownPage()) {
        m_projectsSection->printShownPage();
    }
}

void MainWindow::showPrinterSetup()
{
    m_services.printing->setUpPrinter(this);
}

void MainWindow::showSmallCalendar()
{
    // A maximised window ignores a new size; make it a normal window first.
    if (isMaximized())
        showNormal();
    const QSize frame = frameGeometry().size() - size();
    move(x(), 5);
    resize(770 - frame.width(), 550 - frame.height());
}

QWidget *MainWindow::focusedEditor() const
{
    QWidget *focus = QApplication::focusWidget();
    if (qobject_cast<QPlainTextEdit *>(focus) || qobject_cast<QTextEdit *>(focus)
        || qobject_cast<QLineEdit *>(focus))
        return focus;
    return nullptr;
}

namespace {
template<typename Op>
void onEditor(QWidget *widget, Op op)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        op(plain);
    else if (auto *rich = qobject_cast<QTextEdit *>(widget))
        op(rich);
    else if (auto *line = qobject_cast<QLineEdit *>(widget))
        op(line);
}
} // namespace

void MainWindow::findText()
{
    m_searchPanel->activate();
}

void MainWindow::undoEdit()
{
    onEditor(focusedEditor(), [](auto *e) { e->undo(); });
}

void MainWindow::cutSelection()
{
    onEditor(focusedEditor(), [](auto *e) { e->cut(); });
}

void MainWindow::copySelection()
{
    onEditor(focusedEditor(), [](auto *e) { e->copy(); });
}

void MainWindow::pasteClipboard()
{
    onEditor(focusedEditor(), [](auto *e) { e->paste(); });
}

void MainWindow::selectAllText()
{
    onEditor(focusedEditor(), [](auto *e) { e->selectAll(); });
}

// ---- week navigation ----------------------------------------------------

void MainWindow::reportWeekError(const Result &moved)
{
    if (!moved)
        m_services.dialogs->error(this, moved.error);
}

void MainWindow::showWeekInPicker()
{
    // Setting the same date again would move the cursor of a user still
    // typing in the picker.
    if (m_datePicker->date() != DayNumber::toDate(m_week->firstDay()))
        setPickerDate(m_week->firstDay());
    else
        m_pickerCommitter->cancelPending();
}

void MainWindow::moveWeekBack()
{
    if (!m_week)
        return;
    const Result moved = m_week->moveBy(-1);
    showWeekInPicker();
    reportWeekError(moved);
}

void MainWindow::moveWeekForward()
{
    if (!m_week)
        return;
    const Result moved = m_week->moveBy(1);
    showWeekInPicker();
    reportWeekError(moved);
}

void MainWindow::showPickedWeek()
{
    if (!m_week)
        return;
    const Result moved = m_week->showWeekFrom(DayNumber::fromDate(m_datePicker->date()));
    // A failed move leaves the week where it was: so does the picker.
    showWeekInPicker();
    reportWeekError(moved);
}

// ---- closing ------------------------------------------------------------

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (handleCloseRequest())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::handleCloseRequest()
{
    if (m_closed)
        return true;
    // Nothing was loaded yet, so there is nothing to save.
    if (!m_started) {
        m_startupTimer->stop();
        m_closed = true;
        return true;
    }
    // A restore in progress finishes first: what it swaps in is what the
    // close sequence must see.
    if (m_snapshots && m_snapshots->restoring())
        m_snapshots->waitForIdle();
    return saveAndClose();
}

bool MainWindow::saveAndClose()
{
    // The project list, the pages and the ledger: one question for all
    // the files that could not be saved.
    const Result projectsSaved = m_projectsSection->saveAtClose();
    if (!projectsSaved
        && !m_services.dialogs->yesNo(
            this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.").arg(projectsSaved.error)))
        return false;
    // The tracker's edited note and alarm lists (a ticked or unticked alarm).
    const Result trackerSaved = m_projectsSection->saveTrackerEdits();
    if (!trackerSaved
        && !m_services.dialogs->yesNo(
            this, tr("%1\n\nClose anyway? The changes that could not be saved will be lost.").arg(trackerSaved.error)))
        return false;
    m_closing = true;
    if (m_week) {
        const Result saved = m_week->saveAllNotes();
        if (!saved) {
            const bool leave = m_services.dialogs->yesNo(
                this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.").arg(saved.error));
            if (!leave) {
                m_closing = false;
                return false;
            }
        }
    }
    if (!closeTopicWorkspaces()) {
        m_closing = false;
        return false;
    }
    if (m_week)
        m_week->destroyColumns();
    m_listsWorkspace.reset();
    m_decisionsWorkspace.reset();
    // The close sequence's own writes may have kept conflict copies.
    showConflictNotices();
    m_closed = true;
    QCoreApplication::quit();
    return true;
}

bool MainWindow::saveEdits(QStringList *errors, bool finishOpenEdits)
{
    // A restore that is swapping folders ends first; the window then
    // shows (and saves into) what it put there.
    if (m_snapshots && m_snapshots->restoring())
        m_snapshots->waitForIdle();
    if (!m_started || m_closed || m_reloading)
        return true;
    const qsizetype before = errors->size();
    // The project list, the pages and the ledger. Saving the ledger ends an
    // edit open in one of its cells: typing there goes on undisturbed and
    // the section is saved after the next pause once the cell is left.
    if (finishOpenEdits || !m_projectsSection->ledgerCellIsOpen()) {
        const Result projectsSaved = m_projectsSection->saveAtClose();
        if (!projectsSaved)
            errors->append(projectsSaved.error);
    }
    const Result trackerSaved = m_projectsSection->saveTrackerEdits();
    if (!trackerSaved)
        errors->append(trackerSaved.error);
    if (m_week) {
        const Result notesSaved = m_week->saveAllNotes();
        if (!notesSaved)
            errors->append(notesSaved.error);
    }
    for (TopicWorkspace *workspace : {static_cast<TopicWorkspace *>(m_listsWorkspace.get()),
                                      static_cast<TopicWorkspace *>(m_decisionsWorkspace.get())}) {
        if (!workspace)
            continue;
        const WriteResult stored = workspace->storeAll();
        if (!stored)
            errors->append(stored.error);
    }
    return errors->size() == before;
}

void MainWindow::autoSaveEdits()
{
    // A restore is changing the files; what it replaces was saved before.
    if (!m_started || m_closing || m_closed || m_reloading || (m_snapshots && m_snapshots->restoring()))
        return;
    QStringList errors;
    if (saveEdits(&errors, false)) {
        m_autoSaveReported.clear();
        return;
    }
    const QString failure = errors.join(QStringLiteral("\n\n"));
    // A failure that lasts is told once, not after every pause.
    if (failure == m_autoSaveReported)
        return;
    m_autoSaveReported = failure;
    m_services.dialogs->error(
        this, tr("%1\n\nThe text stays in the window; it is saved as soon as that can be done.").arg(failure));
}

bool MainWindow::saveAndEnd(QStringList *errors)
{
    const bool saved = saveEdits(errors, true);
    m_closing = true;
    m_closed = true;
    m_startupTimer->stop();
    // Leaves every event loop, also that of a dialog that is open: the
    // code waiting on it returns first, and no new dialog waits for an
    // answer any more.
    QCoreApplication::exit(saved ? 0 : 1);
    return saved;
}

bool MainWindow::commitDataForSessionEnd(bool userCanBeAsked)
{
    QStringList errors;
    if (!saveEdits(&errors, true) && userCanBeAsked) {
        m_services.dialogs->error(
            this, tr("%1\n\nThe session was not ended, so that this text is not lost. Make room or "
                     "fix the folder, then log out again.")
                      .arg(errors.join(QStringLiteral("\n\n"))));
        return false;
    }
    errors.clear();
    saveAndEnd(&errors);
    return true;
}

// Stores the open topic and the topic list of both workspaces; false when
// something could not be written and the user keeps the window open.
bool MainWindow::closeTopicWorkspaces()
{
    for (TopicWorkspace *workspace : {static_cast<TopicWorkspace *>(m_listsWorkspace.get()),
                                      static_cast<TopicWorkspace *>(m_decisionsWorkspace.get())}) {
        if (!workspace)
            continue;
        const WriteResult closed = workspace->storeAll();
        if (!closed
            && !m_services.dialogs->yesNo(
                this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.")
                          .arg(closed.error)))
            return false;
    }
    return true;
}
