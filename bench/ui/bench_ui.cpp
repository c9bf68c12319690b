// The main window's figures, in the real window offscreen: the time from choosing "きらら397" in
// the brand list to its four frames drawn, one zoom click redrawn, and the peak memory after
// showing the three built-in brands in turn. Prints figures only.

#include "bench/ProcessStatus.h"
#include "support/CTestExeFolder.h"

#include "app/CKelmoraDlg.h"
#include "controls/CRvListBox.h"
#include "viewer/CPictureImage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::map<std::string, double> g_meanMs;

void Record(const std::string &name, Clock::duration total, benchmark::IterationCount iterations)
{
    g_meanMs[name] = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(iterations);
}

// The window as the program shows it, over a catalogue whose first prefecture lists the three
// built-in brands (きらら397 first among the paddy non-glutinous brands).
struct Window {
    CTestExeFolder folder;
    std::unique_ptr<CKelmoraDlg> dlg;

    bool Open()
    {
        if (!folder.IsValid() || !folder.WriteStandardCatalogue())
            return false;
        dlg = std::make_unique<CKelmoraDlg>(folder.Program());
        dlg->show();
        QApplication::processEvents();
        return dlg->IsInitialized();
    }

    // The user's choice of a line in a list, through the list's own notification.
    void Choose(int id, int row)
    {
        auto *list = dlg->GetDlgItemAs<CRvListBox>(id);
        list->SetCurSel(row);
        Q_EMIT list->SelChange();
    }

    void ShowBrand(int classRow)
    {
        Choose(CKelmoraDlg::IDC_LIST_CLASS, classRow);
        Choose(CKelmoraDlg::IDC_LIST_GRAIN, 0);
    }
};

void BM_BarePngDecode(benchmark::State &state, const QString &name)
{
    QFile file(QString::fromLatin1(CPictureImage::kProgramPictures) + name);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const auto start = Clock::now();
    for (auto _ : state) {
        QImage image;
        benchmark::DoNotOptimize(image.loadFromData(bytes, "PNG"));
    }
    Record("bare " + name.toStdString(), Clock::now() - start, state.iterations());
}

// From the brand choice to the frames drawn: the selection handler returns once the four pictures
// are decoded, and the shown frames paint as soon as the event loop runs (the hidden "来歴"
// page's frame is painted when its tab is chosen).
void BM_ChooseKirara(benchmark::State &state)
{
    Window window;
    if (!window.Open()) {
        state.SkipWithError("no window");
        return;
    }
    const auto start = Clock::now();
    for (auto _ : state) {
        window.Choose(CKelmoraDlg::IDC_LIST_GRAIN, 0);
        QApplication::processEvents();
    }
    Record("choose", Clock::now() - start, state.iterations());
    if (!window.dlg->GetPictureImage().HasImage(0))
        state.SkipWithError("きらら397 has no photograph");
}

// One click on 拡大 and one on 縮小, each followed by the main photograph's repaint.
void BM_ZoomClicks(benchmark::State &state)
{
    Window window;
    if (!window.Open()) {
        state.SkipWithError("no window");
        return;
    }
    window.Choose(CKelmoraDlg::IDC_LIST_GRAIN, 0);
    auto *zoomIn = window.dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_IN);
    auto *zoomOut = window.dlg->GetDlgItemAs<QAbstractButton>(CKelmoraDlg::IDC_ZOOM_OUT);
    for (auto _ : state) {
        zoomIn->click();
        QApplication::processEvents();
        zoomOut->click();
        QApplication::processEvents();
    }
    state.counters["frame_px"] = window.dlg->GetPhotoFrameRect().width();
}

// A wheel notch in and one out at a point off the centre, a double-click to 100 % and one back to
// the whole photograph, and a pan by an arrow key at 100 %, each followed by the repaint.
void BM_PointerZoomAndKeyPan(benchmark::State &state)
{
    Window window;
    if (!window.Open()) {
        state.SkipWithError("no window");
        return;
    }
    window.Choose(CKelmoraDlg::IDC_LIST_GRAIN, 0);
    QWidget *frame = window.dlg->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME);
    const QPointF at(frame->width() / 3.0, frame->height() / 4.0);
    // The window takes the wheel that the frame passes on.
    const QPointF atWindow = frame->mapTo(window.dlg.get(), at);
    auto wheel = [&](int delta) {
        QWheelEvent event(atWindow, frame->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.dlg.get(), &event);
        QApplication::processEvents();
    };
    auto doubleClick = [&] {
        QMouseEvent event(QEvent::MouseButtonDblClick, at, frame->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(frame, &event);
        QApplication::processEvents();
    };
    auto key = [&](int code) {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(frame, &event);
        QApplication::processEvents();
    };
    const auto start = Clock::now();
    for (auto _ : state) {
        wheel(120);
        wheel(-120);
        doubleClick();
        key(Qt::Key_Right);
        key(Qt::Key_Left);
        doubleClick();
    }
    // Six redraws an iteration.
    Record("pointer", (Clock::now() - start) / 6, state.iterations());
    state.counters["frame_px"] = window.dlg->GetPhotoFrameRect().width();
}

void BM_PeakMemoryThreeBrands(benchmark::State &state)
{
    // Forget the peak of whatever ran before (the kernel resets it on "5").
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
    }
    for (auto _ : state) {
        Window window;
        if (!window.Open()) {
            state.SkipWithError("no window");
            return;
        }
        for (int classRow : {0, 1, 2})
            window.ShowBrand(classRow);
        state.counters["peak_MB"] = static_cast<double>(ReadStatusKb("VmHWM")) / 1024.0;
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // Memory first, while the process is fresh.
    benchmark::RegisterBenchmark("PeakMemory/window_three_brands_in_turn", BM_PeakMemoryThreeBrands)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    const QStringList names = {QStringLiteral("1011"), QStringLiteral("1012"), QStringLiteral("1013"),
                               QStringLiteral("1014")};
    for (const QString &name : names) {
        benchmark::RegisterBenchmark(("BarePngDecode/" + name.toStdString()).c_str(), BM_BarePngDecode, name)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("Window/choose_kirara397", BM_ChooseKirara)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Window/zoom_in_and_out_clicks", BM_ZoomClicks)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Window/wheel_doubleclick_and_key_pan", BM_PointerZoomAndKeyPan)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    double bareSum = 0;
    bool complete = g_meanMs.count("choose") != 0;
    for (const QString &name : names) {
        const auto it = g_meanMs.find("bare " + name.toStdString());
        complete = complete && it != g_meanMs.end();
        if (it != g_meanMs.end())
            bareSum += it->second;
    }
    if (complete) {
        std::printf("\nwindow, choose きらら397: %.1f ms = %.2f × the sum of the bare PNG decodes of its four pictures "
                    "(%.1f ms)\n",
                    g_meanMs["choose"], g_meanMs["choose"] / bareSum, bareSum);
    }
    if (g_meanMs.count("pointer") != 0)
        std::printf("window, one redraw by a wheel notch, a double-click or an arrow key: %.3f ms\n",
                    g_meanMs["pointer"]);
    return 0;
}
