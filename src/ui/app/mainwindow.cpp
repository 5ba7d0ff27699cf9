#include "ui/app/mainwindow.h"

#include "ui/app/autosave.h"
#include "ui/app/keyboardaccess.h"
#include "ui/calendar/datecommitter.h"
#include "ui/calendar/pickercursorkeeper.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/daynumber.h"
#include "ui/common/fonts.h"
#include "ui/common/pictures.h"
#include "core/datafolder/datafolder.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/platform/printing.h"
#include "ui/printing/pageprintjob.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/documentscommands.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/tracker/timetracker.h"

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

QWidget *whitePanel(const QString &name, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
    return panel;
}

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
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    createTopBar();
    // The picker shows the start day from the first moment, not the
    // control's default date until the start-up step runs.
    setPickerDate(startDayNumber());
    createPages();
    createMenus();
    createLedger();
    new KeyboardAccess(this);
    auto *printKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    printKey->setObjectName(QStringLiteral("PrintShortcut"));
    connect(printKey, &QShortcut::activated, this, &MainWindow::printShown);
    layout->addWidget(bar);
    layout->addWidget(pg, 1);

    resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    Timer1->start();
}

MainWindow::~MainWindow()
{
    if (Week)
        Week->destroyEditors();
    delete Week;
    delete dataFolder;
}

void MainWindow::createTopBar()
{
    bar = new SvgPicture(QStringLiteral(":/icons/bar.svg"));
    bar->setObjectName(QStringLiteral("bar"));
    bar->setFixedHeight(kBarHeight);
    bar->installEventFilter(this);

    auto arrow = [this](const QString &name, const QString &text, const QString &spoken) {
        auto *button = new QToolButton(bar);
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
    Left = arrow(QStringLiteral("Left"), QStringLiteral("<"), tr("Previous day"));
    Left->setToolTip(tr("One day back (Alt+Left)"));
    Left->setGeometry(16, 16, 30, 40);
    connect(Left, &QToolButton::clicked, this, &MainWindow::leftClick);

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
    const SectionButton sections[] = {
        {&Image1, &shoppingListLabel, "Image1", "SHoppingList_Label", ":/icons/calendar.svg",
         tr("Calendar"), QRect(53, 10, 49, 49), QPoint(52, 50), &MainWindow::Image1Click, "Ctrl+1"},
        {&Image2, &Label1, "Image2", "Label1", ":/icons/projects.svg", tr("Projects"),
         QRect(104, 6, 57, 49), QPoint(108, 50), &MainWindow::Image2Click, "Ctrl+2"},
        {&btnGoals, &Label8, "btnGoals", "Label8", ":/icons/lists.svg", tr("My Lists"),
         QRect(160, 6, 41, 49), QPoint(164, 50), &MainWindow::btnGoalsClick, "Ctrl+3"},
        {&Image4, &Label5, "Image4", "Label5", ":/icons/decisions.svg", tr("Decisions"),
         QRect(208, 6, 49, 49), QPoint(212, 50), &MainWindow::Image4Click, "Ctrl+4"},
    };
    for (const SectionButton &s : sections) {
        auto *button = new PictureButton(QString::fromLatin1(s.resource), s.caption, bar);
        button->setObjectName(QString::fromLatin1(s.name));
        button->setGeometry(s.geometry);
        // Leave room under the picture for its caption.
        button->setIconSize(QSize(s.geometry.width() - 8, s.geometry.height() - 14));
        button->setShortcut(QKeySequence(QString::fromLatin1(s.shortcut)));
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            s.caption, QKeySequence(QString::fromLatin1(s.shortcut)).toString(QKeySequence::NativeText)));
        connect(button, &QToolButton::clicked, this, s.handler);
        *s.button = button;

        auto *label = new QLabel(s.caption, bar);
        label->setObjectName(QString::fromLatin1(s.labelName));
        label->setFont(pixelFont(QStringLiteral("Arial"), 9));
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, kCaptionColor);
        label->setPalette(pal);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->move(s.labelAt);
        label->adjustSize();
        *s.label = label;
    }

    datePicker = new QDateEdit(bar);
    datePicker->setObjectName(QStringLiteral("Date_Picker"));
    datePicker->setAccessibleName(tr("Date"));
    datePicker->setCalendarPopup(true);
    datePicker->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    datePicker->setFont(pixelFont(QStringLiteral("Arial"), 16));
    // The picker names the week's first day; all seven days stay nameable.
    datePicker->setDateRange(DayNumber::toDate(WeekController::earliestFirstDay()),
                              DayNumber::toDate(WeekController::latestFirstDay()));
    datePicker->setGeometry(272, 24, 281, 26);
    // The week follows a date the user settled on, not every keystroke.
    m_pickerCommitter = new DateCommitter(datePicker);
    new PickerCursorKeeper(datePicker);
    connect(m_pickerCommitter, &DateCommitter::dateCommitted, this, &MainWindow::datePickerChange);

    Right = arrow(QStringLiteral("Right"), QStringLiteral(">"), tr("Next day"));
    Right->setToolTip(tr("One day forward (Alt+Right)"));
    Right->resize(30, 40);
    placeRightArrow();
    connect(Right, &QToolButton::clicked, this, &MainWindow::rightClick);

    Left->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    Right->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));

    setTabOrder(Left, Image1);
    setTabOrder(Image1, Image2);
    setTabOrder(Image2, btnGoals);
    setTabOrder(btnGoals, Image4);
    setTabOrder(Image4, datePicker);
    setTabOrder(datePicker, Right);
}

