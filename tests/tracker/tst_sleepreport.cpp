#include "core/tracker/sleepreport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The sleep report's exact lines and when it is written.
class TestSleepReport : public QObject
{
    Q_OBJECT

private:
    static QStringList head(const QString &month)
    {
        return {QStringLiteral("<html><head>"), QStringLiteral("</head><body>"),
                QStringLiteral("<center><h2>"),
                QStringLiteral("<u>%1 Sleep Body Temperature (BBT) </u></h2>").arg(month),
                QStringLiteral("<table width=600 ><tr><td>"),
                QStringLiteral("<td><b>Sleep Body Temperature (BBT) </b>"),
                QStringLiteral("<img src=Sleep.jpg border=1>"), QStringLiteral("</td><td>")};
    }
    static QStringList tail(const QString &date)
    {
        return {QStringLiteral("<div > .: created: %1</div><br>").arg(date),
                QStringLiteral("</center></body></html>")};
    }
    static QStringList table(const QStringList &rows)
    {
        QStringList t{QStringLiteral("<table> <th bgcolor=#E0EEF1 >TEMPERATURE</th><tr>")};
        t += rows;
        t += {QStringLiteral("</table><br>"), QStringLiteral("</td></tr></table><br>"), QString()};
        return t;
    }

private Q_SLOTS:
    void lines_data();
    void lines();
    void writeNeedsReadingsFile();
    void writeReplacesReportWithCrLfLines();
    void unwritableReportNamesTheFile();
};

void TestSleepReport::lines_data()
{
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<QStringList>("tableLines");

    QTest::newRow("only skipped lines leave the table out")
        << QStringList{QStringLiteral("F="), QStringLiteral("T")} << QStringList();
    QTest::newRow("no lines at all") << QStringList() << QStringList();
    QTest::newRow("a reading")
        << QStringList{QStringLiteral("name=97.6")}
        << table({QStringLiteral("<tr><td>"),
                  QStringLiteral("name&nbsp;&nbsp;=&nbsp;97.6 &deg; F"),
                  QStringLiteral("</td></tr>")});
    QTest::newRow("F=98.6 is a reading, not skipped")
        << QStringList{QStringLiteral("F=98.6"), QStringLiteral("F=")}
        << table({QStringLiteral("<tr><td>"), QStringLiteral("F&nbsp;&nbsp;=&nbsp;98.6 &deg; F"),
                  QStringLiteral("</td></tr>")});
    QTest::newRow("lines without a point add empty rows")
        << QStringList{QString(), QStringLiteral("Mon=98"), QStringLiteral("T"),
                       QStringLiteral("a=b=1.2")}
        << table({QStringLiteral("<tr><td>"), QStringLiteral("</td></tr>"),
                  QStringLiteral("<tr><td>"), QStringLiteral("</td></tr>"),
                  QStringLiteral("<tr><td>"),
                  QStringLiteral("a&nbsp;&nbsp;=&nbsp;b&nbsp;&nbsp;=&nbsp;1.2 &deg; F"),
                  QStringLiteral("</td></tr>")});
    QTest::newRow("markup in a reading is shown as text")
        << QStringList{QStringLiteral("<b>x</b> & \"y\"=9.1")}
        << table({QStringLiteral("<tr><td>"),
                  QStringLiteral("&lt;b&gt;x&lt;/b&gt; &amp; \"y\"&nbsp;&nbsp;=&nbsp;9.1 &deg; F"),
                  QStringLiteral("</td></tr>")});
    QTest::newRow("t and f= are not the skipped lines")
        << QStringList{QStringLiteral("t"), QStringLiteral(" T")}
        << table({QStringLiteral("<tr><td>"), QStringLiteral("</td></tr>"),
                  QStringLiteral("<tr><td>"), QStringLiteral("</td></tr>")});
}

void TestSleepReport::lines()
{
    QFETCH(QStringList, readings);
    QFETCH(QStringList, tableLines);
    const QStringList expected = head(QStringLiteral("May")) + tableLines
                                 + tail(QStringLiteral("5/7/2024"));
    QCOMPARE(SleepReport::reportLines(QStringLiteral("May"), readings, QStringLiteral("5/7/2024")),
             expected);
}

void TestSleepReport::writeNeedsReadingsFile()
{
    QTemporaryDir dir;
    const QString report = dir.filePath(SleepReport::fileName());
    QFile old(report);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier");
    old.close();

    const SleepReport::Result result =
        SleepReport::writeReport(dir.filePath(QStringLiteral("Y2024M5/time.txt")), report,
                           QStringLiteral("May"), QStringLiteral("5/7/2024"));
    QVERIFY(!result.written);
    QVERIFY(result.write.ok);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("earlier"));
}

void TestSleepReport::writeReplacesReportWithCrLfLines()
{
    QTemporaryDir dir;
    QFile readings(dir.filePath(QStringLiteral("time.txt")));
    QVERIFY(readings.open(QIODevice::WriteOnly));
    readings.write("F=\nF=98.6\r\nT\r\n");
    readings.close();
    const QString report = dir.filePath(QStringLiteral("DedoDurid.html"));
    const SleepReport::Result result = SleepReport::writeReport(
        readings.fileName(), report, QStringLiteral("Jan"), QStringLiteral("1/10/2024"));
    QVERIFY(result.written);
    QFile out(report);
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    QVERIFY(bytes.startsWith("<html><head>\r\n</head><body>\r\n"));
    QVERIFY(bytes.contains("<tr><td>\r\nF&nbsp;&nbsp;=&nbsp;98.6 &deg; F\r\n</td></tr>\r\n"));
    QVERIFY(bytes.contains("</td></tr></table><br>\r\n\r\n<div > .: created: 1/10/2024</div><br>"));
    QVERIFY(bytes.endsWith("</center></body></html>\r\n"));
}

void TestSleepReport::unwritableReportNamesTheFile()
{
    QTemporaryDir dir;
    QFile readings(dir.filePath(QStringLiteral("time.txt")));
    QVERIFY(readings.open(QIODevice::WriteOnly));
    readings.write("a=1.0\r\n");
    readings.close();
    const SleepReport::Result result =
        SleepReport::writeReport(readings.fileName(), dir.filePath(QStringLiteral("no/DedoDurid.html")),
                           QStringLiteral("Jan"), QStringLiteral("1/10/2024"));
    QVERIFY(!result.written);
    QVERIFY(!result.write.ok);
    QVERIFY(result.write.error.contains(QStringLiteral("DedoDurid.html")));
}

QTEST_GUILESS_MAIN(TestSleepReport)
#include "tst_sleepreport.moc"
