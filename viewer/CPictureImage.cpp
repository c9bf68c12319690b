#include "viewer/CPictureImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <thread>

namespace {

// Resource names are the decimal form of a 16-bit resource number.
constexpr int kMaxResourceDigits = 5;
constexpr uint kMaxResourceId = 0xffff;

// Fills `target` with the square (x, y, cx, cy) of the stored (bottom-up) `picture`, stretched by
// nearest neighbour: every target pixel takes the source pixel under its centre. Rows and
// columns of the square outside the picture are painted in the empty frame's grey rather than
// read.
void StretchNearest(const QImage &picture, qint64 x, qint64 y, qint64 cx, qint64 cy, QImage &target)
{
    const int dw = target.width();
    const int dh = target.height();
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    const QRgb grey = CPictureImage::kEmptyFrameColor;

    // Source columns grow with the target column, so the columns inside the picture are one run.
    std::vector<int> columns(static_cast<size_t>(dw));
    int firstInside = dw;
    int lastInside = -1;
    for (int dx = 0; dx < dw; ++dx) {
        const qint64 sx = x + ((2 * qint64(dx) + 1) * cx) / (2 * qint64(dw));
        if (sx >= 0 && sx < w) {
            columns[static_cast<size_t>(dx)] = static_cast<int>(sx);
            firstInside = std::min(firstInside, dx);
            lastInside = dx;
        }
    }

    const uchar *srcBits = picture.constBits();
    const qsizetype srcStride = picture.bytesPerLine();
    uchar *dstBits = target.bits();
    const qsizetype dstStride = target.bytesPerLine();
    const size_t rowBytes = static_cast<size_t>(dw) * sizeof(QRgb);

    qint64 previousRow = -1;
    const QRgb *previousDst = nullptr;
    for (int dy = 0; dy < dh; ++dy) {
        auto *dst = reinterpret_cast<QRgb *>(dstBits + dy * dstStride);
        // The target's top row shows the square's top row, the highest stored row.
        const qint64 sy = y + cy - 1 - ((2 * qint64(dy) + 1) * cy) / (2 * qint64(dh));
        if (sy < 0 || sy >= h) {
            std::fill(dst, dst + dw, grey);
            previousRow = -1;
            previousDst = nullptr;
            continue;
        }
        if (sy == previousRow && previousDst != nullptr) {
            std::memcpy(dst, previousDst, rowBytes);
            continue;
        }
        const auto *src = reinterpret_cast<const QRgb *>(srcBits + sy * srcStride);
        std::fill(dst, dst + std::min(firstInside, dw), grey);
        for (int dx = firstInside; dx <= lastInside; ++dx)
            dst[dx] = src[columns[static_cast<size_t>(dx)]];
        std::fill(dst + std::max(lastInside + 1, firstInside), dst + dw, grey);
        previousRow = sy;
        previousDst = dst;
    }
}

}  // namespace

CPictureImage::CPictureImage() = default;

void CPictureImage::CheckSlot(int slot)
{
    if (slot < 0 || slot >= kSlotCount)
        throw std::invalid_argument("CPictureImage: slot out of range");
}

QImage &CPictureImage::Slot(int slot)
{
    CheckSlot(slot);
    return m_pImages[static_cast<size_t>(slot)];
}

const QImage &CPictureImage::Slot(int slot) const
{
    CheckSlot(slot);
    return m_pImages[static_cast<size_t>(slot)];
}

CPictureImage::~CPictureImage()
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        ReleaseImage(slot);
    m_hSources.fill(QString());
    m_nSourceCount = 0;
    m_bSourcesOpened = false;
}

namespace {
QString &ExecutableSourceOverride()
{
    static QString prefix;
    return prefix;
}
}  // namespace

QString CPictureImage::ExecutableSourcePrefix()
{
    const QString &override = ExecutableSourceOverride();
    return override.isEmpty() ? QStringLiteral(":/png/") : override;
}

void CPictureImage::OverrideExecutableSourceForTesting(const QString &prefix)
{
    ExecutableSourceOverride() = prefix;
}

void CPictureImage::OpenSources()
{
    if (m_bSourcesOpened)
        return;
    m_nSourceCount = 1;
    m_hSources[0] = ExecutableSourcePrefix();
    m_bSourcesOpened = true;
}

void CPictureImage::AddSourceForTesting(int source, const QString &prefix)
{
    if (source < 0 || source >= kMaxSources)
        return;
    m_hSources[static_cast<size_t>(source)] = prefix;
    m_nSourceCount = std::max(m_nSourceCount, source + 1);
}

QString CPictureImage::ResolvePath(int source, const QString &name) const
{
    if (name.isEmpty() || source < 0 || source >= m_nSourceCount)
        return QString();
    const QString &prefix = m_hSources[static_cast<size_t>(source)];
    if (prefix.isEmpty())
        return QString();
    // Only a resource number is a name: anything else (signs, spaces, separators, "..") could
    // reach beyond the source's folder.
    if (name.size() > kMaxResourceDigits)
        return QString();
    for (const QChar c : name) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString();
    }
    const uint id = name.toUInt();
    if (id == 0 || id > kMaxResourceId)
        return QString();
    return prefix + QString::number(id);
}

