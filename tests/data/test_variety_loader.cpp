// The variety file loader: exactly the records of the search-per-value algorithm (kept here as the
// reference), on files whose Index positions are missing, repeated or out of range.

#include "data/CCatalogData.h"
#include "data/CXmlDocument.h"
#include "settings/CRvFileAccess.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <numeric>
#include <random>
#include <vector>

namespace {

// The platform's decimal conversion: blanks (any Unicode white space, as the wide-character
// conversion knows it) and a sign, digits up to the first non-digit.
int ToInt(QString text)
{
    while (!text.isEmpty() && text.front().isSpace())
        text.remove(0, 1);
    const long value = std::strtol(text.toUtf8().constData(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

// The original loader: every value found by a fresh search of the document.
CGrainInfoArray ReferenceLoad(const QString &path)
{
    CGrainInfoArray list;
    CXmlDocument doc;
    doc.CreateNewDocument();
    doc.LoadFile(path);
    const QString header = QStringLiteral("Header");
    const QString grain = QStringLiteral("Grain");
    const QString index = QStringLiteral("Index");
    const int count =
        std::min(ToInt(doc.GetNodeText(header, QString(), QString(), QStringLiteral("DataCount"), QStringLiteral("0"))),
                 CCatalogData::kMaxDataCount);
    for (int i = 0; i < count; ++i) {
        const QString at = QString::number(i);
        auto text = [&](const char *name, const QString &fallback) {
            return doc.GetNodeText(grain, index, at, QString::fromLatin1(name), fallback);
        };
        GRAIN_INFO_DATA record;
        record.nID = ToInt(text("ID", QString()));
        record.strName = text("Name", QString());
        record.nClass = ToInt(text("Class", QString()));
        record.bRequired = text("Requierd", QStringLiteral("TRUE")) == QLatin1String("TRUE");
        record.strRequired = record.bRequired ? QStringLiteral("必須") : QStringLiteral("選択");
        record.strHistory = text("History", QString());
        record.strBreedingYear = text("BreedingYear", QString());
        record.strBreedingPlace = text("BreedingPlace", QString());
        record.strGrainShape = text("GrainShape", QString());
        record.strColor = text("Color", QString());
        record.strSkin = text("Skin", QString());
        record.strGroove = text("Groove", QString());
        record.strEmbryo = text("Embryo", QString());
        record.strThousandWeight = text("ThousandWeight", QString());
        record.strWhitePart = text("WhitePart", QString());
        record.strOther = text("Other", QString());
        list.Add(record);
    }
    return list;
}

QStringList Fields(const GRAIN_INFO_DATA &g)
{
    return {QString::number(g.nID),
            QString::number(g.nClass),
            g.strName,
            g.bRequired ? QStringLiteral("T") : QStringLiteral("F"),
            g.strRequired,
            g.strHistory,
            g.strBreedingYear,
            g.strBreedingPlace,
            g.strGrainShape,
            g.strColor,
            g.strSkin,
            g.strGroove,
            g.strEmbryo,
            g.strThousandWeight,
            g.strWhitePart,
            g.strOther};
}

QString Grain(const QString &index, const QString &name, const QString &extra = QString())
{
    return QStringLiteral("<Grain Index=\"%1\"><ID>%2</ID><Name>%2-%3</Name>%4</Grain>")
        .arg(index, index.isEmpty() ? QStringLiteral("x") : index, name, extra);
}

QString File(const QString &count, const QString &grains)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot><Header><DataCount>%1</DataCount>"
                          "</Header>%2</GRoot>")
        .arg(count, grains);
}

}  // namespace

class TestVarietyLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_pDir = nullptr;
    QString m_strData;

    QString VarietyPath(int bureau, int pref) const
    {
        return m_strData
            + QStringLiteral("%1/%1%2.vdx").arg(bureau, 2, 10, QLatin1Char('0')).arg(pref, 2, 10, QLatin1Char('0'));
    }

