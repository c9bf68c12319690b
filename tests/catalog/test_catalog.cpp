// The bundled catalogue as the program sees it: the data checker reads the region table and every
// prefecture's variety file beside the built executable with the program's own data code, and
// this test holds the facts the catalogue promises.

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

class TestCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void checkerFindsNoProblems();
    void regionTable_data();
    void regionTable();
    void everyPrefectureFileLoads();
    void identifiersAndOrderWithinEachFile();
    void hokkaidoBuiltInBrands_data();
    void hokkaidoBuiltInBrands();
    void filesMatchTheBrandTable();
    void prefectureContents_data();
    void prefectureContents();
    void noBrandTwiceInOneClassification();
    void everyBrandCarriesItsReading();

private:
    QJsonObject prefecture(int nBureauNo, int nPrefNo) const;

    QJsonObject m_report;
    int m_nExitCode = -1;
};

namespace {

QString Key(const char *name)
{
    return QString::fromLatin1(name);
}

int Int(const QJsonObject &object, const char *name)
{
    return object.value(Key(name)).toInt(-1);
}

QString Text(const QJsonObject &object, const char *name)
{
    return object.value(Key(name)).toString();
}

QJsonArray Array(const QJsonObject &object, const char *name)
{
    return object.value(Key(name)).toArray();
}

}  // namespace

