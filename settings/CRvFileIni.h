#pragma once
// Named values in an INI-syntax file of the program (CProgramFolder says where they lie), read
// and written with the private-profile rules: section and key names match without regard to
// case, the first match wins, missing file/section/key give the default, one pair of matching
// quotes round a value is dropped, values are cut to 259 characters. Nothing is cached: every call
// goes to the file as it is at that moment.

#include <QString>

class CRvFileIni
{
public:
    // Binds to `fileName` beside the region table (the executable's folder unless the program is
    // installed); a null or empty name binds to the settings file: the executable's base name +
    // ".ini" beside it, or the user's kelmora/kelmora.ini when installed.
    explicit CRvFileIni(const QString &fileName = QString());
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
    const QString &GetExeFolder() const { return m_strExeFolder; }

private:
    QString m_strIniPath;
    QString m_strExeFolder;
    bool m_bMakesFolder = false;
};
