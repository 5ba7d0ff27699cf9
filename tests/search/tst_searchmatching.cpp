// The search's rules: folding case and accents, reading a query, which
// documents and lines match, which files are read and which are skipped,
// and keeping the snapshot current as files change.
#include "core/calendar/daynotes.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/search/searchindex.h"
#include "core/search/textfolding.h"
#include "ui/search/searchresultsmodel.h"
#include "testhelpers.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A data folder with the searched folders and a few helpers to fill it.
class SearchFolder
{
public:
    SearchFolder()
    {
        for (const char *folder : {"DB", "Projects/Summary", "Journal", "Decision"})
            QDir().mkpath(root() + QLatin1String(folder));
    }
    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    SearchRoots roots() const
    {
        return {root() + "DB/", root() + "Projects/", root() + "Projects/Summary/", root() + "Journal/",
                root() + "Decision/"};
    }
    QString dayNote(const QDate &date, const QString &text) const
    {
        const QString path = root() + "DB/" + DayNotes::noteName(DayNumber::fromDate(date));
        writeFileBytes(path, TextFile::encodeText(text));
        return path;
    }
    QString page(const QString &project, const QString &page, const QString &text) const
    {
        QDir().mkpath(root() + "Projects/" + project);
        const QString path = root() + "Projects/" + project + "/" + page + ".txt";
        writeFileBytes(path, TextFile::encodeText(text));
        return path;
    }
    QString file(const QString &relative, const QByteArray &bytes) const
    {
        writeFileBytes(root() + relative, bytes);
        return root() + relative;
    }

private:
    QTemporaryDir m_dir;
};

SearchResults find(const SearchSnapshot &snapshot, const QString &typed,
                   const std::vector<DocumentPointer> &replacements = {}, qsizetype limit = 500)
{
    return SearchIndexing::search(snapshot, SearchQuery::parse(typed), replacements, limit);
}

QStringList hitPaths(const SearchResults &results)
{
    QStringList paths;
    for (const SearchHit &hit : results.hits)
        paths.append(QFileInfo(hit.document->place.path).fileName() + QLatin1Char(':') + QString::number(hit.line));
    return paths;
}

} // namespace

class TestSearchMatching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void foldingIgnoresCaseAndAccents_data();
    void foldingIgnoresCaseAndAccents();
    void foldedLineMapsBackToTheOriginal();
    void queryWordsAndPhrases();
    void badQueriesMatchNothingAtOnce();

    void allWordsInOneDocumentInAnyOrder();
    void phraseMatchesOnlyAsAPhrase();
    void accentsAndCaseAcrossFiles();
    void dayNotesNewestFirstThenPagesListsDecisions();
    void oneRowPerMatchingLineAndCountsBeyondTheLimit();
    void whatIsSearchedAndWhatIsNot();
    void ledgerItemNamesAreSearched();
    void unreadableFilesAreSkippedAndCounted();
    void editorTextStandsInForItsFile();
    void placesAreNamedInTheDesktopLanguage();

    void unchangedFilesAreNotReadAgain();
    void onlyDirtyFoldersAreLookedAt();
    void indexFollowsFilesChangedOnDisk();
    void indexGoingWhileItReadsStopsTheWork();
};

void TestSearchMatching::foldingIgnoresCaseAndAccents_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("case") << "Quokka QUOKKA" << "quokka quokka";
    QTest::newRow("acute") << "Café" << "cafe";
    QTest::newRow("decomposed already") << QString::fromUtf8("Cafe\u0301") << "cafe";
    QTest::newRow("umlaut and ring") << "Ärger Ångström" << "arger angstrom";
    QTest::newRow("ligature") << QString::fromUtf8("\uFB01sh") << "fish";
    QTest::newRow("full width") << QString::fromUtf8("\uFF21\uFF22") << "ab";
    QTest::newRow("greek") << "ΚΑΛΗΜΈΡΑ" << "καλημερα";
    QTest::newRow("line breaks stay") << "A\nB\n\nC" << "a\nb\n\nc";
    QTest::newRow("CR LF and CR are LF") << "A\r\nB\rC\r\r\nD\r" << "a\nb\nc\n\nd\n";
    QTest::newRow("emoji kept") << QString::fromUtf8("x\U0001F600y") << QString::fromUtf8("x\U0001F600y");
}

