#include "viewer/CZoomView.h"

#include <QtTest>

#include <clocale>
#include <string>

namespace {

// The frame sits away from the origin so that frame-relative and window coordinates differ.
constexpr int kFrameLeft = 100;
constexpr int kFrameTop = 50;

CZoomView MakeView(int frameWidth, int imageSize, bool loaded = true)
{
    CZoomView view;
    view.InitControls(QRect(kFrameLeft, kFrameTop, frameWidth, frameWidth));
    view.FitNewPhoto(loaded, loaded ? imageSize : 0);
    return view;
}

void Click(CZoomView &view, int zoomIns, int zoomOuts)
{
    for (int i = 0; i < zoomIns; ++i)
        view.ZoomIn();
    for (int i = 0; i < zoomOuts; ++i)
        view.ZoomOut();
}

// The photograph's point (x from the left, y from the top) drawn at `offset` inside the frame.
QPointF PhotoPointAt(const CZoomView &view, const QPoint &offset)
{
    const double w = view.GetFrameRect().width();
    if (view.GetSourceRect().width() <= 0)
        return QPointF(offset) * (view.GetImageSize() / w);
    const double v = view.GetVisibleSize();
    return QPointF(view.GetSrcX() + offset.x() * v / w, view.GetScrollY() + 1 + offset.y() * v / w);
}

// The bars show where the view is, so a later scroll continues from there.
void CheckBarsFollowView(const CZoomView &view)
{
    const CZoomView::Controls &controls = view.GetControls();
    QVERIFY(controls.bScrollEnabled);
    QCOMPARE(controls.nHorzPos, view.GetSrcX());
    QCOMPARE(controls.nVertPos, view.GetScrollY());
    QCOMPARE(view.GetSrcY(), view.GetMaxScrollPos() - view.GetScrollY());
    QCOMPARE(view.GetSourceRect().width(), view.GetVisibleSize());
}

}  // namespace

class TestZoomView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitsNewPhoto_data();
    void fitsNewPhoto();
    void percentRoundsAsTheCLibrary_data();
    void percentRoundsAsTheCLibrary();
    void percentShowsAPointInAnyLocale();
    void zoomButtons_data();
    void zoomButtons();
    void scrollCodes_data();
    void scrollCodes();
    void trackbar_data();
    void trackbar();
    void dragPans_data();
    void dragPans();
    void dragStartsAndEndsOnlyInsideFrame();
    void resizeKeepsOrDropsZoom_data();
    void resizeKeepsOrDropsZoom();
    void newBrandAfterZoomShowsWholePhoto();
    void withoutPhotoControlsStayEmpty();
    void clearViewKeepsScaleAndControls();
    void traceLineIsOffByDefaultAndFormatted();
    void zoomAtKeepsPointUnderPointer_data();
    void zoomAtKeepsPointUnderPointer();
    void fitAndActualSize_data();
    void fitAndActualSize();
};

void TestZoomView::fitsNewPhoto_data()
{
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("image");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<double>("fitScale");
    QTest::addColumn<int>("trackbar");
    QTest::addColumn<QString>("text");

    QTest::newRow("3840 photograph") << 560 << 3840 << true << 0.14583333333333334 << 145 << QStringLiteral("14.6%");
    QTest::newRow("2285 photograph") << 560 << 2285 << true << 0.24507658643326038 << 245 << QStringLiteral("24.5%");
    QTest::newRow("no photograph") << 560 << 0 << false << 0.14583333333333334 << 0 << QString();
    QTest::newRow("frame wider than photograph") << 560 << 400 << true << 1.4 << 1000 << QStringLiteral("140.0%");
}

