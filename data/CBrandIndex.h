#pragma once
// Every brand of the national catalogue in one list, for finding a brand by its name or reading
// (銘柄検索) without walking the cascade prefecture by prefecture. Built once from the region table
// and the data folder, through the same loader the cascade uses; then each query folds what the
// user typed, matches it against the folded names and readings and orders the rows it finds.
// The same build groups the listings of one variety name, so that a variety's profile (where it
// is listed, its pedigree, its parents and descendants among the listed varieties) is a look-up.

#include "data/CBrandProfile.h"
#include "data/CatalogTypes.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

class CCatalogData;

class CBrandIndex
{
public:
    // One brand as the search shows it, with what it takes to choose it in the four lists.
    struct Entry {
        QString strName;
        QString strReading;  // empty when the variety file gives none
        QString strPrefName;
        int nBureauNo = 0;
        int nPrefNo = 0;
        int nBureauPos = 0;  // row in the region list
        int nPrefPos = 0;    // row in the prefecture list
        int nClass = 0;      // 0..2: the row in the classification list
        bool bRequired = false;
        int nID = 0;
        int nPosition = 0;  // index of the record in its prefecture's variety list
        // The pedigree texts as this prefecture's file gives them.
        QString strHistory;
        QString strBreedingPlace;
        QString strBreedingYear;

        // The name and reading as queries are compared with them (Fold), and as queries typed
        // in Latin letters are compared with them (FoldSound of the folded text).
        QString strFoldedName;
        QString strFoldedReading;
        QString strSoundName;
        QString strSoundReading;
    };

    // How well a query matched an entry; the better matches come first.
    enum Match { kExact, kPrefix, kContains, kNoMatch };

    // What the user typed, made ready for matching once per keystroke.
    struct Query {
        QString strFolded;  // Fold of the text
        // When the text has Latin letters that all read as romaji: its kana, sound-folded, and the
        // kana one of which must follow it when the text ends inside a syllable ("yumep": ゆめ,
        // then ぱ, ぴ, ぷ, ぺ, ぽ, ぴゃ, …). bSound is false for any other text.
        bool bSound = false;
        QString strSound;
        std::vector<QString> aTail;
    };

    // Reads every prefecture's variety file once, in region-list order, and keeps each variety
    // the brand list can show (classification 0..2). A file that is missing or does not load
    // contributes nothing. Replaces whatever the index held.
    void Build(const CCatalogData &catalog);
    bool IsBuilt() const { return m_bBuilt; }

    int GetSize() const { return static_cast<int>(m_aEntry.size()); }
    const Entry &GetAt(int index) const { return m_aEntry.at(static_cast<std::size_t>(index)); }

    // Indexes of the entries whose folded name or reading contains the folded query, or, for a
    // query in romaji, whose sound-folded name or reading contains its kana: exact matches first,
    // then prefix matches, then the rest; within each, prefecture order as the region list shows
    // it, then classification, then 必須 before 選択, then file order. A query that folds to
    // nothing finds nothing.
    std::vector<int> Find(const QString &query) const;

    // The profile of the listed variety whose folded name equals the folded `name`; false, and
    // `profile` untouched, when no listed variety has that name.
    bool GetProfile(const QString &name, BRAND_PROFILE &profile) const;

    // The form in which texts are compared: NFKC (full and half width alike), katakana as
    // hiragana, letters case-folded, blanks (the ideographic space too) left out.
    static QString Fold(QStringView text);
    // The form in which folded texts meet romaji queries, so that one kana spelling answers the
    // romaji spellings of a sound: ぢ, づ and を as じ, ず and お; ー left out; a vowel kana that
    // repeats the vowel before it left out (ああ, いい, うう, ええ, おお), and う after an o-sound
    // (こう, しょう) too. "yoko" thus finds ようこう and "yuki" ゆうき; both sides are folded alike.
    static QString FoldSound(QStringView folded);
    // Fold, and for romaji the kana: Hepburn and Kunrei spellings alike (shi/si, chi/ti, tsu/tu,
    // fu/hu, ji/zi, sha/sya, ja/zya/jya); n before a consonant or an apostrophe, and "nn" at the
    // end, as ん; m before b, m or p as ん; a doubled consonant (and "tch") as っ; "-" as ー.
    static Query MakeQuery(QStringView text);
    // How a query matches an entry's name or reading, the best of the ways it is compared.
    static Match MatchOf(const Query &query, const Entry &entry);
    // Fills the folded forms of the entry's name and reading.
    static void FoldTexts(Entry &entry);

private:
    // The listings of one variety name, with its links to the other listed varieties.
    struct Variety {
        std::vector<int> aEntry;   // in the entries' order; the first gives the name shown
        int nPedigree = -1;        // the entry whose pedigree texts the profile shows; -1 for none
        std::vector<int> aParent;  // varieties its pedigree names, in the pedigree's order
        std::vector<int> aChild;   // varieties whose pedigree names it, in the order of the index
    };

    void BuildVarieties();

    std::vector<Entry> m_aEntry;       // ordered by prefecture, classification, 必須 first, file order
    std::vector<Variety> m_aVariety;   // in the order of their first entries
    QHash<QString, int> m_mapVariety;  // folded name -> variety
    bool m_bBuilt = false;
};
