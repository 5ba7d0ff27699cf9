// What every store does with an entry of the data folder that is not a
// plain text file of its own: a symbolic link (followed only to a target
// inside the data folder), a named pipe or a folder (refused at once and
// never replaced), and bytes that cannot be text (kept aside as
// NAME.damaged before a new file is started).
#include "testhelpers.h"
#include "ui/app/mainwindow.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/grid/stringgrid.h"
#include "core/projects/costledger.h"
#include "core/projects/projectpages.h"
#include "ui/projects/projectssection.h"
#include "core/topics/topicstore.h"
#include "core/tracker/listviewstream.h"
#include "core/tracker/sleeprecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {



bool isLink(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isFifo(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

class Editors final : public ITopicEditors
{
public:
    QString editorText(int index) const override { return texts.value(index); }
    void setEditorText(int index, const QString &text) override
    {
        while (texts.size() <= index)
            texts.append(QString());
        texts[index] = text;
    }
    QStringList texts;
};

// One store of a data folder, loaded and saved through its own code.
class Store
{
public:
    Store(const QString &kind, const DataFolder &dir) : m_kind(kind), m_dir(dir)
    {
        m_setup.topicsFile = dir.configDir() + QStringLiteral("Journal_Topics.txt");
        m_setup.folder = dir.journalDir();
        m_setup.editors = {TopicEditor{QStringLiteral("Goals"), TopicEditorKind::Text}};
        m_setup.builtInTopics = {QStringLiteral("Built in")};
        m_topics = std::make_unique<TopicStore>(m_setup, &m_editors);
        m_ledger.setProjectsDir(dir.projectsDir());
    }

    QString file() const
    {
        const QString garden = m_dir.projectsDir() + QStringLiteral("Garden/");
        if (m_kind == QLatin1String("page"))
            return garden + QStringLiteral("Projects.txt");
        if (m_kind == QLatin1String("ledger"))
            return garden + QStringLiteral("money.txt");
        if (m_kind == QLatin1String("topics"))
            return m_setup.topicsFile;
        if (m_kind == QLatin1String("year"))
            return garden + QStringLiteral("2024-time.txt");
        return garden + QStringLiteral("bedtimes.txt");
    }

    // Bytes of a well-formed file of this store.
    QByteArray sample() const
    {
        if (m_kind == QLatin1String("ledger"))
            return "Item name,Date,Debit,Credit\r\nSeeds,Jan 5,12.50, \r\n";
        if (m_kind == QLatin1String("year"))
            return "Date,x\r\nMonday January 1 2024,7\r\n";
        if (m_kind == QLatin1String("alarms")) {
            ListViewData list;
            list.items.append(ListViewItem{true, QStringLiteral("Bed"), {QStringLiteral("10:30 PM")}});
            return encodeListView(list);
        }
        return "Sow the beans\r\nDig";
    }

    // Loads; false with the message when the store refused the file.
    bool load(QString *message)
    {
        message->clear();
        if (m_kind == QLatin1String("page")) {
            const Expected<QString> text = ProjectPages::loadPageText(file());
            *message = text.error;
            return text.ok;
        }
        if (m_kind == QLatin1String("ledger")) {
            const Result loaded = m_ledger.switchTo(QStringLiteral("Garden"));
            *message = loaded.error;
            return loaded.ok;
        }
        if (m_kind == QLatin1String("topics")) {
            const WriteResult loaded = m_topics->loadTopicList();
            *message = loaded.error;
            return loaded.ok;
        }
        if (m_kind == QLatin1String("year")) {
            m_record.bind(m_dir.projectsDir() + QStringLiteral("Garden/"), 45296);
            m_record.markLoaded();
            QString notice;
            const Result loaded = m_record.loadYear(2024, &notice);
            *message = notice.isEmpty() ? loaded.error : notice;
            return loaded.ok;
        }
        ListViewData list;
        const ListViewLoad loaded = loadListView(&list, file());
        *message = loaded.error;
        return loaded.ok && loaded.clean;
    }

    // Saves what the store holds (a new entry for the lists).
    WriteResult save()
    {
        if (m_kind == QLatin1String("page"))
            return ProjectPages::savePageText(m_dir.projectsDir() + QStringLiteral("Garden/"), file(),
                                              QStringLiteral("Sow the peas"));
        if (m_kind == QLatin1String("ledger")) {
            m_ledger.AddItem(QDateTime(QDate(2024, 1, 7), QTime(9, 0)), QLocale::c());
            return m_ledger.saveLedger();
        }
        if (m_kind == QLatin1String("topics")) {
            m_topics->addTopic(QStringLiteral("Pond"));
            return m_topics->saveTopicList();
        }
        if (m_kind == QLatin1String("year"))
            return m_record.saveYear();
        ListViewData list;
        list.items.append(ListViewItem{true, QStringLiteral("Nap"), {QStringLiteral("2:00 PM")}});
        return saveListView(list, file());
    }

private:
    QString m_kind;
    const DataFolder &m_dir;
    TopicWorkspaceSetup m_setup;
    Editors m_editors;
    std::unique_ptr<TopicStore> m_topics;
    CostLedger m_ledger;
    SleepRecord m_record;
};

// The data folder beside a folder outside it, both in one temporary folder.
struct Folders
{
    Folders()
    {
        QDir().mkpath(tmp.path() + QStringLiteral("/data/Projects/Garden"));
        QDir().mkpath(tmp.path() + QStringLiteral("/outside"));
        dir = std::make_unique<DataFolder>(tmp.path() + QStringLiteral("/data/"), nullptr, clock);
    }
    QString outside(const QString &name) const { return tmp.path() + QStringLiteral("/outside/") + name; }
    QTemporaryDir tmp;
    FakeClock clock;
    std::unique_ptr<DataFolder> dir;
};

void addStores()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"page", "ledger", "topics", "year", "alarms"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

} // namespace

class TestStoredEntries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linkInsideIsReadAndWrittenThrough_data() { addStores(); }
    void linkInsideIsReadAndWrittenThrough();
    void linkOutsideIsNeitherReadNorWritten_data() { addStores(); }
    void linkOutsideIsNeitherReadNorWritten();
    void brokenLinkIsRefusedAndNothingCreated_data() { addStores(); }
    void brokenLinkIsRefusedAndNothingCreated();
    void namedPipeIsRefusedAtOnceAndKept_data() { addStores(); }
    void namedPipeIsRefusedAtOnceAndKept();

    void projectListLinksFollowTheSameRule();

    void binaryFileIsKeptAsideAndANewOneStarted_data();
    void binaryFileIsKeptAsideAndANewOneStarted();
    void windows1252FileIsNotDamaged_data();
    void windows1252FileIsNotDamaged();
    void binaryProjectListIsKeptAside();
    void topicsFileWithOneOlderLineKeepsItsNames();
};

