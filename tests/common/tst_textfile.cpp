#include "core/common/textfile.h"
#include "core/common/storedfiles.h"
#include "fakes.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

class TestTextFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray bytesOf(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void editorTextHasNoFinalBreak();
    void listLinesEachEndWithCrLf();
    void emptyContentWritesEmptyFile();
    void readAcceptsAnyLineEnd_data();
    void readAcceptsAnyLineEnd();
    void everyLineEndIsWrittenAsCrLf_data();
    void everyLineEndIsWrittenAsCrLf();
    void readLinesSplitting_data();
    void readLinesSplitting();
    void missingFileReadsEmpty();
    void utf8RoundTrip();
    void windows1252Fallback();
    void byteOrderMarkDropped();
    void nulBytesSurvive();
    void atomicReplaceKeepsOldContentOnFailure();
    void unwritableFolderNamesTheFile();
    void unreadableFileReportsError();

    void eachLineDecodesOnItsOwn_data();
    void eachLineDecodesOnItsOwn();
    void wholeUtf8FileStaysFast();
    void entriesThatAreNotFilesAreRefused_data();
    void entriesThatAreNotFilesAreRefused();
    void linksFollowTheDataFolderRule();
    void linksWithoutADataFolder();
    void damagedBytes_data();
    void damagedBytes();
    void damagedFileKeptAsideUnderAFreeName();
};

void TestTextFile::editorTextHasNoFinalBreak()
{
    QVERIFY(TextFile::writeText(path("note.txt"), "first\nsecond"));
    QCOMPARE(bytesOf("note.txt"), QByteArray("first\r\nsecond"));
    // A trailing empty line of the editor is one line break, exactly as held.
    QVERIFY(TextFile::writeText(path("note.txt"), "first\n"));
    QCOMPARE(bytesOf("note.txt"), QByteArray("first\r\n"));
    QCOMPARE(TextFile::readText(path("note.txt")).value, QString("first\n"));
}

void TestTextFile::listLinesEachEndWithCrLf()
{
    QVERIFY(TextFile::writeLines(path("list.txt"), {"a", "", "c"}));
    QCOMPARE(bytesOf("list.txt"), QByteArray("a\r\n\r\nc\r\n"));
    QCOMPARE(TextFile::readLines(path("list.txt")).value, QStringList({"a", "", "c"}));
}

void TestTextFile::emptyContentWritesEmptyFile()
{
    QVERIFY(TextFile::writeText(path("empty1.txt"), QString()));
    QVERIFY(TextFile::writeLines(path("empty2.txt"), {}));
    QCOMPARE(bytesOf("empty1.txt"), QByteArray());
    QCOMPARE(bytesOf("empty2.txt"), QByteArray());
    QVERIFY(QFile::exists(path("empty1.txt")));
}

void TestTextFile::readAcceptsAnyLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("crlf") << QByteArray("a\r\nb") << "a\nb";
    QTest::newRow("lf") << QByteArray("a\nb") << "a\nb";
    QTest::newRow("cr") << QByteArray("a\rb") << "a\nb";
    QTest::newRow("mixed") << QByteArray("a\r\n\rb\n\nc") << "a\n\nb\n\nc";
    QTest::newRow("lf cr is two breaks") << QByteArray("a\n\rb") << "a\n\nb";
}

void TestTextFile::readAcceptsAnyLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    put("ends.txt", bytes);
    QCOMPARE(TextFile::readText(path("ends.txt")).value, text);
    // Written back, every line end is CR LF.
    QVERIFY(TextFile::writeText(path("ends.txt"), text));
    QCOMPARE(bytesOf("ends.txt"), text.toUtf8().replace("\n", "\r\n"));
}

void TestTextFile::everyLineEndIsWrittenAsCrLf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lone cr") << QStringLiteral("a\rb") << QByteArray("a\r\nb");
    QTest::newRow("cr lf stays one break") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("lf cr is two breaks") << QStringLiteral("a\n\rb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("paragraph separator") << (QStringLiteral("a") + QChar::ParagraphSeparator + "b")
                                         << QByteArray("a\r\nb");
    QTest::newRow("line separator at the end") << (QStringLiteral("a") + QChar::LineSeparator)
                                               << QByteArray("a\r\n");
    QTest::newRow("breaks only") << QStringLiteral("\n\r\r\n") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("no break, not ascii") << QStringLiteral("caf\u00e9") << QByteArray("caf\xc3\xa9");
}

