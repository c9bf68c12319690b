#include "data/CCatalogData.h"

#include "app/CRvFileAccess.h"
#include "app/CRvFileIni.h"
#include "data/CRvTextCodec.h"
#include "data/CXmlDocument.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr int kBureauCount = 8;

QString TwoDigits(int number)
{
    return QString::asprintf("%02d", number);
}

// Two words from the ends of a text where it is long enough; a short text is gathered byte by
// byte, since narrow copies read back as one wide word stall the processor.
void TextEnds(std::string_view text, std::uint64_t &head, std::uint64_t &tail)
{
    head = 0;
    tail = 0;
    if (text.size() >= 8) {
        std::memcpy(&head, text.data(), 8);
        std::memcpy(&tail, text.data() + text.size() - 8, 8);
    } else {
        for (const char c : text)
            head = (head << 8) | static_cast<unsigned char>(c);
    }
}

// A cheap hash of the length and the outer bytes: the texts it serves are short.
std::uint64_t TextHash(std::string_view text)
{
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    TextEnds(text, head, tail);
    const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ text.size();
    return mixed ^ (mixed >> 29);
}

// Texts up to sixteen bytes are wholly covered by their two end words.
bool IsSameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    if (a.size() > 16)
        return a == b;
    std::uint64_t headA = 0;
    std::uint64_t tailA = 0;
    std::uint64_t headB = 0;
    std::uint64_t tailB = 0;
    TextEnds(a, headA, tailA);
    TextEnds(b, headB, tailB);
    return headA == headB && tailA == tailB;
}

// Equal texts within one load share one string, which saves converting, allocating and later
// freeing it once per variety: a small open-addressing table, far cheaper to search than the
// conversion it saves, and next to free until it is used. Once it is well filled, further texts
// are simply converted. The keys point into the document, which outlives this object.
class CSharedTexts
{
public:
    // `found` tells whether the text was there already.
    template <typename MakeText>
    const QString &Get(std::string_view key, MakeText makeText, bool &found)
    {
        found = true;
        std::size_t slot = TextHash(key) & (kSlots - 1);
        for (;;) {
            const std::uint8_t at = m_aSlot[slot];
            if (at == 0)
                break;
            const Entry &entry = m_aEntry[at - 1u];
            if (IsSameText(entry.key, key))
                return entry.text;
            slot = (slot + 1) & (kSlots - 1);
        }
        found = false;
        if (m_aEntry.size() >= kMaxUsed) {
            m_strOverflow = makeText();
            return m_strOverflow;
        }
        if (m_aEntry.empty())
            m_aEntry.reserve(kMaxUsed);
        m_aEntry.push_back(Entry{key, makeText()});
        m_aSlot[slot] = static_cast<std::uint8_t>(m_aEntry.size());
        return m_aEntry.back().text;
    }

private:
    static constexpr std::size_t kSlots = 256;
    static constexpr std::size_t kMaxUsed = 192;  // below 255: a slot holds the entry number + 1

    struct Entry
    {
        std::string_view key;
        QString text;
    };

    std::array<std::uint8_t, kSlots> m_aSlot{};
    std::vector<Entry> m_aEntry;
    QString m_strOverflow;  // a text converted once the table is full, until the next
};

