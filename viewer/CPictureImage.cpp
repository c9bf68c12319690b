#include "viewer/CPictureImage.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// Resource names are the decimal form of a 16-bit resource number.
constexpr int kMaxResourceDigits = 5;
constexpr uint kMaxResourceId = 0xffff;

// Qt stretches an image without smoothing in 16.16 fixed point: the first pixel of the target
// takes the source position left + ⌈step ÷ 2⌉ − 1, each further pixel one step more, where
// step = trunc(65536 × source width ÷ target width) and left = trunc(65536 × source left); a
// paint of part of the target starts the walk afresh at its own first pixel. With a plain source
// rectangle the truncated step drifts off the pixel centres and now and then shows the column
// beside the one under a pixel's centre. So each run of target pixels gets a source rectangle
// worked out for it: a whole number of steps wide (a partial paint then lands on the same
// columns), inside the picture, and placed so that the walk meets the column under every pixel's
// centre. A run for which no single rectangle does is halved.
constexpr qint64 kOne = 65536;  // one source pixel in Qt's fixed point

struct Span {
    int first = 0;  // first target pixel of the run
    int count = 0;
    double left = 0;  // its source rectangle, in source pixels
    double width = 0;
};

// Source pixel under the centre of every target pixel along one axis: `size` target pixels show
// `extent` source pixels from `origin`.
std::vector<qint64> PixelsUnderCentres(int size, qint64 origin, qint64 extent)
{
    std::vector<qint64> under(static_cast<size_t>(size));
    for (qint64 d = 0; d < size; ++d)
        under[static_cast<size_t>(d)] = origin + ((2 * d + 1) * extent) / (2 * qint64(size));
    return under;
}

// The source rectangle for target pixels first .. end − 1 within source pixels 0 .. limit − 1,
// or false when there is none; `exact` is the stretch in fixed point (65536 × extent ÷ size).
bool FitSpan(const std::vector<qint64> &under, int first, int end, qint64 limit, double exact, Span *span)
{
    const qint64 count = end - first;
    qint64 bestRoom = -1;
    for (qint64 step = qint64(std::floor(exact)) - 1; step <= qint64(std::ceil(exact)) + 1; ++step) {
        if (step <= 0)
            continue;
        // Walk starts (fixed point) that meet every pixel's column.
        qint64 low = std::numeric_limits<qint64>::min();
        qint64 high = std::numeric_limits<qint64>::max();
        for (qint64 k = 0; k < count; ++k) {
            const qint64 at = kOne * under[static_cast<size_t>(first + k)] - k * step;
            low = std::max(low, at);
            high = std::min(high, at + kOne - 1);
        }
        const qint64 half = (step + 1) / 2 - 1;
        const qint64 leftLow = std::max<qint64>(low - half, 0);
        const qint64 leftHigh = std::min(high - half, kOne * limit - step * count);
        if (leftHigh - leftLow <= bestRoom)
            continue;
        bestRoom = leftHigh - leftLow;
        // A whole source pixel where one will do, else the middle of the room.
        const qint64 whole = (leftLow + kOne - 1) / kOne * kOne;
        const qint64 left = whole <= leftHigh ? whole : leftLow + (leftHigh - leftLow) / 2;
        span->left = static_cast<double>(left) / kOne;
        span->width = static_cast<double>(step * count) / kOne;
    }
    span->first = first;
    span->count = static_cast<int>(count);
    return bestRoom >= 0;
}

void AddSpans(const std::vector<qint64> &under, int first, int end, qint64 limit, double exact,
              std::vector<Span> &spans)
{
    Span span;
    if (end - first == 1) {
        spans.push_back({first, 1, static_cast<double>(under[static_cast<size_t>(first)]), 1.0});
    } else if (FitSpan(under, first, end, limit, exact, &span)) {
        spans.push_back(span);
    } else {
        const int middle = first + (end - first) / 2;
        AddSpans(under, first, middle, limit, exact, spans);
        AddSpans(under, middle, end, limit, exact, spans);
    }
}

// The runs of one axis whose pixels show the picture; *covered is false when some pixels fall
// outside it.
std::vector<Span> AxisSpans(int size, qint64 origin, qint64 extent, qint64 limit, bool *covered)
{
    const std::vector<qint64> under = PixelsUnderCentres(size, origin, extent);
    // The source pixels grow with the target pixel, so those inside the picture are one run.
    const auto inside = [limit](qint64 pixel) { return pixel >= 0 && pixel < limit; };
    const int first = static_cast<int>(std::find_if(under.begin(), under.end(), inside) - under.begin());
    int end = first;
    while (end < size && inside(under[static_cast<size_t>(end)]))
        ++end;
    *covered = first == 0 && end == size;
    std::vector<Span> spans;
    if (first < end)
        AddSpans(under, first, end, limit, static_cast<double>(kOne) * static_cast<double>(extent) / size, spans);
    return spans;
}

}  // namespace

