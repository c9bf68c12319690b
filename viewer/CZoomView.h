#pragma once
// Zoom and pan of the main photograph, without a window.
//
// The view shows a square part of the square main photograph in the square photo frame. The
// window forwards its control events here (zoom buttons, trackbar, scroll bars, mouse) and then
// copies what this class says the controls must show: scroll bars (enabled, range, positions),
// trackbar position, percentage text, and whether the photograph must be drawn now with
// GetSourceRect().
//
// Terms: W = frame width (the frame is square), S = m_nImageSize (the photograph is square),
// scale = screen pixels per photograph pixel, V = trunc(W × (1 ÷ scale)) the visible size,
// M = S − V − 1 the largest scroll position, L = trunc(20 × (1 ÷ scale)) the line step. Every
// double-to-int conversion truncates toward zero, and the operations run in exactly this order,
// because the trackbar and the scroll positions are compared against values written down to the
// last unit (for example a trackbar at 290 is set back to 289).

#include <QLoggingCategory>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

// The trace line "DispTopPos:%d(Calc:%d)" of every redraw; debug level, off unless enabled with
// QT_LOGGING_RULES="kelmora.zoom.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcKelmoraZoom)

class CZoomView
{
public:
    static constexpr double kZoomStep = 0.1;        // one click of 拡大 or 縮小
    static constexpr double kMaxScale = 1.0;        // zooming stops at one photograph pixel per screen pixel
    static constexpr int kDefaultImageSize = 3840;  // assumed while there is no photograph
    static constexpr int kTrackbarMax = 1000;       // trackbar range 0 .. 1000
    static constexpr int kLineStepPixels = 20;      // one scroll line covers 20 screen pixels

    // Scroll notification codes, as the window system numbers them.
    enum ScrollCode {
        ScrollLineUp = 0,         // line left / line up
        ScrollLineDown = 1,       // line right / line down
        ScrollPageUp = 2,         // page left / page up
        ScrollPageDown = 3,       // page right / page down
        ScrollThumbPosition = 4,  // thumb released at a position
        ScrollThumbTrack = 5,     // thumb being dragged
        ScrollTop = 6,            // left end / top
        ScrollBottom = 7          // right end / bottom; end of scroll (8) and every higher code
                                  // changes nothing
    };

    enum class ScrollBar { Horizontal, Vertical };

    // What a mouse move during a drag asks of the window.
    enum class DragStep {
        None,           // no drag under way: nothing to do
        Redraw,         // the view moved: copy the controls and draw the photograph
        ReleaseCapture  // the pointer left the frame: the drag is over, release the mouse
    };

    // What the window's controls show; kept here so that the window only copies it.
    struct Controls {
        bool bScrollEnabled = false;  // both scroll bars together
        int nScrollMax = 0;           // both bars' range is 0 .. nScrollMax (last set while enabled)
        int nHorzPos = 0;             // position of the horizontal bar
        int nVertPos = 0;             // position of the vertical bar
        int nTrackbarPos = 0;         // 0 .. kTrackbarMax
        QString strZoom;              // the percentage text, empty without a photograph
    };

    CZoomView() = default;

    // Control initialisation, once the photo frame has been made square: no photograph, size 3840,
    // fit scale = scale = W ÷ 3840, trackbar 0, empty text, whole view, bars disabled.
    void InitControls(const QRect &rcPhotoFrame);

    // A new main photograph (or none) was put in slot 0: `bMainImageLoaded` is the load's result,
    // `nMainImageWidth` the holder's answer for the width (0 if it had none). Shows it whole at
    // its fit scale.
    void FitNewPhoto(bool bMainImageLoaded, int nMainImageWidth);

    // The frame was resized (kept square): the fit scale follows, the zoom is applied again.
    void Resize(const QRect &rcPhotoFrame);

    // The brand display was cleared: the visible-square members go back to zero and a drag ends.
    // The scale, the fit scale, the photograph flag and the controls stay as they were.
    void ClearView();

    // The zoom buttons: scale ± 0.1, then clamp, re-centre and draw. The caller draws.
    void ZoomIn();
    void ZoomOut();

    // Zooms by `nSteps` zoom steps (negative: out) keeping the photograph's point under
    // `ptFrame` (window coordinates, held inside the frame) where it is on the screen, as far as
    // the photograph's edges allow. The scroll positions follow, so a later scroll continues from
    // the new view. The caller draws.
    void ZoomAt(int nSteps, const QPoint &ptFrame);
    // A wheel turn of `angleDelta` (QWheelEvent::angleDelta units) at `ptFrame`: one ZoomAt step
    // per whole notch, away from the user zooming in; parts of a notch add up with the next
    // turns. Answers whether the view zoomed (the caller draws).
    bool WheelAt(int angleDelta, const QPoint &ptFrame);
    // The pointer left the picture: parts of a notch turned so far are forgotten.
    void ForgetWheel() { m_nWheelRest = 0; }
    // Back to the fit scale, the whole photograph shown. The caller draws.
    void FitWhole();
    // One photograph pixel per screen pixel with the photograph's point under `ptFrame` kept in
    // place; a photograph smaller than the frame stays at its fit scale. The caller draws.
    void ActualSizeAt(const QPoint &ptFrame);
    // A double-click: a zoomed view goes back to the whole photograph, the whole one goes to
    // 100 % at the point. The caller draws.
    void ToggleFitAt(const QPoint &ptFrame);
    // The frame's centre, for the commands that act on the middle of the current view.
    QPoint GetFrameCentre() const
    {
        return QPoint(FrameLeft() + m_rcPhotoFrame.width() / 2, FrameTop() + m_rcPhotoFrame.height() / 2);
    }

