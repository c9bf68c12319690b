#include "controls/CRvListCtrl.h"

#include "controls/CRvListCellDelegate.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <new>

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

    setItemDelegate(new CRvListCellDelegate(
        this, [this](int row, int column) { return GetCellBkColor(row, column); },
        [this](int row, int column) { return GetCellTextColor(row, column); }));
}

CRvListCtrl::~CRvListCtrl() = default;

void CRvListCtrl::ResetColumns()
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i)
        removeColumn(0);
    m_nColumns = 0;
    m_pnFormats.reset();
    m_pfnCellBkColor = nullptr;
}

bool CRvListCtrl::SetColumnFormats(const int *formats)
{
    m_pnFormats.reset();
    if (m_nColumns <= 0)
        return false;
    if (formats == nullptr)
        return true;
    m_pnFormats.reset(new (std::nothrow) int[static_cast<std::size_t>(m_nColumns)]);
    if (!m_pnFormats)
        return false;
    std::copy(formats, formats + m_nColumns, m_pnFormats.get());
    return true;
}

void CRvListCtrl::InsertColumns(int count, const QString *titles, const int *widths)
{
    for (int i = 0; i < count; ++i) {
        if (i > columnCount())
            break;
        int format = CDetailTableLayout::kAlignLeft;
        if (m_pnFormats && i < m_nColumns
            && (m_pnFormats[i] == CDetailTableLayout::kAlignRight
                || m_pnFormats[i] == CDetailTableLayout::kAlignCentre))
            format = m_pnFormats[i];
        insertColumn(i);
        auto *header = new QTableWidgetItem(titles != nullptr ? titles[i] : QString());
        header->setData(Qt::UserRole, format);
        setHorizontalHeaderItem(i, header);
        setColumnWidth(i, widths != nullptr ? widths[i] : 0);
    }
    setRowCount(0);
}

bool CRvListCtrl::WriteCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return false;
    QTableWidgetItem *cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, column, cell);
    }
    cell->setText(text);
    // The whole text, for a cell that has to wrap or shorten it; a blank cell has nothing to show.
    cell->setToolTip(text.trimmed().isEmpty() ? QString() : text);
    return true;
}

bool CRvListCtrl::AddRow(const QString *texts)
{
    // A row needs at least its label column to exist.
    if (columnCount() < 1)
        return false;
    const int row = rowCount();
    insertRow(row);
    WriteCell(row, 0, texts != nullptr ? texts[0] : QString());
    bool written = true;
    for (int i = 1; i < m_nColumns; ++i) {
        if (!WriteCell(row, i, texts != nullptr ? texts[i] : QString())) {
            written = false;
            break;
        }
    }
    m_nCurRow = row;
    return written;
}

bool CRvListCtrl::SetRowTexts(int row, const QString *texts)
{
    if (row < 0 || row >= rowCount() || texts == nullptr)
        return false;
    bool written = true;
    for (int i = 0; i < m_nColumns; ++i) {
        if (!WriteCell(row, i, texts[i])) {
            written = false;
            break;
        }
    }
    m_nCurRow = row;
    return written;
}

void CRvListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
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

int CRvListCtrl::OnKeydown(int key)
{
    if (key == Qt::Key_Up && m_nCurRow > 0) {
        --m_nCurRow;
        SelectRow(m_nCurRow);
    } else if (key == Qt::Key_Down && m_nCurRow < rowCount() - 1) {
        ++m_nCurRow;
        SelectRow(m_nCurRow);
    }
    return 0;
}

int CRvListCtrl::OnClick(int item)
{
    m_nCurRow = item;
    viewport()->update();
    return 0;
}

void CRvListCtrl::keyPressEvent(QKeyEvent *event)
{
    // Up and Down belong to the list's own highlight alone: letting the table move its cursor as
    // well would show a second highlight, or move two rows for one key press. The table's cursor
    // is only brought along, without touching the selection, so that the keys the table still
    // handles itself (Page Up, Page Down, Ctrl+Home, Ctrl+End) continue from the same row.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        OnKeydown(event->key());
        if (m_nCurRow >= 0 && m_nCurRow < rowCount() && columnCount() > 1)
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
    if (rows.size() == 1 && rows.front().row() != m_nCurRow)
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

QColor CRvListCtrl::GetCellBkColor(int row, int column) const
{
    if (m_pfnCellBkColor != nullptr)
        return CDetailTableLayout::ToQColor(m_pfnCellBkColor(row, column, m_pCellBkParam));
    return palette().color(QPalette::Base);
}

QColor CRvListCtrl::GetCellTextColor(int row, int column) const
{
    Q_UNUSED(row)
    Q_UNUSED(column)
    return palette().color(QPalette::Text);
}

QSize CRvListCtrl::GetClientSize() const
{
    // The viewport only takes its size once the list is shown; the frame and the (empty) margins
    // give the same size earlier.
    const QMargins margins = viewportMargins();
    return contentsRect().marginsRemoved(margins).size();
}

int CRvListCtrl::GetColumnFormat(int column) const
{
    const QTableWidgetItem *header = horizontalHeaderItem(column);
    return header != nullptr ? header->data(Qt::UserRole).toInt() : CDetailTableLayout::kAlignLeft;
}

void CRvListCtrl::SetRowHeight(int height)
{
    // A client lower than the spare 4 pixels gives a negative share; rows cannot be lower than 0.
    height = std::max(0, height);
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, height);
}

void CRvListCtrl::SetUpDetailTable(const int *formats, double headingRatio,
                                   CDetailTableLayout::RowHeightRule rowHeightRule, const QStringList &headings,
                                   CellBkColorFunc cellBkColor, void *cellBkParam)
{
    ResetColumns();
    m_nCurRow = -1;
    m_nColumns = CDetailTableLayout::kColumns;
    SetColumnFormats(formats);

    const QSize client = GetClientSize();
    const auto widths = CDetailTableLayout::ColumnWidths(client.width(), headingRatio);
    const QString blank(QLatin1Char(' '));
    const QString titles[CDetailTableLayout::kColumns] = {blank, blank, blank};
    InsertColumns(CDetailTableLayout::kColumns, titles, widths.data());

    m_pfnCellBkColor = cellBkColor;
    m_pCellBkParam = cellBkParam;
    if (rowHeightRule != nullptr)
        SetRowHeight(rowHeightRule(client.height()));

    for (const QString &heading : headings) {
        const QString texts[CDetailTableLayout::kColumns] = {blank, heading, blank};
        AddRow(texts);
    }
    AddRow(titles);
}
