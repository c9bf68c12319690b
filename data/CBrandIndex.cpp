#include "data/CBrandIndex.h"

#include "data/CCatalogData.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <tuple>
#include <utility>

namespace {

// Katakana ァ..ヶ and the iteration marks ヽヾ sit 0x60 above their hiragana.
constexpr char16_t kKatakanaFirst = 0x30A1;
constexpr char16_t kKatakanaLast = 0x30F6;
constexpr char16_t kKatakanaIterFirst = 0x30FD;
constexpr char16_t kKatakanaIterLast = 0x30FE;
constexpr char16_t kKanaDistance = 0x60;

CBrandIndex::Match MatchText(QStringView foldedQuery, QStringView foldedText)
{
    if (foldedText.size() < foldedQuery.size())
        return CBrandIndex::kNoMatch;
    if (foldedText.size() == foldedQuery.size())
        return foldedText == foldedQuery ? CBrandIndex::kExact : CBrandIndex::kNoMatch;
    if (foldedText.startsWith(foldedQuery))
        return CBrandIndex::kPrefix;
    return foldedText.contains(foldedQuery) ? CBrandIndex::kContains : CBrandIndex::kNoMatch;
}

// Romaji syllables and their kana, Hepburn and Kunrei spellings side by side. ICU's Latin-Hiragana
// transliterator reads a romanisation of its own (si as せぃ, tu as てぅ, hu as へぅ, "konna" as
// こっな), so the two spellings people type are kept here. ん, っ and ー come from the rules in
// MakeQuery, not from this table.
struct Syllable {
    const char *romaji;
    const char16_t *kana;
};

// clang-format off
constexpr Syllable kSyllables[] = {
    {"a", u"あ"}, {"i", u"い"}, {"u", u"う"}, {"e", u"え"}, {"o", u"お"},
    {"ka", u"か"}, {"ki", u"き"}, {"ku", u"く"}, {"ke", u"け"}, {"ko", u"こ"},
    {"kya", u"きゃ"}, {"kyu", u"きゅ"}, {"kyo", u"きょ"},
    {"ga", u"が"}, {"gi", u"ぎ"}, {"gu", u"ぐ"}, {"ge", u"げ"}, {"go", u"ご"},
    {"gya", u"ぎゃ"}, {"gyu", u"ぎゅ"}, {"gyo", u"ぎょ"},
    {"sa", u"さ"}, {"si", u"し"}, {"shi", u"し"}, {"su", u"す"}, {"se", u"せ"}, {"so", u"そ"},
    {"sha", u"しゃ"}, {"shu", u"しゅ"}, {"she", u"しぇ"}, {"sho", u"しょ"},
    {"sya", u"しゃ"}, {"syu", u"しゅ"}, {"syo", u"しょ"},
    {"za", u"ざ"}, {"zi", u"じ"}, {"ji", u"じ"}, {"zu", u"ず"}, {"ze", u"ぜ"}, {"zo", u"ぞ"},
    {"ja", u"じゃ"}, {"ju", u"じゅ"}, {"je", u"じぇ"}, {"jo", u"じょ"},
    {"zya", u"じゃ"}, {"zyu", u"じゅ"}, {"zyo", u"じょ"}, {"jya", u"じゃ"}, {"jyu", u"じゅ"}, {"jyo", u"じょ"},
    {"ta", u"た"}, {"ti", u"ち"}, {"chi", u"ち"}, {"tu", u"つ"}, {"tsu", u"つ"}, {"te", u"て"}, {"to", u"と"},
    {"cha", u"ちゃ"}, {"chu", u"ちゅ"}, {"che", u"ちぇ"}, {"cho", u"ちょ"},
    {"tya", u"ちゃ"}, {"tyu", u"ちゅ"}, {"tyo", u"ちょ"},
    {"da", u"だ"}, {"di", u"ぢ"}, {"du", u"づ"}, {"de", u"で"}, {"do", u"ど"},
    {"na", u"な"}, {"ni", u"に"}, {"nu", u"ぬ"}, {"ne", u"ね"}, {"no", u"の"},
    {"nya", u"にゃ"}, {"nyu", u"にゅ"}, {"nyo", u"にょ"},
    {"ha", u"は"}, {"hi", u"ひ"}, {"hu", u"ふ"}, {"fu", u"ふ"}, {"he", u"へ"}, {"ho", u"ほ"},
    {"hya", u"ひゃ"}, {"hyu", u"ひゅ"}, {"hyo", u"ひょ"}, {"fa", u"ふぁ"}, {"fi", u"ふぃ"}, {"fe", u"ふぇ"}, {"fo", u"ふぉ"},
    {"ba", u"ば"}, {"bi", u"び"}, {"bu", u"ぶ"}, {"be", u"べ"}, {"bo", u"ぼ"},
    {"bya", u"びゃ"}, {"byu", u"びゅ"}, {"byo", u"びょ"},
    {"pa", u"ぱ"}, {"pi", u"ぴ"}, {"pu", u"ぷ"}, {"pe", u"ぺ"}, {"po", u"ぽ"},
    {"pya", u"ぴゃ"}, {"pyu", u"ぴゅ"}, {"pyo", u"ぴょ"},
    {"ma", u"ま"}, {"mi", u"み"}, {"mu", u"む"}, {"me", u"め"}, {"mo", u"も"},
    {"mya", u"みゃ"}, {"myu", u"みゅ"}, {"myo", u"みょ"},
    {"ya", u"や"}, {"yu", u"ゆ"}, {"yo", u"よ"},
    {"ra", u"ら"}, {"ri", u"り"}, {"ru", u"る"}, {"re", u"れ"}, {"ro", u"ろ"},
    {"rya", u"りゃ"}, {"ryu", u"りゅ"}, {"ryo", u"りょ"},
    {"wa", u"わ"}, {"wo", u"を"}, {"vu", u"ゔ"},
};
// clang-format on
constexpr qsizetype kLongestSyllable = 3;

// Consonants that are doubled for っ ("kk", "ss", "pp", …); "tch" is the other spelling of it.
constexpr QLatin1StringView kDoubling("bcdfghjkpqrstvwz");

bool IsLatin(QChar c)
{
    return c >= u'a' && c <= u'z';
}

// The syllable spelt exactly `romaji`, or nullptr.
const char16_t *KanaOf(QStringView romaji)
{
    for (const Syllable &s : kSyllables)
        if (romaji == QLatin1StringView(s.romaji))
            return s.kana;
    return nullptr;
}

// Every kana the letters of an unfinished syllable may become: the syllables they begin, っ for a
// consonant that may be doubled, ん for n and m. Empty when they begin nothing.
std::vector<QString> KanaBegunBy(QStringView letters)
{
    std::vector<QString> kana;
    const auto add = [&kana](const QString &k) {
        if (std::find(kana.begin(), kana.end(), k) == kana.end())
            kana.push_back(k);
    };
    for (const Syllable &s : kSyllables) {
        const QLatin1StringView romaji(s.romaji);
        if (romaji.size() > letters.size() && romaji.startsWith(letters))
            add(QString::fromUtf16(s.kana));
    }
    if (kana.empty())
        return kana;
    if (letters.size() == 1 && kDoubling.contains(letters[0]))
        add(QStringLiteral("っ"));
    if (letters == u"n" || letters == u"m")
        add(QStringLiteral("ん"));
    return kana;
}

// The vowel a kana ends on ('a', 'i', 'u', 'e', 'o'), or 0 for ん, っ and anything not hiragana.
char VowelOf(char16_t kana)
{
    constexpr char16_t kFirst = u'ぁ';
    constexpr char16_t kLast = u'ゖ';
    static const std::array<char, kLast - kFirst + 1> table = [] {
        const std::pair<char, QStringView> rows[] = {
            {'a', u"あぁかがさざただなはばぱまやゃらわゎゕ"}, {'i', u"いぃきぎしじちぢにひびぴみりゐ"},
            {'u', u"うぅくぐすずつづぬふぶぷむゆゅるゔ"},     {'e', u"えぇけげせぜてでねへべぺめれゑゖ"},
            {'o', u"おぉこごそぞとどのほぼぽもよょろを"},
        };
        std::array<char, kLast - kFirst + 1> vowels{};
        for (const auto &[vowel, row] : rows)
            for (const QChar c : row)
                vowels[static_cast<std::size_t>(c.unicode() - kFirst)] = vowel;
        return vowels;
    }();
    return kana >= kFirst && kana <= kLast ? table[static_cast<std::size_t>(kana - kFirst)] : 0;
}

bool IsVowelKana(char16_t kana)
{
    return kana == u'あ' || kana == u'い' || kana == u'う' || kana == u'え' || kana == u'お';
}

// Where a sound-folded query, and one of its tails if it has any, occurs in a sound-folded text.
CBrandIndex::Match MatchSound(const CBrandIndex::Query &query, QStringView text)
{
    if (query.aTail.empty())
        return MatchText(query.strSound, text);
    const QStringView kana(query.strSound);
    CBrandIndex::Match best = CBrandIndex::kNoMatch;
    // Each place the kana occurs at with a character after it; a one-letter query has no kana
    // and tries every character.
    for (qsizetype at = 0; at + kana.size() < text.size(); ++at) {
        if (!kana.isEmpty()) {
            at = text.indexOf(kana, at);
            if (at < 0 || at + kana.size() == text.size())
                break;
        }
        const QStringView rest = text.sliced(at + kana.size());
        for (const QString &tail : query.aTail) {
            if (tail.front() != rest.front() || !rest.startsWith(tail))
                continue;
            if (at > 0)
                return CBrandIndex::kContains;  // every later place is inside the text as well
            best = std::min(best, rest.size() == tail.size() ? CBrandIndex::kExact : CBrandIndex::kPrefix);
        }
        if (best != CBrandIndex::kNoMatch)
            return best;
    }
    return best;
}

}  // namespace