// The values of a variety, in the order the loader reads them.
enum GrainField { kID, kName, kClass, kRequierd, kHistory, kBreedingYear, kBreedingPlace, kGrainShape, kColor, kSkin,
             kGroove, kEmbryo, kThousandWeight, kWhitePart, kOther, kReading, kFieldCount };

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
    // Equal descriptive values are shared in a large list; in a small one every text goes into the
    // record's own buffer, which the next load writes over again without allocating, and without
    // the atomic counting that shared strings cost on every copy and release.
    explicit CRecordFiller(bool shareTexts) : m_bShareTexts(shareTexts) {}

    using Field = CXmlDocument::CFoundField;

    // Writes every field of the record, whatever it held before.
    void Fill(GRAIN_INFO_DATA &record, const Field *fields)
    {
        record.nID = Number(fields[kID]);
        AssignText(record.strName, fields[kName]);
        record.nClass = Number(fields[kClass]);
        record.bRequired = IsRequired(fields[kRequierd]);
        record.strRequired = record.bRequired ? QStringLiteral("必須") : QStringLiteral("選択");
        AssignText(record.strHistory, fields[kHistory]);
        AssignDescriptive(record.strBreedingYear, fields, kBreedingYear);
        AssignDescriptive(record.strBreedingPlace, fields, kBreedingPlace);
        AssignDescriptive(record.strGrainShape, fields, kGrainShape);
        AssignDescriptive(record.strColor, fields, kColor);
        AssignDescriptive(record.strSkin, fields, kSkin);
        AssignDescriptive(record.strGroove, fields, kGroove);
        AssignDescriptive(record.strEmbryo, fields, kEmbryo);
        AssignDescriptive(record.strThousandWeight, fields, kThousandWeight);
        AssignDescriptive(record.strWhitePart, fields, kWhitePart);
        AssignDescriptive(record.strOther, fields, kOther);
        // The optional reading: empty when the file gives none.
        AssignText(record.strReading, fields[kReading]);
    }

private:
    static std::string_view Plain(const Field &field)
    {
        return CXmlDocument::CElement::TrimXmlSpace(field.pPlainUtf8);
    }

    // Empty when the element is missing.
    static void AssignText(QString &target, const Field &field)
    {
        if (field.pPlainUtf8)
            AssignPlain(target, Plain(field));
        else
            target = field.element.GetText();
    }

    // Written into the buffer the field already has where it can hold the text: the list is
    // refilled on every prefecture choice. A short text is decoded into a buffer on the stack
    // first and stored with one call.
    static void AssignPlain(QString &target, std::string_view text)
    {
        char16_t units[kShortText];
        const qsizetype length = text.size() <= kShortText ? CRvTextCodec::DecodeUtf8(text, units, kShortText) : -1;
        if (length < 0) {
            CRvTextCodec::AssignUtf8(target, text);
        } else if (target.isDetached() && target.capacity() >= length) {
            target.resize(length);
            std::memcpy(target.data(), units, static_cast<std::size_t>(length) * sizeof(char16_t));
        } else {
            target = QString(reinterpret_cast<const QChar *>(units), length);
        }
    }

    static constexpr qsizetype kShortText = 64;

    // A field whose values hardly repeat (remarks written for each variety) stops being shared
    // after a short trial: its texts then go into the records' own buffers like any other.
    void AssignDescriptive(QString &target, const Field *fields, GrainField k)
    {
        const Field &field = fields[k];
        if (!field.pPlainUtf8) {
            target = field.element.GetText();
            return;
        }
        const std::string_view plain = Plain(field);
        CSharing &sharing = m_aSharing[k];
        if (!m_bShareTexts || !sharing.bOn || plain.empty()) {
            AssignPlain(target, plain);
            return;
        }
        bool found = false;
        target = m_sharedTexts.Get(plain, [&] { return CRvTextCodec::FromUtf8(plain); }, found);
        sharing.nFound += found ? 1 : 0;
        if (++sharing.nTried == kTrial && sharing.nFound < kTrial / 4)
            sharing.bOn = false;
    }

    // How often the texts of one field were found shared already.
    struct CSharing
    {
        int nTried = 0;
        int nFound = 0;
        bool bOn = true;
    };
    static constexpr int kTrial = 64;

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

    bool m_bShareTexts;
    std::array<CSharing, kFieldCount> m_aSharing{};
    CSharedTexts m_sharedTexts;
};

// Which "Grain" fills a position: the thread that owns the record, and the document
// order number of the "Grain" that filled it. Only the owner writes the number and the record.
struct CClaim
{
    static constexpr int kNobody = -1;
    static constexpr std::size_t kNone = SIZE_MAX;

    std::atomic<int> owner{kNobody};
    std::size_t nOrdinal = kNone;
};

