// Both tab pages as the main window uses them: template geometry, what SetGrainInfo writes, the
// colours that reach the screen, and the photo frames before and after the holder is known.
#include "browser/CDetailTableRows.h"
#include "controls/CPhotoFrame.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"
#include "viewer/CPictureImage.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(GRAIN_INFO_DATA)

namespace {

GRAIN_INFO_DATA Kirara()
{
    GRAIN_INFO_DATA info;
    info.Clear();
    info.nID = 1;
    info.strName = QString::fromUtf8("きらら397");
    info.bRequired = true;
    info.strRequired = QString::fromUtf8("必須");
    info.strHistory = QString::fromUtf8("しまひかり×キタアケ");
    info.strBreedingPlace = QString::fromUtf8("北海道立上川農試");
    info.strGrainShape =
        QString::fromUtf8("粒形はやや細長で、粒大は中、基部がやや細く、背部・腹部はなだらかに丸みがある。");
    info.strColor = QString::fromUtf8("淡飴色。");
    info.strSkin = QString::fromUtf8("皮部は薄く、透明感がある。");
    info.strGroove = QString::fromUtf8("縦溝は浅い。");
    info.strEmbryo = QString::fromUtf8("胚芽部は中程度で、えぐれは浅い。");
    info.strThousandWeight = QStringLiteral("23.0");
    info.strWhitePart = QString::fromUtf8("気象条件によって乳白、腹白が発生することがある。");
    return info;
}

// Every field a text of its own, so that one shown in another heading's row shows up.
GRAIN_INFO_DATA Distinct()
{
    return {0, 0, QString(), false, QStringLiteral("required"), QStringLiteral("history"), QStringLiteral("1988"),
            QStringLiteral("place"), QStringLiteral("shape"), QStringLiteral("colour"), QStringLiteral("skin"),
            QStringLiteral("groove"), QStringLiteral("embryo"), QStringLiteral("23.0"), QStringLiteral("white part"),
            QStringLiteral("other")};
}

QStringList Column(CRvListCtrl &list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts << list.item(row, column)->text();
    return texts;
}

// The colour a cell shows on screen, read from a grab of the whole page near the cell's corner
// (away from the centred or left-aligned text and from the grid lines).
QColor CellColour(CDetailPage &page, int row, int column)
{
    CRvListCtrl &list = page.GetList();
    const QRect cell = list.visualRect(list.model()->index(row, column));
    const QPoint at = list.viewport()->mapTo(&page, cell.topLeft() + QPoint(2, 2));
    return page.grab().toImage().pixelColor(at);
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
    void templates_data();
    void templates();
    void texts_data();
    void texts();
    void colours_data();
    void colours();
    void framesWaitForTheHolder();
    void escapeReachesTheMainWindow();
};

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
    const bool square = !history;
    const QRect first = page.MapDialogRect(frames.first());
    const int side = std::min(first.width(), first.height());
    for (auto frame = frames.cbegin(); frame != frames.cend(); ++frame) {
        QWidget *control = page.GetDlgItem(frame.key());
        QVERIFY(control);
        const QRect placed = page.MapDialogRect(frame.value());
        QCOMPARE(control->geometry(), square ? QRect(placed.topLeft(), QSize(side, side)) : placed);
    }

    // Eight rows share the characteristics table's height, three the pedigree table's; each
    // table has a blank row after them.
    const double ratio = history ? CDetailTableLayout::kHistoryHeadingRatio : CDetailTableLayout::kFeatureHeadingRatio;
    const int heightRows = history ? 3 : 8;
    CRvListCtrl &list = page.GetList();
    QCOMPARE(page.GetDlgItem(listId), &list);
    QCOMPARE(list.geometry(), page.MapDialogRect(listRect));
    const QSize client = list.viewport()->size();
    QCOMPARE(list.columnWidth(0) + list.columnWidth(1) + list.columnWidth(2), client.width());
    QCOMPARE(list.columnWidth(1), CDetailTableLayout::ColumnWidths(client.width(), ratio)[1]);
    QCOMPARE(list.rowCount(), heightRows + 1);
    QCOMPARE(list.rowHeight(heightRows), CDetailTableLayout::RowHeight(client.height(), heightRows));
}

void TestDetailPages::texts_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<GRAIN_INFO_DATA>("info");
    QTest::addColumn<QStringList>("values");
    const QString blank(QLatin1Char(' '));
    // Headings: 粒形, 色沢, 皮の厚薄, 縦溝の深浅, 胚の大小及び胚の形, 千粒重, 心白…, その他.
    QTest::newRow("特性") << false << Distinct()
                          << QStringList{
                                 QStringLiteral("shape"),      QStringLiteral("colour"), QStringLiteral("skin"),
                                 QStringLiteral("groove"),     QStringLiteral("embryo"), QStringLiteral("23.0g"),
                                 QStringLiteral("white part"), QStringLiteral("other"),  blank};
    // A cleared record empties the values and keeps the headings; no lone "g".
    QTest::newRow("特性, cleared") << false << GRAIN_INFO_DATA() << (QStringList(8, QString()) << blank);
    QTest::newRow("来歴") << true << Distinct()
                          << QStringList{QStringLiteral("required"), QStringLiteral("history"),
                                         QStringLiteral("place (1988)"), blank};
    QTest::newRow("来歴, no year") << true << Kirara()
                                   << QStringList{QString::fromUtf8("必須"), QString::fromUtf8("しまひかり×キタアケ"),
                                                  QString::fromUtf8("北海道立上川農試"), blank};
    QTest::newRow("来歴, cleared") << true << GRAIN_INFO_DATA() << (QStringList(3, QString()) << blank);
}

