// kelmora-datacheck --find prints the rows the search window shows, --profile a variety's profile,
// and the checker notes Grains without a reading as information, not as problems.

#include "support/SearchCatalogue.h"

#include "data/CBrandIndex.h"
#include "data/CBrandProfile.h"
#include "data/CCatalogData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

namespace {

struct Run {
    int nExit = -1;
    QString output;
};

Run RunTool(const QStringList &arguments)
{
    QProcess process;
    process.start(qEnvironmentVariable("KELMORA_EXE_DIR") + QStringLiteral("/kelmora-datacheck"), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.nExit = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    return run;
}

}  // namespace

class TestFindTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void printsTheWindowsRows_data();
    void printsTheWindowsRows();
    void usageErrors_data();
    void usageErrors();
    void printsTheProfile_data();
    void printsTheProfile();
    void grainsWithoutReadingAreNotes();

private:
    CTestExeFolder *m_folder = nullptr;
};

void TestFindTool::init()
{
    m_folder = new CTestExeFolder;
    QVERIFY(m_folder->IsValid());
    QVERIFY(SearchCatalogue::Write(*m_folder));
}

void TestFindTool::cleanup()
{
    delete m_folder;
    m_folder = nullptr;
}

void TestFindTool::printsTheWindowsRows_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("exit");
    QTest::newRow("several rows") << QStringLiteral("ゆめぴりか") << 0;
    QTest::newRow("half-width") << QStringLiteral("ｺｼﾋｶﾘ") << 0;
    QTest::newRow("reading") << QStringLiteral("やまだ") << 0;
    QTest::newRow("romaji") << QStringLiteral("yumepirika") << 0;
    QTest::newRow("nothing") << QStringLiteral("ささにしき") << 1;
    QTest::newRow("empty") << QString() << 1;
}

void TestFindTool::printsTheWindowsRows()
{
    QFETCH(QString, query);
    QFETCH(int, exit);
    CCatalogData catalog(m_folder->RegionTablePath());
    QVERIFY(catalog.SetDataFolder(m_folder->Path() + QStringLiteral("Data/")));
    CBrandIndex index;
    index.Build(catalog);
    QString expected;
    for (const int row : index.Find(query)) {
        const CBrandIndex::Entry &e = index.GetAt(row);
        expected += QStringList{e.strName, e.strPrefName, GrainClassText(e.nClass), RequiredText(e.bRequired)}.join(
                        QLatin1Char('\t'))
            + QLatin1Char('\n');
    }

    const Run run = RunTool({QStringLiteral("--root"), m_folder->Path(), QStringLiteral("--find"), query});
    QCOMPARE(run.nExit, exit);
    QCOMPARE(run.output, expected);
}

void TestFindTool::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no text") << QStringList{QStringLiteral("--find")};
    QTest::newRow("with --json") << QStringList{QStringLiteral("--json"), QStringLiteral("--find"),
                                                QStringLiteral("吟風")};
    QTest::newRow("no name") << QStringList{QStringLiteral("--profile")};
    QTest::newRow("profile with --find") << QStringList{QStringLiteral("--profile"), QStringLiteral("吟風"),
                                                        QStringLiteral("--find"), QStringLiteral("吟風")};
}

void TestFindTool::usageErrors()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(RunTool(QStringList{QStringLiteral("--root"), m_folder->Path()} + arguments).nExit, 2);
}

void TestFindTool::printsTheProfile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("exit");
    QTest::newRow("listed") << QStringLiteral("吟風") << 0;
    QTest::newRow("not listed") << QStringLiteral("ささにしき") << 1;
}

void TestFindTool::printsTheProfile()
{
    QFETCH(QString, name);
    QFETCH(int, exit);
    CCatalogData catalog(m_folder->RegionTablePath());
    QVERIFY(catalog.SetDataFolder(m_folder->Path() + QStringLiteral("Data/")));
    CBrandIndex index;
    index.Build(catalog);
    BRAND_PROFILE profile;
    const QString expected = index.GetProfile(name, profile) ? CBrandProfile::Format(profile) : QString();

    const Run run = RunTool({QStringLiteral("--root"), m_folder->Path(), QStringLiteral("--profile"), name});
    QCOMPARE(run.nExit, exit);
    QCOMPARE(run.output, expected);
}

void TestFindTool::grainsWithoutReadingAreNotes()
{
    const Run run = RunTool({QStringLiteral("--root"), m_folder->Path(), QStringLiteral("--json")});
    const QJsonObject root = QJsonDocument::fromJson(run.output.toUtf8()).object();
    QStringList notes;
    for (const QJsonValue &note : root.value(QStringLiteral("notes")).toArray())
        notes << note.toObject().value(QStringLiteral("message")).toString();
    // 石狩: the second ゆめぴりか (4) and コシヒカリつくば (7) lack one, as does the 選択 ゆめぴりか (2);
    // 空知: ななつぼし and ゆめぴりかもち; 茨城県: コシヒカリ.
    QCOMPARE(notes,
             QStringList(
                 {QStringLiteral("3 \"Grain\" without \"Reading\" (Index 2, 4, 7); 銘柄検索 finds them by name only"),
                  QStringLiteral("2 \"Grain\" without \"Reading\" (Index 0..1); 銘柄検索 finds them by name only"),
                  QStringLiteral("1 \"Grain\" without \"Reading\" (Index 0); 銘柄検索 finds them by name only")}));
    for (const QJsonValue &problem : root.value(QStringLiteral("problems")).toArray())
        QVERIFY2(!problem.toObject().value(QStringLiteral("message")).toString().contains(QStringLiteral("Reading")),
                 "a missing reading is no problem");
}

QTEST_GUILESS_MAIN(TestFindTool)
#include "test_find_tool.moc"
