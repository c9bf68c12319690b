#include "pages/CHistoryPage.h"

#include "browser/CDetailTableRows.h"
#include "controls/CPhotoFrame.h"

#include <QKeyEvent>
#include <QLabel>

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

    PlaceControl(kList, &m_list, QRect(7, 7, 311, 54));
    // Not a tab stop, but a click still gives it the keys.
    m_list.setFocusPolicy(Qt::ClickFocus);
    AddControl<QLabel>(kNoId, QRect(7, 64, 16, 8), QString::fromUtf8("系譜"));
    auto *frame = AddControl<CPhotoFrame>(kFrame, QRect(7, 74, 311, 179));
    frame->SetSlot(3);
    frame->SetHolderProvider([this] { return m_pPictureImage; });

    OnInitDialog();
    return true;
}

void CHistoryPage::OnInitDialog()
{
    // The pedigree frame keeps its template shape; the chart is stretched over it.
    // Three rows share the height; the required/optional cell is coloured from the page's copy.
    m_list.SetUpDetailTable({Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter},
                            CDetailTableLayout::kHistoryHeadingRatio, 3, CDetailTableRows::HistoryHeadings(),
                            [this](int row, int column) {
                                return CDetailTableRows::HistoryCellBkColor(row, column, m_grainInfo);
                            });
}

bool CHistoryPage::SetGrainInfo(const GRAIN_INFO_DATA &info)
{
    // The copy comes first: the required/optional cell is coloured from it at the next paint.
    m_grainInfo = info;
    const QStringList &headings = CDetailTableRows::HistoryHeadings();
    const QStringList values = CDetailTableRows::HistoryValues(m_grainInfo);
    const QString blank(QLatin1Char(' '));
    for (int row = 0; row < headings.size(); ++row)
        m_list.SetRowTexts(row, {blank, headings[row], values[row]});
    // The cell colour depends on the copy, not on a text that changed.
    m_list.viewport()->update();
    return true;
}

void CHistoryPage::keyPressEvent(QKeyEvent *event)
{
    // The page has no meaning for Esc: it goes on to the main window, where it ends the run. As a
    // dialog of its own the page would take it as "cancel" and hide itself.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    CRvDialog::keyPressEvent(event);
}
