#include "pages/CFeaturePage.h"

#include "browser/CDetailTableRows.h"
#include "controls/CPhotoFrame.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

CFeaturePage::CFeaturePage(QWidget *parent)
    : CRvDialog(parent, Qt::Widget)
{}

CFeaturePage::~CFeaturePage() = default;

bool CFeaturePage::Create(QWidget *parent)
{
    setParent(parent, Qt::Widget);
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    resize(MapDialogSize(QSize(332, 253)));

    // The frames draw their slot through the holder pointer as it is at paint time, so they show
    // nothing but their black frame until the main window sets it.
    const auto holder = [this] { return m_pPictureImage; };
    auto *first = AddControl<CPhotoFrame>(kFrameFirst, QRect(7, 7, 85, 87));
    first->SetSlot(1);
    first->SetHolderProvider(holder);
    auto *second = AddControl<CPhotoFrame>(kFrameSecond, QRect(104, 7, 85, 87));
    second->SetSlot(2);
    second->SetHolderProvider(holder);
    AddControl<QLabel>(kNoId, QRect(7, 100, 16, 8), QString::fromUtf8("特性"));
    PlaceControl(kList, &m_list, QRect(7, 110, 311, 130));
    m_list.setFocusPolicy(Qt::StrongFocus);

    OnInitDialog();
    return true;
}

void CFeaturePage::OnInitDialog()
{
    // Square frames of the first frame's width, at their template positions. The template frame
    // is a little taller than wide, so its width is the side; where the font's dialog units come
    // out wider than that, the height is, so that a frame never reaches down over the "特性" label.
    QWidget *first = GetDlgItem(kFrameFirst);
    QWidget *second = GetDlgItem(kFrameSecond);
    const int side = std::min(first->width(), first->height());
    first->resize(side, side);
    second->resize(side, side);

    // Eight rows share the height; the colours do not depend on the record.
    m_list.SetUpDetailTable({Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft}, CDetailTableLayout::kFeatureHeadingRatio,
                            8, CDetailTableRows::FeatureHeadings(), [](int row, int column) {
                                return CDetailTableRows::FeatureCellBkColor(row, column, GRAIN_INFO_DATA());
                            });
}

bool CFeaturePage::SetGrainInfo(const GRAIN_INFO_DATA &info)
{
    const QStringList &headings = CDetailTableRows::FeatureHeadings();
    const QStringList values = CDetailTableRows::FeatureValues(info);
    const QString blank(QLatin1Char(' '));
    for (int row = 0; row < headings.size(); ++row)
        m_list.SetRowTexts(row, {blank, headings[row], values[row]});
    return true;
}

void CFeaturePage::keyPressEvent(QKeyEvent *event)
{
    // The page has no meaning for Esc: it goes on to the main window, where it ends the run. As a
    // dialog of its own the page would take it as "cancel" and hide itself.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    CRvDialog::keyPressEvent(event);
}
