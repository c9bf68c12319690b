#include "controls/CRvTabCtrl.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

CRvTabCtrl::CRvTabCtrl(QWidget *parent)
    : QTabWidget(parent)
{}

int CRvTabCtrl::InsertItem(int position, const QString &text)
{
    return insertTab(position, new QWidget(this), text);
}

QRect CRvTabCtrl::GetDisplayRect() const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
}
