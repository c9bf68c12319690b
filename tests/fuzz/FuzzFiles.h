#pragma once
// What every fuzz target shares: a folder of its own, into which each input is written as the file
// under test.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace FuzzFiles {

// The folder, made once per process.
inline const QString &Folder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        if (!dir.isValid())
            std::abort();
        return dir.path() + QLatin1Char('/');
    }();
    return folder;
}

// `bytes` as the file `name` below the folder; its path.
inline QString Write(const QString &name, const std::uint8_t *data, std::size_t size)
{
    const QString path = Folder() + name;
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
    return path;
}

inline QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A broken promise of the code under test: the fuzzer keeps the input that showed it.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace FuzzFiles
