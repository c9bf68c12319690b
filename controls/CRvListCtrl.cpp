#include "controls/CRvListCtrl.h"

#include "controls/CRvListCellDelegate.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

CRvListCtrl::CRvListCtrl(QWidget *parent)
    : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    // Columns and rows keep exactly the sizes they are given, down to the hidden zero-width column.
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // Cells take the colour function's background, or the list's own before there is one.
    setItemDelegate(new CRvListCellDelegate(this, [this](int row, int column) {
        return m_pfnCellBkColor ? CDetailTableLayout::ToQColor(m_pfnCellBkColor(row, column))
                                : palette().color(QPalette::Base);
    }));
}

CRvListCtrl::~CRvListCtrl() = default;

void CRvListCtrl::SetUpDetailTable(const ColumnFormats &formats, double headingRatio, int heightRows,
                                   const QStringList &headings, CellBkColorFunc cellBkColor)
{
    setRowCount(0);
    setColumnCount(kColumns);

    const QSize client = GetClientSize();
    const auto widths = CDetailTableLayout::ColumnWidths(client.width(), headingRatio);
    const QString blank(QLatin1Char(' '));
    for (int i = 0; i < kColumns; ++i) {
        // The header stays hidden; its items carry each column's alignment to the cell painter.
        auto *header = new QTableWidgetItem(blank);
        header->setTextAlignment(formats[static_cast<std::size_t>(i)]);
        setHorizontalHeaderItem(i, header);
        setColumnWidth(i, widths[static_cast<std::size_t>(i)]);
    }
    m_pfnCellBkColor = std::move(cellBkColor);

    // A client lower than the spare 4 pixels gives a negative share; rows cannot be lower than 0.
    verticalHeader()->setDefaultSectionSize(std::max(0, CDetailTableLayout::RowHeight(client.height(), heightRows)));

    for (const QString &heading : headings)
        AddRow({blank, heading, blank});
    AddRow({blank, blank, blank});
}

void CRvListCtrl::WriteCell(int row, int column, const QString &text)
{
    QTableWidgetItem *cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, column, cell);
    }
    cell->setText(text);
    // The whole text, for a cell that has to wrap or shorten it; a blank cell has nothing to show.
    cell->setToolTip(text.trimmed().isEmpty() ? QString() : text);
}

void CRvListCtrl::AddRow(const RowTexts &texts)
{
    const int row = rowCount();
    insertRow(row);
    for (int i = 0; i < kColumns; ++i)
        WriteCell(row, i, texts[static_cast<std::size_t>(i)]);
    m_nCurRow = row;
}

bool CRvListCtrl::SetRowTexts(int row, const RowTexts &texts)
{
    if (row < 0 || row >= rowCount())
        return false;
    for (int i = 0; i < kColumns; ++i)
        WriteCell(row, i, texts[static_cast<std::size_t>(i)]);
    m_nCurRow = row;
    return true;
}

void CRvListCtrl::SelectRow(int row)
{
    int first = -1;
    for (const QModelIndex &index : selectionModel()->selectedIndexes()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    if (first == row)
        return;
    // Only the selection changes: the keyboard cursor of the table stays where it is.
    if (first >= 0)
        selectionModel()->select(model()->index(first, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    selectionModel()->select(model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_nCurRow = row;
}

void CRvListCtrl::OnKeydown(int key)
{
    if (key == Qt::Key_Up && m_nCurRow > 0) {
        --m_nCurRow;
        SelectRow(m_nCurRow);
    } else if (key == Qt::Key_Down && m_nCurRow < rowCount() - 1) {
        ++m_nCurRow;
        SelectRow(m_nCurRow);
    }
}

void CRvListCtrl::OnClick(int item)
{
    m_nCurRow = item;
    viewport()->update();
}

void CRvListCtrl::keyPressEvent(QKeyEvent *event)
{
    // Up and Down belong to the list's own highlight alone: letting the table move its cursor as
    // well would show a second highlight, or move two rows for one key press. The table's cursor
    // is only brought along, without touching the selection, so that the keys the table still
    // handles itself (Page Up, Page Down, Ctrl+Home, Ctrl+End) continue from the same row.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        OnKeydown(event->key());
        if (m_nCurRow >= 0)
            selectionModel()->setCurrentIndex(model()->index(m_nCurRow, 1), QItemSelectionModel::NoUpdate);
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    QTableWidget::keyPressEvent(event);
    // A row the table highlighted by itself is the row the next Up or Down starts from.
    const QModelIndex after = currentIndex();
    if (after.isValid() && after != before && selectionModel()->isRowSelected(after.row(), QModelIndex()))
        m_nCurRow = after.row();
}

void CRvListCtrl::mousePressEvent(QMouseEvent *event)
{
    QTableWidget::mousePressEvent(event);
    const QModelIndex hit = indexAt(event->position().toPoint());
    // Empty space takes the highlight away, as the row is forgotten.
    if (!hit.isValid())
        clearSelection();
    OnClick(hit.isValid() ? hit.row() : -1);
}

void CRvListCtrl::mouseMoveEvent(QMouseEvent *event)
{
    QTableWidget::mouseMoveEvent(event);
    FollowDraggedHighlight();
}

void CRvListCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    FollowDraggedHighlight();
}

void CRvListCtrl::FollowDraggedHighlight()
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.size() == 1)
        m_nCurRow = rows.front().row();
}

void CRvListCtrl::wheelEvent(QWheelEvent *event)
{
    // Without scroll bars the table does not scroll; the wheel belongs to whatever is behind it.
    event->ignore();
}

void CRvListCtrl::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    Q_UNUSED(index)
    Q_UNUSED(hint)
}

QSize CRvListCtrl::GetClientSize() const
{
    // The viewport only takes its size once the list is shown; the frame and the (empty) margins
    // give the same size earlier.
    const QMargins margins = viewportMargins();
    return contentsRect().marginsRemoved(margins).size();
}
