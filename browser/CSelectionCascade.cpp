#include "browser/CSelectionCascade.h"

#include "browser/CCascadeView.h"
#include "data/CCatalogData.h"
#include "settings/CResourceStrings.h"

#include <algorithm>

CSelectionCascade::CSelectionCascade(const CCatalogData &catalog, CCascadeView &view)
    : m_catalog(catalog)
    , m_view(view)
{}

void CSelectionCascade::Start()
{
    m_nCurBureau = -1;
    m_nCurPref = -1;
    m_nCurGrain = -1;

    m_aBureauList.Copy(m_catalog.GetBureauTable());
    QStringList names;
    for (int i = 0; i < m_aBureauList.GetSize(); ++i) {
        m_curBureau = m_aBureauList[i];
        names << m_curBureau.strBureauName;
    }
    m_view.SetBureauItems(names);

    m_view.SetClassItems({CResourceStrings::Load(CResourceStrings::IDS_CLASS_URUCHI),
                          CResourceStrings::Load(CResourceStrings::IDS_CLASS_MOCHI),
                          CResourceStrings::Load(CResourceStrings::IDS_CLASS_BREWING)});
    m_nCurClass = -1;
    m_view.SelectClassItem(-1);

    // Every region of this edition is available: the first is chosen.
    SelectBureau(m_aBureauList.GetSize() > 0 ? 0 : -1);
}

void CSelectionCascade::OnSelchangeBureau(int position)
{
    if (position < 0 || position == m_nCurBureau)
        return;
    SelectBureau(position);
}

void CSelectionCascade::SelectBureau(int position)
{
    m_curBureau.nBureauNo = 0;
    m_curBureau.strBureauName.clear();

    m_view.SelectBureauItem(position);
    m_nCurBureau = position;
    if (position < 0)
        return;

    m_curBureau = m_aBureauList[position];
    m_nCurClass = -1;
    m_view.SelectClassItem(-1);

    FillPrefList();

    m_view.AttachPictureHolder();
    m_view.ClearGrainDisplay();
    m_view.ShowFeatureTab();
}

void CSelectionCascade::FillPrefList()
{
    m_nCurPref = -1;
    m_nCurGrain = -1;
    m_aGrainInfo.RemoveAll();

    // A region never has more than nine prefectures, whatever count the region table gives.
    const int count = std::min(m_curBureau.nPrefCnt, BUREAU_DATA::kMaxPref);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << m_curBureau.aPref[static_cast<std::size_t>(i)].strPrefName;
    m_view.SetPrefItems(names);
    m_view.SetGrainItems({});

    // Position 0 also when the region has no prefectures: its number 0 then loads nothing.
    m_view.SelectPrefItem(0);
    m_nCurPref = 0;

    m_nCurClass = 0;
    m_view.SelectClassItem(0);
    m_view.ClearGrainDisplay();
    if (m_catalog.LoadGrainInfo(m_curBureau.nBureauNo, m_curBureau.aPref[0].nPrefNo, m_aGrainInfo))
        FillGrainList(m_nCurClass);
}

void CSelectionCascade::OnSelchangePref(int position)
{
    if (position < 0 || position == m_nCurPref)
        return;
    SelectPref(position);
}

void CSelectionCascade::SelectPref(int position)
{
    m_view.SelectPrefItem(position);
    m_nCurPref = position;
    if (position < 0)
        return;

    // A new prefecture always starts at the first classification.
    m_nCurClass = 0;
    m_view.SelectClassItem(0);
    m_view.ClearGrainDisplay();
    const PREF_DATA &pref = m_curBureau.aPref.at(static_cast<std::size_t>(position));
    if (m_catalog.LoadGrainInfo(m_curBureau.nBureauNo, pref.nPrefNo, m_aGrainInfo))
        FillGrainList(m_nCurClass);
}

void CSelectionCascade::OnSelchangeClass(int position)
{
    if (position < 0 || position == m_nCurClass)
        return;
    m_nCurClass = position;
    m_view.ClearGrainDisplay();
    // The variety list in memory is filtered again; the file is not read.
    FillGrainList(position);
}

void CSelectionCascade::FillGrainList(int grainClass)
{
    QStringList names;
    if (m_nCurPref >= 0) {
        for (const GRAIN_INFO_DATA &grain : m_aGrainInfo) {
            if (grain.nClass == grainClass)
                names << grain.strName;
        }
    }
    m_view.SetGrainItems(names);
    if (m_nCurPref < 0)
        return;
    m_nCurGrain = -1;
    m_view.SelectGrainItem(-1);
}

void CSelectionCascade::OnSelchangeGrain(int position, const QString &name)
{
    if (position < 0)
        return;
    m_nCurGrain = FindGrain(name);
    m_view.ShowGrain();
}

int CSelectionCascade::FindGrain(const QString &name) const
{
    for (int i = 0; i < m_aGrainInfo.GetSize(); ++i) {
        const GRAIN_INFO_DATA &grain = m_aGrainInfo[i];
        if (grain.nClass == m_nCurClass && grain.strName == name)
            return i;
    }
    return -1;
}
