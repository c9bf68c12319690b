#include "browser/CDetailTableRows.h"

const QStringList &CDetailTableRows::FeatureHeadings()
{
    static const QStringList headings{
        QString::fromUtf8("粒形"),
        QString::fromUtf8("色沢"),
        QString::fromUtf8("皮の厚薄"),
        QString::fromUtf8("縦溝の深浅"),
        QString::fromUtf8("胚の大小及び胚の形"),
        QString::fromUtf8("千粒重"),
        QString::fromUtf8("心白、腹白、乳白、背白、基部未熟の発現程度"),
        QString::fromUtf8("その他"),
    };
    return headings;
}

QStringList CDetailTableRows::FeatureValues(const GRAIN_INFO_DATA &info)
{
    QString weight = info.strThousandWeight;
    if (!weight.isEmpty())
        weight += QLatin1Char('g');
    return {info.strGrainShape, info.strColor, info.strSkin,      info.strGroove,
            info.strEmbryo,     weight,        info.strWhitePart, info.strOther};
}

const QStringList &CDetailTableRows::HistoryHeadings()
{
    static const QStringList headings{
        QString::fromUtf8("必須・選択"),
        QString::fromUtf8("来歴"),
        QString::fromUtf8("育種"),
    };
    return headings;
}

QStringList CDetailTableRows::HistoryValues(const GRAIN_INFO_DATA &info)
{
    QString breeding = info.strBreedingPlace;
    if (!info.strBreedingYear.isEmpty())
        breeding = QStringLiteral("%1 (%2)").arg(info.strBreedingPlace, info.strBreedingYear);
    return {info.strRequired, info.strHistory, breeding};
}

CDetailTableRows::CellColor CDetailTableRows::FeatureCellBkColor(int row, int column, const GRAIN_INFO_DATA &shown)
{
    Q_UNUSED(row)
    Q_UNUSED(shown)
    return column == 1 ? kHeadingColor : kValueColor;
}

CDetailTableRows::CellColor CDetailTableRows::HistoryCellBkColor(int row, int column, const GRAIN_INFO_DATA &shown)
{
    if (column == 1)
        return kHeadingColor;
    if (column == 2 && row == 0)
        return shown.bRequired ? kRequiredColor : kOptionalColor;
    return kValueColor;
}
