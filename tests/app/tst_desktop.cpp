// Where an installed or portable program keeps its data, and the pictures
// of the sections that the screenshot mode writes.
#include "testhelpers.h"
#include "core/app/datafoldermove.h"
#include "core/app/dataroot.h"
#include "core/app/singleinstance.h"
#include "ui/app/screenshottour.h"
#include "ui/app/mainwindow.h"
#include "fakes.h"

#include <QDir>
#include <QDirIterator>
#include <QLockFile>
#include <QFile>
#include <QImage>
#include <QProcess>
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
    void buildTreeUsesTheUserFolder();
    void dataOfEarlierRunsMoveOutOfTheBuildTree();
    void emptyTargetFolderIsFilledUnderItsLock();
    void whereBothHoldDataNothingMoves();
    void failedMoveChangesNothing();
    void buildTreeWithoutDataMovesNothing();

    void tourWritesOnePicturePerSection();
    void tourReportsAFolderItCannotMake();

private:
    // A build tree with CMake's files and, when given, data files left by
    // earlier runs (relative path -> content). Returns its folder with "/".
    QString makeBuildTree(const QMap<QString, QByteArray> &files);
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
    QCOMPARE(chooseDataRoot(chosen, prefix + QStringLiteral("/bin"), m_tmp->filePath(QStringLiteral("appdata"))),
             chosen + QLatin1Char('/'));
    // Made when missing, spaces and all.
    QVERIFY(QFileInfo(chosen).isDir());
}

