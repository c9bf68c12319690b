#pragma once
// The first-run guidance dialog "ご案内" (template 151): thanks for trying the demonstration
// edition, what it shows, the maker's web page and mail address as links, and the box
// "今後この画面を表示しない". It can be left only by "開始" (or Enter) and by Esc: the title bar
// has no close button and a close request is refused.

#include "controls/CRvDialog.h"

class QCheckBox;
class QCloseEvent;
class QShowEvent;

class CGuidanceDlg : public CRvDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 151;
    static constexpr int IDC_CHECK_NOT_DISP = 1034;
    static constexpr int IDC_STATIC_URL = 1035;
    static constexpr int IDC_STATIC_MAIL = 1036;

    explicit CGuidanceDlg(QWidget *parent = nullptr);
    ~CGuidanceDlg() override;

    // "開始" takes the box's state over; Esc (reject) leaves it as it was.
    void accept() override;

    // State of check box 1034, taken over only when the dialog is closed with "開始".
    bool m_bNotDispGuidance = false;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls();
    void OnInitDialog();
    void OnClickUrl();
    void OnClickMail();

    QCheckBox *m_chkNotDisp = nullptr;
    bool m_bInitDone = false;
};
