#include "ui/CRvListBox.h"

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
        setCurrentRow(-1, QItemSelectionModel::NoUpdate);
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

void CRvListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr)
        Q_EMIT SelChange();
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
}
