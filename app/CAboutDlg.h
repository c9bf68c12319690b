#pragma once
// The About box "バージョン情報" (template 100): the product line, the maker's notice and the
// acknowledgement of the icon artwork. OK, Enter, Esc and the close button all end it.

#include "controls/CRvDialog.h"

class CAboutDlg : public CRvDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 100;

    explicit CAboutDlg(QWidget *parent = nullptr);
    ~CAboutDlg() override;
};
