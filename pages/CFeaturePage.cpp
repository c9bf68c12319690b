#include "pages/CFeaturePage.h"

// Two frames, made square; heading centred and value left-aligned; eight rows share the height.
static const DETAIL_PAGE_DESC kFeaturePage{
    QSize(332, 253),
    {{CFeaturePage::kFrameFirst, QRect(7, 7, 85, 87)}, {CFeaturePage::kFrameSecond, QRect(104, 7, 85, 87)}},
    true,
    QString::fromUtf8("特性"), QRect(7, 100, 16, 8),
    CFeaturePage::kList, QRect(7, 110, 311, 130), Qt::StrongFocus,
    {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft}, CDetailTableLayout::kFeatureHeadingRatio, 8,
    &CDetailTableRows::FeatureHeadings, &CDetailTableRows::FeatureValues, &CDetailTableRows::FeatureCellBkColor};

CFeaturePage::CFeaturePage(QWidget *parent)
    : CDetailPage(kFeaturePage, parent)
{}
