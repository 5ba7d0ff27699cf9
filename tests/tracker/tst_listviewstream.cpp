#include "core/tracker/listviewstream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The alarm list files byte for byte, and what damaged files give.
class TestListViewStream : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    static QByteArray hex(const char *text) { return QByteArray::fromHex(text); }
    static ListViewItem entry(bool checked, const QString &caption, const QStringList &subs)
    {
        return ListViewItem{checked, caption, subs};
    }

private Q_SLOTS:
    void emptyListIsFiveBytes();
    void dailyEntryLayout();
    void stringsAreLengthThenBytes();
    void listWithoutCheckBoxesHasNoCheckBytes();
    void roundTrip();
    void damaged_data();
    void damaged();
    void hugeCountInShortFileMakesNoExtraEntries();
    void missingCheckByteLeavesEntryUnchecked();
    void cutInsideTheLastEntryKeepsItsReadFields();
    void windows1252Caption();
    void byteOrderMarkInCaptionSurvives();
    void saveAndLoadFile();
    void unreadableFileReportsItsName();
    void oversizedFileIsRefused();
    void damagedCopyTakesAFreeName();
};

void TestListViewStream::emptyListIsFiveBytes()
{
    QCOMPARE(encodeListView(ListViewData{}), hex("0100000000"));
    ListViewData none;
    none.checkBoxes = false;
    QCOMPARE(encodeListView(none), hex("0000000000"));
}

void TestListViewStream::dailyEntryLayout()
{
    ListViewData list;
    list.items.append(entry(true, QStringLiteral("Daily at 09:30 PM"),
                            {QStringLiteral("Daily"), QStringLiteral("45296.8958333333")}));
    QByteArray expected = hex("01" "01000000" "01" "11000000");
    expected += "Daily at 09:30 PM";
    expected += hex("02000000" "05000000");
    expected += "Daily";
    expected += hex("10000000");
    expected += "45296.8958333333";
    QCOMPARE(encodeListView(list), expected);
}

void TestListViewStream::stringsAreLengthThenBytes()
{
    QByteArray out;
    writeStr(out, QString());
    QCOMPARE(out, hex("00000000"));
    out.clear();
    writeInt(out, -2);
    writeInt(out, 0x01020304);
    writeByte(out, 0xFF);
    QCOMPARE(out, hex("FEFFFFFF" "04030201" "FF"));
    out.clear();
    // The length counts bytes, not characters.
    writeStr(out, QStringLiteral("\u00e9t\u00e9"));
    QCOMPARE(out, hex("05000000") + QStringLiteral("\u00e9t\u00e9").toUtf8());
}

void TestListViewStream::listWithoutCheckBoxesHasNoCheckBytes()
{
    ListViewData list;
    list.checkBoxes = false;
    list.items.append(entry(true, QStringLiteral("A"), {}));
    QCOMPARE(encodeListView(list), hex("00" "01000000" "01000000") + "A" + hex("00000000"));

    ListViewData back;
    QVERIFY(decodeListView(encodeListView(list), &back).clean);
    QVERIFY(!back.checkBoxes);
    QCOMPARE(back.items.size(), 1);
    QVERIFY(!back.items.first().checked);
    QCOMPARE(back.items.first().caption, QStringLiteral("A"));
}

void TestListViewStream::roundTrip()
{
    ListViewData list;
    list.items.append(entry(false, QStringLiteral("Mon Wed Fri at 07:00 AM"),
                            {QStringLiteral("Mon Wed Fri "), QStringLiteral("45296.2916666667")}));
    list.items.append(entry(true, QString(), {}));
    list.items.append(entry(true, QStringLiteral("x"), {QString(), QStringLiteral("y"), QString()}));
    const QByteArray bytes = encodeListView(list);
    ListViewData back;
    back.items.append(entry(true, QStringLiteral("left over"), {}));
    const ListViewLoad load = decodeListView(bytes, &back);
    QVERIFY(load.ok);
    QVERIFY2(load.clean, qPrintable(load.error));
    QCOMPARE(back, list);
    QCOMPARE(encodeListView(back), bytes);
}

