#include "browser/CDemoContent.h"

#include <array>

namespace {

struct BuiltInBrand {
    QString strKey;
    GRAIN_INFO_DATA record;
};

// The three brands, in the order their keys are tried. Every text is the one shown: "×" is
// U+00D7, the parentheses of 吟風's pedigree are the full-width U+FF08 and U+FF09, and the
// sentences end with the ideographic full stop.
const std::array<BuiltInBrand, 3> &BuiltInBrands()
{
    static const std::array<BuiltInBrand, 3> brands = {{
        {
            QStringLiteral("101"),
            {
                1,  // nID
                0,  // nClass
                QStringLiteral("きらら397"),
                true,  // bRequired
                RequiredText(true), QStringLiteral("しまひかり×キタアケ"),
                QString(),  // strBreedingYear
                QStringLiteral("北海道立上川農試"),
                QStringLiteral("粒形はやや細長で、粒大は中、基部がやや細く、背部・腹部はなだらかに丸みがある。"),
                QStringLiteral("淡飴色。"), QStringLiteral("皮部は薄く、透明感がある。"),
                QStringLiteral("縦溝は浅い。"), QStringLiteral("胚芽部は中程度で、えぐれは浅い。"),
                QStringLiteral("23.0"), QStringLiteral("気象条件によって乳白、腹白が発生することがある。"),
                QString(),  // strOther
                QString(),  // strReading
            },
        },
        {
            QStringLiteral("151"),
            {
                51,  // nID
                1,   // nClass
                QStringLiteral("風の子もち"),
                true,  // bRequired
                RequiredText(true), QStringLiteral("上系85201×はくちょうもち"),
                QString(),  // strBreedingYear
                QStringLiteral("北海道立上川農試"),
                QStringLiteral("粒形は中形で、粒大は中、背部は比較的直線で腹部は丸みがあり、厚みはやや厚く全体的に長め"
                               "の印象を受ける。"),
                QStringLiteral("乳白。"), QStringLiteral("皮部は薄く、乳白色のため不透明。"),
                QStringLiteral("縦溝は浅い。"), QStringLiteral("胚芽部は中程度で、えぐれは浅い。"),
                QStringLiteral("21.4"),
                QString(),  // strWhitePart
                QStringLiteral("粒長は「はくちょうもち」よりやや長い。"),
                QString(),  // strReading
            },
        },
        {
            QStringLiteral("171"),
            {
                71,  // nID
                2,   // nClass
                QStringLiteral("吟風"),
                true,  // bRequired
                RequiredText(true), QStringLiteral("（八反錦×上育404号）×きらら397"),
                QString(),  // strBreedingYear
                QStringLiteral("北海道立中央農試"),
                QStringLiteral("粒形はやや円形で、粒大はやや大、基部はやや広く、背部・腹部はなだらかに丸みがある。"),
                QStringLiteral("淡飴色。"), QStringLiteral("皮部は薄く、心白が多いため透明感にかける。"),
                QStringLiteral("縦溝は浅い。"), QStringLiteral("胚芽部は中程度で、えぐれは浅い。"),
                QStringLiteral("24.6"), QStringLiteral("心白を多く発現、腹白の発生がやや多い。"),
                QString(),  // strOther
                QString(),  // strReading
            },
        },
    }};
    return brands;
}

}  // namespace

QString CDemoContent::MakeKey(int nPrefNo, int nID)
{
    return QString::asprintf("%d%02d", nPrefNo, nID);
}

bool CDemoContent::GetRecord(int nPrefNo, const QString &key, GRAIN_INFO_DATA *record)
{
    if (nPrefNo != kContentPrefNo)
        return false;
    for (const BuiltInBrand &brand : BuiltInBrands()) {
        if (brand.strKey == key) {
            *record = brand.record;
            return true;
        }
    }
    return false;
}

bool CDemoContent::HasContent(int nBureauPos, int nPrefNo, int nID)
{
    GRAIN_INFO_DATA record;
    return nBureauPos == kContentBureau && GetRecord(nPrefNo, MakeKey(nPrefNo, nID), &record);
}

QStringList CDemoContent::ResourceNames(const QString &key)
{
    QStringList names;
    for (int n = 1; n <= 4; ++n)
        names << key + QString::number(n);
    return names;
}

QStringList CDemoContent::AllResourceNames()
{
    QStringList names;
    for (const BuiltInBrand &brand : BuiltInBrands())
        names << ResourceNames(brand.strKey);
    return names;
}

CDemoContent::Display CDemoContent::ChooseDisplay(int nCurBureau, int nCurPref, int nCurGrain,
                                                  const BUREAU_DATA &curBureau, const CGrainInfoArray &grains)
{
    Display display;
    display.record.Clear();
    if (nCurBureau < 0 || nCurPref < 0 || nCurGrain < 0)
        return display;
    if (nCurBureau != kContentBureau) {
        display.eOutcome = Outcome::OtherRegion;
        return display;
    }
    // A position outside the region's prefectures or the variety list is a caller's mistake and
    // throws, as reading past either array does.
    const int nPrefNo = curBureau.aPref.at(static_cast<std::size_t>(nCurPref)).nPrefNo;
    const QString key = MakeKey(nPrefNo, grains[nCurGrain].nID);
    if (!GetRecord(nPrefNo, key, &display.record)) {
        display.eOutcome = Outcome::NoContent;
        return display;
    }
    display.eOutcome = Outcome::BuiltIn;
    display.nSource = nCurPref;
    display.astrPictures = ResourceNames(key);
    return display;
}