void TestSearchMatching::foldingIgnoresCaseAndAccents()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(QString::fromStdString(TextFolding::folded(text)), folded);
}

void TestSearchMatching::foldedLineMapsBackToTheOriginal()
{
    // "Le Café" folds to "le cafe": byte 3 ("c") comes from character 3,
    // the "e" from "é" from character 6, the end maps to the length.
    const QString line = QStringLiteral("Le Café!");
    const TextFolding::MappedLine mapped = TextFolding::foldedWithOrigins(line);
    QCOMPARE(QString::fromStdString(mapped.bytes), QStringLiteral("le cafe!"));
    QCOMPARE(mapped.origins.size(), mapped.bytes.size() + 1);
    QCOMPARE(mapped.origins.at(3), 3);
    QCOMPARE(mapped.origins.at(6), 6);
    QCOMPARE(mapped.origins.at(7), 7);
    QCOMPARE(mapped.origins.back(), line.size());
    // A character folding to several bytes maps each of them to itself.
    const TextFolding::MappedLine greek = TextFolding::foldedWithOrigins(QStringLiteral("aΩb"));
    QCOMPARE(greek.bytes.size(), size_t(4));
    QCOMPARE(greek.origins.at(1), 1);
    QCOMPARE(greek.origins.at(2), 1);
    QCOMPARE(greek.origins.at(3), 2);
}

void TestSearchMatching::queryWordsAndPhrases()
{
    auto terms = [](const QString &typed) {
        QStringList out;
        for (const std::string &term : SearchQuery::parse(typed).terms)
            out.append(QString::fromStdString(term));
        return out;
    };
    // Longest first; folded; duplicates once.
    QCOMPARE(terms(QStringLiteral("car SERVICE car")), QStringList({"service", "car"}));
    QCOMPARE(terms(QStringLiteral("\"winter  tyres\" car")), QStringList({"winter tyres", "car"}));
    // An unclosed quotation mark runs to the end.
    QCOMPARE(terms(QStringLiteral("dentist \"at ten")), QStringList({"dentist", "at ten"}));
    // A quotation mark inside a word ends the word.
    QCOMPARE(terms(QStringLiteral("ab\"cd ef\"")), QStringList({"cd ef", "ab"}));
    QCOMPARE(terms(QStringLiteral("\"\" \"  \"")), QStringList());
    QCOMPARE(terms(QStringLiteral("Crème\tBRÛLÉE")), QStringList({"brulee", "creme"}));
    QVERIFY(SearchQuery::parse(QStringLiteral("   ")).isEmpty());
}

void TestSearchMatching::badQueriesMatchNothingAtOnce()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QString(20000, QLatin1Char('a')));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    QCOMPARE(snapshot->documents.size(), size_t(1));

    // 10,000 characters: refused before any text is looked at.
    const SearchQuery tooLong = SearchQuery::parse(QString(10000, QLatin1Char('a')));
    QVERIFY(tooLong.refused);
    QCOMPARE(SearchIndexing::search(*snapshot, tooLong).lineCount, 0);
    // A word repeated counts once; hundreds of different words are refused.
    QCOMPARE(find(*snapshot, QStringLiteral("a ").repeated(400)).lineCount, 1);
    QString manyWords;
    for (int i = 0; i < 300; ++i)
        manyWords += QStringLiteral("a%1 ").arg(i);
    QVERIFY(SearchQuery::parse(manyWords).refused);
    QCOMPARE(find(*snapshot, manyWords).lineCount, 0);
    // Control characters are no words: nothing to look for.
    QString controls;
    for (char16_t c = 1; c < 32; ++c)
        controls += QChar(c);
    QVERIFY(SearchQuery::parse(controls).isEmpty());
    QCOMPARE(find(*snapshot, controls).lineCount, 0);
    QCOMPARE(find(*snapshot, QString()).lineCount, 0);
    // A lone surrogate matches nothing, but does not stop the other words.
    QCOMPARE(find(*snapshot, QString(QChar(0xD800)) + QStringLiteral(" aaa")).lineCount, 1);
}