// A "Grain" whose position the other thread owns, kept until both are done.
struct CSetAside
{
    int nPosition = 0;
    std::size_t nOrdinal = 0;
    std::array<CXmlDocument::CFoundField, kFieldCount> aFields{};
};

// Below this many varieties a second thread costs more than it saves.
constexpr int kTwoPartsFrom = 256;
// Pieces of a large file, taken in turn by the two threads: small enough that one thread can do
// the other's share when that one is held up, large enough to cost little each.
constexpr std::size_t kPieces = 8;

// The helper thread of a large load. On a busy machine it may start late, even after the load is
// over: whoever comes first decides, under the mutex, whether the helper works (the load then
// waits for it to finish) or is turned away (it then touches nothing of the load, whose work it
// was given only by reference). The load never waits for a helper that has not started.
class CHelper
{
public:
    // Nothing when no thread is to be had: the load then does all the work itself.
    static std::shared_ptr<CHelper> Start(std::function<void()> work)
    {
        auto helper = std::make_shared<CHelper>();
        helper->m_work = std::move(work);
        try {
            std::thread([helper] { helper->Run(); }).detach();
        } catch (const std::system_error &) {
            return nullptr;
        }
        return helper;
    }

    // Turns a helper that has not started away, or waits for one that has; false when it was
    // turned away.
    bool TurnAwayOrWait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_state == State::Waiting) {
            m_state = State::TurnedAway;
            return false;
        }
        m_finished.wait(lock, [this] { return m_state == State::Finished; });
        return true;
    }

    // What the work threw, if anything; read once the helper has finished.
    std::exception_ptr Error() const { return m_error; }

private:
    enum class State { Waiting, Working, TurnedAway, Finished };

    void Run()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_state == State::TurnedAway)
                return;
            m_state = State::Working;
        }
        try {
            m_work();
        } catch (...) {
            m_error = std::current_exception();
        }
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_state = State::Finished;
        }
        m_finished.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_finished;
    State m_state = State::Waiting;
    std::function<void()> m_work;
    std::exception_ptr m_error;
};

// Settles with the helper, if there is one, whenever the load leaves the scope: turned away or
// waited for, so that its work never outlives what it refers to.
class CHelperGuard
{
public:
    explicit CHelperGuard(std::shared_ptr<CHelper> helper) : m_pHelper(std::move(helper)) {}
    CHelperGuard(const CHelperGuard &) = delete;
    CHelperGuard &operator=(const CHelperGuard &) = delete;
    ~CHelperGuard()
    {
        if (m_pHelper)
            m_pHelper->TurnAwayOrWait();
    }

    // After this thread's own share: rethrows what the helper's work threw.
    void Finish()
    {
        if (!m_pHelper)
            return;
        const std::shared_ptr<CHelper> helper = std::move(m_pHelper);
        if (helper->TurnAwayOrWait() && helper->Error())
            std::rethrow_exception(helper->Error());
    }

private:
    std::shared_ptr<CHelper> m_pHelper;
};
// From this many varieties on, equal descriptive texts are shared (see CRecordFiller).
constexpr int kShareTextsFrom = 256;

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
    // Formatted once into a small buffer: the path is built on every prefecture choice.
    char name[48];
    const int length = std::snprintf(name, sizeof name, "%02d/%02d%02d.vdx", bureauNo, bureauNo, prefNo);
    return m_strDataFolder + QLatin1String(name, std::clamp(length, 0, static_cast<int>(sizeof name) - 1));
}

