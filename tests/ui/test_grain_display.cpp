// Choosing a brand in the main window, and zooming and panning its photograph, driven as a user
// drives it: clicks in the lists, on the zoom buttons and the scroll bars, the wheel, the zoom
// keys and mouse drags over the photo frame.

#include "support/CTestExeFolder.h"
#include "support/CTestPictures.h"

#include "app/CKelmoraDlg.h"
#include "browser/CDemoContent.h"
#include "controls/CPhotoFrame.h"
#include "controls/CRvListBox.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"
#include "viewer/CPictureImage.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

void ClickItem(CRvListBox *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QStringList Column(QTableWidget &list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts << (list.item(row, column) != nullptr ? list.item(row, column)->text() : QString());
    return texts;
}

// The square the photo frame shows for the view, in the photograph's rows counted from the top:
// the view's scroll position and source y count them otherwise.
QRect ShownSquare(const CZoomView &view)
{
    const int v = view.GetVisibleSize();
    return QRect(view.GetSrcX(), view.GetScrollY() + 1, v, v);
}

// Where a part of a slider or scroll bar is drawn, in its own coordinates.
QPoint ControlPart(QAbstractSlider *slider, QStyle::ComplexControl control, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    return slider->style()->subControlRect(control, &option, part, slider).center();
}

QPoint ThumbCentre(QSlider *slider)
{
    return ControlPart(slider, QStyle::CC_Slider, QStyle::SC_SliderHandle);
}

// Counts the trace lines of the main photograph's redraws: one per run of a zoom or scroll handler.
class CTraceCounter
{
public:
    CTraceCounter()
    {
        s_nLines = 0;
        QLoggingCategory::setFilterRules(QStringLiteral("kelmora.zoom.debug=true"));
        m_previous = qInstallMessageHandler(&CTraceCounter::Handle);
    }
    ~CTraceCounter()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    CTraceCounter(const CTraceCounter &) = delete;
    CTraceCounter &operator=(const CTraceCounter &) = delete;

    // Lines since the last call.
    int Take()
    {
        const int lines = s_nLines;
        s_nLines = 0;
        return lines;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext &context, const QString &message)
    {
        if (qstrcmp(context.category, "kelmora.zoom") == 0 && message.startsWith(QLatin1String("DispTopPos:")))
            ++s_nLines;
    }

    static inline int s_nLines = 0;
    QtMessageHandler m_previous = nullptr;
};

QColor CentreColour(QWidget *frame)
{
    const QImage shot = frame->grab().toImage();
    return shot.pixelColor(shot.width() / 2, shot.height() / 2);
}

QPoint ScrollBarPart(QScrollBar *bar, QStyle::SubControl part)
{
    return ControlPart(bar, QStyle::CC_ScrollBar, part);
}

// Everything the zoom controls and the view show, for comparing one way of zooming with another.
struct ZoomState {
    double scale = 0;
    QRect source;
    int trackbar = 0;
    QString text;
    bool barsEnabled = false;
    int horz = 0;
    int vert = 0;
    int barMax = 0;

    bool operator==(const ZoomState &o) const
    {
        return scale == o.scale && source == o.source && trackbar == o.trackbar && text == o.text
            && barsEnabled == o.barsEnabled && horz == o.horz && vert == o.vert && barMax == o.barMax;
    }
};

}  // namespace

class TestGrainDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void builtInBrandShowsBothTablesAndFourPhotographs_data();
    void builtInBrandShowsBothTablesAndFourPhotographs();
    void brandWithoutContentClearsEverything_data();
    void brandWithoutContentClearsEverything();
    void anotherRegionsBrandShowsNothing();
    void zoomInByButtonWheelAndKeysAgree_data();
    void zoomInByButtonWheelAndKeysAgree();
    void trackbarRunsItsHandlerOncePerAction();
    void trackbarReleaseWhereItWasRecentres();
    void scrollBarsFollowRealActions();
    void dragPansWithTheMouse();
    void dragEndsFreeTheMouse();
    void resizeKeepsTheZoomAndRecentres();
    void anotherBrandAfterZoomingIsShownWhole();
    void makerOutlineIsPainted();

