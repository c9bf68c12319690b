#include "viewer/CDecodedPictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {

// A file's bytes as the PNG decoder reads them, which stop reading once `cancel` is set: the
// decoder gives up at its next read instead of finishing a picture nobody will see.
class CCancellableBuffer : public QBuffer
{
public:
    CCancellableBuffer(QByteArray *bytes, const std::atomic<bool> *cancel)
        : QBuffer(bytes)
        , m_cancel(cancel)
    {}

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed))
            return -1;
        return QBuffer::readData(data, maxSize);
    }

private:
    const std::atomic<bool> *m_cancel;
};

}  // namespace

CDecodedPictures::~CDecodedPictures()
{
    if (!m_worker.joinable())
        return;
    bool bDecoding = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        bDecoding = m_bWorking;
    }
    // Qt's PNG reader leaves errors to libpng, which writes the refused read to the standard error
    // ("libpng error: Read Error") as it gives up. A decode stopped on purpose is no fault: while
    // the worker stops, that output goes nowhere.
    const int saved = bDecoding ? ::dup(STDERR_FILENO) : -1;
    const int null = saved >= 0 ? ::open("/dev/null", O_WRONLY | O_CLOEXEC) : -1;
    const bool quiet = null >= 0 && ::dup2(null, STDERR_FILENO) >= 0;
    m_bStop = true;
    m_worker.join();
    if (quiet)
        ::dup2(saved, STDERR_FILENO);
    for (const int fd : {null, saved}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool CDecodedPictures::Decode(const QString &path, QImage *image, const std::atomic<bool> *cancel)
{
    *image = QImage();
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
    CCancellableBuffer buffer(&bytes, cancel);
    if (!buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(false);
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return false;
    if (cancel != nullptr && cancel->load())
        return false;
    if (decoded.format() != QImage::Format_RGB32)
        decoded.convertTo(QImage::Format_RGB32);
    if (decoded.isNull() || decoded.constBits() == nullptr)
        return false;
    *image = std::move(decoded);
    return true;
}

bool CDecodedPictures::DecodeCounted(const QString &path, QImage *image)
{
    ++m_nDecodes;
    return Decode(path, image, &m_bStop);
}

void CDecodedPictures::Keep(const QStringList &paths)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (const QString &path : paths) {
        if (path.isEmpty() || m_entries.count(path) != 0)
            continue;
        m_entries.emplace(path, Entry());
        m_order << path;
    }
}

void CDecodedPictures::StartBackground()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_worker.joinable())
        return;
    m_bWorking = true;
    m_worker = std::thread(&CDecodedPictures::Work, this);
}

void CDecodedPictures::WaitForBackground() const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_bWorking; });
}

void CDecodedPictures::Work()
{
    // The lowest priority the thread can take (nice 19 applies to this thread alone on Linux): the
    // user's own work always comes first. Qt's thread priorities leave a normal thread's alone.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    for (;;) {
        QString path;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            const auto next = std::find_if(m_order.cbegin(), m_order.cend(), [this](const QString &p) {
                return m_entries.at(p).state == State::Waiting;
            });
            if (next == m_order.cend() || m_bStop) {
                m_bWorking = false;
                lock.unlock();
                m_changed.notify_all();
                return;
            }
            path = *next;
            m_entries.at(path).state = State::Decoding;
        }
        QImage image;
        DecodeCounted(path, &image);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            // A load that could not wait for this picture has decoded and kept it meanwhile.
            Entry &entry = m_entries.at(path);
            if (entry.state != State::Done) {
                entry.image = std::move(image);
                entry.state = State::Done;
            }
        }
    }
}

bool CDecodedPictures::AreReady(const QStringList &paths) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::all_of(paths.cbegin(), paths.cend(), [this](const QString &path) {
        const auto it = m_entries.find(path);
        return it != m_entries.end() && it->second.state == State::Done;
    });
}

std::vector<QImage> CDecodedPictures::Take(const QStringList &paths)
{
    const int count = static_cast<int>(paths.size());
    std::vector<QImage> pictures(static_cast<size_t>(count));

    struct Job {
        int index = 0;
        QString path;
        qint64 bytes = 0;
        bool keep = false;
        QImage image;
    };
    std::vector<Job> jobs;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < count; ++i) {
            const QString &path = paths[i];
            if (path.isEmpty())
                continue;
            const auto it = m_entries.find(path);
            if (it == m_entries.end()) {
                jobs.push_back({i, path, 0, false, QImage()});
            } else if (it->second.state == State::Done) {
                pictures[static_cast<size_t>(i)] = it->second.image;
            } else {
                // Decoded here, and kept. One the worker is decoding just now is decoded here too:
                // at the lowest priority the worker may be starved by whatever else the machine
                // runs, and the user must not wait for it. Its copy is dropped when it is done.
                it->second.state = State::Decoding;
                jobs.push_back({i, path, 0, true, QImage()});
            }
        }
    }

    // The largest first, so that a core that starts on the main photograph is not left waiting for
    // the small ones at the end.
    for (Job &job : jobs)
        job.bytes = QFileInfo(job.path).size();
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job &a, const Job &b) { return a.bytes > b.bytes; });
    std::atomic<size_t> next{0};
    auto work = [this, &jobs, &next]() {
        for (size_t k = next.fetch_add(1); k < jobs.size(); k = next.fetch_add(1))
            DecodeCounted(jobs[k].path, &jobs[k].image);
    };
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t helpers = std::min(jobs.size(), cores) - std::min<size_t>(jobs.size(), 1);
    std::vector<std::thread> threads;
    threads.reserve(helpers);
    for (size_t i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &t : threads)
        t.join();

    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (const Job &job : jobs) {
            if (job.keep) {
                Entry &entry = m_entries.at(job.path);
                entry.image = job.image;
                entry.state = State::Done;
            }
        }
    }
    for (Job &job : jobs)
        pictures[static_cast<size_t>(job.index)] = std::move(job.image);
    return pictures;
}
