// The detail tables: the list on a real widget (set-up numbers, row writes, the highlight under
// keys and clicks, long texts), and both tab pages as the main window uses them (template
// geometry, what SetGrainInfo writes, the colours that reach the screen, the photo frames before
// and after the holder is known, Esc).
#include "browser/CDemoContent.h"
#include "browser/CDetailTableRows.h"
#include "controls/CPhotoFrame.h"
#include "controls/CRvListCellDelegate.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(GRAIN_INFO_DATA)

namespace {

GRAIN_INFO_DATA Kirara()
{
    GRAIN_INFO_DATA info;
    CDemoContent::GetRecord(1, QStringLiteral("101"), &info);
    return info;
}

// A required brand whose every field is a text of its own, so that one shown in another
// heading's row shows up, bred at `place` in `year`.
GRAIN_INFO_DATA Distinct(const QString &place = QStringLiteral("place"), const QString &year = QString())
{
    return {0, 0, QString(), true, QStringLiteral("required"), QStringLiteral("history"), year, place,
            QStringLiteral("shape"), QStringLiteral("colour"), QStringLiteral("skin"), QStringLiteral("groove"),
            QStringLiteral("embryo"), QStringLiteral("23.0"), QStringLiteral("white part"), QStringLiteral("other")};
}

// A list whose client area is exactly `client`, set up as the characteristics or pedigree table.
std::unique_ptr<CRvListCtrl> MakeList(const QSize &client = QSize(310, 200), bool history = false)
{
    auto list = std::make_unique<CRvListCtrl>();
    const int frame = list->frameWidth();
    list->resize(client.width() + 2 * frame, client.height() + 2 * frame);
    if (history)
        list->SetUpDetailTable({Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter},
                               CDetailTableLayout::kHistoryHeadingRatio, 3, CDetailTableRows::HistoryHeadings(), {});
    else
        list->SetUpDetailTable({Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft},
                               CDetailTableLayout::kFeatureHeadingRatio, 8, CDetailTableRows::FeatureHeadings(), {});
    return list;
}

QStringList Column(const CRvListCtrl &list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts << list.item(row, column)->text();
    return texts;
}

QList<int> SelectedRows(const CRvListCtrl &list)
{
    QList<int> rows;
    for (const QModelIndex &index : list.selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

// The colour a cell shows on screen, read from a grab of the whole page near the cell's corner
// (away from the centred or left-aligned text and from the grid lines).
QColor CellColour(CDetailPage &page, int row, int column)
{
    CRvListCtrl &list = page.GetList();
    const QRect cell = list.visualRect(list.model()->index(row, column));
    return page.grab().toImage().pixelColor(list.viewport()->mapTo(&page, cell.topLeft() + QPoint(2, 2)));
}

// Stands in for the main window: records the keys that reach it.
class KeyHost : public QWidget
{
public:
    QList<int> m_keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { m_keys << event->key(); }
};

// A page hosted in a window of its own, shown, as the main window shows it on its tab.
struct Hosted {
    KeyHost host;
    std::unique_ptr<CDetailPage> page;
    explicit Hosted(bool history)
        : page(history ? std::unique_ptr<CDetailPage>(new CHistoryPage) : std::make_unique<CFeaturePage>())
    {
        page->Create(&host);
        host.resize(page->size());
        host.show();
    }
};

}  // namespace

class TestDetailPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listSetUp_data();
    void listSetUp();
    void rowWrites();
    void keysMoveOneHighlight();
    void clicksSetTheStartingRow();
    void neverScrolls();
    void longTextsWrapOrShorten();
    void templates_data();
    void templates();
    void shownRecords_data();
    void shownRecords();
    void framesWaitForAPicture();
    void escapeReachesTheMainWindow();
};

void TestDetailPages::listSetUp_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("history");
    QTest::addColumn<int>("heading");
    QTest::addColumn<int>("rowHeight");
    QTest::newRow("characteristics 310x200") << QSize(310, 200) << false << 90 << 24;
    QTest::newRow("pedigree 310x200") << QSize(310, 200) << true << 80 << 65;
    QTest::newRow("pedigree 310x76") << QSize(310, 76) << true << 80 << 24;
}

