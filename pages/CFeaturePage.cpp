#include "pages/CFeaturePage.h"

CFeaturePage::CFeaturePage(QWidget *parent)
    : CRvDialog(parent, Qt::Widget)
{
}

CFeaturePage::~CFeaturePage() = default;

bool CFeaturePage::Create(QWidget *parent)
{
    setParent(parent, Qt::Widget);
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    resize(MapDialogSize(QSize(332, 253)));
    return true;
}

bool CFeaturePage::SetGrainInfo(const GRAIN_INFO_DATA &info)
{
    Q_UNUSED(info)
    return true;
}
