#include "ui/CKelmoraDlg.h"

#include "app/CAboutDlg.h"
#include "app/CMakerInfo.h"
#include "app/CResourceStrings.h"
#include "app/CRvFileAccess.h"
#include "app/CRvFileIni.h"
#include "app/CUrlOpener.h"
#include "ui/CArtwork.h"
#include "ui/CImageButton.h"
#include "ui/CRvListBox.h"
#include "ui/CRvStatic.h"
#include "ui/CRvTabCtrl.h"
// QCursor first: the wait cursor converts its shape to one.
#include <QCursor>
#include "ui/CWaitCursor.h"
#include "viewer/CPhotoFrame.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>

namespace {
constexpr int kTrackbarMax = 1000;
const QColor kMakerOutline(115, 208, 244);

QLabel *AddLabel(CRvDialog *dlg, const QRect &dlu, const QString &text)
{
    return dlg->AddControl<QLabel>(CRvDialog::kNoId, dlu, text);
}
}  // namespace

CKelmoraDlg::CKelmoraDlg(QWidget *parent)
    : CRvDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                            | Qt::WindowCloseButtonHint)
    , m_cascade(m_catalog, *this)
    , m_hIcon(QPixmap::fromImage(CArtwork::Load(CArtwork::IDI_MAINFRAME)))
{
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    CreateControls();
    resize(MapDialogSize(QSize(636, 383)));
}