void MainWindow::createPages()
{
    pg = new QStackedWidget;
    pg->setObjectName(QStringLiteral("pg"));

    TabSheet1 = whitePanel(QStringLiteral("TabSheet1"), pg);
    // The columns are placed by hand: each is as wide as the week rule
    // says, and none of them may hold the window at a minimum width.
    TabSheet1->installEventFilter(this);
    // Left to right: the tags 1..7; Panel6 and Panel7 are swapped by name.
    const struct
    {
        QWidget **panel;
        const char *name;
        int tag;
    } panels[] = {{&Panel1, "Panel1", 1}, {&Panel2, "Panel2", 2}, {&Panel3, "Panel3", 3},
                  {&Panel4, "Panel4", 4}, {&Panel5, "Panel5", 5}, {&Panel7, "Panel7", 6},
                  {&Panel6, "Panel6", 7}};
    for (const auto &p : panels) {
        QWidget *panel = whitePanel(QString::fromLatin1(p.name), TabSheet1);
        panel->setProperty("tag", p.tag);
        panel->resize(110, panel->height());
        *p.panel = panel;
    }
    packDayPanels();

    TabSheet2 = whitePanel(QStringLiteral("TabSheet2"), pg);
    TabSheet13 = whitePanel(QStringLiteral("TabSheet13"), pg);
    TabSheet14 = whitePanel(QStringLiteral("TabSheet14"), pg);
    TabSheet3 = whitePanel(QStringLiteral("TabSheet3"), pg);

    auto fill = [](QWidget *page, QWidget *panel) {
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(panel);
    };
    pnlGoals = whitePanel(QStringLiteral("pnlGoals"), TabSheet14);
    fill(TabSheet14, pnlGoals);
    decisionPanel = whitePanel(QStringLiteral("Decision_Panel"), TabSheet3);
    fill(TabSheet3, decisionPanel);
    projectsSection = new ProjectsSection(m_services, TabSheet2);
    fill(TabSheet2, projectsSection);

    for (QWidget *page : {TabSheet1, TabSheet2, TabSheet13, TabSheet14, TabSheet3})
        pg->addWidget(page);
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addSeparator();
    QAction *printerSetup = file->addAction(tr("Printer Setup"), this, &MainWindow::PrinterSetup1Click);
    printerSetup->setObjectName(QStringLiteral("PrinterSetup1"));
    file->addSeparator();
    QAction *exit = file->addAction(tr("Exit"), this, &MainWindow::Exit1Click);
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
        {"Undo1", tr("Undo"), &MainWindow::Undo1Click, QKeySequence::Undo, true},
        {"Cut1", tr("&Cut"), &MainWindow::Cut1Click, QKeySequence::Cut, false},
        {"Copy1", tr("&Copy"), &MainWindow::Copy1Click, QKeySequence::Copy, false},
        {"Paste1", tr("&Paste"), &MainWindow::Paste1Click, QKeySequence::Paste, true},
        {"SelectAll1", tr("Select All"), &MainWindow::SelectAll1Click, QKeySequence::SelectAll, false},
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

    QMenu *view = menuBar()->addMenu(tr("View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction *small = view->addAction(tr("Small Calendar"), this, &MainWindow::SmallCalendar2Click);
    small->setObjectName(QStringLiteral("SmallCalendar2"));

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    QAction *about = help->addAction(tr("About"));
    about->setObjectName(QStringLiteral("About1"));
}

void MainWindow::packDayPanels()
{
    QList<QWidget *> panels{Panel1, Panel2, Panel3, Panel4, Panel5, Panel7, Panel6};
    int x = 0;
    for (QWidget *panel : panels) {
        panel->setGeometry(x, 0, panel->width(), TabSheet1->height());
        x += panel->width();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TabSheet1 && event->type() == QEvent::Resize)
        packDayPanels();
    // The bar takes its width from the layout, which runs after the
    // window's own resize: ">" follows the bar itself.
    if (watched == bar && event->type() == QEvent::Resize)
        placeRightArrow();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::createLedger()
{
    // The Costs page of the project notebook offers "moneyHost"; until
    // the notebook is there the ledger fills the Projects section.
    QWidget *host = TabSheet2->findChild<QWidget *>(QStringLiteral("moneyHost"));
    if (!host)
        host = TabSheet2;
    Ledger = new CostLedgerWidget(m_services, host);
    QLayout *layout = host->layout();
    if (!layout) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(Ledger);
    // The ledger switches and saves with the project pages, all or nothing.
    projectsSection->attachLedger(Ledger);
    connect(Ledger, &CostLedgerWidget::projectFolderRequested, this, [this] {
        if (!dataFolder)
            return;
        const QString owner = Ledger->ownerName();
        dataFolder->OpenFolder(owner.isEmpty() ? dataFolder->ProjectsDir
                                               : dataFolder->ProjectsDir + owner + QLatin1Char('/'));
    });
}

void MainWindow::placeRightArrow()
{
    Right->move(qMax(0, bar->width() - kRightArrowOffset), 16);
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
    if (!ok || day < DayNumber::fromDate(datePicker->minimumDate())
        || day > DayNumber::fromDate(datePicker->maximumDate()))
        return today;
    return static_cast<double>(day);
}

void MainWindow::Timer1Timer()
{
    Timer1->stop();
    if (m_started || Closing)
        return;

    dataFolder = new DataFolder(m_options.dataRoot, m_services.shell);
    dataFolder->removeUnfinishedWrites();
    Ledger->setProjectsDir(dataFolder->ProjectsDir);
    pg->setCurrentWidget(TabSheet1);

    Week = new WeekController(dataFolder, m_services, this);
    for (QWidget *panel : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6, Panel7})
        Week->addDayEditor(panel, panel->property("tag").toInt());
    connect(Week, &WeekController::printRequested, this,
            [this](DayNoteColumn *editor) { printDayNote(m_services, this, editor); });

    projectsSection->loadStartPages(dataFolder);

    Journal = new ListsWorkspace(*dataFolder, m_services);
    Journal->embedIn(pnlGoals);
    Decision = new DecisionsWorkspace(*dataFolder, m_services);
    Decision->embedIn(decisionPanel);

    const double start = startDayNumber();
    setPickerDate(start);
    QString error;
    const bool shown = Week->showWeekFrom(start, &error);
    showWeekInPicker();
    reportWeekError(shown, error);

    createTimeTracker();
    Documents = new DocumentsCommands(projectsSection, dataFolder, m_services);

    m_started = true;
    formResize();
    showMaximized();
    projectsSection->loadDepartments();
    Ledger->setLedgerHeadings();
    m_autoSave = new AutoSave(this, [this] { autoSaveEdits(); }, this);
    Q_EMIT startupFinished();
}

void MainWindow::showRequestedDay(const QString &dayArgument)
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (dayArgument.trimmed().isEmpty() || Closing || m_closed)
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
    QString error;
    reportWeekError(Week->showWeekFrom(day, &error), error);
}

void MainWindow::createTimeTracker()
{
    ProjectNotebook *notebook = projectsSection->pgProject;
    timeTrack = new TimeTracker(dataFolder, m_services);
    timeTrack->embedIn(notebook->pnlTimeTrack);
    connect(projectsSection, &ProjectsSection::trackerBindRequested, timeTrack, &TimeTracker::loadDay);
    connect(notebook->btnChart, &QToolButton::clicked, timeTrack, &TimeTracker::showSleepGrid);
    connect(notebook->btnGraph, &QToolButton::clicked, timeTrack, &TimeTracker::showSleepGraph);
    connect(notebook->btnBed, &QToolButton::clicked, timeTrack, &TimeTracker::showBedPage);
    connect(notebook->btnFeed, &QToolButton::clicked, timeTrack, &TimeTracker::showFeedPage);
    connect(notebook->btnReport, &QToolButton::clicked, timeTrack, &TimeTracker::showSleepReport);
    connect(notebook->btnPrintReport, &QToolButton::clicked, timeTrack,
            &TimeTracker::printSleepReport);
    // A clicked day moves the picker, not the week.
    connect(timeTrack, &TimeTracker::selectedDateChanged, this, &MainWindow::setPickerDate);
    // The alarms ring from the start, before the "Time" page is opened.
    timeTrack->loadLastTrackedAlarms();
}

void MainWindow::setPickerDate(double dayNumber)
{
    m_pickerCommitter->cancelPending();
    const QSignalBlocker blocker(datePicker);
    datePicker->setDate(DayNumber::toDate(dayNumber));
}

// ---- layout ------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    formResize();
}

