#pragma once
// The "特性" tab page: two square photo frames (1016, 1017) and the eight-row characteristics table
// (list 1023). Template 133.

#include "data/CatalogTypes.h"
#include "controls/CRvListCtrl.h"
#include "controls/CRvDialog.h"

class CFeaturePage : public CRvDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 133;
    static constexpr int kFrameFirst = 1016;
    static constexpr int kFrameSecond = 1017;
    static constexpr int kList = 1023;

    explicit CFeaturePage(QWidget *parent = nullptr);
    ~CFeaturePage() override;

    // Builds the template's controls as a child of `parent` and initialises the page.
    bool Create(QWidget *parent);
    // Writes the record's characteristics into the table; always true. The record is not kept.
    bool SetGrainInfo(const GRAIN_INFO_DATA &info);

    CRvListCtrl &GetList() { return m_list; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnInitDialog();

    CRvListCtrl m_list;
};
