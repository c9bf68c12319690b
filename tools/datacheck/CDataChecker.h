#pragma once
// Looks at a program folder exactly as the program does (settings file, region table, data folder,
// variety files, all through the catalogue code) and lists what the program would silently
// tolerate: missing files, counts that disagree, Index positions missing or repeated, and so on.

#include "data/CatalogTypes.h"
#include "settings/CRvFileIni.h"

#include <QJsonObject>
#include <QString>

#include <vector>

class CCatalogData;
class CProgramFolder;
class CXmlDocument;

class CDataChecker
{
public:
    struct Problem {
        QString strFile;
        QString strMessage;
    };

    // Checks the files of the program folder as the program would read them.
    void Run(const CProgramFolder &program);

    const std::vector<Problem> &GetProblems() const { return m_aProblem; }
    // Information that is no problem: Grains without a reading, which 銘柄検索 finds by name only.
    const std::vector<Problem> &GetNotes() const { return m_aNote; }
    QJsonObject ToJson() const;
    // Counts per region, classification and prefecture, then the problems.
    QString ToSummary() const;

private:
    struct PrefResult {
        int nBureauNo = 0;
        int nPrefNo = 0;
        QString strPrefName;
        QString strFile;
        bool bExists = false;
        bool bLoaded = false;
        CGrainInfoArray aGrain;
    };

    void CheckRegionTable(const CProgramFolder &program, const CCatalogData &catalog, const CRvFileIni &table,
                          CRvFileAccess::ReadStatus status);
    void CheckVarietyFile(const PrefResult &pref);
    void CheckGrains(const QString &file, const CXmlDocument &doc, const CGrainInfoArray &grains);
    void AddProblem(const QString &file, const QString &message);
    void NoteGrainsWithoutReading(const PrefResult &pref);

    QString m_strDataFolder;
    CBureauArray m_aBureau;
    std::vector<PrefResult> m_aPref;
    std::vector<Problem> m_aProblem;
    std::vector<Problem> m_aNote;
};
