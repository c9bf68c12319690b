#include "data/CCatalogData.h"

#include "app/CRvFileAccess.h"
#include "app/CRvFileIni.h"
#include "data/CRvTextCodec.h"
#include "data/CXmlDocument.h"

#include <QHash>

#include <algorithm>

namespace {

constexpr int kBureauCount = 8;

QString TwoDigits(int number)
{
    return QString::asprintf("%02d", number);
}

// The text of the first `name` element below the variety's "Grain" element, or the fallback.
QString ChildText(const CXmlDocument::CElement &grain, const char *name, const QString &fallback)
{
    if (grain.IsNull())
        return fallback;
    const CXmlDocument::CElement child = grain.FindDescendant(name);
    return child.IsNull() ? fallback : child.GetText();
}

}  // namespace

CCatalogData::CCatalogData()
{
    const CRvFileIni ini(QStringLiteral("BureauPref.pfd"));
    for (int bureau = 1; bureau <= kBureauCount; ++bureau) {
        const QString section = QStringLiteral("Bureau") + TwoDigits(bureau);
        BUREAU_DATA record;
        record.nBureauNo = bureau;
        record.strBureauName = ini.GetString(section, QStringLiteral("BureauName"), QString());
        // A region has room for nine prefectures; a larger count is stored as nine so that no user
        // of the record looks past the last entry.
        const int count = std::min(ini.GetInt(section, QStringLiteral("PrefCnt"), 0), BUREAU_DATA::kMaxPref);
        record.nPrefCnt = count;
        for (int i = 0; i < BUREAU_DATA::kMaxPref; ++i) {
            PREF_DATA &pref = record.aPref[static_cast<std::size_t>(i)];
            pref = PREF_DATA();
            if (i < count) {
                pref.nBureauNo = bureau;
                pref.nPrefNo = i + 1;
                pref.strPrefName = ini.GetString(section, QStringLiteral("PrefName") + TwoDigits(i + 1), QString());
            }
        }
        m_aBureau.Add(record);
    }
}

bool CCatalogData::SetDataFolder(const QString &folder)
{
    if (!CRvFileAccess().IsFolderExist(folder))
        return false;
    m_strDataFolder = folder;
    return true;
}

QString CCatalogData::GetGrainFilePath(int bureauNo, int prefNo) const
{
    return m_strDataFolder + TwoDigits(bureauNo) + QLatin1Char('/') + TwoDigits(bureauNo) + TwoDigits(prefNo)
           + QStringLiteral(".vdx");
}

bool CCatalogData::LoadGrainInfo(int bureauNo, int prefNo, CGrainInfoArray &list) const
{
    if (bureauNo < 1 || bureauNo > kBureauCount || prefNo < 1)
        return false;
    list.RemoveAll();

    const QString path = GetGrainFilePath(bureauNo, prefNo);
    if (!CRvFileAccess().IsFileExist(path))
        return true;

    CXmlDocument doc;
    doc.CreateNewDocument();
    // A file that does not load leaves the fresh document, which holds no "Header": no varieties.
    doc.LoadFile(path);

    const int count = std::min(CRvTextCodec::LeadingInt(doc.GetNodeText(QStringLiteral("Header"), QString(), QString(),
                                                          QStringLiteral("DataCount"), QStringLiteral("0"))),
                               kMaxDataCount);
    if (count <= 0)
        return true;

    // Variety i is the first "Grain" in document order whose "Index" is exactly i in decimal.
    // Indexing the elements once by their "Index" text gives the same answer as searching the
    // document for every value, in time linear in the file.
    QHash<QString, CXmlDocument::CElement> grainByIndex;
    for (const CXmlDocument::CElement &grain : doc.GetElements("Grain")) {
        const std::optional<QString> index = grain.GetAttribute("Index");
        if (index && !grainByIndex.contains(*index))
            grainByIndex.insert(*index, grain);
    }

    const QString emptyText;
    const QString requiredMark = QStringLiteral("TRUE");
    for (int i = 0; i < count; ++i) {
        // A missing position still gives a record: empty, under the first classification, required.
        const CXmlDocument::CElement grain = grainByIndex.value(QString::number(i));
        GRAIN_INFO_DATA record;
        record.nID = CRvTextCodec::LeadingInt(ChildText(grain, "ID", emptyText));
        record.strName = ChildText(grain, "Name", emptyText);
        record.nClass = CRvTextCodec::LeadingInt(ChildText(grain, "Class", emptyText));
        // "Requierd" is spelled so in every variety file; a missing one means required.
        record.bRequired = ChildText(grain, "Requierd", requiredMark) == requiredMark;
        record.strRequired = record.bRequired ? QStringLiteral("必須") : QStringLiteral("選択");
        record.strHistory = ChildText(grain, "History", emptyText);
        record.strBreedingYear = ChildText(grain, "BreedingYear", emptyText);
        record.strBreedingPlace = ChildText(grain, "BreedingPlace", emptyText);
        record.strGrainShape = ChildText(grain, "GrainShape", emptyText);
        record.strColor = ChildText(grain, "Color", emptyText);
        record.strSkin = ChildText(grain, "Skin", emptyText);
        record.strGroove = ChildText(grain, "Groove", emptyText);
        record.strEmbryo = ChildText(grain, "Embryo", emptyText);
        record.strThousandWeight = ChildText(grain, "ThousandWeight", emptyText);
        record.strWhitePart = ChildText(grain, "WhitePart", emptyText);
        record.strOther = ChildText(grain, "Other", emptyText);
        list.Add(record);
    }
    return true;
}
