#pragma once
// The main window's photograph block: the square photo frame 1015 with its scroll bars 1011 and
// 1012, the zoom buttons 1013 拡大 and 1014 縮小, the trackbar 1030 and the percentage edit 1031.
// The controls are children of the window, which finds them by their ids; this object makes them,
// lays the block out, and shows slot 0 of the window's photograph holder in the frame. The zoom
// and pan is worked out by the window-free CZoomView it owns: the handlers here forward the
// user's moves to it and copy what it says the controls show.

#include "browser/CMainLayout.h"
#include "viewer/CZoomView.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class CImageButton;
class CPhotoFrame;
class CPictureImage;
class CRvDialog;
class CRvSliderCtrl;
class QFont;
class QLineEdit;
class QScrollBar;

class CPhotoPanel : public QObject
{
    Q_OBJECT

public:
    static constexpr int IDC_ZOOM_IN = 1013;
    static constexpr int IDC_ZOOM_OUT = 1014;
    static constexpr int IDC_ZOOM_EDIT = 1031;
    static constexpr int IDC_ZOOM_SLIDER = 1030;
    static constexpr int IDC_PHOTO_FRAME = 1015;
    static constexpr int IDC_SCROLL_VERT = 1012;
    static constexpr int IDC_SCROLL_HORZ = 1011;

    CPhotoPanel(CRvDialog &dlg, const CPictureImage &picture);

    // Construction: the block's controls at their template places, and the zoom keys.
    void CreateControls();
    // The window's two commands at the end of the photograph's context menu, after a separator:
    // 銘柄検索… (Ctrl+F) and バージョン情報… (F1); the window keeps their keys.
    void AddWindowCommands(const std::function<void()> &search, const std::function<void()> &about);
    // Initialisation: the zoom buttons' font and images, the frame made square, no photograph.
    void SetUpControls(const QFont &font);
    // The block (with the window's exit button) for a client area of cx × cy; the fit scale
    // follows the frame, a zoom still above it is kept and re-centred.
    void Arrange(QWidget *exitButton, int cx, int cy);
    bool Overflows(QWidget *exitButton, int cx, int cy) const;

    // Shows slot 0 as it is now, whole, at its fit scale; `bMainImageLoaded` is whether loading
    // it succeeded.
    // `strName` is the brand's name, the default name of a saved copy.
    void FitNewPhoto(bool bMainImageLoaded, const QString &strName);
    // Slot 0 was emptied with the brand display: the frame shows the empty frame, the visible
    // square goes back to zero and a drag ends; the scales and the zoom display stay.
    void ClearView();
    // A brand choice that matched no record: slot 0 no longer holds the brand's photograph.
    void ForgetMainImage() { m_zoom.ForgetMainImage(); }

    // The window's mouse input, in its client coordinates.
    void OnLButtonDown(const QPoint &point);
    void OnMouseMove(const QPoint &point);
    void OnLButtonUp();
    // A wheel turn at `point`: over the frame it zooms like the buttons (away from the user =
    // 拡大) and answers true; elsewhere it answers false.
    bool OnWheel(const QPoint &point, int angleDelta);

    // The photograph's commands. 全体表示: the whole photograph at its fit scale. 実寸表示: 100 %
    // at the centre of the current view. 画像をコピー: the main photograph at full resolution on
    // the clipboard. 画像を保存…: asks for a file name, then SaveMainPicture. Without a main
    // photograph they do nothing.
    void OnFitWhole();
    void OnActualSize();
    void OnCopyPicture();
    void OnSavePicture();
    // Writes the main photograph at full resolution as PNG to `path`; a failed write is told in a
    // message box. Answers whether the file was written.
    bool SaveMainPicture(const QString &path);

    const CZoomView &GetZoomView() const { return m_zoom; }
    CPhotoFrame *GetFrame() const { return m_photoFrame; }
    // The shown brand's name, as FitNewPhoto was given it.
    const QString &GetName() const { return m_strName; }

protected:
    // The frame's double-click and keys.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // After a zoom: bars, trackbar, percentage and the photograph.
    void ShowZoom();
    bool HasMainPicture() const;
    // The arrows, PageUp/PageDown and Home/End on the focused frame; answers whether the key
    // was one of them.
    bool OnFrameKey(int key);
    CMainLayout::Block CurrentBlock(QWidget *exitButton) const;
    void PlaceScrollBars();
    // Trackbar position and percentage text, without the trackbar's handler running.
    void UpdateZoomDisplay();
    // Scroll bars: enabled, range and positions.
    void UpdateScrollBars();
    // The frame shows the view's square.
    void RedrawPhoto();
    void OnZoomIn();
    void OnZoomOut();
    void OnTrackbarScroll();
    // A scroll bar's action (QAbstractSlider::SliderAction) as the window system's scroll code.
    void OnHScroll(int action);
    void OnVScroll(int action);
    void OnScroll(CZoomView::ScrollBar bar, QScrollBar *control, int code);

    CRvDialog &m_dlg;
    const CPictureImage &m_picture;
    // The frame's rectangle, the scales, the visible square, the drag and whether slot 0 holds
    // the brand's main photograph.
    CZoomView m_zoom;
    // The shown brand's name.
    QString m_strName;

    // Children of the window.
    CImageButton *m_btnZoomIn = nullptr;
    CImageButton *m_btnZoomOut = nullptr;
    QLineEdit *m_editZoom = nullptr;
    CRvSliderCtrl *m_slider = nullptr;
    CPhotoFrame *m_photoFrame = nullptr;
    QScrollBar *m_sbVert = nullptr;
    QScrollBar *m_sbHorz = nullptr;
};
