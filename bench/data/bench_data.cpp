// LoadGrainInfo on generated variety files of 50, 1,000 and 10,000 varieties with Japanese texts,
// beside the bare pugixml parse of the same files. Targets, read from the figures: 10,000 varieties
// load in under 12 times the 1,000 figure, and each load takes under 2 times its bare parse.

#include "data/CCatalogData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const int kSizes[] = {50, 1000, 10000};

QTemporaryDir &DataFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// Prefecture p of region 1 holds the file of the p-th size.
int PrefectureFor(int varieties)
{
    return varieties == 50 ? 1 : varieties == 1000 ? 2 : 3;
}

QString VarietyPath(int varieties)
{
    return DataFolder().path() + QStringLiteral("/01/01%1.vdx").arg(PrefectureFor(varieties), 2, 10, QLatin1Char('0'));
}

// A variety file laid out like the catalogue's: indented, one element per line, Japanese texts.
QByteArray MakeVarietyFile(int varieties)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot>\n  <Header>\n"
                                  "    <DataCount>%1</DataCount>\n  </Header>\n")
                       .arg(varieties);
    for (int i = 0; i < varieties; ++i) {
        text += QStringLiteral("  <Grain Index=\"%1\">\n    <ID>%2</ID>\n    <Name>試験銘柄%1号</Name>\n"
                               "    <Class>%3</Class>\n    <Requierd>%4</Requierd>\n"
                               "    <History>しまひかり×キタアケ（系統%1）</History>\n"
                               "    <BreedingYear>平成%5年</BreedingYear>\n"
                               "    <BreedingPlace>北海道立上川農業試験場</BreedingPlace>\n"
                               "    <GrainShape>やや細長</GrainShape>\n    <Color>良</Color>\n"
                               "    <Skin>やや薄</Skin>\n    <Groove>浅</Groove>\n"
                               "    <Embryo>中・卵形</Embryo>\n    <ThousandWeight>22.%6</ThousandWeight>\n"
                               "    <WhitePart>心白、腹白ともに少ない</WhitePart>\n"
                               "    <Other>耐冷性が強く、食味は良好である。</Other>\n  </Grain>\n")
                    .arg(QString::number(i), QString::number(i + 1), QString::number(i % 3),
                         i % 4 == 0 ? QStringLiteral("FALSE") : QStringLiteral("TRUE"), QString::number(1 + i % 30),
                         QString::number(i % 10));
    }
    text += QStringLiteral("</GRoot>\n");
    return text.toUtf8();
}

void WriteFiles()
{
    for (int varieties : kSizes) {
        const QString path = VarietyPath(varieties);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(MakeVarietyFile(varieties)) < 0)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

void BM_LoadGrainInfo(benchmark::State &state)
{
    const int varieties = static_cast<int>(state.range(0));
    CCatalogData catalog;
    catalog.SetDataFolder(DataFolder().path() + QLatin1Char('/'));
    CGrainInfoArray list;
    for (auto _ : state) {
        catalog.LoadGrainInfo(1, PrefectureFor(varieties), list);
        benchmark::DoNotOptimize(list.GetSize());
    }
    if (list.GetSize() != varieties)
        state.SkipWithError("wrong number of varieties");
    state.SetItemsProcessed(state.iterations() * varieties);
}

void BM_BareParse(benchmark::State &state)
{
    const int varieties = static_cast<int>(state.range(0));
    const std::string path = QFile::encodeName(VarietyPath(varieties)).toStdString();
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result result = doc.load_file(path.c_str());
        benchmark::DoNotOptimize(result.status);
    }
    state.SetItemsProcessed(state.iterations() * varieties);
}

BENCHMARK(BM_LoadGrainInfo)->Arg(50)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareParse)->Arg(50)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Prints the figures as usual, then the two ratios the targets are about.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        auto time = [&](const char *name, int size) {
            const auto found = m_times.find(std::string(name) + "/" + std::to_string(size));
            return found == m_times.end() ? 0.0 : found->second;
        };
        std::printf("\nLoadGrainInfo 10000 / 1000 varieties: %.2fx (target: under 12x)\n",
                    time("BM_LoadGrainInfo", 1000) > 0 ? time("BM_LoadGrainInfo", 10000) / time("BM_LoadGrainInfo", 1000) : 0.0);
        for (int size : kSizes) {
            const double parse = time("BM_BareParse", size);
            std::printf("LoadGrainInfo / bare parse, %5d varieties: %.2fx (target: under 2x)\n", size,
                        parse > 0 ? time("BM_LoadGrainInfo", size) / parse : 0.0);
        }
    }

private:
    std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char **argv)
{
    if (!DataFolder().isValid())
        return 1;
    WriteFiles();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
