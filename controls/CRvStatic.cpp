#include "controls/CRvStatic.h"

#include <QMouseEvent>

CRvStatic::CRvStatic(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{}

CRvStatic::CRvStatic(QWidget *parent)
    : QLabel(parent)
{}

void CRvStatic::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT Clicked();
}

void CRvStatic::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT DoubleClicked();
}
