#pragma once
// The "来歴" tab page: the three-row pedigree table (list 1020) and the wide pedigree frame (1026).
// Template 134.

#include "pages/CDetailPage.h"

class CHistoryPage : public CDetailPage
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 134;
    static constexpr int kList = 1020;
    static constexpr int kFrame = 1026;

    explicit CHistoryPage(QWidget *parent = nullptr);
};
