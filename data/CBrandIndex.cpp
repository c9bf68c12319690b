#include "data/CBrandIndex.h"

#include "app/CResourceStrings.h"
#include "data/CCatalogData.h"

#include <algorithm>
#include <tuple>

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

CBrandIndex::Match CBrandIndex::MatchOf(QStringView foldedQuery, const Entry &entry)
{
    return std::min(MatchText(foldedQuery, entry.strFoldedName), MatchText(foldedQuery, entry.strFoldedReading));
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
                entry.strFoldedName = Fold(grain.strName);
                entry.strFoldedReading = Fold(grain.strReading);
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
    m_bBuilt = true;
}

std::vector<int> CBrandIndex::Find(const QString &query) const
{
    std::vector<int> rows;
    const QString folded = Fold(query);
    if (folded.isEmpty())
        return rows;
    // One pass: each match kind keeps the entries' own order.
    std::vector<int> prefix;
    std::vector<int> contains;
    for (int i = 0; i < GetSize(); ++i) {
        switch (MatchOf(folded, m_aEntry[static_cast<std::size_t>(i)])) {
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

QString CBrandIndex::ClassText(int nClass)
{
    if (nClass < kClassUruchi || nClass >= kClassCount)
        return QString();
    return CResourceStrings::Load(CResourceStrings::IDS_CLASS_URUCHI + nClass);
}

QString CBrandIndex::RequiredText(bool required)
{
    return required ? QStringLiteral("必須") : QStringLiteral("選択");
}