void TestZoomView::fitsNewPhoto()
{
    QFETCH(int, frame);
    QFETCH(int, image);
    QFETCH(bool, loaded);
    QFETCH(double, fitScale);
    QFETCH(int, trackbar);
    QFETCH(QString, text);

    const CZoomView view = MakeView(frame, image, loaded);
    QCOMPARE(view.GetFitScale(), fitScale);
    QCOMPARE(view.GetScale(), fitScale);
    QCOMPARE(view.GetControls().nTrackbarPos, trackbar);
    QCOMPARE(view.GetControls().strZoom, text);
    QVERIFY(!view.GetControls().bScrollEnabled);
    QCOMPARE(view.GetSourceRect(), QRect(0, 0, 0, 0));
}

void TestZoomView::percentRoundsAsTheCLibrary_data()
{
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("trackbar");
    QTest::addColumn<QString>("text");

    // Ties exactly representable in binary go to the even digit: 31.25 down, 18.75 up. Rounding a
    // tie away from zero would give "31.3%".
    QTest::newRow("31.25") << 1200 << 3840 << 312 << QStringLiteral("31.2%");
    QTest::newRow("18.75") << 720 << 3840 << 187 << QStringLiteral("18.8%");
    QTest::newRow("6.25") << 240 << 3840 << 62 << QStringLiteral("6.2%");
    QTest::newRow("43.75") << 1680 << 3840 << 437 << QStringLiteral("43.8%");
    // Not a tie: 2285 gives 24.507658…
    QTest::newRow("24.507") << 560 << 2285 << 245 << QStringLiteral("24.5%");
}

void TestZoomView::percentRoundsAsTheCLibrary()
{
    QFETCH(int, frame);
    QFETCH(int, image);
    QFETCH(int, trackbar);
    QFETCH(QString, text);
    const CZoomView view = MakeView(frame, image);
    QCOMPARE(view.GetControls().strZoom, text);
    QCOMPARE(view.GetControls().nTrackbarPos, trackbar);
}

void TestZoomView::percentShowsAPointInAnyLocale()
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    // scripts/install-deps makes the German locale.
    QVERIFY2(std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr, "the locale de_DE.UTF-8 is missing");
    const QString text = CZoomView::FormatPercent(31.25);
    std::setlocale(LC_NUMERIC, before.c_str());
    QCOMPARE(text, QStringLiteral("31.2%"));
}

void TestZoomView::zoomButtons_data()
{
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("zoomIns");
    QTest::addColumn<int>("zoomOuts");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("zoomed");
    QTest::addColumn<int>("visible");   // V, and the source square's size when zoomed
    QTest::addColumn<int>("maxPos");    // M
    QTest::addColumn<int>("lineStep");  // L
    QTest::addColumn<int>("srcX");
    QTest::addColumn<int>("scrollY");
    QTest::addColumn<int>("srcY");
    QTest::addColumn<int>("trackbar");
    QTest::addColumn<QString>("text");

    QTest::newRow("3840: one 拡大") << 3840 << 1 << 0 << 0.24583333333333335 << true << 2277 << 1562 << 81 << 782 << 782
                                    << 780 << 245 << QStringLiteral("24.6%");
    QTest::newRow("3840: nine 拡大 reach 1.0") << 3840 << 9 << 0 << 1.0 << true << 560 << 3279 << 20 << 1640 << 1640
                                               << 1639 << 1000 << QStringLiteral("100.0%");
    QTest::newRow("3840: a tenth 拡大 changes nothing") << 3840 << 10 << 0 << 1.0 << true << 560 << 3279 << 20 << 1640
                                                        << 1640 << 1639 << 1000 << QStringLiteral("100.0%");
    // The whole view traces a source y of −1: V is the whole photograph, the scroll position 0.
    QTest::newRow("3840: 縮小 in the whole view") << 3840 << 0 << 1 << 0.14583333333333334 << false << 3840 << -1 << 137
                                                  << 0 << 0 << -1 << 145 << QStringLiteral("14.6%");
    QTest::newRow("3840: 拡大 then 縮小") << 3840 << 1 << 1 << 0.14583333333333334 << false << 3840 << -1 << 137 << 0
                                          << 0 << -1 << 145 << QStringLiteral("14.6%");
    QTest::newRow("2285: one 拡大") << 2285 << 1 << 0 << 0.3450765864332604 << true << 1622 << 662 << 57 << 331 << 331
                                    << 331 << 345 << QStringLiteral("34.5%");
    QTest::newRow("400 in a wider frame: 拡大 keeps the fit")
        << 400 << 3 << 0 << 1.4 << false << 400 << -1 << 14 << 0 << 0 << -1 << 1000 << QStringLiteral("140.0%");
}

