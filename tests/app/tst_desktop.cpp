// Where an installed or portable program keeps its data, and the pictures
// of the sections that the screenshot mode writes.
#include "app/dataroot.h"
#include "app/screenshottour.h"
#include "app/tform1.h"
#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void explicitFolderWins();
    void buildFolderKeepsDataBesideTheProgram();
    void installedProgramUsesTheUserFolder_data();
    void installedProgramUsesTheUserFolder();
    void installedDataFolderIsBesideTheDesktopEntry();

    void tourWritesOnePicturePerSection();
    void tourReportsAFolderItCannotMake();

private:
    // A prefix with bin/ and, when installed, the desktop entry.
    QString makePrefix(const QString &name, bool withDesktopEntry);

    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TestDesktop::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
}

void TestDesktop::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
}

QString TestDesktop::makePrefix(const QString &name, bool withDesktopEntry)
{
    const QString prefix = m_tmp->filePath(name);
    QDir().mkpath(prefix + QStringLiteral("/bin"));
    if (withDesktopEntry) {
        QDir().mkpath(prefix + QStringLiteral("/share/applications"));
        QFile entry(prefix + QStringLiteral("/share/applications/") + QStringLiteral(VELLUMARK_APP_ID)
                    + QStringLiteral(".desktop"));
        if (!entry.open(QIODevice::WriteOnly))
            return {};
    }
    return prefix;
}

void TestDesktop::explicitFolderWins()
{
    const QString chosen = m_tmp->filePath(QStringLiteral("my notes/deeper"));
    const QString prefix = makePrefix(QStringLiteral("usr"), true);
    QCOMPARE(ChooseDataRoot(chosen, prefix + QStringLiteral("/bin"), m_tmp->filePath(QStringLiteral("appdata"))),
             chosen + QLatin1Char('/'));
    // Made when missing, spaces and all.
    QVERIFY(QFileInfo(chosen).isDir());
}

void TestDesktop::buildFolderKeepsDataBesideTheProgram()
{
    // A build folder, or a copy of the program in a folder of its own.
    const QString build = m_tmp->filePath(QStringLiteral("build"));
    QDir().mkpath(build);
    QVERIFY(!IsInstalledProgram(build));
    QCOMPARE(ChooseDataRoot(QString(), build, m_tmp->filePath(QStringLiteral("appdata"))),
             build + QLatin1Char('/'));
    // A bin/ folder without the desktop entry beside it is not an install.
    const QString bare = makePrefix(QStringLiteral("portable"), false) + QStringLiteral("/bin");
    QVERIFY(!IsInstalledProgram(bare));
    QCOMPARE(ChooseDataRoot(QString(), bare, m_tmp->filePath(QStringLiteral("appdata"))),
             bare + QLatin1Char('/'));
    QVERIFY(!QFileInfo::exists(m_tmp->filePath(QStringLiteral("appdata"))));
}

void TestDesktop::installedProgramUsesTheUserFolder_data()
{
    QTest::addColumn<QString>("binSuffix");
    QTest::newRow("bin") << QStringLiteral("/bin");
    QTest::newRow("bin with a trailing separator") << QStringLiteral("/bin/");
    QTest::newRow("bin reached through ..") << QStringLiteral("/share/../bin");
}

void TestDesktop::installedProgramUsesTheUserFolder()
{
    QFETCH(QString, binSuffix);
    const QString prefix = makePrefix(QStringLiteral("usr"), true);
    const QString bin = prefix + binSuffix;
    const QString appData = m_tmp->filePath(QStringLiteral("home/.local/share/Vellumark"));
    QVERIFY(IsInstalledProgram(bin));
    // Even where the program could write beside itself (as root can).
    QVERIFY(QFileInfo(bin).isWritable());
    QCOMPARE(ChooseDataRoot(QString(), bin, appData), appData + QLatin1Char('/'));
    QVERIFY(QFileInfo(appData).isDir());
    QCOMPARE(QDir(prefix + QStringLiteral("/bin")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

void TestDesktop::installedDataFolderIsBesideTheDesktopEntry()
{
    const QString prefix = makePrefix(QStringLiteral("opt/vm"), true);
    QCOMPARE(InstalledDataDir(prefix + QStringLiteral("/bin")), prefix + QStringLiteral("/share/vellumark/"));
    const QString portable = makePrefix(QStringLiteral("portable"), false);
    QCOMPARE(InstalledDataDir(portable + QStringLiteral("/bin")), QString());
}

void TestDesktop::tourWritesOnePicturePerSection()
{
    const QString root = m_tmp->filePath(QStringLiteral("data/"));
    QDir().mkpath(root + QStringLiteral("DB"));
    QFile note(root + QStringLiteral("DB/Jan-05-2024.txt"));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.write("Dentist 9:30");
    note.close();

    FakeServices fakes;
    TForm1 form(fakes.services(), StartOptions{root, QStringLiteral("45296")});
    form.show();
    const QString shots = m_tmp->filePath(QStringLiteral("shots"));
    ScreenshotTour tour(&form, shots, QSize(900, 600));
    QString error;
    QVERIFY2(tour.run(&error), qPrintable(error));
    QVERIFY(form.started());

    QStringList expected;
    for (const QString &name : ScreenshotTour::fileNames())
        expected << QDir(shots).filePath(name);
    QCOMPARE(tour.written(), expected);

    QList<QImage> pictures;
    for (const QString &file : expected) {
        QImage picture(file);
        QVERIFY2(!picture.isNull(), qPrintable(file));
        QCOMPARE(picture.size() / picture.devicePixelRatio(), QSize(900, 600));
        pictures << picture;
    }
    // The Calendar shows the week's notes; the other sections look different.
    QVERIFY(pictures.at(0) != pictures.at(1));
    QVERIFY(pictures.at(0) != pictures.at(3));
    // The tour ends where the program starts: on the Calendar.
    QCOMPARE(form.pg->currentWidget(), form.TabSheet1);
    // Taking pictures changes no note.
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll(), QByteArray("Dentist 9:30"));
    note.close();
    form.SaveAndClose();
}

void TestDesktop::tourReportsAFolderItCannotMake()
{
    // A file stands where the folder should be.
    const QString blocker = m_tmp->filePath(QStringLiteral("shots"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    FakeServices fakes;
    TForm1 form(fakes.services(), StartOptions{m_tmp->filePath(QStringLiteral("data/")), QString()});
    ScreenshotTour tour(&form, blocker + QStringLiteral("/inside"));
    QString error;
    QVERIFY(!tour.run(&error));
    QVERIFY2(error.contains(QStringLiteral("inside")), qPrintable(error));
    QVERIFY(tour.written().isEmpty());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
