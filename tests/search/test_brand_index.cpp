// The brand index without a window: how texts fold, how a query (kana or romaji) matches, the
// order of rows, and the profile of a variety with its pedigree's names.

#include "support/SearchCatalogue.h"

#include "data/CBrandIndex.h"
#include "data/CBrandProfile.h"
#include "data/CCatalogData.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(CBrandIndex::Match)

namespace {

QString Row(const CBrandIndex::Entry &e)
{
    return QStringList{e.strName, e.strPrefName, GrainClassText(e.nClass), RequiredText(e.bRequired)}.join(
        QLatin1Char('|'));
}

}  // namespace

class TestBrandIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fold_data();
    void fold();
    void match_data();
    void match();
    void findOrder_data();
    void findOrder();
    void buildReadsEveryListedFile();
    void pedigreeNames_data();
    void pedigreeNames();
    void profile_data();
    void profile();

private:
    std::unique_ptr<CTestExeFolder> m_folder;
    std::unique_ptr<CCatalogData> m_catalog;
    CBrandIndex m_index;
};

void TestBrandIndex::init()
{
    m_folder = std::make_unique<CTestExeFolder>();
    QVERIFY(m_folder->IsValid());
    QVERIFY(SearchCatalogue::Write(*m_folder));
    m_catalog = std::make_unique<CCatalogData>(m_folder->RegionTablePath());
    QVERIFY(m_catalog->SetDataFolder(m_folder->Path() + QStringLiteral("Data/")));
    m_index = CBrandIndex();
}

void TestBrandIndex::cleanup()
{
    m_catalog.reset();
    m_folder.reset();
}

void TestBrandIndex::fold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("half-width katakana") << QStringLiteral("ｺｼﾋｶﾘ") << QStringLiteral("こしひかり");
    QTest::newRow("half-width sound marks join") << QStringLiteral("ｷﾞﾝﾌﾟｳ") << QStringLiteral("ぎんぷう");
    QTest::newRow("katakana") << QStringLiteral("ユメピリカ") << QStringLiteral("ゆめぴりか");
    QTest::newRow("small kana and ヴ") << QStringLiteral("ヴァッ") << QStringLiteral("ゔぁっ");
    QTest::newRow("iteration mark") << QStringLiteral("ヽヾ") << QStringLiteral("ゝゞ");
    QTest::newRow("long vowel mark kept") << QStringLiteral("ミルキークイーン") << QStringLiteral("みるきーくいーん");
    QTest::newRow("full-width Latin") << QStringLiteral("ＬＧＣソフト") << QStringLiteral("lgcそふと");
    QTest::newRow("full-width digits") << QStringLiteral("つくばＳＤ１号") << QStringLiteral("つくばsd1号");
    QTest::newRow("upper case") << QStringLiteral("LGC Soft") << QStringLiteral("lgcsoft");
    QTest::newRow("ideographic space") << QStringLiteral("ゆめ\u3000ぴりか") << QStringLiteral("ゆめぴりか");
    QTest::newRow("blanks and tab") << QStringLiteral(" 山田 錦\t") << QStringLiteral("山田錦");
    QTest::newRow("kanji unchanged") << QStringLiteral("吟風") << QStringLiteral("吟風");
    QTest::newRow("only blanks") << QStringLiteral(" \u3000 ") << QString();
}

void TestBrandIndex::fold()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(CBrandIndex::Fold(text), folded);
}

