// The brand index without a window: how texts fold, how a query matches, and the order of rows.

#include "search/SearchCatalogue.h"

#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(CBrandIndex::Match)

namespace {

QString Row(const CBrandIndex::Entry &e)
{
    return QStringList{e.strName, e.strPrefName, CBrandIndex::ClassText(e.nClass),
                       CBrandIndex::RequiredText(e.bRequired)}
        .join(QLatin1Char('|'));
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
    m_catalog = std::make_unique<CCatalogData>();
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
}

void TestBrandIndex::match()
{
    QFETCH(QString, query);
    QFETCH(QString, name);
    QFETCH(QString, reading);
    QFETCH(CBrandIndex::Match, match);
    CBrandIndex::Entry entry;
    entry.strFoldedName = CBrandIndex::Fold(name);
    entry.strFoldedReading = CBrandIndex::Fold(reading);
    QCOMPARE(CBrandIndex::MatchOf(CBrandIndex::Fold(query), entry), match);
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

QTEST_GUILESS_MAIN(TestBrandIndex)
#include "test_brand_index.moc"
