#include "pages/CDetailPage.h"

#include "controls/CPhotoFrame.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

CDetailPage::CDetailPage(const DETAIL_PAGE_DESC &desc, QWidget *parent)
    : CRvDialog(parent, Qt::Widget)
    , m_desc(desc)
{}

void CDetailPage::Create(QWidget *parent)
{
    setParent(parent, Qt::Widget);
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    resize(MapDialogSize(m_desc.templateSize));

    // The frames show nothing but their black frame until the main window hands them a picture.
    for (const DETAIL_PAGE_FRAME &frame : m_desc.frames)
        AddControl<CPhotoFrame>(frame.nId, frame.rect);
    AddControl<QLabel>(kNoId, m_desc.labelRect, m_desc.strLabel);
    PlaceControl(m_desc.nListId, &m_list, m_desc.listRect);
    m_list.setFocusPolicy(m_desc.listFocus);

    OnInitDialog();
}

void CDetailPage::OnInitDialog()
{
    // Square frames of the first frame's width, at their template positions. The template frame
    // is a little taller than wide, so its width is the side; where the font's dialog units come
    // out wider than that, the height is, so that a frame never reaches down over the label.
    if (m_desc.bSquareFrames) {
        const QWidget *first = GetDlgItem(m_desc.frames.front().nId);
        const int side = std::min(first->width(), first->height());
        for (const DETAIL_PAGE_FRAME &frame : m_desc.frames)
            GetDlgItem(frame.nId)->resize(side, side);
    }
    m_list.SetUpDetailTable(m_desc.formats, m_desc.dHeadingRatio, m_desc.nHeightRows, m_desc.pfnHeadings(),
                            [this](int row, int column) { return m_desc.pfnCellBkColor(row, column, m_grainInfo); });
}

void CDetailPage::SetGrainInfo(const GRAIN_INFO_DATA &info)
{
    m_grainInfo = info;
    const QStringList &headings = m_desc.pfnHeadings();
    const QStringList values = m_desc.pfnValues(m_grainInfo);
    const QString blank(QLatin1Char(' '));
    for (int row = 0; row < headings.size(); ++row)
        m_list.SetRowTexts(row, {blank, headings[row], values[row]});
    // A cell colour may depend on the copy rather than on a text that changed.
    m_list.viewport()->update();
}

void CDetailPage::keyPressEvent(QKeyEvent *event)
{
    // The page has no meaning for Esc: it goes on to the main window, where it ends the run. As a
    // dialog of its own the page would take it as "cancel" and hide itself.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    CRvDialog::keyPressEvent(event);
}
