#include "settings/CRvFileIni.h"

#include "settings/CRvFileAccess.h"
#include "settings/CRvIniDocument.h"
#include "settings/CRvTextCodec.h"

#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace {

// A value is returned with at most 259 characters, as a 260-character buffer holds.
constexpr int kMaxValueLength = 259;

// One pair of matching quotes round a value is not part of it: "True" and 'True' read True. A
// lone quote, or quotes that differ at the two ends, are kept as written.
QString StripQuotes(const QString &value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// A file that is not there, not a regular file, too large or unreadable reads as nothing.
std::optional<CRvIniDocument> ReadDocument(const QString &path, CRvFileAccess::ReadStatus *status = nullptr)
{
    QByteArray bytes;
    const CRvFileAccess::ReadStatus read = CRvFileAccess().ReadFile(path, CRvFileIni::kMaxFileSize, bytes);
    if (status != nullptr)
        *status = read;
    if (read != CRvFileAccess::ReadStatus::Read)
        return std::nullopt;
    return CRvIniDocument(bytes);
}

QString CutToLength(QString text, int maxLength)
{
    if (text.size() > maxLength) {
        text.truncate(maxLength);
        // Never leave half of a surrogate pair at the end.
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

}  // namespace

CRvFileIni::CRvFileIni(const QString &path, bool makesFolder)
    : m_strIniPath(path)
    , m_bMakesFolder(makesFolder)
{}

CRvFileIni CRvFileIni::ReadOnce(const QString &path, CRvFileAccess::ReadStatus *status)
{
    CRvFileIni ini(path);
    // A file that cannot be read reads as an empty one: every value its default.
    std::optional<CRvIniDocument> document = ReadDocument(path, status);
    ini.m_pReadOnce = std::make_shared<const CRvIniDocument>(document ? std::move(*document) : CRvIniDocument());
    return ini;
}

std::optional<QString> CRvFileIni::ReadValue(const QString &section, const QString &key) const
{
    std::optional<CRvIniDocument> document;
    const CRvIniDocument *source = m_pReadOnce.get();
    if (source == nullptr) {
        document = ReadDocument(m_strIniPath);
        if (!document)
            return std::nullopt;
        source = &*document;
    }
    const std::optional<QString> value = source->FindValue(section, key);
    return value ? std::optional<QString>(StripQuotes(*value)) : std::nullopt;
}

QString CRvFileIni::GetString(const QString &section, const QString &key, const QString &defaultValue) const
{
    // A present but empty value is the empty text, not the default.
    const std::optional<QString> value = ReadValue(section, key);
    return value ? CutToLength(*value, kMaxValueLength) : defaultValue;
}

int CRvFileIni::GetInt(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> value = ReadValue(section, key);
    if (!value)
        return defaultValue;
    // A leading decimal number with an optional sign; the first non-digit ends it, no digits give 0.
    return CRvTextCodec::LeadingInt(CutToLength(*value, kMaxValueLength));
}

void CRvFileIni::WriteString(const QString &section, const QString &key, const QString &value) const
{
    // A file that is there but cannot be read (not a regular file, too large, no permission) is
    // left alone rather than replaced.
    QByteArray oldBytes;
    const CRvFileAccess::ReadStatus status = CRvFileAccess().ReadFile(m_strIniPath, kMaxFileSize, oldBytes);
    if (status != CRvFileAccess::ReadStatus::Read && status != CRvFileAccess::ReadStatus::Missing)
        return;
    const std::optional<QByteArray> newBytes = CRvIniDocument(oldBytes).WithValue(section, key, value);
    if (!newBytes)
        return;

    if (m_bMakesFolder && !CRvFileAccess::MakeUserFolder(QFileInfo(m_strIniPath).path()))
        return;
    // Written beside the file and renamed over it, so a crash or a full disk leaves the old file
    // whole. Only where the folder allows no new file (a shared program folder with a settings
    // file the user may write) is the file written in place, as the platform's own profile
    // functions do. Failures are not reported: the value simply is not stored.
    QSaveFile file(m_strIniPath);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(*newBytes) != newBytes->size()) {
        file.cancelWriting();
        return;
    }
    file.commit();
}

bool CRvFileIni::IsNotDispGuidance() const
{
    const QString flag =
        GetString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("False"));
    // Only the exact "True" counts (read with room for five characters, which never changes that
    // answer).
    return flag == QLatin1String("True");
}
