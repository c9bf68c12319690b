// The built-in brands: their keys, which record and which pictures a chosen brand shows, and the
// characters of their texts that look alike in most fonts.

#include "browser/CDemoContent.h"

#include <QtTest>

class TestDemoContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data();
    void keys();
    void contentOnlyForTheThreeKeysOfPrefectureOne_data();
    void contentOnlyForTheThreeKeysOfPrefectureOne();
    void recordsBelongToTheirKeys_data();
    void recordsBelongToTheirKeys();
    void chooseDisplay_data();
    void chooseDisplay();
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

void TestDemoContent::recordsBelongToTheirKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("grainClass");
    QTest::newRow("101 paddy non-glutinous") << QStringLiteral("101") << 0;
    QTest::newRow("151 paddy glutinous") << QStringLiteral("151") << 1;
    QTest::newRow("171 brewing") << QStringLiteral("171") << 2;
}

void TestDemoContent::recordsBelongToTheirKeys()
{
    QFETCH(QString, key);
    QFETCH(int, grainClass);

    // Whatever the record held before, it ends up entirely the built-in one of that key.
    GRAIN_INFO_DATA record;
    record.nID = 999;
    record.strBreedingYear = QStringLiteral("1999");
    record.strName = QStringLiteral("from the variety file");
    record.strOther = QStringLiteral("from the variety file");
    QVERIFY(CDemoContent::GetRecord(1, key, &record));
    QCOMPARE(CDemoContent::MakeKey(1, record.nID), key);
    QCOMPARE(record.nClass, grainClass);
    QVERIFY(record.strName != QStringLiteral("from the variety file"));
    QVERIFY(record.strOther != QStringLiteral("from the variety file"));
    QCOMPARE(record.strBreedingYear, QString());
    QVERIFY(record.bRequired);

    // Every descriptive sentence ends with the ideographic full stop; crosses are U+00D7, never a
    // Latin letter, and brackets are full-width.
    for (const QString &text : {record.strGrainShape, record.strColor, record.strSkin, record.strGroove,
                                record.strEmbryo, record.strWhitePart, record.strOther}) {
        if (!text.isEmpty())
            QVERIFY2(text.endsWith(QChar(0x3002)), qPrintable(text));
    }
    QVERIFY(record.strHistory.contains(QChar(0x00d7)));
    QVERIFY(!record.strHistory.contains(QLatin1Char('x')) && !record.strHistory.contains(QLatin1Char('(')));
}

void TestDemoContent::chooseDisplay_data()
{
    QTest::addColumn<int>("bureau");
    QTest::addColumn<int>("pref");
    QTest::addColumn<int>("grain");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("shownId");  // the record's nID, 0 for the cleared record
    QTest::addColumn<int>("source");
    QTest::addColumn<QStringList>("pictures");

    const auto none = int(CDemoContent::Outcome::NoBrand);
    const auto other = int(CDemoContent::Outcome::OtherRegion);
    const auto nothing = int(CDemoContent::Outcome::NoContent);
    const auto builtIn = int(CDemoContent::Outcome::BuiltIn);
    const QStringList names101{QStringLiteral("1011"), QStringLiteral("1012"), QStringLiteral("1013"),
                               QStringLiteral("1014")};
    const QStringList names171{QStringLiteral("1711"), QStringLiteral("1712"), QStringLiteral("1713"),
                               QStringLiteral("1714")};
    // The region's prefectures: position 0 is number 1, position 1 number 2, position 2 number 1
    // again. The variety list: IDs 1, 71, 101, 2.
    QTest::newRow("no brand") << 0 << 0 << -1 << none << 0 << -1 << QStringList();
    QTest::newRow("no prefecture") << 0 << -1 << 0 << none << 0 << -1 << QStringList();
    QTest::newRow("no region") << -1 << 0 << 0 << none << 0 << -1 << QStringList();
    QTest::newRow("ID 1") << 0 << 0 << 0 << builtIn << 1 << 0 << names101;
    QTest::newRow("ID 71") << 0 << 0 << 1 << builtIn << 71 << 0 << names171;
    QTest::newRow("ID 101 gives key 1101") << 0 << 0 << 2 << nothing << 0 << -1 << QStringList();
    QTest::newRow("ID 2") << 0 << 0 << 3 << nothing << 0 << -1 << QStringList();
    QTest::newRow("ID 1 in prefecture number 2") << 0 << 1 << 0 << nothing << 0 << -1 << QStringList();
    // The pictures come from the source of the prefecture's position, not of its number.
    QTest::newRow("number 1 at position 2") << 0 << 2 << 0 << builtIn << 1 << 2 << names101;
    QTest::newRow("second region") << 1 << 0 << 0 << other << 0 << -1 << QStringList();
    QTest::newRow("eighth region") << 7 << 0 << 0 << other << 0 << -1 << QStringList();
}

void TestDemoContent::chooseDisplay()
{
    QFETCH(int, bureau);
    QFETCH(int, pref);
    QFETCH(int, grain);
    QFETCH(int, outcome);
    QFETCH(int, shownId);
    QFETCH(int, source);
    QFETCH(QStringList, pictures);

    BUREAU_DATA region;
    region.nBureauNo = bureau + 1;
    region.nPrefCnt = 3;
    region.aPref[0].nPrefNo = 1;
    region.aPref[1].nPrefNo = 2;
    region.aPref[2].nPrefNo = 1;
    CGrainInfoArray grains;
    for (int id : {1, 71, 101, 2}) {
        GRAIN_INFO_DATA info;
        info.Clear();
        info.nID = id;
        info.strName = QStringLiteral("listed name");
        grains.Add(info);
    }

    const CDemoContent::Display display = CDemoContent::ChooseDisplay(bureau, pref, grain, region, grains);
    QCOMPARE(int(display.eOutcome), outcome);
    QCOMPARE(display.record.nID, shownId);
    QCOMPARE(display.nSource, source);
    QCOMPARE(display.astrPictures, pictures);
    if (shownId == 0) {
        GRAIN_INFO_DATA cleared;
        cleared.Clear();
        QCOMPARE(display.record.strName, cleared.strName);
        QCOMPARE(display.record.strHistory, QString());
    } else {
        QVERIFY(display.record.strName != QStringLiteral("listed name"));
    }
}

void TestDemoContent::resourceNames()
{
    QCOMPARE(
        CDemoContent::ResourceNames(QStringLiteral("101")),
        QStringList({QStringLiteral("1011"), QStringLiteral("1012"), QStringLiteral("1013"), QStringLiteral("1014")}));
    QCOMPARE(
        CDemoContent::ResourceNames(QStringLiteral("171")),
        QStringList({QStringLiteral("1711"), QStringLiteral("1712"), QStringLiteral("1713"), QStringLiteral("1714")}));
}

QTEST_GUILESS_MAIN(TestDemoContent)
#include "test_demo_content.moc"