QString CBrandIndex::Fold(QStringView text)
{
    // NFKC makes full-width letters and digits plain, half-width katakana (with their sound
    // marks) full-width, and the ideographic space a blank.
    const QString normal = text.toString().normalized(QString::NormalizationForm_KC);
    QString folded;
    folded.reserve(normal.size());
    for (const QChar c : normal) {
        if (c.isSpace())
            continue;
        char16_t unit = c.unicode();
        if ((unit >= kKatakanaFirst && unit <= kKatakanaLast)
            || (unit >= kKatakanaIterFirst && unit <= kKatakanaIterLast))
            unit = static_cast<char16_t>(unit - kKanaDistance);
        folded.append(QChar(unit).toCaseFolded());
    }
    return folded;
}

QString CBrandIndex::FoldSound(QStringView folded)
{
    QString sound;
    sound.reserve(folded.size());
    char previous = 0;  // the vowel the last kana kept ends on
    for (const QChar c : folded) {
        char16_t unit = c.unicode();
        switch (unit) {
        case u'ー':
            continue;
        case u'ぢ':
            unit = u'じ';
            break;
        case u'づ':
            unit = u'ず';
            break;
        case u'を':
            unit = u'お';
            break;
        default:
            break;
        }
        const char vowel = VowelOf(unit);
        if (IsVowelKana(unit) && previous != 0 && (vowel == previous || (previous == 'o' && unit == u'う')))
            continue;
        sound.append(QChar(unit));
        previous = vowel;
    }
    return sound;
}

