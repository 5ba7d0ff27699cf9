// The grid view: striped painting, the current cell kept in step with the
// grid, editing in place.

#include "core/grid/stringgrid.h"
#include "ui/grid/stringgridview.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 20;

QImage paintCell(const StringGridView &view, int row, int column)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setFont(view.font());
    drawStripedCell(&painter, view, QRect(0, 0, kWidth, kHeight), row, column);
    return image;
}

QImage paintText(const StringGridView &view, const QColor &background, const QString &text)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(view.font());
    painter.setPen(view.fontColor());
    painter.drawText(QRect(2, 2, kWidth - 2, kHeight - 2), Qt::AlignLeft | Qt::AlignTop, text);
    return image;
}

} // namespace

class TestStringGridView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stripedRows();
    void longTextIsCut();
    void selectionIsNotShown();
    void currentCellFollowsBothWays();
    void editInPlace();
    void headingRowNotEditableWhileFixed();
    void customPainter();
};

void TestStringGridView::stripedRows()
{
    StringGrid grid(2, 4);
    StringGridView view(&grid);
    view.setBackgroundColor(QColor(0xFF, 0xFF, 0xF2));
    const QPoint corner(kWidth - 1, kHeight - 1);
    QCOMPARE(paintCell(view, 0, 0).pixelColor(corner), QColor(0xC0, 0xDC, 0xC0));
    QCOMPARE(paintCell(view, 1, 0).pixelColor(corner), QColor(0xF4, 0xF9, 0xFD));
    QCOMPARE(paintCell(view, 2, 1).pixelColor(corner), QColor(0xFF, 0xFF, 0xF2));
    QCOMPARE(paintCell(view, 3, 1).pixelColor(corner), QColor(0xF4, 0xF9, 0xFD));
}

void TestStringGridView::longTextIsCut()
{
    StringGrid grid(1, 3);
    StringGridView view(&grid);
    const QString cut = QStringLiteral("Replacement garden hose, 50 ft, greenX");
    QCOMPARE(cut.size(), 38);
    grid.setCell(0, 2, cut);
    const QColor even = view.backgroundColor();
    QCOMPARE(paintCell(view, 2, 0), paintText(view, even, cut.left(37) + QStringLiteral("...")));
    QVERIFY(paintCell(view, 2, 0) != paintText(view, even, cut));
    // The cell itself keeps the whole text.
    QCOMPARE(grid.cell(0, 2), cut);

    const QString whole = cut.left(37);
    grid.setCell(0, 2, whole);
    QCOMPARE(paintCell(view, 2, 0), paintText(view, even, whole));
}

void TestStringGridView::selectionIsNotShown()
{
    StringGrid grid(2, 4);
    grid.setCell(0, 1, "A");
    StringGridView view(&grid);
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QRect cell = view.visualRect(grid.index(1, 1));
    const QImage before = view.viewport()->grab().toImage().copy(cell);
    view.setCurrentIndex(grid.index(1, 1));
    view.selectionModel()->select(grid.index(1, 1), QItemSelectionModel::Select);
    const QImage after = view.viewport()->grab().toImage().copy(cell);
    QCOMPARE(after, before);
}

void TestStringGridView::currentCellFollowsBothWays()
{
    StringGrid grid(4, 10);
    grid.setFixedRows(1);
    StringGridView view(&grid);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    view.setCurrentIndex(grid.index(5, 2));
    QCOMPARE(grid.currentRow(), 5);
    QCOMPARE(grid.currentColumn(), 2);

    grid.setCurrentCell(1, 3);
    QCOMPARE(view.currentIndex(), grid.index(3, 1));

    // Keyboard moves are followed too.
    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(grid.currentRow(), 4);

    // After the whole content is replaced the view shows the grid's cell.
    grid.replaceAll(4, {{"a"}, {"b"}, {"c"}});
    QCOMPARE(view.currentIndex().row(), grid.currentRow());
}

void TestStringGridView::editInPlace()
{
    StringGrid grid(4, 5);
    StringGridView view(&grid);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    view.setCurrentIndex(grid.index(2, 0));
    // Typing starts the editor with the first key.
    QTest::keyClick(&view, 'R');
    QLineEdit *editor = view.findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "ent");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(grid.cell(0, 2), QString("Rent"));

    // A long loaded cell is edited whole, not cut to a line editor's limit.
    const QString huge(50000, QLatin1Char('z'));
    grid.setCell(1, 2, huge);
    view.setCurrentIndex(grid.index(2, 1));
    QTest::keyClick(&view, Qt::Key_F2);
    editor = view.findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, "!");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(grid.cell(1, 2), huge + QStringLiteral("!"));
}

void TestStringGridView::headingRowNotEditableWhileFixed()
{
    StringGrid grid(4, 5);
    grid.setRowCells(0, {"Item name", "Date", "Debit", "Credit"});
    grid.setFixedRows(1);
    StringGridView view(&grid);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.edit(grid.index(0, 0));
    QVERIFY(!view.findChild<QLineEdit *>());
    grid.setFixedRows(0);
    view.edit(grid.index(0, 0));
    QVERIFY(view.findChild<QLineEdit *>());
}

void TestStringGridView::customPainter()
{
    StringGrid grid(2, 2);
    StringGridView view(&grid);
    QList<QPoint> painted;
    view.setCellPainter([&painted](QPainter *, const QRect &, int row, int column) {
        painted.append(QPoint(column, row));
    });
    view.resize(300, 100);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.viewport()->grab();
    QVERIFY(painted.contains(QPoint(1, 1)));
    QVERIFY(painted.contains(QPoint(0, 0)));
}

QTEST_MAIN(TestStringGridView)
#include "tst_stringgridview.moc"