bool CPictureImage::DecodePng(const QString &path, QImage *image)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size <= 0)
        return false;
    // Uncompressed resources and files are read in place; the decoded picture owns its pixels and
    // no longer needs these bytes once decoding is over.
    uchar *mapped = file.map(0, size);
    QByteArray bytes = mapped != nullptr
        ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), static_cast<qsizetype>(size))
        : file.readAll();
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(false);
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return false;
    if (decoded.format() != QImage::Format_RGB32)
        decoded.convertTo(QImage::Format_RGB32);
    if (decoded.isNull() || decoded.constBits() == nullptr)
        return false;
    decoded.mirror(false, true);
    *image = std::move(decoded);
    return true;
}

bool CPictureImage::LoadPngResource(int source, const QString &name, int slot)
{
    ReleaseImage(slot);
    const QString path = ResolvePath(source, name);
    if (path.isEmpty())
        return false;
    QImage image;
    if (!DecodePng(path, &image))
        return false;
    Slot(slot) = std::move(image);
    return true;
}

std::vector<bool> CPictureImage::LoadPngResources(int source, const QStringList &names)
{
    const int count = static_cast<int>(std::min<qsizetype>(names.size(), kSlotCount));
    // Emptying every slot first keeps the old and the new pictures from being held together.
    for (int slot = 0; slot < count; ++slot)
        ReleaseImage(slot);

    struct Job {
        QString path;
        qint64 bytes = 0;
        QImage image;
        bool ok = false;
    };
    std::vector<Job> jobs(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Job &job = jobs[static_cast<size_t>(i)];
        job.path = ResolvePath(source, names[i]);
        if (!job.path.isEmpty())
            job.bytes = QFileInfo(job.path).size();
    }
    // The largest first, so that a core that starts on the main photograph is not left waiting
    // for the small ones at the end.
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&jobs](int a, int b) {
        return jobs[static_cast<size_t>(a)].bytes > jobs[static_cast<size_t>(b)].bytes;
    });

    std::atomic<int> next{0};
    auto work = [&jobs, &order, &next, count]() {
        for (int k = next.fetch_add(1); k < count; k = next.fetch_add(1)) {
            Job &job = jobs[static_cast<size_t>(order[static_cast<size_t>(k)])];
            if (!job.path.isEmpty())
                job.ok = DecodePng(job.path, &job.image);
        }
    };
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int helpers = std::min(count, cores) - 1;
    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(std::max(0, helpers)));
    for (int i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &t : threads)
        t.join();

    std::vector<bool> results(static_cast<size_t>(count), false);
    for (int slot = 0; slot < count; ++slot) {
        Job &job = jobs[static_cast<size_t>(slot)];
        if (job.ok)
            Slot(slot) = std::move(job.image);
        results[static_cast<size_t>(slot)] = job.ok;
    }
    return results;
}

void CPictureImage::ReleaseImage(int slot)
{
    Slot(slot) = QImage();
}

bool CPictureImage::HasImage(int slot) const
{
    return !Slot(slot).isNull();
}

const QImage *CPictureImage::GetImage(int slot) const
{
    const QImage &image = Slot(slot);
    return image.isNull() ? nullptr : &image;
}

bool CPictureImage::GetMainImageWidth(int *width) const
{
    if (m_pImages[0].isNull())
        return false;
    *width = m_pImages[0].width();
    return true;
}

void CPictureImage::DrawEmptyFrame(QPainter &painter, const QRect &client)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(client, QColor(kEmptyFrameColor));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(client.adjusted(0, 0, -1, -1));
    painter.restore();
}

bool CPictureImage::Render(int slot, QPainter &painter, const QRect &client, int x, int y, int cx, int cy) const
{
    const QImage &image = Slot(slot);
    if (image.isNull()) {
        DrawEmptyFrame(painter, client);
        return false;
    }
    if (client.isEmpty())
        return true;
    qint64 sx = 0;
    qint64 sy = 0;
    qint64 scx = image.width();
    qint64 scy = image.height();
    if (x >= 0 && y >= 0 && cx > 0 && cy > 0) {
        sx = x;
        sy = y;
        scx = cx;
        scy = cy;
    }
    // Stretch straight to device pixels, so that a high-density screen gets no second scaling.
    const qreal dpr = painter.device() != nullptr ? painter.device()->devicePixelRatio() : 1.0;
    const QSize target = (QSizeF(client.size()) * dpr).toSize();
    if (m_scratch.size() != target)
        m_scratch = QImage(target, QImage::Format_RGB32);
    if (m_scratch.isNull())
        return false;
    m_scratch.setDevicePixelRatio(dpr);
    StretchNearest(image, sx, sy, scx, scy, m_scratch);
    painter.drawImage(client.topLeft(), m_scratch);
    return true;
}

bool CPictureImage::DrawImage(int slot, QWidget *frame, int x, int y, int cx, int cy)
{
    auto *target = dynamic_cast<CPictureFrame *>(frame);
    if (target == nullptr)
        return false;
    CheckSlot(slot);
    target->DrawFrom(*this, slot, QRect(x, y, cx, cy));
    return HasImage(slot);
}
