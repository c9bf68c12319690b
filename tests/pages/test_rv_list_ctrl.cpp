// The detail list on a real widget: set-up numbers, row writes, and the highlight under keys and
// clicks.
#include "browser/CDetailTableRows.h"
#include "controls/CRvListCellDelegate.h"
#include "controls/CRvListCtrl.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

const CRvListCtrl::ColumnFormats kFeatureFormats = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft};
const CRvListCtrl::ColumnFormats kHistoryFormats = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter};

// A list whose client area is exactly `client`, set up as a detail table with `headings`.
std::unique_ptr<CRvListCtrl> MakeList(const QSize &client, const CRvListCtrl::ColumnFormats &formats, double ratio,
                                      int heightRows, const QStringList &headings)
{
    auto list = std::make_unique<CRvListCtrl>();
    const int frame = list->frameWidth();
    list->resize(client.width() + 2 * frame, client.height() + 2 * frame);
    list->SetUpDetailTable(formats, ratio, heightRows, headings, {});
    return list;
}

std::unique_ptr<CRvListCtrl> MakeFeatureList(const QSize &client = QSize(310, 200))
{
    return MakeList(client, kFeatureFormats, CDetailTableLayout::kFeatureHeadingRatio, 8,
                    CDetailTableRows::FeatureHeadings());
}

QList<int> SelectedRows(const CRvListCtrl &list)
{
    QList<int> rows;
    for (const QModelIndex &index : list.selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

QStringList RowTexts(const CRvListCtrl &list, int row)
{
    QStringList texts;
    for (int column = 0; column < list.columnCount(); ++column)
        texts << list.item(row, column)->text();
    return texts;
}

}  // namespace

class TestRvListCtrl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setUpNumbers_data();
    void setUpNumbers();
    void rowWrites();
    void keysMoveOneHighlight();
    void clicksSetTheStartingRow();
    void neverScrolls();
    void longTextsWrapOrShorten();
};

void TestRvListCtrl::setUpNumbers_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("history");
    QTest::addColumn<int>("heading");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("valueAlignment");
    const int left = Qt::AlignLeft, centre = Qt::AlignHCenter;
    QTest::newRow("characteristics 310x200") << QSize(310, 200) << false << 90 << 24 << 9 << left;
    QTest::newRow("pedigree 310x200") << QSize(310, 200) << true << 80 << 65 << 4 << centre;
    QTest::newRow("pedigree 310x76") << QSize(310, 76) << true << 80 << 24 << 4 << centre;
}

void TestRvListCtrl::setUpNumbers()
{
    QFETCH(QSize, client);
    QFETCH(bool, history);
    QFETCH(int, heading);
    QFETCH(int, rowHeight);
    QFETCH(int, rows);
    QFETCH(int, valueAlignment);
    const auto list = history ? MakeList(client, kHistoryFormats, CDetailTableLayout::kHistoryHeadingRatio, 3,
                                         CDetailTableRows::HistoryHeadings())
                              : MakeFeatureList(client);
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));

    QCOMPARE(list->viewport()->size(), client);
    QCOMPARE(list->columnCount(), 3);
    QCOMPARE(list->columnWidth(0), 0);
    QCOMPARE(list->columnWidth(1), heading);
    QCOMPARE(list->columnWidth(2), client.width() - heading);
    QCOMPARE(list->horizontalHeaderItem(1)->textAlignment(), Qt::AlignHCenter);
    QCOMPARE(list->horizontalHeaderItem(2)->textAlignment(), Qt::Alignment(valueAlignment));
    QCOMPARE(list->rowCount(), rows);
    for (int row = 0; row < rows; ++row)
        QCOMPARE(list->rowHeight(row), rowHeight);
    // The blank row closes the table and is the row the keys start from.
    QCOMPARE(RowTexts(*list, rows - 1), QStringList(3, QStringLiteral(" ")));
    QCOMPARE(list->GetCurRow(), rows - 1);
    QVERIFY(list->horizontalHeader()->isHidden());
    QVERIFY(list->verticalHeader()->isHidden());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(!list->verticalScrollBar()->isVisible());
}

