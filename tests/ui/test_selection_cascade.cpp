// The selection cascade without a window, and without a GUI application: a recording view stands
// in for the main window.

#include "support/CTestExeFolder.h"

#include "browser/CCascadeView.h"
#include "browser/CSelectionCascade.h"
#include "data/CCatalogData.h"

#include <QFile>
#include <QtTest>

namespace {

QStringList Names(std::initializer_list<const char *> texts)
{
    QStringList names;
    for (const char *text : texts)
        names << QString::fromUtf8(text);
    return names;
}

class CRecordingView : public CCascadeView
{
public:
    QStringList bureaus, classes, prefs, grains;
    int bureauSel = -2, prefSel = -2, classSel = -2, grainSel = -2;
    bool holderAttached = false;
    int clears = 0, featureTabs = 0, shows = 0;
    int grainDuringShow = -2;
    const CSelectionCascade *cascade = nullptr;

    void SetBureauItems(const QStringList &names) override { bureaus = names; }
    void SetClassItems(const QStringList &names) override { classes = names; }
    void SetPrefItems(const QStringList &names) override
    {
        prefs = names;
        prefSel = -1;
    }
    void SetGrainItems(const QStringList &names) override
    {
        grains = names;
        grainSel = -1;
    }
    void SelectBureauItem(int p) override { bureauSel = p; }
    void SelectPrefItem(int p) override { prefSel = p < prefs.size() ? p : -1; }
    void SelectClassItem(int p) override { classSel = p; }
    void SelectGrainItem(int p) override { grainSel = p; }
    void AttachPictureHolder() override { holderAttached = true; }
    void ClearGrainDisplay() override { ++clears; }
    void ShowFeatureTab() override { ++featureTabs; }
    void ShowGrain() override
    {
        ++shows;
        grainDuringShow = cascade->GetCurGrain();
    }
};

}  // namespace

class TestSelectionCascade : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startStandsAtFirstRegionAndClassification();
    void choosingTheCurrentItemAgainChangesNothing();
    void classificationFiltersTheListInMemory();
    void newPrefectureGoesBackToFirstClassification();
    void prefectureWithoutBrandsOfAClassification();
    void brandLineIsMatchedByClassificationAndName();
    void everyBrandChoiceShowsAgain();
    void regionWithoutPrefectures();
    void missingVarietyFileGivesEmptyBrandList();
    void regionChoiceResetsEverythingBelow();
    void prefectureCountAboveNineListsNine();

private:
    void StartCascade();
    int GrainLine(const QString &name, int occurrence = 0) const;

    CTestExeFolder *m_folder = nullptr;
    CCatalogData *m_catalog = nullptr;
    CRecordingView *m_view = nullptr;
    CSelectionCascade *m_cascade = nullptr;
};

void TestSelectionCascade::init()
{
    m_folder = new CTestExeFolder;
    QVERIFY(m_folder->IsValid());
    QVERIFY(m_folder->WriteStandardCatalogue());
}

void TestSelectionCascade::cleanup()
{
    delete m_cascade;
    delete m_view;
    delete m_catalog;
    delete m_folder;
    m_cascade = nullptr;
    m_view = nullptr;
    m_catalog = nullptr;
    m_folder = nullptr;
}

void TestSelectionCascade::StartCascade()
{
    m_catalog = new CCatalogData(m_folder->RegionTablePath());
    QVERIFY(m_catalog->SetDataFolder(m_folder->Path() + QStringLiteral("Data/")));
    m_view = new CRecordingView;
    m_cascade = new CSelectionCascade(*m_catalog, *m_view);
    m_view->cascade = m_cascade;
    m_cascade->Start();
}

int TestSelectionCascade::GrainLine(const QString &name, int occurrence) const
{
    int seen = 0;
    for (int i = 0; i < m_view->grains.size(); ++i) {
        if (m_view->grains[i] == name && seen++ == occurrence)
            return i;
    }
    return -1;
}

