// Photograph figures: decoding a brand's four pictures against Qt's bare PNG decoding, redrawing
// the main photograph while zooming, and the peak memory after showing the three brands.
// Prints figures only; the targets are read from them.

#include "bench/ProcessStatus.h"
#include "controls/CPhotoFrame.h"
#include "viewer/CPictureImage.h"
#include "viewer/CZoomView.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Frame sizes in the running window: the main photo frame, the two detail frames of the
// characteristics page and the pedigree page's frame.
const QSize kFrameSizes[CPictureImage::kSlotCount] = {{560, 560}, {150, 163}, {150, 163}, {544, 336}};

// Mean wall time of some benchmarks, for the summary printed at the end.
std::map<std::string, double> g_meanMs;

void Record(const std::string &name, Clock::duration total, benchmark::IterationCount iterations)
{
    g_meanMs[name] = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(iterations);
}

QStringList BrandNames(const char *key)
{
    QStringList names;
    for (int n = 1; n <= CPictureImage::kSlotCount; ++n)
        names << QStringLiteral("%1%2").arg(QLatin1String(key)).arg(n);
    return names;
}

const QString kPictures = QString::fromLatin1(CPictureImage::kProgramPictures);

QByteArray ResourceBytes(const QString &name)
{
    QFile file(kPictures + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A window with the four photo frames, shown on the (offscreen) screen.
struct Frames {
    QWidget window;
    CPhotoFrame *frames[CPictureImage::kSlotCount] = {};

    Frames()
    {
        window.resize(1300, 1300);
        int x = 0;
        for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot) {
            frames[slot] = new CPhotoFrame(&window);
            frames[slot]->setGeometry(QRect(QPoint(x, 0), kFrameSizes[slot]));
            x += kFrameSizes[slot].width();
        }
        window.show();
        QApplication::processEvents();
    }

    // Each frame shows its slot, painted at once.
    void Show(const CPictureImage &holder)
    {
        for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot) {
            frames[slot]->ShowPicture(holder.GetImage(slot));
            frames[slot]->repaint();
        }
    }
    // The frames let go of their pictures before the next ones are decoded.
    void Release()
    {
        for (CPhotoFrame *frame : frames)
            frame->ShowPicture(QImage());
    }
};

// Bare Qt decoding of one picture from the bytes compiled into the program.
void BM_BarePngDecode(benchmark::State &state, const QString &name)
{
    const QByteArray bytes = ResourceBytes(name);
    const auto start = Clock::now();
    for (auto _ : state) {
        QImage image;
        benchmark::DoNotOptimize(image.loadFromData(bytes, "PNG"));
    }
    Record("bare " + name.toStdString(), Clock::now() - start, state.iterations());
}

// The holder's load of one picture: decoding and conversion checks.
void BM_HolderLoad(benchmark::State &state, const QString &name)
{
    CPictureImage holder(kPictures);
    for (auto _ : state)
        benchmark::DoNotOptimize(holder.LoadPngResource(0, name, 0));
}

// Choosing きらら397: the four pictures decoded into their slots and the four frames drawn.
void BM_ChooseKirara(benchmark::State &state)
{
    Frames frames;
    CPictureImage holder(kPictures);
    const QStringList names = BrandNames("101");
    const auto start = Clock::now();
    for (auto _ : state) {
        frames.Release();
        const std::vector<bool> loaded = holder.LoadPngResources(0, names);
        frames.Show(holder);
        benchmark::DoNotOptimize(loaded);
    }
    Record("choose", Clock::now() - start, state.iterations());
}

// One redraw of the main photograph of きらら397 into a square frame of `side` pixels, zoomed one
// step in (or whole), as the zoom and pan handlers draw it: into an image, and through a frame
// on the screen.
void BM_Redraw(benchmark::State &state, int side, bool zoomed, bool throughFrame)
{
    CPictureImage holder(kPictures);
    if (!holder.LoadPngResource(0, QStringLiteral("1011"), 0)) {
        state.SkipWithError("no photograph 1011");
        return;
    }
    CZoomView view;
    view.InitControls(QRect(0, 0, side, side));
    int width = 0;
    holder.GetMainImageWidth(&width);
    view.FitNewPhoto(true, width);
    if (zoomed)
        view.ZoomIn();
    const QImage &picture = holder.GetImage(0);
    const QRect source = CPictureImage::SourceFromBottom(picture.size(), view.GetSourceRect());

    std::unique_ptr<QWidget> window;
    CPhotoFrame *frame = nullptr;
    if (throughFrame) {
        window = std::make_unique<QWidget>();
        window->resize(side + 20, side + 20);
        frame = new CPhotoFrame(window.get());
        frame->setGeometry(0, 0, side, side);
        frame->ShowPicture(picture);
        frame->ShowSource(source);
        window->show();
        QApplication::processEvents();
    }
    QImage target(side, side, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (throughFrame) {
            frame->repaint();
        } else {
            QPainter painter(&target);
            CPictureImage::Draw(painter, target.rect(), picture, source);
        }
    }
    state.counters["source"] = source.width();
}

// Peak resident memory after choosing the three brands in turn, as the window does: each choice
// decodes the brand's four pictures into the slots and draws them.
void BM_PeakMemoryThreeBrands(benchmark::State &state)
{
    // Forget the peak of whatever ran before (the kernel resets it on "5").
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
    }
    const long before = ReadStatusKb("VmRSS");
    for (auto _ : state) {
        Frames frames;
        CPictureImage holder(kPictures);
        for (const char *key : {"101", "151", "171"}) {
            frames.Release();
            holder.LoadPngResources(0, BrandNames(key));
            frames.Show(holder);
        }
        state.counters["peak_MB"] = static_cast<double>(ReadStatusKb("VmHWM")) / 1024.0;
    }
    state.counters["start_MB"] = static_cast<double>(before) / 1024.0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // Memory first, while the process is fresh.
    benchmark::RegisterBenchmark("PeakMemory/three_brands_in_turn", BM_PeakMemoryThreeBrands)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (const QString &name : BrandNames("101")) {
        benchmark::RegisterBenchmark(("BarePngDecode/" + name.toStdString()).c_str(), BM_BarePngDecode, name)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("HolderLoad/" + name.toStdString()).c_str(), BM_HolderLoad, name)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("ChooseKirara397/decode_and_draw_four", BM_ChooseKirara)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0)
        ->UseRealTime();
    for (int side : {560, 1500}) {
        const std::string s = std::to_string(side);
        benchmark::RegisterBenchmark(("Redraw/zoomed/" + s).c_str(), BM_Redraw, side, true, false)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Redraw/zoomed_frame_repaint/" + s).c_str(), BM_Redraw, side, true, true)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Redraw/whole/" + s).c_str(), BM_Redraw, side, false, false)
            ->Unit(benchmark::kMicrosecond);
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    double bareSum = 0;
    bool complete = g_meanMs.count("choose") != 0;
    for (const QString &name : BrandNames("101")) {
        const auto it = g_meanMs.find("bare " + name.toStdString());
        complete = complete && it != g_meanMs.end();
        if (it != g_meanMs.end())
            bareSum += it->second;
    }
    if (complete) {
        std::printf(
            "\nchoose きらら397: %.1f ms = %.2f × the sum of the bare PNG decodes of its four pictures (%.1f ms)\n",
            g_meanMs["choose"], g_meanMs["choose"] / bareSum, bareSum);
    }
    return 0;
}