CPictureImage::CPictureImage(const QString &strFolder)
    : m_strFolder(strFolder)
{}

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

const QImage &CPictureImage::GetImage(int slot) const
{
    CheckSlot(slot);
    return m_pImages[static_cast<size_t>(slot)];
}

QString CPictureImage::ResolvePath(int source, const QString &name) const
{
    if (name.isEmpty() || source != 0 || m_strFolder.isEmpty())
        return QString();
    // Only a resource number is a name: anything else (signs, spaces, separators, "..") could
    // reach beyond the folder.
    if (name.size() > kMaxResourceDigits)
        return QString();
    for (const QChar c : name) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString();
    }
    const uint id = name.toUInt();
    if (id == 0 || id > kMaxResourceId)
        return QString();
    return m_strFolder + QString::number(id);
}

bool CPictureImage::LoadPngResource(int source, const QString &name, int slot)
{
    ReleaseImage(slot);
    const std::vector<QImage> pictures = m_decoded.Take({ResolvePath(source, name)});
    if (pictures.front().isNull())
        return false;
    Slot(slot) = pictures.front();
    return true;
}

std::vector<bool> CPictureImage::LoadPngResources(int source, const QStringList &names)
{
    const int count = static_cast<int>(std::min<qsizetype>(names.size(), kSlotCount));
    // Emptying every slot first keeps the old and the new pictures from being held together
    // (unless they are kept decoded anyway).
    for (int slot = 0; slot < count; ++slot)
        ReleaseImage(slot);
    const std::vector<QImage> pictures = m_decoded.Take(ResolvePaths(source, names.mid(0, count)));
    std::vector<bool> results(static_cast<size_t>(count), false);
    for (int slot = 0; slot < count; ++slot) {
        const QImage &picture = pictures[static_cast<size_t>(slot)];
        if (!picture.isNull())
            Slot(slot) = picture;
        results[static_cast<size_t>(slot)] = !picture.isNull();
    }
    return results;
}

QStringList CPictureImage::ResolvePaths(int source, const QStringList &names) const
{
    QStringList paths;
    for (const QString &name : names)
        paths << ResolvePath(source, name);
    return paths;
}

void CPictureImage::KeepDecoded(int source, const QStringList &names)
{
    m_decoded.Keep(ResolvePaths(source, names));
}

void CPictureImage::DecodeAhead()
{
    m_decoded.StartBackground();
}

bool CPictureImage::IsDecoded(int source, const QStringList &names) const
{
    return m_decoded.AreReady(ResolvePaths(source, names));
}

void CPictureImage::ReleaseImage(int slot)
{
    Slot(slot) = QImage();
}

bool CPictureImage::HasImage(int slot) const
{
    return !GetImage(slot).isNull();
}

bool CPictureImage::GetMainImageWidth(int *width) const
{
    if (m_pImages[0].isNull())
        return false;
    *width = m_pImages[0].width();
    return true;
}

QRect CPictureImage::SourceFromBottom(const QSize &size, const QRect &fromBottom)
{
    if (fromBottom.x() < 0 || fromBottom.y() < 0 || fromBottom.width() <= 0 || fromBottom.height() <= 0)
        return QRect(QPoint(0, 0), size);
    return QRect(fromBottom.x(), size.height() - fromBottom.y() - fromBottom.height(), fromBottom.width(),
                 fromBottom.height());
}

void CPictureImage::Draw(QPainter &painter, const QRect &client, const QImage &picture, const QRect &source)
{
    if (client.isEmpty() || source.isEmpty())
        return;
    bool columnsCovered = false;
    bool rowsCovered = false;
    const std::vector<Span> columns =
        AxisSpans(client.width(), source.x(), source.width(), picture.width(), &columnsCovered);
    const std::vector<Span> rows =
        AxisSpans(client.height(), source.y(), source.height(), picture.height(), &rowsCovered);
    if (!columnsCovered || !rowsCovered)
        painter.fillRect(client, QColor(kEmptyFrameColor));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const Span &row : rows) {
        for (const Span &column : columns) {
            painter.drawImage(QRectF(client.x() + column.first, client.y() + row.first, column.count, row.count),
                              picture, QRectF(column.left, row.left, column.width, row.width));
        }
    }
    painter.restore();
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