private:
    // The window shown, with the first region's first prefecture's brands listed.
    std::unique_ptr<CKelmoraDlg> ShowWindow();
    // Shows a brand: classification row, then brand row.
    void Choose(CKelmoraDlg &dlg, int classRow, int brandRow);
    ZoomState State(CKelmoraDlg &dlg) const;

    CTestExeFolder *m_folder = nullptr;
    CTestPictures *m_pictures = nullptr;
};

void TestGrainDisplay::initTestCase()
{
    // Written once: every test reads the same pictures.
    m_pictures = new CTestPictures;
    QVERIFY(m_pictures->IsValid());
}

void TestGrainDisplay::cleanupTestCase()
{
    delete m_pictures;
    m_pictures = nullptr;
}

void TestGrainDisplay::init()
{
    m_folder = new CTestExeFolder;
    QVERIFY(m_folder->IsValid());
    // Region 1, prefecture 1 holds IDs 1, 51 and 71 among others; 関東's only prefecture lists
    // an ID 1 of its own.
    QVERIFY(m_folder->WriteStandardCatalogue());
    QVERIFY(m_folder->WriteVarietyFile(3, 1, {{1, QStringLiteral("コシヒカリ"), 0}}));
}

void TestGrainDisplay::cleanup()
{
    delete m_folder;
    m_folder = nullptr;
}

std::unique_ptr<CKelmoraDlg> TestGrainDisplay::ShowWindow()
{
    auto dlg = std::make_unique<CKelmoraDlg>(m_folder->Program(), nullptr, m_pictures->Folder());
    dlg->show();
    if (!QTest::qWaitForWindowExposed(dlg.get()))
        return nullptr;
    return dlg;
}

void TestGrainDisplay::Choose(CKelmoraDlg &dlg, int classRow, int brandRow)
{
    auto *classes = dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_CLASS);
    if (classes->GetCurSel() != classRow)
        ClickItem(classes, classRow);
    ClickItem(dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN), brandRow);
}

ZoomState TestGrainDisplay::State(CKelmoraDlg &dlg) const
{
    const CZoomView &zoom = dlg.GetZoomView();
    auto *horz = dlg.GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_HORZ);
    auto *vert = dlg.GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_VERT);
    ZoomState state;
    state.scale = zoom.GetScale();
    state.source = zoom.GetSourceRect();
    state.trackbar = dlg.GetDlgItemAs<QSlider>(CKelmoraDlg::IDC_ZOOM_SLIDER)->value();
    state.text = dlg.GetDlgItemAs<QLineEdit>(CKelmoraDlg::IDC_ZOOM_EDIT)->text();
    state.barsEnabled = horz->isEnabled() && vert->isEnabled();
    state.horz = horz->value();
    state.vert = vert->value();
    state.barMax = horz->maximum();
    return state;
}

void TestGrainDisplay::builtInBrandShowsBothTablesAndFourPhotographs_data()
{
    QTest::addColumn<int>("classRow");
    QTest::addColumn<QString>("key");
    QTest::newRow("きらら397") << 0 << QStringLiteral("101");
    QTest::newRow("風の子もち") << 1 << QStringLiteral("151");
    QTest::newRow("吟風") << 2 << QStringLiteral("171");
}