void TestStoredEntries::linkInsideIsReadAndWrittenThrough()
{
    QFETCH(QString, kind);
    Folders f;
    Store store(kind, *f.dir);
    const QString target = f.dir->userDataDir() + QStringLiteral("kept.txt");
    writeFileBytes(target, store.sample());
    QVERIFY(QFile::link(target, store.file()));

    QString message;
    QVERIFY2(store.load(&message), qPrintable(message));
    const WriteResult saved = store.save();
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QVERIFY(isLink(store.file()));
    QVERIFY(fileBytes(target) != store.sample());
}

void TestStoredEntries::linkOutsideIsNeitherReadNorWritten()
{
    QFETCH(QString, kind);
    Folders f;
    Store store(kind, *f.dir);
    const QString target = f.outside(QStringLiteral("elsewhere.txt"));
    writeFileBytes(target, store.sample());
    QVERIFY(QFile::link(target, store.file()));

    QString message;
    QVERIFY(!store.load(&message));
    QVERIFY2(message.contains(QLatin1String("outside the data folder")), qPrintable(message));
    QVERIFY2(message.contains(QFileInfo(store.file()).fileName()), qPrintable(message));
    store.save();
    QCOMPARE(fileBytes(target), store.sample());
    QVERIFY(isLink(store.file()));
}

