#include "data/CCatalogData.h"

#include "app/CRvFileAccess.h"
#include "app/CRvFileIni.h"
#include "data/CRvTextCodec.h"
#include "data/CXmlDocument.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr int kBureauCount = 8;

QString TwoDigits(int number)
{
    return QString::asprintf("%02d", number);
}

// The descriptive values of a variety file come from small vocabularies (the inspection terms,
// the breeding stations, the years): equal texts share one string, which saves
// converting, allocating and later freeing it once per variety. A small open-addressing table
// with a cheap hash of the length and the outer bytes keeps the look-up far cheaper than the
// conversion it saves; once it is well filled, further texts are simply converted. The keys point
// into the document, which outlives this object.
class CSharedTexts
{
public:
    template <typename MakeText>
    QString Get(std::string_view key, MakeText makeText)
    {
        std::size_t slot = Hash(key) & (kSlots - 1);
        for (;;) {
            Entry &entry = m_aEntry[slot];
            if (entry.key.data() == nullptr) {
                if (m_nUsed >= kMaxUsed)
                    return makeText();
                ++m_nUsed;
                entry.key = key;
                entry.text = makeText();
                return entry.text;
            }
            if (entry.key == key)
                return entry.text;
            slot = (slot + 1) & (kSlots - 1);
        }
    }

private:
    static constexpr std::size_t kSlots = 256;
    static constexpr int kMaxUsed = 192;

    struct Entry
    {
        std::string_view key;
        QString text;
    };

    static std::size_t Hash(std::string_view key)
    {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        const std::size_t n = std::min<std::size_t>(key.size(), 8);
        std::memcpy(&head, key.data(), n);
        std::memcpy(&tail, key.data() + key.size() - n, n);
        const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ key.size();
        return static_cast<std::size_t>(mixed ^ (mixed >> 29));
    }

    std::array<Entry, kSlots> m_aEntry;
    int m_nUsed = 0;
};

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

    // The values of a variety are the first elements of their names anywhere below its "Grain".
    enum Field { kID, kName, kClass, kRequierd, kHistory, kBreedingYear, kBreedingPlace, kGrainShape, kColor,
                 kSkin, kGroove, kEmbryo, kThousandWeight, kWhitePart, kOther, kFieldCount };
    static const char *const kFieldNames[kFieldCount] = {
        "ID", "Name", "Class", "Requierd", "History", "BreedingYear", "BreedingPlace", "GrainShape",
        "Color", "Skin", "Groove", "Embryo", "ThousandWeight", "WhitePart", "Other"};
    std::vector<CXmlDocument::CElement> grains;
    std::vector<CXmlDocument::CElement> found;
    doc.CollectElements("Grain", kFieldNames, kFieldCount, grains, found);

    // Variety i is the first "Grain" in document order whose "Index" is exactly i in decimal. Only
    // an "Index" in that form (digits, no sign, no leading zero) can ever equal it, so placing the
    // elements by position once gives the same answer as searching the document for every value,
    // in time linear in the file.
    std::vector<int> grainAt(static_cast<std::size_t>(count), -1);
    for (std::size_t g = 0; g < grains.size(); ++g) {
        const char *index = grains[g].GetAttributeUtf8("Index");
        if (!index || *index < '0' || *index > '9' || (index[0] == '0' && index[1] != '\0'))
            continue;
        long long position = 0;
        const char *digit = index;
        for (; *digit >= '0' && *digit <= '9' && position < count; ++digit)
            position = position * 10 + (*digit - '0');
        if (*digit == '\0' && position < count && grainAt[static_cast<std::size_t>(position)] < 0)
            grainAt[static_cast<std::size_t>(position)] = static_cast<int>(g);  // the first of equal values
    }

    const QString requiredMark = QStringLiteral("TRUE");
    const CXmlDocument::CElement missing;
    CSharedTexts sharedTexts;
    list.SetSize(count);
    for (int i = 0; i < count; ++i) {
        // A missing position still gives a record: every value takes its default.
        const int g = grainAt[static_cast<std::size_t>(i)];
        const CXmlDocument::CElement *fields = g < 0 ? nullptr : &found[static_cast<std::size_t>(g) * kFieldCount];
        auto element = [&](Field field) -> const CXmlDocument::CElement & { return fields ? fields[field] : missing; };
        auto text = [&](Field field) { return element(field).GetText(); };  // empty when missing
        auto sharedText = [&](Field field) {
            const std::optional<std::string_view> plain = element(field).GetPlainTextUtf8();
            if (!plain || plain->empty())
                return text(field);
            return sharedTexts.Get(*plain, [&] { return text(field); });
        };
        // Numbers and the flag are read straight from the document's text where it is plain.
        auto number = [&](Field field) {
            const std::optional<std::string_view> plain = element(field).GetPlainTextUtf8();
            const std::optional<int> value = plain ? CRvTextCodec::LeadingInt(*plain) : std::nullopt;
            return value ? *value : CRvTextCodec::LeadingInt(text(field));
        };
        auto isRequired = [&]() {
            // "Requierd" is spelled so in every variety file; a missing one means required.
            if (element(kRequierd).IsNull())
                return true;
            const std::optional<std::string_view> plain = element(kRequierd).GetPlainTextUtf8();
            return plain ? *plain == "TRUE" : text(kRequierd) == requiredMark;
        };

        GRAIN_INFO_DATA record;
        record.nID = number(kID);
        record.strName = text(kName);
        record.nClass = number(kClass);
        record.bRequired = isRequired();
        record.strRequired = record.bRequired ? QStringLiteral("必須") : QStringLiteral("選択");
        record.strHistory = text(kHistory);
        record.strBreedingYear = sharedText(kBreedingYear);
        record.strBreedingPlace = sharedText(kBreedingPlace);
        record.strGrainShape = sharedText(kGrainShape);
        record.strColor = sharedText(kColor);
        record.strSkin = sharedText(kSkin);
        record.strGroove = sharedText(kGroove);
        record.strEmbryo = sharedText(kEmbryo);
        record.strThousandWeight = sharedText(kThousandWeight);
        record.strWhitePart = sharedText(kWhitePart);
        record.strOther = sharedText(kOther);
        // Completed before it takes its place in the list.
        list.ElementAt(i) = std::move(record);
    }
    return true;
}