void TestDetailPages::texts()
{
    QFETCH(bool, history);
    QFETCH(GRAIN_INFO_DATA, info);
    QFETCH(QStringList, values);
    Hosted hosted(history);
    CRvListCtrl &list = hosted.page->GetList();
    QStringList headings = history ? CDetailTableRows::HistoryHeadings() : CDetailTableRows::FeatureHeadings();
    headings << QStringLiteral(" ");

    hosted.page->SetGrainInfo(Kirara());
    hosted.page->SetGrainInfo(info);
    QCOMPARE(Column(list, 0), QStringList(headings.size(), QStringLiteral(" ")));
    QCOMPARE(Column(list, 1), headings);
    QCOMPARE(Column(list, 2), values);
    QCOMPARE(list.item(0, 2)->toolTip(), values.front());
}

void TestDetailPages::colours_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<QList<GRAIN_INFO_DATA>>("shown");
    QTest::addColumn<QColor>("requiredCell");
    const QColor white(255, 255, 255), yellow(255, 250, 205), pink(255, 240, 245);
    GRAIN_INFO_DATA optional = Kirara();
    optional.bRequired = false;
    optional.strRequired = QString::fromUtf8("選択");
    QTest::newRow("特性") << false << QList<GRAIN_INFO_DATA>{Kirara()} << white;
    // Before anything is shown the page holds an empty record: an optional brand.
    QTest::newRow("来歴, nothing shown") << true << QList<GRAIN_INFO_DATA>{} << pink;
    QTest::newRow("来歴, required") << true << QList<GRAIN_INFO_DATA>{Kirara()} << yellow;
    QTest::newRow("来歴, optional") << true << QList<GRAIN_INFO_DATA>{Kirara(), optional} << pink;
    QTest::newRow("来歴, cleared") << true << QList<GRAIN_INFO_DATA>{Kirara(), GRAIN_INFO_DATA()} << pink;
}

void TestDetailPages::colours()
{
    QFETCH(bool, history);
    QFETCH(QList<GRAIN_INFO_DATA>, shown);
    QFETCH(QColor, requiredCell);
    Hosted hosted(history);
    CDetailPage &page = *hosted.page;
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));
    for (const GRAIN_INFO_DATA &info : shown)
        page.SetGrainInfo(info);

    // The row-0 value cell follows the required flag on the pedigree page; every other value cell
    // is white and every heading cell light blue, the blank row's too.
    QCOMPARE(CellColour(page, 0, 2), requiredCell);
    for (int row = 0; row < page.GetList().rowCount(); ++row) {
        QCOMPARE(CellColour(page, row, 1), QColor(240, 248, 255));
        if (row > 0)
            QCOMPARE(CellColour(page, row, 2), QColor(255, 255, 255));
    }
}

void TestDetailPages::framesWaitForTheHolder()
{
    Hosted feature(false);
    Hosted history(true);
    QVERIFY(QTest::qWaitForWindowExposed(&history.host));
    const QColor emptyFrame(240, 240, 240);
    const QColor backdrop(Qt::darkCyan);

    struct Frame {
        CDetailPage *page;
        int id;
        int slot;
    };
    const Frame frames[] = {{feature.page.get(), CFeaturePage::kFrameFirst, 1},
                            {feature.page.get(), CFeaturePage::kFrameSecond, 2},
                            {history.page.get(), CHistoryPage::kFrame, 3}};
    const auto inside = [](const Frame &frame) {
        QPalette palette = frame.page->palette();
        palette.setColor(QPalette::Window, Qt::darkCyan);
        frame.page->setPalette(palette);
        QWidget *control = frame.page->GetDlgItem(frame.id);
        return frame.page->grab().toImage().pixelColor(control->geometry().center());
    };

    for (const Frame &frame : frames) {
        auto *control = qobject_cast<CPhotoFrame *>(frame.page->GetDlgItem(frame.id));
        QVERIFY(control);
        QCOMPARE(control->GetSlot(), frame.slot);
        // No holder yet: only the template's black frame, nothing painted inside.
        QCOMPARE(inside(frame), backdrop);
    }

    CPictureImage holder;
    feature.page->m_pPictureImage = &holder;
    history.page->m_pPictureImage = &holder;
    for (const Frame &frame : frames) {
        // The holder is known but the slot is empty: the light-grey empty frame.
        QCOMPARE(inside(frame), emptyFrame);
        QVERIFY(!holder.DrawImage(frame.slot, frame.page->GetDlgItem(frame.id), 0, 0, 0, 0));
    }
    feature.page->m_pPictureImage = nullptr;
    history.page->m_pPictureImage = nullptr;
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
