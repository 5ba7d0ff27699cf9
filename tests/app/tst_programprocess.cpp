// The program as a process: one program per data folder, the ways it is
// told to end (SIGTERM, SIGHUP, SIGINT), a SIGKILL after a pause in typing,
// the day argument as typed on a command line, and where a program started
// from a build tree keeps its data.
#include "testhelpers.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

namespace {


// One run of the program on a data folder.
class Program
{
public:
    explicit Program(const QStringList &arguments, const QProcessEnvironment &environment = {})
    {
        if (!environment.isEmpty())
            m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(testBuildFile(QStringLiteral(PROGRAMDRIVER)), arguments);
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QProcess &process() { return m_process; }

    // Waits for a line that starts with the prefix; returns it, or an
    // empty text when none came in time.
    QString waitForLine(const QString &prefix, int timeoutMs = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (line.startsWith(prefix))
                    return line;
            }
            if (m_process.state() == QProcess::NotRunning)
                return {};
            m_process.waitForReadyRead(100);
        }
        return {};
    }

    void send(const QString &command) { m_process.write(command.toUtf8() + '\n'); }

    bool endsWithin(int timeoutMs) { return m_process.waitForFinished(timeoutMs); }

    void signal(int number) { ::kill(static_cast<pid_t>(m_process.processId()), number); }

    QString errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

private:
    QProcess m_process;
};

} // namespace

class TestProgramProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void secondStartHandsItsDayToTheFirst();
    void programsOnDifferentFoldersRunSideBySide();
    void endingSignalSavesTypedText_data();
    void endingSignalSavesTypedText();
    void killAfterPauseLosesNothing();
    void negativeDayStartsOnToday();
    void buildTreeKeepsDataInTheUserFolder();

private:
    QString note(const QString &name) const { return m_tmp->filePath(QStringLiteral("data/DB/")) + name; }
    QStringList onData(const QStringList &more = {}) const
    {
        return QStringList{QStringLiteral("--data-dir"), m_tmp->filePath(QStringLiteral("data"))} + more;
    }

    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TestProgramProcess::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
}

void TestProgramProcess::secondStartHandsItsDayToTheFirst()
{
    Program first(onData({QStringLiteral("45300")}));
    QVERIFY2(!first.waitForLine(QStringLiteral("started")).isEmpty(), qPrintable(first.errors()));
    first.send(QStringLiteral("week"));
    QCOMPARE(first.waitForLine(QStringLiteral("week")), QStringLiteral("week 2024-01-09"));

    QElapsedTimer clock;
    clock.start();
    Program second(onData({QStringLiteral("45296")}));
    QVERIFY2(second.endsWithin(8000), "the second start did not end");
    QVERIFY(clock.elapsed() < 8000);
    QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process().exitCode(), 0);
    // It never became a program of its own.
    QVERIFY(second.waitForLine(QStringLiteral("started"), 0).isEmpty());

    // The first one goes on, on the day the second was asked for.
    QCOMPARE(first.process().state(), QProcess::Running);
    first.send(QStringLiteral("week"));
    QCOMPARE(first.waitForLine(QStringLiteral("week")), QStringLiteral("week 2024-01-05"));

    // Without a day the first one only comes to the front.
    Program third(onData());
    QVERIFY(third.endsWithin(8000));
    QCOMPARE(third.process().exitCode(), 0);
    first.send(QStringLiteral("week"));
    QCOMPARE(first.waitForLine(QStringLiteral("week")), QStringLiteral("week 2024-01-05"));

    // The same folder named another way is the same folder.
    const QString detour = m_tmp->filePath(QStringLiteral("data/DB/../"));
    Program fourth({QStringLiteral("--data-dir"), detour, QStringLiteral("45297")});
    QVERIFY(fourth.endsWithin(8000));
    QCOMPARE(fourth.process().exitCode(), 0);
    first.send(QStringLiteral("week"));
    QCOMPARE(first.waitForLine(QStringLiteral("week")), QStringLiteral("week 2024-01-06"));
}

