#include "core/tracker/alarmsounds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

// The program ships a wave file for every sound it offers, and finds them.
class TestAlarmSounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySoundHasAPlayableWaveFile();
    void folderSearchOrder();
};

void TestAlarmSounds::everySoundHasAPlayableWaveFile()
{
    const QString folder = QFINDTESTDATA("../../sounds");
    QVERIFY2(!folder.isEmpty(), "the sounds folder of the source tree is missing");
    QStringList names = AlarmSounds::bedSounds() + AlarmSounds::feedSounds();
    QCOMPARE(names.count(QStringLiteral("Silence")), 2);
    names.removeAll(QStringLiteral("Silence"));
    QCOMPARE(names.size(), 13);
    for (const QString &name : names) {
        QFile wav(QDir(folder).filePath(name + QStringLiteral(".wav")));
        QVERIFY2(wav.open(QIODevice::ReadOnly), qPrintable(wav.fileName()));
        const QByteArray bytes = wav.readAll();
        QVERIFY2(bytes.size() > 44 + 8000, qPrintable(name));
        QCOMPARE(bytes.left(4), QByteArray("RIFF"));
        QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 20), quint16(1)); // PCM
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 22), quint16(1)); // mono
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), quint32(bytes.size() - 8));
    }
    QVERIFY(!QFile::exists(QDir(folder).filePath(QStringLiteral("Silence.wav"))));
}

void TestAlarmSounds::folderSearchOrder()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("bin"));
    const QString builtIn = dir.filePath(QStringLiteral("src/sounds"));
    QVERIFY(QDir().mkpath(program));
    QCOMPARE(AlarmSounds::findFolder(program, builtIn), QString());
    QVERIFY(QDir().mkpath(builtIn));
    QCOMPARE(AlarmSounds::findFolder(program, builtIn), builtIn + QLatin1Char('/'));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("share/vellumark/sounds"))));
    QCOMPARE(AlarmSounds::findFolder(program, builtIn),
             dir.filePath(QStringLiteral("share/vellumark/sounds/")));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("bin/sounds"))));
    QCOMPARE(AlarmSounds::findFolder(program, builtIn), dir.filePath(QStringLiteral("bin/sounds/")));
}

QTEST_GUILESS_MAIN(TestAlarmSounds)
#include "tst_alarmsounds.moc"
