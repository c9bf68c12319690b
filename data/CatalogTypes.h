#pragma once
// Catalogue records: a region (地区) with its prefectures (都道府県), and a variety (銘柄).
// Records are plain values; copying a record copies its texts.

#include "settings/CResourceStrings.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

// Growable, ordered array that owns its records by value. Reading outside 0 .. size-1 is misuse
// and throws std::invalid_argument, which nothing catches.
template <typename T>
class CRvArray
{
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }

    const T &GetAt(int index) const { return m_items[CheckedIndex(index)]; }
    T &ElementAt(int index) { return m_items[CheckedIndex(index)]; }
    const T &operator[](int index) const { return GetAt(index); }
    T &operator[](int index) { return ElementAt(index); }

    int Add(const T &item)
    {
        m_items.push_back(item);
        return GetSize() - 1;
    }
    int Add(T &&item)
    {
        m_items.push_back(std::move(item));
        return GetSize() - 1;
    }
    void RemoveAll() { m_items.clear(); }
    // Room for `count` records, so that adding up to that many moves none of them.
    void Reserve(int count) { m_items.reserve(static_cast<std::size_t>(std::max(count, 0))); }
    // Copying onto itself does nothing.
    void Copy(const CRvArray &source)
    {
        if (&source != this)
            m_items = source.m_items;
    }

    typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_items.end(); }

private:
    std::size_t CheckedIndex(int index) const
    {
        if (index < 0 || index >= GetSize())
            throw std::invalid_argument("CRvArray: index out of range");
        return static_cast<std::size_t>(index);
    }

    std::vector<T> m_items;
};

// One prefecture entry of a region. A vacant entry holds (0, 0, empty).
struct PREF_DATA {
    int nBureauNo = 0;
    int nPrefNo = 0;
    QString strPrefName;
};

// One region. Nine is the fixed capacity; entries 0 .. nPrefCnt-1 are filled, the rest vacant.
struct BUREAU_DATA {
    static constexpr int kMaxPref = 9;

    int nBureauNo = 0;
    QString strBureauName;
    int nPrefCnt = 0;
    std::array<PREF_DATA, kMaxPref> aPref{};
};

// Classification values: the lines of the classification list.
enum GrainClass : int {
    kClassUruchi = 0,   // 水稲うるち米
    kClassMochi = 1,    // 水稲もち米
    kClassBrewing = 2,  // 醸造用玄米
    kClassCount = 3
};

// The classification list's line for a classification value; empty outside 0..2.
inline QString GrainClassText(int nClass)
{
    if (nClass < kClassUruchi || nClass >= kClassCount)
        return QString();
    return CResourceStrings::Load(CResourceStrings::IDS_CLASS_URUCHI + nClass);
}

// How a variety's inspection status reads: "必須" (required) or "選択" (optional).
inline QString RequiredText(bool required)
{
    return required ? QStringLiteral("必須") : QStringLiteral("選択");
}

// One variety (brand).
struct GRAIN_INFO_DATA {
    int nID = 0;
    int nClass = 0;
    QString strName;
    bool bRequired = false;
    QString strRequired;  // "必須" or "選択", derived from bRequired
    QString strHistory;
    QString strBreedingYear;
    QString strBreedingPlace;
    QString strGrainShape;
    QString strColor;
    QString strSkin;
    QString strGroove;
    QString strEmbryo;
    QString strThousandWeight;  // grams, as text
    QString strWhitePart;
    QString strOther;
    // The brand name's kana reading, for finding a brand by how it is said; not one of the shown
    // fields. Its own initialiser lets records written out field by field leave it unnamed.
    QString strReading{};

    void Clear()
    {
        nID = 0;
        nClass = 0;
        bRequired = false;
        strName.clear();
        strRequired.clear();
        strHistory.clear();
        strBreedingYear.clear();
        strBreedingPlace.clear();
        strGrainShape.clear();
        strColor.clear();
        strSkin.clear();
        strGroove.clear();
        strEmbryo.clear();
        strThousandWeight.clear();
        strWhitePart.clear();
        strOther.clear();
        strReading.clear();
    }
};

using CBureauArray = CRvArray<BUREAU_DATA>;
using CGrainInfoArray = CRvArray<GRAIN_INFO_DATA>;