    // The trackbar was moved (by the user) to `nPos`. The caller draws afterwards.
    void OnTrackbar(int nPos);

    // A scroll bar notification; `nThumbPos` is the position carried by thumb messages. Answers
    // whether the view changed and the photograph must be drawn.
    bool OnScroll(ScrollBar bar, int nCode, int nThumbPos = 0);

    // Mouse handling for drag-pan; points in the same coordinates as the frame rectangle.
    // Answers true when a drag starts and the mouse must be captured.
    bool OnLButtonDown(const QPoint &pt);
    DragStep OnMouseMove(const QPoint &pt);
    // Answers true when a drag was under way and the capture must be released.
    bool OnLButtonUp();

    // The scroll moves of a panning key: the arrows a line, PageUp and PageDown a page, Home and
    // End both bars to the top-left and bottom-right corners, like the start and end of a
    // document. None for any other key (a Qt::Key value).
    struct KeyMove {
        ScrollBar bar;
        int nCode;
    };
    static std::vector<KeyMove> PanKeyMoves(int key);

    // V, M and L for the current scale and frame.
    int GetVisibleSize() const;
    int GetMaxScrollPos() const;
    int GetLineStep() const;

    // Source square for drawing slot 0: (m_nSrcX, m_nSrcY, m_nSrcWidth, m_nSrcHeight), y counted
    // upwards from the photograph's bottom edge; all zero means the whole photograph.
    QRect GetSourceRect() const { return QRect(m_nSrcX, m_nSrcY, m_nSrcWidth, m_nSrcHeight); }
    const Controls &GetControls() const { return m_controls; }

    // The view state, for the window's own use and for tests.
    const QRect &GetFrameRect() const { return m_rcPhotoFrame; }
    bool IsMainImageLoaded() const { return m_bMainImageLoaded; }
    int GetImageSize() const { return m_nImageSize; }
    double GetFitScale() const { return m_dFitScale; }
    double GetScale() const { return m_dScale; }
    int GetSrcX() const { return m_nSrcX; }
    int GetScrollY() const { return m_nScrollY; }
    int GetSrcY() const { return m_nSrcY; }
    bool IsDragging() const { return m_bDragging; }
    QPoint GetDragLast() const { return m_ptDragLast; }
    bool IsZoomed() const { return m_dScale > m_dFitScale; }

    // Slot 0 no longer holds the brand's photograph (a brand choice that matched no record); the
    // rest of the view stays until the next FitNewPhoto.
    void ForgetMainImage() { m_bMainImageLoaded = false; }

    // "%.1f%%" of the percentage, rounded as the C library rounds the exact binary value (31.25
    // gives "31.2", 18.75 gives "18.8").
    static QString FormatPercent(double percent);

private:
    void ApplyZoom();
    // Sets the scale to `dScale` (clamped as the buttons clamp it) and moves the visible square so
    // that the photograph's point under `ptFrame` stays under it.
    void ApplyZoomAt(double dScale, const QPoint &ptFrame);
    void UpdateScrollBars();
    void UpdateZoomDisplay();
    // Derives m_nSrcY from the vertical scroll position and writes the trace line; the caller
    // then draws slot 0 with GetSourceRect().
    void RedrawPhoto();

    int FrameLeft() const { return m_rcPhotoFrame.x(); }
    int FrameTop() const { return m_rcPhotoFrame.y(); }
    int FrameRight() const { return m_rcPhotoFrame.x() + m_rcPhotoFrame.width(); }
    int FrameBottom() const { return m_rcPhotoFrame.y() + m_rcPhotoFrame.height(); }
    bool IsStrictlyInsideFrame(const QPoint &pt) const;
    void ResetVisibleSquare();
    void DisableScrollBars() { m_controls.bScrollEnabled = false; }
    // Clamps a stored scroll position the way the bars do it and returns the clamped value.
    int ClampScrollPos(int nPos, int nVisible, int nMax) const;

    // The frame rectangle's right and bottom are the first column and row past the frame
    // (left + W, top + W), as the window system counts rectangles.
    QRect m_rcPhotoFrame;
    bool m_bMainImageLoaded = false;
    int m_nImageSize = kDefaultImageSize;
    double m_dFitScale = 0.0;
    double m_dScale = 0.0;
    int m_nSrcX = 0;
    int m_nScrollY = 0;
    int m_nSrcY = 0;
    int m_nSrcWidth = 0;
    int m_nSrcHeight = 0;
    bool m_bDragging = false;
    QPoint m_ptDragLast;
    Controls m_controls;
    int m_nWheelRest = 0;  // wheel turns not yet worth a whole zoom step
};
