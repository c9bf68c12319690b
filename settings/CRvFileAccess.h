#pragma once
// File-system questions about the place beside the executable.

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

    // For companion tools that look at an installed program from outside (the data checker's
    // --root): from now on every object answers as if the program `baseName` ran from `folder`,
    // so the tool finds the program's settings file and region table exactly where the program
    // would. A relative folder is taken from the current folder; "/" is added when missing.
    static void ActAsProgramIn(const QString &folder, const QString &baseName);

    // Test seam: make every object answer as if the executable lived in `folder` (ending in "/")
    // under the name `baseName`. An empty folder goes back to the real executable.
    static void OverrideExecutableForTesting(const QString &folder, const QString &baseName);
};