void TestZoomView::zoomButtons()
{
    QFETCH(int, image);
    QFETCH(int, zoomIns);
    QFETCH(int, zoomOuts);
    QFETCH(double, scale);
    QFETCH(bool, zoomed);
    QFETCH(int, visible);
    QFETCH(int, maxPos);
    QFETCH(int, lineStep);
    QFETCH(int, srcX);
    QFETCH(int, scrollY);
    QFETCH(int, srcY);
    QFETCH(int, trackbar);
    QFETCH(QString, text);

    CZoomView view = MakeView(560, image);
    Click(view, zoomIns, zoomOuts);

    QCOMPARE(view.GetScale(), scale);
    QCOMPARE(view.IsZoomed(), zoomed);
    QCOMPARE(view.GetVisibleSize(), visible);
    QCOMPARE(view.GetMaxScrollPos(), maxPos);
    QCOMPARE(view.GetLineStep(), lineStep);
    QCOMPARE(view.GetSrcX(), srcX);
    QCOMPARE(view.GetScrollY(), scrollY);
    QCOMPARE(view.GetSrcY(), srcY);
    const int squareSize = zoomed ? visible : 0;
    QCOMPARE(view.GetSourceRect(), QRect(srcX, srcY, squareSize, squareSize));

    const CZoomView::Controls &controls = view.GetControls();
    QCOMPARE(controls.nTrackbarPos, trackbar);
    QCOMPARE(controls.strZoom, text);
    QCOMPARE(controls.bScrollEnabled, zoomed);
    if (zoomed) {
        QCOMPARE(controls.nScrollMax, maxPos);
        QCOMPARE(controls.nHorzPos, srcX);
        QCOMPARE(controls.nVertPos, scrollY);
    }
}

void TestZoomView::scrollCodes_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<bool>("redraw");
    QTest::addColumn<int>("pos");  // the bar's position and the stored member afterwards
    QTest::addColumn<int>("srcY");

    // Scale 0.24583333333333335 on a 3840 photograph: V 2277, M 1562, L 81, both bars at 782.
    QTest::newRow("h line left") << false << 0 << 0 << true << 701 << 780;
    QTest::newRow("h line right") << false << 1 << 0 << true << 863 << 780;
    QTest::newRow("h page left clamps at 0") << false << 2 << 0 << true << 0 << 780;
    QTest::newRow("h page right clamps at M") << false << 3 << 0 << true << 1562 << 780;
    QTest::newRow("h thumb position") << false << 4 << 1000 << true << 1000 << 780;
    QTest::newRow("h thumb track beyond M") << false << 5 << 5000 << true << 1562 << 780;
    QTest::newRow("h thumb track below 0") << false << 5 << -7 << true << 0 << 780;
    QTest::newRow("h left end") << false << 6 << 0 << true << 0 << 780;
    QTest::newRow("h right end") << false << 7 << 0 << true << 1562 << 780;
    QTest::newRow("h end of scroll") << false << 8 << 0 << false << 782 << 780;
    QTest::newRow("h unknown code") << false << 12 << 0 << false << 782 << 780;
    // The vertical bar counts from the top; the source y counts from the bottom.
    QTest::newRow("v line down") << true << 1 << 0 << true << 863 << 699;
    QTest::newRow("v bottom") << true << 7 << 0 << true << 1562 << 0;
    QTest::newRow("v top") << true << 6 << 0 << true << 0 << 1562;
    QTest::newRow("v end of scroll") << true << 8 << 0 << false << 782 << 780;
}

