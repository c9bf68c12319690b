// 銘柄検索: building the brand index from the bundled catalogue and from 47 generated files with
// 10,000 varieties in all, one keystroke at 10,000 entries (kana and romaji), in the core (fold the
// query, match, order) and in the window (the same, plus the result table redrawn), and a variety's
// profile at 10,000 entries. Targets, read from the figures: bundled build well under 50 ms,
// 10,000-entry build under 100 ms, a keystroke and a profile under 5 ms.

#include "app/CBrandSearchDlg.h"
#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kSyntheticEntries = 10000;
// Prefectures per region as the national region table lists them: 47 in all.
constexpr int kPrefsPerRegion[8] = {1, 6, 7, 9, 7, 5, 4, 8};

QTemporaryDir &SyntheticFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// Names as brand names go: a few kana words, katakana or kanji, a number; the reading in hiragana.
void MakeBrand(int i, QString &name, QString &reading)
{
    static const QStringList heads = {QStringLiteral("ゆめ"),   QStringLiteral("つや"),   QStringLiteral("ひかり"),
                                      QStringLiteral("あきた"), QStringLiteral("こし"),   QStringLiteral("はな"),
                                      QStringLiteral("もりの"), QStringLiteral("ぎんが"), QStringLiteral("てんの"),
                                      QStringLiteral("みのり"), QStringLiteral("さくら"), QStringLiteral("ほし")};
    static const QStringList tails = {QStringLiteral("ぴりか"), QStringLiteral("ひめ"),   QStringLiteral("こまち"),
                                      QStringLiteral("にしき"), QStringLiteral("もち"),   QStringLiteral("まる"),
                                      QStringLiteral("かおり"), QStringLiteral("しずく"), QStringLiteral("みらい")};
    reading = heads.at(i % heads.size()) + tails.at((i / heads.size()) % tails.size()) + QString::number(i);
    switch (i % 3) {
    case 0:  // katakana
        name.clear();
        for (const QChar c : reading)
            name += c.unicode() >= 0x3041 && c.unicode() <= 0x3096 ? QChar(c.unicode() + 0x60) : c;
        break;
    case 1:
        name = reading;
        break;
    default:
        name = QStringLiteral("試験") + QString::number(i) + QStringLiteral("号");
        break;
    }
}

QString BrandName(int i)
{
    QString name;
    QString reading;
    MakeBrand(i, name, reading);
    return name;
}

// Pedigrees as the catalogue writes them, naming earlier varieties: crosses, a bracketed cross, a
// mutation, a parent that is not listed, none. Every fifth names the first variety, which thus
// has 2,000 descendants, as a much-used parent has.
QString MakePedigree(int i)
{
    if (i < 3)
        return QString();
    switch (i % 5) {
    case 0:
        return BrandName(0) + QStringLiteral("×") + BrandName(i - 1);
    case 1:
        return QStringLiteral("（%1×%2）×%3").arg(BrandName(i - 2), BrandName(i - 3), BrandName(i / 2));
    case 2:
        return BrandName(i - 1) + QStringLiteral("の突然変異");
    case 3:
        return BrandName(i - 1) + QStringLiteral("×未登録系統") + QString::number(i);
    default:
        return QString();
    }
}

bool WriteSyntheticCatalogue()
{
    const QString root = SyntheticFolder().path() + QLatin1Char('/');
    QString table;
    int prefCount = 0;
    for (int b = 0; b < 8; ++b)
        prefCount += kPrefsPerRegion[b];
    int next = 0;
    int prefIndex = 0;
    for (int b = 1; b <= 8; ++b) {
        const int prefs = kPrefsPerRegion[b - 1];
        table +=
            QStringLiteral("[Bureau%1]\nBureauName=地区%1\nPrefCnt=%2\n").arg(b, 2, 10, QLatin1Char('0')).arg(prefs);
        for (int p = 1; p <= prefs; ++p, ++prefIndex) {
            table += QStringLiteral("PrefName%1=県%2\n").arg(p, 2, 10, QLatin1Char('0')).arg(prefIndex);
            const int end = kSyntheticEntries * (prefIndex + 1) / prefCount;
            QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot>\n  <Header>\n"
                                         "    <DataCount>%1</DataCount>\n  </Header>\n")
                              .arg(end - next);
            for (int i = 0; next < end; ++i, ++next) {
                QString name;
                QString reading;
                MakeBrand(next, name, reading);
                const QString history = MakePedigree(next);
                xml += QStringLiteral(
                           "  <Grain Index=\"%1\">\n    <ID>%2</ID>\n    <Name>%3</Name>\n    <Reading>%4</Reading>\n"
                           "    <Class>%5</Class>\n    <Requierd>%6</Requierd>\n    <History>%7</History>\n"
                           "    <BreedingPlace>%8</BreedingPlace>\n    <BreedingYear>%9</BreedingYear>\n  </Grain>\n")
                           .arg(QString::number(i), QString::number(i + 1), name, reading, QString::number(next % 3),
                                next % 4 == 0 ? QStringLiteral("FALSE") : QStringLiteral("TRUE"), history,
                                history.isEmpty() ? QString() : QStringLiteral("試験場%1").arg(next % 50),
                                history.isEmpty() ? QString() : QStringLiteral("%1年").arg(1950 + next % 70));
            }
            xml += QStringLiteral("</GRoot>\n");
            const QString path = root
                + QStringLiteral("Data/%1/%1%2.vdx").arg(b, 2, 10, QLatin1Char('0')).arg(p, 2, 10, QLatin1Char('0'));
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(xml.toUtf8()) < 0)
                return false;
        }
    }
    QFile file(root + QStringLiteral("BureauPref.pfd"));
    return file.open(QIODevice::WriteOnly) && file.write(table.toUtf8()) >= 0;
}