bool CCatalogData::LoadGrainInfo(int bureauNo, int prefNo, CGrainInfoArray &list) const
{
    if (bureauNo < 1 || bureauNo > kBureauCount || prefNo < 1)
        return false;

    const QString path = GetGrainFilePath(bureauNo, prefNo);
    // The list is rebuilt from empty. Records of the previous list are only kept where new ones
    // take their place, so that their texts' buffers can be written over instead of freed and
    // allocated again: the main window refills the same list on every prefecture choice.
    if (!CRvFileAccess().IsFileExist(path)) {
        list.RemoveAll();
        return true;
    }

    CXmlDocument doc;
    doc.CreateNewDocument();
    // A file that does not load leaves the fresh document, which holds no "Header": no varieties.
    doc.LoadFile(path);

    const int count = std::min(CRvTextCodec::LeadingInt(doc.GetNodeText(QStringLiteral("Header"), QString(), QString(),
                                                          QStringLiteral("DataCount"), QStringLiteral("0"))),
                               kMaxDataCount);
    if (count <= 0) {
        list.RemoveAll();
        return true;
    }

    // The values of a variety are the first elements of their names anywhere below its "Grain".
    static const char *const kFieldNames[kFieldCount] = {
        "ID", "Name", "Class", "Requierd", "History", "BreedingYear", "BreedingPlace", "GrainShape",
        "Color", "Skin", "Groove", "Embryo", "ThousandWeight", "WhitePart", "Other", "Reading"};

    // Variety i is the first "Grain" in document order whose "Index" is exactly i in decimal. Each
    // record is filled as the walk leaves its "Grain", the first of equal values winning, which
    // gives the same answer as searching the document for every value, in one pass over it. A
    // large file is walked in pieces that this thread and a helper take in turn; a position
    // belongs to the thread that claims it first, and only that thread writes its record. A claim
    // the other thread makes later is set aside and settled once both are done.
    list.SetSize(count);
    std::vector<CClaim> claims(static_cast<std::size_t>(count));
    const bool shareTexts = count >= kShareTextsFrom;
    const std::vector<CXmlDocument::CPiece> pieces = doc.Pieces("Grain", count >= kTwoPartsFrom ? kPieces : 1);
    std::atomic<std::size_t> nextPiece{0};
    std::array<std::vector<CSetAside>, 2> setAside;
    auto walkPieces = [&](int self) {
        CRecordFiller filler(shareTexts);
        const CXmlDocument::GroupVisitor visit = [&](std::size_t ordinal, CXmlDocument::CElement grain,
                                                     const CXmlDocument::CFoundField *fields) {
            const int position = IndexPosition(grain.GetAttributeUtf8("Index"), count);
            if (position < 0)
                return;
            CClaim &claim = claims[static_cast<std::size_t>(position)];
            int owner = CClaim::kNobody;
            if (!claim.owner.compare_exchange_strong(owner, self, std::memory_order_relaxed) && owner != self) {
                CSetAside &aside = setAside[static_cast<std::size_t>(self)].emplace_back();
                aside.nPosition = position;
                aside.nOrdinal = ordinal;
                std::copy(fields, fields + kFieldCount, aside.aFields.begin());
                return;
            }
            // A "Grain" nested in another one of the same "Index" is left first, yet the outer one
            // comes first in the document and takes the place over.
            if (claim.nOrdinal <= ordinal)
                return;
            claim.nOrdinal = ordinal;
            filler.Fill(list.ElementAt(position), fields);
        };
        for (std::size_t piece; (piece = nextPiece.fetch_add(1, std::memory_order_relaxed)) < pieces.size();)
            doc.ForEachGroup("Grain", kFieldNames, kFieldCount, visit, pieces[piece]);
    };

    {
        // Declared after everything the helper's work refers to, so that it is turned away or
        // waited for before any of that goes, however this block is left.
        CHelperGuard helper(pieces.size() > 1 ? CHelper::Start([&] { walkPieces(1); }) : nullptr);
        walkPieces(0);
        helper.Finish();
    }

    CRecordFiller filler(shareTexts);
    for (const std::vector<CSetAside> &asides : setAside) {
        for (const CSetAside &aside : asides) {
            CClaim &claim = claims[static_cast<std::size_t>(aside.nPosition)];
            if (aside.nOrdinal < claim.nOrdinal) {
                claim.nOrdinal = aside.nOrdinal;
                filler.Fill(list.ElementAt(aside.nPosition), aside.aFields.data());
            }
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
