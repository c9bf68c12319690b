#pragma once
// The program's one window (template 102): the four selection lists, the two tab pages, the
// maker's logo and name, and the square photo frame with its zoom controls. It owns every piece
// of browsing state for its whole life. The selection cascade's state lives in a window-free
// CSelectionCascade that this window mirrors. The photograph block (the photo frame with its zoom
// and pan controls) is handled by a CPhotoPanel, to which this window forwards its mouse input; the
// photograph holder is this window's and it shows the brand's pictures in the four frames.

#include "app/CPhotoPanel.h"
#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"
#include "browser/CCascadeView.h"
#include "browser/CSelectionCascade.h"
#include "controls/CRvDialog.h"
#include "settings/CProgramFolder.h"
#include "viewer/CPictureImage.h"

#include <QFont>
#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QString>

class CBrandSearchDlg;
class CImageButton;
class CPhotoFrame;
class CRvListBox;
class CRvTabCtrl;

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
    static constexpr int IDC_ZOOM_IN = CPhotoPanel::IDC_ZOOM_IN;
    static constexpr int IDC_ZOOM_OUT = CPhotoPanel::IDC_ZOOM_OUT;
    static constexpr int IDC_ZOOM_EDIT = CPhotoPanel::IDC_ZOOM_EDIT;
    static constexpr int IDC_ZOOM_SLIDER = CPhotoPanel::IDC_ZOOM_SLIDER;
    static constexpr int IDC_PHOTO_FRAME = CPhotoPanel::IDC_PHOTO_FRAME;
    static constexpr int IDC_SCROLL_VERT = CPhotoPanel::IDC_SCROLL_VERT;
    static constexpr int IDC_SCROLL_HORZ = CPhotoPanel::IDC_SCROLL_HORZ;
    // The About command; the low four bits of a command carry no meaning.
    static constexpr int IDM_ABOUTBOX = 0x0010;

    // `program`: where the region table, the data folder and the settings file lie;
    // `strPictureFolder` holds the brands' photographs, PNG files named by resource number.
    explicit CKelmoraDlg(const CProgramFolder &program, QWidget *parent = nullptr,
                         const QString &strPictureFolder = QString::fromLatin1(CPictureImage::kProgramPictures));
    ~CKelmoraDlg() override;

    bool IsInitialized() const { return m_bInitialized != 0; }
    const CSelectionCascade &GetCascade() const { return m_cascade; }
    const CCatalogData &GetCatalog() const { return m_catalog; }
    const QString &GetDataPath() const { return m_strDataPath; }
    const QRect &GetPhotoFrameRect() const { return GetZoomView().GetFrameRect(); }
    // The main photograph's view: scale, visible square, and what the zoom controls show.
    const CZoomView &GetZoomView() const { return m_photo.GetZoomView(); }
    const CPictureImage &GetPictureImage() const { return m_picture; }
    CFeaturePage &GetFeaturePage() { return m_pageFeature; }
    CHistoryPage &GetHistoryPage() { return m_pageHistory; }

    // The built-in brands' photographs are decoded in the background once the window is shown,
    // and kept decoded. Off, every choice decodes its photographs when it is made (benchmarks
    // compare the two); to take effect it must be set before the window is first shown.
    void SetDecodeAhead(bool bDecodeAhead) { m_bDecodeAhead = bDecodeAhead; }

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
    void OnSysCommand(int command);
    void OnSelchangeTab();
    void OnMakerDoubleClick();

    // The four lists' selection changes, passed to the cascade.
    void OnSelchangeBureau();
    void OnSelchangePref();
    void OnSelchangeClass();
    void OnSelchangeGrain();

    // The frame showing a picture slot: 0 the photo frame, 1 and 2 the characteristics page's,
    // 3 the pedigree page's; null before the pages exist.
    CPhotoFrame *SlotFrame(int slot) const;
    // The pages' frames show their slots as they are now.
    void ShowPagePictures();

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
    bool m_bDecodeAhead = true;
    bool m_bPainted = false;  // the window has been painted once
    int m_bInitialized = 0;   // the resize layout runs only once this is 1
    QFont m_font;
    CProgramFolder m_program;
    QString m_strDataPath;
    QRect m_rcInitWindow;
    QRect m_rcMakerFrame;
    CCatalogData m_catalog;
    CSelectionCascade m_cascade;
    CPictureImage m_picture;
    CPhotoPanel m_photo;
    CFeaturePage m_pageFeature;
    CHistoryPage m_pageHistory;
    QIcon m_hIcon;

    // Controls, owned by the window as their parent.
    CImageButton *m_btnExit = nullptr;
    CRvListBox *m_lstMark = nullptr;
    CRvListBox *m_lstBureau = nullptr;
    CRvListBox *m_lstPref = nullptr;
    CRvListBox *m_lstClass = nullptr;
    CRvListBox *m_lstGrain = nullptr;
    CRvTabCtrl *m_tab = nullptr;
    CBrandSearchDlg *m_pBrandSearch = nullptr;  // a child of the window
};