CKelmoraDlg::~CKelmoraDlg()
{
    // The controls outlive this object's members (their parent deletes them later); none of them
    // may reach a handler of a half-destroyed window while it goes.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void CKelmoraDlg::CreateControls()
{
    m_btnExit = AddControl<CImageButton>(IDOK, QRect(580, 7, 49, 20), QStringLiteral("終了"));
    m_btnExit->setDefault(true);
    connect(m_btnExit, &QPushButton::clicked, this, &CKelmoraDlg::accept);
    auto *cancel = AddControl<QPushButton>(IDCANCEL, QRect(599, 30, 30, 14), QStringLiteral("キャンセル"));
    cancel->hide();
    connect(cancel, &QPushButton::clicked, this, &CKelmoraDlg::reject);

    AddLabel(this, QRect(17, 5, 16, 8), QStringLiteral("地区"));
    AddLabel(this, QRect(80, 5, 31, 8), QStringLiteral("都道府県"));
    AddLabel(this, QRect(143, 5, 16, 8), QStringLiteral("分類"));
    AddLabel(this, QRect(213, 5, 16, 8), QStringLiteral("銘柄"));

    // Never filled: a strip in the button-face colour left of the region list.
    m_lstMark = AddControl<CRvListBox>(IDC_LIST_MARK, QRect(7, 15, 9, 83));
    m_lstMark->setEnabled(false);
    m_lstMark->setFrameShape(QFrame::NoFrame);
    m_lstMark->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstMark->setFocusPolicy(Qt::NoFocus);

    m_lstBureau = AddControl<CRvListBox>(IDC_LIST_BUREAU, QRect(17, 15, 51, 83));
    m_lstPref = AddControl<CRvListBox>(IDC_LIST_PREF, QRect(79, 15, 53, 83));
    m_lstClass = AddControl<CRvListBox>(IDC_LIST_CLASS, QRect(142, 15, 60, 34));
    m_lstGrain = AddControl<CRvListBox>(IDC_LIST_GRAIN, QRect(212, 15, 98, 83));
    connect(m_lstBureau, &CRvListBox::SelChange, this, &CKelmoraDlg::OnSelchangeBureau);
    connect(m_lstPref, &CRvListBox::SelChange, this, &CKelmoraDlg::OnSelchangePref);
    connect(m_lstClass, &CRvListBox::SelChange, this, &CKelmoraDlg::OnSelchangeClass);
    connect(m_lstGrain, &CRvListBox::SelChange, this, &CKelmoraDlg::OnSelchangeGrain);

    m_tab = AddControl<CRvTabCtrl>(IDC_TAB, QRect(7, 103, 327, 273));
    connect(m_tab, &QTabWidget::currentChanged, this, &CKelmoraDlg::OnSelchangeTab);

    auto *logo = AddControl<CRvStatic>(IDC_MAKER_LOGO, QRect(344, 10, 16, 15));
    const QImage logoImage = CArtwork::Load(CArtwork::IDB_MAKER_LOGO);
    logo->setPixmap(QPixmap::fromImage(logoImage.size().boundedTo(logo->size()) == logoImage.size()
                                           ? logoImage
                                           : logoImage.scaled(logo->size(), Qt::KeepAspectRatio,
                                                              Qt::SmoothTransformation)));
    logo->setAlignment(Qt::AlignCenter);
    auto *name = AddControl<CRvStatic>(IDC_MAKER_NAME, QRect(364, 14, 54, 8), CMakerInfo::CompanyName());
    connect(logo, &CRvStatic::DoubleClicked, this, &CKelmoraDlg::OnMakerDoubleClick);
    connect(name, &CRvStatic::DoubleClicked, this, &CKelmoraDlg::OnMakerDoubleClick);
    auto *makerFrame = AddControl<QFrame>(IDC_MAKER_FRAME, QRect(339, 7, 85, 21));
    makerFrame->hide();

    m_btnZoomIn = AddControl<CImageButton>(IDC_ZOOM_IN, QRect(339, 38, 40, 20), QStringLiteral("拡大"));
    m_btnZoomOut = AddControl<CImageButton>(IDC_ZOOM_OUT, QRect(389, 38, 40, 20), QStringLiteral("縮小"));
    connect(m_btnZoomIn, &QPushButton::clicked, this, &CKelmoraDlg::OnZoomIn);
    connect(m_btnZoomOut, &QPushButton::clicked, this, &CKelmoraDlg::OnZoomOut);

    m_editZoom = AddControl<QLineEdit>(IDC_ZOOM_EDIT, QRect(477, 44, 27, 12));
    m_editZoom->setReadOnly(true);
    m_editZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_slider = AddControl<QSlider>(IDC_ZOOM_SLIDER, QRect(505, 44, 116, 15), Qt::Horizontal);
    m_slider->setTickPosition(QSlider::NoTicks);
    connect(m_slider, &QSlider::valueChanged, this, &CKelmoraDlg::OnTrackbarScroll);

    m_photoFrame = AddControl<CPhotoFrame>(IDC_PHOTO_FRAME, QRect(339, 66, 280, 281));
    m_photoFrame->SetSlot(0);
    m_photoFrame->SetHolderProvider([this] { return &m_picture; });
    m_photoFrame->SetSourceProvider([this] { return QRect(m_nSrcX, m_nSrcY, m_nSrcWidth, m_nSrcHeight); });

    m_sbVert = AddControl<QScrollBar>(IDC_SCROLL_VERT, QRect(619, 84, 10, 222), Qt::Vertical);
    m_sbHorz = AddControl<QScrollBar>(IDC_SCROLL_HORZ, QRect(354, 365, 204, 11), Qt::Horizontal);
    connect(m_sbHorz, &QScrollBar::actionTriggered, this, &CKelmoraDlg::OnHScroll);
    connect(m_sbVert, &QScrollBar::actionTriggered, this, &CKelmoraDlg::OnVScroll);

    // The About command: the window's context menu, and F1.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
}

void CKelmoraDlg::showEvent(QShowEvent *event)
{
    // A size change that arrives before this point (the window's first sizing included) finds
    // m_bInitialized at 0 and changes nothing.
    if (!m_bCreated) {
        m_bCreated = true;
        OnInitDialog();
    }
    CRvDialog::showEvent(event);
}

void CKelmoraDlg::OnInitDialog()
{
    setWindowIcon(m_hIcon);

    // The data folder: the settings file's value as read, else the executable's "Data/".
    const CRvFileAccess access;
    m_strDataPath = access.GetExeFolder() + QStringLiteral("Data/");
    const CRvFileIni settings;
    m_strDataPath = settings.GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), m_strDataPath);
    m_catalog.SetDataFolder(m_strDataPath);

    SetUpControls();
    m_cascade.Start();
    m_picture.OpenSources();
    m_bInitialized = 1;
}

