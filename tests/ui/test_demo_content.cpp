// The built-in brands: their keys, every text character for character, and their photographs'
// names. Characters that look alike in most fonts are written as code points.

#include "ui/CDemoContent.h"

#include <QtTest>

class TestDemoContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data();
    void keys();
    void contentOnlyForTheThreeKeysOfPrefectureOne_data();
    void contentOnlyForTheThreeKeysOfPrefectureOne();
    void records_data();
    void records();
    void resourceNames();
};

void TestDemoContent::keys_data()
{
    QTest::addColumn<int>("prefNo");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("key");
    QTest::newRow("one digit id is padded") << 1 << 1 << QStringLiteral("101");
    QTest::newRow("two digit id") << 1 << 51 << QStringLiteral("151");
    QTest::newRow("three digit id is not cut") << 1 << 101 << QStringLiteral("1101");
    QTest::newRow("prefecture 2") << 2 << 1 << QStringLiteral("201");
    QTest::newRow("zero id") << 1 << 0 << QStringLiteral("100");
}

void TestDemoContent::keys()
{
    QFETCH(int, prefNo);
    QFETCH(int, id);
    QFETCH(QString, key);
    QCOMPARE(CDemoContent::MakeKey(prefNo, id), key);
}

void TestDemoContent::contentOnlyForTheThreeKeysOfPrefectureOne_data()
{
    QTest::addColumn<int>("prefNo");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::newRow("101") << 1 << QStringLiteral("101") << true;
    QTest::newRow("151") << 1 << QStringLiteral("151") << true;
    QTest::newRow("171") << 1 << QStringLiteral("171") << true;
    QTest::newRow("another id") << 1 << QStringLiteral("102") << false;
    QTest::newRow("id 101") << 1 << QStringLiteral("1101") << false;
    QTest::newRow("prefecture 2") << 2 << QStringLiteral("201") << false;
    QTest::newRow("key 101 in another prefecture") << 2 << QStringLiteral("101") << false;
}

void TestDemoContent::contentOnlyForTheThreeKeysOfPrefectureOne()
{
    QFETCH(int, prefNo);
    QFETCH(QString, key);
    QFETCH(bool, found);
    GRAIN_INFO_DATA record;
    record.Clear();
    record.strName = QStringLiteral("untouched");
    QCOMPARE(CDemoContent::GetRecord(prefNo, key, &record), found);
    if (!found)
        QCOMPARE(record.strName, QStringLiteral("untouched"));
}

void TestDemoContent::records_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("grainClass");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("whitePart");
    QTest::addColumn<QString>("other");

    QTest::newRow("きらら397")
        << QStringLiteral("101") << 1 << 0 << QStringLiteral("きらら397")
        << QStringLiteral("しまひかり\u00d7キタアケ") << QStringLiteral("北海道立上川農試")
        << QStringLiteral("粒形はやや細長で\u3001粒大は中\u3001基部がやや細く\u3001背部\u30fb腹部はなだらかに丸みがある\u3002")
        << QStringLiteral("淡飴色\u3002") << QStringLiteral("皮部は薄く\u3001透明感がある\u3002") << QStringLiteral("23.0")
        << QStringLiteral("気象条件によって乳白\u3001腹白が発生することがある\u3002") << QString();
    QTest::newRow("風の子もち")
        << QStringLiteral("151") << 51 << 1 << QStringLiteral("風の子もち")
        << QStringLiteral("上系85201\u00d7はくちょうもち") << QStringLiteral("北海道立上川農試")
        << QStringLiteral("粒形は中形で\u3001粒大は中\u3001背部は比較的直線で腹部は丸みがあり\u3001"
                          "厚みはやや厚く全体的に長めの印象を受ける\u3002")
        << QStringLiteral("乳白\u3002") << QStringLiteral("皮部は薄く\u3001乳白色のため不透明\u3002") << QStringLiteral("21.4")
        << QString() << QStringLiteral("粒長は\u300cはくちょうもち\u300dよりやや長い\u3002");
    QTest::newRow("吟風")
        << QStringLiteral("171") << 71 << 2 << QStringLiteral("吟風")
        << QStringLiteral("\uff08八反錦\u00d7上育404号\uff09\u00d7きらら397") << QStringLiteral("北海道立中央農試")
        << QStringLiteral("粒形はやや円形で\u3001粒大はやや大\u3001基部はやや広く\u3001背部\u30fb腹部はなだらかに丸みがある\u3002")
        << QStringLiteral("淡飴色\u3002") << QStringLiteral("皮部は薄く\u3001心白が多いため透明感にかける\u3002")
        << QStringLiteral("24.6") << QStringLiteral("心白を多く発現\u3001腹白の発生がやや多い\u3002") << QString();
}

void TestDemoContent::records()
{
    QFETCH(QString, key);
    QFETCH(int, id);
    QFETCH(int, grainClass);
    QFETCH(QString, name);
    QFETCH(QString, history);
    QFETCH(QString, place);
    QFETCH(QString, shape);
    QFETCH(QString, color);
    QFETCH(QString, skin);
    QFETCH(QString, weight);
    QFETCH(QString, whitePart);
    QFETCH(QString, other);

    // Whatever the record held before, it ends up entirely the built-in one.
    GRAIN_INFO_DATA record;
    record.nID = 999;
    record.strBreedingYear = QStringLiteral("1999");
    record.strName = QStringLiteral("from the variety file");
    QVERIFY(CDemoContent::GetRecord(1, key, &record));

    QCOMPARE(record.nID, id);
    QCOMPARE(record.nClass, grainClass);
    QCOMPARE(record.strName, name);
    QCOMPARE(record.bRequired, true);
    QCOMPARE(record.strRequired, QStringLiteral("必須"));
    QCOMPARE(record.strHistory, history);
    QCOMPARE(record.strBreedingYear, QString());
    QCOMPARE(record.strBreedingPlace, place);
    QCOMPARE(record.strGrainShape, shape);
    QCOMPARE(record.strColor, color);
    QCOMPARE(record.strSkin, skin);
    QCOMPARE(record.strGroove, QStringLiteral("縦溝は浅い\u3002"));
    QCOMPARE(record.strEmbryo, QStringLiteral("胚芽部は中程度で\u3001えぐれは浅い\u3002"));
    QCOMPARE(record.strThousandWeight, weight);
    QCOMPARE(record.strWhitePart, whitePart);
    QCOMPARE(record.strOther, other);
}

void TestDemoContent::resourceNames()
{
    QCOMPARE(CDemoContent::ResourceNames(QStringLiteral("101")),
             QStringList({QStringLiteral("1011"), QStringLiteral("1012"), QStringLiteral("1013"), QStringLiteral("1014")}));
    QCOMPARE(CDemoContent::ResourceNames(QStringLiteral("171")),
             QStringList({QStringLiteral("1711"), QStringLiteral("1712"), QStringLiteral("1713"), QStringLiteral("1714")}));
}

QTEST_GUILESS_MAIN(TestDemoContent)
#include "test_demo_content.moc"
