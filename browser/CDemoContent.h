#pragma once
// The demonstration edition's built-in brands: the full texts of きらら397, 風の子もち and 吟風
// and the names of their four photographs. The variety files only list brands; a listed brand is
// matched to built-in content by its prefecture's number and its identifier, nothing else.

#include "data/CatalogTypes.h"

#include <QString>
#include <QStringList>

class CDemoContent
{
public:
    // Built-in content exists only in the first region of the region list and in the prefecture
    // numbered 1 there.
    static constexpr int kContentBureau = 0;
    static constexpr int kContentPrefNo = 1;

    // The key of a variety: "%d%02d" of the prefecture number and the variety's identifier, for
    // example 1 and 1 give "101", 1 and 101 give "1101".
    static QString MakeKey(int nPrefNo, int nID);

    // Fills `record` with the built-in texts of `key` and answers true when the prefecture number
    // is 1 and the key is "101", "151" or "171"; otherwise leaves `record` alone and answers false.
    static bool GetRecord(int nPrefNo, const QString &key, GRAIN_INFO_DATA *record);

    // Whether choosing the variety `nID` of the prefecture numbered `nPrefNo`, listed at position
    // `nBureauPos` of the region list, shows built-in texts and photographs.
    static bool HasContent(int nBureauPos, int nPrefNo, int nID);

    // The photographs' resource names for slots 0 .. 3: the key followed by 1 .. 4.
    static QStringList ResourceNames(const QString &key);
    // The twelve photographs of the built-in brands, brand by brand in list order.
    static QStringList AllResourceNames();

    // What the main window shows for the brand the cascade has just matched.
    enum class Outcome {
        NoBrand,      // no region, prefecture or record: nothing changes but the main photograph's flag
        OtherRegion,  // not the first region: the brand's selection is cleared, the display stays empty
        NoContent,    // the first region without built-in content: everything is cleared
        BuiltIn       // the built-in record and its four photographs
    };
    struct Display {
        Outcome eOutcome = Outcome::NoBrand;
        GRAIN_INFO_DATA record;    // the built-in record, or a cleared one
        int nSource = -1;          // the photographs' source: the prefecture's list position
        QStringList astrPictures;  // resource names for slots 0 .. 3; empty without photographs
    };
    // `nCurBureau`, `nCurPref` and `nCurGrain` are the cascade's positions (-1 = none), `curBureau`
    // the selected region's record and `grains` the prefecture's variety list. Only the record's
    // identifier is used: everything shown for a built-in brand is the built-in record.
    static Display ChooseDisplay(int nCurBureau, int nCurPref, int nCurGrain, const BUREAU_DATA &curBureau,
                                 const CGrainInfoArray &grains);
};
