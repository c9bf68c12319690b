#include "settings/CRvIniDocument.h"

#include "settings/CRvTextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <utility>

namespace {

bool StartsWith(const QByteArray &bytes, const char *prefix, int length)
{
    return bytes.size() >= length && bytes.left(length) == QByteArray(prefix, length);
}

bool HasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

}  // namespace

CRvIniDocument::CRvIniDocument(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    if (StartsWith(m_bytes, "\xEF\xBB\xBF", 3)) {
        m_encoding = Encoding::Utf8Bom;
        m_nBomLength = 3;
    } else if (StartsWith(m_bytes, "\xFF\xFE", 2)) {
        m_encoding = Encoding::Utf16Le;
        m_nBomLength = 2;
    } else if (StartsWith(m_bytes, "\xFE\xFF", 2)) {
        m_encoding = Encoding::Utf16Be;
        m_nBomLength = 2;
    } else if (!CRvTextCodec::IsValidUtf8(m_bytes)
               && CRvTextCodec::Decode(m_bytes, CRvTextCodec::Legacy::Cp932).has_value()) {
        m_encoding = Encoding::Cp932;
    }
    SplitLines();
}

int CRvIniDocument::UnitSize() const
{
    return (m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be) ? 2 : 1;
}

QString CRvIniDocument::DecodeBytes(const char *data, int size) const
{
    const QByteArrayView view(data, size);
    switch (m_encoding) {
    case Encoding::Utf16Le:
        return QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless).decode(view);
    case Encoding::Utf16Be:
        return QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless).decode(view);
    case Encoding::Cp932:
        if (std::optional<QString> text = CRvTextCodec::Decode(view, CRvTextCodec::Legacy::Cp932))
            return *text;
        break;
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        break;
    }
    return QString::fromUtf8(data, size);
}

std::optional<QByteArray> CRvIniDocument::EncodeText(const QString &text) const
{
    switch (m_encoding) {
    case Encoding::Utf16Le:
        return QByteArray(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::Stateless).encode(text));
    case Encoding::Utf16Be:
        return QByteArray(QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::Stateless).encode(text));
    case Encoding::Cp932:
        return CRvTextCodec::Encode(text, CRvTextCodec::Legacy::Cp932);
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        break;
    }
    return text.toUtf8();
}

void CRvIniDocument::SplitLines()
{
    // A line ends at LF (one code unit); a CR just before it belongs to the break. In CP932 and
    // UTF-8 the bytes 0x0A and 0x0D never occur inside a character, so splitting the bytes is safe.
    const int unit = UnitSize();
    const int size = m_bytes.size() - (m_bytes.size() - m_nBomLength) % unit;
    const char *data = m_bytes.constData();
    auto unitAt = [&](int pos) -> int {
        if (unit == 1)
            return static_cast<unsigned char>(data[pos]);
        const int first = static_cast<unsigned char>(data[pos]);
        const int second = static_cast<unsigned char>(data[pos + 1]);
        return m_encoding == Encoding::Utf16Le ? (second << 8 | first) : (first << 8 | second);
    };

    bool sawBreak = false;
    int start = m_nBomLength;
    while (start < size) {
        int pos = start;
        while (pos < size && unitAt(pos) != '\n')
            pos += unit;
        Line line;
        line.nStart = start;
        int end = pos;
        if (pos < size) {
            const bool crlf = end > start && unitAt(end - unit) == '\r';
            if (crlf)
                end -= unit;
            if (!sawBreak) {
                m_bCrLf = crlf;
                sawBreak = true;
            }
            line.nBreakLength = pos + unit - end;
        }
        line.nLength = end - start;
        line.strText = DecodeBytes(data + start, line.nLength);
        m_lines.push_back(std::move(line));
        start = pos + unit;
    }
}

