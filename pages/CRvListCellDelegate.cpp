#include "pages/CRvListCellDelegate.h"

#include "pages/CDetailTableLayout.h"
#include "pages/CRvListCtrl.h"

#include <QFontMetrics>
#include <QPainter>

CRvListCellDelegate::CRvListCellDelegate(CRvListCtrl *list)
    : QStyledItemDelegate(list)
    , m_pList(list)
{
}

QStringList CRvListCellDelegate::CellLines(const QString &text, const QFont &font, const QRect &cell)
{
    const QFontMetrics metrics(font);
    const int lines = CDetailTableLayout::LinesThatFit(cell.height(), metrics.height(), metrics.lineSpacing());
    return CDetailTableLayout::FitCellText(text, font, cell.width() - 2 * kTextMargin, lines);
}

void CRvListCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
    const QModelIndex &index) const
{
    const QRect cell = option.rect;
    if (cell.width() <= 0 || cell.height() <= 0)
        return;

    const int row = index.row();
    const int column = index.column();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;

    painter->save();
    painter->setClipRect(cell);
    painter->fillRect(cell,
        selected ? option.palette.color(group, QPalette::Highlight) : m_pList->GetCellBkColor(row, column));

    const QStringList lines = CellLines(index.data(Qt::DisplayRole).toString(), option.font, cell);
    if (!lines.isEmpty()) {
        const QFontMetrics metrics(option.font);
        Qt::Alignment horizontal = Qt::AlignLeft;
        switch (m_pList->GetColumnFormat(column)) {
        case CDetailTableLayout::kAlignRight:
            horizontal = Qt::AlignRight;
            break;
        case CDetailTableLayout::kAlignCentre:
            horizontal = Qt::AlignHCenter;
            break;
        default:
            break;
        }
        painter->setFont(option.font);
        painter->setPen(selected ? option.palette.color(group, QPalette::HighlightedText)
                                 : m_pList->GetCellTextColor(row, column));
        // The block of lines sits in the middle of the row, as a single line would.
        const int block = metrics.height() + static_cast<int>(lines.size() - 1) * metrics.lineSpacing();
        int top = cell.top() + (cell.height() - block) / 2;
        const int width = cell.width() - 2 * kTextMargin;
        for (const QString &line : lines) {
            painter->drawText(QRect(cell.left() + kTextMargin, top, width, metrics.height()),
                static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), line);
            top += metrics.lineSpacing();
        }
    }
    painter->restore();
}