void TestGrainDisplay::builtInBrandShowsBothTablesAndFourPhotographs()
{
    QFETCH(int, classRow);
    QFETCH(QString, key);
    const int size = CTestPictures::MainSize(key);

    auto dlg = ShowWindow();
    QVERIFY(dlg);
    // The hour-glass that shows while the photographs are decoded is gone afterwards.
    Choose(*dlg, classRow, 0);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN)->GetCurSel(), 0);

    // Both pages show the built-in record, each text in the row of its heading; the variety
    // file's own record (a name only) is not what is shown.
    GRAIN_INFO_DATA builtIn;
    QVERIFY(CDemoContent::GetRecord(1, key, &builtIn));
    const QStringList feature = Column(dlg->GetFeaturePage().GetList(), 2);
    QCOMPARE(
        feature.mid(0, 8),
        QStringList({builtIn.strGrainShape, builtIn.strColor, builtIn.strSkin, builtIn.strGroove, builtIn.strEmbryo,
                     builtIn.strThousandWeight + QLatin1Char('g'), builtIn.strWhitePart, builtIn.strOther}));
    const QStringList pedigree = Column(dlg->GetHistoryPage().GetList(), 2);
    QCOMPARE(pedigree.mid(0, 3), QStringList({builtIn.strRequired, builtIn.strHistory, builtIn.strBreedingPlace}));

    // The key's four pictures, each in its own slot and shown by that slot's frame.
    const CPictureImage &holder = dlg->GetPictureImage();
    const QWidget *frames[] = {dlg->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME),
                               dlg->GetFeaturePage().GetDlgItem(CFeaturePage::kFrameFirst),
                               dlg->GetFeaturePage().GetDlgItem(CFeaturePage::kFrameSecond),
                               dlg->GetHistoryPage().GetDlgItem(CHistoryPage::kFrame)};
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot) {
        const QString name = key + QString::number(slot + 1);
        QVERIFY2(holder.HasImage(slot), qPrintable(name));
        QVERIFY2(holder.GetImage(slot) == CTestPictures::Picture(name), qPrintable(name));
        QVERIFY2(qobject_cast<const CPhotoFrame *>(frames[slot])->GetPicture() == holder.GetImage(slot),
                 qPrintable(name));
    }
    QVERIFY(dlg->GetZoomView().IsMainImageLoaded());

    // The whole photograph at its fit scale, and photographs (not the empty grey) in the frames.
    const int w = dlg->GetPhotoFrameRect().width();
    const double fit = w / static_cast<double>(size);
    QCOMPARE(dlg->GetZoomView().GetScale(), fit);
    const ZoomState state = State(*dlg);
    QCOMPARE(state.trackbar, static_cast<int>(fit * 100 * 10));
    QCOMPARE(state.text, QString::asprintf("%.1f%%", fit * 100));
    QCOMPARE(state.source, QRect(0, 0, 0, 0));
    QVERIFY(!state.barsEnabled);
    const QColor empty(CPictureImage::kEmptyFrameColor);
    QVERIFY(CentreColour(dlg->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME)) != empty);
    QVERIFY(CentreColour(dlg->GetFeaturePage().GetDlgItem(CFeaturePage::kFrameFirst)) != empty);
}

void TestGrainDisplay::brandWithoutContentClearsEverything_data()
{
    QTest::addColumn<int>("prefRow");
    QTest::addColumn<int>("brandRow");
    // ゆめぴりか (ID 2: key "102"); in 空知 (prefecture number 2) ID 1 gives the key "201".
    QTest::newRow("another ID") << 0 << 1;
    QTest::newRow("ID 1 in prefecture 2") << 1 << 0;
}

void TestGrainDisplay::brandWithoutContentClearsEverything()
{
    QFETCH(int, prefRow);
    QFETCH(int, brandRow);
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    if (prefRow != 0) {
        // Another prefecture already clears the pages and photographs; the zoom display stays
        // until the next brand is fitted.
        ClickItem(dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_PREF), prefRow);
        QVERIFY(!dlg->GetPictureImage().HasImage(0));
    }
    ClickItem(dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN), brandRow);

    QCOMPARE(dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN)->GetCurSel(), -1);
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        QVERIFY(!dlg->GetPictureImage().HasImage(slot));
    QCOMPARE(Column(dlg->GetFeaturePage().GetList(), 2).mid(0, 8), QStringList(8, QString()));
    QCOMPARE(Column(dlg->GetHistoryPage().GetList(), 2).mid(0, 3), QStringList(3, QString()));
    const ZoomState state = State(*dlg);
    QCOMPARE(state.trackbar, 0);
    QCOMPARE(state.text, QString());
    QVERIFY(!state.barsEnabled);
    QCOMPARE(state.source, QRect(0, 0, 0, 0));
    QVERIFY(!dlg->GetZoomView().IsMainImageLoaded());
    QCOMPARE(CentreColour(dlg->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME)), QColor(CPictureImage::kEmptyFrameColor));
}

