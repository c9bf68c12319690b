#pragma once
// What the two detail tables say: their headings, the value texts taken from a brand record, and
// the background colour of every cell. Both pages write these rows into their CRvListCtrl.

#include "data/CatalogTypes.h"
#include "browser/CDetailTableLayout.h"

#include <QStringList>

class CDetailTableRows
{
public:
    using CellColor = CDetailTableLayout::CellColor;
    // Background of cell (row, column) of a table that shows the record `shown`.
    using CellBkColorFunc = CellColor (*)(int row, int column, const GRAIN_INFO_DATA &shown);

    static constexpr CellColor kHeadingColor = CDetailTableLayout::Rgb(240, 248, 255);   // light blue
    static constexpr CellColor kValueColor = CDetailTableLayout::Rgb(255, 255, 255);     // white
    static constexpr CellColor kRequiredColor = CDetailTableLayout::Rgb(255, 250, 205);  // pale yellow
    static constexpr CellColor kOptionalColor = CDetailTableLayout::Rgb(255, 240, 245);  // pale pink

    // The eight characteristics headings and their values, row by row. The thousand-grain weight
    // gets its "g" only when there is a weight, so an empty record leaves an empty cell.
    static const QStringList &FeatureHeadings();
    static QStringList FeatureValues(const GRAIN_INFO_DATA &info);

    // The three pedigree headings and their values. The breeding row reads "place (year)", or the
    // place alone when there is no year.
    static const QStringList &HistoryHeadings();
    static QStringList HistoryValues(const GRAIN_INFO_DATA &info);

    // Heading column light blue, everything else white; the row and the record play no part.
    static CellColor FeatureCellBkColor(int row, int column, const GRAIN_INFO_DATA &shown);
    // As above, except the required/optional value cell, coloured by the record's bRequired.
    static CellColor HistoryCellBkColor(int row, int column, const GRAIN_INFO_DATA &shown);
};
