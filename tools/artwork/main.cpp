// kelmora-artwork: draws every picture the program carries (the twelve grain photographs of the
// three demonstration brands, the button images, the application icon and the maker's logo) into
// a folder, from which the build compiles them into the executable:
//
//   kelmora-artwork <folder> <icon size>...
//                                 writes <folder>/png/NNNN.png, <folder>/icon/<size>.png for each size,
//                                 <folder>/bitmap/153.png
//
// The pictures depend only on this program, never on the time or on chance, so every build makes
// the same bytes. Pixel work runs on all cores; pictures with text are drawn on the main thread.

#include "CGrainPhoto.h"
#include "CPedigreeChart.h"
#include "CUiArt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

namespace {

// How the three brands' grains look, from their descriptions: きらら397 translucent pale amber
// with a base a little narrower, 風の子もち opaque milky white with a straighter back, 吟風 larger
// and rounder with a white core and often a white belly.
CGrainPhoto::Style Kirara397()
{
    CGrainPhoto::Style s;
    s.lengthMm = 5.0;
    s.widthMm = 2.85;
    s.thicknessMm = 2.0;
    s.baseTaper = 0.10;
    s.albedo[0] = 0.97;
    s.albedo[1] = 0.83;
    s.albedo[2] = 0.58;
    s.transmission[0] = 0.95;
    s.transmission[1] = 0.72;
    s.transmission[2] = 0.40;
    s.edgeOpacity = 0.25;
    s.bodyOpacity = 0.62;
    s.gloss = 0.5;
    s.shininess = 90.0;
    s.bellyWhiteShare = 0.08;
    return s;
}

CGrainPhoto::Style KazenokoMochi()
{
    CGrainPhoto::Style s;
    s.lengthMm = 5.2;
    s.widthMm = 2.8;
    s.thicknessMm = 2.1;
    s.baseTaper = 0.04;
    s.albedo[0] = 0.96;
    s.albedo[1] = 0.94;
    s.albedo[2] = 0.88;
    s.transmission[0] = 0.80;
    s.transmission[1] = 0.75;
    s.transmission[2] = 0.65;
    s.edgeOpacity = 0.85;
    s.bodyOpacity = 1.0;
    s.gloss = 0.12;
    s.shininess = 18.0;
    s.dorsalFlatness = 0.6;
    s.groove = 0.8;
    return s;
}

CGrainPhoto::Style Ginpu()
{
    CGrainPhoto::Style s = Kirara397();
    s.lengthMm = 5.3;
    s.widthMm = 3.3;
    s.thicknessMm = 2.2;
    s.baseTaper = -0.04;
    s.edgeOpacity = 0.35;
    s.bodyOpacity = 0.72;
    s.gloss = 0.35;
    s.shininess = 50.0;
    s.coreWhite = 0.95;
    s.bellyWhiteShare = 0.3;
    return s;
}

// The main photographs cover the same field (about 35 mm) whatever their pixel size; the detail
// views show 150 pixels to the millimetre.
constexpr double kFieldMm = 35.0;
constexpr double kDetailPixelsPerMm = 150.0;
constexpr int kDetailSize = 1297;
constexpr QSize kChartSize(622, 336);

struct Job {
    QString strPath;  // relative to the output folder
    std::function<QImage()> draw;
    bool bText = false;  // draws text: main thread only
    bool bRgb24 = true;  // 24-bit RGB, or 32-bit with transparency
};

bool Save(const QImage &image, const QString &path, bool rgb24)
{
    const QImage out = image.convertToFormat(rgb24 ? QImage::Format_RGB888 : QImage::Format_ARGB32);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(out))
        return false;
    return file.commit();
}