void TestZoomView::scrollCodes()
{
    QFETCH(bool, vertical);
    QFETCH(int, code);
    QFETCH(int, thumb);
    QFETCH(bool, redraw);
    QFETCH(int, pos);
    QFETCH(int, srcY);

    CZoomView view = MakeView(560, 3840);
    view.ZoomIn();
    QCOMPARE(view.GetScale(), 0.24583333333333335);

    const auto bar = vertical ? CZoomView::ScrollBar::Vertical : CZoomView::ScrollBar::Horizontal;
    QCOMPARE(view.OnScroll(bar, code, thumb), redraw);
    QCOMPARE(vertical ? view.GetScrollY() : view.GetSrcX(), pos);
    QCOMPARE(vertical ? view.GetControls().nVertPos : view.GetControls().nHorzPos, pos);
    // The other bar does not move.
    QCOMPARE(vertical ? view.GetSrcX() : view.GetScrollY(), 782);
    QCOMPARE(view.GetSrcY(), srcY);
    QCOMPARE(view.GetSourceRect().size(), QSize(2277, 2277));
}

void TestZoomView::trackbar_data()
{
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("trackbar");  // where the trackbar is set back to
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("visible");  // source square size, 0 for the whole photograph

    QTest::newRow("290 is set back to 289") << 3840 << 290 << 0.29 << 289 << QStringLiteral("29.0%") << 1931;
    QTest::newRow("0 gives the fit scale") << 3840 << 0 << 0.14583333333333334 << 145 << QStringLiteral("14.6%") << 0;
    QTest::newRow("just below the fit") << 3840 << 145 << 0.14583333333333334 << 145 << QStringLiteral("14.6%") << 0;
    QTest::newRow("1000 is one to one") << 3840 << 1000 << 1.0 << 1000 << QStringLiteral("100.0%") << 560;
    QTest::newRow("500 on 2285") << 2285 << 500 << 0.5 << 500 << QStringLiteral("50.0%") << 1120;
    QTest::newRow("wider frame keeps the fit") << 400 << 700 << 1.4 << 1000 << QStringLiteral("140.0%") << 0;
}

void TestZoomView::trackbar()
{
    QFETCH(int, image);
    QFETCH(int, position);
    QFETCH(double, scale);
    QFETCH(int, trackbar);
    QFETCH(QString, text);
    QFETCH(int, visible);

    CZoomView view = MakeView(560, image);
    view.OnTrackbar(position);
    QCOMPARE(view.GetScale(), scale);
    QCOMPARE(view.GetControls().nTrackbarPos, trackbar);
    QCOMPARE(view.GetControls().strZoom, text);
    QCOMPARE(view.GetSourceRect().width(), visible);
    QCOMPARE(view.GetSourceRect().height(), visible);
    QCOMPARE(view.GetControls().bScrollEnabled, visible != 0);
}

void TestZoomView::dragPans_data()
{
    QTest::addColumn<int>("trackbar");  // sets the scale exactly
    QTest::addColumn<int>("thumbX");    // horizontal bar moved here first, −1 = left centred
    QTest::addColumn<QPoint>("start");  // frame-relative
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<int>("dSrcX");
    QTest::addColumn<int>("dScrollY");

    QTest::newRow("0.5: (+3, −2)") << 500 << -1 << QPoint(200, 200) << QPoint(3, -2) << -6 << 4;
    QTest::newRow("0.8: one pixel right") << 800 << -1 << QPoint(200, 200) << QPoint(1, 0) << -1 << 0;
    QTest::newRow("0.8: one pixel up") << 800 << -1 << QPoint(200, 200) << QPoint(0, -1) << 0 << 1;
    QTest::newRow("0.8: (−5, +4) truncates 6.25 and 5.0") << 800 << -1 << QPoint(200, 200) << QPoint(-5, 4) << 6 << -5;
    QTest::newRow("0.5: left end stays at 0") << 500 << 0 << QPoint(10, 10) << QPoint(3, 0) << 0 << 0;
    // At 0.5, V = 1120 and M = 2719: pulling left at the right end stays at M.
    QTest::newRow("0.5: right end stays at M") << 500 << 2719 << QPoint(300, 10) << QPoint(-5, 0) << 0 << 0;
}

