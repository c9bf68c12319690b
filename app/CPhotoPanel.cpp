#include "app/CPhotoPanel.h"

#include "app/CPictureFile.h"

#include "controls/CImageButton.h"
#include "controls/CPhotoFrame.h"
#include "controls/CRvDialog.h"
#include "controls/CRvSliderCtrl.h"
#include "viewer/CArtwork.h"
#include "viewer/CPictureImage.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>

namespace {

// The window system's scroll code for a scroll bar action, or -1 for none.
int ScrollCode(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return CZoomView::ScrollLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return CZoomView::ScrollLineDown;
    case QAbstractSlider::SliderPageStepSub:
        return CZoomView::ScrollPageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return CZoomView::ScrollPageDown;
    case QAbstractSlider::SliderMove:
        return CZoomView::ScrollThumbTrack;
    case QAbstractSlider::SliderToMinimum:
        return CZoomView::ScrollTop;
    case QAbstractSlider::SliderToMaximum:
        return CZoomView::ScrollBottom;
    default:
        return -1;
    }
}
}  // namespace

CPhotoPanel::CPhotoPanel(CRvDialog &dlg, const CPictureImage &picture)
    : QObject(&dlg)
    , m_dlg(dlg)
    , m_picture(picture)
{}

void CPhotoPanel::CreateControls()
{
    m_btnZoomIn = m_dlg.AddControl<CImageButton>(IDC_ZOOM_IN, QRect(339, 38, 40, 20), QStringLiteral("拡大"));
    m_btnZoomOut = m_dlg.AddControl<CImageButton>(IDC_ZOOM_OUT, QRect(389, 38, 40, 20), QStringLiteral("縮小"));
    connect(m_btnZoomIn, &QPushButton::clicked, this, &CPhotoPanel::OnZoomIn);
    connect(m_btnZoomOut, &QPushButton::clicked, this, &CPhotoPanel::OnZoomOut);

    m_editZoom = m_dlg.AddControl<QLineEdit>(IDC_ZOOM_EDIT, QRect(477, 44, 27, 12));
    m_editZoom->setReadOnly(true);
    m_editZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Every move of the user's runs the handler once, also one that leaves the thumb where it was;
    // the positions the handler sets do not come back to it.
    m_slider = m_dlg.AddControl<CRvSliderCtrl>(IDC_ZOOM_SLIDER, QRect(505, 44, 116, 15));
    m_slider->setTickPosition(QSlider::NoTicks);
    connect(m_slider, &CRvSliderCtrl::Scroll, this, &CPhotoPanel::OnTrackbarScroll);

    // The frame shows slot 0 (empty until a brand is chosen); mouse input passes through it to
    // the window, but for the double-click and the keys, which this object takes (eventFilter).
    m_photoFrame = m_dlg.AddControl<CPhotoFrame>(IDC_PHOTO_FRAME, QRect(339, 66, 280, 281));
    m_photoFrame->ShowPicture(m_picture.GetImage(0));

    m_sbVert = m_dlg.AddControl<QScrollBar>(IDC_SCROLL_VERT, QRect(619, 84, 10, 222), Qt::Vertical);
    m_sbHorz = m_dlg.AddControl<QScrollBar>(IDC_SCROLL_HORZ, QRect(354, 365, 204, 11), Qt::Horizontal);
    for (QScrollBar *bar : {m_sbHorz, m_sbVert}) {
        // A bar's own line step would move it before the handler decides where it goes (the line
        // step depends on the scale); with a step of 0 it stays put. Its page is the visible size,
        // so that the thumb shows the visible part; where a page click moves the bar by itself, the
        // handler runs on the same action and sets the position it works out.
        bar->setSingleStep(0);
        bar->setPageStep(0);
        // "Scroll here" of the bar's own menu would move it without an action the view hears of.
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    connect(m_sbHorz, &QScrollBar::actionTriggered, this, &CPhotoPanel::OnHScroll);
    connect(m_sbVert, &QScrollBar::actionTriggered, this, &CPhotoPanel::OnVScroll);
    // Letting go of a dragged thumb reports its final position once more.
    connect(m_sbHorz, &QScrollBar::sliderReleased, this,
            [this] { OnScroll(CZoomView::ScrollBar::Horizontal, m_sbHorz, CZoomView::ScrollThumbPosition); });
    connect(m_sbVert, &QScrollBar::sliderReleased, this,
            [this] { OnScroll(CZoomView::ScrollBar::Vertical, m_sbVert, CZoomView::ScrollThumbPosition); });

    // The platform's zoom keys act like the zoom buttons; Ctrl+= serves keyboards on which "+"
    // needs Shift. One shortcut holds all of them: two shortcuts on the same keys would cancel
    // each other out as ambiguous.
    QList<QKeySequence> zoomInKeys = QKeySequence::keyBindings(QKeySequence::ZoomIn);
    const QKeySequence ctrlEqual(Qt::CTRL | Qt::Key_Equal);
    if (!zoomInKeys.contains(ctrlEqual))
        zoomInKeys << ctrlEqual;
    auto *zoomIn = new QShortcut(&m_dlg);
    zoomIn->setKeys(zoomInKeys);
    connect(zoomIn, &QShortcut::activated, this, &CPhotoPanel::OnZoomIn);
    auto *zoomOut = new QShortcut(QKeySequence::ZoomOut, &m_dlg);
    connect(zoomOut, &QShortcut::activated, this, &CPhotoPanel::OnZoomOut);

    // The photograph's commands, in its own context menu and on their keys; copying needs the
    // focus on the photograph, where Ctrl+C cannot mean a list's or a field's text. 拡大 and 縮小
    // only name their keys in the menu: the window's shortcuts above already take them.
    auto *zoomInAction =
        new QAction(QStringLiteral("拡大\t") + zoomInKeys.front().toString(QKeySequence::NativeText), m_photoFrame);
    connect(zoomInAction, &QAction::triggered, this, &CPhotoPanel::OnZoomIn);
    auto *zoomOutAction =
        new QAction(QStringLiteral("縮小\t") + QKeySequence(QKeySequence::ZoomOut).toString(QKeySequence::NativeText),
                    m_photoFrame);
    connect(zoomOutAction, &QAction::triggered, this, &CPhotoPanel::OnZoomOut);
    m_photoFrame->addAction(zoomInAction);
    m_photoFrame->addAction(zoomOutAction);
    struct Command {
        const char *text;
        QKeySequence key;
        Qt::ShortcutContext context;
        void (CPhotoPanel::*handler)();
    };
    const Command commands[] = {
        {"全体表示", QKeySequence(Qt::CTRL | Qt::Key_0), Qt::WindowShortcut, &CPhotoPanel::OnFitWhole},
        {"実寸表示", QKeySequence(Qt::CTRL | Qt::Key_1), Qt::WindowShortcut, &CPhotoPanel::OnActualSize},
        {"画像をコピー", QKeySequence(Qt::CTRL | Qt::Key_C), Qt::WidgetShortcut, &CPhotoPanel::OnCopyPicture},
        {"画像を保存…", QKeySequence(Qt::CTRL | Qt::Key_S), Qt::WindowShortcut, &CPhotoPanel::OnSavePicture},
    };
    for (const Command &command : commands) {
        auto *action = new QAction(QString::fromUtf8(command.text), m_photoFrame);
        action->setShortcut(command.key);
        action->setShortcutContext(command.context);
        connect(action, &QAction::triggered, this, command.handler);
        m_photoFrame->addAction(action);
    }
    m_photoFrame->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_photoFrame->installEventFilter(this);
}

void CPhotoPanel::AddWindowCommands(const std::function<void()> &search, const std::function<void()> &about)
{
    auto *separator = new QAction(m_photoFrame);
    separator->setSeparator(true);
    m_photoFrame->addAction(separator);
    // Their keys are the window's own shortcuts; the menu only names them.
    const struct {
        const char *text;
        QKeySequence key;
        const std::function<void()> &run;
    } commands[] = {{"銘柄検索…", QKeySequence(Qt::CTRL | Qt::Key_F), search},
                    {"バージョン情報…", QKeySequence(Qt::Key_F1), about}};
    for (const auto &command : commands) {
        auto *action = new QAction(QString::fromUtf8(command.text) + QLatin1Char('\t')
                                       + command.key.toString(QKeySequence::NativeText),
                                   m_photoFrame);
        connect(action, &QAction::triggered, this, command.run);
        m_photoFrame->addAction(action);
    }
}

void CPhotoPanel::SetUpControls(const QFont &font)
{
    for (CImageButton *button : {m_btnZoomIn, m_btnZoomOut})
        button->setFont(font);
    m_btnZoomIn->SetImage(CArtwork::Load(CArtwork::IDB_ZOOM_IN));
    m_btnZoomOut->SetImage(CArtwork::Load(CArtwork::IDB_ZOOM_OUT));

    // The photo frame is square: its width decides.
    m_photoFrame->resize(m_photoFrame->width(), m_photoFrame->width());

    // No photograph yet: the assumed size's fit scale, trackbar 0, empty text, bars disabled.
    m_zoom.InitControls(m_photoFrame->geometry());
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setRange(0, CZoomView::kTrackbarMax);
    }
    UpdateZoomDisplay();
    PlaceScrollBars();
    UpdateScrollBars();
}

