#pragma once
// Named values in an INI-syntax file (CProgramFolder says where the program's lie), read
// and written with the private-profile rules: section and key names match without regard to
// case, the first match wins, missing file/section/key give the default, one pair of matching
// quotes round a value is dropped, values are cut to 259 characters. Nothing is cached: every call
// goes to the file as it is at that moment, unless the file was read once for good (ReadOnce).

#include "settings/CRvFileAccess.h"
#include "settings/CRvIniDocument.h"

#include <QString>

#include <memory>
#include <optional>

class CRvFileIni
{
public:
    // Binds to the file at `path`, used as given. With `makesFolder` the file's folder (a per-user
    // settings folder) is made on the first write.
    explicit CRvFileIni(const QString &path, bool makesFolder = false);
    // A table the program only reads (the region table): the file is read and parsed here, once,
    // and every value comes from that reading; `status` (when given) tells how the reading went.
    static CRvFileIni ReadOnce(const QString &path, CRvFileAccess::ReadStatus *status = nullptr);
    virtual ~CRvFileIni() = default;

    QString GetString(const QString &section, const QString &key, const QString &defaultValue) const;
    int GetInt(const QString &section, const QString &key, int defaultValue) const;
    // Stores the value, creating the file, section or key when missing. A failed write is not
    // reported and leaves the old file intact, except where the folder takes no new file and the
    // file is rewritten in place.
    void WriteString(const QString &section, const QString &key, const QString &value) const;
    // True only when [Guidance] bNotDispGuidance holds exactly "True".
    bool IsNotDispGuidance() const;

    const QString &GetIniPath() const { return m_strIniPath; }
    // Largest INI file read (and rewritten); a larger one reads as missing and is never replaced.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

private:
    std::optional<QString> ReadValue(const QString &section, const QString &key) const;

    QString m_strIniPath;
    bool m_bMakesFolder = false;
    std::shared_ptr<const CRvIniDocument> m_pReadOnce;  // null: every call reads the file
};