void TestZoomView::dragPans()
{
    QFETCH(int, trackbar);
    QFETCH(int, thumbX);
    QFETCH(QPoint, start);
    QFETCH(QPoint, move);
    QFETCH(int, dSrcX);
    QFETCH(int, dScrollY);

    CZoomView view = MakeView(560, 3840);
    view.OnTrackbar(trackbar);
    if (thumbX >= 0)
        view.OnScroll(CZoomView::ScrollBar::Horizontal, CZoomView::ScrollThumbPosition, thumbX);
    const int srcX = view.GetSrcX();
    const int scrollY = view.GetScrollY();
    const QPoint origin(kFrameLeft, kFrameTop);

    QVERIFY(view.OnLButtonDown(origin + start));
    QVERIFY(view.IsDragging());
    QCOMPARE(view.GetDragLast(), start);
    QCOMPARE(view.OnMouseMove(origin + start + move), CZoomView::DragStep::Redraw);
    QCOMPARE(view.GetSrcX(), srcX + dSrcX);
    QCOMPARE(view.GetScrollY(), scrollY + dScrollY);
    QCOMPARE(view.GetSrcY(), view.GetMaxScrollPos() - view.GetScrollY());
    QCOMPARE(view.GetDragLast(), start + move);
    QCOMPARE(view.GetControls().nHorzPos, view.GetSrcX());
    QCOMPARE(view.GetControls().nVertPos, view.GetScrollY());
    QVERIFY(view.OnLButtonUp());
    QVERIFY(!view.IsDragging());
    QCOMPARE(view.OnMouseMove(origin + start), CZoomView::DragStep::None);
}

void TestZoomView::dragStartsAndEndsOnlyInsideFrame()
{
    CZoomView view = MakeView(560, 3840);
    const QPoint inside(kFrameLeft + 280, kFrameTop + 280);

    // The whole view starts no drag, even strictly inside.
    QVERIFY(!view.OnLButtonDown(inside));
    QVERIFY(!view.IsDragging());

    view.ZoomIn();
    // Every edge of the frame counts as outside; the right and bottom edges are the first
    // column and row past the frame.
    for (const QPoint &edge : {QPoint(kFrameLeft, kFrameTop + 100), QPoint(kFrameLeft + 100, kFrameTop),
                               QPoint(kFrameLeft + 560, kFrameTop + 100), QPoint(kFrameLeft + 100, kFrameTop + 560)}) {
        QVERIFY2(!view.OnLButtonDown(edge), qPrintable(QStringLiteral("%1,%2").arg(edge.x()).arg(edge.y())));
        QVERIFY(!view.IsDragging());
    }
    QVERIFY(view.OnLButtonDown(QPoint(kFrameLeft + 559, kFrameTop + 1)));

    // Moving onto the frame's edge ends the drag without panning.
    const QRect before = view.GetSourceRect();
    QCOMPARE(view.OnMouseMove(QPoint(kFrameLeft + 560, kFrameTop + 1)), CZoomView::DragStep::ReleaseCapture);
    QVERIFY(!view.IsDragging());
    QCOMPARE(view.GetSourceRect(), before);
    QVERIFY(!view.OnLButtonUp());

    // No photograph: no drag even when zoomed by the buttons.
    CZoomView empty = MakeView(560, 0, false);
    empty.ZoomIn();
    QVERIFY(!empty.OnLButtonDown(inside));
}