void TestDetailPages::listSetUp()
{
    QFETCH(QSize, client);
    QFETCH(bool, history);
    QFETCH(int, heading);
    QFETCH(int, rowHeight);
    const auto list = MakeList(client, history);
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));

    QCOMPARE(list->viewport()->size(), client);
    QCOMPARE(list->columnCount(), 3);
    QCOMPARE(list->columnWidth(0), 0);
    QCOMPARE(list->columnWidth(1), heading);
    QCOMPARE(list->columnWidth(2), client.width() - heading);
    // Headings centred; values centred on the pedigree page, left-aligned on the other.
    QCOMPARE(list->horizontalHeaderItem(1)->textAlignment(), Qt::AlignHCenter);
    QCOMPARE(list->horizontalHeaderItem(2)->textAlignment(), history ? Qt::AlignHCenter : Qt::AlignLeft);
    const int rows = history ? 4 : 9;
    QCOMPARE(list->rowCount(), rows);
    for (int row = 0; row < rows; ++row)
        QCOMPARE(list->rowHeight(row), rowHeight);
    // The blank row closes the table and is the row the keys start from.
    for (int column = 0; column < 3; ++column)
        QCOMPARE(Column(*list, column).last(), QStringLiteral(" "));
    QCOMPARE(list->GetCurRow(), rows - 1);
    QVERIFY(list->horizontalHeader()->isHidden());
    QVERIFY(list->verticalHeader()->isHidden());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(!list->verticalScrollBar()->isVisible());
}

void TestDetailPages::rowWrites()
{
    const auto list = MakeList();
    const QStringList before = Column(*list, 2);

    // A row that does not exist changes nothing, not even the row the keys start from.
    const CRvListCtrl::RowTexts texts = {QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("b")};
    QVERIFY(list->SetRowTexts(2, texts));
    QVERIFY(!list->SetRowTexts(9, texts));
    QVERIFY(!list->SetRowTexts(-1, texts));
    QCOMPARE(list->rowCount(), 9);
    QCOMPARE(Column(*list, 2).mid(3), before.mid(3));
    QCOMPARE(list->GetCurRow(), 2);

    QVERIFY(list->SetRowTexts(4, texts));
    QCOMPARE(Column(*list, 1).at(4), QStringLiteral("a"));
    QCOMPARE(Column(*list, 2).at(4), QStringLiteral("b"));
    QCOMPARE(list->GetCurRow(), 4);
    // The tooltip carries the whole text; blank cells have none.
    QCOMPARE(list->item(4, 2)->toolTip(), QStringLiteral("b"));
    QVERIFY(list->item(4, 0)->toolTip().isEmpty());
}

void TestDetailPages::keysMoveOneHighlight()
{
    const auto list = MakeList();
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));

    // After a refill of rows 0 to 7 the keys start from row 7.
    for (int row = 0; row < 8; ++row)
        list->SetRowTexts(row, {QStringLiteral(" "), QStringLiteral("h"), QStringLiteral("v")});
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

void TestDetailPages::clicksSetTheStartingRow()
{
    // Four rows of 65 pixels in a list made taller after its set-up leave empty space below.
    const auto list = MakeList(QSize(310, 200), true);
    list->resize(list->width(), 400);
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
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(150, 350));
    QCOMPARE(list->GetCurRow(), -1);
    QVERIFY(SelectedRows(*list).isEmpty());
    QTest::keyClick(list.get(), Qt::Key_Up);
    QVERIFY(SelectedRows(*list).isEmpty());
    QTest::keyClick(list.get(), Qt::Key_Down);
    QCOMPARE(SelectedRows(*list), QList<int>{0});
}

