#include "settings/CRvTextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QUtf8StringView>

#include <algorithm>
#include <climits>

namespace {

const char *ConverterName(CRvTextCodec::Legacy encoding)
{
    return encoding == CRvTextCodec::Legacy::Cp932 ? "windows-31j" : "EUC-JP";
}

}  // namespace

bool CRvTextCodec::IsValidUtf8(QByteArrayView bytes)
{
    return QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8();
}

std::optional<QString> CRvTextCodec::Decode(QByteArrayView bytes, Legacy from)
{
    // Stateless: a sequence cut off at the end is an error rather than kept for more input.
    QStringDecoder decoder(ConverterName(from), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QByteArray> CRvTextCodec::Encode(const QString &text, Legacy to)
{
    QStringEncoder encoder(ConverterName(to), QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

int CRvTextCodec::LeadingInt(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('-') || text.at(pos) == QLatin1Char('+'))) {
        negative = text.at(pos) == QLatin1Char('-');
        ++pos;
    }
    long long number = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        if (number <= static_cast<long long>(INT_MAX) + 1)
            number = number * 10 + (c.unicode() - u'0');
    }
    if (negative)
        number = -number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}