void TestStoredEntries::brokenLinkIsRefusedAndNothingCreated()
{
    QFETCH(QString, kind);
    Folders f;
    Store store(kind, *f.dir);
    const QString target = f.outside(QStringLiteral("gone.txt"));
    QVERIFY(QFile::link(target, store.file()));

    QString message;
    QVERIFY(!store.load(&message));
    QVERIFY2(message.contains(QLatin1String("does not exist")), qPrintable(message));
    store.save();
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(isLink(store.file()));

    // A direct write of the link is refused too, with the reason.
    const WriteResult written = TextFile::writeText(store.file(), QStringLiteral("text"));
    QVERIFY(!written.ok);
    QVERIFY2(written.error.contains(QFileInfo(store.file()).fileName()), qPrintable(written.error));
    QVERIFY(!QFileInfo::exists(target));
}

void TestStoredEntries::namedPipeIsRefusedAtOnceAndKept()
{
    QFETCH(QString, kind);
    Folders f;
    Store store(kind, *f.dir);
    QVERIFY(::mkfifo(QFile::encodeName(store.file()).constData(), 0600) == 0);

    QElapsedTimer clock;
    clock.start();
    QString message;
    QVERIFY(!store.load(&message));
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY2(message.contains(QLatin1String("not a regular file")), qPrintable(message));
    QVERIFY2(message.contains(QFileInfo(store.file()).fileName()), qPrintable(message));
    store.save();
    QVERIFY(isFifo(store.file()));
}

void TestStoredEntries::projectListLinksFollowTheSameRule()
{
    struct Case
    {
        const char *name;
        bool inside;
        bool broken;
        const char *reason;
    };
    const Case cases[] = {{"inside", true, false, nullptr},
                          {"outside", false, false, "outside the data folder"},
                          {"broken", false, true, "does not exist"}};
    for (const Case &c : cases) {
        QTemporaryDir tmp;
        const QString root = tmp.path() + QStringLiteral("/data/");
        QDir().mkpath(root + QStringLiteral("Config"));
        QDir().mkpath(root + QStringLiteral("UserData"));
        const QString target = c.inside ? root + QStringLiteral("UserData/list.txt")
                                        : tmp.path() + QStringLiteral("/outside.txt");
        const QByteArray lines = "\r\nGarden\r\nShed\r\n";
        if (!c.broken)
            writeFileBytes(target, lines);
        const QString link = root + QStringLiteral("Config/departments.txt");
        QVERIFY(QFile::link(target, link));

        FakeServices fakes;
        {
            MainWindow form(fakes.services(), StartOptions{root, QStringLiteral("45296")});
            form.runStartup();
            form.showProjects();
            if (c.reason) {
                QVERIFY2(fakes.dialogs.errors.join('\n').contains(QLatin1String(c.reason)),
                         qPrintable(QStringLiteral("%1: %2").arg(c.name, fakes.dialogs.errors.join('\n'))));
            } else {
                QVERIFY2(fakes.dialogs.errors.isEmpty(), qPrintable(fakes.dialogs.errors.join('\n')));
                QVERIFY(form.projectsSection()->departmentLines().contains(QStringLiteral("Shed")));
            }
            form.close();
        }
        QVERIFY2(isLink(link), c.name);
        if (c.broken)
            QVERIFY2(!QFileInfo::exists(target), c.name);
        else
            QCOMPARE(fileBytes(target), lines);
    }
}

