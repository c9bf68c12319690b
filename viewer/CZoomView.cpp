#include "viewer/CZoomView.h"

#include <clocale>
#include <cstdio>

Q_LOGGING_CATEGORY(lcKelmoraZoom, "kelmora.zoom", QtInfoMsg)

void CZoomView::InitControls(const QRect &rcPhotoFrame)
{
    m_rcPhotoFrame = rcPhotoFrame;
    m_bMainImageLoaded = false;
    m_nImageSize = kDefaultImageSize;
    m_dFitScale = m_dScale = m_rcPhotoFrame.width() / static_cast<double>(kDefaultImageSize);
    UpdateZoomDisplay();
    ResetVisibleSquare();
    m_bDragging = false;
    DisableScrollBars();
}

void CZoomView::FitNewPhoto(bool bMainImageLoaded, int nMainImageWidth)
{
    m_bMainImageLoaded = bMainImageLoaded;
    m_nImageSize = kDefaultImageSize;
    // A loaded picture always has a width; a zero answer would make the fit scale infinite, so the
    // assumed size stays then.
    if (m_bMainImageLoaded && nMainImageWidth > 0)
        m_nImageSize = nMainImageWidth;
    m_dFitScale = m_dScale = m_rcPhotoFrame.width() / static_cast<double>(m_nImageSize);
    ResetVisibleSquare();
    DisableScrollBars();
    UpdateZoomDisplay();
}

void CZoomView::Resize(const QRect &rcPhotoFrame)
{
    m_rcPhotoFrame = rcPhotoFrame;
    m_dFitScale = m_rcPhotoFrame.width() / static_cast<double>(m_nImageSize);
    ApplyZoom();
}

void CZoomView::ClearView()
{
    ResetVisibleSquare();
    m_bDragging = false;
}

int CZoomView::GetVisibleSize() const
{
    const double r = 1.0 / m_dScale;
    return static_cast<int>(m_rcPhotoFrame.width() * r);
}

int CZoomView::GetMaxScrollPos() const
{
    return m_nImageSize - GetVisibleSize() - 1;
}

int CZoomView::GetLineStep() const
{
    const double r = 1.0 / m_dScale;
    return static_cast<int>(kLineStepPixels * r);
}

void CZoomView::UpdateZoomDisplay()
{
    if (m_bMainImageLoaded) {
        const double p = m_dScale * 100;
        // A frame wider than the photograph has a fit scale above 1.0; the trackbar control keeps
        // its position inside its range.
        m_controls.nTrackbarPos = qBound(0, static_cast<int>(p * 10), kTrackbarMax);
        m_controls.strZoom = FormatPercent(p);
    } else {
        m_controls.nTrackbarPos = 0;
        m_controls.strZoom.clear();
    }
}

QString CZoomView::FormatPercent(double percent)
{
    // The C library rounds the exact binary value to the nearest tenth (a tie to the even digit);
    // Qt's own formatting would round 31.25 up. A scale is at most a few hundred percent, but any
    // double fits: the text is cut, never overrun.
    char text[64];
    std::snprintf(text, sizeof text, "%.1f%%", percent);
    QString result = QString::fromLocal8Bit(text);
    // The program runs in the user's locale, whose decimal mark may be a comma; the zoom always
    // shows a point.
    const QString mark = QString::fromLocal8Bit(std::localeconv()->decimal_point);
    if (!mark.isEmpty() && mark != QLatin1String("."))
        result.replace(mark, QStringLiteral("."));
    return result;
}

void CZoomView::ApplyZoom()
{
    if (m_dScale > kMaxScale)
        m_dScale = kMaxScale;
    if (m_dFitScale >= m_dScale) {
        m_dScale = m_dFitScale;
        ResetVisibleSquare();
        DisableScrollBars();
    } else {
        const int v = GetVisibleSize();
        m_nSrcWidth = m_nSrcHeight = v;
        // Every zoom change re-centres the view on the photograph's centre.
        m_nSrcX = m_nImageSize / 2 - v / 2;
        if (m_nSrcX < 0)
            m_nSrcX = 0;
        m_nScrollY = m_nSrcX;
        UpdateScrollBars();
    }
    UpdateZoomDisplay();
}