void CKelmoraDlg::SetUpControls()
{
    setWindowTitle(CResourceStrings::Load(CResourceStrings::IDS_CAPTION));

    m_font = MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0);
    for (CImageButton *button : {m_btnZoomIn, m_btnZoomOut, m_btnExit})
        button->setFont(m_font);
    m_btnZoomIn->SetImage(CArtwork::Load(CArtwork::IDB_ZOOM_IN));
    m_btnZoomOut->SetImage(CArtwork::Load(CArtwork::IDB_ZOOM_OUT));
    m_btnExit->SetImage(CArtwork::Load(CArtwork::IDB_EXIT));

    // The opening size is the smallest the window may be given.
    m_rcInitWindow = QRect(QPoint(0, 0), size());
    setMinimumSize(m_rcInitWindow.size());
    m_rcMakerFrame = GetDlgItem(IDC_MAKER_FRAME)->geometry();

    // The empty, disabled strip left of the region list is painted in the button-face colour so
    // that it blends with the dialog.
    QPalette markPalette = m_lstMark->palette();
    const QColor face = palette().color(QPalette::Button);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        markPalette.setColor(group, QPalette::Base, face);
        markPalette.setColor(group, QPalette::Window, face);
    }
    m_lstMark->setPalette(markPalette);

    // The photo frame is square: its width decides.
    m_photoFrame->resize(m_photoFrame->width(), m_photoFrame->width());
    m_rcPhotoFrame = m_photoFrame->geometry();

    m_bMainImageLoaded = 0;
    m_nImageSize = kDefaultImageSize;
    m_dFitScale = m_dScale = m_rcPhotoFrame.width() / static_cast<double>(kDefaultImageSize);
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setRange(0, kTrackbarMax);
    }
    UpdateZoomDisplay();
    ClearView();
    m_bDragging = 0;
    PlaceScrollBars();
    // Nothing to scroll yet: an empty range shows no thumb on the disabled bars.
    for (QScrollBar *bar : {m_sbHorz, m_sbVert}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }

    // The square frame takes more height than width in dialog units when the dialog font is wider
    // for its height than the template's; a frame reaching out of the window is brought inside
    // by the same rule that resizing applies.
    if (CMainLayout::Overflows(CurrentPhotoBlock(), width(), height()))
        ArrangePhotoBlock(width(), height());

    SetUpTabPages();
}

void CKelmoraDlg::SetUpTabPages()
{
    m_tab->InsertItem(0, QStringLiteral("特性"));
    m_tab->InsertItem(1, QStringLiteral("来歴"));
    // The pages are children of the window, laid over the tab control's display area.
    const QRect area = m_tab->GetDisplayRect().translated(m_tab->pos());

    m_pageFeature.Create(this);
    m_pageFeature.setGeometry(area);
    m_pageFeature.raise();
    m_pageFeature.show();

    m_pageHistory.Create(this);
    m_pageHistory.setGeometry(area);
    m_pageHistory.raise();
    m_pageHistory.hide();
}

void CKelmoraDlg::resizeEvent(QResizeEvent *event)
{
    CRvDialog::resizeEvent(event);
    OnSize(isMinimized(), event->size().width(), event->size().height());
}

void CKelmoraDlg::OnSize(bool minimized, int cx, int cy)
{
    if (m_bInitialized == 0 || minimized)
        return;
    ArrangePhotoBlock(cx, cy);
}

CMainLayout::Block CKelmoraDlg::CurrentPhotoBlock() const
{
    return {m_btnExit->geometry(), m_photoFrame->geometry(), m_sbVert->geometry(),
            m_sbHorz->geometry(), m_slider->geometry(), m_editZoom->geometry()};
}

void CKelmoraDlg::ArrangePhotoBlock(int cx, int cy)
{
    const CMainLayout::Block next = CMainLayout::Arrange(CurrentPhotoBlock(), cx, cy);
    m_btnExit->setGeometry(next.exitButton);
    m_photoFrame->setGeometry(next.frame);
    m_rcPhotoFrame = next.frame;
    m_sbVert->setGeometry(next.vertBar);
    m_sbHorz->setGeometry(next.horzBar);
    m_slider->setGeometry(next.trackbar);
    m_editZoom->setGeometry(next.zoomEdit);

    if (m_nImageSize > 0)
        m_dFitScale = m_rcPhotoFrame.width() / static_cast<double>(m_nImageSize);
    ApplyZoom();
    m_photoFrame->update();
    update();
}

void CKelmoraDlg::paintEvent(QPaintEvent *event)
{
    CRvDialog::paintEvent(event);
    // A light-blue outline round the maker's logo and name.
    QPainter painter(this);
    painter.setPen(QPen(kMakerOutline, 2));
    painter.setBrush(Qt::NoBrush);
    const QRect &r = m_rcMakerFrame;
    const QPoint corners[] = {{r.left(), r.top()},
                              {r.x() + r.width(), r.top()},
                              {r.x() + r.width(), r.y() + r.height()},
                              {r.left(), r.y() + r.height()},
                              {r.left(), r.top()}};
    painter.drawPolyline(corners, 5);
}

