// The detail table's numbers and texts, without any window.
#include "browser/CDetailTableLayout.h"

#include <QFontMetrics>
#include <QtTest>

using Layout = CDetailTableLayout;

class TestDetailTableLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnWidths_data();
    void columnWidths();
    void rowHeights_data();
    void rowHeights();
    void linesThatFit_data();
    void linesThatFit();
    void fitCellTextWrapsOrShortens();
};

void TestDetailTableLayout::columnWidths_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("heading");
    QTest::addColumn<int>("value");
    QTest::newRow("feature 310") << 310 << Layout::kFeatureHeadingRatio << 90 << 220;
    QTest::newRow("feature 311 truncates") << 311 << Layout::kFeatureHeadingRatio << 90 << 221;
    QTest::newRow("history 310") << 310 << Layout::kHistoryHeadingRatio << 80 << 230;
    QTest::newRow("empty client") << 0 << Layout::kFeatureHeadingRatio << 0 << 0;
    QTest::newRow("one pixel") << 1 << Layout::kHistoryHeadingRatio << 0 << 1;
}

void TestDetailTableLayout::columnWidths()
{
    QFETCH(int, clientWidth);
    QFETCH(double, ratio);
    QFETCH(int, heading);
    QFETCH(int, value);
    const auto widths = Layout::ColumnWidths(clientWidth, ratio);
    QCOMPARE(widths[0], 0);
    QCOMPARE(widths[1], heading);
    QCOMPARE(widths[2], value);
}

void TestDetailTableLayout::rowHeights_data()
{
    QTest::addColumn<int>("clientHeight");
    QTest::addColumn<int>("feature");
    QTest::addColumn<int>("history");
    QTest::newRow("200") << 200 << 24 << 65;
    QTest::newRow("76") << 76 << 9 << 24;
    QTest::newRow("spare pixels only") << 4 << 0 << 0;
    // Below the spare pixels the share is negative and truncates toward zero.
    QTest::newRow("0") << 0 << 0 << -1;
    QTest::newRow("12") << 12 << 1 << 2;
}

void TestDetailTableLayout::rowHeights()
{
    QFETCH(int, clientHeight);
    QFETCH(int, feature);
    QFETCH(int, history);
    QCOMPARE(Layout::RowHeight(clientHeight, 8), feature);
    QCOMPARE(Layout::RowHeight(clientHeight, 3), history);
}

void TestDetailTableLayout::linesThatFit_data()
{
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("lineSpacing");
    QTest::addColumn<int>("lines");
    QTest::newRow("a pixel short of two") << 31 << 16 << 16 << 1;
    QTest::newRow("two exactly") << 32 << 16 << 16 << 2;
    QTest::newRow("leading counts between lines") << 33 << 16 << 18 << 1;
    QTest::newRow("leading fits") << 34 << 16 << 18 << 2;
    QTest::newRow("lower than a line") << 15 << 16 << 16 << 0;
    QTest::newRow("no font height") << 30 << 0 << 0 << 0;
}

void TestDetailTableLayout::linesThatFit()
{
    QFETCH(int, cellHeight);
    QFETCH(int, lineHeight);
    QFETCH(int, lineSpacing);
    QFETCH(int, lines);
    QCOMPARE(Layout::LinesThatFit(cellHeight, lineHeight, lineSpacing), lines);
}

void TestDetailTableLayout::fitCellTextWrapsOrShortens()
{
    const QFont font = [] {
        QFont f;
        f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
        f.setPixelSize(15);
        return f;
    }();
    const QFontMetrics metrics(font);
    const QString text =
        QString::fromUtf8("粒形はやや細長で、粒大は中、基部がやや細く、背部・腹部はなだらかに丸みがある。");
    const int full = metrics.horizontalAdvance(text);
    const QChar ellipsis(0x2026);

    // Fits on one line: unchanged.
    QCOMPARE(Layout::FitCellText(text, font, full + 2, 2), QStringList{text});

    // Needs two lines and has them: every character kept, no line wider than the cell, no "…".
    const int width = full * 2 / 3;
    const QStringList two = Layout::FitCellText(text, font, width, 2);
    QCOMPARE(two.size(), 2);
    QCOMPARE(two.join(QString()), text);
    for (const QString &line : two)
        QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));

    // Room for one line only: the line ends in "…" and stays inside the cell.
    const QStringList one = Layout::FitCellText(text, font, width, 1);
    QCOMPARE(one.size(), 1);
    QVERIFY(one.first().endsWith(ellipsis));
    QVERIFY(metrics.horizontalAdvance(one.first()) <= width);
    QVERIFY(text.startsWith(one.first().chopped(1)));

    // Needs three lines but has two: the second line carries the "…".
    const QStringList shortened = Layout::FitCellText(text, font, full / 3, 2);
    QCOMPARE(shortened.size(), 2);
    QVERIFY(!shortened.first().endsWith(ellipsis));
    QVERIFY(shortened.last().endsWith(ellipsis));
    QVERIFY(text.startsWith(shortened.first()));

    // No room at all draws nothing rather than a clipped line.
    QVERIFY(Layout::FitCellText(text, font, width, 0).isEmpty());
    QVERIFY(Layout::FitCellText(text, font, 0, 2).isEmpty());
    QVERIFY(Layout::FitCellText(QString(), font, width, 2).isEmpty());
}

QTEST_MAIN(TestDetailTableLayout)
#include "test_detail_table_layout.moc"
