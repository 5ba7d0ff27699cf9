#include "testhelpers.h"
#include "fakes.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "core/projects/projectnames.h"
#include "core/projects/projectpages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {


} // namespace

class TestProjectStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> tmp;
    FakeClock clock;
    std::unique_ptr<DataFolder> dir;

private Q_SLOTS:
    void init()
    {
        tmp = std::make_unique<QTemporaryDir>();
        dir = std::make_unique<DataFolder>(tmp->path() + QLatin1Char('/'), nullptr, clock);
    }

    void trimRemovesBlanksAndControlCharacters()
    {
        QCOMPARE(ProjectNames::trimBlanks(QStringLiteral("  Garden \t\r\n")), QStringLiteral("Garden"));
        QCOMPARE(ProjectNames::trimBlanks(QStringLiteral("\x01" "Car\x1f")), QStringLiteral("Car"));
        QCOMPARE(ProjectNames::trimBlanks(QStringLiteral("Car  Repairs")), QStringLiteral("Car  Repairs"));
        QCOMPARE(ProjectNames::trimBlanks(QStringLiteral("   ")), QString());
    }

    void categoryLinesHoldAnAtSign()
    {
        QVERIFY(ProjectNames::isCategoryLine(QStringLiteral("@Home")));
        QVERIFY(ProjectNames::isCategoryLine(QStringLiteral("Mail me@home")));
        QVERIFY(!ProjectNames::isCategoryLine(QStringLiteral("Garden")));
    }

    void builtInListHas25Lines()
    {
        const QStringList lines = ProjectNames::builtInDepartments();
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.first(), QStringLiteral("@Home"));
        QCOMPARE(lines.at(5), QString());
        QCOMPARE(lines.at(8), QStringLiteral("Projects"));
        QCOMPARE(lines.at(11), QStringLiteral("Projects"));
        QCOMPARE(lines.last(), QStringLiteral("Gifts"));
        QCOMPARE(lines.count(QString()), 5);
    }

    void namesThatCannotNameAFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("usable");
        QTest::newRow("plain") << QStringLiteral("Garden") << true;
        QTest::newRow("category") << QStringLiteral("@Home") << true;
        QTest::newRow("accents") << QStringLiteral("Äpfel & Birnen") << true;
        QTest::newRow("dots inside") << QStringLiteral("v1.2..3") << true;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("slash") << QStringLiteral("a/b") << false;
        QTest::newRow("escape up") << QStringLiteral("../../etc") << false;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
        QTest::newRow("control") << QStringLiteral("a\x07z") << false;
        QTest::newRow("too long") << QString(256, QLatin1Char('x')) << false;
        QTest::newRow("longest") << QString(255, QLatin1Char('x')) << true;
    }

    void namesThatCannotNameAFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, usable);
        const QString problem = ProjectNames::nameProblem(name);
        QCOMPARE(problem.isEmpty(), usable);
        if (!usable)
            QVERIFY(problem.contains(name));
    }

    void pagePaths()
    {
        const QString p = dir->projectsDir();
        QCOMPARE(ProjectPages::ownerFolder(p, QString()), p);
        QCOMPARE(ProjectPages::pageFile(p, QString(), QStringLiteral("Done")), p + QStringLiteral("Done.txt"));
        QCOMPARE(ProjectPages::pageFile(p, QStringLiteral("Garden"), QStringLiteral("OnHold")),
                 p + QStringLiteral("Garden/OnHold.txt"));
    }

    void pageSavedOnlyWhileItsFolderExists()
    {
        const QString folder = dir->projectsDir() + QStringLiteral("Gone/");
        bool written = true;
        QVERIFY(ProjectPages::savePageText(folder, folder + QStringLiteral("Done.txt"), QStringLiteral("x"), &written));
        QVERIFY(!written);
        QVERIFY(!QFileInfo::exists(folder));

        QDir().mkdir(folder);
        QVERIFY(ProjectPages::savePageText(folder, folder + QStringLiteral("Done.txt"), QStringLiteral("a\nb"), &written));
        QVERIFY(written);
        QFile file(folder + QStringLiteral("Done.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("a\r\nb"));

        const Expected<QString> text = ProjectPages::loadPageText(folder + QStringLiteral("Missing.txt"));
        QVERIFY(text);
        QVERIFY(text.value.isEmpty());
    }

    void summaryExample()
    {
        writeFileBytes(dir->projectsDir() + QStringLiteral("Garden/Projects.txt"), "A\r\n\r\nB");
        writeFileBytes(dir->projectsDir() + QStringLiteral("@Home/Projects.txt"), "never read");
        const QStringList lines = ProjectPages::buildSummary(
            {QStringLiteral("@Home"), QStringLiteral("Repairs"), QStringLiteral("Garden")}, dir->projectsDir(),
            QStringLiteral("Projects"));
        QCOMPARE(lines, (QStringList{QStringLiteral("[Garden]"), QStringLiteral("   A"), QStringLiteral("   B")}));
    }

    void summarySectionsBlankLinesAndIndents()
    {
        writeFileBytes(dir->projectsDir() + QStringLiteral("Car/Done.txt"), "  oil\r\n \t \r\ntyres\r\n");
        writeFileBytes(dir->projectsDir() + QStringLiteral("Garden/Done.txt"), "beds");
        writeFileBytes(dir->projectsDir() + QStringLiteral("Empty/Done.txt"), "");
        // A blank list line reads the projects folder's own page.
        writeFileBytes(dir->projectsDir() + QStringLiteral("Done.txt"), "loose");
        // An unusable name is never read, even when a file is there.
        writeFileBytes(dir->rootDir() + QStringLiteral("Done.txt"), "outside");
        const QStringList lines = ProjectPages::buildSummary(
            {QStringLiteral("first"), QStringLiteral("  Car  "), QStringLiteral("Empty"), QString(),
             QStringLiteral(".."), QStringLiteral("Garden"), QStringLiteral("Nothing")},
            dir->projectsDir(), QStringLiteral("Done"));
        QCOMPARE(lines, (QStringList{QStringLiteral("[Car]"), QStringLiteral("     oil"), QStringLiteral("   tyres"),
                                     QString(), QStringLiteral("[]"), QStringLiteral("   loose"), QString(),
                                     QStringLiteral("[Garden]"), QStringLiteral("   beds")}));
    }

    void summaryOfAFileOfBlankLinesIsAHeadingAlone()
    {
        writeFileBytes(dir->projectsDir() + QStringLiteral("Car/Links.txt"), "\r\n  \r\n");
        const QStringList lines = ProjectPages::buildSummary({QStringLiteral("x"), QStringLiteral("Car")},
                                                             dir->projectsDir(), QStringLiteral("Links"));
        QCOMPARE(lines, QStringList{QStringLiteral("[Car]")});
    }

    void leavingTrimsTheWholeText()
    {
        QCOMPARE(ProjectPages::trimPageText(QStringLiteral("\n\n  a\n\n b \n\n\n")), QStringLiteral("a\n\n b"));
        QCOMPARE(ProjectPages::trimPageText(QStringLiteral("http://x.org\n\n\n")), QStringLiteral("http://x.org"));
        QCOMPARE(ProjectPages::trimPageText(QStringLiteral(" \n\t")), QString());
    }

    void deleteRemovesMonthSubfoldersDeepestFirst()
    {
        const QString folder = dir->projectsDir() + QStringLiteral("Garden/");
        writeFileBytes(folder + QStringLiteral("Projects.txt"), "a");
        writeFileBytes(folder + QStringLiteral("money.txt"), "b");
        writeFileBytes(folder + QStringLiteral("2024/Jan/time.txt"), "c");
        writeFileBytes(folder + QStringLiteral("2024/Feb/note.txt"), "d");
        writeFileBytes(folder + QStringLiteral("2023/Dec/x.txt"), "e");
        QDir().mkpath(folder + QStringLiteral("empty/deeper/still"));
        const Result deleted = ProjectPages::deleteProjectFolder(*dir, folder);
        QVERIFY2(deleted, qPrintable(deleted.error));
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QFileInfo(dir->projectsDir()).isDir());
    }

    void deleteNeverFollowsALinkOutOfTheFolder()
    {
        QTemporaryDir outside;
        writeFileBytes(outside.filePath(QStringLiteral("precious.txt")), "keep");
        const QString folder = dir->projectsDir() + QStringLiteral("Car/");
        writeFileBytes(folder + QStringLiteral("Projects.txt"), "a");
        QVERIFY(QFile::link(outside.path(), folder + QStringLiteral("link")));
        const Result deleted = ProjectPages::deleteProjectFolder(*dir, folder);
        QVERIFY2(deleted, qPrintable(deleted.error));
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QFileInfo::exists(outside.filePath(QStringLiteral("precious.txt"))));

        // A project folder that is itself a link: only the link goes.
        QVERIFY(QFile::link(outside.path(), dir->projectsDir() + QStringLiteral("Linked")));
        QVERIFY(ProjectPages::deleteProjectFolder(*dir, dir->projectsDir() + QStringLiteral("Linked/")));
        QVERIFY(!QFileInfo(dir->projectsDir() + QStringLiteral("Linked")).isSymLink());
        QVERIFY(QFileInfo::exists(outside.filePath(QStringLiteral("precious.txt"))));
    }

    void deleteOfAMissingFolderIsNoError()
    {
        const Result deleted = ProjectPages::deleteProjectFolder(*dir, dir->projectsDir() + QStringLiteral("Never/"));
        QVERIFY(deleted);
        QVERIFY(deleted.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProjectStore)
#include "tst_projectstore.moc"
