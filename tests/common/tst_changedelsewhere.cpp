#include "core/common/storedfiles.h"
#include "core/common/textfile.h"
#include "fakes.h"
#include "testhelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

// Writes into a data folder never go over a change made by another program
// since the file was read: the other version is kept beside it.
class TestChangedElsewhere : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    FakeClock m_clock{QDateTime(QDate(2024, 1, 10), QTime(9, 30))};
    std::unique_ptr<StoredFiles> m_files;
    QStringList m_notices;

    QString path(const QString &name) const { return m_tmp->path() + QStringLiteral("/data/") + name; }
    QByteArray bytesAt(const QString &name) const { return fileBytes(path(name)); }
    QStringList entries() const
    {
        return QDir(m_tmp->path() + QStringLiteral("/data")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    static timespec modifiedTime(const QString &file)
    {
        struct stat info;
        ::stat(QFile::encodeName(file).constData(), &info);
        return info.st_mtim;
    }
    static void setModifiedTime(const QString &file, const timespec &when)
    {
        const timespec times[2] = {when, when};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0) == 0);
    }
    // What a synchronisation tool does: a new file renamed over the old
    // one, with the other machine's modification time.
    void replaceLikeASyncTool(const QString &name, const QByteArray &bytes, const timespec &when)
    {
        const QString temporary = path(QStringLiteral(".syncthing.") + name + QStringLiteral(".tmp"));
        writeFileBytes(temporary, bytes);
        setModifiedTime(temporary, when);
        QVERIFY(::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path(name)).constData()) == 0);
    }