void TestGrainDisplay::anotherRegionsBrandShowsNothing()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    ClickItem(dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_BUREAU), 2);
    auto *brands = dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN);
    QCOMPARE(brands->count(), 1);
    ClickItem(brands, 0);

    // ID 1 in prefecture number 1, but not of the first region.
    QCOMPARE(brands->GetCurSel(), -1);
    QCOMPARE(dlg->GetCascade().GetCurGrain(), 0);
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        QVERIFY(!dlg->GetPictureImage().HasImage(slot));
    QCOMPARE(Column(dlg->GetFeaturePage().GetList(), 2).value(0), QString());
    QCOMPARE(State(*dlg).trackbar, 0);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestGrainDisplay::zoomInByButtonWheelAndKeysAgree_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << QStringLiteral("button");
    QTest::newRow("wheel") << QStringLiteral("wheel");
    QTest::newRow("Ctrl++") << QStringLiteral("ctrl+plus");
    QTest::newRow("Ctrl+=") << QStringLiteral("ctrl+equal");
}

void TestGrainDisplay::zoomInByButtonWheelAndKeysAgree()
{
    QFETCH(QString, how);
    // What a click on 拡大 gives.
    ZoomState reference;
    {
        auto first = ShowWindow();
        QVERIFY(first);
        Choose(*first, 0, 0);
        QTest::mouseClick(first->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
        reference = State(*first);
    }

    auto dlg = ShowWindow();
    QVERIFY(dlg);
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    Choose(*dlg, 0, 0);
    const double fit = dlg->GetZoomView().GetFitScale();
    QWidget *frame = dlg->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME);

    auto zoom = [&](bool in) {
        if (how == QLatin1String("button")) {
            QTest::mouseClick(
                dlg->GetDlgItemAs<QAbstractButton>(in ? CKelmoraDlg::IDC_ZOOM_IN : CKelmoraDlg::IDC_ZOOM_OUT),
                Qt::LeftButton);
        } else if (how == QLatin1String("wheel")) {
            const QPoint at = frame->rect().center();
            QWheelEvent wheel(at, frame->mapToGlobal(at), QPoint(), QPoint(0, in ? 120 : -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            // As the window system delivers it: to the frame under the pointer, passed on from there.
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            qApp->notify(frame, &wheel);
        } else {
            const Qt::Key key = !in ? Qt::Key_Minus : how == QLatin1String("ctrl+plus") ? Qt::Key_Plus : Qt::Key_Equal;
            // The keys work wherever the focus is in the window.
            QTest::keyClick(dlg->GetDlgItem(CKelmoraDlg::IDC_LIST_GRAIN), key, Qt::ControlModifier);
        }
    };

    zoom(true);
    ZoomState zoomed = State(*dlg);
    QCOMPARE(zoomed.scale, fit + 0.1);
    QVERIFY(zoomed.barsEnabled);
    const CZoomView &view = dlg->GetZoomView();
    const int v = view.GetVisibleSize();
    QCOMPARE(zoomed.source, QRect(view.GetSrcX(), view.GetMaxScrollPos() - view.GetScrollY(), v, v));
    QCOMPARE(zoomed.barMax, view.GetMaxScrollPos());
    // The wheel zooms at the pointer (here a pixel off the frame's middle), the others at the middle.
    const bool atPointer = how == QLatin1String("wheel");
    if (atPointer)
        QVERIFY(qAbs(zoomed.horz - (CTestPictures::kMainSize101 / 2 - v / 2)) <= 8);
    else
        QCOMPARE(zoomed.horz, CTestPictures::kMainSize101 / 2 - v / 2);
    QCOMPARE(zoomed.trackbar, static_cast<int>((fit + 0.1) * 100 * 10));
    QCOMPARE(zoomed.text, QString::asprintf("%.1f%%", (fit + 0.1) * 100));
    // The frame holds the new square at once.
    QCOMPARE(qobject_cast<CPhotoFrame *>(frame)->GetSource(), ShownSquare(view));

    if (atPointer) {
        zoomed.horz = reference.horz;
        zoomed.vert = reference.vert;
        zoomed.source = reference.source;
    }
    QVERIFY(reference == zoomed);

    zoom(false);
    const ZoomState whole = State(*dlg);
    QCOMPARE(whole.scale, fit);
    QCOMPARE(whole.source.size(), QSize(0, 0));
    QVERIFY(!whole.barsEnabled);
    QCOMPARE(qobject_cast<CPhotoFrame *>(frame)->GetSource(),
             QRect(0, 0, CTestPictures::kMainSize101, CTestPictures::kMainSize101));
}

void TestGrainDisplay::trackbarRunsItsHandlerOncePerAction()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    auto *slider = dlg->GetDlgItemAs<QSlider>(CKelmoraDlg::IDC_ZOOM_SLIDER);
    const CZoomView &view = dlg->GetZoomView();
    CTraceCounter trace;

    // Dragging the thumb: the press, a step and the release each run the handler once.
    const QPoint thumb = ThumbCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
    QCOMPARE(trace.Take(), 1);
    QTest::mouseMove(slider, thumb + QPoint(30, 0));
    QCOMPARE(trace.Take(), 1);
    QVERIFY(view.IsZoomed());
    QCOMPARE(slider->value(), static_cast<int>(view.GetScale() * 100 * 10));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb + QPoint(30, 0));
    QCOMPARE(trace.Take(), 1);

    // A click on the groove is one page step; its release does nothing more.
    const int before = slider->value();
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 3, slider->height() / 2));
    QCOMPARE(trace.Take(), 1);
    QVERIFY(slider->value() > before);

    // Every key runs it once, also at the end of the range where the thumb cannot move.
    slider->setFocus();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_End, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_Home,
                        Qt::Key_PageUp, Qt::Key_Right}) {
        QTest::keyClick(slider, key);
        QVERIFY2(trace.Take() == 1, qPrintable(QKeySequence(key).toString()));
    }

    // One notch of the wheel over the trackbar is one line step.
    const QPoint at = slider->rect().center();
    QWheelEvent wheel(at, slider->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider, &wheel);
    QCOMPARE(trace.Take(), 1);
    QCOMPARE(slider->value(), static_cast<int>(view.GetScale() * 100 * 10));

    // The button that sets the thumb straight to the pointer both moves and presses it: one run.
    const auto absolute = Qt::MouseButton(slider->style()->styleHint(QStyle::SH_Slider_AbsoluteSetButtons));
    if (absolute == Qt::MiddleButton || absolute == Qt::LeftButton) {
        QTest::mousePress(slider, absolute, {}, QPoint(slider->width() / 2, slider->height() / 2));
        QCOMPARE(trace.Take(), 1);
        QTest::mouseRelease(slider, absolute, {}, QPoint(slider->width() / 2, slider->height() / 2));
        QCOMPARE(trace.Take(), 1);
    }
}

