// The summary's memory of page files, and page editors that take a long
// text a slice at a time.
#include "testhelpers.h"
#include "core/common/textfile.h"
#include "core/projects/pagecache.h"
#include "ui/projects/pageeditor.h"
#include "core/projects/projectpages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <utime.h>

namespace {


// Gives the file another modification time, as a later edit would.
void touchLater(const QString &path, int seconds)
{
    const QFileInfo info(path);
    const qint64 when = info.lastModified().toSecsSinceEpoch() + seconds;
    utimbuf times{when, when};
    QCOMPARE(::utime(QFile::encodeName(path).constData(), &times), 0);
}

QString longText(int lines)
{
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << QStringLiteral("line %1 of a long page with a few words on it").arg(i);
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestPageCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void summaryReadsOnlyChangedFiles();
    void cachedSummaryMatchesAFreshOne();
    void summaryFileIsWrittenOnlyWhenItDiffers();
    void longTextFillsInSlicesAndIsNeverLost();
    void newTextWhileFillingReplacesTheRest();
    void hiddenEditorFillsWhenShown();
};

void TestPageCache::summaryReadsOnlyChangedFiles()
{
    QTemporaryDir dir;
    const QString projects = dir.path() + "/";
    writeFileBytes(projects + "A/Done.txt", "one\r\n\r\n  two");
    writeFileBytes(projects + "B/Done.txt", "three");
    const QStringList lines{"@Home", "A", "B", "C"};
    PageCache cache;

    const QString first = ProjectPages::buildSummaryText(lines, projects, "Done", &cache);
    QCOMPARE(first, QStringLiteral("[A]\n   one\n     two\n\n[B]\n   three"));
    QCOMPARE(cache.readsDone(), 2);
    QCOMPARE(ProjectPages::buildSummaryText(lines, projects, "Done", &cache), first);
    QCOMPARE(cache.readsDone(), 2);

    // Same size, new content and time: read again.
    writeFileBytes(projects + "B/Done.txt", "THREE");
    touchLater(projects + "B/Done.txt", 5);
    QCOMPARE(ProjectPages::buildSummaryText(lines, projects, "Done", &cache),
             QStringLiteral("[A]\n   one\n     two\n\n[B]\n   THREE"));
    QCOMPARE(cache.readsDone(), 3);

    // A new page appears, a page vanishes, a page is emptied.
    writeFileBytes(projects + "C/Done.txt", "four");
    QFile::remove(projects + "A/Done.txt");
    writeFileBytes(projects + "B/Done.txt", "");
    QCOMPARE(ProjectPages::buildSummaryText(lines, projects, "Done", &cache), QStringLiteral("[C]\n   four"));
    // A folder where the page should be holds no line either.
    QFile::remove(projects + "C/Done.txt");
    QVERIFY(QDir().mkpath(projects + "C/Done.txt"));
    QCOMPARE(ProjectPages::buildSummaryText(lines, projects, "Done", &cache), QString());
}

void TestPageCache::cachedSummaryMatchesAFreshOne()
{
    QTemporaryDir dir;
    const QString projects = dir.path() + "/";
    writeFileBytes(projects + "Garden/Projects.txt", "A\r\n\r\nB");
    writeFileBytes(projects + "Notes/Projects.txt", " \t \r\n");   // blank lines only: a heading alone
    writeFileBytes(projects + "Odd/Projects.txt", "x\ry\n\rz"); // any line end
    writeFileBytes(projects + "Projects.txt", "root page");      // the blank line's page
    const QStringList lines{"@Home", "Repairs", "Garden", "", "Notes", "..", "Odd"};
    PageCache cache;
    const QString cached = ProjectPages::buildSummaryText(lines, projects, "Projects", &cache);
    const QStringList fresh = ProjectPages::buildSummary(lines, projects, "Projects");
    QCOMPARE(cached, fresh.join(QLatin1Char('\n')));
    QCOMPARE(fresh, (QStringList{"[Garden]", "   A", "   B", "", "[]", "   root page", "", "[Notes]", "",
                                 "[Odd]", "   x", "   y", "   z"}));
}

void TestPageCache::summaryFileIsWrittenOnlyWhenItDiffers()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Summary/";
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + "Done.txt";
    PageCache cache;
    QVERIFY(cache.saveText(folder, file, "[A]\n   one"));
    QCOMPARE(TextFile::readText(file).value, QStringLiteral("[A]\n   one"));

