// The main window's figures, in the real window offscreen: the time from choosing "きらら397" in
// the brand list to its four frames drawn, one zoom click redrawn, and the peak memory after
// showing the three built-in brands in turn. Then, side by side for the photographs decoded on the
// choice only and decoded ahead in the background: a click on each built-in brand after the
// window has been idle for 3 s, to its list highlight and to its main photograph on screen; the
// time from start to the main window on screen against a bare Qt dialog's, each in a process of
// its own; and the time from closing the window while the photographs are being decoded to the
// process gone. Prints figures only.

#include "bench/ProcessStatus.h"
#include "support/CTestExeFolder.h"

#include "app/CKelmoraApp.h"
#include "app/CKelmoraDlg.h"
#include "controls/CRvListBox.h"
#include "viewer/CPictureImage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

    // `bDecodeAhead` off: every choice decodes its photographs when it is made.
    bool Open(bool bDecodeAhead = false)
    {
        if (!folder.IsValid() || !folder.WriteStandardCatalogue())
            return false;
        dlg = std::make_unique<CKelmoraDlg>(folder.Program());
        dlg->SetDecodeAhead(bDecodeAhead);
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

// Lets the event loop run for `ms` milliseconds, as a user who does nothing.
void Idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Waits until the window's background decoding has gone through the twelve photographs.
void WaitForDecodingAhead(const CKelmoraDlg &dlg)
{
    const CDecodedPictures &decoded = dlg.GetPictureImage().Decoded();
    while (decoded.DecodeCount() == 0)
        Idle(5);
    decoded.WaitForBackground();
}

void BM_PeakMemoryThreeBrands(benchmark::State &state, bool bDecodeAhead)
{
    // Forget the peak of whatever ran before (the kernel resets it on "5").
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
    }
    for (auto _ : state) {
        Window window;
        if (!window.Open(bDecodeAhead)) {
            state.SkipWithError("no window");
            return;
        }
        if (bDecodeAhead)
            WaitForDecodingAhead(*window.dlg);
        for (int classRow : {0, 1, 2})
            window.ShowBrand(classRow);
        state.counters["peak_MB"] = static_cast<double>(ReadStatusKb("VmHWM")) / 1024.0;
    }
}

// ---- The real window over the program's own catalogue, clicked as a user clicks it ----------

// The build folder is the program's portable layout: the program, its region table and its data.
CProgramFolder BuildProgram()
{
    return CProgramFolder(QStringLiteral(KELMORA_PROGRAM_DIR), QStringLiteral("kelmora"));
}

QPoint RowCentre(CRvListBox *list, const QString &text)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    return items.isEmpty() ? QPoint(-1, -1) : list->visualItemRect(items.front()).center();
}

// Records when the first paint reaches each watched widget.
class CPaintClock : public QObject
{
public:
    std::map<QObject *, Clock::time_point> m_first;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_first.count(watched) == 0)
            m_first[watched] = Clock::now();
        return false;
    }
};

struct ClickFigures {
    double highlightMs = 0;  // the click to the list's repaint
    double photoMs = 0;      // the click to the main photograph painted and on screen
};

// A click on `brand` (its classification chosen first) after `idleMs` of doing nothing.
bool ClickBrand(CKelmoraDlg &dlg, const QString &className, const QString &brand, int idleMs, ClickFigures *figures)
{
    auto *classes = dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_CLASS);
    auto *brands = dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN);
    const QPoint classAt = RowCentre(classes, className);
    if (classAt.x() < 0)
        return false;
    QTest::mouseClick(classes->viewport(), Qt::LeftButton, {}, classAt);
    const QPoint brandAt = RowCentre(brands, brand);
    if (brandAt.x() < 0)
        return false;
    Idle(idleMs);

    QWidget *frame = dlg.GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME);
    CPaintClock clock;
    brands->viewport()->installEventFilter(&clock);
    frame->installEventFilter(&clock);
    const auto start = Clock::now();
    QTest::mouseClick(brands->viewport(), Qt::LeftButton, {}, brandAt);
    // The frame's paint and the window's flush to the screen come with the next round of events.
    while (clock.m_first.count(frame) == 0)
        QApplication::processEvents();
    const auto shown = Clock::now();
    brands->viewport()->removeEventFilter(&clock);
    frame->removeEventFilter(&clock);
    const auto ms = [start](Clock::time_point t) { return std::chrono::duration<double, std::milli>(t - start).count(); };
    figures->photoMs = ms(shown);
    figures->highlightMs = clock.m_first.count(brands->viewport()) != 0 ? ms(clock.m_first[brands->viewport()]) : -1;
    return dlg.GetPictureImage().HasImage(0);
}

struct BuiltInBrand {
    const char *className;
    const char *name;
};
const BuiltInBrand kBuiltIn[] = {
    {"水稲うるち米", "きらら397"}, {"水稲もち米", "風の子もち"}, {"醸造用玄米", "吟風"}};

// Each built-in brand clicked `rounds` times in turn, after 3 s of idling each time, in one window;
// the worst figures per brand.
std::vector<ClickFigures> ClickEachBrand(bool bDecodeAhead, int rounds)
{
    std::vector<ClickFigures> worst(std::size(kBuiltIn));
    CKelmoraDlg dlg(BuildProgram());
    dlg.SetDecodeAhead(bDecodeAhead);
    dlg.show();
    Idle(100);
    for (int round = 0; round < rounds; ++round) {
        for (size_t b = 0; b < std::size(kBuiltIn); ++b) {
            ClickFigures figures;
            if (!ClickBrand(dlg, QString::fromUtf8(kBuiltIn[b].className), QString::fromUtf8(kBuiltIn[b].name), 3000,
                            &figures)) {
                std::fprintf(stderr, "%s could not be chosen\n", kBuiltIn[b].name);
                std::exit(1);
            }
            worst[b].photoMs = std::max(worst[b].photoMs, figures.photoMs);
            worst[b].highlightMs = std::max(worst[b].highlightMs, figures.highlightMs);
        }
    }
    return worst;
}

