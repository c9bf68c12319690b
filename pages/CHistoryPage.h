#pragma once
// The "来歴" tab page: the three-row pedigree table (list 1020) and the wide pedigree frame (1026).
// Template 134.

#include "data/CatalogTypes.h"
#include "controls/CRvListCtrl.h"
#include "controls/CRvDialog.h"

class CHistoryPage : public CRvDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 134;
    static constexpr int kList = 1020;
    static constexpr int kFrame = 1026;

    explicit CHistoryPage(QWidget *parent = nullptr);
    ~CHistoryPage() override;

    bool Create(QWidget *parent);
    // Keeps a copy of the record (its bRequired colours the required/optional cell) and writes
    // the pedigree rows; always true.
    bool SetGrainInfo(const GRAIN_INFO_DATA &info);

    CRvListCtrl &GetList() { return m_list; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnInitDialog();

    GRAIN_INFO_DATA m_grainInfo;
    CRvListCtrl m_list;
};
