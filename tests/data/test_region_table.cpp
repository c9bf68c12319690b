// The region table "BureauPref.pfd" as the catalogue reads it, the data folder and variety file
// paths.

#include "data/CCatalogData.h"
#include "settings/CRvFileAccess.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRegionTable : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_pDir = nullptr;
    QString m_strFolder;

    void WriteTable(const QString &text) const { TestFiles::Write(RegionTable(), text.toUtf8()); }

    static void VerifyVacantFrom(const BUREAU_DATA &bureau, int first)
    {
        for (int i = first; i < BUREAU_DATA::kMaxPref; ++i) {
            const PREF_DATA &pref = bureau.aPref[static_cast<std::size_t>(i)];
            QCOMPARE(pref.nBureauNo, 0);
            QCOMPARE(pref.nPrefNo, 0);
            QVERIFY(pref.strPrefName.isEmpty());
        }
    }

    static void VerifyPref(const BUREAU_DATA &bureau, int i, const QString &name)
    {
        const PREF_DATA &pref = bureau.aPref[static_cast<std::size_t>(i)];
        QCOMPARE(pref.nBureauNo, bureau.nBureauNo);
        QCOMPARE(pref.nPrefNo, i + 1);
        QCOMPARE(pref.strPrefName, name);
    }

    QString RegionTable() const { return m_strFolder + QStringLiteral("BureauPref.pfd"); }