void CZoomView::UpdateScrollBars()
{
    DisableScrollBars();
    if (!m_bMainImageLoaded)
        return;
    if (m_dScale <= m_dFitScale) {
        ResetVisibleSquare();
        return;
    }
    m_controls.bScrollEnabled = true;
    const int v = GetVisibleSize();
    const int m = m_nImageSize - v - 1;
    m_nSrcWidth = m_nSrcHeight = v;
    m_controls.nScrollMax = m;

    if (m_nSrcX + v >= m_nImageSize)
        m_nSrcX = m;
    if (m_nSrcX < 0)
        m_nSrcX = 0;
    m_controls.nHorzPos = m_nSrcX;

    if (m_nScrollY + v >= m_nImageSize)
        m_nScrollY = m;
    if (m_nScrollY < 0)
        m_nScrollY = 0;
    m_controls.nVertPos = m_nScrollY;

    m_nSrcY = m - m_nScrollY;
}

void CZoomView::RedrawPhoto()
{
    // Worked out in every view; the whole view draws with a zero source square and ignores it.
    m_nSrcY = m_nImageSize - GetVisibleSize() - 1 - m_nScrollY;
    qCDebug(lcKelmoraZoom, "DispTopPos:%d(Calc:%d)", m_nSrcY, m_nScrollY);
}

void CZoomView::ZoomIn()
{
    m_dScale = m_dScale + kZoomStep;
    ApplyZoom();
    RedrawPhoto();
}

void CZoomView::ZoomOut()
{
    m_dScale = m_dScale - kZoomStep;
    ApplyZoom();
    RedrawPhoto();
}

void CZoomView::ApplyZoomAt(double dScale, const QPoint &ptFrame)
{
    const int w = m_rcPhotoFrame.width();
    if (!m_bMainImageLoaded || w <= 0) {
        m_dScale = dScale;
        ApplyZoom();
        RedrawPhoto();
        return;
    }
    // The photograph's point under the pointer in the view as it is drawn now: the whole
    // photograph, or the visible square whose top row is one below the vertical scroll position
    // (the square's rows count upwards from the bottom edge).
    const double dx = qBound(0, ptFrame.x() - FrameLeft(), w);
    const double dy = qBound(0, ptFrame.y() - FrameTop(), w);
    const bool bWhole = m_nSrcWidth <= 0;
    const double before = bWhole ? m_nImageSize : m_nSrcWidth;
    const double px = (bWhole ? 0 : m_nSrcX) + dx * before / w;
    const double py = (bWhole ? 0 : m_nScrollY + 1) + dy * before / w;

    if (dScale > kMaxScale)
        dScale = kMaxScale;
    if (dScale < m_dFitScale)
        dScale = m_dFitScale;
    // A zoomed view whose scale stays as it is stays where it is (rather than drift by a pixel
    // per turn of the wheel at 100 %).
    const bool bSame = !bWhole && dScale == m_dScale;
    m_dScale = dScale;
    if (bSame) {
        UpdateScrollBars();
    } else if (m_dFitScale >= m_dScale) {
        m_dScale = m_dFitScale;
        ResetVisibleSquare();
        DisableScrollBars();
    } else {
        const int v = GetVisibleSize();
        m_nSrcWidth = m_nSrcHeight = v;
        // Rounded to the nearest pixel: truncated, turn after turn at one place would creep
        // towards the top-left corner.
        m_nSrcX = qRound(px - dx * v / w);
        m_nScrollY = qRound(py - dy * v / w) - 1;
        // Held inside the photograph the way the bars hold their positions.
        UpdateScrollBars();
    }
    UpdateZoomDisplay();
    RedrawPhoto();
}

bool CZoomView::WheelAt(int angleDelta, const QPoint &ptFrame)
{
    // One notch of a mouse wheel; high-resolution wheels send parts of it.
    constexpr int kWheelNotch = 120;
    m_nWheelRest += angleDelta;
    bool zoomed = false;
    for (; m_nWheelRest >= kWheelNotch; m_nWheelRest -= kWheelNotch, zoomed = true)
        ZoomAt(1, ptFrame);
    for (; m_nWheelRest <= -kWheelNotch; m_nWheelRest += kWheelNotch, zoomed = true)
        ZoomAt(-1, ptFrame);
    return zoomed;
}

void CZoomView::ZoomAt(int nSteps, const QPoint &ptFrame)
{
    ApplyZoomAt(m_dScale + nSteps * kZoomStep, ptFrame);
}

void CZoomView::FitWhole()
{
    ApplyZoomAt(m_dFitScale, GetFrameCentre());
}

void CZoomView::ActualSizeAt(const QPoint &ptFrame)
{
    ApplyZoomAt(kMaxScale, ptFrame);
}

void CZoomView::ToggleFitAt(const QPoint &ptFrame)
{
    if (IsZoomed())
        FitWhole();
    else
        ActualSizeAt(ptFrame);
}