CBrandIndex::Query CBrandIndex::MakeQuery(QStringView text)
{
    Query query;
    query.strFolded = Fold(text);
    const QStringView q(query.strFolded);
    QString kana;
    bool latin = false;
    for (qsizetype i = 0; i < q.size();) {
        const QChar c = q[i];
        if (!IsLatin(c)) {
            kana += c == u'-' ? QChar(u'ー') : c;
            ++i;
            continue;
        }
        latin = true;
        // The longest syllable spelt here.
        qsizetype length = std::min(kLongestSyllable, q.size() - i);
        while (length > 0 && KanaOf(q.sliced(i, length)) == nullptr)
            --length;
        if (length > 0) {
            kana += QString::fromUtf16(KanaOf(q.sliced(i, length)));
            i += length;
            continue;
        }
        const QChar next = i + 1 < q.size() ? q[i + 1] : QChar();
        if (c == u'n' && (next == u'\'' || (next == u'n' && i + 2 == q.size()))) {
            // "n'" before a vowel or y; "nn" at the end, as a kana keyboard takes it.
            kana += u'ん';
            i += 2;
        } else if (c == u'n' && !next.isNull() && !QStringView(u"aiueoy").contains(next)) {
            kana += u'ん';
            ++i;
        } else if (c == u'm' && QStringView(u"bmp").contains(next)) {
            kana += u'ん';
            ++i;
        } else if ((next == c && kDoubling.contains(c)) || (c == u't' && next == u'c')) {
            kana += u'っ';
            ++i;
        } else {
            // Only the letters of a syllable not yet finished may end the text.
            query.aTail = KanaBegunBy(q.sliced(i));
            if (query.aTail.empty())
                return query;
            break;
        }
    }
    if (!latin)
        return query;
    query.bSound = true;
    query.strSound = FoldSound(kana);
    for (QString &tail : query.aTail)
        tail = FoldSound(tail);
    return query;
}