void TestZoomView::resizeKeepsOrDropsZoom_data()
{
    QTest::addColumn<int>("newWidth");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("srcX");
    QTest::addColumn<int>("visible");

    // Zoomed once (0.24583333333333335) in a 560 frame, then panned, then the frame grows.
    QTest::newRow("700: still zoomed, re-centred") << 700 << 0.24583333333333335 << 497 << 2847;
    QTest::newRow("1000: fit scale is larger, whole view") << 1000 << 1000 / 3840.0 << 0 << 0;
}

void TestZoomView::resizeKeepsOrDropsZoom()
{
    QFETCH(int, newWidth);
    QFETCH(double, scale);
    QFETCH(int, srcX);
    QFETCH(int, visible);

    CZoomView view = MakeView(560, 3840);
    view.ZoomIn();
    view.OnScroll(CZoomView::ScrollBar::Horizontal, CZoomView::ScrollBottom);
    view.Resize(QRect(kFrameLeft, kFrameTop, newWidth, newWidth));
    QCOMPARE(view.GetFitScale(), newWidth / 3840.0);
    QCOMPARE(view.GetScale(), scale);
    QCOMPARE(view.GetSrcX(), srcX);
    QCOMPARE(view.GetScrollY(), srcX);
    QCOMPARE(view.GetSourceRect().width(), visible);
    QCOMPARE(view.GetControls().bScrollEnabled, visible != 0);
}

void TestZoomView::newBrandAfterZoomShowsWholePhoto()
{
    CZoomView view = MakeView(560, 3840);
    Click(view, 3, 0);
    view.OnScroll(CZoomView::ScrollBar::Vertical, CZoomView::ScrollLineDown);
    view.FitNewPhoto(true, 2285);

    QCOMPARE(view.GetImageSize(), 2285);
    QCOMPARE(view.GetScale(), 0.24507658643326038);
    QCOMPARE(view.GetSourceRect(), QRect(0, 0, 0, 0));
    QCOMPARE(view.GetScrollY(), 0);
    QVERIFY(!view.GetControls().bScrollEnabled);
    QCOMPARE(view.GetControls().nTrackbarPos, 245);
    QCOMPARE(view.GetControls().strZoom, QStringLiteral("24.5%"));

    // A brand without a photograph afterwards: trackbar 0, empty text, the assumed size.
    view.ZoomIn();
    view.FitNewPhoto(false, 0);
    QCOMPARE(view.GetImageSize(), 3840);
    QCOMPARE(view.GetScale(), 0.14583333333333334);
    QCOMPARE(view.GetControls().nTrackbarPos, 0);
    QVERIFY(view.GetControls().strZoom.isEmpty());
    QVERIFY(!view.GetControls().bScrollEnabled);
}

void TestZoomView::withoutPhotoControlsStayEmpty()
{
    CZoomView view = MakeView(560, 0, false);
    view.ZoomIn();
    // The scale and the visible square still follow the buttons; the controls do not.
    QCOMPARE(view.GetScale(), 0.24583333333333335);
    QCOMPARE(view.GetSourceRect().width(), 2277);
    QCOMPARE(view.GetSrcX(), 782);
    QCOMPARE(view.GetControls().nTrackbarPos, 0);
    QVERIFY(view.GetControls().strZoom.isEmpty());
    QVERIFY(!view.GetControls().bScrollEnabled);
}

void TestZoomView::clearViewKeepsScaleAndControls()
{
    CZoomView view = MakeView(560, 3840);
    view.ZoomIn();
    QVERIFY(view.OnLButtonDown(QPoint(kFrameLeft + 10, kFrameTop + 10)));
    view.ClearView();
    QCOMPARE(view.GetSourceRect(), QRect(0, 0, 0, 0));
    QCOMPARE(view.GetScrollY(), 0);
    QVERIFY(!view.IsDragging());
    QCOMPARE(view.GetScale(), 0.24583333333333335);
    QVERIFY(view.IsMainImageLoaded());
    QVERIFY(view.GetControls().bScrollEnabled);
    QCOMPARE(view.GetControls().nTrackbarPos, 245);
}