void CZoomView::OnTrackbar(int nPos)
{
    m_dScale = nPos / static_cast<double>(kTrackbarMax);
    if (m_dScale < m_dFitScale)
        m_dScale = m_dFitScale;
    ApplyZoom();
    RedrawPhoto();
}

bool CZoomView::OnScroll(ScrollBar bar, int nCode, int nThumbPos)
{
    const bool bHorz = bar == ScrollBar::Horizontal;
    const int c = bHorz ? m_controls.nHorzPos : m_controls.nVertPos;
    const int l = GetLineStep();
    const int v = GetVisibleSize();
    const int m = m_nImageSize - v - 1;

    int n = 0;
    switch (nCode) {
    case ScrollLineUp:
        n = c - l;
        break;
    case ScrollLineDown:
        n = c + l;
        break;
    case ScrollPageUp:
        n = c - GetVisibleSize();
        break;
    case ScrollPageDown:
        n = c + GetVisibleSize();
        break;
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        n = nThumbPos;
        break;
    case ScrollTop:
        n = 0;
        break;
    case ScrollBottom:
        n = m;
        break;
    default:
        return false;
    }

    const int stored = ClampScrollPos(n, v, m);
    if (bHorz) {
        m_nSrcX = stored;
        m_controls.nHorzPos = stored;
    } else {
        m_nScrollY = stored;
        m_controls.nVertPos = stored;
    }
    RedrawPhoto();
    return true;
}

int CZoomView::ClampScrollPos(int nPos, int nVisible, int nMax) const
{
    if (nPos < 0)
        nPos = 0;
    else if (nPos > nMax)
        nPos = nMax;
    if (nPos + nVisible >= m_nImageSize)
        nPos = m_nImageSize - nVisible - 1;
    return nPos;
}

bool CZoomView::IsStrictlyInsideFrame(const QPoint &pt) const
{
    return FrameLeft() < pt.x() && pt.x() < FrameRight() && FrameTop() < pt.y() && pt.y() < FrameBottom();
}

bool CZoomView::OnLButtonDown(const QPoint &pt)
{
    if (!m_bMainImageLoaded || !(m_dFitScale < m_dScale))
        return false;
    if (IsStrictlyInsideFrame(pt)) {
        m_bDragging = true;
        m_ptDragLast = QPoint(pt.x() - FrameLeft(), pt.y() - FrameTop());
        return true;
    }
    m_bDragging = false;
    return false;
}

CZoomView::DragStep CZoomView::OnMouseMove(const QPoint &pt)
{
    if (!m_bDragging)
        return DragStep::None;
    if (!IsStrictlyInsideFrame(pt)) {
        m_bDragging = false;
        return DragStep::ReleaseCapture;
    }
    const double r = 1.0 / m_dScale;
    const int x = pt.x() - FrameLeft();
    const int y = pt.y() - FrameTop();
    m_nSrcX = m_nSrcX - static_cast<int>((x - m_ptDragLast.x()) * r);
    m_nScrollY = m_nScrollY - static_cast<int>((y - m_ptDragLast.y()) * r);
    m_ptDragLast = QPoint(x, y);
    UpdateScrollBars();
    RedrawPhoto();
    return DragStep::Redraw;
}

bool CZoomView::OnLButtonUp()
{
    const bool bWasDragging = m_bDragging;
    m_bDragging = false;
    return bWasDragging;
}

void CZoomView::ResetVisibleSquare()
{
    m_nSrcY = m_nSrcX = m_nScrollY = m_nSrcWidth = m_nSrcHeight = 0;
}

std::vector<CZoomView::KeyMove> CZoomView::PanKeyMoves(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return {{ScrollBar::Horizontal, ScrollLineUp}};
    case Qt::Key_Right:
        return {{ScrollBar::Horizontal, ScrollLineDown}};
    case Qt::Key_Up:
        return {{ScrollBar::Vertical, ScrollLineUp}};
    case Qt::Key_Down:
        return {{ScrollBar::Vertical, ScrollLineDown}};
    case Qt::Key_PageUp:
        return {{ScrollBar::Vertical, ScrollPageUp}};
    case Qt::Key_PageDown:
        return {{ScrollBar::Vertical, ScrollPageDown}};
    case Qt::Key_Home:
        return {{ScrollBar::Horizontal, ScrollTop}, {ScrollBar::Vertical, ScrollTop}};
    case Qt::Key_End:
        return {{ScrollBar::Horizontal, ScrollBottom}, {ScrollBar::Vertical, ScrollBottom}};
    default:
        return {};
    }
}