void TestDesktop::buildFolderKeepsDataBesideTheProgram()
{
    // A build folder, or a copy of the program in a folder of its own.
    const QString build = m_tmp->filePath(QStringLiteral("build"));
    QDir().mkpath(build);
    QVERIFY(!isInstalledProgram(build));
    QCOMPARE(chooseDataRoot(QString(), build, m_tmp->filePath(QStringLiteral("appdata"))),
             build + QLatin1Char('/'));
    // A bin/ folder without the desktop entry beside it is not an install.
    const QString bare = makePrefix(QStringLiteral("portable"), false) + QStringLiteral("/bin");
    QVERIFY(!isInstalledProgram(bare));
    QCOMPARE(chooseDataRoot(QString(), bare, m_tmp->filePath(QStringLiteral("appdata"))),
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
    QVERIFY(isInstalledProgram(bin));
    // Even where the program could write beside itself (as root can).
    QVERIFY(QFileInfo(bin).isWritable());
    QCOMPARE(chooseDataRoot(QString(), bin, appData), appData + QLatin1Char('/'));
    QVERIFY(QFileInfo(appData).isDir());
    QCOMPARE(QDir(prefix + QStringLiteral("/bin")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

void TestDesktop::installedDataFolderIsBesideTheDesktopEntry()
{
    const QString prefix = makePrefix(QStringLiteral("opt/vm"), true);
    QCOMPARE(installedDataDir(prefix + QStringLiteral("/bin")), prefix + QStringLiteral("/share/vellumark/"));
    const QString portable = makePrefix(QStringLiteral("portable"), false);
    QCOMPARE(installedDataDir(portable + QStringLiteral("/bin")), QString());
}

namespace {


// Every file and folder below the folder, with the files' bytes.
QMap<QString, QByteArray> treeOf(const QString &folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const QString name = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir())
            out.insert(name + QLatin1Char('/'), QByteArray());
        else if (!it.fileInfo().isFile())
            out.insert(name, QByteArrayLiteral("<not a file>"));
        else if (file.open(QIODevice::ReadOnly))
            out.insert(name, file.readAll());
        else
            out.insert(name, QByteArrayLiteral("<unreadable>"));
    }
    return out;
}

const QMap<QString, QByteArray> kEarlierRuns{
    {QStringLiteral("DB/Jan-05-2024.txt"), QByteArrayLiteral("Dentist 9:30")},
    {QStringLiteral("Config/departments.txt"), QByteArrayLiteral("@Home\r\nGarden\r\n")},
    {QStringLiteral("Projects/Garden/Projects.txt"), QByteArrayLiteral("Dig\r\nPlant")},
    {QStringLiteral("Journal/Bucket List_todo.txt"), QByteArrayLiteral("See the sea\r\n")},
};

} // namespace

QString TestDesktop::makeBuildTree(const QMap<QString, QByteArray> &files)
{
    const QString build = m_tmp->filePath(QStringLiteral("src/build/"));
    writeFileBytes(build + QStringLiteral("CMakeCache.txt"), "CMAKE_BUILD_TYPE:STRING=Release\n");
    writeFileBytes(build + QStringLiteral("CMakeFiles/rules.ninja"), "rule CXX\n");
    writeFileBytes(build + QStringLiteral("vellumark"), "program");
    for (const QString &folder : {QStringLiteral("Report/Images"), QStringLiteral("Help")})
        QDir().mkpath(build + folder);
    for (auto it = files.begin(); it != files.end(); ++it)
        writeFileBytes(build + it.key(), it.value());
    return build;
}

void TestDesktop::buildTreeUsesTheUserFolder()
{
    const QString build = makeBuildTree({});
    const QString appData = m_tmp->filePath(QStringLiteral("home/.local/share/Vellumark"));
    QVERIFY(isBuildTree(build));
    // A program further down the tree (tests/, bin/) is in it as well.
    QDir().mkpath(build + QStringLiteral("tests/app"));
    QVERIFY(isBuildTree(build + QStringLiteral("tests/app")));
    QVERIFY(!isBuildTree(m_tmp->path()));
    QCOMPARE(chooseDataRoot(QString(), build, appData), appData + QLatin1Char('/'));
    QCOMPARE(chooseDataRoot(QString(), build + QStringLiteral("tests/app"), appData), appData + QLatin1Char('/'));
    // --data-dir still wins.
    const QString chosen = m_tmp->filePath(QStringLiteral("notes"));
    QCOMPARE(chooseDataRoot(chosen, build, appData), chosen + QLatin1Char('/'));
}

void TestDesktop::dataOfEarlierRunsMoveOutOfTheBuildTree()
{
    const QString build = makeBuildTree(kEarlierRuns);
    const QString target = m_tmp->filePath(QStringLiteral("home/.local/share/Vellumark/"));

    const DataFolderMove move = moveDataFolderOutOfBuildTree(build, target);
    QCOMPARE(move.outcome, DataFolderMove::Moved);
    for (auto it = kEarlierRuns.begin(); it != kEarlierRuns.end(); ++it) {
        QCOMPARE(treeOf(target).value(it.key()), it.value());
        QVERIFY2(!QFileInfo::exists(build + it.key()), qPrintable(it.key()));
    }
    QVERIFY(QFileInfo(target + QStringLiteral("Report/Images")).isDir());
    // The build tree keeps what is its own, and no data folder.
    const QMap<QString, QByteArray> left = treeOf(build);
    QCOMPARE(left.keys(), QStringList({QStringLiteral("CMakeCache.txt"), QStringLiteral("CMakeFiles/"),
                                       QStringLiteral("CMakeFiles/rules.ninja"), QStringLiteral("vellumark")}));
    // Said, with both places.
    QVERIFY2(move.message.contains(QDir::cleanPath(build)), qPrintable(move.message));
    QVERIFY2(move.message.contains(QDir::cleanPath(target)), qPrintable(move.message));
    // No copy left half-way.
    QCOMPARE(QDir(QFileInfo(QDir::cleanPath(target)).path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Vellumark")});

    // Once: the next start finds nothing to move.
    const DataFolderMove again = moveDataFolderOutOfBuildTree(build, target);
    QCOMPARE(again.outcome, DataFolderMove::NothingToMove);
    QVERIFY(again.message.isEmpty());
}

void TestDesktop::emptyTargetFolderIsFilledUnderItsLock()
{
    const QString build = makeBuildTree(kEarlierRuns);
    // A first start made the empty tree and holds the folder's lock.
    const QString target = m_tmp->filePath(QStringLiteral("data/Vellumark/"));
    for (const QString &folder : {QStringLiteral("DB"), QStringLiteral("Projects/Summary"), QStringLiteral("Config")})
        QDir().mkpath(target + folder);
    QLockFile lock(target + SingleInstance::lockFileName());
    QVERIFY(lock.tryLock(0));

    QCOMPARE(moveDataFolderOutOfBuildTree(build, target).outcome, DataFolderMove::Moved);
    QCOMPARE(treeOf(target).value(QStringLiteral("DB/Jan-05-2024.txt")), QByteArray("Dentist 9:30"));
    QVERIFY(QFileInfo::exists(target + SingleInstance::lockFileName()));
    QVERIFY(!QFileInfo::exists(build + QStringLiteral("DB")));
}

void TestDesktop::whereBothHoldDataNothingMoves()
{
    const QString build = makeBuildTree(kEarlierRuns);
    const QString target = m_tmp->filePath(QStringLiteral("data/Vellumark/"));
    writeFileBytes(target + QStringLiteral("DB/Jan-06-2024.txt"), "Newer note");
    const auto buildBefore = treeOf(build);
    const auto targetBefore = treeOf(target);

    const DataFolderMove move = moveDataFolderOutOfBuildTree(build, target);
    QCOMPARE(move.outcome, DataFolderMove::BothHoldData);
    QCOMPARE(treeOf(build), buildBefore);
    QCOMPARE(treeOf(target), targetBefore);
    // The user is told where each is.
    QVERIFY2(move.message.contains(QDir::cleanPath(build)), qPrintable(move.message));
    QVERIFY2(move.message.contains(QDir::cleanPath(target)), qPrintable(move.message));
}

void TestDesktop::failedMoveChangesNothing()
{
    QMap<QString, QByteArray> files = kEarlierRuns;
    const QString build = makeBuildTree(files);
    // Something that cannot be copied: a named pipe among the notes.
    QVERIFY(QProcess::execute(QStringLiteral("mkfifo"), {build + QStringLiteral("DB/Jan-07-2024.txt")}) == 0);
    const QString target = m_tmp->filePath(QStringLiteral("data/Vellumark/"));
    QDir().mkpath(target + QStringLiteral("DB"));
    const auto buildBefore = treeOf(build);
    const auto targetBefore = treeOf(target);

    const DataFolderMove move = moveDataFolderOutOfBuildTree(build, target);
    QCOMPARE(move.outcome, DataFolderMove::Failed);
    QCOMPARE(treeOf(build), buildBefore);
    QCOMPARE(treeOf(target), targetBefore);
    QVERIFY2(move.message.contains(QStringLiteral("Jan-07-2024.txt")), qPrintable(move.message));
    QCOMPARE(QDir(m_tmp->filePath(QStringLiteral("data")))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Vellumark")});
}

void TestDesktop::buildTreeWithoutDataMovesNothing()
{
    // Only the empty folders of a start that saved nothing.
    const QString build = makeBuildTree({});
    QDir().mkpath(build + QStringLiteral("DB"));
    const QString target = m_tmp->filePath(QStringLiteral("data/Vellumark/"));
    const DataFolderMove move = moveDataFolderOutOfBuildTree(build, target);
    QCOMPARE(move.outcome, DataFolderMove::NothingToMove);
    QVERIFY(move.message.isEmpty());
    QVERIFY(!QFileInfo::exists(target));
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
    MainWindow form(fakes.services(), StartOptions{root, QStringLiteral("45296")});
    form.show();
    const QString shots = m_tmp->filePath(QStringLiteral("shots"));
    ScreenshotTour tour(&form, shots, QSize(900, 600));
    const Result toured = tour.run();
    QVERIFY2(toured, qPrintable(toured.error));
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
    // Each section has a picture of its own.
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        for (qsizetype j = i + 1; j < pictures.size(); ++j)
            QVERIFY2(pictures.at(i) != pictures.at(j), qPrintable(expected.at(i) + " = " + expected.at(j)));
    }
    // The tour ends where the program starts: on the Calendar.
    QCOMPARE(sectionStack(&form)->currentWidget(), calendarPage(&form));
    // Taking pictures changes no note.
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll(), QByteArray("Dentist 9:30"));
    note.close();
    form.saveAndClose();
}

void TestDesktop::tourReportsAFolderItCannotMake()
{
    // A file stands where the folder should be.
    const QString blocker = m_tmp->filePath(QStringLiteral("shots"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    FakeServices fakes;
    MainWindow form(fakes.services(), StartOptions{m_tmp->filePath(QStringLiteral("data/")), QString()});
    ScreenshotTour tour(&form, blocker + QStringLiteral("/inside"));
    const Result toured = tour.run();
    QVERIFY(!toured);
    QVERIFY2(toured.error.contains(QStringLiteral("inside")), qPrintable(toured.error));
    QVERIFY(tour.written().isEmpty());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