void TestTextFile::everyLineEndIsWrittenAsCrLf()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextFile::encodeText(text), bytes);
    // A long text of many short lines comes out whole, line for line.
    QString many;
    QByteArray expected;
    for (int i = 0; i < 20000; ++i) {
        many += text;
        expected += bytes;
    }
    QCOMPARE(TextFile::encodeText(many), expected);
}

void TestTextFile::readLinesSplitting_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("one break") << QByteArray("\r\n") << QStringList({""});
    QTest::newRow("final break") << QByteArray("a\r\nb\r\n") << QStringList({"a", "b"});
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList({"a", "b"});
    QTest::newRow("blank lines kept") << QByteArray("\n\na\n\n") << QStringList({"", "", "a", ""});
    QTest::newRow("cr only") << QByteArray("x\ry\r") << QStringList({"x", "y"});
}

void TestTextFile::readLinesSplitting()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    put("lines.txt", bytes);
    QCOMPARE(TextFile::readLines(path("lines.txt")).value, lines);
}

void TestTextFile::missingFileReadsEmpty()
{
    const Expected<QString> text = TextFile::readText(path("nope.txt"));
    const Expected<QStringList> lines = TextFile::readLines(path("nope.txt"));
    QVERIFY(text.ok && lines.ok);
    QCOMPARE(text.value, QString());
    QCOMPARE(lines.value, QStringList());
    QVERIFY(text.error.isEmpty() && lines.error.isEmpty());
    QVERIFY(!QFile::exists(path("nope.txt")));
}

void TestTextFile::utf8RoundTrip()
{
    const QString text = QString::fromUtf8("Café ‘quoted’ — 日本 🎉");
    QVERIFY(TextFile::writeText(path("utf8.txt"), text));
    QCOMPARE(bytesOf("utf8.txt"), text.toUtf8());
    QCOMPARE(TextFile::readText(path("utf8.txt")).value, text);
}

void TestTextFile::windows1252Fallback()
{
    // "Café – ‘x’" as an older install stored it in Windows-1252.
    put("ansi.txt", QByteArray("Caf\xE9 \x96 \x91x\x92\r\nna\xEFve"));
    QCOMPARE(TextFile::readText(path("ansi.txt")).value, QString::fromUtf8("Café – ‘x’\nnaïve"));
    QCOMPARE(TextFile::readLines(path("ansi.txt")).value, QStringList({QString::fromUtf8("Café – ‘x’"),
                                                                 QString::fromUtf8("naïve")}));
}

void TestTextFile::byteOrderMarkDropped()
{
    put("bom.txt", QByteArray("\xEF\xBB\xBFhello"));
    QCOMPARE(TextFile::readText(path("bom.txt")).value, QString("hello"));
}

void TestTextFile::nulBytesSurvive()
{
    put("nul.txt", QByteArray("a\0b\r\nc", 6));
    const QString text = TextFile::readText(path("nul.txt")).value;
    QCOMPARE(text.size(), 5);
    QCOMPARE(text.at(1), QChar(0));
    QVERIFY(TextFile::writeText(path("nul2.txt"), text));
    QCOMPARE(bytesOf("nul2.txt"), QByteArray("a\0b\r\nc", 6));
}

void TestTextFile::atomicReplaceKeepsOldContentOnFailure()
{
    put("keep.txt", "old content");
    // A folder of the same name as the temporary file cannot exist, but a
    // read-only folder stops QSaveFile before it touches the original.
    QDir(m_dir.path()).mkdir("ro");
    const QString file = path("ro/keep.txt");
    QVERIFY(TextFile::writeText(file, "old content"));
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const WriteResult result = TextFile::writeText(file, "new content");
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (result.ok)
        QSKIP("running with privileges that ignore folder permissions");
    QCOMPARE(bytesOf("ro/keep.txt"), QByteArray("old content"));
    // No temporary files are left behind.
    QCOMPARE(QDir(path("ro")).entryList(QDir::Files), QStringList({"keep.txt"}));
}

void TestTextFile::unwritableFolderNamesTheFile()
{
    const WriteResult result = TextFile::writeText(path("missing-folder/note.txt"), "text");
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("missing-folder/note.txt"), qPrintable(result.error));
}

void TestTextFile::unreadableFileReportsError()
{
    QDir(m_dir.path()).mkdir("adir.txt");
    const Expected<QString> read = TextFile::readText(path("adir.txt"));
    QVERIFY(!read.ok);
    QVERIFY2(read.error.contains("adir.txt"), qPrintable(read.error));
}

