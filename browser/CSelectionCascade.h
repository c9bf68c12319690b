#pragma once
// The four selection lists of the main window as a cascade: region → prefecture → classification
// → brand. Choosing an item resets and refills every list after it, reloads the prefecture's
// variety file when the prefecture changes, filters the brands by classification and blanks the
// detail display whenever anything above the brand changes. The state lives here, without a
// window; the window mirrors it through CCascadeView and passes the user's choices in (with the
// wait cursor up while a choice reads a variety file or decodes photographs).

#include "data/CatalogTypes.h"

#include <QString>

#include <array>

class CCascadeView;
class CCatalogData;

class CSelectionCascade
{
public:
    CSelectionCascade(const CCatalogData &catalog, CCascadeView &view);
    CSelectionCascade(const CSelectionCascade &) = delete;
    CSelectionCascade &operator=(const CSelectionCascade &) = delete;

    // Fills the region and classification lists from the catalogue and selects the first
    // available region (its prefectures, the first prefecture's varieties and brands follow).
    void Start();

    // The user's choices; a position of -1 (nothing selected) or the current position is ignored.
    void OnSelchangeBureau(int position);
    void OnSelchangePref(int position);
    void OnSelchangeClass(int position);
    // Every brand choice shows the brand again, even the one already on display.
    void OnSelchangeGrain(int position, const QString &name);

    void SelectBureau(int position);
    void SelectPref(int position);
    // Index in the variety list of the first record of the current classification with exactly
    // this name, or -1.
    int FindGrain(const QString &name) const;

    int GetCurBureau() const { return m_nCurBureau; }
    int GetCurPref() const { return m_nCurPref; }
    int GetCurClass() const { return m_nCurClass; }
    int GetCurGrain() const { return m_nCurGrain; }
    const BUREAU_DATA &GetCurBureauData() const { return m_curBureau; }
    const CBureauArray &GetBureauList() const { return m_aBureauList; }
    const CGrainInfoArray &GetGrainInfo() const { return m_aGrainInfo; }

private:
    void FillPrefList();
    void FillGrainList(int grainClass);

    const CCatalogData &m_catalog;
    CCascadeView &m_view;

    CBureauArray m_aBureauList;
    BUREAU_DATA m_curBureau;
    CGrainInfoArray m_aGrainInfo;
    int m_nCurBureau = -1;
    int m_nCurPref = -1;
    int m_nCurClass = -1;
    int m_nCurGrain = -1;
};
