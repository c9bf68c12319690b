#include "app/CGuidanceDlg.h"

#include "controls/CRvMessageBox.h"
#include "controls/CRvStatic.h"
#include "settings/CMakerInfo.h"
#include "settings/CResourceStrings.h"
#include "viewer/CArtwork.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {
QLabel *AddText(CRvDialog *dlg, const QRect &dlu, const QString &text)
{
    auto *label = dlg->AddControl<QLabel>(CRvDialog::kNoId, dlu, text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}
}  // namespace

CGuidanceDlg::CGuidanceDlg(QWidget *parent)
    : CRvDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    setWindowTitle(QStringLiteral("ご案内"));
    CreateControls();
    setFixedSize(MapDialogSize(QSize(265, 210)));
}

CGuidanceDlg::~CGuidanceDlg() = default;

void CGuidanceDlg::CreateControls()
{
    auto *start = AddControl<QPushButton>(1, QRect(208, 185, 50, 18), QStringLiteral("開始"));
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &CGuidanceDlg::accept);

    AddText(this, QRect(35, 18, 213, 21),
            QStringLiteral("Kelmora【米版】のデモバージョンをダウンロードしていただき、ありがとうございます。"));
    m_chkNotDisp =
        AddControl<QCheckBox>(IDC_CHECK_NOT_DISP, QRect(21, 178, 96, 10), QStringLiteral("今後この画面を表示しない"));
    AddText(this, QRect(19, 46, 229, 28),
            QStringLiteral("本デモバージョンでは、全国の銘柄名一覧と、北海道の水稲うるち米「きらら397」、"
                           "水稲もち米「風の子もち」、醸造用玄米「吟風」の3品種のみ、データをご覧いただけます。"));
    AddText(this, QRect(19, 118, 229, 20),
            QStringLiteral("販売価格等については、") + CMakerInfo::CompanyName()
                + QStringLiteral("までお問い合わせください。\n\u3000（下記クリックで開きます）"));

    auto *url = AddControl<CRvStatic>(IDC_STATIC_URL, QRect(26, 140, 91, 8),
                                      QStringLiteral("URL ： ") + CMakerInfo::WebPageLabel());
    connect(url, &CRvStatic::Clicked, this, &CGuidanceDlg::OnClickUrl);
    auto *mail = AddControl<CRvStatic>(IDC_STATIC_MAIL, QRect(26, 153, 91, 8),
                                       QStringLiteral("Mail ： ") + CMakerInfo::MailAddress());
    connect(mail, &CRvStatic::Clicked, this, &CGuidanceDlg::OnClickMail);

    // A static icon takes the icon's own size at the template position.
    auto *icon = AddControl<QLabel>(kNoId, QRect(15, 17, 20, 20));
    const QPixmap pixmap = CArtwork::DialogIconPixmap();
    icon->setPixmap(pixmap);
    icon->resize(pixmap.size());

    AddText(
        this, QRect(19, 81, 229, 30),
        QStringLiteral("本製品は単品での販売のほか、姉妹品「Kelmora【麦版】」とのお得なセットでも"
                       "販売しております。【麦版】のデモバージョンもご用意しておりますので、あわせてお試しください。"));
}

void CGuidanceDlg::showEvent(QShowEvent *event)
{
    if (!m_bInitDone) {
        m_bInitDone = true;
        OnInitDialog();
    }
    CRvDialog::showEvent(event);
}

void CGuidanceDlg::OnInitDialog()
{
    // The box starts from the member, that is clear.
    m_chkNotDisp->setChecked(m_bNotDispGuidance);
}

void CGuidanceDlg::accept()
{
    m_bNotDispGuidance = m_chkNotDisp->isChecked();
    CRvDialog::accept();
}

void CGuidanceDlg::closeEvent(QCloseEvent *event)
{
    // The close command is disabled: only "開始" and Esc end the dialog.
    event->ignore();
}

void CGuidanceDlg::OnClickUrl()
{
    if (CRvMessageBox::DoMessageBox(this, CResourceStrings::Load(CResourceStrings::IDS_CONFIRM_BROWSER),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Question)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(CMakerInfo::WebPageUrl());
}

void CGuidanceDlg::OnClickMail()
{
    if (CRvMessageBox::DoMessageBox(this, CResourceStrings::Load(CResourceStrings::IDS_CONFIRM_MAIL),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Question)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(CMakerInfo::InquiryMailUrl());
}