void TestTextFile::eachLineDecodesOnItsOwn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("one 1252 line among UTF-8 lines")
        << QByteArray("Caf\xC3\xA9 au lait\r\nCaf\xE9 \x96 old\r\n\xE6\x97\xA5\xE6\x9C\xAC")
        << QString::fromUtf8("Café au lait\nCafé – old\n日本");
    QTest::newRow("1252 first, UTF-8 after") << QByteArray("\x93quoted\x94\nna\xC3\xAFve\n")
                                             << QString::fromUtf8("“quoted”\nnaïve\n");
    QTest::newRow("byte-order mark, then a 1252 line") << QByteArray("\xEF\xBB\xBF\xC3\xA9\r\n\xE9")
                                                       << QString::fromUtf8("é\né");
    QTest::newRow("lone CR ends a line too") << QByteArray("\xC3\xA9\r\xE9\n\xC3\xA9")
                                                   << QString::fromUtf8("é\né\né");
}

void TestTextFile::eachLineDecodesOnItsOwn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    put("mixed.txt", bytes);
    QCOMPARE(TextFile::readText(path("mixed.txt")).value, text);
}

void TestTextFile::wholeUtf8FileStaysFast()
{
    // 20 MB of UTF-8: one pass, no line-by-line work.
    const QByteArray line = QString::fromUtf8("Grüße aus Köln, 日本 — line of a long note\r\n").toUtf8();
    QByteArray big;
    big.reserve(20 * 1024 * 1024 + line.size());
    while (big.size() < 20 * 1024 * 1024)
        big += line;
    QElapsedTimer clock;
    clock.start();
    const QString text = TextFile::decode(big);
    const qint64 ms = clock.elapsed();
    QVERIFY(text.startsWith(QString::fromUtf8("Grüße")));
    QVERIFY2(ms < 1500, qPrintable(QStringLiteral("%1 ms").arg(ms)));
}

void TestTextFile::entriesThatAreNotFilesAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << "pipe";
    QTest::newRow("folder") << "folder";
    QTest::newRow("socket") << "socket";
}

void TestTextFile::entriesThatAreNotFilesAreRefused()
{
    QFETCH(QString, kind);
    const QString entry = path(kind + ".txt");
    const QByteArray native = QFile::encodeName(entry);
    int listener = -1;
    if (kind == "pipe") {
        QVERIFY(::mkfifo(native.constData(), 0600) == 0);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(entry));
    } else {
        listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (native.size() >= static_cast<int>(sizeof address.sun_path))
            QSKIP("the temporary path is too long for a socket");
        std::strcpy(address.sun_path, native.constData());
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    }
    struct stat before;
    QVERIFY(::lstat(native.constData(), &before) == 0);

    QElapsedTimer clock;
    clock.start();
    const Expected<QString> text = TextFile::readText(entry);
    QCOMPARE(text.value, QString());
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY2(!text.ok && text.error.contains(kind + ".txt") && text.error.contains("not a regular file"),
             qPrintable(text.error));
    const Expected<QStringList> lines = TextFile::readLines(entry);
    QVERIFY2(!lines.ok && lines.error.contains("not a regular file"), qPrintable(lines.error));

    const WriteResult written = TextFile::writeText(entry, "text");
    QVERIFY(!written.ok);
    QVERIFY2(written.error.contains(kind + ".txt") && written.error.contains("not a regular file"),
             qPrintable(written.error));
    struct stat after;
    QVERIFY(::lstat(native.constData(), &after) == 0);
    QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    QCOMPARE(after.st_ino, before.st_ino);
    if (listener >= 0)
        ::close(listener);
}

