#pragma once
// Paints one cell of a CRvListCtrl: its background from the list's colour function (or the
// highlight of a selected row), and its text in whole lines only — wrapped onto as many lines as
// the row has room for, the last one ending in "…" when the text is longer still.

#include <QStyledItemDelegate>

class CRvListCtrl;

class CRvListCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Room left free at the left and right of a cell's text, in pixels.
    static constexpr int kTextMargin = 4;

    explicit CRvListCellDelegate(CRvListCtrl *list);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;

    // The lines a cell shows for the rectangle it is painted in, and how they are stacked.
    struct CellText {
        QStringList lines;
        int lineHeight = 0;   // height of one line's box
        int lineSpacing = 0;  // distance from one line's top to the next one's
    };
    static CellText CellLines(const QString &text, const QFont &font, const QRect &cell);

private:
    CRvListCtrl *m_pList;
};
