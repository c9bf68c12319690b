#pragma once
// Every brand of the national catalogue in one list, for finding a brand by its name or reading
// (銘柄検索) without walking the cascade prefecture by prefecture. Built once from the region table
// and the data folder, through the same loader the cascade uses; then each query folds what the
// user typed, matches it against the folded names and readings and orders the rows it finds.

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

        // The name and reading as queries are compared with them.
        QString strFoldedName;
        QString strFoldedReading;
    };

    // How well a query matched an entry; the better matches come first.
    enum Match { kExact, kPrefix, kContains, kNoMatch };

    // Reads every prefecture's variety file once, in region-list order, and keeps each variety
    // the brand list can show (classification 0..2). A file that is missing or does not load
    // contributes nothing. Replaces whatever the index held.
    void Build(const CCatalogData &catalog);
    bool IsBuilt() const { return m_bBuilt; }

    int GetSize() const { return static_cast<int>(m_aEntry.size()); }
    const Entry &GetAt(int index) const { return m_aEntry.at(static_cast<std::size_t>(index)); }

    // Indexes of the entries whose folded name or reading contains the folded query: exact
    // matches first, then prefix matches, then the rest; within each, prefecture order as the
    // region list shows it, then classification, then 必須 before 選択, then file order. A query
    // that folds to nothing finds nothing.
    std::vector<int> Find(const QString &query) const;

    // The form in which texts are compared: NFKC (full and half width alike), katakana as
    // hiragana, letters case-folded, blanks (the ideographic space too) left out.
    static QString Fold(QStringView text);
    // How a folded query matches an entry's folded name or reading, the better of the two.
    static Match MatchOf(QStringView foldedQuery, const Entry &entry);

    // The classification as the classification list writes it.
    static QString ClassText(int nClass);
    // "必須" or "選択".
    static QString RequiredText(bool required);

private:
    std::vector<Entry> m_aEntry;  // ordered by prefecture, classification, 必須 first, file order
    bool m_bBuilt = false;
};