void TestDetailPages::neverScrolls()
{
    // The blank row of the characteristics table is only partly visible; writing, selecting and
    // the wheel must leave the first row at the top.
    const auto list = MakeList();
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    list->SetRowTexts(7, {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")});
    QTest::keyClick(list.get(), Qt::Key_Down);
    QTest::keyClick(list.get(), Qt::Key_End, Qt::ControlModifier);
    QWheelEvent wheel(QPointF(100, 100), list->viewport()->mapToGlobal(QPointF(100, 100)), QPoint(0, -120),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list->viewport(), &wheel);
    QCOMPARE(list->rowAt(1), 0);
    QCOMPARE(list->visualRect(list->model()->index(0, 1)).top(), 0);
}

void TestDetailPages::longTextsWrapOrShorten()
{
    const QString text = QString::fromUtf8("心白、腹白、乳白、背白、基部未熟の発現程度");
    for (const int clientHeight : {200, 258, 700}) {
        const auto list = MakeList(QSize(620, clientHeight));
        list->setFont(QFont(QStringLiteral("IPAPGothic"), 11));
        list->SetRowTexts(6, {QStringLiteral(" "), text, QStringLiteral(" ")});
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
            QVERIFY(lines.first().endsWith(QChar(0x2026)));
        } else {
            // Rows of 31 pixels (the program's own) take it on two lines one em apart; rows of 87
            // pixels on two or more full lines.
            QVERIFY(lines.size() >= 2);
            QCOMPARE(lines.join(QString()), text);
        }
        QCOMPARE(list->item(6, 1)->toolTip(), text);
    }
}

using Frames = QMap<int, QRect>;

void TestDetailPages::templates_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<int>("listId");
    QTest::addColumn<QRect>("listRect");
    QTest::addColumn<Frames>("frames");
    QTest::newRow("特性") << false << int(CFeaturePage::kList) << QRect(7, 110, 311, 130)
                          << Frames{{CFeaturePage::kFrameFirst, QRect(7, 7, 85, 87)},
                                    {CFeaturePage::kFrameSecond, QRect(104, 7, 85, 87)}};
    QTest::newRow("来歴") << true << int(CHistoryPage::kList) << QRect(7, 7, 311, 54)
                          << Frames{{CHistoryPage::kFrame, QRect(7, 74, 311, 179)}};
}

void TestDetailPages::templates()
{
    QFETCH(bool, history);
    QFETCH(int, listId);
    QFETCH(QRect, listRect);
    QFETCH(Frames, frames);
    Hosted hosted(history);
    CDetailPage &page = *hosted.page;
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));

    // The characteristics frames are made square of the first frame's width, or its height where
    // the dialog units make that the smaller; the pedigree frame keeps its template shape.
    const QRect first = page.MapDialogRect(frames.first());
    const int side = std::min(first.width(), first.height());
    for (auto frame = frames.cbegin(); frame != frames.cend(); ++frame) {
        QWidget *control = page.GetDlgItem(frame.key());
        QVERIFY(control);
        const QRect placed = page.MapDialogRect(frame.value());
        QCOMPARE(control->geometry(), history ? placed : QRect(placed.topLeft(), QSize(side, side)));
    }

    // Eight rows share the characteristics table's height, three the pedigree table's; each
    // table has a blank row after them.
    const double ratio = history ? CDetailTableLayout::kHistoryHeadingRatio : CDetailTableLayout::kFeatureHeadingRatio;
    const int heightRows = history ? 3 : 8;
    CRvListCtrl &list = page.GetList();
    QCOMPARE(page.GetDlgItem(listId), &list);
    QCOMPARE(list.geometry(), page.MapDialogRect(listRect));
    const QSize client = list.viewport()->size();
    QCOMPARE(list.columnWidth(1), CDetailTableLayout::ColumnWidths(client.width(), ratio)[1]);
    QCOMPARE(list.rowCount(), heightRows + 1);
    QCOMPARE(list.rowHeight(heightRows), CDetailTableLayout::RowHeight(client.height(), heightRows));
}

void TestDetailPages::shownRecords_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<QList<GRAIN_INFO_DATA>>("shown");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QColor>("requiredCell");
    const QString blank(QLatin1Char(' '));
    const QColor white(255, 255, 255), yellow(255, 250, 205), pink(255, 240, 245);
    const GRAIN_INFO_DATA kirara = Kirara();
    GRAIN_INFO_DATA optional = kirara;
    optional.bRequired = false;
    optional.strRequired = QString::fromUtf8("選択");
    using Shown = QList<GRAIN_INFO_DATA>;
    // Headings: 粒形, 色沢, 皮の厚薄, 縦溝の深浅, 胚の大小及び胚の形, 千粒重, 心白…, その他.
    QTest::newRow("特性")
        << false << Shown{kirara, Distinct()}
        << QStringList{QStringLiteral("shape"),      QStringLiteral("colour"), QStringLiteral("skin"),
                       QStringLiteral("groove"),     QStringLiteral("embryo"), QStringLiteral("23.0g"),
                       QStringLiteral("white part"), QStringLiteral("other"),  blank}
        << white;
    // A cleared record empties the values and keeps the headings; no lone "g".
    QTest::newRow("特性, cleared") << false << Shown{kirara, GRAIN_INFO_DATA()} << (QStringList(8, QString()) << blank)
                                   << white;
    // Before anything is shown the page holds an empty record: an optional brand.
    QTest::newRow("来歴, nothing shown") << true << Shown{} << QStringList(4, blank) << pink;
    const auto pedigree = [&](const QString &breeding) {
        return QStringList{QStringLiteral("required"), QStringLiteral("history"), breeding, blank};
    };
    QTest::newRow("来歴, place and year")
        << true << Shown{kirara, Distinct(QStringLiteral("place"), QStringLiteral("1988"))}
        << pedigree(QStringLiteral("place (1988)")) << yellow;
    QTest::newRow("来歴, no year") << true << Shown{Distinct()} << pedigree(QStringLiteral("place")) << yellow;
    QTest::newRow("来歴, year without place")
        << true << Shown{Distinct(QString(), QStringLiteral("1988"))} << pedigree(QStringLiteral(" (1988)")) << yellow;
    QTest::newRow("来歴, percent signs stay") << true << Shown{Distinct(QStringLiteral("%2"), QStringLiteral("%1"))}
                                              << pedigree(QStringLiteral("%2 (%1)")) << yellow;
    QTest::newRow("来歴, optional") << true << Shown{kirara, optional}
                                    << QStringList{optional.strRequired, optional.strHistory, optional.strBreedingPlace,
                                                   blank}
                                    << pink;
    QTest::newRow("来歴, cleared") << true << Shown{kirara, GRAIN_INFO_DATA()} << (QStringList(3, QString()) << blank)
                                   << pink;
}