void TestSelectionCascade::startStandsAtFirstRegionAndClassification()
{
    StartCascade();
    QCOMPARE(m_view->bureaus.size(), 8);
    QCOMPARE(m_view->bureaus.mid(0, 3), Names({"北海道", "東北", "関東"}));
    QCOMPARE(m_view->classes, Names({"水稲うるち米", "水稲もち米", "醸造用玄米"}));
    QCOMPARE(m_view->bureauSel, 0);
    QCOMPARE(m_view->prefs, Names({"石狩", "空知"}));
    QCOMPARE(m_view->prefSel, 0);
    QCOMPARE(m_view->classSel, 0);
    // File order, first classification only, none selected.
    QCOMPARE(m_view->grains, Names({"きらら397", "ゆめぴりか", "ゆめぴりか"}));
    QCOMPARE(m_view->grainSel, -1);
    QCOMPARE(m_cascade->GetCurGrain(), -1);
    QCOMPARE(m_cascade->GetGrainInfo().GetSize(), 7);
    QVERIFY(m_view->holderAttached);
    QCOMPARE(m_view->featureTabs, 1);
    QCOMPARE(m_view->shows, 0);
}

void TestSelectionCascade::choosingTheCurrentItemAgainChangesNothing()
{
    StartCascade();
    const int clears = m_view->clears;
    QFile::remove(m_folder->Path() + CTestExeFolder::VarietyFile(1, 1));  // a reload would empty the list
    m_cascade->OnSelchangeBureau(0);
    m_cascade->OnSelchangePref(0);
    m_cascade->OnSelchangeClass(0);
    m_cascade->OnSelchangeBureau(-1);
    m_cascade->OnSelchangePref(-1);
    m_cascade->OnSelchangeClass(-1);
    m_cascade->OnSelchangeGrain(-1, QString());
    QCOMPARE(m_view->clears, clears);
    QCOMPARE(m_view->grains.size(), 3);
    QCOMPARE(m_view->featureTabs, 1);
    QCOMPARE(m_view->shows, 0);
}

void TestSelectionCascade::classificationFiltersTheListInMemory()
{
    StartCascade();
    m_cascade->OnSelchangeGrain(0, QStringLiteral("きらら397"));
    const int clears = m_view->clears;
    QFile::remove(m_folder->Path() + CTestExeFolder::VarietyFile(1, 1));
    m_cascade->OnSelchangeClass(2);
    QCOMPARE(m_view->clears, clears + 1);
    QCOMPARE(m_view->grains, Names({"吟風", "彗星"}));
    QCOMPARE(m_view->grainSel, -1);
    QCOMPARE(m_cascade->GetCurGrain(), -1);
    QCOMPARE(m_cascade->GetCurClass(), 2);
}

void TestSelectionCascade::newPrefectureGoesBackToFirstClassification()
{
    StartCascade();
    m_cascade->OnSelchangeClass(2);
    m_cascade->OnSelchangePref(1);
    QCOMPARE(m_view->classSel, 0);
    QCOMPARE(m_cascade->GetCurClass(), 0);
    QCOMPARE(m_view->prefSel, 1);
    QCOMPARE(m_view->grains, Names({"ななつぼし"}));
    QCOMPARE(m_cascade->GetGrainInfo().GetSize(), 2);
}

void TestSelectionCascade::prefectureWithoutBrandsOfAClassification()
{
    StartCascade();
    m_cascade->OnSelchangePref(1);
    m_cascade->OnSelchangeClass(2);
    QVERIFY(m_view->grains.isEmpty());
    m_cascade->OnSelchangeClass(1);
    QCOMPARE(m_view->grains, Names({"はくちょうもち"}));
}