void TestSearchMatching::allWordsInOneDocumentInAnyOrder()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("Took the car in\nfor its service today"));
    folder.dayNote(QDate(2021, 3, 15), QStringLiteral("car wash"));
    folder.page(QStringLiteral("Garden"), QStringLiteral("Projects"), QStringLiteral("service the mower"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());

    // Both words, on two lines of one note: both lines are rows.
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("service car"))),
             QStringList({"Mar-14-2021.txt:0", "Mar-14-2021.txt:1"}));
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("car service"))),
             QStringList({"Mar-14-2021.txt:0", "Mar-14-2021.txt:1"}));
    // Words spread over two documents match neither.
    QCOMPARE(find(*snapshot, QStringLiteral("wash mower")).documentCount, 0);
    // A word is found inside longer words too (as the user types it).
    QCOMPARE(find(*snapshot, QStringLiteral("serv")).documentCount, 2);
}

void TestSearchMatching::phraseMatchesOnlyAsAPhrase()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("the winter tyres are on"));
    folder.dayNote(QDate(2021, 3, 15), QStringLiteral("tyres for the winter"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    QCOMPARE(find(*snapshot, QStringLiteral("winter tyres")).documentCount, 2);
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("\"winter tyres\""))), QStringList({"Mar-14-2021.txt:0"}));
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("\"WINTER   Tyres\""))), QStringList({"Mar-14-2021.txt:0"}));
    QCOMPARE(find(*snapshot, QStringLiteral("\"tyres winter\"")).documentCount, 0);
}

void TestSearchMatching::accentsAndCaseAcrossFiles()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("Met Zoë at the CAFÉ"));
    // An older file in Windows-1252: "café" with the byte E9.
    folder.file(QStringLiteral("DB/") + DayNotes::noteName(DayNumber::fromDate(QDate(2020, 1, 2))),
                QByteArray("old caf\xE9 note"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    QCOMPARE(find(*snapshot, QStringLiteral("cafe")).documentCount, 2);
    QCOMPARE(find(*snapshot, QStringLiteral("Café")).documentCount, 2);
    QCOMPARE(find(*snapshot, QStringLiteral("zoe cafe")).documentCount, 1);
    QCOMPARE(find(*snapshot, QStringLiteral("zoé")).documentCount, 1);
}

void TestSearchMatching::dayNotesNewestFirstThenPagesListsDecisions()
{
    SearchFolder folder;
    folder.file(QStringLiteral("Decision/Buy a New car_plus.txt"), "quokka\r\n");
    folder.file(QStringLiteral("Journal/Books I Want To Read_todo.txt"), "quokka\r\n");
    folder.page(QStringLiteral("Garden"), QStringLiteral("Done"), QStringLiteral("quokka"));
    folder.page(QStringLiteral("Garden"), QStringLiteral("Projects"), QStringLiteral("quokka"));
    folder.page(QStringLiteral("Attic"), QStringLiteral("Actions"), QStringLiteral("quokka"));
    folder.dayNote(QDate(2019, 5, 1), QStringLiteral("quokka"));
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("quokka"));
    folder.dayNote(QDate(2020, 12, 31), QStringLiteral("quokka"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("quokka"))),
             QStringList({"Mar-14-2021.txt:0", "Dec-31-2020.txt:0", "May-01-2019.txt:0", "Actions.txt:0",
                          "Projects.txt:0", "Done.txt:0", "Books I Want To Read_todo.txt:0",
                          "Buy a New car_plus.txt:0"}));
    const SearchPlace decision = find(*snapshot, QStringLiteral("quokka")).hits.back().document->place;
    QCOMPARE(decision.kind, SearchPlace::DecisionNote);
    QCOMPARE(decision.topicStem, QStringLiteral("Buy a New car"));
    QCOMPARE(decision.editor, QStringLiteral("plus"));
}

