#include "controls/CRvListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

CRvListBox::CRvListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
}

int CRvListBox::GetCurSel() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void CRvListBox::SetCurSel(int position)
{
    if (position < 0 || position >= count()) {
        clearSelection();
        return;
    }
    setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(position));
}

void CRvListBox::SetItems(const QStringList &texts)
{
    clear();
    addItems(texts);
}

QString CRvListBox::GetText(int position) const
{
    const QListWidgetItem *line = item(position);
    return line != nullptr ? line->text() : QString();
}

QItemSelectionModel::SelectionFlags CRvListBox::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    // The view's own rule deselects the selected line on a Ctrl+click or Ctrl+Space.
    if (command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect;
    return command;
}

void CRvListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr)
        Q_EMIT SelChange();
}

void CRvListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void CRvListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void CRvListBox::mouseMoveEvent(QMouseEvent *event)
{
    const int before = GetCurSel();
    QListWidget::mouseMoveEvent(event);
    if (GetCurSel() != before)
        Q_EMIT SelChange();
}

void CRvListBox::keyPressEvent(QKeyEvent *event)
{
    const int before = GetCurSel();
    QListWidget::keyPressEvent(event);
    if (GetCurSel() != before)
        Q_EMIT SelChange();
    // Enter acts on the list alone (its selection is already what the user sees); it never
    // reaches the window's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}