void TestGrainDisplay::trackbarReleaseWhereItWasRecentres()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    auto *slider = dlg->GetDlgItemAs<QSlider>(CKelmoraDlg::IDC_ZOOM_SLIDER);
    auto *horz = dlg->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_HORZ);
    const CZoomView &view = dlg->GetZoomView();
    const auto centre = [&view] { return CTestPictures::kMainSize101 / 2 - view.GetVisibleSize() / 2; };

    // The view is panned to the left edge while the thumb is held; letting the thumb go where it
    // was pressed re-centres it.
    const QPoint thumb = ThumbCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
    horz->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(view.GetSrcX(), 0);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb);
    QCOMPARE(view.GetSrcX(), centre());
    QCOMPARE(horz->value(), view.GetSrcX());

    // End at the end of the range re-centres as well.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(view.GetScale(), 1.0);
    horz->triggerAction(QAbstractSlider::SliderToMaximum);
    QVERIFY(view.GetSrcX() != centre());
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(view.GetSrcX(), centre());

    // Dragged to 702, the scale is 0.702 and the thumb is set back to 701 (trunc(701.9999999999999))
    // without that counting as another move; letting go runs the handler once more, at 701.
    slider->setSliderDown(true);
    slider->setSliderPosition(702);
    QCOMPARE(view.GetScale(), 0.702);
    QCOMPARE(slider->value(), 701);
    QCOMPARE(State(*dlg).text, QStringLiteral("70.2%"));
    slider->setSliderDown(false);
    QCOMPARE(view.GetScale(), 0.701);
    QCOMPARE(slider->value(), 701);
    QCOMPARE(State(*dlg).text, QStringLiteral("70.1%"));

    // Home brings the fit scale back: the whole photograph.
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(view.GetScale(), view.GetFitScale());
    QCOMPARE(slider->value(), static_cast<int>(view.GetFitScale() * 100 * 10));
    QVERIFY(!State(*dlg).barsEnabled);
}

