// One program per data folder: the lock, the socket and what a later start
// hands over, in one process (the later start runs on a thread of its own).
#include "core/app/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

// A later start on the folder, on a thread, so that this thread's event
// loop can answer it.
class LaterStart
{
public:
    LaterStart(const QString &root, const QStringList &message, int timeoutMs)
    {
        m_thread.reset(QThread::create([=, this] {
            SingleInstance instance(root);
            m_role = instance.claim(message, timeoutMs);
            m_error = instance.errorString();
        }));
        m_thread->start();
    }
    ~LaterStart() { m_thread->wait(); }
    bool finished() const { return m_thread->isFinished(); }
    SingleInstance::Role role() const { return m_role; }
    QString error() const { return m_error; }

private:
    std::unique_ptr<QThread> m_thread;
    SingleInstance::Role m_role = SingleInstance::Role::First;
    QString m_error;
};

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void firstProgramHoldsTheFolder();
    void laterStartHandsItsMessageOver();
    void lockOfADeadProgramIsTakenOver();
    void silentHolderMeansNoAnswerInTime();
    void strangerOnTheSocketIsTurnedAway();
    void socketNameFollowsTheFolderNotItsSpelling();

private:
    QString root() const { return m_tmp->path() + QLatin1Char('/'); }
    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TestSingleInstance::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
}

void TestSingleInstance::firstProgramHoldsTheFolder()
{
    SingleInstance first(root());
    QCOMPARE(first.claim({}, 1000), SingleInstance::Role::First);
    QVERIFY(QFile::exists(root() + SingleInstance::lockFileName()));
    // Another lock on the folder fails while the first program runs.
    QLockFile other(root() + SingleInstance::lockFileName());
    QVERIFY(!other.tryLock(0));
}

void TestSingleInstance::laterStartHandsItsMessageOver()
{
    SingleInstance first(root());
    QCOMPARE(first.claim({}, 1000), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::messageReceived);

    LaterStart later(root(), {QStringLiteral("45296")}, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(later.finished(), 6000);
    QCOMPARE(later.role(), SingleInstance::Role::Handed);
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.first().first().toStringList(), QStringList{QStringLiteral("45296")});

    // Texts of any kind arrive as they were sent.
    const QStringList odd{QStringLiteral("-5"), QString(), QStringLiteral("Größe\n€")};
    LaterStart another(root(), odd, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(another.finished(), 6000);
    QCOMPARE(another.role(), SingleInstance::Role::Handed);
    QCOMPARE(received.size(), 2);
    QCOMPARE(received.last().first().toStringList(), odd);
}

void TestSingleInstance::lockOfADeadProgramIsTakenOver()
{
    // The lock file a killed program leaves: its process id is gone.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    QVERIFY(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    QVERIFY(gone.waitForFinished());
    QFile lock(root() + SingleInstance::lockFileName());
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nvellumark\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    // And the socket it listened on.
    QLocalServer left;
    QVERIFY(left.listen(SingleInstance::serverName(root())));
    left.close();

    SingleInstance next(root());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(next.claim({}, 2000), SingleInstance::Role::First);
    QVERIFY(clock.elapsed() < 1500);
    QSignalSpy received(&next, &SingleInstance::messageReceived);
    LaterStart later(root(), {QStringLiteral("1")}, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(later.finished(), 6000);
    QCOMPARE(later.role(), SingleInstance::Role::Handed);
}

void TestSingleInstance::silentHolderMeansNoAnswerInTime()
{
    // A program holds the lock, but nothing answers on its socket: one
    // that never listens, then one that takes the connection and says
    // nothing.
    QLockFile held(root() + SingleInstance::lockFileName());
    QVERIFY(held.tryLock(0));
    {
        SingleInstance later(root());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(later.claim({QStringLiteral("45296")}, 600), SingleInstance::Role::NoAnswer);
        QVERIFY(clock.elapsed() >= 500);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(!later.errorString().isEmpty());
    }
    QLocalServer mute;
    QLocalServer::removeServer(SingleInstance::serverName(root()));
    QVERIFY(mute.listen(SingleInstance::serverName(root())));
    LaterStart later(root(), {QStringLiteral("45296")}, 600);
    QTRY_VERIFY_WITH_TIMEOUT(later.finished(), 3000);
    QCOMPARE(later.role(), SingleInstance::Role::NoAnswer);
}

void TestSingleInstance::strangerOnTheSocketIsTurnedAway()
{
    SingleInstance first(root());
    QCOMPARE(first.claim({}, 1000), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::messageReceived);
    QLocalSocket stranger;
    stranger.connectToServer(SingleInstance::serverName(root()));
    QVERIFY(stranger.waitForConnected(2000));
    stranger.write("GET / HTTP/1.0\r\n\r\n");
    QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(received.size(), 0);
}

void TestSingleInstance::socketNameFollowsTheFolderNotItsSpelling()
{
    QDir(root()).mkdir(QStringLiteral("sub"));
    QCOMPARE(SingleInstance::serverName(root() + QStringLiteral("sub/..")),
             SingleInstance::serverName(root()));
    QVERIFY(SingleInstance::serverName(root() + QStringLiteral("sub")) != SingleInstance::serverName(root()));
    QVERIFY(QFile::link(root() + QStringLiteral("sub"), m_tmp->path() + QStringLiteral("-link")));
    QCOMPARE(SingleInstance::serverName(m_tmp->path() + QStringLiteral("-link")),
             SingleInstance::serverName(root() + QStringLiteral("sub")));
    QFile::remove(m_tmp->path() + QStringLiteral("-link"));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