std::optional<QString> CRvIniDocument::SectionName(const QString &lineText)
{
    const QString text = lineText.trimmed();
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const int close = text.lastIndexOf(QLatin1Char(']'));
    if (close < 1)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

bool CRvIniDocument::IsComment(const QString &trimmedText)
{
    return trimmedText.startsWith(QLatin1Char(';'));
}

int CRvIniDocument::FindSection(const QString &section) const
{
    const QString wanted = section.trimmed();
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const std::optional<QString> name = SectionName(m_lines[static_cast<std::size_t>(i)].strText);
        if (name && name->compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int CRvIniDocument::SectionEnd(int header) const
{
    int i = header + 1;
    while (i < static_cast<int>(m_lines.size()) && !SectionName(m_lines[static_cast<std::size_t>(i)].strText))
        ++i;
    return i;
}

int CRvIniDocument::FindKey(const QString &key, int from, int to) const
{
    const QString wanted = key.trimmed();
    for (int i = from; i < to; ++i) {
        const QString text = m_lines[static_cast<std::size_t>(i)].strText.trimmed();
        if (text.isEmpty() || IsComment(text))
            continue;
        const int equals = text.indexOf(QLatin1Char('='));
        const QString name = (equals < 0 ? text : text.left(equals)).trimmed();
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> CRvIniDocument::FindValue(const QString &section, const QString &key) const
{
    // Only the first section of the name is looked at, as the platform does.
    const int header = FindSection(section);
    if (header < 0)
        return std::nullopt;
    const int line = FindKey(key, header + 1, SectionEnd(header));
    if (line < 0)
        return std::nullopt;
    const QString &text = m_lines[static_cast<std::size_t>(line)].strText;
    const int equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return text.mid(equals + 1).trimmed();
}

std::optional<QByteArray> CRvIniDocument::WithValue(const QString &section, const QString &key,
                                                    const QString &value) const
{
    // A line break would turn one value into several lines of the file.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return std::nullopt;
    // A UTF-16 file cut off inside its last code unit: that unit is completed with a zero byte
    // first, so that what is written lands on a unit boundary and the whole file still decodes.
    if ((m_bytes.size() - m_nBomLength) % UnitSize() != 0)
        return CRvIniDocument(m_bytes + '\0').WithValue(section, key, value);

    const QString lineBreak = m_bCrLf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QString entry = key + QLatin1Char('=') + value;
    int replaceStart = 0;
    int replaceLength = 0;
    QString newText;

    const int header = FindSection(section);
    if (header >= 0) {
        const int end = SectionEnd(header);
        const int keyLine = FindKey(key, header + 1, end);
        if (keyLine >= 0) {
            // Keep the key as written and the blanks around "=", replace what follows.
            const Line &line = m_lines[static_cast<std::size_t>(keyLine)];
            const int equals = line.strText.indexOf(QLatin1Char('='));
            QString prefix;
            if (equals < 0) {
                prefix = line.strText + QLatin1Char('=');
            } else {
                int valueStart = equals + 1;
                while (valueStart < line.strText.size() && line.strText.at(valueStart).isSpace())
                    ++valueStart;
                prefix = line.strText.left(valueStart);
            }
            replaceStart = line.nStart;
            replaceLength = line.nLength;
            newText = prefix + value;
        } else {
            // After the section's last entry, before any blank lines that part it from the next.
            int last = header;
            for (int i = header + 1; i < end; ++i) {
                const QString text = m_lines[static_cast<std::size_t>(i)].strText.trimmed();
                if (!text.isEmpty() && !IsComment(text))
                    last = i;
            }
            const Line &line = m_lines[static_cast<std::size_t>(last)];
            if (line.nBreakLength > 0) {
                replaceStart = line.nStart + line.nLength + line.nBreakLength;
                newText = entry + lineBreak;
            } else {
                replaceStart = line.nStart + line.nLength;
                newText = lineBreak + entry;
            }
        }
    } else {
        replaceStart = m_bytes.size();
        const bool needsBreak = !m_lines.empty() && m_lines.back().nBreakLength == 0;
        newText = (needsBreak ? lineBreak : QString()) + QLatin1Char('[') + section + QLatin1Char(']') + lineBreak
            + entry + lineBreak;
    }

    const std::optional<QByteArray> encoded = EncodeText(newText);
    if (!encoded)
        return std::nullopt;
    QByteArray result = m_bytes;
    result.replace(replaceStart, replaceLength, *encoded);
    return result;
}