void TestCatalog::initTestCase()
{
    const QString exeDir = qEnvironmentVariable("KELMORA_EXE_DIR");
    QVERIFY2(!exeDir.isEmpty(), "KELMORA_EXE_DIR is not set");

    QProcess checker;
    checker.setProgram(exeDir + QStringLiteral("/kelmora-datacheck"));
    checker.setArguments({QStringLiteral("--root"), exeDir, QStringLiteral("--json")});
    checker.start();
    QVERIFY2(checker.waitForStarted(), qPrintable(checker.errorString()));
    QVERIFY2(checker.waitForFinished(120000), "the data checker did not finish");
    QCOMPARE(checker.exitStatus(), QProcess::NormalExit);
    m_nExitCode = checker.exitCode();

    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(checker.readAllStandardOutput(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QVERIFY(document.isObject());
    m_report = document.object();
}

QJsonObject TestCatalog::prefecture(int nBureauNo, int nPrefNo) const
{
    for (const QJsonValue &value : Array(m_report, "prefectures")) {
        const QJsonObject entry = value.toObject();
        if (Int(entry, "nBureauNo") == nBureauNo && Int(entry, "nPrefNo") == nPrefNo)
            return entry;
    }
    return {};
}

void TestCatalog::checkerFindsNoProblems()
{
    const QJsonArray problems = Array(m_report, "problems");
    for (const QJsonValue &value : problems) {
        const QJsonObject problem = value.toObject();
        qWarning("%s: %s", qUtf8Printable(Text(problem, "file")), qUtf8Printable(Text(problem, "message")));
    }
    QCOMPARE(problems.size(), 0);
    QCOMPARE(m_nExitCode, 0);
}

void TestCatalog::regionTable_data()
{
    QTest::addColumn<int>("nBureauNo");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("prefectures");

    QTest::newRow("1") << 1 << QStringLiteral("北海道") << QStringList{QStringLiteral("北海道")};
    QTest::newRow("2") << 2 << QStringLiteral("東北")
                       << QStringList{QStringLiteral("青森県"), QStringLiteral("岩手県"), QStringLiteral("宮城県"),
                                      QStringLiteral("秋田県"), QStringLiteral("山形県"), QStringLiteral("福島県")};
    QTest::newRow("3") << 3 << QStringLiteral("関東")
                       << QStringList{QStringLiteral("茨城県"),  QStringLiteral("栃木県"), QStringLiteral("群馬県"),
                                      QStringLiteral("埼玉県"),  QStringLiteral("千葉県"), QStringLiteral("東京都"),
                                      QStringLiteral("神奈川県")};
    QTest::newRow("4") << 4 << QStringLiteral("中部")
                       << QStringList{QStringLiteral("新潟県"), QStringLiteral("富山県"), QStringLiteral("石川県"),
                                      QStringLiteral("福井県"), QStringLiteral("山梨県"), QStringLiteral("長野県"),
                                      QStringLiteral("岐阜県"), QStringLiteral("静岡県"), QStringLiteral("愛知県")};
    QTest::newRow("5") << 5 << QStringLiteral("近畿")
                       << QStringList{QStringLiteral("三重県"),  QStringLiteral("滋賀県"), QStringLiteral("京都府"),
                                      QStringLiteral("大阪府"),  QStringLiteral("兵庫県"), QStringLiteral("奈良県"),
                                      QStringLiteral("和歌山県")};
    QTest::newRow("6") << 6 << QStringLiteral("中国")
                       << QStringList{QStringLiteral("鳥取県"), QStringLiteral("島根県"), QStringLiteral("岡山県"),
                                      QStringLiteral("広島県"), QStringLiteral("山口県")};
    QTest::newRow("7") << 7 << QStringLiteral("四国")
                       << QStringList{QStringLiteral("徳島県"), QStringLiteral("香川県"), QStringLiteral("愛媛県"),
                                      QStringLiteral("高知県")};
    QTest::newRow("8") << 8 << QStringLiteral("九州・沖縄")
                       << QStringList{QStringLiteral("福岡県"),   QStringLiteral("佐賀県"), QStringLiteral("長崎県"),
                                      QStringLiteral("熊本県"),   QStringLiteral("大分県"), QStringLiteral("宮崎県"),
                                      QStringLiteral("鹿児島県"), QStringLiteral("沖縄県")};
}

void TestCatalog::regionTable()
{
    QFETCH(int, nBureauNo);
    QFETCH(QString, name);
    QFETCH(QStringList, prefectures);

    const QJsonArray regions = Array(m_report, "regions");
    QCOMPARE(regions.size(), 8);
    const QJsonObject region = regions.at(nBureauNo - 1).toObject();
    QCOMPARE(Int(region, "nBureauNo"), nBureauNo);
    QCOMPARE(Text(region, "strBureauName"), name);
    QCOMPARE(Int(region, "nPrefCnt"), int(prefectures.size()));

    const QJsonArray entries = Array(region, "aPref");
    QCOMPARE(entries.size(), 9);
    for (int i = 0; i < 9; ++i) {
        const QJsonObject entry = entries.at(i).toObject();
        const bool filled = i < prefectures.size();
        QCOMPARE(Int(entry, "nBureauNo"), filled ? nBureauNo : 0);
        QCOMPARE(Int(entry, "nPrefNo"), filled ? i + 1 : 0);
        QCOMPARE(Text(entry, "strPrefName"), filled ? prefectures.at(i) : QString());
    }
}

void TestCatalog::everyPrefectureFileLoads()
{
    const QJsonArray prefectures = Array(m_report, "prefectures");
    QCOMPARE(prefectures.size(), 47);

    int nVarieties = 0;
    for (const QJsonValue &value : prefectures) {
        const QJsonObject entry = value.toObject();
        const QString where = Text(entry, "file");
        const QString expectedTail = QStringLiteral("%1/%1%2.vdx")
                                         .arg(Int(entry, "nBureauNo"), 2, 10, QLatin1Char('0'))
                                         .arg(Int(entry, "nPrefNo"), 2, 10, QLatin1Char('0'));
        QVERIFY2(where.endsWith(expectedTail), qUtf8Printable(where));
        QVERIFY2(entry.value(Key("exists")).toBool(), qUtf8Printable(where));
        QVERIFY2(entry.value(Key("loaded")).toBool(), qUtf8Printable(where));
        nVarieties += Array(entry, "varieties").size();
    }
    QVERIFY2(nVarieties >= 600, qPrintable(QString::number(nVarieties)));
}

// The program finds a brand's built-in detail by its identifier, and people adding brands by hand
// get the ranges wrong most easily: within each classification the identifiers run on from the
// start of its range (うるち 1, もち 51, 醸造用 71; past the range at 101, 151, 171), and required
// brands come before optional ones.
void TestCatalog::identifiersAndOrderWithinEachFile()
{
    static const int kFirst[3] = {1, 51, 71};
    static const int kRangeSize[3] = {50, 20, 30};

    for (const QJsonValue &value : Array(m_report, "prefectures")) {
        const QJsonObject entry = value.toObject();
        const QByteArray where = Text(entry, "file").toUtf8();
        int nCount[3] = {0, 0, 0};
        bool bOptionalSeen[3] = {false, false, false};
        for (const QJsonValue &grain : Array(entry, "varieties")) {
            const QJsonObject variety = grain.toObject();
            const int nClass = Int(variety, "nClass");
            QVERIFY2(nClass >= 0 && nClass <= 2, where.constData());
            const int n = nCount[nClass]++;
            const int expectedId =
                n < kRangeSize[nClass] ? kFirst[nClass] + n : kFirst[nClass] + 100 + (n - kRangeSize[nClass]);
            const QByteArray brand = where + ": " + Text(variety, "strName").toUtf8();
            QVERIFY2(Int(variety, "nID") == expectedId, brand.constData());

            const bool bRequired = variety.value(Key("bRequired")).toBool();
            QVERIFY2(!(bRequired && bOptionalSeen[nClass]), brand.constData());
            bOptionalSeen[nClass] = bOptionalSeen[nClass] || !bRequired;
        }
    }
}

void TestCatalog::hokkaidoBuiltInBrands_data()
{
    QTest::addColumn<int>("nClass");
    QTest::addColumn<int>("nID");
    QTest::addColumn<QString>("name");

    QTest::newRow("うるち") << 0 << 1 << QStringLiteral("きらら397");
    QTest::newRow("もち") << 1 << 51 << QStringLiteral("風の子もち");
    QTest::newRow("醸造用") << 2 << 71 << QStringLiteral("吟風");
}

void TestCatalog::hokkaidoBuiltInBrands()
{
    QFETCH(int, nClass);
    QFETCH(int, nID);
    QFETCH(QString, name);

    const QJsonObject hokkaido = prefecture(1, 1);
    QVERIFY(!hokkaido.isEmpty());
    for (const QJsonValue &value : Array(hokkaido, "varieties")) {
        const QJsonObject variety = value.toObject();
        if (Int(variety, "nClass") != nClass)
            continue;
        // The first brand of the classification, as the brand list shows it.
        QCOMPARE(Text(variety, "strName"), name);
        QCOMPARE(Int(variety, "nID"), nID);
        QCOMPARE(variety.value(Key("bRequired")).toBool(), true);
        QCOMPARE(Text(variety, "strRequired"), QStringLiteral("必須"));
        return;
    }
    QFAIL("the classification has no brand in 北海道");
}

// The variety files are generated from the brand table under tools/catalog-gen; a file edited by
// hand would be overwritten, without a word, the next time anyone regenerates the catalogue.
void TestCatalog::filesMatchTheBrandTable()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");
    const QString sourceDir = qEnvironmentVariable("KELMORA_SOURCE_DIR");
    QVERIFY2(!sourceDir.isEmpty(), "KELMORA_SOURCE_DIR is not set");

    QProcess generator;
    generator.start(python,
                    {sourceDir + QStringLiteral("/tools/catalog-gen/catalog_gen.py"), QStringLiteral("--check")});
    QVERIFY2(generator.waitForFinished(60000), "the generator did not finish");
    QVERIFY2(generator.exitStatus() == QProcess::NormalExit && generator.exitCode() == 0,
             generator.readAllStandardError().constData());
}

// A few facts of the lists themselves that a careless edit of the brand table would break: 東京都
// has no production-area brands at all, and 愛媛県's own variety is spelled with 凜 (U+51DC), not
// the look-alike 凛 (U+51DB).
void TestCatalog::prefectureContents_data()
{
    QTest::addColumn<int>("nBureauNo");
    QTest::addColumn<int>("nPrefNo");
    QTest::addColumn<int>("nMinCount");
    QTest::addColumn<int>("nMaxCount");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("absent");

    QTest::newRow("東京都") << 3 << 6 << 0 << 0 << QString() << QString();
    QTest::newRow("愛媛県") << 7 << 3 << 1 << 50 << QStringLiteral("ひめの\u51DC") << QStringLiteral("ひめの\u51DB");
    QTest::newRow("群馬県") << 3 << 3 << 1 << 50 << QStringLiteral("ゴロピカリ") << QStringLiteral("雪ほたか");
}

void TestCatalog::prefectureContents()
{
    QFETCH(int, nBureauNo);
    QFETCH(int, nPrefNo);
    QFETCH(int, nMinCount);
    QFETCH(int, nMaxCount);
    QFETCH(QString, listed);
    QFETCH(QString, absent);

    const QJsonObject entry = prefecture(nBureauNo, nPrefNo);
    QVERIFY(!entry.isEmpty());
    QVERIFY(entry.value(Key("loaded")).toBool());
    const QJsonArray varieties = Array(entry, "varieties");
    QVERIFY2(varieties.size() >= nMinCount && varieties.size() <= nMaxCount,
             qPrintable(QString::number(varieties.size())));

    QStringList names;
    for (const QJsonValue &value : varieties)
        names << Text(value.toObject(), "strName");
    if (!listed.isEmpty())
        QVERIFY2(names.contains(listed), qUtf8Printable(listed));
    if (!absent.isEmpty())
        QVERIFY2(!names.contains(absent), qUtf8Printable(absent));
}

// The program tells brands apart by position, but a user would see the same name twice in one
// brand list.
void TestCatalog::noBrandTwiceInOneClassification()
{
    for (const QJsonValue &value : Array(m_report, "prefectures")) {
        const QJsonObject entry = value.toObject();
        QSet<QString> seen;
        for (const QJsonValue &grain : Array(entry, "varieties")) {
            const QJsonObject variety = grain.toObject();
            const QString key = QString::number(Int(variety, "nClass")) + QLatin1Char('/') + Text(variety, "strName");
            const QByteArray where = (Text(entry, "file") + QStringLiteral(": ") + key).toUtf8();
            QVERIFY2(!seen.contains(key), where.constData());
            seen.insert(key);
        }
    }
}

// The brand search matches on each brand's reading, and the brand lists are sorted by it: every
// Grain of the bundled files carries one, in hiragana (digits allowed, as in きらら397).
void TestCatalog::everyBrandCarriesItsReading()
{
    const QRegularExpression hiragana(QStringLiteral("^[\\x{3041}-\\x{3096}\\x{30FC}0-9]+$"));
    int nGrains = 0;
    QDirIterator files(qEnvironmentVariable("KELMORA_EXE_DIR") + QStringLiteral("/Data"), {QStringLiteral("*.vdx")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY2(file.open(QIODevice::ReadOnly), qUtf8Printable(file.fileName()));
        QXmlStreamReader xml(&file);
        QString name;
        bool bInGrain = false;
        bool bHasReading = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("Grain")) {
                bInGrain = true;
                bHasReading = false;
            } else if (bInGrain && xml.isStartElement() && xml.name() == QLatin1String("Name")) {
                name = xml.readElementText();
            } else if (bInGrain && xml.isStartElement() && xml.name() == QLatin1String("Reading")) {
                const QString reading = xml.readElementText();
                const QByteArray where =
                    (file.fileName() + QStringLiteral(": ") + name + QStringLiteral(" ") + reading).toUtf8();
                QVERIFY2(hiragana.match(reading).hasMatch(), where.constData());
                bHasReading = true;
            } else if (xml.isEndElement() && xml.name() == QLatin1String("Grain")) {
                const QByteArray where = (file.fileName() + QStringLiteral(": ") + name).toUtf8();
                QVERIFY2(bHasReading, where.constData());
                bInGrain = false;
                ++nGrains;
            }
        }
        QVERIFY2(!xml.hasError(), qUtf8Printable(file.fileName() + QStringLiteral(": ") + xml.errorString()));
    }
    QVERIFY(nGrains >= 600);
}

QTEST_GUILESS_MAIN(TestCatalog)
#include "test_catalog.moc"