void MainWindow::formResize()
{
    if (Closing)
        return;
    // The figures count the window's outer size, title bar and frame
    // included.
    const QSize outer = frameGeometry().size().expandedTo(size());
    const int width = outer.width();
    const int height = outer.height();
    const int column = width / 7;
    if (Week) {
        Week->resizeDayEditors(column, height - 132);
        packDayPanels();
    }
    if (Journal)
        Journal->resizeTo(width, height - 170);
    if (Decision)
        Decision->resizeTo(width, height - 170);
    datePicker->move(qMax((width - datePicker->width()) / 2, 270), datePicker->y());
    placeRightArrow();
}

// ---- sections and menus -------------------------------------------------

void MainWindow::Image1Click()
{
    pg->setCurrentWidget(TabSheet1);
}

void MainWindow::Image2Click()
{
    pg->setCurrentWidget(TabSheet2);
    projectsSection->sectionEntered();
}

void MainWindow::btnGoalsClick()
{
    pg->setCurrentWidget(TabSheet14);
}

void MainWindow::Image4Click()
{
    pg->setCurrentWidget(TabSheet3);
}

void MainWindow::printShown()
{
    if (!m_started)
        return;
    if (pg->currentWidget() == TabSheet1 && Week && !Week->EditorList.isEmpty()) {
        DayNoteColumn *editor = Week->EditorList.first();
        for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (auto *focused = qobject_cast<DayNoteColumn *>(w)) {
                editor = focused;
                break;
            }
        }
        editor->printButtonClick();
    } else if (pg->currentWidget() == TabSheet2 && projectsSection
               && !projectsSection->printButton->isHidden()) {
        projectsSection->printButtonClick();
    }
}