void TestZoomView::traceLineIsOffByDefaultAndFormatted()
{
    QVERIFY(!lcKelmoraZoom().isDebugEnabled());

    QLoggingCategory::setFilterRules(QStringLiteral("kelmora.zoom.debug=true"));
    CZoomView view = MakeView(560, 3840);
    QTest::ignoreMessage(QtDebugMsg, "DispTopPos:-1(Calc:0)");
    view.ZoomOut();
    QTest::ignoreMessage(QtDebugMsg, "DispTopPos:780(Calc:782)");
    view.ZoomIn();
    QTest::ignoreMessage(QtDebugMsg, "DispTopPos:0(Calc:1562)");
    view.OnScroll(CZoomView::ScrollBar::Vertical, CZoomView::ScrollBottom);
    QLoggingCategory::setFilterRules(QString());
}

QTEST_GUILESS_MAIN(TestZoomView)
#include "test_zoom_view.moc"

void TestZoomView::zoomAtKeepsPointUnderPointer_data()
{
    QTest::addColumn<int>("preSteps");  // zoom-at steps at the frame's centre first
    QTest::addColumn<QPoint>("offset");  // the pointer, inside the frame
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("srcX");     // -1: the point under the pointer stays within a pixel;
    QTest::addColumn<int>("scrollY");  // -2: the view stays where it was
    // Frame 560, photograph 3840: fit scale 0.1458…, one step in gives 0.2458…, V 2278, M 1561.
    QTest::newRow("in from fit, off centre") << 0 << QPoint(100, 400) << 1 << -1 << -1;
    QTest::newRow("three steps in, upper right") << 0 << QPoint(420, 140) << 3 << -1 << -1;
    QTest::newRow("out while zoomed, lower left") << 5 << QPoint(50, 500) << -2 << -1 << -1;
    QTest::newRow("top-left corner holds at the edges") << 0 << QPoint(0, 0) << 1 << 0 << 0;
    QTest::newRow("bottom-right corner holds at the edges") << 0 << QPoint(560, 560) << 1 << 1562 << 1562;
    QTest::newRow("at 100 % a further step stays put") << 9 << QPoint(30, 470) << 1 << -2 << -2;
}

void TestZoomView::zoomAtKeepsPointUnderPointer()
{
    QFETCH(int, preSteps);
    QFETCH(QPoint, offset);
    QFETCH(int, steps);
    QFETCH(int, srcX);
    QFETCH(int, scrollY);
    CZoomView view = MakeView(560, 3840);
    const QPoint frameOrigin(kFrameLeft, kFrameTop);
    for (int i = 0; i < preSteps; ++i)
        view.ZoomAt(1, view.GetFrameCentre());
    CZoomView buttons = view;
    const CZoomView start = view;
    for (int i = 0; i < qAbs(steps); ++i) {
        const QPointF before = PhotoPointAt(view, offset);
        view.ZoomAt(steps > 0 ? 1 : -1, frameOrigin + offset);
        steps > 0 ? buttons.ZoomIn() : buttons.ZoomOut();
        const QPointF after = PhotoPointAt(view, offset);
        if (srcX < 0)
            QVERIFY2(qAbs(after.x() - before.x()) <= 1 && qAbs(after.y() - before.y()) <= 1,
                     qPrintable(QStringLiteral("(%1,%2) became (%3,%4)")
                                    .arg(before.x()).arg(before.y()).arg(after.x()).arg(after.y())));
    }
    // The same steps as the buttons, the same trackbar and text.
    QCOMPARE(view.GetScale(), buttons.GetScale());
    QCOMPARE(view.GetControls().nTrackbarPos, buttons.GetControls().nTrackbarPos);
    QCOMPARE(view.GetControls().strZoom, buttons.GetControls().strZoom);
    CheckBarsFollowView(view);
    if (srcX == -2) {
        QCOMPARE(view.GetSrcX(), start.GetSrcX());
        QCOMPARE(view.GetScrollY(), start.GetScrollY());
    } else if (srcX >= 0) {
        QCOMPARE(view.GetSrcX(), srcX);
        QCOMPARE(view.GetScrollY(), scrollY);
    }
    // A line down continues from the new place.
    const int y = view.GetScrollY();
    view.OnScroll(CZoomView::ScrollBar::Vertical, CZoomView::ScrollLineDown);
    QCOMPARE(view.GetScrollY(), qMin(y + view.GetLineStep(), view.GetMaxScrollPos()));
}

