#include "ui/app/mainwindow.h"

#include "ui/app/autosave.h"
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
    layout->addWidget(sections, 1);

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
    previousDayButton = arrow(QStringLiteral("Left"), QStringLiteral("<"), tr("Previous day"));
    previousDayButton->setToolTip(tr("One day back (Alt+Left)"));
    previousDayButton->setGeometry(16, 16, 30, 40);
    connect(previousDayButton, &QToolButton::clicked, this, &MainWindow::moveWeekBack);

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
        {&calendarButton, &m_calendarCaption, "Image1", "SHoppingList_Label", ":/icons/calendar.svg",
         tr("Calendar"), QRect(53, 10, 49, 49), QPoint(52, 50), &MainWindow::showCalendar, "Ctrl+1"},
        {&projectsButton, &m_projectsCaption, "Image2", "Label1", ":/icons/projects.svg", tr("Projects"),
         QRect(104, 6, 57, 49), QPoint(108, 50), &MainWindow::showProjects, "Ctrl+2"},
        {&listsButton, &m_listsCaption, "btnGoals", "Label8", ":/icons/lists.svg", tr("My Lists"),
         QRect(160, 6, 41, 49), QPoint(164, 50), &MainWindow::showLists, "Ctrl+3"},
        {&decisionsButton, &m_decisionsCaption, "Image4", "Label5", ":/icons/decisions.svg", tr("Decisions"),
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

    datePicker = new DatePicker(m_bar);
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
    connect(m_pickerCommitter, &DateCommitter::dateCommitted, this, &MainWindow::showPickedWeek);

    nextDayButton = arrow(QStringLiteral("Right"), QStringLiteral(">"), tr("Next day"));
    nextDayButton->setToolTip(tr("One day forward (Alt+Right)"));
    nextDayButton->resize(30, 40);
    m_searchPanel = new SearchPanel(m_bar, this);
    m_searchNavigator = std::make_unique<SearchNavigator>(this);
    m_searchPanel->setEditorTexts([this] { return m_searchNavigator->editedTexts(); });
    connect(m_searchPanel, &SearchPanel::placeChosen, this,
            [this](const SearchHit &hit, const SearchQuery &query) { m_searchNavigator->goTo(hit, query); });
    placeNextDayButton();
    connect(nextDayButton, &QToolButton::clicked, this, &MainWindow::moveWeekForward);

    previousDayButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    nextDayButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));

    setTabOrder(previousDayButton, calendarButton);
    setTabOrder(calendarButton, projectsButton);
    setTabOrder(projectsButton, listsButton);
    setTabOrder(listsButton, decisionsButton);
    setTabOrder(decisionsButton, datePicker);
    setTabOrder(datePicker, nextDayButton);
}

void MainWindow::placeSearchField()
{
    // Between the date picker and ">", at most 240 px wide.
    const int right = nextDayButton->x() - 8;
    const int left = qMax(datePicker->geometry().right() + 16, right - 240);
    m_searchPanel->setFieldGeometry(QRect(left, 26, qMax(60, right - left), 24));
}

void MainWindow::createPages()
{
    sections = new QStackedWidget;
    sections->setObjectName(QStringLiteral("pg"));

    calendarPage = whitePanel(QStringLiteral("TabSheet1"), sections);
    // The columns are placed by hand: each is as wide as the week rule
    // says, and none of them may hold the window at a minimum width.
    calendarPage->installEventFilter(this);
    // Left to right: the tags 1..7. The hosts' object names are not in
    // column order: the sixth column's host bears the number 7, the
    // seventh's the number 6.
    const char *const hostNames[] = {"Panel1", "Panel2", "Panel3", "Panel4",
                                     "Panel5", "Panel7", "Panel6"};
    int tag = 0;
    for (const char *name : hostNames) {
        QWidget *host = whitePanel(QString::fromLatin1(name), calendarPage);
        host->setProperty("tag", ++tag);
        host->resize(110, host->height());
        m_dayColumnHosts.append(host);
    }
    packDayPanels();

    projectsPage = whitePanel(QStringLiteral("TabSheet2"), sections);
    m_emptyPage = whitePanel(QStringLiteral("TabSheet13"), sections);
    listsPage = whitePanel(QStringLiteral("TabSheet14"), sections);
    decisionsPage = whitePanel(QStringLiteral("TabSheet3"), sections);

    auto fill = [](QWidget *page, QWidget *panel) {
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(panel);
    };
    m_listsHost = whitePanel(QStringLiteral("pnlGoals"), listsPage);
    fill(listsPage, m_listsHost);
    m_decisionsHost = whitePanel(QStringLiteral("Decision_Panel"), decisionsPage);
    fill(decisionsPage, m_decisionsHost);
    projectsSection = new ProjectsSection(m_services, projectsPage);
    fill(projectsPage, projectsSection);
    // A day clicked in the tracker moves the picker, not the week.
    connect(projectsSection, &ProjectsSection::trackerDaySelected, this, &MainWindow::setPickerDate);

    for (QWidget *page : {calendarPage, projectsPage, m_emptyPage, listsPage, decisionsPage})
        sections->addWidget(page);
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addSeparator();
    QAction *printerSetup = file->addAction(tr("Printer Setup"), this, &MainWindow::showPrinterSetup);
    printerSetup->setObjectName(QStringLiteral("PrinterSetup1"));
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
        panel->setGeometry(x, 0, panel->width(), calendarPage->height());
        x += panel->width();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == calendarPage && event->type() == QEvent::Resize)
        packDayPanels();
    // The bar takes its width from the layout, which runs after the
    // window's own resize: ">" follows the bar itself.
    if (watched == m_bar && event->type() == QEvent::Resize)
        placeNextDayButton();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::placeNextDayButton()
{
    nextDayButton->move(qMax(0, m_bar->width() - kRightArrowOffset), 16);
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
    if (!ok || day < DayNumber::fromDate(datePicker->minimumDate())
        || day > DayNumber::fromDate(datePicker->maximumDate()))
        return today;
    return static_cast<double>(day);
}