void TestDetailPages::shownRecords()
{
    QFETCH(bool, history);
    QFETCH(QList<GRAIN_INFO_DATA>, shown);
    QFETCH(QStringList, values);
    QFETCH(QColor, requiredCell);
    Hosted hosted(history);
    CDetailPage &page = *hosted.page;
    CRvListCtrl &list = page.GetList();
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));
    for (const GRAIN_INFO_DATA &info : shown)
        page.SetGrainInfo(info);

    QStringList headings = history ? CDetailTableRows::HistoryHeadings() : CDetailTableRows::FeatureHeadings();
    headings << QStringLiteral(" ");
    QCOMPARE(Column(list, 0), QStringList(headings.size(), QStringLiteral(" ")));
    QCOMPARE(Column(list, 1), headings);
    QCOMPARE(Column(list, 2), values);
    QCOMPARE(list.item(0, 2)->toolTip(), values.front().trimmed());

    // The row-0 value cell follows the required flag on the pedigree page; every other value cell
    // is white and every heading cell light blue, the blank row's too.
    QCOMPARE(CellColour(page, 0, 2), requiredCell);
    for (int row = 0; row < list.rowCount(); ++row) {
        QCOMPARE(CellColour(page, row, 1), QColor(240, 248, 255));
        if (row > 0)
            QCOMPARE(CellColour(page, row, 2), QColor(255, 255, 255));
    }
}

void TestDetailPages::framesWaitForAPicture()
{
    // Inside each frame: the page's own backdrop until the frame is given something (only the
    // template's black frame), the light-grey empty frame once it is told its slot is empty.
    Hosted feature(false);
    Hosted history(true);
    QVERIFY(QTest::qWaitForWindowExposed(&history.host));
    const struct {
        CDetailPage *page;
        int id;
    } frames[] = {{feature.page.get(), CFeaturePage::kFrameFirst},
                  {feature.page.get(), CFeaturePage::kFrameSecond},
                  {history.page.get(), CHistoryPage::kFrame}};
    for (const auto &frame : frames) {
        auto *control = qobject_cast<CPhotoFrame *>(frame.page->GetDlgItem(frame.id));
        QVERIFY(control);
        QPalette palette = frame.page->palette();
        palette.setColor(QPalette::Window, Qt::darkCyan);
        frame.page->setPalette(palette);
        QCOMPARE(frame.page->grab().toImage().pixelColor(control->geometry().center()), QColor(Qt::darkCyan));
        control->ShowPicture(QImage());
        QCOMPARE(frame.page->grab().toImage().pixelColor(control->geometry().center()), QColor(240, 240, 240));
    }
}

void TestDetailPages::escapeReachesTheMainWindow()
{
    for (const bool history : {false, true}) {
        Hosted hosted(history);
        QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));
        QTest::keyClick(&hosted.page->GetList(), Qt::Key_Escape);
        QVERIFY(hosted.page->isVisible());
        QCOMPARE(hosted.host.m_keys, QList<int>{Qt::Key_Escape});
    }
}

QTEST_MAIN(TestDetailPages)
#include "test_detail_pages.moc"