void TestRvListCtrl::rowWrites()
{
    const auto list = MakeFeatureList();
    const QStringList before = RowTexts(*list, 8);

    // A row that does not exist changes nothing, not even the row the keys start from.
    const CRvListCtrl::RowTexts texts = {QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("b")};
    QVERIFY(list->SetRowTexts(2, texts));
    QVERIFY(!list->SetRowTexts(9, texts));
    QVERIFY(!list->SetRowTexts(-1, texts));
    QCOMPARE(list->rowCount(), 9);
    QCOMPARE(RowTexts(*list, 8), before);
    QCOMPARE(list->GetCurRow(), 2);

    QVERIFY(list->SetRowTexts(4, texts));
    QCOMPARE(RowTexts(*list, 4), (QStringList{QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(list->GetCurRow(), 4);
    // The tooltip carries the whole text; blank cells have none.
    QCOMPARE(list->item(4, 2)->toolTip(), QStringLiteral("b"));
    QVERIFY(list->item(4, 0)->toolTip().isEmpty());
}

void TestRvListCtrl::keysMoveOneHighlight()
{
    const auto list = MakeFeatureList();
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));

    // After a refill of rows 0 to 7 the keys start from row 7.
    const CRvListCtrl::RowTexts texts = {QStringLiteral(" "), QStringLiteral("h"), QStringLiteral("v")};
    for (int row = 0; row < 8; ++row)
        list->SetRowTexts(row, texts);
    QTest::keyClick(list.get(), Qt::Key_Up);
    QCOMPARE(SelectedRows(*list), QList<int>{6});
    QTest::keyClick(list.get(), Qt::Key_Down);
    QTest::keyClick(list.get(), Qt::Key_Down);
    QCOMPARE(SelectedRows(*list), QList<int>{8});

    // The last row goes no further; neither does row 0 upwards.
    QTest::keyClick(list.get(), Qt::Key_Down);
    QCOMPARE(SelectedRows(*list), QList<int>{8});
    QCOMPARE(list->GetCurRow(), 8);
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(list.get(), Qt::Key_Up);
    QCOMPARE(SelectedRows(*list), QList<int>{0});
    QCOMPARE(list->GetCurRow(), 0);

    // A key the table handles itself moves the starting row with its highlight.
    QTest::keyClick(list.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(SelectedRows(*list), QList<int>{8});
    QTest::keyClick(list.get(), Qt::Key_Up);
    QCOMPARE(SelectedRows(*list), QList<int>{7});
}

void TestRvListCtrl::clicksSetTheStartingRow()
{
    // Three headings in rows of 24 (a client of 200 shared by eight) leave empty space below.
    const auto list = MakeList(QSize(310, 200), kFeatureFormats, CDetailTableLayout::kFeatureHeadingRatio, 8,
                               CDetailTableRows::HistoryHeadings());
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    QWidget *viewport = list->viewport();
    const auto rowCentre = [&](int row) { return list->visualRect(list->model()->index(row, 2)).center(); };

    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(1));
    QCOMPARE(list->GetCurRow(), 1);
    QCOMPARE(SelectedRows(*list), QList<int>{1});
    QTest::keyClick(list.get(), Qt::Key_Down);
    QCOMPARE(SelectedRows(*list), QList<int>{2});

    QTest::mouseClick(viewport, Qt::RightButton, {}, rowCentre(3));
    QCOMPARE(list->GetCurRow(), 3);
    QTest::keyClick(list.get(), Qt::Key_Up);
    QCOMPARE(SelectedRows(*list), QList<int>{2});

    // Empty space forgets the row and its highlight; Down then starts at the top.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(150, 180));
    QCOMPARE(list->GetCurRow(), -1);
    QVERIFY(SelectedRows(*list).isEmpty());
    QTest::keyClick(list.get(), Qt::Key_Up);
    QVERIFY(SelectedRows(*list).isEmpty());
    QTest::keyClick(list.get(), Qt::Key_Down);
    QCOMPARE(SelectedRows(*list), QList<int>{0});
}

void TestRvListCtrl::neverScrolls()
{
    // The blank row of the characteristics table is only partly visible; writing, selecting and
    // the wheel must leave the first row at the top.
    const auto list = MakeFeatureList();
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    const CRvListCtrl::RowTexts texts = {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")};
    list->SetRowTexts(7, texts);
    QTest::keyClick(list.get(), Qt::Key_Down);
    QTest::keyClick(list.get(), Qt::Key_End, Qt::ControlModifier);
    QWheelEvent wheel(QPointF(100, 100), list->viewport()->mapToGlobal(QPointF(100, 100)), QPoint(0, -120),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list->viewport(), &wheel);
    QCOMPARE(list->rowAt(1), 0);
    QCOMPARE(list->visualRect(list->model()->index(0, 1)).top(), 0);
}

void TestRvListCtrl::longTextsWrapOrShorten()
{
    const QString text = QString::fromUtf8("心白、腹白、乳白、背白、基部未熟の発現程度");
    const QChar ellipsis(0x2026);
    for (const int clientHeight : {200, 258, 700}) {
        const auto list = MakeFeatureList(QSize(620, clientHeight));
        list->setFont(QFont(QStringLiteral("IPAPGothic"), 11));
        const CRvListCtrl::RowTexts texts = {QStringLiteral(" "), text, QStringLiteral(" ")};
        list->SetRowTexts(6, texts);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));

        const QRect cell = list->visualRect(list->model()->index(6, 1));
        const CRvListCellDelegate::CellText cellText = CRvListCellDelegate::CellLines(text, list->font(), cell);
        const QStringList &lines = cellText.lines;
        const int block = cellText.lineHeight + static_cast<int>(lines.size() - 1) * cellText.lineSpacing;
        QVERIFY2(block <= cell.height(), "every line drawn is whole");
        if (clientHeight == 200) {
            // Rows of 24 pixels have room for one line: it ends in "…".
            QCOMPARE(lines.size(), 1);
            QVERIFY(lines.first().endsWith(ellipsis));
        } else {
            // Rows of 31 pixels (the program's own) take it on two lines one em apart; rows of 87
            // pixels on two or more full lines.
            QVERIFY(lines.size() >= 2);
            QCOMPARE(lines.join(QString()), text);
        }
        QCOMPARE(list->item(6, 1)->toolTip(), text);
    }
}

QTEST_MAIN(TestRvListCtrl)
#include "test_rv_list_ctrl.moc"
