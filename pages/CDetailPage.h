#pragma once
// A tab page below the lists: photo frames and a label/value table of the shown brand, built from
// a description. CFeaturePage and CHistoryPage are its two instances.

#include "browser/CDetailTableRows.h"
#include "controls/CRvDialog.h"
#include "controls/CRvListCtrl.h"
#include "data/CatalogTypes.h"

#include <vector>

// One photo frame: its id and template rectangle.
struct DETAIL_PAGE_FRAME {
    int nId;
    QRect rect;
};

// What makes a page; rectangles and sizes are in dialog units of the template font.
struct DETAIL_PAGE_DESC {
    QSize templateSize;
    std::vector<DETAIL_PAGE_FRAME> frames;
    bool bSquareFrames;  // every frame made a square of the first frame's width
    QString strLabel;
    QRect labelRect;
    int nListId;
    QRect listRect;
    Qt::FocusPolicy listFocus;
    CRvListCtrl::ColumnFormats formats;
    double dHeadingRatio;  // share of the list's width given to the heading column
    int nHeightRows;       // rows that share the list's height
    const QStringList &(*pfnHeadings)();
    QStringList (*pfnValues)(const GRAIN_INFO_DATA &info);  // one value per heading
    CDetailTableRows::CellBkColorFunc pfnCellBkColor;
};

class CDetailPage : public CRvDialog
{
    Q_OBJECT

public:
    // Builds the template's controls as a child of `parent` and sets up the table.
    void Create(QWidget *parent);
    // Keeps a copy of the record (the cell colours may follow it) and writes its values beside the
    // headings; the blank row after them is not touched.
    void SetGrainInfo(const GRAIN_INFO_DATA &info);

    CRvListCtrl &GetList() { return m_list; }

protected:
    CDetailPage(const DETAIL_PAGE_DESC &desc, QWidget *parent);

    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnInitDialog();

    const DETAIL_PAGE_DESC &m_desc;
    GRAIN_INFO_DATA m_grainInfo;  // the record shown, empty until the first one
    CRvListCtrl m_list;
};
