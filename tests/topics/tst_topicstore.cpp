// The topic list store without a window: file names, the topics file, and
// opening, saving and deleting a topic's files through a fake editor set.

#include "common/textfile.h"
#include "topics/topicfiles.h"
#include "topics/topicstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeEditors final : public ITopicEditors
{
public:
    explicit FakeEditors(int count)
        : texts(count)
    {
    }
    QString editorText(int index) const override { return texts.at(index); }
    void setEditorText(int index, const QString &text) override { texts[index] = text; }
    QStringList texts;
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TstTopicStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_root = nullptr;
    QString m_config;
    QString m_folder;

    TopicWorkspaceSetup journal() const
    {
        TopicWorkspaceSetup setup;
        setup.topicsFile = m_config + QStringLiteral("Journal_Topics.txt");
        setup.folder = m_folder;
        setup.editors = {{QStringLiteral("todo"), TopicEditorKind::Lines}};
        setup.builtInTopics = Topics::BuiltInJournalTopics();
        return setup;
    }

    TopicWorkspaceSetup decision() const
    {
        TopicWorkspaceSetup setup;
        setup.topicsFile = m_config + QStringLiteral("Decision_Topics.txt");
        setup.folder = m_folder;
        setup.editors = {{QStringLiteral("plus"), TopicEditorKind::Lines},
                         {QStringLiteral("minus"), TopicEditorKind::Lines},
                         {QStringLiteral("made"), TopicEditorKind::Text},
                         {QStringLiteral("Done"), TopicEditorKind::Text},
                         {QStringLiteral("NextStep"), TopicEditorKind::Text},
                         {QStringLiteral("Links"), TopicEditorKind::Text},
                         {QStringLiteral("Other"), TopicEditorKind::Text}};
        setup.builtInTopics = Topics::BuiltInDecisionTopics();
        return setup;
    }

    QString file(const QString &name) const { return m_folder + name; }
    QStringList folderFiles() const
    {
        return QDir(m_folder).entryList(QDir::Files, QDir::Name);
    }

private Q_SLOTS:
    void init()
    {
        m_root = new QTemporaryDir;
        QVERIFY(m_root->isValid());
        m_config = m_root->path() + QStringLiteral("/Config/");
        m_folder = m_root->path() + QStringLiteral("/Journal/");
        QVERIFY(QDir().mkpath(m_config));
        QVERIFY(QDir().mkpath(m_folder));
    }

    void cleanup()
    {
        delete m_root;
        m_root = nullptr;
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("expected");
        QTest::newRow("final full stop") << "My Life Highlights." << "My Life Highlights_todo.txt";
        QTest::newRow("only stripped") << "???" << "_todo.txt";
        QTest::newRow("A.B") << "A.B" << "AB_todo.txt";
        QTest::newRow("AB") << "AB" << "AB_todo.txt";
        QTest::newRow("all twelve") << "a\"*./:<>?[\\]|b" << "ab_todo.txt";
        QTest::newRow("climbing out") << "../../etc/passwd" << "etcpasswd_todo.txt";
        QTest::newRow("blanks and case stay") << "  Tricks I Want  To Learn " << "  Tricks I Want  To Learn _todo.txt";
        QTest::newRow("quotation mark stays") << QString::fromUtf8("Reasons I\u2019M Depressed")
                                              << QString::fromUtf8("Reasons I\u2019M Depressed_todo.txt");
        QTest::newRow("other punctuation stays") << "Rock & Roll (live), #1!" << "Rock & Roll (live), #1!_todo.txt";
    }

    void fileNames()
    {
        QFETCH(QString, topic);
        QFETCH(QString, expected);
        QCOMPARE(Topics::TopicFileName(QStringLiteral("/data/Journal/"), topic, QStringLiteral("todo")),
                 QStringLiteral("/data/Journal/") + expected);
    }

    void builtInTopics()
    {
        const QStringList &lists = Topics::BuiltInJournalTopics();
        QCOMPARE(lists.size(), 87);
        QCOMPARE(lists.first(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(lists.last(), QStringLiteral("Ways To Improve My Business"));
        QCOMPARE(lists.at(3), QStringLiteral("Bucket List"));
        QVERIFY(lists.contains(QStringLiteral("Tricks I Want  To Learn")));
        QVERIFY(lists.contains(QStringLiteral("My Life Highlights.")));
        int quotes = 0;
        for (const QString &topic : lists) {
            quotes += topic.count(QChar(0x2019));
            QVERIFY2(!topic.contains(QLatin1Char('\'')), qPrintable(topic));
        }
        QCOMPARE(quotes, 3);
        QVERIFY(lists.contains(QString::fromUtf8("Things That Don\u2019T Scare Me Any More")));

        const QStringList &decisions = Topics::BuiltInDecisionTopics();
        QCOMPARE(decisions,
                 QStringList({"Ask for a raise", "Buy a New car", "Buy a New House", "Switch Schools",
                              "Switch Job", "Take a vacation", "Move to a new place", "Get married",
                              "Home School kids"}));
    }

    void blankTopicsAndQuestion()
    {
        QVERIFY(Topics::IsBlankTopic(QString()));
        QVERIFY(Topics::IsBlankTopic(QStringLiteral("  \t ")));
        QVERIFY(!Topics::IsBlankTopic(QStringLiteral(" a ")));
        QCOMPARE(Topics::DeleteQuestion(QStringLiteral("Bucket List")),
                 QStringLiteral("Are you sure you wan to delete'Bucket List'"));
        QCOMPARE(Topics::DeleteQuestion(QStringLiteral("Mum's day")),
                 QStringLiteral("Are you sure you wan to delete'Mum''s day'"));
    }

    void topicsFileLoading()
    {
        FakeEditors editors(1);
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.LoadTopicList());
            QCOMPARE(store.topics(), Topics::BuiltInJournalTopics());
        }
        writeFile(m_config + "Journal_Topics.txt", "One\r\n\r\nThree\nFour");
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.LoadTopicList());
            QCOMPARE(store.topics(), QStringList({"One", "", "Three", "Four"}));
        }
        // A file from an older install: the quotation mark as byte 0x92.
        writeFile(m_config + "Journal_Topics.txt", "Reasons I\x92M Depressed\r\n");
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.LoadTopicList());
            QCOMPARE(store.topics(), QStringList({QString::fromUtf8("Reasons I\u2019M Depressed")}));
        }
        writeFile(m_config + "Journal_Topics.txt", "");
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.LoadTopicList());
            QVERIFY(store.topics().isEmpty());
        }
    }

    void topicsFileIsCreatedAndWritten()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(store.LoadTopicList());
        store.setSelectedIndex(1);
        QCOMPARE(store.MoveUp(), TopicStore::Move::Moved);
        QVERIFY(store.SaveTopicList());
        const QStringList saved = TextFile::readLines(m_config + "Journal_Topics.txt");
        QCOMPARE(saved.size(), 87);
        QCOMPARE(saved.at(0), QStringLiteral("Best Places In My City"));
        QCOMPARE(saved.at(1), QStringLiteral("Best Childhood Memories"));
        QVERIFY(fileBytes(m_config + "Journal_Topics.txt").endsWith("Ways To Improve My Business\r\n"));
    }

    void unreadableTopicsFileIsLeftAlone()
    {
        // A folder where the file should be cannot be read as a file.
        QVERIFY(QDir().mkpath(m_config + "Journal_Topics.txt"));
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        const WriteResult loaded = store.LoadTopicList();
        QVERIFY(!loaded);
        QVERIFY(loaded.error.contains(QStringLiteral("Journal_Topics.txt")));
        QCOMPARE(store.topics(), Topics::BuiltInJournalTopics());
        QVERIFY(store.AddTopic(QStringLiteral("New")));
        QVERIFY(store.SaveTopicList());
        QVERIFY(QFileInfo(m_config + "Journal_Topics.txt").isDir());
    }

    void addingTopics()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(!store.AddTopic(QStringLiteral("bucket list")));
        QVERIFY(!store.AddTopic(QStringLiteral("BUCKET LIST")));
        QVERIFY(!store.AddTopic(QString()));
        QCOMPARE(store.topics().size(), 87);
        QVERIFY(store.AddTopic(QStringLiteral("Topic Name")));
        QVERIFY(store.AddTopic(QStringLiteral("   ")));
        QVERIFY(store.AddTopic(QStringLiteral(" Bucket List ")));
        QCOMPARE(store.topics().mid(87), QStringList({"Topic Name", "   ", " Bucket List "}));
        // Not selected, not opened, no file.
        QCOMPARE(store.selectedIndex(), -1);
        QVERIFY(store.currentTopic().isEmpty());
        QVERIFY(folderFiles().isEmpty());
    }

    void movingTopics()
    {
        TopicWorkspaceSetup setup = journal();
        setup.builtInTopics = {"A", "B", "C"};
        FakeEditors editors(1);
        TopicStore store(setup, &editors);
        QCOMPARE(store.MoveUp(), TopicStore::Move::NothingSelected);
        QCOMPARE(store.MoveDown(), TopicStore::Move::NothingSelected);
        store.setSelectedIndex(0);
        QCOMPARE(store.MoveUp(), TopicStore::Move::AtEnd);
        QCOMPARE(store.topics(), QStringList({"A", "B", "C"}));
        QCOMPARE(store.MoveDown(), TopicStore::Move::Moved);
        QCOMPARE(store.selectedIndex(), 1);
        QCOMPARE(store.MoveDown(), TopicStore::Move::Moved);
        QCOMPARE(store.topics(), QStringList({"B", "C", "A"}));
        QCOMPARE(store.selectedIndex(), 2);
        QCOMPARE(store.MoveDown(), TopicStore::Move::AtEnd);
        QCOMPARE(store.topics(), QStringList({"B", "C", "A"}));
        QVERIFY(!QFile::exists(m_config + "Journal_Topics.txt"));
        store.setSelectedIndex(7);
        QCOMPARE(store.selectedIndex(), -1);
    }

    void openingSavesTheTopicLeft()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        editors.texts[0] = QStringLiteral("typed before any topic");
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        QCOMPARE(editors.texts[0], QString());
        QVERIFY(folderFiles().isEmpty());

        editors.texts[0] = QStringLiteral("one\ntwo\nthree");
        QVERIFY(store.OpenTopic(QStringLiteral("Dream Dates")));
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("one\r\ntwo\r\nthree\r\n"));
        QVERIFY(!QFile::exists(file("Dream Dates_todo.txt")));
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        QCOMPARE(editors.texts[0], QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray());
        QCOMPARE(store.currentTopic(), QStringLiteral("Bucket List"));

        // Opening the open topic stores it and reads it back.
        editors.texts[0] = QStringLiteral("one\n");
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("one\r\n\r\n"));
        QCOMPARE(editors.texts[0], QStringLiteral("one\n"));
    }

    void unchangedTextIsNotRewritten()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        // Written by another program: LF line ends, no final break.
        writeFile(file("Bucket List_todo.txt"), "a\nb");
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        QCOMPARE(editors.texts[0], QStringLiteral("a\nb"));
        QVERIFY(store.OpenTopic(QStringLiteral("Dream Dates")));
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("a\nb"));
        // A topic whose file is missing still gets it when left.
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray("<missing>"));
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray());
        editors.texts[0] = QStringLiteral("a\nb\nc");
        QVERIFY(store.Close());
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("a\r\nb\r\nc\r\n"));
        // A file removed behind the program's back is written again.
        QVERIFY(QFile::remove(file("Bucket List_todo.txt")));
        QVERIFY(store.Close());
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("a\r\nb\r\nc\r\n"));
    }

    void sevenFilesPerDecision()
    {
        FakeEditors editors(7);
        TopicStore store(decision(), &editors);
        QVERIFY(store.OpenTopic(QStringLiteral("Buy a New car")));
        editors.texts = {"fast\ncheap", "", "Buy it", "", "Call the dealer\nSign", "", "x\n"};
        QVERIFY(store.OpenTopic(QStringLiteral("Get married")));
        QCOMPARE(folderFiles(),
                 QStringList({"Buy a New car_Done.txt", "Buy a New car_Links.txt",
                              "Buy a New car_NextStep.txt", "Buy a New car_Other.txt",
                              "Buy a New car_made.txt", "Buy a New car_minus.txt",
                              "Buy a New car_plus.txt"}));
        // The columns are lists; the memos are stored exactly as held.
        QCOMPARE(fileBytes(file("Buy a New car_plus.txt")), QByteArray("fast\r\ncheap\r\n"));
        QCOMPARE(fileBytes(file("Buy a New car_minus.txt")), QByteArray());
        QCOMPARE(fileBytes(file("Buy a New car_made.txt")), QByteArray("Buy it"));
        QCOMPARE(fileBytes(file("Buy a New car_NextStep.txt")), QByteArray("Call the dealer\r\nSign"));
        QCOMPARE(fileBytes(file("Buy a New car_Other.txt")), QByteArray("x\r\n"));
        QCOMPARE(editors.texts, QStringList(7));

        QVERIFY(store.OpenTopic(QStringLiteral("Buy a New car")));
        QCOMPARE(editors.texts, QStringList({"fast\ncheap", "", "Buy it", "", "Call the dealer\nSign", "", "x\n"}));

        store.setSelectedIndex(1);
        QVERIFY(store.DeleteTopic(QStringLiteral("Buy a New car")));
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy a New car")), QStringList());
        QVERIFY(!store.topics().contains(QStringLiteral("Buy a New car")));
    }

    void deletingTheOpenTopic()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        writeFile(file("Best Childhood Memories_todo.txt"), "first\r\n");
        store.setSelectedIndex(3);
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        editors.texts[0] = QStringLiteral("left behind");
        QVERIFY(store.OpenTopic(QStringLiteral("Dream Dates")));
        store.setSelectedIndex(3);
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        QVERIFY(QFile::exists(file("Bucket List_todo.txt")));

        QVERIFY(store.DeleteTopic(QStringLiteral("Bucket List")));
        QVERIFY(!QFile::exists(file("Bucket List_todo.txt")));
        QCOMPARE(store.topics().size(), 86);
        QVERIFY(!store.topics().contains(QStringLiteral("Bucket List")));
        QCOMPARE(store.selectedIndex(), -1);
        QCOMPARE(store.currentTopic(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(editors.texts[0], QStringLiteral("first"));
        QCOMPARE(TextFile::readLines(m_config + "Journal_Topics.txt").size(), 86);
    }

    void deletingWithNothingSelected()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        writeFile(file("Best Childhood Memories_todo.txt"), "first\r\n");
        writeFile(file("Dream Dates_todo.txt"), "kept\r\n");
        QCOMPARE(store.SelectedTopic(), QStringLiteral("Best Childhood Memories"));
        QVERIFY(store.DeleteTopic(store.SelectedTopic()));
        // The entry stays and reopens empty; only its file went.
        QCOMPARE(store.topics().first(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(store.topics().size(), 87);
        QCOMPARE(store.currentTopic(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(editors.texts[0], QString());
        QCOMPARE(folderFiles(), QStringList({"Dream Dates_todo.txt"}));
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray("kept\r\n"));
    }

    void deletingAnotherTopicStoresTheOpenOne()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(store.OpenTopic(QStringLiteral("Dream Dates")));
        editors.texts[0] = QStringLiteral("dinner");
        store.setSelectedIndex(3);
        QVERIFY(store.DeleteTopic(QStringLiteral("Bucket List")));
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray("dinner\r\n"));
        QCOMPARE(store.currentTopic(), QStringLiteral("Best Childhood Memories"));
    }

    void emptyListDoesNothing()
    {
        TopicWorkspaceSetup setup = journal();
        setup.builtInTopics = {"Only"};
        FakeEditors editors(1);
        TopicStore store(setup, &editors);
        store.setSelectedIndex(0);
        QVERIFY(store.OpenTopic(QStringLiteral("Only")));
        editors.texts[0] = QStringLiteral("text");
        QVERIFY(store.DeleteTopic(QStringLiteral("Only")));
        QVERIFY(store.topics().isEmpty());
        QVERIFY(store.currentTopic().isEmpty());
        QCOMPARE(editors.texts[0], QString());
        QCOMPARE(store.SelectedTopic(), QString());
        QVERIFY(folderFiles().isEmpty());
        QCOMPARE(fileBytes(m_config + "Journal_Topics.txt"), QByteArray());
        QCOMPARE(store.MoveUp(), TopicStore::Move::NothingSelected);
        QVERIFY(store.Close());
    }

    void writeFailureKeepsTheText()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(store.OpenTopic(QStringLiteral("Bucket List")));
        editors.texts[0] = QStringLiteral("precious");
        QVERIFY(QDir(m_folder).removeRecursively());
        const WriteResult opened = store.OpenTopic(QStringLiteral("Dream Dates"));
        QVERIFY(!opened);
        QVERIFY2(opened.error.contains(QStringLiteral("Bucket List_todo.txt")), qPrintable(opened.error));
        QCOMPARE(editors.texts[0], QStringLiteral("precious"));
        QCOMPARE(store.currentTopic(), QStringLiteral("Bucket List"));
        QVERIFY(!store.Close());
        // Once the folder is back, nothing was lost.
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(store.Close());
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("precious\r\n"));
    }

    void hostileTopicNames()
    {
        // A damaged topics file: a NUL inside a name, an endless name,
        // invalid UTF-8.
        QByteArray bytes("bad\0name\r\n", 10);
        bytes += QByteArray(100000, 'x') + "\r\n";
        bytes += "\xff\xfe\xfd\r\n";
        writeFile(m_config + "Journal_Topics.txt", bytes);
        QStringList names;
        {
            FakeEditors editors(1);
            TopicStore store(journal(), &editors);
            QVERIFY(store.LoadTopicList());
            names = store.topics();
        }
        QCOMPARE(names.size(), 3);
        for (const QString &name : std::as_const(names)) {
            TopicWorkspaceSetup setup = journal();
            setup.builtInTopics = {name, QStringLiteral("Bucket List")};
            FakeEditors editors(1);
            TopicStore store(setup, &editors);
            // Opening reads nothing that is not there; leaving the topic
            // either stores it inside the folder or reports why it cannot
            // and keeps the text.
            QVERIFY(store.OpenTopic(name));
            QCOMPARE(editors.texts[0], QString());
            editors.texts[0] = QStringLiteral("text");
            const WriteResult left = store.OpenTopic(QStringLiteral("Bucket List"));
            if (!left) {
                QVERIFY(!left.error.isEmpty());
                QCOMPARE(editors.texts[0], QStringLiteral("text"));
                QCOMPARE(store.currentTopic(), name);
                // The user can still get rid of the topic.
                store.setSelectedIndex(0);
                QVERIFY(store.DeleteTopic(name));
                QCOMPARE(store.topics(), QStringList({"Bucket List"}));
            }
        }
        QVERIFY(QDir(m_root->path()).entryList(QDir::Files).isEmpty());
        for (const QString &name : QDir(m_folder).entryList(QDir::Files))
            QVERIFY2(QFileInfo(m_folder + name).absolutePath() == QDir(m_folder).absolutePath(), qPrintable(name));
    }

    void unreadableTopicFileKeepsTheOpenTopic()
    {
        FakeEditors editors(7);
        TopicStore store(decision(), &editors);
        QVERIFY(store.OpenTopic(QStringLiteral("Switch Job")));
        editors.texts[0] = QStringLiteral("more pay");
        QVERIFY(QDir().mkpath(file("Get married_Links.txt")));
        const WriteResult opened = store.OpenTopic(QStringLiteral("Get married"));
        QVERIFY(!opened);
        QVERIFY(opened.error.contains(QStringLiteral("Get married_Links.txt")));
        QCOMPARE(editors.texts[0], QStringLiteral("more pay"));
        QCOMPARE(store.currentTopic(), QStringLiteral("Switch Job"));
    }
};

QTEST_GUILESS_MAIN(TstTopicStore)
#include "tst_topicstore.moc"
