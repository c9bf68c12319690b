#pragma once
// The "特性" tab page: two square photo frames (1016, 1017) and the eight-row characteristics table
// (list 1023). Template 133.

#include "pages/CDetailPage.h"

class CFeaturePage : public CDetailPage
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 133;
    static constexpr int kFrameFirst = 1016;
    static constexpr int kFrameSecond = 1017;
    static constexpr int kList = 1023;

    explicit CFeaturePage(QWidget *parent = nullptr);
};
