#pragma once
// The tab control: tab items only. The pages it switches between are children of the dialog
// placed over its display area, not children of the tab control, so each tab here carries an
// empty stand-in page.

#include <QTabWidget>

class CRvTabCtrl : public QTabWidget
{
    Q_OBJECT

public:
    explicit CRvTabCtrl(QWidget *parent = nullptr);

    // Adds a tab item with text only.
    int InsertItem(int position, const QString &text);
    // The display area below the tabs, in the tab control's own coordinates.
    QRect GetDisplayRect() const;
};
