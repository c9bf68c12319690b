#pragma once
// File-system questions: where the running executable lies, what exists, and reading a file
// with a bound.

#include <QByteArray>
#include <QString>

class CRvFileAccess
{
public:
    CRvFileAccess() = default;
    virtual ~CRvFileAccess() = default;

    // Folder of the running executable, ending in "/" ("/opt/kelmora/" for /opt/kelmora/kelmora).
    QString GetExeFolder() const;
    // Base name of the running executable ("kelmora").
    QString GetExeBaseName() const;
    // False at once for an empty path; otherwise whether the path names an existing entry.
    bool IsFileExist(QString path) const;
    // Whether the path names an existing folder.
    bool IsFolderExist(QString path) const;

    // How reading a file went. Only a regular file (after following links) is read, and only up
    // to a size its reader sets; anything else is refused before a byte is read.
    enum class ReadStatus {
        Read,
        Missing,
        NotRegular,  // a folder, FIFO, device or socket
        TooLarge,
        Unreadable  // no permission, or an error while reading
    };
    // The whole content of the file into `bytes` (left empty unless Read). Never blocks: a FIFO
    // without a writer is refused at once like any other file that is not a regular one.
    ReadStatus ReadFile(const QString &path, qint64 maxSize, QByteArray &bytes) const;

    // Creates a folder and any missing parents, readable by the user alone (as per-user
    // configuration folders are made). True when the folder exists afterwards.
    static bool MakeUserFolder(const QString &folder);
};