void TestSelectionCascade::brandLineIsMatchedByClassificationAndName()
{
    StartCascade();
    // Either "ゆめぴりか" line of the first classification shows the first in the file (index 2),
    // never the one of the second classification (index 6).
    m_cascade->OnSelchangeGrain(GrainLine(QStringLiteral("ゆめぴりか"), 1), QStringLiteral("ゆめぴりか"));
    QCOMPARE(m_view->grainDuringShow, 2);
    m_cascade->OnSelchangeClass(1);
    m_cascade->OnSelchangeGrain(GrainLine(QStringLiteral("ゆめぴりか")), QStringLiteral("ゆめぴりか"));
    QCOMPARE(m_cascade->GetCurGrain(), 6);
    // A name the classification does not hold matches nothing.
    m_cascade->OnSelchangeGrain(0, QStringLiteral("きらら397"));
    QCOMPARE(m_cascade->GetCurGrain(), -1);
    QCOMPARE(m_view->shows, 3);
}

void TestSelectionCascade::everyBrandChoiceShowsAgain()
{
    StartCascade();
    m_cascade->OnSelchangeGrain(0, QStringLiteral("きらら397"));
    m_cascade->OnSelchangeGrain(0, QStringLiteral("きらら397"));
    QCOMPARE(m_view->shows, 2);
    QCOMPARE(m_cascade->GetCurGrain(), 0);
}

void TestSelectionCascade::regionWithoutPrefectures()
{
    StartCascade();
    m_cascade->OnSelchangeBureau(1);
    QVERIFY(m_view->prefs.isEmpty());
    QVERIFY(m_view->grains.isEmpty());
    QCOMPARE(m_cascade->GetCurPref(), 0);
    QCOMPARE(m_cascade->GetGrainInfo().GetSize(), 0);
    QCOMPARE(m_cascade->GetCurBureauData().strBureauName, QStringLiteral("東北"));
    // The classifications still filter an empty list, and the first region comes back whole.
    m_cascade->OnSelchangeClass(2);
    QVERIFY(m_view->grains.isEmpty());
    m_cascade->OnSelchangeBureau(0);
    QCOMPARE(m_view->grains.size(), 3);
}

void TestSelectionCascade::missingVarietyFileGivesEmptyBrandList()
{
    StartCascade();
    m_cascade->OnSelchangeBureau(2);
    QCOMPARE(m_view->prefs, Names({"茨城県"}));
    QCOMPARE(m_view->prefSel, 0);
    QVERIFY(m_view->grains.isEmpty());
    QCOMPARE(m_cascade->GetCurGrain(), -1);
}

void TestSelectionCascade::regionChoiceResetsEverythingBelow()
{
    StartCascade();
    m_cascade->OnSelchangePref(1);
    m_cascade->OnSelchangeClass(1);
    m_cascade->OnSelchangeGrain(0, QStringLiteral("はくちょうもち"));
    const int clears = m_view->clears;
    m_cascade->OnSelchangeBureau(2);
    QCOMPARE(m_view->bureauSel, 2);
    QCOMPARE(m_cascade->GetCurBureau(), 2);
    QCOMPARE(m_cascade->GetCurPref(), 0);
    QCOMPARE(m_cascade->GetCurClass(), 0);
    QCOMPARE(m_cascade->GetCurGrain(), -1);
    QCOMPARE(m_view->classSel, 0);
    QCOMPARE(m_view->featureTabs, 2);
    QVERIFY(m_view->clears > clears);
    // Back to the first region: its first prefecture's file again.
    m_cascade->OnSelchangeBureau(0);
    QCOMPARE(m_view->prefSel, 0);
    QCOMPARE(m_view->grains.first(), QStringLiteral("きらら397"));
}

void TestSelectionCascade::prefectureCountAboveNineListsNine()
{
    QStringList names;
    for (int i = 1; i <= 12; ++i)
        names << QStringLiteral("県%1").arg(i);
    QVERIFY(m_folder->WriteRegionTable({{QStringLiteral("広域"), 12, names}}));
    StartCascade();
    QCOMPARE(m_view->prefs.size(), 9);
    QCOMPARE(m_view->prefs.last(), QStringLiteral("県9"));
    m_cascade->OnSelchangePref(8);
    QCOMPARE(m_cascade->GetCurPref(), 8);
}

QTEST_GUILESS_MAIN(TestSelectionCascade)
#include "test_selection_cascade.moc"
