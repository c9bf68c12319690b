#pragma once
// The program's one window (template 102): the four selection lists, the two tab pages, the
// maker's logo and name, and the square photo frame with its zoom controls. It owns every piece
// of browsing state for its whole life. The selection cascade's state lives in a window-free
// CSelectionCascade that this window mirrors; the photograph block follows the window's size.
// The zoom and pan of the main photograph is worked out by a window-free CZoomView; the handlers
// here forward the user's moves to it, copy what it says the controls show and draw.

#include "browser/CCascadeView.h"
#include "browser/CMainLayout.h"
#include "browser/CSelectionCascade.h"
#include "controls/CRvDialog.h"
#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"
#include "settings/CProgramFolder.h"
#include "viewer/CPictureImage.h"
#include "viewer/CZoomView.h"

#include <QFont>
#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QString>

class CBrandSearchDlg;
class CImageButton;
class CPhotoFrame;
class CRvListBox;
class CRvSliderCtrl;
class CRvTabCtrl;
class QLineEdit;
class QScrollBar;

class CKelmoraDlg : public CRvDialog, private CCascadeView
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 102;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_LIST_MARK = 1027;
    static constexpr int IDC_LIST_BUREAU = 1024;
    static constexpr int IDC_LIST_PREF = 1006;
    static constexpr int IDC_LIST_CLASS = 1007;
    static constexpr int IDC_LIST_GRAIN = 1008;
    static constexpr int IDC_TAB = 1018;
    static constexpr int IDC_MAKER_LOGO = 1039;
    static constexpr int IDC_MAKER_NAME = 1037;
    static constexpr int IDC_MAKER_FRAME = 1038;
    static constexpr int IDC_ZOOM_IN = 1013;
    static constexpr int IDC_ZOOM_OUT = 1014;
    static constexpr int IDC_ZOOM_EDIT = 1031;
    static constexpr int IDC_ZOOM_SLIDER = 1030;
    static constexpr int IDC_PHOTO_FRAME = 1015;
    static constexpr int IDC_SCROLL_VERT = 1012;
    static constexpr int IDC_SCROLL_HORZ = 1011;
    // The About command; the low four bits of a command carry no meaning.
    static constexpr int IDM_ABOUTBOX = 0x0010;

    // `program`: where the region table, the data folder and the settings file lie.
    explicit CKelmoraDlg(const CProgramFolder &program, QWidget *parent = nullptr);
    ~CKelmoraDlg() override;

    bool IsInitialized() const { return m_bInitialized != 0; }
    const CSelectionCascade &GetCascade() const { return m_cascade; }
    const CCatalogData &GetCatalog() const { return m_catalog; }
    const QString &GetDataPath() const { return m_strDataPath; }
    const QRect &GetPhotoFrameRect() const { return m_zoom.GetFrameRect(); }
    // The main photograph's view: scale, visible square, and what the zoom controls show.
    const CZoomView &GetZoomView() const { return m_zoom; }
    const CPictureImage &GetPictureImage() const { return m_picture; }
    CFeaturePage &GetFeaturePage() { return m_pageFeature; }
    CHistoryPage &GetHistoryPage() { return m_pageHistory; }

    // 銘柄検索 (Ctrl+F, the context menu): the one search window, made on first use, brought to
    // the front with its query selected.
    void OpenBrandSearch();
    // The search window, or null before it was first opened.
    CBrandSearchDlg *GetBrandSearch() const { return m_pBrandSearch; }
    // Chooses a brand of the catalogue as the user's clicks in the four lists would: region,
    // prefecture, classification, brand, each selected and then handled as a click is.
    void ChooseBrand(const CBrandIndex::Entry &entry);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Construction: the template's controls at their template places.
    void CreateControls();

    // Initialisation, once, when the window is first shown.
    void OnInitDialog();
    void SetUpControls();
    void SetUpTabPages();

    // Window messages.
    void OnSize(bool minimized, int cx, int cy);
    void ArrangePhotoBlock(int cx, int cy);
    CMainLayout::Block CurrentPhotoBlock() const;
    void OnSysCommand(int command);
    void OnSelchangeTab();
    void OnMakerDoubleClick();

    // The four lists' selection changes, passed to the cascade.
    void OnSelchangeBureau();
    void OnSelchangePref();
    void OnSelchangeClass();
    void OnSelchangeGrain();

    // Zoom and pan of the main photograph: each forwards to m_zoom, then copies the controls.
    void PlaceScrollBars();
    // Trackbar position and percentage text, without the trackbar's handler running.
    void UpdateZoomDisplay();
    // Scroll bars: enabled, range and positions.
    void UpdateScrollBars();
    // Draws slot 0 into the frame at once with the current source square.
    void RedrawPhoto();
    // Shows the photograph now in slot 0 whole at its fit scale; `bMainImageLoaded` is whether
    // loading it succeeded.
    void FitNewPhoto(bool bMainImageLoaded);
    void OnZoomIn();
    void OnZoomOut();
    void OnTrackbarScroll();
    // A scroll bar's action (QAbstractSlider::SliderAction) as the window system's scroll code.
    void OnHScroll(int action);
    void OnVScroll(int action);
    void OnScroll(CZoomView::ScrollBar bar, QScrollBar *control, int code);
    void OnLButtonDown(const QPoint &point);
    void OnMouseMove(const QPoint &point);
    void OnLButtonUp();

    // CCascadeView: the cascade's effects on the window.
    void SetBureauItems(const QStringList &names) override;
    void SetClassItems(const QStringList &names) override;
    void SetPrefItems(const QStringList &names) override;
    void SetGrainItems(const QStringList &names) override;
    void SelectBureauItem(int position) override;
    void SelectPrefItem(int position) override;
    void SelectClassItem(int position) override;
    void SelectGrainItem(int position) override;
    void AttachPictureHolder() override;
    void ClearGrainDisplay() override;
    void ShowFeatureTab() override;
    // The chosen brand's texts and photographs.
    void ShowGrain() override;

    bool m_bCreated = false;  // initialisation has run (or is running)
    int m_bInitialized = 0;   // the resize layout runs only once this is 1
    QFont m_font;
    CProgramFolder m_program;
    QString m_strDataPath;
    QRect m_rcInitWindow;
    QRect m_rcMakerFrame;
    // The photo frame's rectangle, the scales, the visible square, the drag and whether slot 0
    // holds the brand's main photograph.
    CZoomView m_zoom;
    // Wheel turns not yet worth a whole zoom step (high-resolution wheels send parts of a notch).
    int m_nWheelRest = 0;
    CCatalogData m_catalog;
    CSelectionCascade m_cascade;
    CPictureImage m_picture;
    CFeaturePage m_pageFeature;
    CHistoryPage m_pageHistory;
    QIcon m_hIcon;

    // Controls, owned by the window as their parent.
    CImageButton *m_btnZoomIn = nullptr;
    CImageButton *m_btnZoomOut = nullptr;
    CImageButton *m_btnExit = nullptr;
    CRvListBox *m_lstMark = nullptr;
    CRvListBox *m_lstBureau = nullptr;
    CRvListBox *m_lstPref = nullptr;
    CRvListBox *m_lstClass = nullptr;
    CRvListBox *m_lstGrain = nullptr;
    CRvTabCtrl *m_tab = nullptr;
    QScrollBar *m_sbVert = nullptr;
    QScrollBar *m_sbHorz = nullptr;
    CPhotoFrame *m_photoFrame = nullptr;
    QLineEdit *m_editZoom = nullptr;
    QString m_strZoom;
    CRvSliderCtrl *m_slider = nullptr;
    CBrandSearchDlg *m_pBrandSearch = nullptr;  // a child of the window
};
