// Both tab pages as the main window uses them: template geometry, what SetGrainInfo writes, the
// colours that reach the screen, and the photo frames before and after the holder is known.
#include "browser/CDetailTableRows.h"
#include "controls/CPhotoFrame.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"
#include "viewer/CPictureImage.h"

#include "settings/CRvFileAccess.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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

QStringList Column(CRvListCtrl &list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts << list.item(row, column)->text();
    return texts;
}

// The colour a cell shows on screen, read from a grab of the whole page near the cell's corner
// (away from the centred or left-aligned text and from the grid lines).
QColor CellColour(CRvDialog &page, CRvListCtrl &list, int row, int column)
{
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

// The page hosted in a window of its own, shown, as the main window shows it on its tab.
template <typename Page>
struct Hosted {
    KeyHost host;
    Page page;
    Hosted()
    {
        page.Create(&host);
        host.resize(page.size());
        host.show();
    }
};

}  // namespace

class TestDetailPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void featureTemplate();
    void featureTexts();
    void featureColours();
    void historyTemplate();
    void historyTexts();
    void historyRequiredColour();
    void framesWaitForTheHolder();
    void escapeReachesTheMainWindow();
};

void TestDetailPages::featureTemplate()
{
    Hosted<CFeaturePage> hosted;
    CFeaturePage &page = hosted.page;
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));

    QWidget *first = page.GetDlgItem(CFeaturePage::kFrameFirst);
    QWidget *second = page.GetDlgItem(CFeaturePage::kFrameSecond);
    QVERIFY(first && second);
    const QRect templateFirst = page.MapDialogRect(QRect(7, 7, 85, 87));
    QCOMPARE(first->pos(), templateFirst.topLeft());
    QCOMPARE(second->pos(), page.MapDialogRect(QRect(104, 7, 85, 87)).topLeft());
    QCOMPARE(first->width(), first->height());
    QCOMPARE(second->size(), first->size());
    QCOMPARE(first->width(), std::min(templateFirst.width(), templateFirst.height()));

    CRvListCtrl &list = page.GetList();
    QCOMPARE(page.GetDlgItem(CFeaturePage::kList), &list);
    QCOMPARE(list.geometry(), page.MapDialogRect(QRect(7, 110, 311, 130)));
    const QSize client = list.viewport()->size();
    QCOMPARE(list.columnWidth(0) + list.columnWidth(1) + list.columnWidth(2), client.width());
    QCOMPARE(list.columnWidth(1),
             CDetailTableLayout::ColumnWidths(client.width(), CDetailTableLayout::kFeatureHeadingRatio)[1]);
    QCOMPARE(list.rowHeight(0), CDetailTableLayout::RowHeight(client.height(), 8));
}

void TestDetailPages::featureTexts()
{
    Hosted<CFeaturePage> hosted;
    CRvListCtrl &list = hosted.page.GetList();
    QStringList headings = CDetailTableRows::FeatureHeadings();
    headings << QStringLiteral(" ");
    QCOMPARE(Column(list, 1), headings);

    // Every field a text of its own, so that one shown in another heading's row shows up.
    GRAIN_INFO_DATA info;
    info.Clear();
    info.strGrainShape = QStringLiteral("shape");
    info.strColor = QStringLiteral("colour");
    info.strSkin = QStringLiteral("skin");
    info.strGroove = QStringLiteral("groove");
    info.strEmbryo = QStringLiteral("embryo");
    info.strThousandWeight = QStringLiteral("23.0");
    info.strWhitePart = QStringLiteral("white part");
    info.strOther = QStringLiteral("other");
    info.strHistory = QStringLiteral("history");
    info.strBreedingPlace = QStringLiteral("place");
    QVERIFY(hosted.page.SetGrainInfo(info));
    // Headings: 粒形, 色沢, 皮の厚薄, 縦溝の深浅, 胚の大小及び胚の形, 千粒重, 心白…, その他.
    QCOMPARE(Column(list, 2),
             (QStringList{QStringLiteral("shape"), QStringLiteral("colour"), QStringLiteral("skin"),
                          QStringLiteral("groove"), QStringLiteral("embryo"), QStringLiteral("23.0g"),
                          QStringLiteral("white part"), QStringLiteral("other"), QStringLiteral(" ")}));
    QCOMPARE(Column(list, 0), QStringList(9, QStringLiteral(" ")));
    QCOMPARE(list.item(0, 2)->toolTip(), QStringLiteral("shape"));

    // A cleared record empties the values and keeps the headings; no lone "g".
    GRAIN_INFO_DATA empty;
    empty.Clear();
    hosted.page.SetGrainInfo(empty);
    QCOMPARE(Column(list, 1), headings);
    QStringList cleared(8, QString());
    cleared << QStringLiteral(" ");
    QCOMPARE(Column(list, 2), cleared);
}

void TestDetailPages::featureColours()
{
    Hosted<CFeaturePage> hosted;
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));
    hosted.page.SetGrainInfo(Kirara());
    CRvListCtrl &list = hosted.page.GetList();
    const QImage shot = hosted.page.grab().toImage();
    for (int row = 0; row < 9; ++row) {
        const QRect heading = list.visualRect(list.model()->index(row, 1));
        const QRect value = list.visualRect(list.model()->index(row, 2));
        const QPoint headingAt = list.viewport()->mapTo(&hosted.page, heading.topLeft() + QPoint(2, 2));
        const QPoint valueAt = list.viewport()->mapTo(&hosted.page, value.topLeft() + QPoint(2, 2));
        QCOMPARE(shot.pixelColor(headingAt), QColor(240, 248, 255));
        QCOMPARE(shot.pixelColor(valueAt), QColor(255, 255, 255));
    }
}