std::vector<Job> MakeJobs(const std::vector<int> &iconSizes)
{
    struct Brand {
        const char *key;
        CGrainPhoto::Style style;
        int mainSize;
        int grainCount;
        std::vector<CPedigreeChart::Node> pedigree;
    };
    auto n = [](const char *name, int mother = -1, int father = -1) {
        return CPedigreeChart::Node{QString::fromUtf8(name), mother, father};
    };
    const std::vector<Brand> brands = {
        {"101", Kirara397(), 3840, 40, {n("きらら397", 1, 2), n("しまひかり"), n("キタアケ")}},
        {"151", KazenokoMochi(), 2285, 40, {n("風の子もち", 1, 2), n("上系85201"), n("はくちょうもち")}},
        {"171", Ginpu(), 2285, 34, {n("吟風", 1, 4), n("", 2, 3), n("八反錦"), n("上育404号"), n("きらら397")}},
    };

    std::vector<Job> jobs;
    std::uint64_t seed = 0x4b656c6d6f7261ULL;
    for (const Brand &brand : brands) {
        const QString key = QString::fromLatin1(brand.key);
        const CGrainPhoto::Style style = brand.style;
        const int size = brand.mainSize;
        const int count = brand.grainCount;
        const std::uint64_t s = ++seed;
        jobs.push_back({QStringLiteral("png/%1%2.png").arg(key).arg(1), [style, size, count, s]() {
                            return CGrainPhoto::RenderHeap(style, size, size / kFieldMm, count, s);
                        }});
        jobs.push_back({QStringLiteral("png/%1%2.png").arg(key).arg(2),
                        [style, s]() {
                            return CGrainPhoto::RenderDetail(style, kDetailSize, kDetailPixelsPerMm,
                                                             CGrainPhoto::View::Top, s + 100);
                        },
                        true});
        jobs.push_back({QStringLiteral("png/%1%2.png").arg(key).arg(3),
                        [style, s]() {
                            return CGrainPhoto::RenderDetail(style, kDetailSize, kDetailPixelsPerMm,
                                                             CGrainPhoto::View::Side, s + 100);
                        },
                        true});
        const std::vector<CPedigreeChart::Node> pedigree = brand.pedigree;
        jobs.push_back({QStringLiteral("png/%1%2.png").arg(key).arg(4),
                        [pedigree]() { return CPedigreeChart::Render(pedigree, 0, kChartSize); }, true});
    }
    jobs.push_back({QStringLiteral("png/134.png"), &CUiArt::ExitButton, false, false});
    jobs.push_back({QStringLiteral("png/135.png"), &CUiArt::ZoomInButton, false, false});
    jobs.push_back({QStringLiteral("png/136.png"), &CUiArt::ZoomOutButton, false, false});
    for (int size : iconSizes)
        jobs.push_back(
            {QStringLiteral("icon/%1.png").arg(size), [size]() { return CUiArt::AppIcon(size); }, false, false});
    jobs.push_back({QStringLiteral("bitmap/153.png"), &CUiArt::MakerLogo, false, false});
    return jobs;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::vector<int> iconSizes;
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size > 0 && size <= 1024)
            iconSizes.push_back(size);
    }
    if (argc < 3 || iconSizes.size() != static_cast<size_t>(argc - 2)) {
        std::fprintf(stderr, "usage: kelmora-artwork <output folder> <icon size>...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const char *sub : {"png", "icon", "bitmap"}) {
        if (!out.mkpath(QString::fromLatin1(sub))) {
            std::fprintf(stderr, "kelmora-artwork: cannot make %s/%s\n", argv[1], sub);
            return 1;
        }
    }

    QElapsedTimer timer;
    timer.start();
    std::vector<Job> jobs = MakeJobs(iconSizes);
    std::atomic<int> failures{0};
    auto run = [&](Job &job) {
        if (!Save(job.draw(), out.filePath(job.strPath), job.bRgb24)) {
            std::fprintf(stderr, "kelmora-artwork: cannot write %s\n", qPrintable(out.filePath(job.strPath)));
            ++failures;
        }
    };

    std::atomic<size_t> next{0};
    auto pixelWork = [&]() {
        for (size_t i = next.fetch_add(1); i < jobs.size(); i = next.fetch_add(1)) {
            if (!jobs[i].bText)
                run(jobs[i]);
        }
    };
    std::vector<std::thread> workers;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 1; i < cores; ++i)
        workers.emplace_back(pixelWork);
    for (Job &job : jobs) {
        if (job.bText)
            run(job);
    }
    pixelWork();
    for (std::thread &t : workers)
        t.join();

    std::printf("kelmora-artwork: %zu pictures in %.1f s\n", jobs.size(), timer.elapsed() / 1000.0);
    return failures == 0 ? 0 : 1;
}