void TestStoredEntries::binaryFileIsKeptAsideAndANewOneStarted_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"ledger", "topics", "year"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestStoredEntries::binaryFileIsKeptAsideAndANewOneStarted()
{
    QFETCH(QString, kind);
    Folders f;
    Store store(kind, *f.dir);
    const QByteArray binary("PK\x03\x04\x14\x00\x00\x00\x08\x00garden.xlsx\x8B\xE4\xC1\xFF", 25);
    writeFileBytes(store.file(), binary);
    // An earlier copy is never replaced.
    writeFileBytes(store.file() + QStringLiteral(".damaged"), "earlier");

    QString message;
    store.load(&message);
    const QString copy = store.file() + QStringLiteral(".damaged-2");
    QVERIFY2(message.contains(QLatin1String("could not be read as text")), qPrintable(message));
    QVERIFY2(message.contains(QFileInfo(copy).fileName()), qPrintable(message));
    QCOMPARE(fileBytes(copy), binary);
    QCOMPARE(fileBytes(store.file() + QStringLiteral(".damaged")), QByteArray("earlier"));

    // The store starts a new file, which is written as text.
    const WriteResult saved = store.save();
    QVERIFY2(saved.ok, qPrintable(saved.error));
    const QByteArray now = fileBytes(store.file());
    QVERIFY(!TextFile::looksDamaged(now));
    QVERIFY(now != "<missing>");
    QCOMPARE(fileBytes(copy), binary);
}

void TestStoredEntries::windows1252FileIsNotDamaged_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"ledger", "topics", "year"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestStoredEntries::windows1252FileIsNotDamaged()
{
    QFETCH(QString, kind);
    Folders f;
    Store store(kind, *f.dir);
    const QByteArray ansi = kind == QLatin1String("topics") ? QByteArray("Caf\xE9\r\nna\xEFve\r\n")
                                                             : QByteArray("Item,Date\r\nCaf\xE9 \x80,Jan 5\r\n");
    writeFileBytes(store.file(), ansi);
    QString message;
    QVERIFY2(store.load(&message), qPrintable(message));
    QVERIFY(message.isEmpty());
    QVERIFY(!QFileInfo::exists(store.file() + QStringLiteral(".damaged")));
}

void TestStoredEntries::binaryProjectListIsKeptAside()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    const QString list = root + QStringLiteral("Config/departments.txt");
    const QByteArray binary("\x7F" "ELF\x02\x01\x01\x00\x00\x00\xB0\x8F\xFE", 13);
    writeFileBytes(list, binary);
    FakeServices fakes;
    {
        MainWindow form(fakes.services(), StartOptions{root, QStringLiteral("45296")});
        form.runStartup();
        form.showProjects();
        const QString shown = fakes.dialogs.errors.join('\n');
        QVERIFY2(shown.contains(QLatin1String("departments.txt")) && shown.contains(QLatin1String(".damaged")),
                 qPrintable(shown));
        form.close();
    }
    QCOMPARE(fileBytes(list + QStringLiteral(".damaged")), binary);
    // A new list, written as text at close.
    const QByteArray now = fileBytes(list);
    QVERIFY(now != "<missing>");
    QVERIFY(!TextFile::looksDamaged(now));
}

void TestStoredEntries::topicsFileWithOneOlderLineKeepsItsNames()
{
    // One line pasted from an older Windows-1252 file among UTF-8 names:
    // through a start and a close every name is the same, now all UTF-8.
    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    const QString topics = root + QStringLiteral("Config/Journal_Topics.txt");
    writeFileBytes(topics, "Garden ideas\r\nCaf\xC3\xA9 plans\r\nOld caf\xE9 list\r\n\xE6\x97\xA5\xE6\x9C\xAC trip\r\n");
    FakeServices fakes;
    {
        MainWindow form(fakes.services(), StartOptions{root, QStringLiteral("45296")});
        form.runStartup();
        form.close();
    }
    QCOMPARE(TextFile::readLines(topics).value,
             QStringList({QStringLiteral("Garden ideas"), QString::fromUtf8("Café plans"),
                          QString::fromUtf8("Old café list"), QString::fromUtf8("日本 trip")}));
    QCOMPARE(fileBytes(topics),
             QByteArray("Garden ideas\r\nCaf\xC3\xA9 plans\r\nOld caf\xC3\xA9 list\r\n\xE6\x97\xA5\xE6\x9C\xAC trip\r\n"));
}

QTEST_MAIN(TestStoredEntries)
#include "tst_storedentries.moc"
