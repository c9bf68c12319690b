#pragma once
// The list of both tab pages: a report-style table without header or scroll bars, grid lines and a
// full-row highlight, filled a whole row at a time, whose cell backgrounds come from a function of
// the owner's choosing. It keeps its own single-row highlight that Up and Down move, starting from
// the row last written, selected or clicked.
//
// The table never scrolls: its rows have a fixed height, and a row that does not fit stays cut off
// at the bottom, so "bringing a row into view" has nothing to do.

#include "browser/CDetailTableLayout.h"

#include <QSize>
#include <QStringList>
#include <QTableWidget>

#include <memory>

class CRvListCtrl : public QTableWidget
{
    Q_OBJECT

public:
    using CellBkColorFunc = CDetailTableLayout::CellBkColorFunc;

    explicit CRvListCtrl(QWidget *parent = nullptr);
    ~CRvListCtrl() override;

    // Deletes every column; forgets the column count, the formats and the colour function.
    void ResetColumns();
    // Copies m_nColumns alignment codes (none: every column left-aligned). False while there are
    // no columns to format, or when the copy cannot be made; no formats are kept then.
    bool SetColumnFormats(const int *formats);
    // Inserts `count` columns with their titles, widths in pixels and the alignment of
    // m_pnFormats, then drops every row.
    void InsertColumns(int count, const QString *titles, const int *widths);
    // Appends a row holding m_nColumns texts (none: empty texts); it becomes m_nCurRow.
    bool AddRow(const QString *texts);
    // Replaces the texts of an existing row, which becomes m_nCurRow. A row that does not exist
    // (or no texts) changes nothing and answers false.
    bool SetRowTexts(int row, const QString *texts);
    // Highlights `row` alone (the keyboard cursor stays where it is) unless it already is the
    // first highlighted row; it becomes m_nCurRow.
    void SelectRow(int row);
    // Moves the highlight one row up or down from m_nCurRow; other keys do nothing. Answers 0.
    int OnKeydown(int key);
    // The row clicked with either button (-1 for empty space) becomes m_nCurRow. Answers 0.
    int OnClick(int item);

    // The detail table of a tab page: three columns (hidden label, heading, value) whose widths
    // and row height follow the client size, one row per heading and a blank row after them.
    void SetUpDetailTable(const int *formats, double headingRatio, CDetailTableLayout::RowHeightRule rowHeightRule,
                          const QStringList &headings, CellBkColorFunc cellBkColor, void *cellBkParam);

    // Background of a cell: the colour function's answer, or the list's own background.
    QColor GetCellBkColor(int row, int column) const;
    // Text colour of every cell: the list's normal text colour.
    QColor GetCellTextColor(int row, int column) const;
    // Size of the area inside the border where the cells are drawn; valid before the list is shown.
    QSize GetClientSize() const;
    // Alignment code the column was inserted with.
    int GetColumnFormat(int column) const;

    int m_nColumns = 0;
    std::unique_ptr<int[]> m_pnFormats;
    int m_nCurRow = -1;
    CellBkColorFunc m_pfnCellBkColor = nullptr;
    void *m_pCellBkParam = nullptr;

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // A drag of the pressed button across rows moves the highlight with it; the row it ends on is
    // the one the next Up or Down starts from.
    void FollowDraggedHighlight();
    bool WriteCell(int row, int column, const QString &text);
    void SetRowHeight(int height);
};
