#include "data/CCatalogData.h"

#include "app/CRvFileAccess.h"
#include "app/CRvFileIni.h"
#include "data/CRvTextCodec.h"
#include "data/CXmlDocument.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <future>
#include <memory>
#include <system_error>
#include <cstdint>
#include <optional>
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
        // Whole eight-byte loads where the text is long enough; a short text is gathered byte by
        // byte, since narrow copies read back as one wide word stall the processor.
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        if (key.size() >= 8) {
            std::memcpy(&head, key.data(), 8);
            std::memcpy(&tail, key.data() + key.size() - 8, 8);
        } else {
            for (const char c : key)
                head = (head << 8) | static_cast<unsigned char>(c);
        }
        const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ key.size();
        return static_cast<std::size_t>(mixed ^ (mixed >> 29));
    }

    std::array<Entry, kSlots> m_aEntry;
    int m_nUsed = 0;
};

// The values of a variety, in the order the loader reads them.
enum Field { kID, kName, kClass, kRequierd, kHistory, kBreedingYear, kBreedingPlace, kGrainShape, kColor, kSkin,
             kGroove, kEmbryo, kThousandWeight, kWhitePart, kOther, kFieldCount };

// The position an "Index" names, or -1 when it names none below `count`. Only an "Index" of
// digits without sign or leading zero can equal a position written in decimal.
int IndexPosition(const char *index, int count)
{
    if (!index || *index < '0' || *index > '9' || (index[0] == '0' && index[1] != '\0'))
        return -1;
    long long position = 0;
    const char *digit = index;
    for (; *digit >= '0' && *digit <= '9' && position < count; ++digit)
        position = position * 10 + (*digit - '0');
    return *digit == '\0' && position < count ? static_cast<int>(position) : -1;
}

// Turns the value elements of one "Grain" into a record. Values that are plain text (the usual
// case) are read straight from the document; anything else goes through the element's text.
class CRecordFiller
{
public:
    using Field = CXmlDocument::CFoundField;

    void Fill(GRAIN_INFO_DATA &record, const Field *fields)
    {
        record.nID = Number(fields[kID]);
        record.strName = Text(fields[kName]);
        record.nClass = Number(fields[kClass]);
        record.bRequired = IsRequired(fields[kRequierd]);
        record.strRequired = record.bRequired ? QStringLiteral("必須") : QStringLiteral("選択");
        record.strHistory = Text(fields[kHistory]);
        record.strBreedingYear = SharedText(fields[kBreedingYear]);
        record.strBreedingPlace = SharedText(fields[kBreedingPlace]);
        record.strGrainShape = SharedText(fields[kGrainShape]);
        record.strColor = SharedText(fields[kColor]);
        record.strSkin = SharedText(fields[kSkin]);
        record.strGroove = SharedText(fields[kGroove]);
        record.strEmbryo = SharedText(fields[kEmbryo]);
        record.strThousandWeight = SharedText(fields[kThousandWeight]);
        record.strWhitePart = SharedText(fields[kWhitePart]);
        record.strOther = SharedText(fields[kOther]);
    }

private:
    static std::string_view Plain(const Field &field)
    {
        return CXmlDocument::CElement::TrimXmlSpace(field.pPlainUtf8);
    }

    static QString FromUtf8(std::string_view text)
    {
        return CRvTextCodec::FromUtf8(text);
    }

    // Empty when the element is missing.
    static QString Text(const Field &field)
    {
        if (field.pPlainUtf8)
            return FromUtf8(Plain(field));
        return field.element.GetText();
    }

    QString SharedText(const Field &field)
    {
        if (!field.pPlainUtf8)
            return field.element.GetText();
        const std::string_view plain = Plain(field);
        if (plain.empty())
            return QString();
        return m_sharedTexts.Get(plain, [&] { return FromUtf8(plain); });
    }

    static int Number(const Field &field)
    {
        if (field.pPlainUtf8) {
            if (const std::optional<int> value = CRvTextCodec::LeadingInt(Plain(field)))
                return *value;
        }
        return CRvTextCodec::LeadingInt(field.element.GetText());
    }

    // "Requierd" is spelled so in every variety file; a missing one means required.
    static bool IsRequired(const Field &field)
    {
        if (field.element.IsNull())
            return true;
        if (field.pPlainUtf8)
            return Plain(field) == "TRUE";
        return field.element.GetText() == QLatin1String("TRUE");
    }

    CSharedTexts m_sharedTexts;
};

// Which "Grain" fills a position: the part (thread) that owns the record, and the document
// order number of the "Grain" that filled it. Only the owner writes the number and the record.
struct CClaim
{
    static constexpr int kNobody = -1;
    static constexpr std::size_t kNone = SIZE_MAX;