void TestSearchMatching::oneRowPerMatchingLineAndCountsBeyondTheLimit()
{
    SearchFolder folder;
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines.append(i % 3 == 0 ? QStringLiteral("milk and more milk") : QStringLiteral("bread"));
    folder.dayNote(QDate(2021, 3, 14), lines.join(QLatin1Char('\n')));
    folder.dayNote(QDate(2021, 3, 13), QStringLiteral("milk"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    const SearchResults all = find(*snapshot, QStringLiteral("milk"));
    // One row per line, however often the word is on it.
    QCOMPARE(all.lineCount, 11);
    QCOMPARE(all.documentCount, 2);
    QCOMPARE(all.hits.at(1).line, 3);
    const SearchResults limited = find(*snapshot, QStringLiteral("milk"), {}, 4);
    QCOMPARE(limited.hits.size(), size_t(4));
    QCOMPARE(limited.lineCount, 11);
}

void TestSearchMatching::whatIsSearchedAndWhatIsNot()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("quokka"));
    // The summary gathers the pages again: not searched twice.
    folder.file(QStringLiteral("Projects/Summary/Projects.txt"), "[Garden]\r\n   quokka");
    // The no-project pages in the projects folder itself, a note under an
    // older locale name, a damaged copy, a tracker file: not the user's notes.
    folder.file(QStringLiteral("Projects/Projects.txt"), "quokka");
    folder.file(QStringLiteral("DB/Mrz.-14-2021.txt"), "quokka");
    folder.file(QStringLiteral("DB/Mar-14-2021.txt.damaged"), "quokka");
    folder.file(QStringLiteral("DB/Feb-30-2021.txt"), "quokka");
    folder.file(QStringLiteral("Projects/Garden/2021.txt"), "quokka");
    folder.file(QStringLiteral("Journal/notes.txt"), "quokka");
    folder.page(QStringLiteral("Garden"), QStringLiteral("Links"), QStringLiteral("https://quokka.example"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("quokka"))), QStringList({"Mar-14-2021.txt:0", "Links.txt:0"}));
}

void TestSearchMatching::ledgerItemNamesAreSearched()
{
    SearchFolder folder;
    folder.file(QStringLiteral("Projects/Garden/money.txt"),
                "\"Item name\",Date,Debit,Credit\r\n\"Quokka food\",\"Mar 5, 2024\",12.50,\r\n,,,\r\n"
                "Seeds,\"Mar 6, 2024\",quokka,\r\n");
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    const SearchResults results = find(*snapshot, QStringLiteral("quokka"));
    // The item name of the first row; amounts and headings are no text.
    QCOMPARE(hitPaths(results), QStringList({"money.txt:0"}));
    QCOMPARE(results.hits.front().document->place.kind, SearchPlace::ProjectLedger);
    QCOMPARE(find(*snapshot, QStringLiteral("item name")).lineCount, 0);
    QCOMPARE(hitPaths(find(*snapshot, QStringLiteral("seeds"))), QStringList({"money.txt:2"}));
    QCOMPARE(SearchDocuments::readText(results.hits.front().document->place).value,
             QStringLiteral("Quokka food\n\nSeeds"));
}

void TestSearchMatching::unreadableFilesAreSkippedAndCounted()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("quokka"));
    // A named pipe in a note's place is never opened (it would block).
    const QString pipe = folder.root() + "DB/" + DayNotes::noteName(DayNumber::fromDate(QDate(2021, 3, 15)));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A symbolic link leading nowhere.
    QVERIFY(QFile::link(folder.root() + "nowhere", folder.root() + "Journal/Lost_todo.txt"));
    // A folder named like a page is no file at all.
    QDir().mkpath(folder.root() + "Projects/Garden/Done.txt");
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    QCOMPARE(snapshot->documents.size(), size_t(1));
    QCOMPARE(snapshot->unreadable.size(), 2);
    QVERIFY(snapshot->unreadable.contains(pipe));
    QCOMPARE(find(*snapshot, QStringLiteral("quokka")).lineCount, 1);
}