void CKelmoraDlg::contextMenuEvent(QContextMenuEvent *event)
{
    // The desktop gives no program-controlled system menu; the window's own menu carries the
    // About command instead.
    QMenu menu(this);
    QAction *about = menu.addAction(CResourceStrings::Load(CResourceStrings::IDS_ABOUTBOX));
    if (menu.exec(event->globalPos()) == about)
        OnSysCommand(IDM_ABOUTBOX);
}

void CKelmoraDlg::OnSysCommand(int command)
{
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.exec();
    }
}

void CKelmoraDlg::OnSelchangeTab()
{
    const int selected = m_tab->currentIndex();
    const CWaitCursor wait;
    m_pageFeature.setVisible(selected == 0);
    m_pageHistory.setVisible(selected == 1);
}

void CKelmoraDlg::OnMakerDoubleClick()
{
    CUrlOpener::Open(CMakerInfo::WebPageUrl());
}

void CKelmoraDlg::OnSelchangeBureau()
{
    m_cascade.OnSelchangeBureau(m_lstBureau->GetCurSel());
}

void CKelmoraDlg::OnSelchangePref()
{
    m_cascade.OnSelchangePref(m_lstPref->GetCurSel());
}

void CKelmoraDlg::OnSelchangeClass()
{
    m_cascade.OnSelchangeClass(m_lstClass->GetCurSel());
}

void CKelmoraDlg::OnSelchangeGrain()
{
    const int position = m_lstGrain->GetCurSel();
    m_cascade.OnSelchangeGrain(position, m_lstGrain->GetText(position));
}

// ---- Zoom and pan ----------------------------------------------------------------------------

void CKelmoraDlg::PlaceScrollBars()
{
    m_sbVert->setGeometry(CMainLayout::VertBarBeside(m_rcPhotoFrame, m_sbVert->width()));
    m_sbHorz->setGeometry(CMainLayout::HorzBarBelow(m_rcPhotoFrame, m_sbHorz->height()));
}

void CKelmoraDlg::UpdateZoomDisplay()
{
    // Moving the trackbar from here is not a user's move: its handler must not run.
    const QSignalBlocker quiet(m_slider);
    if (m_bMainImageLoaded != 0) {
        const double percent = m_dScale * 100.0;
        m_slider->setValue(static_cast<int>(percent * 10.0));
        m_strZoom = QString::asprintf("%.1f%%", percent);
    } else {
        m_slider->setValue(0);
        m_strZoom.clear();
    }
    m_editZoom->setText(m_strZoom);
}

void CKelmoraDlg::ClearView()
{
    m_nSrcY = 0;
    m_nSrcX = 0;
    m_nScrollY = 0;
    m_nSrcWidth = 0;
    m_nSrcHeight = 0;
}

void CKelmoraDlg::ApplyZoom()
{
    if (m_dScale > 1.0)
        m_dScale = 1.0;
    if (m_dFitScale >= m_dScale) {
        m_dScale = m_dFitScale;
        ClearView();
        m_sbHorz->setEnabled(false);
        m_sbVert->setEnabled(false);
    }
    UpdateZoomDisplay();
}

void CKelmoraDlg::RedrawPhoto()
{
    m_picture.DrawImage(0, m_photoFrame, m_nSrcX, m_nSrcY, m_nSrcWidth, m_nSrcHeight);
}

void CKelmoraDlg::FitNewPhoto()
{
    m_nImageSize = kDefaultImageSize;
    int width = 0;
    if (m_bMainImageLoaded != 0 && m_picture.GetMainImageWidth(&width) && width > 0)
        m_nImageSize = width;
    m_dFitScale = m_dScale = m_rcPhotoFrame.width() / static_cast<double>(m_nImageSize);
    ClearView();
    m_sbHorz->setEnabled(false);
    m_sbVert->setEnabled(false);
    UpdateZoomDisplay();
}

void CKelmoraDlg::OnZoomIn()
{
    m_dScale += 0.1;
    ApplyZoom();
    RedrawPhoto();
}

void CKelmoraDlg::OnZoomOut()
{
    m_dScale -= 0.1;
    ApplyZoom();
    RedrawPhoto();
}