void TestGrainDisplay::scrollBarsFollowRealActions()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    const CZoomView &view = dlg->GetZoomView();
    auto *horz = dlg->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_HORZ);
    auto *vert = dlg->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_VERT);
    auto *frame = dlg->GetDlgItemAs<CPhotoFrame>(CKelmoraDlg::IDC_PHOTO_FRAME);
    const int centre = horz->value();
    const int line = view.GetLineStep();
    const int max = view.GetMaxScrollPos();
    QVERIFY(line > 1);

    // The arrow moves by one line of the current scale, the bar follows the view.
    QTest::mouseClick(horz, Qt::LeftButton, {}, ScrollBarPart(horz, QStyle::SC_ScrollBarAddLine));
    QCOMPARE(view.GetSrcX(), centre + line);
    QCOMPARE(horz->value(), centre + line);
    QCOMPARE(frame->GetSource(), ShownSquare(view));
    QTest::mouseClick(horz, Qt::LeftButton, {}, ScrollBarPart(horz, QStyle::SC_ScrollBarSubLine));
    QCOMPARE(horz->value(), centre);

    // A page beyond the end stops at the largest position; the keys reach both ends.
    horz->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(view.GetSrcX(), max);
    QCOMPARE(horz->value(), max);
    horz->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(view.GetSrcX(), 0);
    QCOMPARE(horz->value(), 0);

    // The vertical bar counts from the top; the source square from the bottom.
    QTest::mouseClick(vert, Qt::LeftButton, {}, ScrollBarPart(vert, QStyle::SC_ScrollBarAddLine));
    QCOMPARE(view.GetScrollY(), centre + line);
    QCOMPARE(view.GetSrcY(), max - (centre + line));
    QCOMPARE(vert->value(), centre + line);
    QCOMPARE(frame->GetSource(), ShownSquare(view));

    // Dragging the thumb: the view follows wherever the bar's thumb is put.
    const QPoint thumb = ScrollBarPart(vert, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(vert, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(vert, thumb + QPoint(0, 40));
    QTest::mouseRelease(vert, Qt::LeftButton, {}, thumb + QPoint(0, 40));
    QVERIFY(vert->value() > centre + line);
    QCOMPARE(view.GetScrollY(), vert->value());
    QCOMPARE(frame->GetSource(), ShownSquare(view));
}

void TestGrainDisplay::dragPansWithTheMouse()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    const CZoomView &view = dlg->GetZoomView();
    auto *frame = dlg->GetDlgItemAs<CPhotoFrame>(CKelmoraDlg::IDC_PHOTO_FRAME);
    const double r = 1.0 / view.GetScale();
    const int x0 = view.GetSrcX();
    const int y0 = view.GetScrollY();

    // Dragging right and up moves the photograph with the pointer: the square goes left and down.
    const QPoint start = frame->rect().center();
    QTest::mousePress(frame, Qt::LeftButton, {}, start);
    QVERIFY(view.IsDragging());
    QCOMPARE(QWidget::mouseGrabber(), dlg.get());
    QTest::mouseMove(frame, start + QPoint(30, -20));
    QCOMPARE(view.GetSrcX(), x0 - static_cast<int>(30 * r));
    QCOMPARE(view.GetScrollY(), y0 + static_cast<int>(20 * r));
    QCOMPARE(dlg->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_HORZ)->value(), view.GetSrcX());
    QCOMPARE(dlg->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_VERT)->value(), view.GetScrollY());
    QCOMPARE(frame->GetSource(), ShownSquare(view));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, start + QPoint(30, -20));
    QVERIFY(!view.IsDragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);

    // Without the button the pointer pans nothing.
    const QRect before = view.GetSourceRect();
    QTest::mouseMove(frame, start);
    QCOMPARE(view.GetSourceRect(), before);
}