void TestDetailPages::historyTemplate()
{
    Hosted<CHistoryPage> hosted;
    CHistoryPage &page = hosted.page;
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));

    CRvListCtrl &list = page.GetList();
    QCOMPARE(page.GetDlgItem(CHistoryPage::kList), &list);
    QCOMPARE(list.geometry(), page.MapDialogRect(QRect(7, 7, 311, 54)));
    // The pedigree frame keeps its template shape.
    QCOMPARE(page.GetDlgItem(CHistoryPage::kFrame)->geometry(), page.MapDialogRect(QRect(7, 74, 311, 179)));
    const QSize client = list.viewport()->size();
    QCOMPARE(list.rowCount(), 4);
    QCOMPARE(list.rowHeight(3), CDetailTableLayout::RowHeight(client.height(), 3));
    QCOMPARE(list.columnWidth(1),
             CDetailTableLayout::ColumnWidths(client.width(), CDetailTableLayout::kHistoryHeadingRatio)[1]);
    QCOMPARE(list.columnWidth(0) + list.columnWidth(1) + list.columnWidth(2), client.width());
}

void TestDetailPages::historyTexts()
{
    Hosted<CHistoryPage> hosted;
    CRvListCtrl &list = hosted.page.GetList();
    GRAIN_INFO_DATA info = Kirara();
    QVERIFY(hosted.page.SetGrainInfo(info));
    QCOMPARE(Column(list, 1),
             (QStringList{QString::fromUtf8("必須・選択"), QString::fromUtf8("来歴"), QString::fromUtf8("育種"),
                          QStringLiteral(" ")}));
    QCOMPARE(Column(list, 2),
             (QStringList{QString::fromUtf8("必須"), info.strHistory, info.strBreedingPlace, QStringLiteral(" ")}));

    info.strBreedingYear = QStringLiteral("1988");
    hosted.page.SetGrainInfo(info);
    QCOMPARE(list.item(2, 2)->text(), info.strBreedingPlace + QStringLiteral(" (1988)"));
}

void TestDetailPages::historyRequiredColour()
{
    Hosted<CHistoryPage> hosted;
    CHistoryPage &page = hosted.page;
    CRvListCtrl &list = page.GetList();
    QVERIFY(QTest::qWaitForWindowExposed(&hosted.host));
    const QColor blue(240, 248, 255), white(255, 255, 255);
    const QColor yellow(255, 250, 205), pink(255, 240, 245);

    // Before anything is shown the page holds an empty record: an optional brand.
    QCOMPARE(CellColour(page, list, 0, 2), pink);

    GRAIN_INFO_DATA info = Kirara();
    page.SetGrainInfo(info);
    QCOMPARE(CellColour(page, list, 0, 2), yellow);
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(CellColour(page, list, row, 1), blue);
        if (row > 0)
            QCOMPARE(CellColour(page, list, row, 2), white);
    }

    info.bRequired = false;
    info.strRequired = QString::fromUtf8("選択");
    page.SetGrainInfo(info);
    QCOMPARE(CellColour(page, list, 0, 2), pink);

    page.SetGrainInfo(Kirara());
    GRAIN_INFO_DATA empty;
    empty.Clear();
    page.SetGrainInfo(empty);
    QCOMPARE(CellColour(page, list, 0, 2), pink);
    QCOMPARE(list.item(0, 2)->text(), QString());
}

void TestDetailPages::framesWaitForTheHolder()
{
    Hosted<CFeaturePage> feature;
    Hosted<CHistoryPage> history;
    QVERIFY(QTest::qWaitForWindowExposed(&history.host));
    const QColor emptyFrame(240, 240, 240);
    const QColor backdrop(Qt::darkCyan);

    struct Frame {
        CRvDialog *page;
        int id;
        int slot;
    };
    const Frame frames[] = {{&feature.page, CFeaturePage::kFrameFirst, 1},
                            {&feature.page, CFeaturePage::kFrameSecond, 2},
                            {&history.page, CHistoryPage::kFrame, 3}};
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
    feature.page.m_pPictureImage = &holder;
    history.page.m_pPictureImage = &holder;
    for (const Frame &frame : frames) {
        // The holder is known but the slot is empty: the light-grey empty frame.
        QCOMPARE(inside(frame), emptyFrame);
        QVERIFY(!holder.DrawImage(frame.slot, frame.page->GetDlgItem(frame.id), 0, 0, 0, 0));
    }
    feature.page.m_pPictureImage = nullptr;
    history.page.m_pPictureImage = nullptr;
}

void TestDetailPages::escapeReachesTheMainWindow()
{
    Hosted<CFeaturePage> feature;
    Hosted<CHistoryPage> history;
    QVERIFY(QTest::qWaitForWindowExposed(&history.host));
    QTest::keyClick(&feature.page.GetList(), Qt::Key_Escape);
    QTest::keyClick(&history.page.GetList(), Qt::Key_Escape);
    QVERIFY(feature.page.isVisible());
    QVERIFY(history.page.isVisible());
    QCOMPARE(feature.host.m_keys, QList<int>{Qt::Key_Escape});
    QCOMPARE(history.host.m_keys, QList<int>{Qt::Key_Escape});
}

QTEST_MAIN(TestDetailPages)
#include "test_detail_pages.moc"