void MainWindow::PrinterSetup1Click()
{
    if (m_services.printing)
        m_services.printing->setUpPrinter(this);
}

void MainWindow::SmallCalendar2Click()
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

void MainWindow::Undo1Click()
{
    onEditor(focusedEditor(), [](auto *e) { e->undo(); });
}

void MainWindow::Cut1Click()
{
    onEditor(focusedEditor(), [](auto *e) { e->cut(); });
}

void MainWindow::Copy1Click()
{
    onEditor(focusedEditor(), [](auto *e) { e->copy(); });
}

void MainWindow::Paste1Click()
{
    onEditor(focusedEditor(), [](auto *e) { e->paste(); });
}

void MainWindow::SelectAll1Click()
{
    onEditor(focusedEditor(), [](auto *e) { e->selectAll(); });
}

// ---- week navigation ----------------------------------------------------

void MainWindow::reportWeekError(bool ok, const QString &error)
{
    if (!ok)
        m_services.dialogs->error(this, error);
}

void MainWindow::showWeekInPicker()
{
    // Setting the same date again would move the cursor of a user still
    // typing in the picker.
    if (datePicker->date() != DayNumber::toDate(Week->firstDay()))
        setPickerDate(Week->firstDay());
    else
        m_pickerCommitter->cancelPending();
}