    // Changed behind the program's back: written again even for the same text.
    writeFileBytes(file, "edited by hand");
    touchLater(file, 5);
    QVERIFY(cache.saveText(folder, file, "[A]\n   one"));
    QCOMPARE(TextFile::readText(file).value, QStringLiteral("[A]\n   one"));

    // A write that fails is reported, and tried again next time.
    QFile::remove(file);
    QVERIFY(QDir().mkpath(file));
    const WriteResult failed = cache.saveText(folder, file, "[A]\n   two");
    QVERIFY(!failed.ok);
    QVERIFY(failed.error.contains("Done.txt"));
    QVERIFY(QDir().rmdir(file));
    QVERIFY(cache.saveText(folder, file, "[A]\n   two"));
    QCOMPARE(TextFile::readText(file).value, QStringLiteral("[A]\n   two"));
}

void TestPageCache::longTextFillsInSlicesAndIsNeverLost()
{
    PageEditor editor("Done", "Done", QColor(), true, false);
    editor.resize(400, 300);
    editor.show();
    const QString text = longText(20000);
    QVERIFY(text.size() > 10 * PageEditor::sliceChars);

    editor.setPageText(text);
    QVERIFY(editor.isFilling());
    QVERIFY(editor.document()->blockCount() < 20000);
    // While it fills, the page is read-only and its text is the whole text.
    QVERIFY(editor.isReadOnly());
    QCOMPARE(editor.pageText(), text);
    QCOMPARE(editor.lines().size(), 20000);

    QTRY_VERIFY(!editor.isFilling());
    QCOMPARE(editor.toPlainText(), text);
    QVERIFY(!editor.isReadOnly());
    QVERIFY(!editor.document()->isUndoAvailable());
    // Typing works again and can be undone.
    QTest::keyClick(&editor, Qt::Key_X);
    QVERIFY(editor.toPlainText().startsWith("xline 0"));
    QVERIFY(editor.document()->isUndoAvailable());

    // A read-only page stays read-only after its fill; asked for the text
    // at once, the rest is laid in at once.
    editor.setReadOnly(true);
    editor.setPageText(text);
    QVERIFY(editor.isFilling());
    editor.ensureFilled();
    QVERIFY(!editor.isFilling());
    QCOMPARE(editor.toPlainText(), text);
    QVERIFY(editor.isReadOnly());
}

void TestPageCache::newTextWhileFillingReplacesTheRest()
{
    PageEditor editor("Done", "Done", QColor(), true, false);
    editor.show();
    editor.setPageText(longText(20000));
    QVERIFY(editor.isFilling());
    editor.setPageText("short");
    QVERIFY(!editor.isFilling());
    QCOMPARE(editor.pageText(), QStringLiteral("short"));
    QTest::qWait(20); // no slice of the old text arrives later
    QCOMPARE(editor.toPlainText(), QStringLiteral("short"));
    QVERIFY(!editor.isReadOnly());

    const QString other = longText(15000);
    editor.setPageText(longText(20000));
    editor.setPageText(other);
    QTRY_VERIFY(!editor.isFilling());
    QCOMPARE(editor.toPlainText(), other);
}

void TestPageCache::hiddenEditorFillsWhenShown()
{
    QWidget window;
    auto *editor = new PageEditor("Done", "Done", QColor(), true, false, &window);
    window.show();
    editor->hide();
    const QString text = longText(20000);
    editor->setPageText(text, true);
    QVERIFY(editor->hasPendingText());
    QVERIFY(!editor->isFilling());
    QCOMPARE(editor->pageText(), text);
    editor->show();
    QVERIFY(editor->isFilling());
    QTRY_VERIFY(!editor->hasPendingText());
    QCOMPARE(editor->toPlainText(), text);
}

QTEST_MAIN(TestPageCache)
#include "tst_pagecache.moc"