void MainWindow::runStartup()
{
    m_startupTimer->stop();
    if (m_started || m_closing)
        return;

    m_dataFolder = std::make_unique<DataFolder>(m_options.dataRoot, m_services.shell);
    m_dataFolder->removeUnfinishedWrites();
    // The search reads every note on a worker thread while the rest of the
    // start-up goes on; the window never waits for it.
    m_searchIndex = new SearchIndex(SearchRoots::of(*m_dataFolder), this);
    m_searchPanel->setIndex(m_searchIndex);
    m_searchIndex->start();
    sections->setCurrentWidget(calendarPage);

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

    projectsSection->loadStartPages(m_dataFolder.get());

    m_listsWorkspace = std::make_unique<ListsWorkspace>(*m_dataFolder, m_services);
    m_listsWorkspace->embedIn(m_listsHost);
    m_decisionsWorkspace = std::make_unique<DecisionsWorkspace>(*m_dataFolder, m_services);
    m_decisionsWorkspace->embedIn(m_decisionsHost);

    const double start = startDayNumber();
    setPickerDate(start);
    QString error;
    const bool shown = m_week->showWeekFrom(start, &error);
    showWeekInPicker();
    reportWeekError(shown, error);

    projectsSection->createTrackerAndDocuments();

    m_started = true;
    applyLayout();
    showMaximized();
    projectsSection->finishStartup();
    m_autoSave = new AutoSave(this, [this] { autoSaveEdits(); }, this);
    Q_EMIT startupFinished();
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
    QString error;
    reportWeekError(m_week->showWeekFrom(day, &error), error);
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
    datePicker->move(qMax((width - datePicker->width()) / 2, 270), datePicker->y());
    placeNextDayButton();
}

// ---- sections and menus -------------------------------------------------

void MainWindow::showCalendar()
{
    sections->setCurrentWidget(calendarPage);
}

void MainWindow::showProjects()
{
    sections->setCurrentWidget(projectsPage);
    projectsSection->sectionEntered();
}

void MainWindow::showLists()
{
    sections->setCurrentWidget(listsPage);
}

void MainWindow::showDecisions()
{
    sections->setCurrentWidget(decisionsPage);
}

void MainWindow::printShownPage()
{
    if (!m_started)
        return;
    if (sections->currentWidget() == calendarPage && m_week && !m_week->columns.isEmpty()) {
        DayNoteColumn *editor = m_week->columns.first();
        for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (auto *focused = qobject_cast<DayNoteColumn *>(w)) {
                editor = focused;
                break;
            }
        }
        editor->requestPrint();
    } else if (sections->currentWidget() == projectsPage && projectsSection
               && !projectsSection->printButton->isHidden()) {
        projectsSection->printShownPage();
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

void MainWindow::reportWeekError(bool ok, const QString &error)
{
    if (!ok)
        m_services.dialogs->error(this, error);
}

void MainWindow::showWeekInPicker()
{
    // Setting the same date again would move the cursor of a user still
    // typing in the picker.
    if (datePicker->date() != DayNumber::toDate(m_week->firstDay()))
        setPickerDate(m_week->firstDay());
    else
        m_pickerCommitter->cancelPending();
}

void MainWindow::moveWeekBack()
{
    if (!m_week)
        return;
    QString error;
    const bool moved = m_week->moveBy(-1, &error);
    showWeekInPicker();
    reportWeekError(moved, error);
}

void MainWindow::moveWeekForward()
{
    if (!m_week)
        return;
    QString error;
    const bool moved = m_week->moveBy(1, &error);
    showWeekInPicker();
    reportWeekError(moved, error);
}

void MainWindow::showPickedWeek()
{
    if (!m_week)
        return;
    QString error;
    const bool moved = m_week->showWeekFrom(DayNumber::fromDate(datePicker->date()), &error);
    // A failed move leaves the week where it was: so does the picker.
    showWeekInPicker();
    reportWeekError(moved, error);
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
    if (!projectsSection->saveTrackerEdits(&trackerError)
        && !m_services.dialogs->yesNo(
            this, tr("%1\n\nClose anyway? The changes that could not be saved will be lost.").arg(trackerError)))
        return false;
    m_closing = true;
    if (m_week) {
        QString error;
        if (!m_week->saveAllNotes(&error)) {
            const bool leave = m_services.dialogs->yesNo(
                this, tr("%1\n\nClose anyway? The text that could not be saved will be lost.").arg(error));
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
    m_closed = true;
    QCoreApplication::quit();
    return true;
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
    if ((finishOpenEdits || !projectsSection->ledgerCellIsOpen()) && !projectsSection->saveAtClose(&error))
        errors->append(error);
    error.clear();
    if (!projectsSection->saveTrackerEdits(&error))
        errors->append(error);
    error.clear();
    if (m_week && !m_week->saveAllNotes(&error))
        errors->append(error);
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
    if (!m_started || m_closing || m_closed)
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