void TestProgramProcess::programsOnDifferentFoldersRunSideBySide()
{
    Program one(onData());
    QVERIFY(!one.waitForLine(QStringLiteral("started")).isEmpty());
    Program other({QStringLiteral("--data-dir"), m_tmp->filePath(QStringLiteral("other"))});
    QVERIFY2(!other.waitForLine(QStringLiteral("started")).isEmpty(), qPrintable(other.errors()));
    QCOMPARE(one.process().state(), QProcess::Running);
    QCOMPARE(other.process().state(), QProcess::Running);
}

void TestProgramProcess::endingSignalSavesTypedText_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestProgramProcess::endingSignalSavesTypedText()
{
    QFETCH(int, signalNumber);
    Program program(onData({QStringLiteral("45296")}));
    QVERIFY(!program.waitForLine(QStringLiteral("started")).isEmpty());
    program.send(QStringLiteral("type Call the plumber"));
    QVERIFY(!program.waitForLine(QStringLiteral("typed")).isEmpty());
    // Straight away: no pause for an automatic save.
    program.signal(signalNumber);
    QVERIFY(program.endsWithin(10000));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    QCOMPARE(fileBytes(note(QStringLiteral("Jan-05-2024.txt"))), QByteArray("Call the plumber"));
}

void TestProgramProcess::killAfterPauseLosesNothing()
{
    {
        Program program(onData({QStringLiteral("45296")}));
        QVERIFY(!program.waitForLine(QStringLiteral("started")).isEmpty());
        program.send(QStringLiteral("type Renew the passport"));
        QVERIFY(!program.waitForLine(QStringLiteral("typed")).isEmpty());
        QTest::qWait(4500);
        program.signal(SIGKILL);
        QVERIFY(program.endsWithin(5000));
        QCOMPARE(program.process().exitStatus(), QProcess::CrashExit);
    }
    QCOMPARE(fileBytes(note(QStringLiteral("Jan-05-2024.txt"))), QByteArray("Renew the passport"));

    // The lock the killed program left behind is taken over.
    Program again(onData({QStringLiteral("45296")}));
    QVERIFY2(!again.waitForLine(QStringLiteral("started")).isEmpty(), qPrintable(again.errors()));
}

void TestProgramProcess::negativeDayStartsOnToday()
{
    Program program(onData({QStringLiteral("-5")}));
    QVERIFY2(!program.waitForLine(QStringLiteral("started")).isEmpty(), qPrintable(program.errors()));
    program.send(QStringLiteral("week"));
    QCOMPARE(program.waitForLine(QStringLiteral("week")),
             QStringLiteral("week ") + QDate::currentDate().toString(Qt::ISODate));
}

void TestProgramProcess::buildTreeKeepsDataInTheUserFolder()
{
    // The driver lies in the build tree, like build/vellumark.
    const QString programDir = QFileInfo(testBuildFile(QStringLiteral(PROGRAMDRIVER))).absolutePath();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString home = m_tmp->filePath(QStringLiteral("home"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    QVERIFY2(!QFileInfo::exists(programDir + QStringLiteral("/DB")), "a data folder lies in the build tree");
    {
        Program program({QStringLiteral("45296")}, environment);
        QVERIFY2(!program.waitForLine(QStringLiteral("started")).isEmpty(), qPrintable(program.errors()));
        program.send(QStringLiteral("type Seeds"));
        QVERIFY(!program.waitForLine(QStringLiteral("typed")).isEmpty());
        program.signal(SIGTERM);
        QVERIFY(program.endsWithin(10000));
    }
    QCOMPARE(fileBytes(home + QStringLiteral("/data/Vellumark/DB/Jan-05-2024.txt")), QByteArray("Seeds"));
    QVERIFY(!QFileInfo::exists(programDir + QStringLiteral("/DB")));
    QVERIFY(!QFileInfo::exists(programDir + QStringLiteral("/Config")));
}

QTEST_MAIN(TestProgramProcess)
#include "tst_programprocess.moc"