void CKelmoraDlg::OnTrackbarScroll()
{
    m_dScale = m_slider->value() / static_cast<double>(kTrackbarMax);
    if (m_dScale < m_dFitScale)
        m_dScale = m_dFitScale;
    ApplyZoom();
    RedrawPhoto();
}

void CKelmoraDlg::OnHScroll(int action)
{
    if (action == QAbstractSlider::SliderNoAction)
        return;
    m_nSrcX = m_sbHorz->sliderPosition();
    RedrawPhoto();
}

void CKelmoraDlg::OnVScroll(int action)
{
    if (action == QAbstractSlider::SliderNoAction)
        return;
    m_nScrollY = m_sbVert->sliderPosition();
    RedrawPhoto();
}

bool CKelmoraDlg::IsInsidePhotoFrame(const QPoint &point) const
{
    // Strictly inside: a point on the frame's edge is outside.
    const QRect &r = m_rcPhotoFrame;
    return r.left() < point.x() && point.x() < r.x() + r.width() && r.top() < point.y()
        && point.y() < r.y() + r.height();
}

void CKelmoraDlg::OnLButtonDown(const QPoint &point)
{
    if (m_bMainImageLoaded == 0 || m_dFitScale >= m_dScale)
        return;
    m_bDragging = IsInsidePhotoFrame(point) ? 1 : 0;
    if (m_bDragging != 0)
        m_ptDragLast = point - m_rcPhotoFrame.topLeft();
}

void CKelmoraDlg::OnMouseMove(const QPoint &point)
{
    if (m_bDragging == 0)
        return;
    if (!IsInsidePhotoFrame(point)) {
        m_bDragging = 0;
        return;
    }
    m_ptDragLast = point - m_rcPhotoFrame.topLeft();
    RedrawPhoto();
}

void CKelmoraDlg::OnLButtonUp()
{
    m_bDragging = 0;
}

void CKelmoraDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
    CRvDialog::mousePressEvent(event);
}

void CKelmoraDlg::mouseMoveEvent(QMouseEvent *event)
{
    OnMouseMove(event->position().toPoint());
    CRvDialog::mouseMoveEvent(event);
}

void CKelmoraDlg::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp();
    CRvDialog::mouseReleaseEvent(event);
}

// ---- The cascade's effects -------------------------------------------------------------------

void CKelmoraDlg::SetBureauItems(const QStringList &names)
{
    m_lstBureau->SetItems(names);
}

void CKelmoraDlg::SetClassItems(const QStringList &names)
{
    m_lstClass->SetItems(names);
}

void CKelmoraDlg::SetPrefItems(const QStringList &names)
{
    m_lstPref->SetItems(names);
}

void CKelmoraDlg::SetGrainItems(const QStringList &names)
{
    m_lstGrain->SetItems(names);
}

void CKelmoraDlg::SelectBureauItem(int position)
{
    m_lstBureau->SetCurSel(position);
}

void CKelmoraDlg::SelectPrefItem(int position)
{
    m_lstPref->SetCurSel(position);
}

void CKelmoraDlg::SelectClassItem(int position)
{
    m_lstClass->SetCurSel(position);
}

void CKelmoraDlg::SelectGrainItem(int position)
{
    m_lstGrain->SetCurSel(position);
}

void CKelmoraDlg::EnableDetailControls(bool enable)
{
    m_lstClass->setEnabled(enable);
    m_lstGrain->setEnabled(enable);
    m_tab->setEnabled(enable);
}

void CKelmoraDlg::AttachPictureHolder()
{
    m_pageFeature.m_pPictureImage = &m_picture;
    m_pageHistory.m_pPictureImage = &m_picture;
}

void CKelmoraDlg::ClearGrainDisplay()
{
    GRAIN_INFO_DATA cleared;
    cleared.Clear();
    m_pageFeature.SetGrainInfo(cleared);
    m_pageHistory.SetGrainInfo(cleared);
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        m_picture.ReleaseImage(slot);
    // The scales, the scroll bars and the zoom display stay until the next photograph is fitted.
    ClearView();
    m_bDragging = 0;
    update();
}

void CKelmoraDlg::ShowFeatureTab()
{
    const QSignalBlocker quiet(m_tab);
    m_tab->setCurrentIndex(0);
    m_pageFeature.show();
    m_pageHistory.hide();
}

void CKelmoraDlg::ShowGrain()
{
}
