#pragma once
// The dialog "キー操作一覧": every mouse and key action of the main window, its photograph and the
// search window, in three groups of two columns (the action, what it does). 閉じる, Enter, Esc and
// the close button all end it.

#include "controls/CRvDialog.h"

class CKeyListDlg : public CRvDialog
{
    Q_OBJECT

public:
    explicit CKeyListDlg(QWidget *parent = nullptr);
    ~CKeyListDlg() override;
};