void TestBrandIndex::match_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<CBrandIndex::Match>("match");
    QTest::newRow("name exact") << QStringLiteral("吟風") << QStringLiteral("吟風") << QStringLiteral("ぎんぷう")
                                << CBrandIndex::kExact;
    QTest::newRow("reading exact") << QStringLiteral("ギンプウ") << QStringLiteral("吟風") << QStringLiteral("ぎんぷう")
                                   << CBrandIndex::kExact;
    QTest::newRow("reading prefix") << QStringLiteral("やまだ") << QStringLiteral("山田錦")
                                    << QStringLiteral("やまだにしき") << CBrandIndex::kPrefix;
    QTest::newRow("name prefix") << QStringLiteral("ゆめぴ") << QStringLiteral("ゆめぴりか") << QString()
                                 << CBrandIndex::kPrefix;
    QTest::newRow("inside the name") << QStringLiteral("sd1") << QStringLiteral("つくばＳＤ１号") << QString()
                                     << CBrandIndex::kContains;
    QTest::newRow("inside the reading") << QStringLiteral("にしき") << QStringLiteral("山田錦")
                                        << QStringLiteral("やまだにしき") << CBrandIndex::kContains;
    QTest::newRow("the better of the two")
        << QStringLiteral("きらら") << QStringLiteral("新きらら") << QStringLiteral("きらら") << CBrandIndex::kExact;
    QTest::newRow("no reading: name only")
        << QStringLiteral("こしひかり") << QStringLiteral("コシヒカリ") << QString() << CBrandIndex::kExact;
    QTest::newRow("sound mark differs") << QStringLiteral("ほし") << QStringLiteral("ななつぼし") << QString()
                                        << CBrandIndex::kNoMatch;
    QTest::newRow("longer than both") << QStringLiteral("吟風吟風") << QStringLiteral("吟風") << QStringLiteral("ぎん")
                                      << CBrandIndex::kNoMatch;
    QTest::newRow("other text") << QStringLiteral("xyz") << QStringLiteral("山田錦") << QStringLiteral("やまだにしき")
                                << CBrandIndex::kNoMatch;

    // Romaji: the name or reading as kana, Hepburn and Kunrei alike.
    const struct {
        const char *query;
        const char16_t *name;
        const char16_t *reading;
        CBrandIndex::Match match;
    } romaji[] = {
        {"yumepirika", u"ゆめぴりか", u"", CBrandIndex::kExact},
        {"koshihikari", u"コシヒカリ", u"", CBrandIndex::kExact},
        {"kosihikari", u"コシヒカリ", u"", CBrandIndex::kExact},
        {"sasanishiki", u"ササニシキ", u"ささにしき", CBrandIndex::kExact},
        {"kirara397", u"きらら397", u"きらら397", CBrandIndex::kExact},
        {"KIRARA", u"きらら397", u"", CBrandIndex::kPrefix},
        {"tsuyahime", u"つや姫", u"つやひめ", CBrandIndex::kExact},
        {"tuyahime", u"つや姫", u"つやひめ", CBrandIndex::kExact},
        {"akitakomachi", u"あきたこまち", u"", CBrandIndex::kExact},
        {"akitakomati", u"あきたこまち", u"", CBrandIndex::kExact},
        {"fukumaru", u"ふくまる", u"", CBrandIndex::kExact},
        {"hukumaru", u"ふくまる", u"", CBrandIndex::kExact},
        {"nijinokirameki", u"にじのきらめき", u"", CBrandIndex::kExact},
        {"nizinokirameki", u"にじのきらめき", u"", CBrandIndex::kExact},
        {"shunkou", u"しゅんこう", u"", CBrandIndex::kExact},
        {"syunkou", u"しゅんこう", u"", CBrandIndex::kExact},
        {"shun'you", u"しゅんよう", u"", CBrandIndex::kExact},
        {"shunyou", u"しゅんよう", u"", CBrandIndex::kNoMatch},  // しゅにょう
        {"mikazuki", u"三日月", u"みかづき", CBrandIndex::kExact},
        // ん before a consonant (m before p); っ doubled, and as "tch".
        {"tenkomori", u"てんこもり", u"", CBrandIndex::kExact},
        {"gimpu", u"吟風", u"ぎんぷう", CBrandIndex::kExact},
        {"hokkaido", u"ホッカイドウ", u"", CBrandIndex::kExact},
        {"matcha", u"まっちゃもち", u"", CBrandIndex::kPrefix},
        // Long vowels written ou, oo or o; ー left out.
        {"hokkaidou", u"ホッカイドウ", u"", CBrandIndex::kExact},
        {"hokkaidoo", u"ホッカイドウ", u"", CBrandIndex::kExact},
        {"yoko", u"陽光", u"ようこう", CBrandIndex::kExact},
        {"yuki", u"勇気", u"ゆうき", CBrandIndex::kExact},
        {"mirukikuin", u"ミルキークイーン", u"", CBrandIndex::kExact},
        {"pirika", u"ゆめぴりか", u"", CBrandIndex::kContains},
        // A syllable still being typed: any kana it may become.
        {"yumep", u"ゆめぴりか", u"", CBrandIndex::kPrefix},
        {"kon", u"金", u"こん", CBrandIndex::kExact},
        {"konn", u"金", u"こん", CBrandIndex::kExact},
        {"kon", u"このみ", u"", CBrandIndex::kPrefix},
        {"kit", u"きっと", u"", CBrandIndex::kPrefix},
        {"kosihikara", u"コシヒカリ", u"", CBrandIndex::kNoMatch},
        // Latin names stay as they are written; letters that are no romaji are only that.
        {"LGC", u"ＬＧＣソフト", u"えるじーしーそふと", CBrandIndex::kPrefix},
        {"sd1", u"つくばＳＤ１号", u"つくばえすでぃ1ごう", CBrandIndex::kContains},
    };
    for (const auto &row : romaji)
        QTest::addRow("romaji %s -> %s", row.query, qPrintable(QString::fromUtf16(row.name)))
            << QString::fromLatin1(row.query) << QString::fromUtf16(row.name) << QString::fromUtf16(row.reading)
            << row.match;
}

