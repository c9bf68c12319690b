#include "app/CRvFileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <vector>

namespace {

// Where the executable is taken to live when a tool or a test says so; empty = the real one.
struct ExecutableLocation
{
    QString strFolder;
    QString strBaseName;
};

ExecutableLocation &OverriddenLocation()
{
    static ExecutableLocation location;
    return location;
}

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

QString WithTrailingSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

QString CRvFileAccess::GetExeFolder() const
{
    const ExecutableLocation &location = OverriddenLocation();
    if (!location.strFolder.isEmpty())
        return location.strFolder;
    const QString path = RunningExecutablePath();
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    // The folder keeps its trailing separator: "/" alone for an executable at the root.
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString CRvFileAccess::GetExeBaseName() const
{
    const ExecutableLocation &location = OverriddenLocation();
    if (!location.strFolder.isEmpty())
        return location.strBaseName;
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

void CRvFileAccess::ActAsProgramIn(const QString &folder, const QString &baseName)
{
    ExecutableLocation &location = OverriddenLocation();
    location.strFolder = WithTrailingSlash(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
    location.strBaseName = baseName;
}

void CRvFileAccess::OverrideExecutableForTesting(const QString &folder, const QString &baseName)
{
    ExecutableLocation &location = OverriddenLocation();
    location.strFolder = folder;
    location.strBaseName = folder.isEmpty() ? QString() : baseName;
}
