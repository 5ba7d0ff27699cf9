// The main window from the keyboard alone: the tab order follows the
// screen, the shortcuts reach every section and the week, and the keys are
// shown where a user looks for them.
#include "mainwindowfixture.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "fakes.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "recordingprinter.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QtMath>

#include <algorithm>
#include <memory>

class TestKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void tabWalksTheWindowInScreenOrder();
    void shiftTabWalksBack();
    void sectionKeysWorkFromAnEditor();
    void weekKeysMoveTheWeek();
    void keysAreShownInTooltipsAndMenus();
    void f10OpensTheMenuBar();
    void quitKeySavesTheNotes();
    void printKeyPrintsWhatIsShown();

private:
    QWidget *focused() const { return QApplication::focusWidget(); }
    QList<QWidget *> expectedTabChain() const;
    // One Tab or Shift+Tab to the next control. In the date picker Tab first
    // steps through the parts of the date, as in every date field.
    void step(QKeyCombination key);
    void press(QKeyCombination key) { QTest::keyClick(focused() ? focused() : m_form.get(), key.key(), key.keyboardModifiers()); }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<FakePrinting> m_printing;
    std::unique_ptr<MainWindow> m_form;
};

void TestKeyboard::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
}

void TestKeyboard::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_fakes = std::make_unique<FakeServices>();
    m_printing = std::make_unique<FakePrinting>();
    Services services = m_fakes->services();
    services.printing = m_printing.get();
    m_form = std::make_unique<MainWindow>(services,
                                      StartOptions{m_root->path() + QLatin1Char('/'), QStringLiteral("45296")});
    m_form->runStartup();
    m_form->showNormal();
    m_form->resize(1100, 700);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    previousDayButton(m_form.get())->setFocus(Qt::OtherFocusReason);
    QCOMPARE(focused(), previousDayButton(m_form.get()));
}

void TestKeyboard::cleanup()
{
    if (m_form && !m_form->closing())
        m_form->saveAndClose();
    m_form.reset();
    m_fakes.reset();
    m_printing.reset();
    m_root.reset();
}

// The top bar left to right, then each day column left to right (by its
// place on screen, whatever order the editors were made in), top to bottom.
QList<QWidget *> TestKeyboard::expectedTabChain() const
{
    MainWindow *form = m_form.get();
    QList<QWidget *> chain = {previousDayButton(form), calendarButton(form), projectsButton(form), listsButton(form),
                              decisionsButton(form),   datePicker(form),     nextDayButton(form)};
    QList<DayNoteColumn *> columns = m_form->week()->columns();
    std::sort(columns.begin(), columns.end(), [this](DayNoteColumn *a, DayNoteColumn *b) {
        return a->mapTo(m_form.get(), QPoint()).x() < b->mapTo(m_form.get(), QPoint()).x();
    });
    for (DayNoteColumn *column : columns) {
        chain << noteEdit(column);
        chain << (createFolderButton(column)->isVisible() ? createFolderButton(column) : openFolderButton(column));
        chain << dayPrintButton(column);
    }
    return chain;
}

void TestKeyboard::step(QKeyCombination key)
{
    if (focused() != datePicker(m_form.get())) {
        press(key);
        return;
    }
    for (int part = 0; part < 8 && focused() == datePicker(m_form.get()); ++part)
        press(key);
}

void TestKeyboard::tabWalksTheWindowInScreenOrder()
{
    const QList<QWidget *> expected = expectedTabChain();
    QList<QWidget *> walked = {focused()};
    for (qsizetype i = 1; i < expected.size() + 1; ++i) {
        step(Qt::Key_Tab);
        walked << focused();
    }
    auto names = [](const QList<QWidget *> &widgets) {
        QStringList out;
        for (QWidget *w : widgets)
            out << (w ? w->objectName() + QLatin1Char('@')
                            + QString::number(w->mapToGlobal(QPoint()).x())
                      : QStringLiteral("null"));
        return out;
    };
    // One more Tab comes back round to the first control.
    QCOMPARE(names(walked), names(QList<QWidget *>(expected) << expected.first()));
}

void TestKeyboard::shiftTabWalksBack()
{
    QList<QWidget *> expected = expectedTabChain();
    std::reverse(expected.begin(), expected.end());
    QList<QWidget *> walked;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        step(Qt::SHIFT | Qt::Key_Backtab);
        walked << focused();
    }
    QCOMPARE(walked, expected);
}

void TestKeyboard::sectionKeysWorkFromAnEditor()
{
    DayNoteColumn *column = m_form->week()->columns().first();
    noteEdit(column)->setFocus(Qt::OtherFocusReason);
    const struct
    {
        Qt::Key key;
        QWidget *page;
    } sections[] = {{Qt::Key_2, projectsPage(m_form.get())},
                    {Qt::Key_3, listsPage(m_form.get())},
                    {Qt::Key_4, decisionsPage(m_form.get())},
                    {Qt::Key_1, calendarPage(m_form.get())}};
    for (const auto &s : sections) {
        press(Qt::CTRL | s.key);
        // A button's shortcut presses it visibly, and clicks a moment later.
        QTRY_COMPARE(sectionStack(m_form.get())->currentWidget(), s.page);
    }
    // The keys switch sections; they type nothing into the note.
    QCOMPARE(column->text(), QString());
}

void TestKeyboard::weekKeysMoveTheWeek()
{
    noteEdit(m_form->week()->columns().first())->setFocus(Qt::OtherFocusReason);
    QCOMPARE(datePicker(m_form.get())->date(), QDate(2024, 1, 5));
    press(Qt::ALT | Qt::Key_Right);
    QTRY_COMPARE(datePicker(m_form.get())->date(), QDate(2024, 1, 6));
    QTRY_COMPARE(qFloor(m_form->week()->columns().first()->noteDate), 45297);
    press(Qt::ALT | Qt::Key_Left);
    QTRY_COMPARE(datePicker(m_form.get())->date(), QDate(2024, 1, 5));
    press(Qt::ALT | Qt::Key_Left);
    QTRY_COMPARE(datePicker(m_form.get())->date(), QDate(2024, 1, 4));
}

