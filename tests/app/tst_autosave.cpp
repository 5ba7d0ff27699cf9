// Saving without being asked: after a pause in typing, while typing goes on,
// before the session ends; failures told once.
#include "ui/app/autosave.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "mainwindowfixture.h"
#include "ui/topics/listsworkspace.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {


void typeInto(QWidget *editor, const QString &text)
{
    editor->setFocus();
    QTest::keyClicks(editor, text);
}

// Runs the action inside the application's event loop and returns the
// status that loop ends with; 99 when the action did not end it.
int exitStatusOf(const std::function<void()> &action)
{
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QCoreApplication::exec();
}

} // namespace

class TestAutoSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void pauseInTypingSaves();
    void endlessTypingIsSavedOnTheWay();
    void nothingIsSavedBeforeThePause();
    void topicTextIsSavedToo();
    void openDialogPostponesTheSave();
    void lastingFailureIsToldOnce();
    void sessionEndSavesAndEnds();
    void sessionEndWithAFailureAsksToStay();
};

void TestAutoSave::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestAutoSave::pauseInTypingSaves()
{
    MainWindowFixture f(QStringLiteral("45296"));
    f.start();
    QVERIFY(f.form()->autoSave());
    QCOMPARE(f.form()->autoSave()->isPending(), false);
    f.form()->autoSave()->setIntervals(100, 60000);
    typeInto(noteEdit(dayColumn(f.form(), 1)), QStringLiteral("Dentist 9:30"));
    QVERIFY(f.form()->autoSave()->isPending());
    // No focus change, no week move, no close: only the pause saves.
    QTRY_COMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))), QByteArray("Dentist 9:30"));
    QVERIFY(!f.form()->autoSave()->isPending());
    QVERIFY(f.fakes.dialogs.errors.isEmpty());
}

void TestAutoSave::endlessTypingIsSavedOnTheWay()
{
    MainWindowFixture f(QStringLiteral("45296"));
    f.start();
    // The pause never comes: a key every 20 ms, against a pause of 200 ms.
    f.form()->autoSave()->setIntervals(200, 500);
    DayNoteColumn *first = dayColumn(f.form(), 1);
    noteEdit(first)->setFocus();
    QElapsedTimer clock;
    clock.start();
    bool savedWhileTyping = false;
    while (clock.elapsed() < 2000 && !savedWhileTyping) {
        QTest::keyClick(noteEdit(first), Qt::Key_A);
        QTest::qWait(20);
        savedWhileTyping = fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))).startsWith("aaaa");
    }
    QVERIFY(savedWhileTyping);
    QVERIFY(clock.elapsed() < 1500);
}

void TestAutoSave::nothingIsSavedBeforeThePause()
{
    MainWindowFixture f(QStringLiteral("45296"));
    f.start();
    f.form()->autoSave()->setIntervals(400, 60000);
    typeInto(noteEdit(dayColumn(f.form(), 1)), QStringLiteral("Half a"));
    QTest::qWait(200);
    typeInto(noteEdit(dayColumn(f.form(), 1)), QStringLiteral(" thought"));
    QTest::qWait(250);
    // 450 ms after the first key, but only 250 ms after the last one.
    QCOMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))), QByteArray("<missing>"));
    QTRY_COMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))), QByteArray("Half a thought"));
}

void TestAutoSave::topicTextIsSavedToo()
{
    MainWindowFixture f;
    f.start();
    f.form()->autoSave()->setIntervals(100, 60000);
    f.form()->showLists();
    ListsWorkspace *lists = f.form()->listsWorkspace();
    topicList(lists)->setCurrentRow(0);
    const QString topic = lists->currentTopic();
    QVERIFY(!topic.isEmpty());
    auto *editor = lists->findChild<QPlainTextEdit *>(QStringLiteral("todo"));
    QVERIFY(editor);
    typeInto(editor, QStringLiteral("Swim in a lake"));
    const QString file = lists->store().topicFileName(topic, QStringLiteral("todo"));
    QTRY_VERIFY(fileBytes(file).startsWith("Swim in a lake"));
}

