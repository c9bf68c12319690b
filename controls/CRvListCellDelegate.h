#pragma once
// Paints one cell of a detail list: its background from the owner's colour function (or the
// highlight of a selected row), and its text in the list's text colour, in whole lines only —
// wrapped onto as many lines as the row has room for, the last one ending in "…" when the text is
// longer still. The column's alignment is the text alignment of its (hidden) horizontal header.

#include <QColor>
#include <QStyledItemDelegate>

#include <functional>

class CRvListCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Room left free at the left and right of a cell's text, in pixels.
    static constexpr int kTextMargin = 4;

    // The background of the cell at (row, column).
    using CellColorFunc = std::function<QColor(int row, int column)>;

    CRvListCellDelegate(QObject *parent, CellColorFunc background);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The lines a cell shows for the rectangle it is painted in, and how they are stacked.
    struct CellText {
        QStringList lines;
        int lineHeight = 0;   // height of one line's box
        int lineSpacing = 0;  // distance from one line's top to the next one's
    };
    static CellText CellLines(const QString &text, const QFont &font, const QRect &cell);

private:
    CellColorFunc m_background;
};