    CGrainInfoArray Load(const QByteArray &bytes)
    {
        TestFiles::Write(VarietyPath(1, 1), bytes);
        CCatalogData catalog(m_pDir->path() + QStringLiteral("/BureauPref.pfd"));
        [&] { QVERIFY(catalog.SetDataFolder(m_strData)); }();
        CGrainInfoArray list;
        [&] { QVERIFY(catalog.LoadGrainInfo(1, 1, list)); }();
        return list;
    }

private Q_SLOTS:
    void init()
    {
        m_pDir = new QTemporaryDir();
        QVERIFY(m_pDir->isValid());
        m_strData = m_pDir->path() + QStringLiteral("/Data/");
        QVERIFY(QDir().mkpath(m_strData));
    }

    void cleanup()
    {
        delete m_pDir;
        m_pDir = nullptr;
    }

    void sameRecordsAsTheSearchPerValue_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<int>("expectedCount");

        const QString three = Grain(QStringLiteral("0"), QStringLiteral("a"))
            + Grain(QStringLiteral("1"), QStringLiteral("b")) + Grain(QStringLiteral("2"), QStringLiteral("c"));
        QTest::newRow("in order") << File(QStringLiteral("3"), three) << 3;
        QTest::newRow("out of document order")
            << File(QStringLiteral("3"),
                    Grain(QStringLiteral("2"), QStringLiteral("c")) + Grain(QStringLiteral("0"), QStringLiteral("a"))
                        + Grain(QStringLiteral("1"), QStringLiteral("b")))
            << 3;
        QTest::newRow("Index 1..n instead of 0..n-1")
            << File(QStringLiteral("3"),
                    Grain(QStringLiteral("1"), QStringLiteral("a")) + Grain(QStringLiteral("2"), QStringLiteral("b"))
                        + Grain(QStringLiteral("3"), QStringLiteral("c")))
            << 3;
        QTest::newRow("repeated Index: the first is read") << File(
            QStringLiteral("2"),
            Grain(QStringLiteral("0"), QStringLiteral("first")) + Grain(QStringLiteral("0"), QStringLiteral("second"))
                + Grain(QStringLiteral("1"), QStringLiteral("b")))
                                                           << 2;
        QTest::newRow("missing positions")
            << File(QStringLiteral("5"),
                    Grain(QStringLiteral("1"), QStringLiteral("b")) + Grain(QStringLiteral("4"), QStringLiteral("e")))
            << 5;
        QTest::newRow("DataCount smaller") << File(QStringLiteral("2"), three) << 2;
        QTest::newRow("DataCount larger") << File(QStringLiteral("6"), three) << 6;
        QTest::newRow("DataCount with trailing text") << File(QStringLiteral(" 2abc "), three) << 2;
        QTest::newRow("DataCount negative") << File(QStringLiteral("-3"), three) << 0;
        QTest::newRow("DataCount not a number") << File(QStringLiteral("many"), three) << 0;
        QTest::newRow("no Header") << QStringLiteral("<GRoot><DataCount>3</DataCount>%1</GRoot>").arg(three) << 0;
        QTest::newRow("Index not in canonical form") << File(
            QStringLiteral("3"),
            Grain(QStringLiteral("00"), QStringLiteral("a")) + Grain(QStringLiteral(" 1"), QStringLiteral("b"))
                + Grain(QStringLiteral("+2"), QStringLiteral("c")) + Grain(QStringLiteral("2"), QStringLiteral("d")))
                                                     << 3;
        QTest::newRow("Grain without Index before the wanted one") << File(
            QStringLiteral("1"),
            QStringLiteral("<Grain><Name>none</Name></Grain>") + Grain(QStringLiteral("0"), QStringLiteral("a")))
                                                                   << 1;
        QTest::newRow("nested Grain elements")
            << File(QStringLiteral("2"),
                    QStringLiteral("<Grain Index=\"1\"><Name>outer</Name><Grain Index=\"0\"><ID>5</ID>"
                                   "<Name>inner</Name><Class>2</Class></Grain></Grain>"))
            << 2;
        QTest::newRow("value deeper inside its Grain, another outside")
            << File(QStringLiteral("1"),
                    QStringLiteral("<Class>1</Class><Grain Index=\"0\"><x><y><Name>deep</Name></y></x></Grain>"))
            << 1;
        QTest::newRow("Requierd spellings and values") << File(
            QStringLiteral("6"),
            Grain(QStringLiteral("0"), QStringLiteral("a"), QStringLiteral("<Requierd>TRUE</Requierd>"))
                + Grain(QStringLiteral("1"), QStringLiteral("b"), QStringLiteral("<Requierd>True</Requierd>"))
                + Grain(QStringLiteral("2"), QStringLiteral("c"), QStringLiteral("<Requierd>1</Requierd>"))
                + Grain(QStringLiteral("3"), QStringLiteral("d"), QStringLiteral("<Required>FALSE</Required>"))
                + Grain(QStringLiteral("4"), QStringLiteral("e"), QStringLiteral("<Requierd/>"))
                + Grain(QStringLiteral("5"), QStringLiteral("f"), QStringLiteral("<Requierd> TRUE </Requierd>")))
                                                       << 6;
        QTest::newRow("numbers in text") << File(
            QStringLiteral("3"),
            QStringLiteral("<Grain Index=\"0\"><ID>12abc</ID><Class>2</Class></Grain>"
                           "<Grain Index=\"1\"><ID>abc</ID><Class>5</Class></Grain>"
                           "<Grain Index=\"2\"><ID>-4</ID><Class>-1</Class></Grain>"))
                                         << 3;
        QTest::newRow("equal and nearly equal texts")
            << File(QStringLiteral("5"),
                    QStringLiteral("<Grain Index=\"0\"><Color>良</Color><Skin>薄</Skin></Grain>"
                                   "<Grain Index=\"1\"><Color> 良\n</Color><Skin>薄い</Skin></Grain>"
                                   "<Grain Index=\"2\"><Color>良<!-- c --></Color><Skin>薄</Skin></Grain>"
                                   "<Grain Index=\"3\"><Color>良<b>い</b></Color><Skin>　薄</Skin></Grain>"
                                   "<Grain Index=\"4\"><Color><![CDATA[良]]></Color><Skin>薄</Skin></Grain>"))
            << 5;
        QTest::newRow("numbers with other blanks and markup")
            << File(QStringLiteral("3"),
                    QStringLiteral("<Grain Index=\"0\"><ID>\u3000 12</ID><Class> 2 </Class></Grain>"
                                   "<Grain Index=\"1\"><ID>1<b/>2</ID><Class>+1x</Class></Grain>"
                                   "<Grain Index=\"2\"><ID>-0</ID><Requierd>TRUE<!-- r --></Requierd></Grain>"))
            << 3;
        QTest::newRow("not well-formed") << QStringLiteral("<GRoot><Header><DataCount>3</DataCount></Header>") << 0;
    }

    void sameRecordsAsTheSearchPerValue()
    {
        QFETCH(QString, xml);
        QFETCH(int, expectedCount);
        const CGrainInfoArray list = Load(xml.toUtf8());
        const CGrainInfoArray reference = ReferenceLoad(VarietyPath(1, 1));
        QCOMPARE(list.GetSize(), expectedCount);
        QCOMPARE(reference.GetSize(), expectedCount);
        for (int i = 0; i < list.GetSize(); ++i)
            QCOMPARE(Fields(list[i]), Fields(reference[i]));
    }

    // A larger file: positions shuffled, repeated early and late (the first in the document
    // wins), a repeat nested inside its twin, a wrapped "Grain", and gaps. Loaded several times
    // into the same list.
    void largeFileSameAsSearchPerValue()
    {
        constexpr int kCount = 320;
        std::vector<int> order(kCount);
        std::iota(order.begin(), order.end(), 0);
        std::mt19937 random(7);
        std::shuffle(order.begin(), order.end(), random);
        order.erase(std::remove_if(order.begin(), order.end(), [](int i) { return i % 37 == 5; }), order.end());

        // Descriptive texts that repeat, in pairs one byte or one character apart.
        const QStringList nearlyEqual = {QStringLiteral("良"),
                                         QStringLiteral("良い"),
                                         QStringLiteral("abcdefg"),
                                         QStringLiteral("abcdefgh"),
                                         QStringLiteral("abcdefgX"),
                                         QStringLiteral("やや良好"),
                                         QStringLiteral("やや良否"),
                                         QStringLiteral("0123456789abcdef"),
                                         QStringLiteral("0123456789abcdeF"),
                                         QStringLiteral("0123456789abcdefg"),
                                         QStringLiteral("01234567X9abcdefg"),
                                         QStringLiteral("やや良好でない色合"),
                                         QStringLiteral("やや良好でない色合い")};
        QString grains;
        auto add = [&](int index, const QString &name, const QString &extra = QString()) {
            grains +=
                Grain(QString::number(index), name,
                      QStringLiteral("<Color>%1</Color><Skin>%2</Skin><Other>備考%3</Other>%4")  // remarks never repeat
                          .arg(nearlyEqual.at(index % nearlyEqual.size()),
                               nearlyEqual.at((index / 3) % nearlyEqual.size()), QString::number(index), extra));
        };
        const int half = static_cast<int>(order.size()) / 2;
        for (int k = 0; k < static_cast<int>(order.size()); ++k) {
            add(order[static_cast<std::size_t>(k)], QStringLiteral("品種%1").arg(k));
            if (k == 10)
                add(order[static_cast<std::size_t>(half + 20)],
                    QStringLiteral("early twin"));  // before its twin, in the first half
            if (k == half + 30)
                add(order[5], QStringLiteral("late twin"));  // after its twin, in the second half
            if (k == half + 40)
                grains += QStringLiteral("<Box>")
                    + Grain(QString::number(order[static_cast<std::size_t>(half + 41)]), QStringLiteral("boxed"))
                    + QStringLiteral("</Box>");
            if (k == half + 50) {
                const QString index = QString::number(order[static_cast<std::size_t>(half + 51)]);
                grains += QStringLiteral("<Grain Index=\"%1\"><Name>outer</Name>").arg(index)
                    + Grain(index, QStringLiteral("inner")) + QStringLiteral("</Grain>");
            }
        }
        TestFiles::Write(VarietyPath(1, 1), File(QString::number(kCount), grains).toUtf8());
        const CGrainInfoArray reference = ReferenceLoad(VarietyPath(1, 1));
        QCOMPARE(reference.GetSize(), kCount);

        CCatalogData catalog(m_pDir->path() + QStringLiteral("/BureauPref.pfd"));
        QVERIFY(catalog.SetDataFolder(m_strData));
        CGrainInfoArray list;
        for (int round = 0; round < 4; ++round) {
            QVERIFY(catalog.LoadGrainInfo(1, 1, list));
            QCOMPARE(list.GetSize(), kCount);
            for (int i = 0; i < kCount; ++i)
                QCOMPARE(Fields(list[i]), Fields(reference[i]));
        }
        QCOMPARE(list[order[5]].strName, QStringLiteral("%1-品種5").arg(order[5]));
        QCOMPARE(list[order[static_cast<std::size_t>(half + 20)]].strName,
                 QStringLiteral("%1-early twin").arg(order[static_cast<std::size_t>(half + 20)]));
        QCOMPARE(list[5].strName, QString());  // a gap
    }

    void fullRecord()
    {
        const QString file = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot>\n  <Header>\n    <DataCount>1</DataCount>\n  "
            "</Header>\n"
            "  <Grain Index=\"0\">\n    <ID>1</ID>\n    <Name>きらら397</Name>\n    <Class>0</Class>\n"
            "    <Requierd>TRUE</Requierd>\n    <History>しまひかり×キタアケ</History>\n"
            "    <BreedingYear>1988</BreedingYear>\n    <BreedingPlace>上川農試</BreedingPlace>\n"
            "    <GrainShape>やや細長</GrainShape>\n    <Color>良</Color>\n    <Skin>薄</Skin>\n"
            "    <Groove>浅</Groove>\n    <Embryo>小</Embryo>\n    <ThousandWeight>22.0</ThousandWeight>\n"
            "    <WhitePart>少</WhitePart>\n    <Other>なし</Other>\n  </Grain>\n</GRoot>\n");
        const CGrainInfoArray list = Load(file.toUtf8());
        QCOMPARE(list.GetSize(), 1);
        QCOMPARE(Fields(list[0]),
                 (QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("きらら397"),
                              QStringLiteral("T"), QStringLiteral("必須"), QStringLiteral("しまひかり×キタアケ"),
                              QStringLiteral("1988"), QStringLiteral("上川農試"), QStringLiteral("やや細長"),
                              QStringLiteral("良"), QStringLiteral("薄"), QStringLiteral("浅"), QStringLiteral("小"),
                              QStringLiteral("22.0"), QStringLiteral("少"), QStringLiteral("なし")}));
    }

    void missingPositionIsAnEmptyRequiredRecord()
    {
        const CGrainInfoArray list =
            Load(File(QStringLiteral("2"), Grain(QStringLiteral("1"), QStringLiteral("b"))).toUtf8());
        QCOMPARE(list.GetSize(), 2);
        QCOMPARE(Fields(list[0]),
                 (QStringList{QStringLiteral("0"), QStringLiteral("0"), QString(), QStringLiteral("T"),
                              QStringLiteral("必須"), QString(), QString(), QString(), QString(), QString(), QString(),
                              QString(), QString(), QString(), QString(), QString()}));
        QCOMPARE(list[1].strName, QStringLiteral("1-b"));
    }

    void absurdCountIsBounded()
    {
        const CGrainInfoArray list =
            Load(File(QStringLiteral("2000000000"), Grain(QStringLiteral("0"), QStringLiteral("a"))).toUtf8());
        QCOMPARE(list.GetSize(), CCatalogData::kMaxDataCount);
        QCOMPARE(list[0].strName, QStringLiteral("0-a"));
        QVERIFY(list[CCatalogData::kMaxDataCount - 1].strName.isEmpty());
    }

    void numbersAndMissingFiles()
    {
        CCatalogData catalog(m_pDir->path() + QStringLiteral("/BureauPref.pfd"));
        QVERIFY(catalog.SetDataFolder(m_strData));
        CGrainInfoArray list;
        GRAIN_INFO_DATA kept;
        kept.strName = QStringLiteral("kept");
        list.Add(kept);
        for (const auto &[bureau, pref] : {std::pair{0, 1}, std::pair{9, 1}, std::pair{1, 0}, std::pair{-1, 1}}) {
            QVERIFY(!catalog.LoadGrainInfo(bureau, pref, list));
            QCOMPARE(list.GetSize(), 1);  // untouched
        }
        // A missing file is a prefecture without varieties.
        QVERIFY(catalog.LoadGrainInfo(8, 9, list));
        QCOMPARE(list.GetSize(), 0);

        // The file of region 3, prefecture 2 lies in the region's own folder.
        TestFiles::Write(VarietyPath(3, 2),
                         File(QStringLiteral("1"), Grain(QStringLiteral("0"), QStringLiteral("x"))).toUtf8());
        QVERIFY(catalog.LoadGrainInfo(3, 2, list));
        QCOMPARE(list.GetSize(), 1);
        // The previous list never survives into the next.
        QVERIFY(catalog.LoadGrainInfo(3, 1, list));
        QCOMPARE(list.GetSize(), 0);
    }

    // A variety file that is a FIFO, a device, a folder or larger than the cap is a file that
    // does not load: an empty list at once, while the rest of the catalogue loads as ever.
    void fileThatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"fifo", "link to /dev/zero", "folder", "too large"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void fileThatIsNotARegularFile()
    {
        QFETCH(QString, kind);
        const QString path = VarietyPath(1, 1);
        TestFiles::MakeNotRegular(kind, path, CXmlDocument::kMaxFileSize + 1);
        TestFiles::Write(VarietyPath(1, 2),
                         File(QStringLiteral("1"), Grain(QStringLiteral("0"), QStringLiteral("next"))).toUtf8());

        CCatalogData catalog(m_pDir->path() + QStringLiteral("/BureauPref.pfd"));
        QVERIFY(catalog.SetDataFolder(m_strData));
        CGrainInfoArray list;
        list.Add(GRAIN_INFO_DATA());
        bool loaded = false;
        QVERIFY(TestFiles::FinishesWithin(5000, path, [&] { loaded = catalog.LoadGrainInfo(1, 1, list); }));
        QVERIFY(loaded);
        QCOMPARE(list.GetSize(), 0);
        QVERIFY(catalog.LoadGrainInfo(1, 2, list));
        QCOMPARE(list.GetSize(), 1);
        QCOMPARE(list[0].strName, QStringLiteral("0-next"));
    }

    void linkToAVarietyFileIsFollowed()
    {
        const QString real = m_pDir->path() + QStringLiteral("/elsewhere.vdx");
        TestFiles::Write(real,
                         File(QStringLiteral("1"), Grain(QStringLiteral("0"), QStringLiteral("linked"))).toUtf8());
        QDir().mkpath(QFileInfo(VarietyPath(1, 1)).absolutePath());
        QVERIFY(QFile::link(real, VarietyPath(1, 1)));
        CCatalogData catalog(m_pDir->path() + QStringLiteral("/BureauPref.pfd"));
        QVERIFY(catalog.SetDataFolder(m_strData));
        CGrainInfoArray list;
        QVERIFY(catalog.LoadGrainInfo(1, 1, list));
        QCOMPARE(list.GetSize(), 1);
        QCOMPARE(list[0].strName, QStringLiteral("0-linked"));
    }

    // Not well-formed is not loaded, whatever the size of the file: a Grain written after the
    // root element is no more read in a file of many varieties than in a small one.
    void notWellFormedAtAnySize_data()
    {
        QTest::addColumn<QString>("xml");
        for (const int count : {3, 600}) {
            QString grains;
            for (int i = 0; i < count - 1; ++i)
                grains += Grain(QString::number(i), QStringLiteral("g"));
            const QString last = Grain(QString::number(count - 1), QStringLiteral("outside"));
            QTest::newRow(qPrintable(QStringLiteral("second top-level element, %1 varieties").arg(count)))
                << File(QString::number(count), grains) + last;
            QTest::newRow(qPrintable(QStringLiteral("undeclared entity with an external DTD, %1 varieties").arg(count)))
                << QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE GRoot SYSTEM \"grain.dtd\">\n")
                    + File(QString::number(count),
                           grains + Grain(QString::number(count - 1), QStringLiteral("&brand;")))
                          .mid(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n").size());
        }
    }

    void notWellFormedAtAnySize()
    {
        QFETCH(QString, xml);
        QCOMPARE(Load(xml.toUtf8()).GetSize(), 0);
    }

    // One walk, however deep the Grain elements nest: each takes the first values below it.
    void deeplyNestedGrains()
    {
        constexpr int kDepth = 100000;
        QByteArray xml = "<GRoot><Header><DataCount>100000</DataCount></Header>";
        for (int i = 0; i < kDepth; ++i)
            xml += "<Grain Index=\"" + QByteArray::number(i) + "\"><Name>n" + QByteArray::number(i) + "</Name>";
        xml += "<Class>2</Class>";
        for (int i = 0; i < kDepth; ++i)
            xml += "</Grain>";
        xml += "</GRoot>";
        const CGrainInfoArray list = Load(xml);
        QCOMPARE(list.GetSize(), CCatalogData::kMaxDataCount);
        QCOMPARE(list[0].strName, QStringLiteral("n0"));
        QCOMPARE(list[9999].strName, QStringLiteral("n9999"));
        QCOMPARE(list[0].nClass, 2);  // the one "Class", deepest of all, is below every Grain
        QCOMPARE(list[9999].nClass, 2);
    }

    void readingOfTheName()
    {
        const CGrainInfoArray list = Load(
            File(QStringLiteral("2"),
                 Grain(QStringLiteral("0"), QStringLiteral("a"), QStringLiteral("<Reading> にっぽんばれ </Reading>"))
                     + Grain(QStringLiteral("1"), QStringLiteral("b")))
                .toUtf8());
        QCOMPARE(list.GetSize(), 2);
        QCOMPARE(list[0].strReading, QStringLiteral("にっぽんばれ"));
        QCOMPARE(list[1].strReading, QString());
        GRAIN_INFO_DATA cleared = list[0];
        cleared.Clear();
        QCOMPARE(cleared.strReading, QString());
    }

    void shiftJisVarietyFile()
    {
        const QString file = QStringLiteral("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n")
            + File(QStringLiteral("1"), Grain(QStringLiteral("0"), QStringLiteral("表示ソ")))
                  .mid(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n").size());
        const CGrainInfoArray list = Load(TestFiles::Legacy(file, "CP932"));
        QCOMPARE(list.GetSize(), 1);
        QCOMPARE(list[0].strName, QStringLiteral("0-表示ソ"));
    }
};

QTEST_GUILESS_MAIN(TestVarietyLoader)
#include "test_variety_loader.moc"