void TestTextFile::linksFollowTheDataFolderRule()
{
    QDir(m_dir.path()).mkpath("data/Config");
    QDir(m_dir.path()).mkpath("outside");
    FakeClock clock;
    StoredFiles data(path("data"), clock);
    put("data/Config/real.txt", "inside");
    put("outside/other.txt", "outside");
    QVERIFY(QFile::link(path("data/Config/real.txt"), path("data/Config/inside.txt")));
    QVERIFY(QFile::link("../../outside/other.txt", path("data/Config/outside.txt")));
    QVERIFY(QFile::link(path("outside/none.txt"), path("data/Config/broken.txt")));

    // Inside: read and written through; the link stays a link.
    QCOMPARE(TextFile::readText(path("data/Config/inside.txt")).value, QString("inside"));
    QVERIFY(TextFile::writeText(path("data/Config/inside.txt"), "changed"));
    QCOMPARE(bytesOf("data/Config/real.txt"), QByteArray("changed"));
    QVERIFY(QFileInfo(path("data/Config/inside.txt")).isSymLink());

    // Outside or nowhere: neither read nor written, and said so.
    QString error = TextFile::readText(path("data/Config/outside.txt")).error;
    QVERIFY2(error.contains("outside.txt") && error.contains("outside the data folder"), qPrintable(error));
    WriteResult written = TextFile::writeText(path("data/Config/outside.txt"), "changed");
    QVERIFY(!written.ok);
    QVERIFY2(written.error.contains("outside the data folder"), qPrintable(written.error));
    QCOMPARE(bytesOf("outside/other.txt"), QByteArray("outside"));

    error = TextFile::readText(path("data/Config/broken.txt")).error;
    QVERIFY2(error.contains("broken.txt") && error.contains("does not exist"), qPrintable(error));
    written = TextFile::writeLines(path("data/Config/broken.txt"), {"a"});
    QVERIFY(!written.ok);
    QVERIFY(!QFileInfo::exists(path("outside/none.txt")));
    QVERIFY(QFileInfo(path("data/Config/broken.txt")).isSymLink());
}

void TestTextFile::linksWithoutADataFolder()
{
    put("target.txt", "there");
    QVERIFY(QFile::link(path("target.txt"), path("link.txt")));
    QVERIFY(QFile::link(path("nowhere.txt"), path("dangling.txt")));
    QCOMPARE(TextFile::readText(path("link.txt")).value, QString("there"));
    QVERIFY(TextFile::writeText(path("link.txt"), "here"));
    QCOMPARE(bytesOf("target.txt"), QByteArray("here"));
    QVERIFY(!TextFile::writeText(path("dangling.txt"), "x").ok);
    QVERIFY(!QFileInfo::exists(path("nowhere.txt")));
}

void TestTextFile::damagedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9\r\n\ttab\f\v") << false;
    QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80 \x96\r\n") << false;
    QTest::newRow("terminal colours") << QByteArray("\x1B[1mbold\x1B[0m \xE9") << false;
    QTest::newRow("final Ctrl-Z") << QByteArray("old editor \xE9\r\n\x1A") << false;
    QTest::newRow("a NUL typed into UTF-8 text") << QByteArray("a\0b \xC3\xA9", 6) << false;
    QTest::newRow("a control character in UTF-8 text") << QByteArray("a\x01" "b") << false;
    QTest::newRow("NUL, not UTF-8") << QByteArray("a\0b\xE9", 4) << true;
    QTest::newRow("control character, not UTF-8") << QByteArray("\xFF\x01" "b") << true;
    QTest::newRow("one control character in a long older file")
        << QByteArray("Caf\xE9 ").repeated(40) + QByteArray("\0", 1) << false;
    QTest::newRow("Ctrl-Z inside, not UTF-8") << QByteArray("a\x1A\xE9 b") << true;
    QTest::newRow("zip file") << QByteArray("PK\x03\x04\x14\x00\x08\x00\x8B\xE4\xC1\xFF", 12) << true;
    QTest::newRow("lost blocks") << QByteArray(4096, '\0') << true;
}

void TestTextFile::damagedBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, damaged);
    QCOMPARE(TextFile::looksDamaged(bytes), damaged);
}

void TestTextFile::damagedFileKeptAsideUnderAFreeName()
{
    put("money.txt", QByteArray("\0\1\2\xFF", 4));
    put("money.txt.damaged", "first");
    put("money.txt.damaged-2", "second");
    Expected<QByteArray> read = TextFile::readTextBytes(path("money.txt"));
    QVERIFY(read.ok);
    QVERIFY(read.value.isEmpty());
    QVERIFY2(read.notice.contains("money.txt\"") && read.notice.contains("money.txt.damaged-3"),
             qPrintable(read.notice));
    QCOMPARE(bytesOf("money.txt.damaged-3"), QByteArray("\0\1\2\xFF", 4));
    QCOMPARE(bytesOf("money.txt.damaged"), QByteArray("first"));
    QCOMPARE(bytesOf("money.txt.damaged-2"), QByteArray("second"));
    QVERIFY(!QFileInfo::exists(path("money.txt")));

    // Text is read as it is, with no notice.
    put("list.txt", "Caf\xE9\r\n");
    read = TextFile::readTextBytes(path("list.txt"));
    QVERIFY(read.ok);
    QVERIFY(read.notice.isEmpty());
    QCOMPARE(read.value, QByteArray("Caf\xE9\r\n"));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