void TestGrainDisplay::dragEndsFreeTheMouse()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    auto *frame = dlg->GetDlgItemAs<CPhotoFrame>(CKelmoraDlg::IDC_PHOTO_FRAME);
    const CZoomView &view = dlg->GetZoomView();

    // Reaching the frame's edge during a drag ends it.
    QTest::mousePress(frame, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QWidget::mouseGrabber(), dlg.get());
    QTest::mouseMove(frame, QPoint(0, 5));
    QVERIFY(!view.IsDragging());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QTest::mouseRelease(frame, Qt::LeftButton, {}, QPoint(0, 5));

    // A drag cut short by another prefecture (chosen with a key while the button is held) still
    // frees the mouse when the button comes up.
    auto *prefs = dlg->GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_PREF);
    prefs->setFocus();
    QTest::mousePress(frame, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(view.IsDragging());
    QTest::keyClick(prefs, Qt::Key_Down);
    QVERIFY(!view.IsDragging());
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, frame->geometry().topLeft() + QPoint(20, 20));
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
}

void TestGrainDisplay::resizeKeepsTheZoomAndRecentres()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    // Zoomed far enough to stay zoomed in the larger frame.
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    dlg->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_HORZ)->triggerAction(QAbstractSlider::SliderToMinimum);
    const double scale = dlg->GetZoomView().GetScale();

    dlg->resize(dlg->size() + QSize(200, 200));
    const CZoomView &view = dlg->GetZoomView();
    const int w = dlg->GetPhotoFrameRect().width();
    QCOMPARE(dlg->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME)->width(), w);
    QCOMPARE(view.GetFitScale(), w / double(CTestPictures::kMainSize101));
    QCOMPARE(view.GetScale(), scale);
    const int v = view.GetVisibleSize();
    QCOMPARE(view.GetSrcX(), CTestPictures::kMainSize101 / 2 - v / 2);
    const ZoomState state = State(*dlg);
    QCOMPARE(state.barMax, CTestPictures::kMainSize101 - v - 1);
    QCOMPARE(state.horz, view.GetSrcX());
}

void TestGrainDisplay::anotherBrandAfterZoomingIsShownWhole()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    Choose(*dlg, 0, 0);
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN), Qt::LeftButton);
    QVERIFY(State(*dlg).barsEnabled);

    Choose(*dlg, 2, 0);
    const int w = dlg->GetPhotoFrameRect().width();
    const double fit = w / double(CTestPictures::kMainSize);
    const ZoomState state = State(*dlg);
    QCOMPARE(state.scale, fit);
    QCOMPARE(state.source, QRect(0, 0, 0, 0));
    QVERIFY(!state.barsEnabled);
    QCOMPARE(state.trackbar, static_cast<int>(fit * 100 * 10));
    QCOMPARE(state.text, QString::asprintf("%.1f%%", fit * 100));
    // Later paints show the whole photograph too: the frame looks like the smaller picture shrunk.
    auto *frame = dlg->GetDlgItemAs<CPhotoFrame>(CKelmoraDlg::IDC_PHOTO_FRAME);
    frame->repaint();
    const QImage shot = frame->grab().toImage();
    QImage whole(shot.size(), QImage::Format_RGB32);
    QPainter painter(&whole);
    const QImage &picture = dlg->GetPictureImage().GetImage(0);
    CPictureImage::Draw(painter, whole.rect(), picture, picture.rect());
    painter.end();
    QCOMPARE(shot.convertToFormat(QImage::Format_RGB32), whole);
}

void TestGrainDisplay::makerOutlineIsPainted()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    const QRect placeholder = dlg->GetDlgItem(CKelmoraDlg::IDC_MAKER_FRAME)->geometry();
    const QImage shot = dlg->grab().toImage();
    const QColor outline(115, 208, 244);
    QCOMPARE(shot.pixelColor(placeholder.center().x(), placeholder.top()), outline);
    QCOMPARE(shot.pixelColor(placeholder.left(), placeholder.center().y()), outline);
    QCOMPARE(shot.pixelColor(placeholder.x() + placeholder.width(), placeholder.center().y()), outline);
    QVERIFY(shot.pixelColor(placeholder.center().x(), placeholder.top() + 4) != outline);
}

QTEST_MAIN(TestGrainDisplay)
#include "test_grain_display.moc"