CBrandIndex::Match CBrandIndex::MatchOf(const Query &query, const Entry &entry)
{
    const Match match =
        std::min(MatchText(query.strFolded, entry.strFoldedName), MatchText(query.strFolded, entry.strFoldedReading));
    if (!query.bSound || match == kExact)
        return match;
    return std::min({match, MatchSound(query, entry.strSoundName), MatchSound(query, entry.strSoundReading)});
}

void CBrandIndex::FoldTexts(Entry &entry)
{
    entry.strFoldedName = Fold(entry.strName);
    entry.strSoundName = FoldSound(entry.strFoldedName);
    // Many a name is written as it reads, in kana: its forms serve for the reading as well.
    entry.strFoldedReading = entry.strReading == entry.strName ? entry.strFoldedName : Fold(entry.strReading);
    entry.strSoundReading =
        entry.strFoldedReading == entry.strFoldedName ? entry.strSoundName : FoldSound(entry.strFoldedReading);
}

void CBrandIndex::Build(const CCatalogData &catalog)
{
    m_aEntry.clear();
    const CBureauArray &table = catalog.GetBureauTable();
    CGrainInfoArray list;
    for (int bureauPos = 0; bureauPos < table.GetSize(); ++bureauPos) {
        const BUREAU_DATA &bureau = table[bureauPos];
        const int prefCount = std::min(bureau.nPrefCnt, BUREAU_DATA::kMaxPref);
        for (int prefPos = 0; prefPos < prefCount; ++prefPos) {
            const PREF_DATA &pref = bureau.aPref[static_cast<std::size_t>(prefPos)];
            if (!catalog.LoadGrainInfo(bureau.nBureauNo, pref.nPrefNo, list))
                continue;
            const std::size_t first = m_aEntry.size();
            for (int i = 0; i < list.GetSize(); ++i) {
                const GRAIN_INFO_DATA &grain = list[i];
                // A classification outside the list's three is never listed, so it cannot be chosen.
                if (grain.nClass < kClassUruchi || grain.nClass >= kClassCount)
                    continue;
                Entry entry;
                entry.strName = grain.strName;
                entry.strReading = grain.strReading;
                entry.strPrefName = pref.strPrefName;
                entry.nBureauNo = bureau.nBureauNo;
                entry.nPrefNo = pref.nPrefNo;
                entry.nBureauPos = bureauPos;
                entry.nPrefPos = prefPos;
                entry.nClass = grain.nClass;
                entry.bRequired = grain.bRequired;
                entry.nID = grain.nID;
                entry.nPosition = i;
                entry.strHistory = grain.strHistory;
                entry.strBreedingPlace = grain.strBreedingPlace;
                entry.strBreedingYear = grain.strBreedingYear;
                FoldTexts(entry);
                m_aEntry.push_back(std::move(entry));
            }
            // Prefectures already follow the region list; within one, the order a query's rows
            // keep is settled here once, so that a query only has to sort by match.
            std::stable_sort(m_aEntry.begin() + static_cast<std::ptrdiff_t>(first), m_aEntry.end(),
                             [](const Entry &a, const Entry &b) {
                                 return std::make_tuple(a.nClass, !a.bRequired)
                                     < std::make_tuple(b.nClass, !b.bRequired);
                             });
        }
    }
    BuildVarieties();
    m_bBuilt = true;
}

