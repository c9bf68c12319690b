// Where the photograph block goes when the main window is resized.

#include "browser/CMainLayout.h"

#include <QtTest>

namespace {
// A block as the window has it at 1431 × 766: frame 600 × 600 at (762, 132), 22-pixel scroll bars.
CMainLayout::Block OpeningBlock()
{
    CMainLayout::Block b;
    b.exitButton = QRect(1305, 14, 110, 40);
    b.frame = QRect(762, 132, 600, 600);
    b.vertBar = QRect(1363, 132, 22, 600);
    b.horzBar = QRect(762, 733, 600, 22);
    b.trackbar = QRect(1136, 88, 261, 30);
    b.zoomEdit = QRect(1073, 88, 60, 24);
    return b;
}
}  // namespace

class TestMainLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arranges_data();
    void arranges();
    void overflowIsDetected();
};

void TestMainLayout::arranges_data()
{
    QTest::addColumn<int>("cx");
    QTest::addColumn<int>("cy");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("exitLeft");
    QTest::addColumn<int>("trackbarLeft");
    QTest::addColumn<int>("editLeft");

    // side = min(cx - 762 - 22 - 12, cy - 132 - 22 - 12); trackbar right = frame right;
    // edit = trackbar left - 60 - 20; exit = cx - 110 - 12.
    QTest::newRow("opening size, height limits") << 1431 << 766 << 600 << 1309 << 1101 << 1021;
    QTest::newRow("wider only: frame stays, exit follows the window") << 1800 << 766 << 600 << 1678 << 1101 << 1021;
    QTest::newRow("both grow, height limits") << 1800 << 1000 << 834 << 1678 << 1335 << 1255;
    QTest::newRow("both grow, width limits") << 1300 << 1000 << 504 << 1178 << 1005 << 925;
    QTest::newRow("no room at all") << 700 << 100 << 0 << 578 << 501 << 421;
}

void TestMainLayout::arranges()
{
    QFETCH(int, cx);
    QFETCH(int, cy);
    QFETCH(int, side);
    QFETCH(int, exitLeft);
    QFETCH(int, trackbarLeft);
    QFETCH(int, editLeft);

    const CMainLayout::Block before = OpeningBlock();
    const CMainLayout::Block after = CMainLayout::Arrange(before, cx, cy);

    QCOMPARE(after.frame, QRect(762, 132, side, side));
    QCOMPARE(after.vertBar, QRect(762 + side + 1, 132, 22, side));
    QCOMPARE(after.horzBar, QRect(762, 132 + side + 1, side, 22));
    QCOMPARE(after.exitButton, QRect(exitLeft, 14, 110, 40));
    QCOMPARE(after.trackbar, QRect(trackbarLeft, 88, 261, 30));
    QCOMPARE(after.zoomEdit, QRect(editLeft, 88, 60, 24));
}

void TestMainLayout::overflowIsDetected()
{
    CMainLayout::Block block = OpeningBlock();
    QVERIFY(!CMainLayout::Overflows(block, 1431, 766));
    QVERIFY(CMainLayout::Overflows(block, 1431, 754));  // the horizontal bar's last row is 754
    block.frame.setHeight(630);                         // squared from a 630-pixel width
    block.horzBar.moveTop(763);
    QVERIFY(CMainLayout::Overflows(block, 1431, 766));
}

QTEST_APPLESS_MAIN(TestMainLayout)
#include "test_main_layout.moc"