void TestSearchMatching::editorTextStandsInForItsFile()
{
    SearchFolder folder;
    const QString saved = folder.dayNote(QDate(2021, 3, 14), QStringLiteral("old text"));
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    SearchRoots roots = folder.roots();
    SearchPlace place;
    QVERIFY(SearchDocuments::placeOf(saved, roots, &place));
    const DocumentPointer edited = SearchDocuments::makeDocument(place, QStringLiteral("new wombat text"));
    QCOMPARE(find(*snapshot, QStringLiteral("wombat"), {edited}).lineCount, 1);
    QCOMPARE(find(*snapshot, QStringLiteral("old"), {edited}).lineCount, 0);
    // A page typed for a project that has no file yet.
    SearchPlace fresh;
    QVERIFY(SearchDocuments::placeOf(folder.root() + "Projects/Shed/OnHold.txt", roots, &fresh));
    QCOMPARE(fresh.kind, SearchPlace::ProjectPage);
    const DocumentPointer typed = SearchDocuments::makeDocument(fresh, QStringLiteral("wombat"));
    const SearchResults both = find(*snapshot, QStringLiteral("wombat"), {typed, edited});
    QCOMPARE(hitPaths(both), QStringList({"Mar-14-2021.txt:0", "OnHold.txt:0"}));
}

void TestSearchMatching::placesAreNamedInTheDesktopLanguage()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SearchFolder folder;
    // The file names stay English under any language.
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("Quokka gesehen"));
    folder.page(QStringLiteral("Garten"), QStringLiteral("OnHold"), QStringLiteral("Quokka füttern"));
    folder.file(QStringLiteral("Decision/Neues Auto_made.txt"), "Quokka");
    const SnapshotPointer snapshot = SearchIndexing::build(folder.roots());
    const SearchResults results = find(*snapshot, QStringLiteral("quokka"));
    QStringList labels;
    for (const SearchHit &hit : results.hits)
        labels.append(SearchResultsModel::placeLabel(hit.document->place));
    QLocale::setDefault(before);
    QCOMPARE(labels.size(), 3);
    QVERIFY2(labels.at(0).startsWith(QStringLiteral("Sonntag ")), qPrintable(labels.at(0)));
    QVERIFY2(labels.at(0).endsWith(QStringLiteral(" 14 2021")), qPrintable(labels.at(0)));
    QCOMPARE(labels.at(1), QStringLiteral("Garten \u25B8 Waiting On"));
    QCOMPARE(labels.at(2), QStringLiteral("Decisions \u25B8 Neues Auto \u25B8 Final Decision"));
}

void TestSearchMatching::unchangedFilesAreNotReadAgain()
{
    SearchFolder folder;
    const QString kept = folder.dayNote(QDate(2021, 3, 14), QStringLiteral("quokka"));
    const QString changed = folder.page(QStringLiteral("Garden"), QStringLiteral("Projects"), QStringLiteral("seeds"));
    const SnapshotPointer first = SearchIndexing::build(folder.roots());
    // Another size, so the change shows even within the same millisecond.
    writeFileBytes(changed, "seeds and quokka food");
    folder.page(QStringLiteral("Shed"), QStringLiteral("Done"), QStringLiteral("quokka"));
    QFile::remove(kept);
    folder.dayNote(QDate(2021, 3, 16), QStringLiteral("a new quokka"));
    const SnapshotPointer second = SearchIndexing::build(folder.roots(), first.get());
    QCOMPARE(hitPaths(find(*second, QStringLiteral("quokka"))),
             QStringList({"Mar-16-2021.txt:0", "Projects.txt:0", "Done.txt:0"}));

    const SnapshotPointer third = SearchIndexing::build(folder.roots(), second.get());
    for (size_t i = 0; i < third->documents.size(); ++i)
        QCOMPARE(third->documents.at(i).get(), second->documents.at(i).get());
    // The folded text is no larger than the files it came from.
    QVERIFY(third->foldedBytes <= third->fileBytes);
}