void TestListViewStream::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("firstCaption");

    QTest::newRow("empty file") << QByteArray() << 0 << QString();
    QTest::newRow("flag only") << hex("01") << 0 << QString();
    QTest::newRow("count cut short") << hex("010200") << 0 << QString();
    QTest::newRow("negative count") << hex("01FFFFFFFF") << 0 << QString();
    QTest::newRow("count beyond the end") << hex("0102000000") << 0 << QString();
    QTest::newRow("caption length beyond the end")
        << (hex("01010000000110000000") + "abc") << 1 << QStringLiteral("abc");
    QTest::newRow("negative caption length")
        << hex("0101000000" "01" "FEFFFFFF" "00000000") << 1 << QString();
    QTest::newRow("huge caption length")
        << (hex("0101000000" "01" "FFFFFF7F") + "ok") << 1 << QStringLiteral("ok");
    QTest::newRow("huge sub-item count")
        << (hex("0101000000" "01" "01000000") + "A" + hex("FFFFFF7F" "01000000") + "s")
        << 1 << QStringLiteral("A");
    QTest::newRow("bytes after the last entry")
        << (hex("0101000000" "01" "01000000") + "A" + hex("00000000" "DEADBEEF")) << 1
        << QStringLiteral("A");
    QTest::newRow("random bytes") << hex("7A3F00C2FFE0019944") << 0 << QString();
    QTest::newRow("random bytes after a small count")
        << hex("7A0300000045FF00000099") << 1 << QStringLiteral("\u2122");
}

void TestListViewStream::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, entries);
    QFETCH(QString, firstCaption);
    ListViewData list;
    const ListViewLoad load = decodeListView(bytes, &list);
    QVERIFY(load.ok);
    QVERIFY(!load.clean);
    QVERIFY(!load.error.isEmpty());
    QCOMPARE(list.items.size(), entries);
    if (entries > 0)
        QCOMPARE(list.items.first().caption, firstCaption);
}

void TestListViewStream::hugeCountInShortFileMakesNoExtraEntries()
{
    QByteArray bytes = hex("01" "FFFFFF7F" "01" "01000000") + "A" + hex("00000000");
    ListViewData list;
    const ListViewLoad load = decodeListView(bytes, &list);
    QVERIFY(!load.clean);
    QCOMPARE(list.items.size(), 1);
    QCOMPARE(list.items.first().caption, QStringLiteral("A"));
    QVERIFY(list.items.first().checked);
}

void TestListViewStream::missingCheckByteLeavesEntryUnchecked()
{
    ListViewData list;
    // The first entry is whole; the file ends where the second one's check
    // byte would stand, so it is not made up at all.
    QVERIFY(!decodeListView(hex("01" "02000000" "01" "00000000" "00000000"), &list).clean);
    QCOMPARE(list.items.size(), 1);
    QVERIFY(list.items.first().checked);

    // Any flag or check byte other than 0 means "on", as it always did;
    // such a file is not damaged and is written back with 1.
    QVERIFY(decodeListView(hex("05" "01000000" "07" "00000000" "00000000"), &list).clean);
    QVERIFY(list.checkBoxes);
    QVERIFY(list.items.first().checked);
    QCOMPARE(encodeListView(list), hex("01" "01000000" "01" "00000000" "00000000"));

    // A list with no check box flag at all reads as one with check boxes.
    QVERIFY(!decodeListView(QByteArray(), &list).clean);
    QVERIFY(list.checkBoxes);
}