CMainLayout::Block CPhotoPanel::CurrentBlock(QWidget *exitButton) const
{
    return {exitButton->geometry(), m_photoFrame->geometry(), m_sbVert->geometry(),
            m_sbHorz->geometry(),   m_slider->geometry(),     m_editZoom->geometry()};
}

bool CPhotoPanel::Overflows(QWidget *exitButton, int cx, int cy) const
{
    return CMainLayout::Overflows(CurrentBlock(exitButton), cx, cy);
}

void CPhotoPanel::Arrange(QWidget *exitButton, int cx, int cy)
{
    const CMainLayout::Block next = CMainLayout::Arrange(CurrentBlock(exitButton), cx, cy);
    exitButton->setGeometry(next.exitButton);
    m_photoFrame->setGeometry(next.frame);
    m_sbVert->setGeometry(next.vertBar);
    m_sbHorz->setGeometry(next.horzBar);
    m_slider->setGeometry(next.trackbar);
    m_editZoom->setGeometry(next.zoomEdit);

    m_zoom.Resize(next.frame);
    UpdateScrollBars();
    UpdateZoomDisplay();
    RedrawPhoto();
}

void CPhotoPanel::PlaceScrollBars()
{
    m_sbVert->setGeometry(CMainLayout::VertBarBeside(m_zoom.GetFrameRect(), m_sbVert->width()));
    m_sbHorz->setGeometry(CMainLayout::HorzBarBelow(m_zoom.GetFrameRect(), m_sbHorz->height()));
}