void TestBrandIndex::match()
{
    QFETCH(QString, query);
    QFETCH(QString, name);
    QFETCH(QString, reading);
    QFETCH(CBrandIndex::Match, match);
    CBrandIndex::Entry entry;
    entry.strName = name;
    entry.strReading = reading;
    CBrandIndex::FoldTexts(entry);
    QCOMPARE(CBrandIndex::MatchOf(CBrandIndex::MakeQuery(query), entry), match);
}

void TestBrandIndex::findOrder_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("rows");
    const QStringList yumepirika = {
        // Exact, 必須 before 選択; then the prefix match of a later prefecture.
        QStringLiteral("ゆめぴりか|石狩|水稲うるち米|必須"),
        QStringLiteral("ゆめぴりか|石狩|水稲うるち米|選択"),
        QStringLiteral("ゆめぴりかもち|空知|水稲もち米|選択"),
    };
    QTest::newRow("hiragana") << QStringLiteral("ゆめぴりか") << yumepirika;
    QTest::newRow("katakana") << QStringLiteral("ユメピリカ") << yumepirika;
    QTest::newRow("half-width") << QStringLiteral("ﾕﾒﾋﾟﾘｶ") << yumepirika;
    QTest::newRow("romaji") << QStringLiteral("yumepirika") << yumepirika;
    QTest::newRow("romaji with digits") << QStringLiteral("kirara397")
                                        << QStringList{QStringLiteral("きらら397|石狩|水稲うるち米|必須")};
    // The exact match of a later region comes before the prefix match of an earlier one.
    QTest::newRow("exact before prefix") << QStringLiteral("ｺｼﾋｶﾘ")
                                         << QStringList{QStringLiteral("コシヒカリ|茨城県|水稲うるち米|必須"),
                                                        QStringLiteral("コシヒカリつくば|石狩|水稲うるち米|必須")};
    QTest::newRow("reading, 必須 first") << QStringLiteral("やまだ")
                                         << QStringList{QStringLiteral("山田錦|茨城県|醸造用玄米|必須"),
                                                        QStringLiteral("山田錦|茨城県|醸造用玄米|選択")};
    QTest::newRow("reading exact") << QStringLiteral("ぎんぷう")
                                   << QStringList{QStringLiteral("吟風|石狩|醸造用玄米|必須")};
    QTest::newRow("Latin, any width and case")
        << QStringLiteral("lgc") << QStringList{QStringLiteral("ＬＧＣソフト|茨城県|水稲うるち米|必須")};
    QTest::newRow("digits inside") << QStringLiteral("SD1")
                                   << QStringList{QStringLiteral("つくばＳＤ１号|茨城県|水稲うるち米|必須")};
    // Prefecture order, then classification; the variety outside the three classes is left out.
    QTest::newRow("inside, by prefecture") << QStringLiteral("の")
                                           << QStringList{QStringLiteral("風の子もち|石狩|水稲もち米|必須"),
                                                          QStringLiteral("大地の星|空知|水稲うるち米|必須")};
    QTest::newRow("blanks in the query") << QStringLiteral("ぎん　ぷう ")
                                         << QStringList{QStringLiteral("吟風|石狩|醸造用玄米|必須")};
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("blanks only") << QStringLiteral("\u3000 ") << QStringList();
    QTest::newRow("no match") << QStringLiteral("ささにしき") << QStringList();
}

void TestBrandIndex::findOrder()
{
    QFETCH(QString, query);
    QFETCH(QStringList, rows);
    m_index.Build(*m_catalog);
    QStringList found;
    for (const int i : m_index.Find(query))
        found << Row(m_index.GetAt(i));
    QCOMPARE(found, rows);
}

