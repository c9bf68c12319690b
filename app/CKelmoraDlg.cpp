#include "app/CKelmoraDlg.h"

#include "app/CAboutDlg.h"
#include "app/CBrandSearchDlg.h"
#include "app/CKeyListDlg.h"
#include "app/CPictureWindow.h"
#include "browser/CDemoContent.h"
#include "controls/CImageButton.h"
#include "controls/CPhotoFrame.h"
#include "controls/CRvListBox.h"
#include "controls/CRvStatic.h"
#include "controls/CRvTabCtrl.h"
#include "controls/CWaitCursor.h"
#include "settings/CMakerInfo.h"
#include "settings/CProgramFolder.h"
#include "settings/CResourceStrings.h"
#include "viewer/CArtwork.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

#include <optional>
#include <vector>

namespace {
const QColor kMakerOutline(115, 208, 244);

QLabel *AddLabel(CRvDialog *dlg, const QRect &dlu, const QString &text)
{
    return dlg->AddControl<QLabel>(CRvDialog::kNoId, dlu, text);
}
}  // namespace

CKelmoraDlg::CKelmoraDlg(const CProgramFolder &program, QWidget *parent, const QString &strPictureFolder)
    : CRvDialog(parent,
                Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                    | Qt::WindowCloseButtonHint)
    , m_program(program)
    , m_catalog(program.GetRegionTablePath())
    , m_cascade(m_catalog, *this)
    , m_picture(strPictureFolder)
    , m_photo(*this, m_picture)
    , m_hIcon(CArtwork::AppIcon())
{
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    // On a screen too small for the template the font, and with it every dialog unit, is smaller.
    FitTemplateToScreen(QSize(636, 383));
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

    // Its tab changes are connected once the pages exist (SetUpTabPages).
    m_tab = AddControl<CRvTabCtrl>(IDC_TAB, QRect(7, 103, 327, 273));

    auto *logo = AddControl<CRvStatic>(IDC_MAKER_LOGO, QRect(344, 10, 16, 15));
    const QImage logoImage = CArtwork::Load(CArtwork::IDB_MAKER_LOGO);
    logo->setPixmap(
        QPixmap::fromImage(logoImage.size().boundedTo(logo->size()) == logoImage.size()
                               ? logoImage
                               : logoImage.scaled(logo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    logo->setAlignment(Qt::AlignCenter);
    auto *name = AddControl<CRvStatic>(IDC_MAKER_NAME, QRect(364, 14, 54, 8), CMakerInfo::CompanyName());
    connect(logo, &CRvStatic::DoubleClicked, this, &CKelmoraDlg::OnMakerDoubleClick);
    connect(name, &CRvStatic::DoubleClicked, this, &CKelmoraDlg::OnMakerDoubleClick);
    auto *makerFrame = AddControl<QFrame>(IDC_MAKER_FRAME, QRect(339, 7, 85, 21));
    makerFrame->hide();

    m_photo.CreateControls();
    m_photo.AddWindowCommands([this] { OpenBrandSearch(); }, [this] { OnSysCommand(IDM_ABOUTBOX); });

    // The About command: the window's context menu, and F1.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { OnSysCommand(IDM_ABOUTBOX); });

    auto *search = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(search, &QShortcut::activated, this, &CKelmoraDlg::OpenBrandSearch);
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

    // The data folder: the settings file's value as read, else the program's own "Data/".
    m_strDataPath = m_program.GetDataFolder();
    m_catalog.SetDataFolder(m_strDataPath);

    SetUpControls();
    // The built-in photographs stay decoded once decoded, ahead of use or by their brand's choice.
    if (m_bDecodeAhead)
        m_picture.KeepDecoded(0, CDemoContent::AllResourceNames());
    {
        // The first region's first prefecture's variety file is read.
        const CWaitCursor wait;
        m_cascade.Start();
    }
    m_bInitialized = 1;
}

void CKelmoraDlg::SetUpControls()
{
    setWindowTitle(CResourceStrings::Load(CResourceStrings::IDS_CAPTION));

    m_font = MakeTemplateFont(QStringLiteral("MS UI Gothic"), FittedPointSize(11.0));
    m_btnExit->setFont(m_font);
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

    // The photo frame made square; no photograph yet.
    m_photo.SetUpControls(m_font);

    // The square frame takes more height than width in dialog units when the dialog font is wider
    // for its height than the template's; a frame reaching out of the window is brought inside
    // by the same rule that resizing applies.
    if (m_photo.Overflows(m_btnExit, width(), height()))
        m_photo.Arrange(m_btnExit, width(), height());

    SetUpTabPages();
}

void CKelmoraDlg::SetUpTabPages()
{
    // The first tab inserted becomes the current one; its change must not show a page that has
    // no parent yet, which would open as a window of its own.
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

    connect(m_tab, &QTabWidget::currentChanged, this, &CKelmoraDlg::OnSelchangeTab);

    // Tab goes from the tab bar into the page shown below it, then on to the photograph's controls.
    QWidget::setTabOrder(m_tab, &m_pageFeature.GetList());
    QWidget::setTabOrder(&m_pageFeature.GetList(), &m_pageHistory.GetList());
    QWidget::setTabOrder(&m_pageHistory.GetList(), GetDlgItem(IDC_ZOOM_IN));

    // A click on a page's picture opens it in a window of its own (拡大表示).
    new CPictureOpener(this,
                       {{SlotFrame(1), QStringLiteral("粒1")},
                        {SlotFrame(2), QStringLiteral("粒2")},
                        {SlotFrame(3), QStringLiteral("系譜")}},
                       [this] { return m_photo.GetName(); });
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
    m_photo.Arrange(m_btnExit, cx, cy);
}

void CKelmoraDlg::paintEvent(QPaintEvent *event)
{
    CRvDialog::paintEvent(event);
    // Once the window is on screen and the events queued before it are handled, the built-in
    // photographs start decoding in the background.
    if (!m_bPainted && m_bInitialized != 0) {
        m_bPainted = true;
        if (m_bDecodeAhead)
            QTimer::singleShot(0, this, [this] { m_picture.DecodeAhead(); });
    }
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
    about->setShortcut(QKeySequence(Qt::Key_F1));
    QAction *search = menu.addAction(QStringLiteral("銘柄検索…"));
    search->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction *keys = menu.addAction(QStringLiteral("キー操作一覧…"));
    QAction *chosen = menu.exec(event->globalPos());
    if (chosen == about) {
        OnSysCommand(IDM_ABOUTBOX);
    } else if (chosen == search) {
        OpenBrandSearch();
    } else if (chosen == keys) {
        CKeyListDlg list(this);
        list.exec();
    }
}

void CKelmoraDlg::OpenBrandSearch()
{
    if (m_pBrandSearch == nullptr) {
        m_pBrandSearch = new CBrandSearchDlg(m_catalog, this);
        connect(m_pBrandSearch, &CBrandSearchDlg::BrandChosen, this, &CKelmoraDlg::ChooseBrand);
    }
    m_pBrandSearch->Open();
}

void CKelmoraDlg::ChooseBrand(const CBrandIndex::Entry &entry)
{
    // Each list's row is selected and its handler runs, exactly as after a click: a row that is
    // already the chosen one changes nothing, any other resets, loads and clears what follows.
    // A row the list does not hold (the files changed since the index was built) ends the walk.
    auto click = [this](CRvListBox *list, int row, void (CKelmoraDlg::*handler)()) {
        if (row < 0 || row >= list->count())
            return false;
        list->SetCurSel(row);
        (this->*handler)();
        return true;
    };
    if (!click(m_lstBureau, entry.nBureauPos, &CKelmoraDlg::OnSelchangeBureau)
        || !click(m_lstPref, entry.nPrefPos, &CKelmoraDlg::OnSelchangePref)
        || !click(m_lstClass, entry.nClass, &CKelmoraDlg::OnSelchangeClass))
        return;

    // The brand's line: its record's place among the classification's records, while the record
    // is still the one indexed; otherwise the first line of its name.
    const CGrainInfoArray &grains = m_cascade.GetGrainInfo();
    int row = -1;
    if (entry.nPosition < grains.GetSize() && grains[entry.nPosition].strName == entry.strName
        && grains[entry.nPosition].nClass == entry.nClass) {
        row = 0;
        for (int i = 0; i < entry.nPosition; ++i)
            row += grains[i].nClass == entry.nClass ? 1 : 0;
    } else {
        for (int i = 0; i < m_lstGrain->count() && row < 0; ++i)
            row = m_lstGrain->GetText(i) == entry.strName ? i : -1;
    }
    click(m_lstGrain, row, &CKelmoraDlg::OnSelchangeGrain);
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
    QDesktopServices::openUrl(CMakerInfo::WebPageUrl());
}

// A region or prefecture choice reads a variety file, a brand choice may decode its photographs:
// the hour-glass shows meanwhile.

void CKelmoraDlg::OnSelchangeBureau()
{
    const CWaitCursor wait;
    m_cascade.OnSelchangeBureau(m_lstBureau->GetCurSel());
}

void CKelmoraDlg::OnSelchangePref()
{
    const CWaitCursor wait;
    m_cascade.OnSelchangePref(m_lstPref->GetCurSel());
}

void CKelmoraDlg::OnSelchangeClass()
{
    m_cascade.OnSelchangeClass(m_lstClass->GetCurSel());
}

void CKelmoraDlg::OnSelchangeGrain()
{
    // The list shows the user's choice before the brand's photographs are decoded.
    m_lstGrain->viewport()->repaint();
    const int position = m_lstGrain->GetCurSel();
    m_cascade.OnSelchangeGrain(position, m_lstGrain->GetText(position));
}

// ---- The photograph block: mouse input goes on to it ----------------------------------------

void CKelmoraDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_photo.OnLButtonDown(event->position().toPoint());
    CRvDialog::mousePressEvent(event);
}

void CKelmoraDlg::mouseMoveEvent(QMouseEvent *event)
{
    m_photo.OnMouseMove(event->position().toPoint());
    CRvDialog::mouseMoveEvent(event);
}

void CKelmoraDlg::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_photo.OnLButtonUp();
    CRvDialog::mouseReleaseEvent(event);
}

void CKelmoraDlg::wheelEvent(QWheelEvent *event)
{
    if (m_photo.OnWheel(event->position().toPoint(), event->angleDelta().y()))
        event->accept();
    else
        CRvDialog::wheelEvent(event);
}

void CKelmoraDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter that a list, the tab bar, a table or the zoom field leaves unused does not reach the
    // default button: only with the focus on a button (which takes Enter itself) or on no
    // control does Enter press 終了. Esc still ends the run from anywhere.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget *focus = focusWidget();
    if (enter && focus != nullptr && focus != this && qobject_cast<QPushButton *>(focus) == nullptr) {
        event->accept();
        return;
    }
    CRvDialog::keyPressEvent(event);
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

CPhotoFrame *CKelmoraDlg::SlotFrame(int slot) const
{
    switch (slot) {
    case 0:
        return m_photo.GetFrame();
    case 1:
        return m_pageFeature.GetDlgItemAs<CPhotoFrame>(CFeaturePage::kFrameFirst);
    case 2:
        return m_pageFeature.GetDlgItemAs<CPhotoFrame>(CFeaturePage::kFrameSecond);
    default:
        return m_pageHistory.GetDlgItemAs<CPhotoFrame>(CHistoryPage::kFrame);
    }
}

void CKelmoraDlg::ShowPagePictures()
{
    for (int slot = 1; slot < CPictureImage::kSlotCount; ++slot) {
        if (CPhotoFrame *frame = SlotFrame(slot))
            frame->ShowPicture(m_picture.GetImage(slot));
    }
}

void CKelmoraDlg::AttachPictureHolder()
{
    // Until the first region is chosen the pages' frames show their black frame only.
    ShowPagePictures();
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
    m_photo.ClearView();
    ShowPagePictures();
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
    const CDemoContent::Display display =
        CDemoContent::ChooseDisplay(m_cascade.GetCurBureau(), m_cascade.GetCurPref(), m_cascade.GetCurGrain(),
                                    m_cascade.GetCurBureauData(), m_cascade.GetGrainInfo());
    switch (display.eOutcome) {
    case CDemoContent::Outcome::NoBrand:
        m_photo.ForgetMainImage();
        return;
    case CDemoContent::Outcome::OtherRegion:
        // The display stays as the last clearing left it.
        SelectGrainItem(-1);
        return;
    case CDemoContent::Outcome::NoContent:
    case CDemoContent::Outcome::BuiltIn:
        break;
    }

    // The frames let go of the last brand's pictures before the new ones are decoded, so that the
    // two are never held together.
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot) {
        if (CPhotoFrame *frame = SlotFrame(slot))
            frame->ShowPicture(QImage());
    }
    bool bMainImageLoaded = false;
    if (display.eOutcome == CDemoContent::Outcome::BuiltIn) {
        // The four pictures are decoded side by side, unless they already are; the choice returns
        // once all are in place.
        std::optional<CWaitCursor> wait;
        if (!m_picture.IsDecoded(display.nSource, display.astrPictures))
            wait.emplace();
        const std::vector<bool> loaded = m_picture.LoadPngResources(display.nSource, display.astrPictures);
        bMainImageLoaded = !loaded.empty() && loaded.front();
    } else {
        for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
            m_picture.ReleaseImage(slot);
        SelectGrainItem(-1);
    }

    // Each frame shows its slot whole; the photograph at its fit scale.
    m_photo.FitNewPhoto(bMainImageLoaded, display.record.strName);
    ShowPagePictures();
    m_pageFeature.SetGrainInfo(display.record);
    m_pageHistory.SetGrainInfo(display.record);
}