void CPhotoPanel::UpdateZoomDisplay()
{
    const CZoomView::Controls &controls = m_zoom.GetControls();
    m_slider->SetPos(controls.nTrackbarPos);
    m_editZoom->setText(controls.strZoom);
}

void CPhotoPanel::UpdateScrollBars()
{
    const CZoomView::Controls &controls = m_zoom.GetControls();
    // Disabled bars get an empty range, so that they show no thumb.
    const int max = controls.bScrollEnabled ? controls.nScrollMax : 0;
    m_sbHorz->setRange(0, max);
    m_sbVert->setRange(0, max);
    m_sbHorz->setValue(controls.bScrollEnabled ? controls.nHorzPos : 0);
    m_sbVert->setValue(controls.bScrollEnabled ? controls.nVertPos : 0);
    m_sbHorz->setEnabled(controls.bScrollEnabled);
    m_sbVert->setEnabled(controls.bScrollEnabled);
    // The thumb is as long against the groove as the visible part against the photograph.
    const int page = controls.bScrollEnabled ? m_zoom.GetVisibleSize() : 0;
    m_sbHorz->setPageStep(page);
    m_sbVert->setPageStep(page);
}

void CPhotoPanel::RedrawPhoto()
{
    // The view counts the square's rows upwards from the photograph's bottom edge.
    m_photoFrame->ShowSource(
        CPictureImage::SourceFromBottom(m_photoFrame->GetPicture().size(), m_zoom.GetSourceRect()));
}

void CPhotoPanel::FitNewPhoto(bool bMainImageLoaded, const QString &strName)
{
    m_strName = strName;
    int width = 0;
    if (bMainImageLoaded && !m_picture.GetMainImageWidth(&width))
        width = 0;
    m_photoFrame->ShowPicture(m_picture.GetImage(0));
    m_zoom.FitNewPhoto(bMainImageLoaded, width);
    UpdateScrollBars();
    UpdateZoomDisplay();
}

void CPhotoPanel::ClearView()
{
    m_photoFrame->ShowPicture(m_picture.GetImage(0));
    m_zoom.ClearView();
}

void CPhotoPanel::ShowZoom()
{
    UpdateScrollBars();
    UpdateZoomDisplay();
    RedrawPhoto();
}

