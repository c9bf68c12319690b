#include "data/CCatalogData.h"

#include "data/CXmlDocument.h"
#include "settings/CRvFileAccess.h"
#include "settings/CRvFileIni.h"
#include "settings/CRvTextCodec.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

constexpr int kBureauCount = 8;

QString TwoDigits(int number)
{
    return QString::asprintf("%02d", number);
}

// The values of a variety, in the order the records list them.
enum GrainField {
    kID,
    kName,
    kClass,
    kRequierd,
    kHistory,
    kBreedingYear,
    kBreedingPlace,
    kGrainShape,
    kColor,
    kSkin,
    kGroove,
    kEmbryo,
    kThousandWeight,
    kWhitePart,
    kOther,
    kReading,
    kFieldCount
};

const std::vector<const char *> &FieldNames()
{
    static const std::vector<const char *> names = {
        "ID",    "Name", "Class",  "Requierd", "History",        "BreedingYear", "BreedingPlace", "GrainShape",
        "Color", "Skin", "Groove", "Embryo",   "ThousandWeight", "WhitePart",    "Other",         "Reading"};
    return names;
}

// The texts of one file. Equal texts share one string: the descriptive values (grain shape,
// colour, breeding place and the like) come from small vocabularies and repeat from variety to
// variety, so a large file costs one string per distinct text rather than one per value.
class CSharedTexts
{
public:
    QString Get(const CXmlDocument::CElement &element)
    {
        if (element.IsNull())
            return QString();
        const QByteArray utf8 = element.GetUtf8Text();
        const auto found = m_texts.constFind(utf8);
        return found != m_texts.cend() ? found.value() : m_texts.insert(utf8, QString::fromUtf8(utf8)).value();
    }

private:
    QHash<QByteArray, QString> m_texts;  // the keys view the document's memory
};

// One record from the value elements of its "Grain" (null where the "Grain" has none, or where
// there is no "Grain" for the position at all). Every field is written.
GRAIN_INFO_DATA MakeRecord(const CXmlDocument::CElement *fields, CSharedTexts &texts)
{
    auto text = [&](GrainField k) { return texts.Get(fields[k]); };
    auto own = [&](GrainField k) { return fields[k].GetText(); };
    GRAIN_INFO_DATA record;
    record.nID = CRvTextCodec::LeadingInt(own(kID));
    record.strName = own(kName);
    record.nClass = CRvTextCodec::LeadingInt(text(kClass));
    // "Requierd" is spelled so in every variety file; a missing one means required.
    record.bRequired = fields[kRequierd].IsNull() || fields[kRequierd].GetUtf8Text() == "TRUE";
    record.strRequired = RequiredText(record.bRequired);
    record.strHistory = own(kHistory);
    record.strBreedingYear = text(kBreedingYear);
    record.strBreedingPlace = text(kBreedingPlace);
    record.strGrainShape = text(kGrainShape);
    record.strColor = text(kColor);
    record.strSkin = text(kSkin);
    record.strGroove = text(kGroove);
    record.strEmbryo = text(kEmbryo);
    record.strThousandWeight = text(kThousandWeight);
    record.strWhitePart = text(kWhitePart);
    record.strOther = text(kOther);
    record.strReading = own(kReading);
    return record;
}

}  // namespace

CCatalogData::CCatalogData(const QString &regionTablePath)
    : CCatalogData(CRvFileIni::ReadOnce(regionTablePath))
{}

CCatalogData::CCatalogData(const CRvFileIni &ini)
{
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
    return m_strDataFolder + QString::asprintf("%02d/%02d%02d.vdx", bureauNo, bureauNo, prefNo);
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

    const int count =
        std::min(CRvTextCodec::LeadingInt(doc.GetNodeText(QStringLiteral("Header"), QString(), QString(),
                                                          QStringLiteral("DataCount"), QStringLiteral("0"))),
                 kMaxDataCount);
    if (count <= 0)
        return true;

    // Variety i is the first "Grain" in document order whose "Index" is exactly i in decimal, and
    // each of its values the first element of that name anywhere below it: the answer a fresh
    // search of the document for every value gives, from one walk of it.
    const CXmlDocument::CGroups grains = doc.GetGroups("Grain", FieldNames());
    std::vector<int> grainAt(static_cast<std::size_t>(count), -1);
    for (std::size_t g = 0; g < grains.aGroup.size(); ++g) {
        const int position = CCatalogData::IndexPosition(grains.aGroup[g].GetUtf8Attribute("Index"), count);
        if (position >= 0 && grainAt[static_cast<std::size_t>(position)] < 0)
            grainAt[static_cast<std::size_t>(position)] = static_cast<int>(g);
    }
    // A missing position still gives a record: every value takes its default.
    list.Reserve(count);
    const std::vector<CXmlDocument::CElement> missing(kFieldCount);
    CSharedTexts texts;
    for (const int g : grainAt)
        list.Add(MakeRecord(g < 0 ? missing.data() : &grains.aField[static_cast<std::size_t>(g) * kFieldCount], texts));
    return true;
}

int CCatalogData::IndexPosition(const char *index, int count)
{
    // Only digits without sign or leading zero can equal a position written in decimal.
    if (!index || !*index || (index[0] == '0' && index[1] != '\0'))
        return -1;
    long long position = 0;
    for (const char *c = index; *c; ++c) {
        if (*c < '0' || *c > '9' || c - index >= 10)
            return -1;
        position = position * 10 + (*c - '0');
    }
    return position < count ? static_cast<int>(position) : -1;
}