private Q_SLOTS:
    void init()
    {
        m_clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 30)));
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(m_tmp->path() + QStringLiteral("/data")));
        m_files = std::make_unique<StoredFiles>(m_tmp->path() + QStringLiteral("/data/"), m_clock);
        m_notices.clear();
        m_files->setConflictListener([this](const QString &notice) { m_notices.append(notice); });
    }
    void cleanup()
    {
        m_files.reset();
        m_tmp.reset();
        QLocale::setDefault(QLocale::c());
    }

    void changeMadeElsewhereIsKeptBeside_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("written longer") << "longer";
        QTest::newRow("same size and time, written in place") << "in place";
        QTest::newRow("replaced with the old time") << "replaced";
    }
    void changeMadeElsewhereIsKeptBeside()
    {
        QFETCH(QString, how);
        writeFileBytes(path("note.txt"), "original");
        const timespec before = modifiedTime(path("note.txt"));
        QCOMPARE(TextFile::readText(path("note.txt")).value, QString("original"));

        QByteArray other;
        if (how == "longer") {
            other = "changed on the laptop";
            writeFileBytes(path("note.txt"), other);
        } else if (how == "in place") {
            other = "ORIGINAL";
            writeFileBytes(path("note.txt"), other);
            setModifiedTime(path("note.txt"), before);
        } else {
            other = "Original";
            replaceLikeASyncTool("note.txt", other, before);
        }
        QVERIFY(TextFile::changedOnDisk(path("note.txt")));

        const WriteResult written = TextFile::writeText(path("note.txt"), "typed here");
        QVERIFY2(written.ok, qPrintable(written.error));
        QCOMPARE(bytesAt("note.txt"), QByteArray("typed here"));
        const QString copy = "note (conflict 2024-01-10 0930).txt";
        QCOMPARE(bytesAt(copy), other);
        QCOMPARE(entries(), QStringList({copy, "note.txt"}));
        // The message names both files, and reaches the folder's listener.
        QVERIFY2(written.notice.contains(path("note.txt")) && written.notice.contains("\"" + copy + "\""),
                 qPrintable(written.notice));
        QCOMPARE(m_notices, QStringList{written.notice});

        // The version written is the one known now: the next save is plain.
        QVERIFY(!TextFile::changedOnDisk(path("note.txt")));
        const WriteResult again = TextFile::writeText(path("note.txt"), "typed more");
        QVERIFY(again.ok && again.notice.isEmpty());
        QCOMPARE(entries().size(), 2);
    }

    void nothingIsKeptWhenNothingWasLost()
    {
        // Touched only: same bytes, new time.
        writeFileBytes(path("touched.txt"), "same");
        QVERIFY(TextFile::readText(path("touched.txt")));
        setModifiedTime(path("touched.txt"), timespec{1700000000, 0});
        QVERIFY(!TextFile::changedOnDisk(path("touched.txt")));
        QVERIFY(TextFile::writeText(path("touched.txt"), "mine").notice.isEmpty());

        // The other program wrote exactly the text saved here.
        writeFileBytes(path("same.txt"), "old");
        QVERIFY(TextFile::readText(path("same.txt")));
        writeFileBytes(path("same.txt"), "agreed");
        QVERIFY(TextFile::writeText(path("same.txt"), "agreed").notice.isEmpty());

        // Removed elsewhere: the text saved here loses nothing.
        writeFileBytes(path("gone.txt"), "old");
        QVERIFY(TextFile::readText(path("gone.txt")));
        QVERIFY(QFile::remove(path("gone.txt")));
        QVERIFY(TextFile::changedOnDisk(path("gone.txt")));
        QVERIFY(TextFile::writeText(path("gone.txt"), "mine").notice.isEmpty());

        // Saved here twice in a row, and a file never read: written as before.
        QVERIFY(TextFile::writeLines(path("list.txt"), {"a"}));
        QVERIFY(TextFile::writeLines(path("list.txt"), {"a", "b"}).notice.isEmpty());
        writeFileBytes(path("unread.txt"), "someone's");
        QVERIFY(!TextFile::changedOnDisk(path("unread.txt")));
        QVERIFY(TextFile::writeText(path("unread.txt"), "mine").notice.isEmpty());

        QCOMPARE(entries(), QStringList({"gone.txt", "list.txt", "same.txt", "touched.txt", "unread.txt"}));
        QCOMPARE(bytesAt("unread.txt"), QByteArray("mine"));
        QVERIFY(m_notices.isEmpty());
    }

    void fileMadeElsewhereAfterItWasReadMissing()
    {
        QVERIFY(TextFile::readText(path("Jan-05-2024.txt")));
        QVERIFY(!TextFile::changedOnDisk(path("Jan-05-2024.txt")));
        writeFileBytes(path("Jan-05-2024.txt"), "written on the laptop");
        QVERIFY(TextFile::changedOnDisk(path("Jan-05-2024.txt")));
        const WriteResult written = TextFile::writeText(path("Jan-05-2024.txt"), "written here");
        QVERIFY(written.ok);
        QVERIFY(!written.notice.isEmpty());
        QCOMPARE(bytesAt("Jan-05-2024.txt"), QByteArray("written here"));
        QCOMPARE(bytesAt("Jan-05-2024 (conflict 2024-01-10 0930).txt"), QByteArray("written on the laptop"));

        // An empty file made elsewhere holds nothing to keep.
        QVERIFY(TextFile::readLines(path("empty.txt")));
        writeFileBytes(path("empty.txt"), "");
        QVERIFY(TextFile::writeLines(path("empty.txt"), {"x"}).notice.isEmpty());
        QCOMPARE(entries().size(), 3);
    }

    void conflictCopiesAreNeverReplaced()
    {
        writeFileBytes(path("money.txt"), "1");
        writeFileBytes(path("money (conflict 2024-01-10 0930).txt"), "an earlier conflict");
        QVERIFY(TextFile::readLines(path("money.txt")));
        writeFileBytes(path("money.txt"), "22");
        QVERIFY(TextFile::writeLines(path("money.txt"), {"333"}));
        QCOMPARE(bytesAt("money (conflict 2024-01-10 0930).txt"), QByteArray("an earlier conflict"));
        QCOMPARE(bytesAt("money (conflict 2024-01-10 0930 2).txt"), QByteArray("22"));
        QCOMPARE(bytesAt("money.txt"), QByteArray("333\r\n"));

        // A name at the file system's limit gives up the end of its base.
        // 247 bytes in UTF-8, within what a safe write takes (its temporary
        // file adds seven bytes to the name).
        const QString longName = QString(119, QChar(0x00E9)) + "_todo.txt";
        writeFileBytes(path(longName), "a");
        QVERIFY(TextFile::readText(path(longName)));
        writeFileBytes(path(longName), "bb");
        const WriteResult longWritten = TextFile::writeText(path(longName), "ccc");
        QVERIFY2(longWritten.ok, qPrintable(longWritten.error));
        const QStringList longCopies = QDir(path("")).entryList({QString(QChar(0x00E9)) + "*(conflict*"});
        QCOMPARE(longCopies, QStringList{QString(112, QChar(0x00E9)) + " (conflict 2024-01-10 0930).txt"});
        QCOMPARE(bytesAt(longCopies.first()), QByteArray("bb"));

        // A name without an extension gets the stamp at its end.
        writeFileBytes(path("README"), "a");
        QVERIFY(TextFile::readBytes(path("README")));
        writeFileBytes(path("README"), "bb");
        QVERIFY(TextFile::writeBytes(path("README"), "ccc"));
        QCOMPARE(bytesAt("README (conflict 2024-01-10 0930)"), QByteArray("bb"));
    }

    void conflictNameIsTheSameInEveryLanguage()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_clock.set(QDateTime(QDate(2024, 3, 5), QTime(7, 4)));
        writeFileBytes(path("Mar-05-2024.txt"), "eins");
        QVERIFY(TextFile::readText(path("Mar-05-2024.txt")));
        writeFileBytes(path("Mar-05-2024.txt"), "zwei");
        QVERIFY(TextFile::writeText(path("Mar-05-2024.txt"), "drei"));
        QCOMPARE(bytesAt("Mar-05-2024 (conflict 2024-03-05 0704).txt"), QByteArray("zwei"));
    }

    void writeStopsWhenTheOtherVersionCannotBeKept()
    {
        writeFileBytes(path("page.txt"), "read here");
        QVERIFY(TextFile::readText(path("page.txt")));
        writeFileBytes(path("page.txt"), "changed elsewhere");
        // Every conflict name of this minute is taken.
        writeFileBytes(path("page (conflict 2024-01-10 0930).txt"), "");
        for (int n = 2; n < 1000; ++n)
            writeFileBytes(path(QStringLiteral("page (conflict 2024-01-10 0930 %1).txt").arg(n)), "");
        const WriteResult written = TextFile::writeText(path("page.txt"), "typed here");
        QVERIFY2(!written.ok, qPrintable(written.notice));
        QVERIFY2(written.error.contains("page.txt") && written.error.contains("another program"),
                 qPrintable(written.error));
        QCOMPARE(bytesAt("page.txt"), QByteArray("changed elsewhere"));
        QVERIFY(m_notices.isEmpty());
    }

    void failedWriteAfterAConflictSaysWhereTheOtherVersionIs()
    {
        writeFileBytes(path("note.txt"), "read here");
        QVERIFY(TextFile::readText(path("note.txt")));
        writeFileBytes(path("note.txt"), "changed elsewhere");
        m_files->setWriteFault([](const QString &, qint64) { return 0; });
        const WriteResult failed = TextFile::writeText(path("note.txt"), "typed here");
        QVERIFY(!failed.ok);
        QVERIFY2(failed.error.contains("No space left") && failed.error.contains("note (conflict 2024-01-10 0930).txt"),
                 qPrintable(failed.error));
        QCOMPARE(bytesAt("note.txt"), QByteArray("changed elsewhere"));
        // The retry writes the text; the other version is not copied twice.
        m_files->setWriteFault({});
        const WriteResult retried = TextFile::writeText(path("note.txt"), "typed here");
        QVERIFY(retried.ok && retried.notice.isEmpty());
        QCOMPARE(bytesAt("note.txt"), QByteArray("typed here"));
        QCOMPARE(entries(), QStringList({"note (conflict 2024-01-10 0930).txt", "note.txt"}));
    }

    void renameByTheProgramIsNoChangeElsewhere()
    {
        writeFileBytes(path("Old_todo.txt"), "one");
        QVERIFY(TextFile::readText(path("Old_todo.txt")));
        QVERIFY(TextFile::readText(path("New_todo.txt"))); // seen missing
        QVERIFY(QFile::rename(path("Old_todo.txt"), path("New_todo.txt")));
        TextFile::noteMoved(path("Old_todo.txt"), path("New_todo.txt"));
        QVERIFY(!TextFile::changedOnDisk(path("New_todo.txt")));
        const WriteResult written = TextFile::writeText(path("New_todo.txt"), "two");
        QVERIFY(written.ok && written.notice.isEmpty());
        QCOMPARE(entries(), QStringList{"New_todo.txt"});
    }

    void peekingHidesNoChange()
    {
        writeFileBytes(path("note.txt"), "read here");
        QVERIFY(TextFile::readText(path("note.txt")));
        writeFileBytes(path("note.txt"), "changed elsewhere");
        // A read that does not take the text over (a search) leaves the
        // change to be found by the editor's save.
        QCOMPARE(TextFile::peekText(path("note.txt")).value, QString("changed elsewhere"));
        QCOMPARE(TextFile::peekBytes(path("note.txt")).value, QByteArray("changed elsewhere"));
        QVERIFY(TextFile::changedOnDisk(path("note.txt")));
        QVERIFY(!TextFile::writeText(path("note.txt"), "typed here").notice.isEmpty());
        QCOMPARE(bytesAt("note (conflict 2024-01-10 0930).txt"), QByteArray("changed elsewhere"));
    }

    void writeFaultBelongsToItsFolder()
    {
        QTemporaryDir elsewhere;
        m_files->setWriteFault([](const QString &, qint64 size) { return size / 2; });
        const WriteResult inside = TextFile::writeText(path("note.txt"), "never whole");
        QVERIFY(!inside.ok);
        QVERIFY(!QFileInfo::exists(path("note.txt")));
        QVERIFY(TextFile::writeText(elsewhere.filePath("note.txt"), "outside the folder"));

        // Gone with its folder.
        m_files.reset();
        QVERIFY(TextFile::writeText(path("note.txt"), "whole"));
        QCOMPARE(bytesAt("note.txt"), QByteArray("whole"));
    }
};

QTEST_GUILESS_MAIN(TestChangedElsewhere)
#include "tst_changedelsewhere.moc"