void CPhotoPanel::OnZoomIn()
{
    m_zoom.ZoomIn();
    ShowZoom();
}

void CPhotoPanel::OnZoomOut()
{
    m_zoom.ZoomOut();
    ShowZoom();
}

void CPhotoPanel::OnTrackbarScroll()
{
    m_zoom.OnTrackbar(m_slider->GetPos());
    ShowZoom();
}

void CPhotoPanel::OnHScroll(int action)
{
    OnScroll(CZoomView::ScrollBar::Horizontal, m_sbHorz, ScrollCode(action));
}

void CPhotoPanel::OnVScroll(int action)
{
    OnScroll(CZoomView::ScrollBar::Vertical, m_sbVert, ScrollCode(action));
}

void CPhotoPanel::OnScroll(CZoomView::ScrollBar bar, QScrollBar *control, int code)
{
    if (code < 0)
        return;
    // The thumb's position is the one the bar shows while it is dragged.
    if (!m_zoom.OnScroll(bar, code, control->sliderPosition()))
        return;
    const CZoomView::Controls &controls = m_zoom.GetControls();
    control->setValue(bar == CZoomView::ScrollBar::Horizontal ? controls.nHorzPos : controls.nVertPos);
    RedrawPhoto();
}

void CPhotoPanel::OnLButtonDown(const QPoint &point)
{
    if (m_zoom.OnLButtonDown(point))
        m_dlg.grabMouse();
}

void CPhotoPanel::OnMouseMove(const QPoint &point)
{
    switch (m_zoom.OnMouseMove(point)) {
    case CZoomView::DragStep::None:
        break;
    case CZoomView::DragStep::Redraw:
        UpdateScrollBars();
        RedrawPhoto();
        break;
    case CZoomView::DragStep::ReleaseCapture:
        m_dlg.releaseMouse();
        break;
    }
}

void CPhotoPanel::OnLButtonUp()
{
    m_zoom.OnLButtonUp();
    // Also when the drag was ended from elsewhere (a list's key choosing another prefecture
    // clears the view): the mouse must never stay captured once the button is up.
    if (QWidget::mouseGrabber() == &m_dlg)
        m_dlg.releaseMouse();
}

bool CPhotoPanel::OnWheel(const QPoint &point, int angleDelta)
{
    if (!m_zoom.GetFrameRect().contains(point)) {
        m_zoom.ForgetWheel();
        return false;
    }
    if (m_zoom.WheelAt(angleDelta, point))
        ShowZoom();
    return true;
}

bool CPhotoPanel::HasMainPicture() const
{
    return m_zoom.IsMainImageLoaded() && !m_picture.GetImage(0).isNull();
}

void CPhotoPanel::OnFitWhole()
{
    if (!HasMainPicture())
        return;
    m_zoom.FitWhole();
    ShowZoom();
}

void CPhotoPanel::OnActualSize()
{
    if (!HasMainPicture())
        return;
    m_zoom.ActualSizeAt(m_zoom.GetFrameCentre());
    ShowZoom();
}

void CPhotoPanel::OnCopyPicture()
{
    if (HasMainPicture())
        CPictureFile::Copy(m_picture.GetImage(0));
}

void CPhotoPanel::OnSavePicture()
{
    if (HasMainPicture())
        CPictureFile::SaveAs(&m_dlg, m_picture.GetImage(0), CPictureFile::ProposedName(m_strName));
}

bool CPhotoPanel::SaveMainPicture(const QString &path)
{
    return HasMainPicture() && CPictureFile::Write(&m_dlg, m_picture.GetImage(0), path);
}

bool CPhotoPanel::OnFrameKey(int key)
{
    const std::vector<CZoomView::KeyMove> moves = CZoomView::PanKeyMoves(key);
    // Disabled bars mean the whole photograph is shown: there is nowhere to go.
    if (m_zoom.GetControls().bScrollEnabled) {
        for (const CZoomView::KeyMove &move : moves)
            OnScroll(move.bar, move.bar == CZoomView::ScrollBar::Horizontal ? m_sbHorz : m_sbVert, move.nCode);
    }
    return !moves.empty();
}

bool CPhotoPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_photoFrame) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && HasMainPicture()) {
                m_zoom.ToggleFitAt(m_photoFrame->mapTo(&m_dlg, mouse->position().toPoint()));
                ShowZoom();
                return true;
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
                if (OnFrameKey(key->key()))
                    return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
