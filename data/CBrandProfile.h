#pragma once
// A variety's profile across the whole catalogue: how it reads, its classifications, every
// prefecture that lists it, its pedigree, and the listed varieties it comes from and that come
// from it. CBrandIndex answers it for a name; here are the record, the reading of pedigree texts
// into variety names and the profile as plain text.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

struct BRAND_PROFILE {
    // One prefecture that lists the variety.
    struct LISTING {
        QString strPrefName;
        bool bRequired = false;
        int nEntry = 0;  // the listing's row in the brand index, to choose it in the four lists
    };

    QString strName;          // as its first listing writes it
    QString strReading;       // the first listing's reading that is not empty; empty when none has one
    std::vector<int> aClass;  // classifications it is listed under, in the classification list's order
    // 必須 listings first, then 選択; each in the region list's order. A prefecture that lists
    // the variety under both statuses appears under both.
    std::vector<LISTING> aListing;
    // From one listing: the first in the region list's order whose file gives any of the three
    // texts, so that prefectures' differing texts never mix. All three empty: the catalogue knows
    // nothing of its pedigree.
    QString strHistory;
    QString strBreedingPlace;
    QString strBreedingYear;
    // Listed varieties, by the name their first listing writes, which GetProfile takes back.
    QStringList aParent;  // named in its pedigree, in the pedigree's order
    QStringList aChild;   // whose pedigree names it, in the order the search lists them
};

namespace CBrandProfile {

// The variety names a pedigree text gives, in its order: crosses ("×") split, brackets of any
// depth (full or half width) and "/" taken as separators, blanks trimmed, and a trailing word for
// a mutation or selection ("の突然変異", "から選抜", "の選抜", …) taken off. The names are as
// written; which of them are listed varieties is for the caller to look up.
QStringList ParsePedigree(QStringView history);

// The profile as lines of plain text, each ended by a newline:
//   コシヒカリ（こしひかり）
//   分類: 水稲うるち米
//   来歴: 農林22号×農林1号
//   育種: 福井県農事試験場 1956年
//   登録: 必須 — 茨城県、栃木県; 選択 — 東京都
//   親: 農林1号
//   子: ひとめぼれ、あきたこまち
// The reading is left out when it is written as the name is (きらら397); 来歴 and 育種 give way to
// "系譜の情報はありません" when the profile has no pedigree texts, and each row with nothing to
// show is left out.
QString Format(const BRAND_PROFILE &profile);

}  // namespace CBrandProfile