private Q_SLOTS:
    void init()
    {
        m_pDir = new QTemporaryDir();
        QVERIFY(m_pDir->isValid());
        m_strFolder = m_pDir->path() + QLatin1Char('/');
    }

    void cleanup()
    {
        delete m_pDir;
        m_pDir = nullptr;
    }

    void noFileGivesEightEmptyRegions()
    {
        const CCatalogData catalog(RegionTable());
        QVERIFY(catalog.GetDataFolder().isEmpty());
        const CBureauArray &table = catalog.GetBureauTable();
        QCOMPARE(table.GetSize(), 8);
        for (int b = 0; b < 8; ++b) {
            QCOMPARE(table[b].nBureauNo, b + 1);
            QVERIFY(table[b].strBureauName.isEmpty());
            QCOMPARE(table[b].nPrefCnt, 0);
            VerifyVacantFrom(table[b], 0);
        }
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, table[8]);
    }

    void prefecturesUpToTheCount()
    {
        WriteTable(QStringLiteral("[Bureau03]\nBureauName=関東\nPrefCnt=2\nPrefName01=茨城県\nPrefName02=栃木県\n"
                                  "PrefName03=群馬県\n"
                                  "[Bureau04]\nBureauName=中部\nPrefCnt=3\nPrefName01=新潟県\nPrefName03=石川県\n"
                                  "[Bureau05]\nBureauName=近畿\nPrefCnt=0\nPrefName01=三重県\n"
                                  "[Bureau06]\nPrefCnt=-2\nPrefName01=鳥取県\n"
                                  "[Bureau07]\nBureauName=\nPrefCnt=abc\nPrefName01=徳島県\n"
                                  "[Bureau1]\nBureauName=北海道\n"
                                  "[bureau02]\nbureauname=東北\nprefcnt=1\nprefname01=青森県\n"));
        const CCatalogData catalog(RegionTable());
        const CBureauArray &table = catalog.GetBureauTable();

        QVERIFY(table[0].strBureauName.isEmpty());  // "Bureau1" is not "Bureau01"
        QCOMPARE(table[1].strBureauName, QStringLiteral("東北"));
        QCOMPARE(table[1].nPrefCnt, 1);
        VerifyPref(table[1], 0, QStringLiteral("青森県"));

        QCOMPARE(table[2].strBureauName, QStringLiteral("関東"));
        QCOMPARE(table[2].nPrefCnt, 2);
        VerifyPref(table[2], 0, QStringLiteral("茨城県"));
        VerifyPref(table[2], 1, QStringLiteral("栃木県"));
        VerifyVacantFrom(table[2], 2);  // PrefName03 is beyond the count

        QCOMPARE(table[3].nPrefCnt, 3);
        VerifyPref(table[3], 0, QStringLiteral("新潟県"));
        VerifyPref(table[3], 1, QString());  // counted, though its name is missing
        VerifyPref(table[3], 2, QStringLiteral("石川県"));
        VerifyVacantFrom(table[3], 3);

        for (int b : {4, 5, 6}) {
            QVERIFY(table[b].nPrefCnt <= 0);
            VerifyVacantFrom(table[b], 0);
        }
        QCOMPARE(table[5].nPrefCnt, -2);  // stored as read; no entry is filled
    }

    void countAboveNineIsStoredAsNine()
    {
        QString text = QStringLiteral("[Bureau08]\nBureauName=九州\nPrefCnt=12\n");
        for (int i = 1; i <= 12; ++i)
            text += QStringLiteral("PrefName%1=P%2\n").arg(i, 2, 10, QLatin1Char('0')).arg(i);
        WriteTable(text);
        const CCatalogData catalog(RegionTable());
        const BUREAU_DATA &bureau = catalog.GetBureauTable()[7];
        QCOMPARE(bureau.nPrefCnt, 9);
        for (int i = 0; i < 9; ++i)
            VerifyPref(bureau, i, QStringLiteral("P%1").arg(i + 1));
    }

    void longNamesAreCut()
    {
        WriteTable(QStringLiteral("[Bureau01]\nBureauName=") + QString(300, QChar(0x7C73)) + QStringLiteral("\n"));
        const CCatalogData catalog(RegionTable());
        QCOMPARE(catalog.GetBureauTable()[0].strBureauName, QString(259, QChar(0x7C73)));
    }

    // Region tables delivered from a Japanese Windows desktop are in Shift_JIS.
    void shiftJisTable()
    {
        const QString text = QStringLiteral("[Bureau02]\r\nBureauName=東北\r\nPrefCnt=2\r\nPrefName01=青森県\r\n"
                                            "PrefName02=宮城県\r\n[Bureau09]\r\nBureauName=表ソ\r\n");
        TestFiles::Write(RegionTable(), TestFiles::Legacy(text, "CP932"));
        const CCatalogData catalog(RegionTable());
        const BUREAU_DATA &bureau = catalog.GetBureauTable()[1];
        QCOMPARE(bureau.strBureauName, QStringLiteral("東北"));
        QCOMPARE(bureau.nPrefCnt, 2);
        VerifyPref(bureau, 0, QStringLiteral("青森県"));
        VerifyPref(bureau, 1, QStringLiteral("宮城県"));
    }

    // A region table that is a FIFO, a device, a folder or too large reads as a missing one, at
    // once; a link to a regular table is followed.
    void tableThatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"fifo", "link to /dev/zero", "folder", "too large"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void tableThatIsNotARegularFile()
    {
        QFETCH(QString, kind);
        const QString path = RegionTable();
        TestFiles::MakeNotRegular(kind, path, 1024 * 1024 + 1);

        QString firstName = QStringLiteral("<not read>");
        int regions = 0;
        QVERIFY(TestFiles::FinishesWithin(5000, path, [&] {
            const CCatalogData catalog(RegionTable());
            regions = catalog.GetBureauTable().GetSize();
            firstName = catalog.GetBureauTable()[0].strBureauName;
        }));
        QCOMPARE(regions, 8);
        QCOMPARE(firstName, QString());

        // The same table behind a link reads as itself.
        QFile::remove(m_strFolder + QStringLiteral("real.pfd"));
        TestFiles::Write(m_strFolder + QStringLiteral("real.pfd"), "[Bureau01]\nBureauName=北海道\n");
        QDir(path).removeRecursively();
        QFile::remove(path);
        QVERIFY(QFile::link(m_strFolder + QStringLiteral("real.pfd"), path));
        QCOMPARE(CCatalogData(RegionTable()).GetBureauTable()[0].strBureauName, QStringLiteral("北海道"));
    }

    void dataFolderTakesOnlyExistingFolders()
    {
        CCatalogData catalog(RegionTable());
        TestFiles::Write(m_strFolder + QStringLiteral("file.txt"), "x");
        QVERIFY(!catalog.SetDataFolder(m_strFolder + QStringLiteral("missing/")));
        QVERIFY(!catalog.SetDataFolder(m_strFolder + QStringLiteral("file.txt")));
        QVERIFY(!catalog.SetDataFolder(QString()));
        QVERIFY(catalog.GetDataFolder().isEmpty());
        QCOMPARE(catalog.GetGrainFilePath(3, 2), QStringLiteral("03/0302.vdx"));  // relative while empty

        QVERIFY(catalog.SetDataFolder(m_strFolder));
        QCOMPARE(catalog.GetDataFolder(), m_strFolder);
        QCOMPARE(catalog.GetGrainFilePath(1, 1), m_strFolder + QStringLiteral("01/0101.vdx"));
        QVERIFY(!catalog.SetDataFolder(m_strFolder + QStringLiteral("missing/")));
        QCOMPARE(catalog.GetDataFolder(), m_strFolder);  // unchanged by a refused folder

        // Used exactly as given: no separator is added.
        QVERIFY(catalog.SetDataFolder(m_pDir->path()));
        QCOMPARE(catalog.GetGrainFilePath(8, 12), m_pDir->path() + QStringLiteral("08/0812.vdx"));
    }
};

QTEST_GUILESS_MAIN(TestRegionTable)
#include "test_region_table.moc"