void TestZoomView::fitAndActualSize_data()
{
    QTest::addColumn<int>("imageSize");
    QTest::addColumn<int>("preSteps");  // zoom-at steps at the frame's centre first
    QTest::addColumn<QString>("op");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<int>("srcX");
    QTest::addColumn<int>("scrollY");
    // Frame 560: 100 % shows 560 photograph pixels; the centre point of a whole 3840 view is
    // pixel 1920, which stays under the frame's centre at 1640 + 280.
    QTest::newRow("100 % at the centre") << 3840 << 0 << "actual" << QPoint(280, 280) << false << 1640 << 1639;
    // Two steps in at the centre show odd squares (2277, then 1619) whose centre is pixel 1920.5.
    QTest::newRow("100 % after a zoom, view's centre") << 3840 << 2 << "actual" << QPoint(280, 280) << false << 1641
                                                       << 1640;
    QTest::newRow("double-click on the whole view") << 3840 << 0 << "toggle" << QPoint(140, 420) << false << 820
                                                    << 2459;
    QTest::newRow("double-click in a corner holds at the edge") << 3840 << 0 << "toggle" << QPoint(0, 0) << false
                                                               << 0 << 0;
    QTest::newRow("double-click while zoomed shows it whole") << 3840 << 3 << "toggle" << QPoint(10, 10) << true
                                                             << 0 << 0;
    QTest::newRow("fit after a zoom") << 3840 << 4 << "fit" << QPoint() << true << 0 << 0;
    QTest::newRow("100 % of a photograph smaller than the frame") << 400 << 0 << "actual" << QPoint(280, 280)
                                                                  << true << 0 << 0;
}

void TestZoomView::fitAndActualSize()
{
    QFETCH(int, imageSize);
    QFETCH(int, preSteps);
    QFETCH(QString, op);
    QFETCH(QPoint, offset);
    QFETCH(bool, whole);
    QFETCH(int, srcX);
    QFETCH(int, scrollY);
    CZoomView view = MakeView(560, imageSize);
    for (int i = 0; i < preSteps; ++i)
        view.ZoomAt(1, view.GetFrameCentre());
    const QPoint pt = QPoint(kFrameLeft, kFrameTop) + offset;
    if (op == QLatin1String("actual"))
        view.ActualSizeAt(pt);
    else if (op == QLatin1String("toggle"))
        view.ToggleFitAt(pt);
    else
        view.FitWhole();
    if (whole) {
        QCOMPARE(view.GetScale(), view.GetFitScale());
        QCOMPARE(view.GetSourceRect().width(), 0);
        QCOMPARE(view.GetSrcX(), 0);
        QVERIFY(!view.GetControls().bScrollEnabled);
        return;
    }
    QCOMPARE(view.GetScale(), 1.0);
    QCOMPARE(view.GetControls().strZoom, QStringLiteral("100.0%"));
    QCOMPARE(view.GetControls().nTrackbarPos, 1000);
    QCOMPARE(view.GetSrcX(), srcX);
    QCOMPARE(view.GetScrollY(), scrollY);
    CheckBarsFollowView(view);
}