void TestSearchMatching::onlyDirtyFoldersAreLookedAt()
{
    SearchFolder folder;
    const QString note = folder.dayNote(QDate(2021, 3, 14), QStringLiteral("quokka"));
    folder.page(QStringLiteral("Garden"), QStringLiteral("Projects"), QStringLiteral("seeds"));
    const SnapshotPointer first = SearchIndexing::build(folder.roots());
    writeFileBytes(note, "numbat");
    folder.page(QStringLiteral("Garden"), QStringLiteral("Done"), QStringLiteral("numbat"));
    // Only the project folder was reported: the note keeps its old text.
    const QSet<QString> dirty = {folder.root() + "Projects/Garden/"};
    const SnapshotPointer second = SearchIndexing::build(folder.roots(), first.get(), &dirty);
    QCOMPARE(hitPaths(find(*second, QStringLiteral("numbat"))), QStringList({"Done.txt:0"}));
    QCOMPARE(find(*second, QStringLiteral("quokka")).lineCount, 1);
    // A project folder made since is read although nobody reported it.
    folder.page(QStringLiteral("Attic"), QStringLiteral("Projects"), QStringLiteral("numbat"));
    const SnapshotPointer third = SearchIndexing::build(folder.roots(), second.get(), &dirty);
    QCOMPARE(find(*third, QStringLiteral("numbat")).documentCount, 2);
}

void TestSearchMatching::indexFollowsFilesChangedOnDisk()
{
    SearchFolder folder;
    folder.dayNote(QDate(2021, 3, 14), QStringLiteral("quokka"));
    SearchIndex index(folder.roots());
    QSignalSpy updated(&index, &SearchIndex::updated);
    QVERIFY(!index.snapshot());
    index.start();
    QVERIFY(updated.wait(5000));
    QCOMPARE(find(*index.snapshot(), QStringLiteral("quokka")).lineCount, 1);

    // A note written by another program into a watched folder.
    folder.dayNote(QDate(2021, 3, 20), QStringLiteral("a quokka again"));
    QTRY_COMPARE_WITH_TIMEOUT(find(*index.snapshot(), QStringLiteral("quokka")).lineCount, 2, 5000);
    // A project made while the program runs, and a page in it.
    folder.page(QStringLiteral("Zoo"), QStringLiteral("Projects"), QStringLiteral("quokka enclosure"));
    QTRY_COMPARE_WITH_TIMEOUT(find(*index.snapshot(), QStringLiteral("quokka")).lineCount, 3, 5000);
    // A file changed in place: the folder may say nothing; refresh looks.
    const QString page = folder.root() + "Projects/Zoo/Projects.txt";
    QFile file(page);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\r\nwombat");
    file.close();
    index.refresh();
    QTRY_COMPARE_WITH_TIMEOUT(find(*index.snapshot(), QStringLiteral("wombat")).lineCount, 1, 5000);
}

void TestSearchMatching::indexGoingWhileItReadsStopsTheWork()
{
    SearchFolder folder;
    for (int i = 0; i < 1500; ++i)
        folder.dayNote(QDate(2019, 1, 1).addDays(i), QStringLiteral("note %1 with a quokka").arg(i));
    QElapsedTimer clock;
    for (int round = 0; round < 5; ++round) {
        auto index = std::make_unique<SearchIndex>(folder.roots());
        QSignalSpy updated(index.get(), &SearchIndex::updated);
        index->start();
        QTest::qWait(round);
        clock.start();
        // Waits for the worker to stop at its next file, then nothing of
        // the index is touched again (the sanitizers see to that).
        index.reset();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCoreApplication::processEvents();
    }
}

QTEST_GUILESS_MAIN(TestSearchMatching)
#include "tst_searchmatching.moc"