void CBrandIndex::BuildVarieties()
{
    m_aVariety.clear();
    m_mapVariety.clear();
    m_mapVariety.reserve(GetSize());
    for (int i = 0; i < GetSize(); ++i) {
        const QString &key = m_aEntry[static_cast<std::size_t>(i)].strFoldedName;
        if (key.isEmpty())
            continue;
        const auto found = m_mapVariety.constFind(key);
        if (found != m_mapVariety.constEnd()) {
            m_aVariety[static_cast<std::size_t>(*found)].aEntry.push_back(i);
            continue;
        }
        m_mapVariety.insert(key, static_cast<int>(m_aVariety.size()));
        m_aVariety.emplace_back().aEntry.push_back(i);
    }

    // Prefectures' files may tell a variety's pedigree differently: the first listing in the
    // region list's order that tells any of it tells all of it. Its names link the varieties.
    for (std::size_t v = 0; v < m_aVariety.size(); ++v) {
        Variety &variety = m_aVariety[v];
        for (const int i : variety.aEntry) {
            const Entry &entry = m_aEntry[static_cast<std::size_t>(i)];
            if (!entry.strHistory.isEmpty() || !entry.strBreedingPlace.isEmpty() || !entry.strBreedingYear.isEmpty()) {
                variety.nPedigree = i;
                break;
            }
        }
        if (variety.nPedigree < 0)
            continue;
        const Entry &entry = m_aEntry[static_cast<std::size_t>(variety.nPedigree)];
        for (const QString &name : CBrandProfile::ParsePedigree(entry.strHistory)) {
            const int parent = m_mapVariety.value(Fold(name), -1);
            if (parent < 0 || parent == static_cast<int>(v)
                || std::find(variety.aParent.begin(), variety.aParent.end(), parent) != variety.aParent.end())
                continue;
            variety.aParent.push_back(parent);
            m_aVariety[static_cast<std::size_t>(parent)].aChild.push_back(static_cast<int>(v));
        }
    }
}

bool CBrandIndex::GetProfile(const QString &name, BRAND_PROFILE &profile) const
{
    const int v = m_mapVariety.value(Fold(name), -1);
    if (v < 0)
        return false;
    const Variety &variety = m_aVariety[static_cast<std::size_t>(v)];
    const auto nameOf = [this](int other) {
        return m_aEntry[static_cast<std::size_t>(m_aVariety[static_cast<std::size_t>(other)].aEntry.front())].strName;
    };

    BRAND_PROFILE result;
    result.strName = nameOf(v);
    bool classes[kClassCount] = {};
    for (const int i : variety.aEntry) {
        const Entry &entry = m_aEntry[static_cast<std::size_t>(i)];
        if (result.strReading.isEmpty())
            result.strReading = entry.strReading;
        classes[entry.nClass] = true;
    }
    for (int nClass = 0; nClass < kClassCount; ++nClass)
        if (classes[nClass])
            result.aClass.push_back(nClass);

    // One listing per prefecture and status: a prefecture's entries lie together in the index.
    for (const bool required : {true, false}) {
        const Entry *last = nullptr;
        for (const int i : variety.aEntry) {
            const Entry &entry = m_aEntry[static_cast<std::size_t>(i)];
            if (entry.bRequired != required)
                continue;
            if (last == nullptr || last->nBureauPos != entry.nBureauPos || last->nPrefPos != entry.nPrefPos)
                result.aListing.push_back({entry.strPrefName, required, i});
            last = &entry;
        }
    }

    if (variety.nPedigree >= 0) {
        const Entry &entry = m_aEntry[static_cast<std::size_t>(variety.nPedigree)];
        result.strHistory = entry.strHistory;
        result.strBreedingPlace = entry.strBreedingPlace;
        result.strBreedingYear = entry.strBreedingYear;
    }
    for (const int parent : variety.aParent)
        result.aParent << nameOf(parent);
    for (const int child : variety.aChild)
        result.aChild << nameOf(child);
    profile = std::move(result);
    return true;
}

std::vector<int> CBrandIndex::Find(const QString &query) const
{
    std::vector<int> rows;
    const Query prepared = MakeQuery(query);
    if (prepared.strFolded.isEmpty())
        return rows;
    // One pass: each match kind keeps the entries' own order.
    std::vector<int> prefix;
    std::vector<int> contains;
    for (int i = 0; i < GetSize(); ++i) {
        switch (MatchOf(prepared, m_aEntry[static_cast<std::size_t>(i)])) {
        case kExact:
            rows.push_back(i);
            break;
        case kPrefix:
            prefix.push_back(i);
            break;
        case kContains:
            contains.push_back(i);
            break;
        case kNoMatch:
            break;
        }
    }
    rows.insert(rows.end(), prefix.begin(), prefix.end());
    rows.insert(rows.end(), contains.begin(), contains.end());
    return rows;
}