void TestListViewStream::cutInsideTheLastEntryKeepsItsReadFields()
{
    ListViewData whole;
    whole.items.append(entry(true, QStringLiteral("Daily at 09:30 PM"),
                             {QStringLiteral("Daily"), QStringLiteral("45296.8958333333")}));
    whole.items.append(entry(false, QStringLiteral("Sat Sun at 08:00 AM"),
                             {QStringLiteral("Sat Sun "), QStringLiteral("45296.3333333333")}));
    const QByteArray bytes = encodeListView(whole);
    // Cut inside the second entry's schedule text.
    const QByteArray cut = bytes.left(bytes.lastIndexOf("Sat Sun ") + 3);
    ListViewData list;
    QVERIFY(!decodeListView(cut, &list).clean);
    QCOMPARE(list.items.size(), 2);
    QCOMPARE(list.items.at(0), whole.items.at(0));
    QCOMPARE(list.items.at(1).caption, QStringLiteral("Sat Sun at 08:00 AM"));
    QVERIFY(!list.items.at(1).checked);
    QCOMPARE(list.items.at(1).subItems, QStringList{QStringLiteral("Sat")});

    // Every shorter cut loads without a crash and never more entries.
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        ListViewData part;
        QVERIFY(!decodeListView(bytes.left(n), &part).clean);
        QVERIFY(part.items.size() <= 2);
    }
}

void TestListViewStream::windows1252Caption()
{
    ListViewData list;
    QVERIFY(decodeListView(hex("0101000000" "01" "03000000" "E97465" "00000000"), &list).clean);
    QCOMPARE(list.items.first().caption, QStringLiteral("\u00e9te"));
}

void TestListViewStream::byteOrderMarkInCaptionSurvives()
{
    ListViewData list;
    list.items.append(entry(true, QStringLiteral("\ufeffA"), {QStringLiteral("\ufeff")}));
    ListViewData back;
    QVERIFY(loadListView(&back, encodeListView(list)).clean);
    QCOMPARE(back, list);
}

void TestListViewStream::saveAndLoadFile()
{
    ListViewData list;
    list.items.append(entry(true, QStringLiteral("Daily at 09:30 PM"),
                            {QStringLiteral("Daily"), QStringLiteral("1.5")}));
    const QString file = path(QStringLiteral("bedtimes.txt"));
    QVERIFY(saveListView(list, file).ok);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), encodeListView(list));
    ListViewData back;
    const ListViewLoad load = loadListView(&back, file);
    QVERIFY(load.ok && load.clean);
    QCOMPARE(back, list);

    // A folder that does not exist: the write fails with a message naming the file.
    const WriteResult bad = saveListView(list, path(QStringLiteral("nowhere/bedtimes.txt")));
    QVERIFY(!bad.ok);
    QVERIFY(bad.error.contains(QStringLiteral("bedtimes.txt")));
}

void TestListViewStream::unreadableFileReportsItsName()
{
    const QString folder = path(QStringLiteral("wakeuptimes.txt"));
    QVERIFY(QDir().mkpath(folder));
    ListViewData list;
    list.items.append(entry(true, QStringLiteral("old"), {}));
    const ListViewLoad load = loadListView(&list, folder);
    QVERIFY(!load.ok);
    QVERIFY(load.error.contains(QStringLiteral("wakeuptimes.txt")));
    QVERIFY(list.items.isEmpty());
}

void TestListViewStream::oversizedFileIsRefused()
{
    const QString file = path(QStringLiteral("big.txt"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(MaxListViewFileSize + 1));
    f.close();
    ListViewData list;
    const ListViewLoad load = loadListView(&list, file);
    QVERIFY(load.ok);
    QVERIFY(!load.clean);
    QVERIFY(list.items.isEmpty());
}

void TestListViewStream::damagedCopyTakesAFreeName()
{
    const QString file = path(QStringLiteral("copy.txt"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\x01\x02");
    f.close();
    QCOMPARE(keepDamagedCopy(file).value, file + QStringLiteral(".damaged"));
    QCOMPARE(keepDamagedCopy(file).value, file + QStringLiteral(".damaged-2"));
    QFile copy(file + QStringLiteral(".damaged-2"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("\x01\x02"));
    const Expected<QString> absent = keepDamagedCopy(path(QStringLiteral("absent.txt")));
    QVERIFY(!absent);
    QVERIFY(absent.value.isEmpty());
    QVERIFY(absent.error.contains(QStringLiteral("absent.txt")));
}

QTEST_GUILESS_MAIN(TestListViewStream)
#include "tst_listviewstream.moc"
