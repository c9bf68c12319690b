#pragma once
// The list of both tab pages: a report-style table without header or scroll bars, grid lines and a
// full-row highlight, filled a whole row at a time, whose cell backgrounds come from a function of
// the owner's choosing. It keeps its own single-row highlight that Up and Down move, starting from
// the row last written, selected or clicked.
//
// The table never scrolls: its rows have a fixed height, and a row that does not fit stays cut off
// at the bottom, so "bringing a row into view" has nothing to do.

#include "browser/CDetailTableLayout.h"

#include <QStringList>
#include <QTableWidget>

#include <array>
#include <functional>

class CRvListCtrl : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int kColumns = CDetailTableLayout::kColumns;
    // The texts of one row: the hidden label column, the heading and the value.
    using RowTexts = std::array<QString, kColumns>;
    // The horizontal alignment of each column.
    using ColumnFormats = std::array<Qt::Alignment, kColumns>;
    // Background of cell (row, column).
    using CellBkColorFunc = std::function<CDetailTableLayout::CellColor(int row, int column)>;

    explicit CRvListCtrl(QWidget *parent = nullptr);
    ~CRvListCtrl() override;

    // The detail table: three columns (hidden label, heading, value) whose widths follow the
    // client width and `headingRatio`, rows of the height that `heightRows` rows share in the
    // client height, one per heading, and a blank row after them, which becomes the row the keys
    // start from.
    void SetUpDetailTable(const ColumnFormats &formats, double headingRatio, int heightRows,
                          const QStringList &headings, CellBkColorFunc cellBkColor);
    // Replaces the texts of an existing row, which becomes the row the keys start from. A row that
    // does not exist changes nothing and answers false.
    bool SetRowTexts(int row, const RowTexts &texts);
    // The row the Up and Down keys move from; -1 for none.
    int GetCurRow() const { return m_nCurRow; }

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void AddRow(const RowTexts &texts);
    void WriteCell(int row, int column, const QString &text);
    // Highlights `row` alone (the keyboard cursor stays where it is) unless it already is the
    // first highlighted row; it becomes m_nCurRow.
    void SelectRow(int row);
    // Moves the highlight one row up or down from m_nCurRow; other keys do nothing.
    void OnKeydown(int key);
    // The row clicked with either button (-1 for empty space) becomes m_nCurRow.
    void OnClick(int item);
    // A drag of the pressed button across rows moves the highlight with it; the row it ends on is
    // the one the next Up or Down starts from.
    void FollowDraggedHighlight();
    // Size of the area inside the border where the cells are drawn; valid before the list is shown.
    QSize GetClientSize() const;

    int m_nCurRow = -1;
    CellBkColorFunc m_pfnCellBkColor;
};
