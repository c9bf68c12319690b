#include "settings/CRvFileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

// The running executable's full path, straight from the kernel, so it works before (and
// without) any application object and does not depend on the current folder.
QString RunningExecutablePath()
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return QString();
        if (static_cast<std::size_t>(length) < buffer.size())
            return QFile::decodeName(QByteArray(buffer.data(), static_cast<int>(length)));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

QString CRvFileAccess::GetExeFolder() const
{
    const QString path = RunningExecutablePath();
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    // The folder keeps its trailing separator: "/" alone for an executable at the root.
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString CRvFileAccess::GetExeBaseName() const
{
    // Everything before the last dot, as the extension is split off on Windows.
    return QFileInfo(RunningExecutablePath()).completeBaseName();
}

bool CRvFileAccess::IsFileExist(QString path) const
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

bool CRvFileAccess::IsFolderExist(QString path) const
{
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isDir();
}

CRvFileAccess::ReadStatus CRvFileAccess::ReadFile(const QString &path, qint64 maxSize, QByteArray &bytes) const
{
    bytes.clear();
    if (path.isEmpty())
        return ReadStatus::Missing;
    const QByteArray name = QFile::encodeName(path);
    // Opened without blocking, then judged by the opened descriptor itself, so that nothing can
    // swap the file between the look and the read.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (::stat(name.constData(), &info) != 0)
            return error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
        // A socket, for one, cannot be opened at all.
        return S_ISREG(info.st_mode) ? ReadStatus::Unreadable : ReadStatus::NotRegular;
    }

    ReadStatus status = ReadStatus::Read;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        status = ReadStatus::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        status = ReadStatus::NotRegular;
    } else if (info.st_size > maxSize) {
        status = ReadStatus::TooLarge;
    } else {
        // One byte more than the size tells whether the file has grown since; the read never
        // goes past the limit, whatever the file does meanwhile.
        bytes.resize(static_cast<qsizetype>(std::min<qint64>(info.st_size, maxSize) + 1));
        qsizetype used = 0;
        for (;;) {
            if (used == bytes.size()) {
                if (used > maxSize) {
                    status = ReadStatus::TooLarge;
                    break;
                }
                bytes.resize(static_cast<qsizetype>(std::min<qint64>(2 * used, maxSize + 1)));
            }
            const ssize_t got = ::read(fd, bytes.data() + used, static_cast<std::size_t>(bytes.size() - used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                status = ReadStatus::Unreadable;
                break;
            }
            if (got == 0)
                break;
            used += got;
        }
        bytes.resize(used);
    }
    ::close(fd);
    if (status != ReadStatus::Read)
        bytes.clear();
    return status;
}

bool CRvFileAccess::MakeUserFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    const QString parent = QFileInfo(path).path();
    if (parent == path || !MakeUserFolder(parent))
        return false;
    // Another process may have made it in the meantime; what counts is that it is there.
    QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QFileInfo(path).isDir();
}
