#pragma once
// The catalogue: data folder and region table, and the loader of a prefecture's variety list.

#include "data/CatalogTypes.h"

#include "settings/CRvFileIni.h"

#include <QString>

class CCatalogData
{
public:
    // Reads the region table at `regionTablePath` (CProgramFolder::GetRegionTablePath), once:
    // always eight regions, empty ones when the file is missing or unreadable.
    explicit CCatalogData(const QString &regionTablePath);
    // The same from a region table read already (CRvFileIni::ReadOnce).
    explicit CCatalogData(const CRvFileIni &regionTable);
    CCatalogData(const CCatalogData &) = delete;
    CCatalogData &operator=(const CCatalogData &) = delete;

    // Takes the path as the data folder when it names an existing folder; used exactly as
    // passed (no separator is added).
    bool SetDataFolder(const QString &folder);
    const QString &GetDataFolder() const { return m_strDataFolder; }

    // data folder + RR + "/" + RR + PP + ".vdx"
    QString GetGrainFilePath(int bureauNo, int prefNo) const;
    // False (list untouched) when the region is not 1..8 or the prefecture below 1; otherwise
    // true with the list rebuilt from the prefecture's variety file (empty when missing).
    bool LoadGrainInfo(int bureauNo, int prefNo, CGrainInfoArray &list) const;

    const CBureauArray &GetBureauTable() const { return m_aBureau; }

    // The position a Grain's "Index" (UTF-8) names, or -1 when it names none below `count`:
    // variety i is the first Grain whose Index is exactly i in decimal.
    static int IndexPosition(const char *index, int count);

    // Most varieties one file may yield; a larger "DataCount" stops here.
    static constexpr int kMaxDataCount = 10000;

private:
    QString m_strDataFolder;
    CBureauArray m_aBureau;
};
