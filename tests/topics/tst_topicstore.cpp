// The topic list store without a window: file names, the topics file, and
// opening, saving and deleting a topic's files through a fake editor set.

#include "testhelpers.h"
#include "core/common/storedfiles.h"
#include "core/common/textfile.h"
#include "fakes.h"
#include "core/topics/topicfiles.h"
#include "core/topics/topicstore.h"

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
    void setEditorLocked(int index, const QString &reason) override
    {
        locks.resize(texts.size());
        locks[index] = reason;
    }
    QStringList texts;
    QStringList locks;
};



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
        setup.builtInTopics = Topics::builtInJournalTopics();
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
        setup.builtInTopics = Topics::builtInDecisionTopics();
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
        QCOMPARE(Topics::topicFileName(QStringLiteral("/data/Journal/"), topic, QStringLiteral("todo")),
                 QStringLiteral("/data/Journal/") + expected);
    }

    void builtInTopics()
    {
        const QStringList &lists = Topics::builtInJournalTopics();
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

        const QStringList &decisions = Topics::builtInDecisionTopics();
        QCOMPARE(decisions,
                 QStringList({"Ask for a raise", "Buy a New car", "Buy a New House", "Switch Schools",
                              "Switch Job", "Take a vacation", "Move to a new place", "Get married",
                              "Home School kids"}));
    }

    void blankTopicsAndQuestion()
    {
        QVERIFY(Topics::isBlankTopic(QString()));
        QVERIFY(Topics::isBlankTopic(QStringLiteral("  \t ")));
        QVERIFY(!Topics::isBlankTopic(QStringLiteral(" a ")));
        QCOMPARE(Topics::deleteQuestion(QStringLiteral("Bucket List")),
                 QStringLiteral("Are you sure you wan to delete'Bucket List'"));
        QCOMPARE(Topics::deleteQuestion(QStringLiteral("Mum's day")),
                 QStringLiteral("Are you sure you wan to delete'Mum''s day'"));
    }

    void topicsFileLoading()
    {
        FakeEditors editors(1);
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.loadTopicList());
            QCOMPARE(store.topics(), Topics::builtInJournalTopics());
        }
        writeFileBytes(m_config + "Journal_Topics.txt", "One\r\n\r\nThree\nFour");
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.loadTopicList());
            QCOMPARE(store.topics(), QStringList({"One", "", "Three", "Four"}));
        }
        // A file from an older install: the quotation mark as byte 0x92.
        writeFileBytes(m_config + "Journal_Topics.txt", "Reasons I\x92M Depressed\r\n");
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.loadTopicList());
            QCOMPARE(store.topics(), QStringList({QString::fromUtf8("Reasons I\u2019M Depressed")}));
        }
        writeFileBytes(m_config + "Journal_Topics.txt", "");
        {
            TopicStore store(journal(), &editors);
            QVERIFY(store.loadTopicList());
            QVERIFY(store.topics().isEmpty());
        }
    }

    void topicsFileIsCreatedAndWritten()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(store.loadTopicList());
        store.setSelectedIndex(1);
        QCOMPARE(store.moveUp(), TopicStore::Move::Moved);
        QVERIFY(store.saveTopicList());
        const QStringList saved = TextFile::readLines(m_config + "Journal_Topics.txt").value;
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
        const WriteResult loaded = store.loadTopicList();
        QVERIFY(!loaded);
        QVERIFY(loaded.error.contains(QStringLiteral("Journal_Topics.txt")));
        QCOMPARE(store.topics(), Topics::builtInJournalTopics());
        QVERIFY(store.addTopic(QStringLiteral("New")).accepted());
        QVERIFY(store.saveTopicList());
        QVERIFY(QFileInfo(m_config + "Journal_Topics.txt").isDir());
    }

    void addingTopics()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QCOMPARE(store.addTopic(QStringLiteral("bucket list")).verdict, TopicNameCheck::Duplicate);
        QCOMPARE(store.addTopic(QStringLiteral("BUCKET LIST")).verdict, TopicNameCheck::Duplicate);
        QCOMPARE(store.addTopic(QString()).verdict, TopicNameCheck::Blank);
        QCOMPARE(store.addTopic(QStringLiteral("   ")).verdict, TopicNameCheck::Blank);
        QCOMPARE(store.addTopic(QStringLiteral(" \r\n\t")).verdict, TopicNameCheck::Blank);
        QCOMPARE(store.topics().size(), 87);
        QVERIFY(store.addTopic(QStringLiteral("Topic Name")).accepted());
        QVERIFY(store.addTopic(QStringLiteral(" Bucket List ")).accepted());
        QVERIFY(store.addTopic(QStringLiteral("Garden ideas\r\n")).accepted());
        QCOMPARE(store.topics().mid(87), QStringList({"Topic Name", " Bucket List ", "Garden ideas"}));
        // Not selected, not opened, no file.
        QCOMPARE(store.selectedIndex(), -1);
        QVERIFY(store.currentTopic().isEmpty());
        QVERIFY(folderFiles().isEmpty());
        // The topics file keeps one line per topic.
        QVERIFY(store.saveTopicList());
        QCOMPARE(TextFile::readLines(m_config + "Journal_Topics.txt").value.mid(87),
                 QStringList({"Topic Name", " Bucket List ", "Garden ideas"}));
    }

    void cleaningNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed");
        QTest::newRow("pasted line end") << "Garden ideas\r\n" << "Garden ideas";
        QTest::newRow("leading break") << "\nGarden ideas" << "Garden ideas";
        QTest::newRow("break between words") << "Garden\r\nideas" << "Garden ideas";
        QTest::newRow("break after a blank") << "Garden \nideas" << "Garden ideas";
        QTest::newRow("tab") << "Garden\tideas" << "Garden ideas";
        QTest::newRow("line separator") << QString::fromUtf8("Garden\u2028ideas") << "Garden ideas";
        QTest::newRow("bell and escape") << "Gar\adenA\x1b" << "GardenA";
        QTest::newRow("C1 control") << QString::fromUtf8("Garden\u0085ideas\u009b") << "Garden ideas";
        QTest::newRow("blanks stay") << "  Tricks I Want  To Learn " << "  Tricks I Want  To Learn ";
        QTest::newRow("only breaks") << "\r\n\r\n" << "";
    }

    void cleaningNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        QCOMPARE(Topics::cleanTopicName(typed), listed);
    }

    void namesTooLongForFiles()
    {
        FakeEditors one(1);
        TopicStore lists(journal(), &one);
        // "_todo.txt" takes 9 of the 255 bytes.
        QVERIFY(lists.checkNewName(QString(246, QLatin1Char('x'))).accepted());
        const TopicNameCheck tooLong = lists.checkNewName(QString(247, QLatin1Char('x')));
        QCOMPARE(tooLong.verdict, TopicNameCheck::TooLong);
        QVERIFY2(tooLong.message.contains(QStringLiteral("255")), qPrintable(tooLong.message));
        // Bytes count, not characters: "\u20ac" takes three.
        QVERIFY(lists.checkNewName(QString(82, QChar(0x20AC))).accepted());
        QCOMPARE(lists.checkNewName(QString(83, QChar(0x20AC))).verdict, TopicNameCheck::TooLong);
        // The name is quoted as typed, whatever it holds.
        const TopicNameCheck percent = lists.checkNewName(QStringLiteral("50%2 off ") + QString(240, QLatin1Char('x')));
        QVERIFY2(percent.message.contains(QStringLiteral("\"50%2 off x")), qPrintable(percent.message));
        // Stripped characters take no room.
        QVERIFY(lists.checkNewName(QString(246, QLatin1Char('x')) + QStringLiteral("???")).accepted());

        // Decisions: the longest of seven files is "_NextStep.txt".
        FakeEditors seven(7);
        TopicStore decisions(decision(), &seven);
        QVERIFY(decisions.checkNewName(QString(80, QChar(0x20AC))).accepted());
        QCOMPARE(decisions.addTopic(QString(81, QChar(0x20AC))).verdict, TopicNameCheck::TooLong);
        QCOMPARE(decisions.topics().size(), 9);
        // Such a name is never opened, so no text can be typed that has no
        // file to go to; the open topic stays.
        QVERIFY(decisions.openTopic(QStringLiteral("Switch Job")));
        seven.texts[0] = QStringLiteral("more pay");
        const WriteResult opened = decisions.openTopic(QString(81, QChar(0x20AC)));
        QVERIFY(!opened);
        QVERIFY(opened.error.contains(QStringLiteral("too long")));
        QCOMPARE(decisions.currentTopic(), QStringLiteral("Switch Job"));
        QCOMPARE(seven.texts[0], QStringLiteral("more pay"));
        QVERIFY(folderFiles().isEmpty());
    }

    // The longest name the check lets through must also be one whose files
    // can be written: the safe write puts a temporary file beside each one,
    // whose name is seven bytes longer.
    void longestAcceptedNamesCanBeSaved()
    {
        FakeEditors one(1);
        TopicStore lists(journal(), &one);
        QString longest;
        for (int length = 1; length < 300; ++length) {
            if (!lists.checkNewName(QString(length, QLatin1Char('x'))).accepted())
                break;
            longest = QString(length, QLatin1Char('x'));
        }
        QVERIFY(!longest.isEmpty());
        QVERIFY(lists.addTopic(longest).accepted());
        QVERIFY(lists.openTopic(longest));
        one.texts[0] = QStringLiteral("kept");
        const WriteResult saved = lists.saveEdits();
        QVERIFY2(saved, qPrintable(saved.error));
        QCOMPARE(fileBytes(file(longest + QStringLiteral("_todo.txt"))), QByteArray("kept\r\n"));

        FakeEditors seven(7);
        TopicStore decisions(decision(), &seven);
        QString longestDecision;
        for (int length = 1; length < 300; ++length) {
            if (!decisions.checkNewName(QString(length, QChar(0x20AC))).accepted())
                break;
            longestDecision = QString(length, QChar(0x20AC));
        }
        QVERIFY(decisions.addTopic(longestDecision).accepted());
        QVERIFY(decisions.openTopic(longestDecision));
        for (int editor = 0; editor < 7; ++editor)
            seven.texts[editor] = QStringLiteral("note %1").arg(editor);
        const WriteResult decided = decisions.saveEdits();
        QVERIFY2(decided, qPrintable(decided.error));
    }

    void namesSharingFiles()
    {
        FakeEditors one(1);
        TopicStore lists(journal(), &one);
        QVERIFY(lists.addTopic(QStringLiteral("A.B")).accepted());
        const TopicNameCheck ab = lists.addTopic(QStringLiteral("AB"));
        QCOMPARE(ab.verdict, TopicNameCheck::SharesFiles);
        QVERIFY2(ab.message.contains(QStringLiteral("\"A.B\"")), qPrintable(ab.message));
        QCOMPARE(lists.addTopic(QStringLiteral("a:b")).verdict, TopicNameCheck::SharesFiles);
        QCOMPARE(lists.addTopic(QStringLiteral("My Life Highlights")).verdict, TopicNameCheck::SharesFiles);

        FakeEditors seven(7);
        TopicStore decisions(decision(), &seven);
        const TopicNameCheck car = decisions.addTopic(QStringLiteral("Buy a New car?"));
        QCOMPARE(car.verdict, TopicNameCheck::SharesFiles);
        QVERIFY2(car.message.contains(QStringLiteral("\"Buy a New car\"")), qPrintable(car.message));
        QCOMPARE(decisions.topics().size(), 9);
        // The entry being renamed does not count against itself.
        QVERIFY(decisions.checkNewName(QStringLiteral("Buy a New car?"), 1).accepted());
    }

    void movingTopics()
    {
        TopicWorkspaceSetup setup = journal();
        setup.builtInTopics = {"A", "B", "C"};
        FakeEditors editors(1);
        TopicStore store(setup, &editors);
        QCOMPARE(store.moveUp(), TopicStore::Move::NothingSelected);
        QCOMPARE(store.moveDown(), TopicStore::Move::NothingSelected);
        store.setSelectedIndex(0);
        QCOMPARE(store.moveUp(), TopicStore::Move::AtEnd);
        QCOMPARE(store.topics(), QStringList({"A", "B", "C"}));
        QCOMPARE(store.moveDown(), TopicStore::Move::Moved);
        QCOMPARE(store.selectedIndex(), 1);
        QCOMPARE(store.moveDown(), TopicStore::Move::Moved);
        QCOMPARE(store.topics(), QStringList({"B", "C", "A"}));
        QCOMPARE(store.selectedIndex(), 2);
        QCOMPARE(store.moveDown(), TopicStore::Move::AtEnd);
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
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        QCOMPARE(editors.texts[0], QString());
        QVERIFY(folderFiles().isEmpty());

        editors.texts[0] = QStringLiteral("one\ntwo\nthree");
        QVERIFY(store.openTopic(QStringLiteral("Dream Dates")));
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("one\r\ntwo\r\nthree\r\n"));
        QVERIFY(!QFile::exists(file("Dream Dates_todo.txt")));
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        QCOMPARE(editors.texts[0], QStringLiteral("one\ntwo\nthree"));
        // Dream Dates was never touched, so nothing was written for it.
        QVERIFY(!QFile::exists(file("Dream Dates_todo.txt")));
        QCOMPARE(store.currentTopic(), QStringLiteral("Bucket List"));

        // Opening the open topic stores it and reads it back.
        editors.texts[0] = QStringLiteral("one\n");
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("one\r\n\r\n"));
        QCOMPARE(editors.texts[0], QStringLiteral("one\n"));
    }

    void untouchedEditorsAreNeverWritten()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        // Written by another program: LF line ends, no final break.
        writeFileBytes(file("Bucket List_todo.txt"), "a\nb");
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        QCOMPARE(editors.texts[0], QStringLiteral("a\nb"));
        QVERIFY(!store.hasUnsavedEdits());
        // Another program changes the file while it is shown untouched.
        writeFileBytes(file("Bucket List_todo.txt"), "a\nb\nfrom elsewhere");
        QVERIFY(store.saveEdits());
        QVERIFY(store.openTopic(QStringLiteral("Dream Dates")));
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("a\nb\nfrom elsewhere"));
        // A topic whose file is missing gets none while it is untouched,
        // so a file another program writes meanwhile is not emptied.
        writeFileBytes(file("Dream Dates_todo.txt"), "dinner\r\n");
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray("dinner\r\n"));
        // Only an edit is written, once.
        editors.texts[0] = QStringLiteral("a\nb\nc");
        QVERIFY(store.hasUnsavedEdits());
        QVERIFY(store.saveEdits());
        QVERIFY(!store.hasUnsavedEdits());
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("a\r\nb\r\nc\r\n"));
        writeFileBytes(file("Bucket List_todo.txt"), "changed again");
        QVERIFY(store.storeAll());
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("changed again"));
        // Removed behind the program's back while untouched: not rewritten.
        QVERIFY(QFile::remove(file("Bucket List_todo.txt")));
        QVERIFY(store.storeAll());
        QVERIFY(!QFile::exists(file("Bucket List_todo.txt")));
    }

    void sevenFilesPerDecision()
    {
        FakeEditors editors(7);
        TopicStore store(decision(), &editors);
        QVERIFY(store.openTopic(QStringLiteral("Buy a New car")));
        editors.texts = {"fast\ncheap", "", "Buy it", "", "Call the dealer\nSign", "", "x\n"};
        QVERIFY(store.openTopic(QStringLiteral("Get married")));
        // The editors left empty were never touched and get no file.
        QCOMPARE(folderFiles(),
                 QStringList({"Buy a New car_NextStep.txt", "Buy a New car_Other.txt",
                              "Buy a New car_made.txt", "Buy a New car_plus.txt"}));
        // The columns are lists; the memos are stored exactly as held.
        QCOMPARE(fileBytes(file("Buy a New car_plus.txt")), QByteArray("fast\r\ncheap\r\n"));
        QCOMPARE(fileBytes(file("Buy a New car_made.txt")), QByteArray("Buy it"));
        QCOMPARE(fileBytes(file("Buy a New car_NextStep.txt")), QByteArray("Call the dealer\r\nSign"));
        QCOMPARE(fileBytes(file("Buy a New car_Other.txt")), QByteArray("x\r\n"));
        QCOMPARE(editors.texts, QStringList(7));

        QVERIFY(store.openTopic(QStringLiteral("Buy a New car")));
        QCOMPARE(editors.texts, QStringList({"fast\ncheap", "", "Buy it", "", "Call the dealer\nSign", "", "x\n"}));

        store.setSelectedIndex(1);
        QVERIFY(store.deleteTopic(QStringLiteral("Buy a New car")));
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy a New car")), QStringList());
        QVERIFY(!store.topics().contains(QStringLiteral("Buy a New car")));
    }

    void deletingTheOpenTopic()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        writeFileBytes(file("Best Childhood Memories_todo.txt"), "first\r\n");
        store.setSelectedIndex(3);
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        editors.texts[0] = QStringLiteral("left behind");
        QVERIFY(store.openTopic(QStringLiteral("Dream Dates")));
        store.setSelectedIndex(3);
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        QVERIFY(QFile::exists(file("Bucket List_todo.txt")));

        QVERIFY(store.deleteTopic(QStringLiteral("Bucket List")));
        QVERIFY(!QFile::exists(file("Bucket List_todo.txt")));
        QCOMPARE(store.topics().size(), 86);
        QVERIFY(!store.topics().contains(QStringLiteral("Bucket List")));
        // The first entry is open and selected: selection and editors agree.
        QCOMPARE(store.selectedIndex(), 0);
        QCOMPARE(store.currentIndex(), 0);
        QCOMPARE(store.currentTopic(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(editors.texts[0], QStringLiteral("first"));
        QCOMPARE(TextFile::readLines(m_config + "Journal_Topics.txt").value.size(), 86);
    }

    void deletingWithNothingSelected()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        writeFileBytes(file("Best Childhood Memories_todo.txt"), "first\r\n");
        writeFileBytes(file("Dream Dates_todo.txt"), "kept\r\n");
        QCOMPARE(store.selectedTopic(), QStringLiteral("Best Childhood Memories"));
        // Nothing is selected: nothing is deleted, nothing written.
        const WriteResult deleted = store.deleteTopic(store.selectedTopic());
        QVERIFY(!deleted);
        QCOMPARE(deleted.error, QStringLiteral("Select a topic to delete"));
        QCOMPARE(store.topics().size(), 87);
        QVERIFY(store.currentTopic().isEmpty());
        QCOMPARE(fileBytes(file("Best Childhood Memories_todo.txt")), QByteArray("first\r\n"));
        QCOMPARE(fileBytes(file("Dream Dates_todo.txt")), QByteArray("kept\r\n"));
        QVERIFY(!QFile::exists(m_config + "Journal_Topics.txt"));
    }

    void deletingAnotherTopicStoresTheOpenOne()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(store.openTopic(QStringLiteral("Dream Dates")));
        editors.texts[0] = QStringLiteral("dinner");
        store.setSelectedIndex(3);
        QVERIFY(store.deleteTopic(QStringLiteral("Bucket List")));
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
        QVERIFY(store.openTopic(QStringLiteral("Only")));
        editors.texts[0] = QStringLiteral("text");
        QVERIFY(store.deleteTopic(QStringLiteral("Only")));
        QVERIFY(store.topics().isEmpty());
        QVERIFY(store.currentTopic().isEmpty());
        QCOMPARE(editors.texts[0], QString());
        QCOMPARE(store.selectedTopic(), QString());
        QVERIFY(folderFiles().isEmpty());
        QCOMPARE(fileBytes(m_config + "Journal_Topics.txt"), QByteArray());
        QCOMPARE(store.moveUp(), TopicStore::Move::NothingSelected);
        QVERIFY(store.storeAll());
    }

    void writeFailureKeepsTheText()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        editors.texts[0] = QStringLiteral("precious");
        QVERIFY(QDir(m_folder).removeRecursively());
        const WriteResult opened = store.openTopic(QStringLiteral("Dream Dates"));
        QVERIFY(!opened);
        QVERIFY2(opened.error.contains(QStringLiteral("Bucket List_todo.txt")), qPrintable(opened.error));
        QCOMPARE(editors.texts[0], QStringLiteral("precious"));
        QCOMPARE(store.currentTopic(), QStringLiteral("Bucket List"));
        QVERIFY(!store.storeAll());
        // Once the folder is back, nothing was lost.
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(store.storeAll());
        QCOMPARE(fileBytes(file("Bucket List_todo.txt")), QByteArray("precious\r\n"));
    }

    void hostileTopicNames()
    {
        // A damaged topics file: a NUL inside a name, an endless name,
        // invalid UTF-8.
        QByteArray bytes("bad\0name\r\n", 10);
        bytes += QByteArray(100000, 'x') + "\r\n";
        bytes += "\xff\xfe\xfd\r\n";
        writeFileBytes(m_config + "Journal_Topics.txt", bytes);
        QStringList names;
        {
            FakeEditors editors(1);
            TopicStore store(journal(), &editors);
            QVERIFY(store.loadTopicList());
            names = store.topics();
        }
        QCOMPARE(names.size(), 3);
        for (const QString &name : std::as_const(names)) {
            TopicWorkspaceSetup setup = journal();
            setup.builtInTopics = {name, QStringLiteral("Bucket List")};
            FakeEditors editors(1);
            TopicStore store(setup, &editors);
            store.setSelectedIndex(0);
            if (!store.fitsFileName(name)) {
                // Too long to name a file: chosen, it opens nothing and says
                // why, so no text is typed that could not be kept.
                QVERIFY(store.openSelected());
                QVERIFY(store.currentTopic().isEmpty());
                QCOMPARE(store.currentIndex(), 0);
                QVERIFY(editors.locks.value(0).contains(QStringLiteral("too long")));
                // The user can still rename it or get rid of it.
                QVERIFY(store.renameSelectedTopic(QStringLiteral("Short")));
                QCOMPARE(store.topics().first(), QStringLiteral("Short"));
                QVERIFY(store.deleteTopic(QStringLiteral("Short")));
                QCOMPARE(store.topics(), QStringList({"Bucket List"}));
                continue;
            }
            // Opening reads nothing that is not there; leaving the topic
            // stores it inside the folder.
            QVERIFY(store.openSelected());
            QCOMPARE(editors.texts[0], QString());
            QVERIFY(editors.locks.value(0).isEmpty());
            editors.texts[0] = QStringLiteral("text");
            QVERIFY(store.openTopic(QStringLiteral("Bucket List")));
        }
        QVERIFY(QDir(m_root->path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), 2);
        for (const QString &name : QDir(m_folder).entryList(QDir::Files))
            QVERIFY2(QFileInfo(m_folder + name).absolutePath() == QDir(m_folder).absolutePath(), qPrintable(name));
    }

    void unreadableTopicFileIsNeverWritten()
    {
        FakeEditors editors(7);
        TopicStore store(decision(), &editors);
        QVERIFY(store.openTopic(QStringLiteral("Switch Job")));
        editors.texts[0] = QStringLiteral("more pay");
        writeFileBytes(file("Get married_plus.txt"), "love\r\n");
        // A folder where the Links file should be cannot be read.
        QVERIFY(QDir().mkpath(file("Get married_Links.txt")));
        QVERIFY(store.openTopic(QStringLiteral("Get married")));
        QCOMPARE(fileBytes(file("Switch Job_plus.txt")), QByteArray("more pay\r\n"));
        QCOMPARE(store.currentTopic(), QStringLiteral("Get married"));
        // The readable parts open as usual; the unreadable one is locked
        // with the reason and empty.
        QCOMPARE(editors.texts[0], QStringLiteral("love"));
        QVERIFY(store.loadErrors().at(0).isEmpty());
        QVERIFY(store.loadErrors().at(5).contains(QStringLiteral("Get married_Links.txt")));
        QCOMPARE(editors.locks.at(5), store.loadErrors().at(5));
        QVERIFY(editors.locks.at(0).isEmpty());
        QCOMPARE(editors.texts[5], QString());
        // Whatever that editor holds, its file is never written.
        editors.texts[5] = QStringLiteral("typed anyway");
        editors.texts[1] = QStringLiteral("cost");
        QVERIFY(store.hasUnsavedEdits());
        QVERIFY(store.openTopic(QStringLiteral("Switch Job")));
        QVERIFY(QFileInfo(file("Get married_Links.txt")).isDir());
        QCOMPARE(fileBytes(file("Get married_minus.txt")), QByteArray("cost\r\n"));
        QVERIFY(editors.locks.at(5).isEmpty());
    }

    void switchIsAllOrNothing()
    {
        FakeClock clock;
        StoredFiles files(m_root->path(), clock);
        FakeEditors editors(7);
        TopicStore store(decision(), &editors);
        QVERIFY(store.openTopic(QStringLiteral("Buy a New car")));
        editors.texts = {"fast", "costly", "Buy it", "ordered", "Call", "https://cars", "none"};
        // Two of the seven cannot be written.
        files.setWriteFault([](const QString &path, qint64) -> qint64 {
            return path.contains(QStringLiteral("_Links")) || path.contains(QStringLiteral("_Other")) ? 0 : -1;
        });
        const WriteResult opened = store.openTopic(QStringLiteral("Switch Job"));
        const WriteResult closed = store.storeAll();
        files.setWriteFault({});
        QVERIFY(!opened);
        // Both are named, not only the first that failed.
        QVERIFY2(opened.error.contains(QStringLiteral("Buy a New car_Links.txt")), qPrintable(opened.error));
        QVERIFY2(opened.error.contains(QStringLiteral("Buy a New car_Other.txt")), qPrintable(opened.error));
        QVERIFY(!closed);
        QVERIFY(closed.error.contains(QStringLiteral("Buy a New car_Other.txt")));
        // Nothing switched and nothing is lost.
        QCOMPARE(store.currentTopic(), QStringLiteral("Buy a New car"));
        QCOMPARE(editors.texts, QStringList({"fast", "costly", "Buy it", "ordered", "Call", "https://cars", "none"}));
        QCOMPARE(fileBytes(file("Buy a New car_NextStep.txt")), QByteArray("Call"));
        QVERIFY(!QFile::exists(file("Buy a New car_Links.txt")));
        // The topics file was still written at the failed close.
        QVERIFY(QFile::exists(m_config + "Decision_Topics.txt"));
        QVERIFY(store.openTopic(QStringLiteral("Switch Job")));
        QCOMPARE(fileBytes(file("Buy a New car_Links.txt")), QByteArray("https://cars"));
        QCOMPARE(fileBytes(file("Buy a New car_Other.txt")), QByteArray("none"));
    }

    void failedSwitchKeepsTheSelectionOnTheOpenTopic()
    {
        FakeEditors editors(1);
        TopicStore store(journal(), &editors);
        store.setSelectedIndex(3);
        QVERIFY(store.openSelected());
        QCOMPARE(store.currentTopic(), QStringLiteral("Bucket List"));
        editors.texts[0] = QStringLiteral("precious");
        QVERIFY(QDir(m_folder).removeRecursively());
        store.setSelectedIndex(10);
        QVERIFY(!store.openSelected());
        QCOMPARE(store.selectedIndex(), 3);
        QCOMPARE(store.currentIndex(), 3);
        QCOMPARE(store.selectedTopic(), store.currentTopic());
        // A move keeps the selection on the open topic.
        QVERIFY(QDir().mkpath(m_folder));
        QCOMPARE(store.moveUp(), TopicStore::Move::Moved);
        QCOMPARE(store.currentIndex(), 2);
        QCOMPARE(store.selectedTopic(), store.currentTopic());
    }

    void blankEntryOpensNothing()
    {
        TopicWorkspaceSetup setup = journal();
        setup.builtInTopics = {"A", "  ", "B"};
        FakeEditors editors(1);
        TopicStore store(setup, &editors);
        store.setSelectedIndex(0);
        QVERIFY(store.openSelected());
        editors.texts[0] = QStringLiteral("kept");
        // Chosen, a blank entry stores the open topic and leaves the editors
        // empty and locked; the selection stays on it.
        store.setSelectedIndex(1);
        QVERIFY(store.openSelected());
        QCOMPARE(fileBytes(file("A_todo.txt")), QByteArray("kept\r\n"));
        QVERIFY(store.currentTopic().isEmpty());
        QCOMPARE(store.currentIndex(), 1);
        QCOMPARE(store.selectedIndex(), 1);
        QCOMPARE(editors.texts[0], QString());
        QVERIFY(!editors.locks.value(0).isEmpty());
        editors.texts[0] = QStringLiteral("typed into a locked editor");
        QVERIFY(store.storeAll());
        QCOMPARE(folderFiles(), QStringList({"A_todo.txt"}));
        store.setSelectedIndex(2);
        QVERIFY(store.openSelected());
        QVERIFY(editors.locks.value(0).isEmpty());
    }

    void renamingTopics()
    {
        FakeEditors editors(7);
        TopicStore store(decision(), &editors);
        store.setSelectedIndex(1);
        QVERIFY(store.openSelected());
        editors.texts = {"fast", "costly", "Buy it", "ordered", "Call", "https://cars", "none"};
        QVERIFY(store.openTopic(QStringLiteral("Switch Job")));
        store.setSelectedIndex(1);
        QVERIFY(store.openSelected());
        editors.texts[0] = QStringLiteral("faster");

        // Refused names change nothing.
        const WriteResult clash = store.renameSelectedTopic(QStringLiteral("switch job"));
        QVERIFY(!clash);
        QVERIFY(clash.error.contains(QStringLiteral("Switch Job")));
        QVERIFY(!store.renameSelectedTopic(QStringLiteral("Buy a New House?")));
        QVERIFY(!store.renameSelectedTopic(QString(81, QChar(0x20AC))));
        QVERIFY(!store.renameSelectedTopic(QStringLiteral("\r\n")));
        QCOMPARE(store.topics().at(1), QStringLiteral("Buy a New car"));
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy a New car_")).size(), 7);

        // Accepted: the edit is stored, all seven files move with the name.
        QVERIFY(store.renameSelectedTopic(QStringLiteral("Buy an electric car\r\n")));
        QCOMPARE(store.topics().at(1), QStringLiteral("Buy an electric car"));
        QCOMPARE(store.currentTopic(), QStringLiteral("Buy an electric car"));
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy a New car_")), QStringList());
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy an electric car_")).size(), 7);
        QCOMPARE(fileBytes(file("Buy an electric car_plus.txt")), QByteArray("faster\r\n"));
        QCOMPARE(TextFile::readLines(m_config + "Decision_Topics.txt").value.at(1), QStringLiteral("Buy an electric car"));
        QVERIFY(!store.hasUnsavedEdits());

        // Only stripped characters change: the files stay.
        QVERIFY(store.renameSelectedTopic(QStringLiteral("Buy an electric car?")));
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy an electric car_")).size(), 7);

        // A file of that name left by some earlier topic is never replaced.
        writeFileBytes(file("Lease a car_Other.txt"), "old notes");
        const WriteResult taken = store.renameSelectedTopic(QStringLiteral("Lease a car"));
        QVERIFY(!taken);
        QVERIFY(taken.error.contains(QStringLiteral("Lease a car_Other.txt")));
        QCOMPARE(fileBytes(file("Lease a car_Other.txt")), QByteArray("old notes"));
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy an electric car_")).size(), 7);

        // When the list cannot be written, the files go back: all or nothing.
        QVERIFY(QFile::remove(m_config + "Decision_Topics.txt"));
        QVERIFY(QDir().mkpath(m_config + "Decision_Topics.txt"));
        const WriteResult unlisted = store.renameSelectedTopic(QStringLiteral("Rent a car"));
        QVERIFY(!unlisted);
        QCOMPARE(store.topics().at(1), QStringLiteral("Buy an electric car?"));
        QCOMPARE(folderFiles().filter(QStringLiteral("Rent a car_")), QStringList());
        QCOMPARE(folderFiles().filter(QStringLiteral("Buy an electric car_")).size(), 7);
        QCOMPARE(store.currentTopic(), QStringLiteral("Buy an electric car?"));
    }
};

QTEST_GUILESS_MAIN(TstTopicStore)
#include "tst_topicstore.moc"