void TestBrandIndex::buildReadsEveryListedFile()
{
    QVERIFY(!m_index.IsBuilt());
    m_index.Build(*m_catalog);
    QVERIFY(m_index.IsBuilt());
    // 7 of 8 varieties in 石狩 (one is outside the classes), 3 in 空知, 5 in 茨城県, none from
    // 栃木県's missing file.
    QCOMPARE(m_index.GetSize(), 15);

    const std::vector<int> rows = m_index.Find(QStringLiteral("やまだにしき"));
    QCOMPARE(rows.size(), std::size_t(2));
    const CBrandIndex::Entry &e = m_index.GetAt(rows.front());
    QCOMPARE(e.strReading, QStringLiteral("やまだにしき"));
    QCOMPARE(e.nBureauNo, 3);
    QCOMPARE(e.nPrefNo, 1);
    QCOMPARE(e.nBureauPos, 2);
    QCOMPARE(e.nPrefPos, 0);
    QCOMPARE(e.nClass, 2);
    QVERIFY(e.bRequired);
    QCOMPARE(e.nID, 5);
    QCOMPARE(e.nPosition, 4);

    // A second build replaces the first.
    m_index.Build(*m_catalog);
    QCOMPARE(m_index.GetSize(), 15);
}

void TestBrandIndex::pedigreeNames_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("cross") << QStringLiteral("農林22号×農林1号")
                           << QStringList{QStringLiteral("農林22号"), QStringLiteral("農林1号")};
    QTest::newRow("bracketed cross") << QStringLiteral("（ヒノヒカリ×コシヒカリ）×コシヒカリ")
                                     << QStringList{QStringLiteral("ヒノヒカリ"), QStringLiteral("コシヒカリ"),
                                                    QStringLiteral("コシヒカリ")};
    QTest::newRow("nested, half-width, blanks") << QStringLiteral("((越路早生 × 農林1号)×初星) × 山田錦")
                                                << QStringList{QStringLiteral("越路早生"), QStringLiteral("農林1号"),
                                                               QStringLiteral("初星"), QStringLiteral("山田錦")};
    QTest::newRow("mutation") << QStringLiteral("たかね錦の突然変異") << QStringList{QStringLiteral("たかね錦")};
    QTest::newRow("selection") << QStringLiteral("ひとめぼれから選抜") << QStringList{QStringLiteral("ひとめぼれ")};
    QTest::newRow("selection inside a cross")
        << QStringLiteral("（亀の尾の選抜）×愛国") << QStringList{QStringLiteral("亀の尾"), QStringLiteral("愛国")};
    QTest::newRow("slash") << QStringLiteral("山田錦/五百万石")
                           << QStringList{QStringLiteral("山田錦"), QStringLiteral("五百万石")};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestBrandIndex::pedigreeNames()
{
    QFETCH(QString, history);
    QFETCH(QStringList, names);
    QCOMPARE(CBrandProfile::ParsePedigree(history), names);
}

void TestBrandIndex::profile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    // The first pedigree in region order (空知's, 石狩 tells none); 必須 first, each in region
    // order; 農林22号 is not listed; children from a mutation and a bracketed cross, once each.
    const QString koshihikari = QStringLiteral("コシヒカリ（こしひかり）\n"
                                               "分類: 水稲うるち米\n"
                                               "来歴: 農林22号×農林1号\n"
                                               "育種: 福井県農事試験場 1956年\n"
                                               "登録: 必須 — 空知、茨城県; 選択 — 石狩、栃木県\n"
                                               "親: 農林1号\n"
                                               "子: ひとめぼれ、ミルキークイーン、みのりもち\n");
    QTest::newRow("listed everywhere") << QStringLiteral("コシヒカリ") << koshihikari;
    QTest::newRow("found by the search's folding") << QStringLiteral("ｺｼﾋｶﾘ ") << koshihikari;
    QTest::newRow("two classes, one parent not listed")
        << QStringLiteral("ひとめぼれ")
        << QStringLiteral("ひとめぼれ\n分類: 水稲うるち米、醸造用玄米\n来歴: コシヒカリ×初星\n"
                          "育種: 宮城県古川農業試験場 1991年\n登録: 必須 — 茨城県; 選択 — 栃木県\n親: コシヒカリ\n");
    QTest::newRow("no pedigree")
        << QStringLiteral("しまひかり")
        << QStringLiteral("しまひかり\n分類: 水稲うるち米\n系譜の情報はありません\n登録: 選択 — 石狩\n子: きらら397\n");
    QTest::newRow("named in a pedigree, not listed") << QStringLiteral("農林22号") << QString();
}

void TestBrandIndex::profile()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    CTestExeFolder folder;
    QVERIFY(SearchCatalogue::WritePedigrees(folder));
    CCatalogData catalog(folder.RegionTablePath());
    QVERIFY(catalog.SetDataFolder(folder.Path() + QStringLiteral("Data/")));
    m_index.Build(catalog);
    BRAND_PROFILE profile;
    QCOMPARE(m_index.GetProfile(name, profile) ? CBrandProfile::Format(profile) : QString(), text);
}

QTEST_GUILESS_MAIN(TestBrandIndex)
#include "test_brand_index.moc"
