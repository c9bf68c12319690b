#include "controls/CRvListCellDelegate.h"

#include "browser/CDetailTableLayout.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

CRvListCellDelegate::CRvListCellDelegate(QObject *parent, CellColorFunc background)
    : QStyledItemDelegate(parent)
    , m_background(std::move(background))
{}

CRvListCellDelegate::CellText CRvListCellDelegate::CellLines(const QString &text, const QFont &font, const QRect &cell)
{
    const QFontMetrics metrics(font);
    const int width = cell.width() - 2 * kTextMargin;
    CellText out;
    out.lineHeight = metrics.height();
    out.lineSpacing = metrics.lineSpacing();
    int lines = CDetailTableLayout::LinesThatFit(cell.height(), out.lineHeight, out.lineSpacing);
    if (lines == 1 && metrics.horizontalAdvance(text) > width) {
        // The rows are a little lower than two full line heights. Japanese glyphs stay inside
        // their em square, so two lines one em apart still show whole, where the full line height
        // would leave room for one line and an "…".
        const int em = QFontInfo(font).pixelSize();
        const int compact = CDetailTableLayout::LinesThatFit(cell.height(), em, em);
        if (compact > 1) {
            out.lineHeight = em;
            out.lineSpacing = em;
            lines = compact;
        }
    }
    out.lines = CDetailTableLayout::FitCellText(text, font, width, lines);
    return out;
}

void CRvListCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
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
    painter->fillRect(cell, selected ? option.palette.color(group, QPalette::Highlight) : m_background(row, column));

    const CellText cellText = CellLines(index.data(Qt::DisplayRole).toString(), option.font, cell);
    const QStringList &lines = cellText.lines;
    if (!lines.isEmpty()) {
        const Qt::Alignment horizontal =
            qvariant_cast<Qt::Alignment>(index.model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole))
            & Qt::AlignHorizontal_Mask;
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        // The block of lines sits in the middle of the row, as a single line would.
        const int block = cellText.lineHeight + static_cast<int>(lines.size() - 1) * cellText.lineSpacing;
        int top = cell.top() + (cell.height() - block) / 2;
        const int width = cell.width() - 2 * kTextMargin;
        for (const QString &line : lines) {
            painter->drawText(QRect(cell.left() + kTextMargin, top, width, cellText.lineHeight),
                              static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), line);
            top += cellText.lineSpacing;
        }
    }
    painter->restore();
}
