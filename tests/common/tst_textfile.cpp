#include "common/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
};

void TestTextFile::editorTextHasNoFinalBreak()
{
    QVERIFY(TextFile::writeText(path("note.txt"), "first\nsecond"));
    QCOMPARE(bytesOf("note.txt"), QByteArray("first\r\nsecond"));
    // A trailing empty line of the editor is one line break, exactly as held.
    QVERIFY(TextFile::writeText(path("note.txt"), "first\n"));
    QCOMPARE(bytesOf("note.txt"), QByteArray("first\r\n"));
    QCOMPARE(TextFile::readText(path("note.txt")), QString("first\n"));
}

void TestTextFile::listLinesEachEndWithCrLf()
{
    QVERIFY(TextFile::writeLines(path("list.txt"), {"a", "", "c"}));
    QCOMPARE(bytesOf("list.txt"), QByteArray("a\r\n\r\nc\r\n"));
    QCOMPARE(TextFile::readLines(path("list.txt")), QStringList({"a", "", "c"}));
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
    QCOMPARE(TextFile::readText(path("ends.txt")), text);
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
    QCOMPARE(TextFile::readLines(path("lines.txt")), lines);
}

void TestTextFile::missingFileReadsEmpty()
{
    QString error;
    QCOMPARE(TextFile::readText(path("nope.txt"), &error), QString());
    QCOMPARE(TextFile::readLines(path("nope.txt"), &error), QStringList());
    QVERIFY(error.isEmpty());
    QVERIFY(!QFile::exists(path("nope.txt")));
}

void TestTextFile::utf8RoundTrip()
{
    const QString text = QString::fromUtf8("Café ‘quoted’ — 日本 🎉");
    QVERIFY(TextFile::writeText(path("utf8.txt"), text));
    QCOMPARE(bytesOf("utf8.txt"), text.toUtf8());
    QCOMPARE(TextFile::readText(path("utf8.txt")), text);
}

void TestTextFile::windows1252Fallback()
{
    // "Café – ‘x’" as an older install stored it in Windows-1252.
    put("ansi.txt", QByteArray("Caf\xE9 \x96 \x91x\x92\r\nna\xEFve"));
    QCOMPARE(TextFile::readText(path("ansi.txt")), QString::fromUtf8("Café – ‘x’\nnaïve"));
    QCOMPARE(TextFile::readLines(path("ansi.txt")), QStringList({QString::fromUtf8("Café – ‘x’"),
                                                                 QString::fromUtf8("naïve")}));
}

void TestTextFile::byteOrderMarkDropped()
{
    put("bom.txt", QByteArray("\xEF\xBB\xBFhello"));
    QCOMPARE(TextFile::readText(path("bom.txt")), QString("hello"));
}

void TestTextFile::nulBytesSurvive()
{
    put("nul.txt", QByteArray("a\0b\r\nc", 6));
    const QString text = TextFile::readText(path("nul.txt"));
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
    QString error;
    TextFile::readText(path("adir.txt"), &error);
    QVERIFY2(error.contains("adir.txt"), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
