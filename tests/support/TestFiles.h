#pragma once
// Small helpers for tests that lay out files in a temporary folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <stdexcept>

namespace TestFiles {

inline void Write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

inline QByteArray Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Text in a legacy encoding, converted with iconv directly so that the tests do not rely on the
// converter under test.
inline QByteArray Legacy(const QString &text, const char *encoding)
{
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    QByteArray out(utf8.size() * 2 + 8, '\0');
    char *in = const_cast<char *>(utf8.constData());
    size_t inLeft = static_cast<size_t>(utf8.size());
    char *outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1))
        throw std::runtime_error("iconv failed");
    out.resize(static_cast<int>(outPtr - out.data()));
    return out;
}

inline QByteArray Utf16(const QString &text, bool littleEndian, bool bom = true)
{
    QByteArray out;
    if (bom)
        out += littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        out += littleEndian ? low : high;
        out += littleEndian ? high : low;
    }
    return out;
}

// A FIFO (named pipe) at `path`, with nobody writing to it.
inline void MakeFifo(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        throw std::runtime_error("cannot make FIFO");
}

// A file of `size` bytes that takes no room on disk (a sparse file).
inline void MakeSparse(const QString &path, qint64 size)
{
    Write(path, QByteArray());
    if (::truncate(QFile::encodeName(path).constData(), size) != 0)
        throw std::runtime_error("cannot size file");
}

// A file at `path` that is not what its reader expects, of one of these kinds: "fifo" (nobody
// writing), "link to /dev/zero", "folder", or "too large" (a sparse file of `largeSize` bytes).
inline void MakeNotRegular(const QString &kind, const QString &path, qint64 largeSize)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (kind == QLatin1String("fifo"))
        MakeFifo(path);
    else if (kind == QLatin1String("link to /dev/zero") && !QFile::link(QStringLiteral("/dev/zero"), path))
        throw std::runtime_error("cannot make link");
    else if (kind == QLatin1String("folder") && !QDir().mkdir(path))
        throw std::runtime_error("cannot make folder");
    else if (kind == QLatin1String("too large"))
        MakeSparse(path, largeSize);
}

// Runs `work` on a thread of its own and waits at most `ms` milliseconds for it. Work still
// running then (blocked on the FIFO at `fifo`) is set free by a writer opening and closing the
// FIFO, and the answer is false: a test that would hang fails by timeout instead. `work` must not
// use the test macros; it leaves its results for the test to check.
template <typename Work>
bool FinishesWithin(int ms, const QString &fifo, Work work)
{
    std::future<void> done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready) {
        done.get();
        return true;
    }
    const QByteArray name = QFile::encodeName(fifo);
    do {
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    } while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
    done.get();
    return false;
}

}  // namespace TestFiles
