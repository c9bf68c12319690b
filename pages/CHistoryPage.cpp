#include "pages/CHistoryPage.h"

// One wide frame below the table, keeping its template shape (the chart is stretched over it); a
// list that is no tab stop, though a click still gives it the keys; heading and value centred;
// three rows share the height.
static const DETAIL_PAGE_DESC kHistoryPage{
    QSize(342, 351), {{CHistoryPage::kFrame, QRect(7, 74, 311, 179)}}, false,
    QString::fromUtf8("系譜"), QRect(7, 64, 16, 8), CHistoryPage::kList, QRect(7, 7, 311, 54), Qt::ClickFocus,
    {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter}, CDetailTableLayout::kHistoryHeadingRatio, 3,
    &CDetailTableRows::HistoryHeadings, &CDetailTableRows::HistoryValues, &CDetailTableRows::HistoryCellBkColor};

CHistoryPage::CHistoryPage(QWidget *parent)
    : CDetailPage(kHistoryPage, parent)
{}