void MainWindow::leftClick()
{
    if (!Week)
        return;
    QString error;
    const bool moved = Week->moveBy(-1, &error);
    showWeekInPicker();
    reportWeekError(moved, error);
}

void MainWindow::rightClick()
{
    if (!Week)
        return;
    QString error;
    const bool moved = Week->moveBy(1, &error);
    showWeekInPicker();
    reportWeekError(moved, error);
}

void MainWindow::datePickerChange()
{
    if (!Week)
        return;
    QString error;
    const bool moved = Week->showWeekFrom(DayNumber::fromDate(datePicker->date()), &error);
    // A failed move leaves the week where it was: so does the picker.
    showWeekInPicker();
    reportWeekError(moved, error);
}

// ---- closing ------------------------------------------------------------

void MainWindow::Exit1Click()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (formCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::formCloseQuery()
{
    if (m_closed)
        return true;
    // Nothing was loaded yet, so there is nothing to save.
    if (!m_started) {
        Timer1->stop();
        m_closed = true;
        return true;
    }
    return saveAndClose();
}

bool MainWindow::saveAndClose()
{
    // The project list, the pages and the ledger: one question for all
    // the files that could not be saved.
    QString projectsError;
    if (!projectsSection->saveAtClose(&projectsError)
        && !m_services.dialogs->yesNo(
            this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.").arg(projectsError)))
        return false;
    // The tracker's edited note and alarm lists (a ticked or unticked alarm).
    QString trackerError;
    if (timeTrack && !timeTrack->saveEdited(&trackerError)
        && !m_services.dialogs->yesNo(
            this, tr("%1\n\nClose anyway? The changes that could not be saved will be lost.").arg(trackerError)))
        return false;
    Closing = true;
    if (Week) {
        QString error;
        if (!Week->saveAllNotes(&error)) {
            const bool leave = m_services.dialogs->yesNo(
                this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.").arg(error));
            if (!leave) {
                Closing = false;
                return false;
            }
        }
    }
    if (!closeTopicWorkspaces()) {
        Closing = false;
        return false;
    }
    if (Week)
        Week->destroyEditors();
    delete Journal;
    Journal = nullptr;
    delete Decision;
    Decision = nullptr;
    m_closed = true;
    QCoreApplication::quit();
    return true;
}

bool MainWindow::ledgerCellIsOpen() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && focus != Ledger->money && Ledger->money->isAncestorOf(focus);
}

bool MainWindow::saveEdits(QStringList *errors, bool finishOpenEdits)
{
    if (!m_started || m_closed)
        return true;
    const qsizetype before = errors->size();
    QString error;
    // The project list, the pages and the ledger. Saving the ledger ends an
    // edit open in one of its cells: typing there goes on undisturbed and
    // the section is saved after the next pause once the cell is left.
    if ((finishOpenEdits || !ledgerCellIsOpen()) && !projectsSection->saveAtClose(&error))
        errors->append(error);
    error.clear();
    if (timeTrack && !timeTrack->saveEdited(&error))
        errors->append(error);
    error.clear();
    if (Week && !Week->saveAllNotes(&error))
        errors->append(error);
    for (TopicWorkspace *workspace : {static_cast<TopicWorkspace *>(Journal),
                                      static_cast<TopicWorkspace *>(Decision)}) {
        if (!workspace)
            continue;
        const WriteResult stored = workspace->formClose();
        if (!stored)
            errors->append(stored.error);
    }
    return errors->size() == before;
}

void MainWindow::autoSaveEdits()
{
    if (!m_started || Closing || m_closed)
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
    Closing = true;
    m_closed = true;
    Timer1->stop();
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
    for (TopicWorkspace *workspace : {static_cast<TopicWorkspace *>(Journal),
                                      static_cast<TopicWorkspace *>(Decision)}) {
        if (!workspace)
            continue;
        const WriteResult closed = workspace->formClose();
        if (!closed
            && !m_services.dialogs->yesNo(
                this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.")
                          .arg(closed.error)))
            return false;
    }
    return true;
}