void TestKeyboard::keysAreShownInTooltipsAndMenus()
{
    const struct
    {
        QToolButton *button;
        QString key;
    } buttons[] = {{calendarButton(m_form.get()), QStringLiteral("Ctrl+1")},
                   {projectsButton(m_form.get()), QStringLiteral("Ctrl+2")},
                   {listsButton(m_form.get()), QStringLiteral("Ctrl+3")},
                   {decisionsButton(m_form.get()), QStringLiteral("Ctrl+4")},
                   {previousDayButton(m_form.get()), QStringLiteral("Alt+Left")},
                   {nextDayButton(m_form.get()), QStringLiteral("Alt+Right")}};
    for (const auto &b : buttons) {
        QVERIFY2(b.button->toolTip().contains(b.key), qPrintable(b.button->toolTip()));
        QCOMPARE(b.button->shortcut(), QKeySequence(b.key));
    }

    const struct
    {
        const char *action;
        QKeySequence key;
    } items[] = {{"Exit1", QKeySequence(QStringLiteral("Ctrl+Q"))},
                 {"Undo1", QKeySequence(QKeySequence::Undo)},
                 {"Cut1", QKeySequence(QKeySequence::Cut)},
                 {"Copy1", QKeySequence(QKeySequence::Copy)},
                 {"Paste1", QKeySequence(QKeySequence::Paste)},
                 {"SelectAll1", QKeySequence(QKeySequence::SelectAll)}};
    for (const auto &item : items) {
        auto *action = m_form->findChild<QAction *>(QLatin1String(item.action));
        QVERIFY2(action, item.action);
        // A menu item shows the key of its shortcut beside its caption.
        QCOMPARE(action->shortcut(), item.key);
    }
}

void TestKeyboard::f10OpensTheMenuBar()
{
    press(Qt::Key_F10);
    QMenuBar *bar = m_form->menuBar();
    QVERIFY(bar->activeAction());
    QCOMPARE(bar->activeAction()->menu()->objectName(), QStringLiteral("File1"));
    // Down into "File": "Printer Setup" is reachable without the mouse.
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto *file = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(file);
    QTest::keyClick(file, Qt::Key_Down);
    QCOMPARE(file->activeAction()->objectName(), QStringLiteral("PrinterSetup1"));
    QSignalSpy chosen(file->activeAction(), &QAction::triggered);
    QTest::keyClick(file, Qt::Key_Return);
    QTRY_COMPARE(chosen.count(), 1);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

void TestKeyboard::quitKeySavesTheNotes()
{
    DayNoteColumn *column = m_form->week()->columns().first();
    noteEdit(column)->setFocus(Qt::OtherFocusReason);
    const QString noteFile = column->dayNoteFile;
    QTest::keyClicks(noteEdit(column), QStringLiteral("typed, then Ctrl+Q"));
    press(Qt::CTRL | Qt::Key_Q);
    // The editors are gone now; the note is on disk.
    QVERIFY(m_form->closing());
    QFile note(noteFile);
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll(), QByteArray("typed, then Ctrl+Q"));
}

void TestKeyboard::printKeyPrintsWhatIsShown()
{
    // The day note with the keyboard focus.
    DayNoteColumn *column = m_form->week()->columns().at(2);
    noteEdit(column)->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(noteEdit(column), QStringLiteral("third column"));
    press(Qt::CTRL | Qt::Key_P);
    QCOMPARE(m_printing->jobs.size(), 1);
    QCOMPARE(m_printing->jobs.last().texts.at(1).text, QStringLiteral("third column"));
    QCOMPARE(m_fakes->dialogs.messages.last(), QStringLiteral("1 pages printed"));
    QCOMPARE(column->text(), QStringLiteral("third column")); // nothing typed

    // With the focus on the top bar, the week's first note.
    m_form->week()->columns().first()->setText(QStringLiteral("first column"));
    calendarButton(m_form.get())->setFocus(Qt::OtherFocusReason);
    press(Qt::CTRL | Qt::Key_P);
    QCOMPARE(m_printing->jobs.size(), 2);
    QCOMPARE(m_printing->jobs.last().texts.at(1).text, QStringLiteral("first column"));

    // In the Projects section, the page shown, where "Print" is offered.
    press(Qt::CTRL | Qt::Key_2);
    QTRY_COMPARE(sectionStack(m_form.get())->currentWidget(), projectsPage(m_form.get()));
    ProjectsSection *projects = m_form->projectsSection();
    projects->notebook()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("done page"));
    projects->notebook()->setCurrentIndex(ProjectNotebook::DoneTab);
    press(Qt::CTRL | Qt::Key_P);
    QCOMPARE(m_printing->jobs.size(), 3);
    QCOMPARE(m_printing->jobs.last().texts.at(1).text, QStringLiteral("done page"));
    projects->notebook()->setCurrentIndex(ProjectNotebook::TimeTab);
    QVERIFY(projectPrintButton(projects)->isHidden());
    press(Qt::CTRL | Qt::Key_P);
    QCOMPARE(m_printing->jobs.size(), 3);

    // My Lists has nothing to print.
    press(Qt::CTRL | Qt::Key_3);
    QTRY_COMPARE(sectionStack(m_form.get())->currentWidget(), listsPage(m_form.get()));
    press(Qt::CTRL | Qt::Key_P);
    QCOMPARE(m_printing->jobs.size(), 3);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