void TestAutoSave::openDialogPostponesTheSave()
{
    MainWindowFixture f;
    f.start();
    f.form()->autoSave()->setIntervals(100, 200);
    f.form()->showLists();
    ListsWorkspace *lists = f.form()->listsWorkspace();
    topicList(lists)->setCurrentRow(0);
    auto *editor = lists->findChild<QPlainTextEdit *>(QStringLiteral("todo"));
    QVERIFY(editor);
    typeInto(editor, QStringLiteral("Later"));
    const QString file = lists->store().topicFileName(lists->currentTopic(), QStringLiteral("todo"));
    const QByteArray before = fileBytes(file);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Question"), QStringLiteral("Sure?"),
                    QMessageBox::Yes | QMessageBox::No, f.form());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QTRY_COMPARE(QApplication::activeModalWidget(), &box);
    QTest::qWait(600);
    QCOMPARE(fileBytes(file), before);
    box.reject();
    // Once the dialog has gone, the save comes after the next pause.
    QTRY_VERIFY(fileBytes(file).startsWith("Later"));
}

void TestAutoSave::lastingFailureIsToldOnce()
{
    MainWindowFixture f(QStringLiteral("45296"));
    f.start();
    f.form()->autoSave()->setIntervals(50, 60000);
    // The notes folder is gone and a file stands in its way.
    QVERIFY(QDir(f.root() + QStringLiteral("DB")).removeRecursively());
    writeFileBytes(f.root() + QStringLiteral("DB"), "not a folder");

    DayNoteColumn *first = dayColumn(f.form(), 1);
    for (const QString &text : {QStringLiteral("One"), QStringLiteral(" two"), QStringLiteral(" three")}) {
        typeInto(noteEdit(first), text);
        QTRY_VERIFY(!f.form()->autoSave()->isPending());
    }
    QCOMPARE(f.fakes.dialogs.errors.size(), 1);
    QVERIFY2(f.fakes.dialogs.errors.first().contains(QStringLiteral("Jan-05-2024.txt")),
             qPrintable(f.fakes.dialogs.errors.first()));
    // The text stays in the editor.
    QCOMPARE(first->text(), QStringLiteral("One two three"));

    // Once the folder is back, the next pause saves; a later failure is
    // told again.
    QFile::remove(f.root() + QStringLiteral("DB"));
    QVERIFY(QDir().mkdir(f.root() + QStringLiteral("DB")));
    typeInto(noteEdit(first), QStringLiteral("!"));
    QTRY_COMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))), QByteArray("One two three!"));
    QVERIFY(QDir(f.root() + QStringLiteral("DB")).removeRecursively());
    writeFileBytes(f.root() + QStringLiteral("DB"), "not a folder");
    typeInto(noteEdit(first), QStringLiteral("?"));
    QTRY_COMPARE(f.fakes.dialogs.errors.size(), 2);
    QFile::remove(f.root() + QStringLiteral("DB"));
    QDir().mkdir(f.root() + QStringLiteral("DB"));
}

void TestAutoSave::sessionEndSavesAndEnds()
{
    MainWindowFixture f(QStringLiteral("45296"));
    f.start();
    typeInto(noteEdit(dayColumn(f.form(), 1)), QStringLiteral("Logged out"));
    bool ended = false;
    // The event loop it runs in ends.
    QCOMPARE(exitStatusOf([&] { ended = f.form()->commitDataForSessionEnd(true); }), 0);
    QVERIFY(ended);
    QCOMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))), QByteArray("Logged out"));
    QVERIFY(f.fakes.dialogs.errors.isEmpty());
}

void TestAutoSave::sessionEndWithAFailureAsksToStay()
{
    MainWindowFixture f(QStringLiteral("45296"));
    f.start();
    DayNoteColumn *first = dayColumn(f.form(), 1);
    typeInto(noteEdit(first), QStringLiteral("Keep me"));
    QVERIFY(QDir(f.root() + QStringLiteral("DB")).removeRecursively());
    writeFileBytes(f.root() + QStringLiteral("DB"), "not a folder");

    // The user can be asked: the session is not ended and nothing is lost.
    QVERIFY(!f.form()->commitDataForSessionEnd(true));
    QCOMPARE(f.fakes.dialogs.errors.size(), 1);
    QVERIFY(!f.form()->closing());
    QCOMPARE(first->text(), QStringLiteral("Keep me"));

    // Once the folder is back, the session may end.
    QFile::remove(f.root() + QStringLiteral("DB"));
    QVERIFY(QDir().mkdir(f.root() + QStringLiteral("DB")));
    bool ended = false;
    QCOMPARE(exitStatusOf([&] { ended = f.form()->commitDataForSessionEnd(true); }), 0);
    QVERIFY(ended);
    QCOMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-05-2024.txt"))), QByteArray("Keep me"));
}

QTEST_MAIN(TestAutoSave)
#include "tst_autosave.moc"