// ---- Start-up and exit, each run in a process of its own -------------------------------------

long long NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// The child's side: shows a window and prints the clock's reading (the parent's clock: the same
// monotonic clock) once its first paint is on screen, then ends. "bare" is a plain Qt dialog of
// the main window's size; "choice" and "ahead" the main window without and with the decoding
// ahead; "close" the main window closed as soon as its background decoding has begun, which
// prints also when it was closed and ends when the window is gone.
int RunChild(const QString &kind)
{
    CKelmoraApp::ApplyJapaneseInterface();
    CKelmoraApp::ApplyVisualStyle();
    std::unique_ptr<QDialog> window;
    CKelmoraDlg *main = nullptr;
    if (kind == QLatin1String("bare")) {
        window = std::make_unique<QDialog>();
        auto *layout = new QVBoxLayout(window.get());
        layout->addWidget(new QLabel(QStringLiteral("米版")));
        layout->addWidget(new QPushButton(QStringLiteral("終了")));
        window->resize(1060, 640);
    } else {
        auto dlg = std::make_unique<CKelmoraDlg>(BuildProgram());
        dlg->SetDecodeAhead(kind != QLatin1String("choice"));
        main = dlg.get();
        window = std::move(dlg);
    }
    // Posted during the first paint, the reading runs as soon as the paint and the flush to the
    // screen are over, before anything the window posts meanwhile.
    class CFirstPaint : public QObject
    {
    public:
        bool m_bSeen = false;

    protected:
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !m_bSeen) {
                m_bSeen = true;
                QTimer::singleShot(0, [] {
                    std::printf("%lld\n", NowNs());
                    std::fflush(stdout);
                });
            }
            return false;
        }
    } firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    if (main == nullptr || kind != QLatin1String("close")) {
        while (!firstPaint.m_bSeen)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        std::_Exit(0);
    }
    while (main->GetPictureImage().Decoded().DecodeCount() == 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    std::printf("%lld\n", NowNs());
    main->close();
    window.reset();
    std::fflush(stdout);
    std::_Exit(0);
}

// Runs the child `kind` and answers its readings, counted from just before it was started; the
// last one is when the process had ended.
std::vector<double> RunChildProcess(const QString &kind)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const long long start = NowNs();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start-child"), kind});
    if (!child.waitForFinished(30000))
        return {};
    const long long end = NowNs();
    std::vector<double> readings;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            readings.push_back(static_cast<double>(line.toLongLong() - start) / 1e6);
    }
    readings.push_back(static_cast<double>(end - start) / 1e6);
    return readings;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PrintWhatTheUserWaitsFor()
{
    std::printf("\n%-46s %18s %18s\n", "the user waits for", "decoded on choice", "decoded ahead");
    const std::vector<ClickFigures> onChoice = ClickEachBrand(false, 2);
    const std::vector<ClickFigures> ahead = ClickEachBrand(true, 2);
    for (size_t b = 0; b < std::size(kBuiltIn); ++b) {
        std::printf("click %-12s → main photograph on screen %14.1f ms %15.1f ms\n", kBuiltIn[b].name,
                    onChoice[b].photoMs, ahead[b].photoMs);
    }
    for (size_t b = 0; b < std::size(kBuiltIn); ++b) {
        std::printf("click %-12s → list highlight painted     %14.1f ms %15.1f ms\n", kBuiltIn[b].name,
                    onChoice[b].highlightMs, ahead[b].highlightMs);
    }
    std::printf("(worst of 2 clicks each, the window idle for 3 s before every click; a click on the same brand\n"
                " again decodes again on the choice only)\n");

    // Start-up, the three kinds taking turns.
    std::map<QString, std::vector<double>> shown;
    const QStringList kinds = {QStringLiteral("bare"), QStringLiteral("choice"), QStringLiteral("ahead")};
    for (int run = 0; run < 15; ++run) {
        for (const QString &kind : kinds) {
            const std::vector<double> readings = RunChildProcess(kind);
            if (!readings.empty())
                shown[kind].push_back(readings.front());
        }
    }
    const double bare = Median(shown[QStringLiteral("bare")]);
    std::printf("start → main window on screen (median of 15)   %11.1f ms = %.2f× %10.1f ms = %.2f×   "
                "(bare Qt dialog %.1f ms)\n",
                Median(shown[QStringLiteral("choice")]), Median(shown[QStringLiteral("choice")]) / bare,
                Median(shown[QStringLiteral("ahead")]), Median(shown[QStringLiteral("ahead")]) / bare, bare);

    std::vector<double> exits;
    for (int run = 0; run < 5; ++run) {
        const std::vector<double> readings = RunChildProcess(QStringLiteral("close"));
        if (readings.size() == 3)
            exits.push_back(readings[2] - readings[1]);
    }
    std::sort(exits.begin(), exits.end());
    std::printf("close while decoding ahead → process gone      %31.1f ms (worst of %zu)\n",
                exits.empty() ? -1.0 : exits.back(), exits.size());
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--start-child") == 0)
        return RunChild(QString::fromLatin1(argv[2]));

    // Memory first, while the process is fresh.
    benchmark::RegisterBenchmark("PeakMemory/window_three_brands_in_turn/decoded_on_choice", BM_PeakMemoryThreeBrands,
                                 false)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PeakMemory/window_three_brands_in_turn/decoded_ahead", BM_PeakMemoryThreeBrands,
                                 true)
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
    PrintWhatTheUserWaitsFor();
    return 0;
}