// A catalogue as the program opens it from `folder` (its region table and "Data/").
std::unique_ptr<CCatalogData> OpenCatalogue(const QString &folder)
{
    auto catalog = std::make_unique<CCatalogData>(folder + QStringLiteral("BureauPref.pfd"));
    catalog->SetDataFolder(folder + QStringLiteral("Data/"));
    return catalog;
}

void BuildFrom(benchmark::State &state, const QString &folder)
{
    const std::unique_ptr<CCatalogData> catalog = OpenCatalogue(folder);
    CBrandIndex index;
    for (auto _ : state) {
        index.Build(*catalog);
        benchmark::DoNotOptimize(index.GetSize());
    }
    state.counters["entries"] = index.GetSize();
}

void BM_BuildBundled(benchmark::State &state)
{
    BuildFrom(state, QStringLiteral(KELMORA_CATALOG_DIR));
}

void BM_BuildSynthetic(benchmark::State &state)
{
    BuildFrom(state, SyntheticFolder().path() + QLatin1Char('/'));
}

const QStringList &Queries()
{
    // One kana (a third of the entries match), a prefix, half-width katakana, a reading, nothing;
    // then romaji: one letter (any of its kana, anywhere: the most work a query makes), a
    // syllable being typed, a reading, nothing.
    static const QStringList queries = {
        QStringLiteral("こ"),           QStringLiteral("ゆめぴ"),     QStringLiteral("ｺｼﾏﾙ"),
        QStringLiteral("やまだにしき"), QStringLiteral("存在しない"), QStringLiteral("k"),
        QStringLiteral("yumep"),        QStringLiteral("koshimaru"),  QStringLiteral("sonzaishinai")};
    return queries;
}
constexpr int kLastQuery = 8;

// The index of the synthetic catalogue, built once for the keystroke and profile figures.
const CBrandIndex &SyntheticIndex()
{
    static const std::unique_ptr<CCatalogData> catalog = OpenCatalogue(SyntheticFolder().path() + QLatin1Char('/'));
    static CBrandIndex index;
    if (!index.IsBuilt())
        index.Build(*catalog);
    return index;
}

void BM_Keystroke(benchmark::State &state)
{
    const CBrandIndex &index = SyntheticIndex();
    const QString query = Queries().at(static_cast<int>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = index.Find(query).size();
        benchmark::DoNotOptimize(rows);
    }
    state.SetLabel(query.toStdString());
    state.counters["rows"] = static_cast<double>(rows);
}

// A variety's profile as the checker prints it: the look-up and the text. The much-used parent
// (2,000 descendants), a variety with a bracketed cross, a name that is not listed.
void BM_Profile(benchmark::State &state)
{
    const CBrandIndex &index = SyntheticIndex();
    const QString names[] = {BrandName(0), BrandName(5001), QStringLiteral("存在しない")};
    const QString name = names[state.range(0)];
    qsizetype size = 0;
    for (auto _ : state) {
        BRAND_PROFILE profile;
        size = index.GetProfile(name, profile) ? CBrandProfile::Format(profile).size() : 0;
        benchmark::DoNotOptimize(size);
    }
    state.SetLabel(name.toStdString());
    state.counters["chars"] = static_cast<double>(size);
}

// The search window of the keystroke benchmark; made once, closed before the application ends.
CBrandSearchDlg *g_pSearchDlg = nullptr;

// The whole keystroke as the user sees it: the query's rows put into the table and the table
// redrawn at once.
void BM_KeystrokeInWindow(benchmark::State &state)
{
    static const std::unique_ptr<CCatalogData> catalog = OpenCatalogue(SyntheticFolder().path() + QLatin1Char('/'));
    if (g_pSearchDlg == nullptr) {
        g_pSearchDlg = new CBrandSearchDlg(*catalog, nullptr);
        g_pSearchDlg->Open();
        QApplication::processEvents();
    }
    auto *edit = g_pSearchDlg->GetDlgItemAs<QLineEdit>(CBrandSearchDlg::IDC_QUERY);
    auto *table = g_pSearchDlg->GetDlgItemAs<QTableView>(CBrandSearchDlg::IDC_RESULTS);
    // A trailing blank changes the text but not the query: every turn is one keystroke's work.
    const QString query = Queries().at(static_cast<int>(state.range(0)));
    const QString texts[] = {query, query + QLatin1Char(' ')};
    int turn = 0;
    for (auto _ : state) {
        edit->setText(texts[turn++ % 2]);
        table->viewport()->repaint();
    }
    state.SetLabel(query.toStdString());
    state.counters["rows"] = static_cast<double>(g_pSearchDlg->GetRows().size());
}

}  // namespace

BENCHMARK(BM_BuildBundled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildSynthetic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke)->DenseRange(0, kLastQuery)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeInWindow)->DenseRange(0, kLastQuery)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Profile)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!SyntheticFolder().isValid() || !WriteSyntheticCatalogue())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_pSearchDlg;
    return 0;
}
