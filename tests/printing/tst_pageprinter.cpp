#include "core/printing/pageprinter.h"
#include "recordingprinter.h"

#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList numbered(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    return lines;
}

QFont twelvePoint()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    return font;
}

QList<RecordedJob::Text> textsOn(const RecordedJob &job, int page)
{
    QList<RecordedJob::Text> out;
    for (const auto &t : job.texts)
        if (t.page == page)
            out.append(t);
    return out;
}

} // namespace

class TestPagePrinter : public QObject
{
    Q_OBJECT

private:
    RecordedJob job;
    std::unique_ptr<RecordingTarget> letter600(QRect printable = QRect(0, 0, 5100, 6600))
    {
        job = RecordedJob();
        return std::make_unique<RecordingTarget>(600, QSize(5100, 6600), printable, &job);
    }

    // The title of the pages printed.
    QString m_title;

    int print(IPrintTarget &target, const QStringList &lines, const QFont &font, bool measure = false,
              QString *error = nullptr, float left = 0.5f, float top = 0.75f, float right = 0.5f,
              float bottom = 1.0f)
    {
        PagePrinter printer(m_title);
        const Expected<int> pages = printString(target, lines, &font, left, right, top, bottom, 6.0f, measure,
                                                printer.header(), printer.footer());
        if (!pages && error)
            *error = pages.error;
        return pages ? pages.value : -1;
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void nearestRoundsHalvesToEven()
    {
        QCOMPARE(nearestWhole(2.5), 2);
        QCOMPARE(nearestWhole(3.5), 4);
        QCOMPARE(nearestWhole(8.333), 8);
        QCOMPARE(nearestWhole(-0.5), 0);
    }

    void letterPageGeometry()
    {
        auto target = letter600();
        const QFont font = twelvePoint();
        m_title = QStringLiteral("Garden");
        const int pages = print(*target, numbered(56), font);
        target.reset();
        QCOMPARE(pages, 2);
        QVERIFY(job.ended);
        QVERIFY(!job.aborted);
        QCOMPARE(job.pages, 2);

        // Text lines: 55 on page 1 at 450, 550, ... 5850; the 56th on page 2.
        QList<RecordedJob::Text> body;
        for (const auto &t : std::as_const(job.texts))
            if (t.text.startsWith(QLatin1String("line ")))
                body.append(t);
        QCOMPARE(body.size(), 56);
        for (int i = 0; i < 55; ++i) {
            QCOMPARE(body.at(i).page, 1);
            QCOMPARE(body.at(i).topLeft, QPointF(300, 450 + 100 * i));
        }
        QCOMPARE(body.at(54).topLeft.y(), 5850.0);
        QCOMPARE(body.at(55).page, 2);
        QCOMPARE(body.at(55).topLeft, QPointF(300, 450));

        // Rules: header at 450 - 600 div 18, footer at B = 6000, from L to R,
        // grey, 8 dots wide; drawn on both pages.
        QCOMPARE(job.lines.size(), 4);
        for (int page = 1; page <= 2; ++page) {
            const auto &header = job.lines.at(2 * (page - 1));
            const auto &footer = job.lines.at(2 * (page - 1) + 1);
            QCOMPARE(header.page, page);
            QCOMPARE(header.line, QLineF(300, 417, 4800, 417));
            QCOMPARE(footer.line, QLineF(300, 6000, 4800, 6000));
            QCOMPARE(header.penWidth, 8.0);
            QCOMPARE(footer.penWidth, 8.0);
            QCOMPARE(header.color, QColor(0x80, 0x80, 0x80));
            QCOMPARE(header.style, Qt::SolidLine);
        }

        // Footer text "Page n" at 6033, ending at the right margin.
        for (int page = 1; page <= 2; ++page) {
            const auto texts = textsOn(job, page);
            const auto it = std::find_if(texts.begin(), texts.end(),
                                         [](const auto &t) { return t.text.startsWith(QLatin1String("Page ")); });
            QVERIFY(it != texts.end());
            QCOMPARE(it->text, QStringLiteral("Page %1").arg(page));
            QCOMPARE(it->topLeft.y(), 6033.0);
            QCOMPARE(it->font.family(), QStringLiteral("Arial"));
            QCOMPARE(it->font.pointSize(), 8);
            QCOMPARE(it->color, QColor(0x80, 0x80, 0x80));
            RecordingDevice device(600, QSize(5100, 6600));
            const int width = QFontMetrics(it->font, &device).horizontalAdvance(it->text);
            QCOMPARE(qRound(it->topLeft.x()) + width, 4800);

            // The title above the header rule: bottom - d div 10 - height of "W".
            const auto title = std::find_if(texts.begin(), texts.end(),
                                            [](const auto &t) { return t.text == QLatin1String("Garden"); });
            QVERIFY(title != texts.end());
            const int w = QFontMetrics(title->font, &device).height();
            QCOMPARE(title->topLeft, QPointF(300, 450 - 60 - w));
        }
    }

    void pageBreakFollowsTextHeight()
    {
        // 55 lines fit with a 12 pt font; the 56th top (5950) would end
        // below B = 6000.
        auto target = letter600();
        QCOMPARE(print(*target, numbered(55), twelvePoint()), 1);
        target = letter600();
        QCOMPARE(print(*target, numbered(110), twelvePoint()), 2);
        target = letter600();
        QCOMPARE(print(*target, numbered(111), twelvePoint()), 3);
    }

    void emptyInputPrintsOnePageWithoutCallbacks()
    {
        auto target = letter600();
        int calls = 0;
        const PageBandPainter count = [&calls](QPainter *, int, QRect, bool &) { ++calls; };
        const QFont font = twelvePoint();
        const int pages = printString(*target, {}, &font, 0.5f, 0.5f, 0.75f, 1.0f, 6.0f, false, count, count).value;
        target.reset();
        QCOMPARE(pages, 1);
        QCOMPARE(calls, 0);
        QVERIFY(job.begun);
        QVERIFY(job.ended);
        QVERIFY(job.texts.isEmpty());
        QVERIFY(job.lines.isEmpty());
    }

    void callbackStopsTheJob_data()
    {
        QTest::addColumn<bool>("inHeader");
        QTest::newRow("header") << true;
        QTest::newRow("footer") << false;
    }

    void callbackStopsTheJob()
    {
        QFETCH(bool, inHeader);
        auto target = letter600();
        QList<int> headerPages;
        const PageBandPainter header = [&](QPainter *, int page, QRect, bool &go) {
            headerPages.append(page);
            if (inHeader)
                go = false;
        };
        const PageBandPainter footer = [&](QPainter *, int, QRect, bool &go) {
            if (!inHeader)
                go = false;
        };
        const QFont font = twelvePoint();
        const int pages = printString(*target, numbered(200), &font, 0.5f, 0.5f, 0.75f, 1.0f, 6.0f, false, header, footer).value;
        target.reset();
        QCOMPARE(pages, 0);
        QVERIFY(job.aborted);
        QVERIFY(!job.ended);
        QCOMPARE(headerPages, QList<int>{1});
        QCOMPARE(job.pages, 1);
        // Stopped in the header: none of the page's lines is printed.
        QCOMPARE(job.texts.isEmpty(), inHeader);
    }

    void bandCopiesAreTheMarginRectangles()
    {
        auto target = letter600();
        QRect headerBand, footerBand;
        const PageBandPainter header = [&](QPainter *, int, QRect band, bool &) { headerBand = band; };
        const PageBandPainter footer = [&](QPainter *, int, QRect band, bool &) { footerBand = band; };
        const QFont font = twelvePoint();
        printString(*target, numbered(1), &font, 0.5f, 0.5f, 0.75f, 1.0f, 6.0f, false, header, footer);
        QCOMPARE(headerBand.left(), 300);
        QCOMPARE(headerBand.top(), 0);
        QCOMPARE(headerBand.right(), 4800);
        QCOMPARE(headerBand.bottom(), 450);
        QCOMPARE(footerBand.top(), 6000);
        QCOMPARE(footerBand.bottom(), 6600);
    }

    void measureOnlyCountsAndDiscards()
    {
        auto target = letter600();
        const int pages = print(*target, numbered(120), twelvePoint(), true);
        target.reset();
        QCOMPARE(pages, 3);
        QVERIFY(job.aborted);
        QVERIFY(!job.ended);
    }

    void marginsInsideTheUnprintableEdgeMoveOut()
    {
        // Printable area starts 100 dots in; a 0.1 inch (60 dot) left margin
        // becomes the edge, x = 0 of the printable area.
        auto target = letter600(QRect(100, 100, 4900, 6400));
        QVERIFY(print(*target, numbered(1), twelvePoint(), false, nullptr, 0.1f) == 1);
        target.reset();
        const auto body = std::find_if(job.texts.begin(), job.texts.end(),
                                       [](const auto &t) { return t.text == QLatin1String("line 1"); });
        QVERIFY(body != job.texts.end());
        QCOMPARE(body->topLeft, QPointF(0, 350));
    }

    void marginsLeavingNoAreaFailAndDiscard()
    {
        auto target = letter600();
        QString error;
        const int pages = print(*target, numbered(3), twelvePoint(), false, &error, 0.5f, 6.0f, 0.5f, 6.0f);
        target.reset();
        QCOMPARE(pages, -1);
        QCOMPARE(error, QStringLiteral("PrintString: the supplied margins are too large, there is no area to "
                                       "print left on the page."));
        QVERIFY(job.aborted);
        QVERIFY(!job.ended);
        QVERIFY(job.texts.isEmpty());

        target = letter600();
        QCOMPARE(print(*target, numbered(3), twelvePoint(), false, &error, 4.5f, 0.75f, 4.0f), -1);
    }

    void missingFontFailsBeforeAnyDocument()
    {
        auto target = letter600();
        const Expected<int> pages = printString(*target, numbered(3), nullptr, 0.5f, 0.5f, 0.75f, 1.0f, 6.0f, false, {}, {});
        target.reset();
        QVERIFY(!pages);
        QVERIFY(pages.error.contains(QLatin1String("PrintString: requires a valid aFont parameter!")));
        QVERIFY(!job.begun);
    }

    void refusedPrinterIsReported()
    {
        auto target = letter600();
        target->refuseBegin = true;
        QString error;
        QCOMPARE(print(*target, numbered(3), twelvePoint(), false, &error), -1);
        QVERIFY(!error.isEmpty());
    }

    void longLinesArePrintedWhole()
    {
        auto target = letter600();
        const QString wide = QString(400, QLatin1Char('x'));
        QCOMPARE(print(*target, {wide}, twelvePoint()), 1);
        target.reset();
        QVERIFY(std::any_of(job.texts.begin(), job.texts.end(), [&](const auto &t) { return t.text == wide; }));
    }

    void pitchComesFromLinesPerInchAlone()
    {
        // A font taller than the pitch overlaps; the tops stay 100 apart.
        auto target = letter600();
        QFont big(QStringLiteral("Arial"));
        big.setPointSize(20);
        QCOMPARE(print(*target, numbered(3), big), 1);
        target.reset();
        QList<qreal> tops;
        for (const auto &t : std::as_const(job.texts))
            if (t.text.startsWith(QLatin1String("line ")))
                tops.append(t.topLeft.y());
        QCOMPARE(tops, (QList<qreal>{450, 550, 650}));
    }

    void fontTallerThanThePageFailsInsteadOfLooping()
    {
        auto target = letter600();
        QFont huge(QStringLiteral("Arial"));
        huge.setPointSize(900);
        QString error;
        QCOMPARE(print(*target, numbered(2), huge, false, &error), -1);
        target.reset();
        QVERIFY(job.aborted);
        QVERIFY(!error.isEmpty());
    }

    void printsARealPdf()
    {
        QTemporaryDir dir;
        FakePrinting printing;
        const QString path = dir.filePath(QStringLiteral("pages.pdf"));
        auto target = printing.pdfTarget(path);
        QCOMPARE(target->dpiY(), 600);
        QCOMPARE(target->paperSize(), QSize(5100, 6600));
        QCOMPARE(print(*target, numbered(56), twelvePoint()), 2);
        target.reset();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 2);
    }
};

QTEST_MAIN(TestPagePrinter)
#include "tst_pageprinter.moc"