    std::atomic<int> owner{kNobody};
    std::size_t nOrdinal = kNone;
};

// A "Grain" whose position another part owns, kept until both parts are done.
struct CSetAside
{
    int nPosition = 0;
    std::size_t nOrdinal = 0;
    std::array<CXmlDocument::CFoundField, kFieldCount> aFields{};
};

// Below this many varieties a second thread costs more than it saves.
constexpr int kTwoPartsFrom = 256;

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
    // A long previous list is freed on another thread while the file is read: thousands of texts
    // to release, which need not hold up the new list. The records are no longer reachable from
    // here, and the wait for that thread ends the call at the latest.
    std::future<void> previousFreed;
    if (list.GetSize() >= kTwoPartsFrom) {
        auto previous = std::make_unique<CGrainInfoArray>(std::move(list));
        try {
            previousFreed = std::async(std::launch::async, [records = std::move(previous)]() mutable { records.reset(); });
        } catch (const std::system_error &) {
            // No thread to be had: the records were freed here.
        }
    }
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
    static const char *const kFieldNames[kFieldCount] = {
        "ID", "Name", "Class", "Requierd", "History", "BreedingYear", "BreedingPlace", "GrainShape",
        "Color", "Skin", "Groove", "Embryo", "ThousandWeight", "WhitePart", "Other"};

    // Variety i is the first "Grain" in document order whose "Index" is exactly i in decimal. Each
    // record is filled as the walk leaves its "Grain", the first of equal values winning, which
    // gives the same answer as searching the document for every value, in one pass over it. A
    // large file is walked in two parts on two threads; a position belongs to the part that
    // claims it first, and only that part writes its record. A claim the other part makes later
    // is set aside and settled once both parts are done.
    list.SetSize(count);
    std::vector<CClaim> claims(static_cast<std::size_t>(count));
    auto walkPart = [&](std::size_t part, std::size_t partCount) {
        CRecordFiller filler;
        std::vector<CSetAside> setAside;
        const int self = static_cast<int>(part);
        doc.ForEachGroup(
            "Grain", kFieldNames, kFieldCount,
            [&](std::size_t ordinal, CXmlDocument::CElement grain, const CXmlDocument::CFoundField *fields) {
                const int position = IndexPosition(grain.GetAttributeUtf8("Index"), count);
                if (position < 0)
                    return;
                CClaim &claim = claims[static_cast<std::size_t>(position)];
                int owner = CClaim::kNobody;
                if (!claim.owner.compare_exchange_strong(owner, self, std::memory_order_relaxed) && owner != self) {
                    CSetAside &aside = setAside.emplace_back();
                    aside.nPosition = position;
                    aside.nOrdinal = ordinal;
                    std::copy(fields, fields + kFieldCount, aside.aFields.begin());
                    return;
                }
                // A "Grain" nested in another one of the same "Index" is left first, yet the outer
                // one comes first in the document and takes the place over.
                if (claim.nOrdinal <= ordinal)
                    return;
                claim.nOrdinal = ordinal;
                filler.Fill(list.ElementAt(position), fields);
            },
            part, partCount);
        return setAside;
    };

    std::vector<CSetAside> setAside;
    std::future<std::vector<CSetAside>> secondPart;
    if (count >= kTwoPartsFrom) {
        try {
            secondPart = std::async(std::launch::async, walkPart, 1, 2);
        } catch (const std::system_error &) {
            // No thread to be had: the second part is walked here after the first.
        }
    }
    if (secondPart.valid()) {
        setAside = walkPart(0, 2);
        const std::vector<CSetAside> more = secondPart.get();
        setAside.insert(setAside.end(), more.begin(), more.end());
    } else if (count >= kTwoPartsFrom) {
        setAside = walkPart(0, 2);
        const std::vector<CSetAside> more = walkPart(1, 2);
        setAside.insert(setAside.end(), more.begin(), more.end());
    } else {
        setAside = walkPart(0, 1);
    }

    CRecordFiller filler;
    for (const CSetAside &aside : setAside) {
        CClaim &claim = claims[static_cast<std::size_t>(aside.nPosition)];
        if (aside.nOrdinal < claim.nOrdinal) {
            claim.nOrdinal = aside.nOrdinal;
            filler.Fill(list.ElementAt(aside.nPosition), aside.aFields.data());
        }
    }
    // A missing position still gives a record: every value takes its default.
    const std::array<CXmlDocument::CFoundField, kFieldCount> missing{};
    for (int i = 0; i < count; ++i) {
        if (claims[static_cast<std::size_t>(i)].nOrdinal == CClaim::kNone)
            filler.Fill(list.ElementAt(i), missing.data());
    }
    return true;
}
