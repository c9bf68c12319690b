#include "data/CRvTextCodec.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <iconv.h>

namespace {

const char *IconvName(CRvTextCodec::Legacy encoding)
{
    return encoding == CRvTextCodec::Legacy::Cp932 ? "CP932" : "EUC-JP";
}

// Converts the whole input or nothing: any sequence iconv cannot map ends the conversion.
std::optional<QByteArray> Convert(const QByteArray &input, const char *to, const char *from)
{
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;

    QByteArray output;
    output.resize(input.size() * 2 + 16);
    char *in = const_cast<char *>(input.constData());  // iconv's interface is not const-correct
    std::size_t inLeft = static_cast<std::size_t>(input.size());
    std::size_t used = 0;
    bool ok = true;
    for (;;) {
        char *out = output.data() + used;
        std::size_t outLeft = static_cast<std::size_t>(output.size()) - used;
        // A null input flushes any shift state once the text is through.
        const std::size_t result = inLeft > 0 ? ::iconv(cd, &in, &inLeft, &out, &outLeft)
                                              : ::iconv(cd, nullptr, nullptr, &out, &outLeft);
        used = static_cast<std::size_t>(out - output.data());
        if (result != static_cast<std::size_t>(-1)) {
            if (inLeft == 0)
                break;
            continue;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        ok = false;  // EILSEQ or EINVAL: a sequence without a mapping, or a cut-off one
        break;
    }
    ::iconv_close(cd);
    if (!ok)
        return std::nullopt;
    output.resize(static_cast<int>(used));
    return output;
}

}  // namespace

bool CRvTextCodec::IsValidUtf8(const char *data, std::size_t size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *const end = p + size;
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int trail = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            trail = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            trail = 2;
            if (c == 0xE0)
                low = 0xA0;  // overlong
            else if (c == 0xED)
                high = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            trail = 3;
            if (c == 0xF0)
                low = 0x90;  // overlong
            else if (c == 0xF4)
                high = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= trail)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= trail; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        }
        p += trail + 1;
    }
    return true;
}

std::optional<QByteArray> CRvTextCodec::ToUtf8(const QByteArray &bytes, Legacy from)
{
    return Convert(bytes, "UTF-8", IconvName(from));
}

std::optional<QByteArray> CRvTextCodec::FromUtf8(const QByteArray &utf8, Legacy to)
{
    return Convert(utf8, IconvName(to), "UTF-8");
}

std::optional<QString> CRvTextCodec::Decode(const QByteArray &bytes, Legacy from)
{
    const std::optional<QByteArray> utf8 = ToUtf8(bytes, from);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QByteArray> CRvTextCodec::Encode(const QString &text, Legacy to)
{
    return FromUtf8(text.toUtf8(), to);
}

int CRvTextCodec::LeadingInt(const QString &text)
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
