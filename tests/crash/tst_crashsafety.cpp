#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root + "DB", {"*.txt"}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QDir(root).relativeFilePath(path), f.readAll());
    }
    return out;
}

// A note written by the driver: its header's length and checksum match.
bool isWholeNote(const QByteArray &bytes)
{
    static const QRegularExpression header(QStringLiteral("^CHECK (\\d+) (\\d+) (\\d+)\r\n"));
    const auto m = header.match(QString::fromLatin1(bytes.left(80)));
    if (!m.hasMatch())
        return false;
    const QByteArray body = bytes.mid(m.capturedLength());
    return body.size() == m.captured(2).toLongLong() && qChecksum(body) == m.captured(3).toUInt();
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedAtRandomNeverTearsANote();
};

void TestCrashSafety::killedAtRandomNeverTearsANote()
{
    const int kills = qEnvironmentVariableIntValue("VELLUMARK_KILLS") > 0
                          ? qEnvironmentVariableIntValue("VELLUMARK_KILLS")
                          : 30;
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    QRandomGenerator random(20261209);
    int writesSeen = 0;

    for (int round = 1; round <= kills; ++round) {
        const auto before = snapshot(root);
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(QStringLiteral(CRASHDRIVER), {dir.path(), QString::number(round)});
        QVERIFY2(driver.waitForStarted(10000), qPrintable(driver.errorString()));
        QVERIFY(driver.waitForReadyRead(20000)); // "ready": the week is on screen
        QTest::qWait(static_cast<int>(random.bounded(20, 300)));
        driver.kill(); // SIGKILL
        QVERIFY(driver.waitForFinished(10000));

        const auto after = snapshot(root);
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            const QByteArray &now = it.value();
            const bool unchanged = before.contains(it.key()) && before.value(it.key()) == now;
            if (!unchanged)
                ++writesSeen;
            const bool hadContent = before.contains(it.key()) && !before.value(it.key()).isEmpty();
            QVERIFY2(unchanged || isWholeNote(now) || (now.isEmpty() && !hadContent),
                     qPrintable(QStringLiteral("round %1: %2 is torn (%3 bytes)")
                                    .arg(round).arg(it.key()).arg(now.size())));
        }
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(after.contains(it.key()), qPrintable(it.key() + " vanished"));
    }
    qInfo("kills survived: %d, files found changed after a kill: %d", kills, writesSeen);
    QVERIFY(writesSeen > 0);
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
