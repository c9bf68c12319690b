#include "pages/CHistoryPage.h"

CHistoryPage::CHistoryPage(QWidget *parent)
    : CRvDialog(parent, Qt::Widget)
{
    m_grainInfo.Clear();
}

CHistoryPage::~CHistoryPage() = default;

bool CHistoryPage::Create(QWidget *parent)
{
    setParent(parent, Qt::Widget);
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    resize(MapDialogSize(QSize(342, 351)));
    return true;
}

bool CHistoryPage::SetGrainInfo(const GRAIN_INFO_DATA &info)
{
    m_grainInfo = info;
    return true;
}
