#include "data/CRvTextCodec.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iconv.h>

#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

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

bool CRvTextCodec::IsValidUtf8Scalar(const char *data, std::size_t size)
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

#if defined(__x86_64__)
// Sixteen bytes at a time with SSSE3 table look-ups (the method of Keiser and Lemire, "Validating
// UTF-8 in less than one instruction per byte"): each byte is classified by the high and low
// nibble of the byte before it and the high nibble of its own, and the three classifications only
// share a bit where the pair is an error. Checking a variety file this way costs a fraction of
// parsing it, where a byte-by-byte check costs about as much as the parse.
namespace {

constexpr std::uint8_t kTooShort = 1 << 0;   // lead byte not followed by a continuation
constexpr std::uint8_t kTooLong = 1 << 1;    // ASCII followed by a continuation
constexpr std::uint8_t kOverlong3 = 1 << 2;  // E0 80..9F
constexpr std::uint8_t kTooLarge = 1 << 3;   // F4 90.., F5.. : above U+10FFFF
constexpr std::uint8_t kSurrogate = 1 << 4;  // ED A0..BF
constexpr std::uint8_t kOverlong2 = 1 << 5;  // C0, C1
constexpr std::uint8_t kTooLarge1000 = 1 << 6;
constexpr std::uint8_t kOverlong4 = 1 << 6;  // F0 80..8F
constexpr std::uint8_t kTwoConts = 1 << 7;   // continuation after continuation
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

__attribute__((target("ssse3"))) inline __m128i HighNibbles(__m128i v)
{
    return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
}

__attribute__((target("ssse3"))) inline __m128i CheckBlock(__m128i input, __m128i previous)
{
    const __m128i prev1 = _mm_alignr_epi8(input, previous, 15);
    const __m128i byte1High = _mm_shuffle_epi8(
        _mm_setr_epi8(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, static_cast<char>(kTwoConts),
                      static_cast<char>(kTwoConts), static_cast<char>(kTwoConts), static_cast<char>(kTwoConts),
                      kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                      kTooShort | kTooLarge | kTooLarge1000 | kOverlong4),
        HighNibbles(prev1));
    constexpr char kCarryLarge = static_cast<char>(kCarry | kTooLarge | kTooLarge1000);
    const __m128i byte1Low = _mm_shuffle_epi8(
        _mm_setr_epi8(static_cast<char>(kCarry | kOverlong3 | kOverlong2 | kOverlong4), static_cast<char>(kCarry | kOverlong2),
                      static_cast<char>(kCarry), static_cast<char>(kCarry), static_cast<char>(kCarry | kTooLarge),
                      kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge,
                      static_cast<char>(kCarry | kTooLarge | kTooLarge1000 | kSurrogate), kCarryLarge, kCarryLarge),
        _mm_and_si128(prev1, _mm_set1_epi8(0x0F)));
    constexpr char kContinuation = static_cast<char>(kTooLong | kOverlong2 | kTwoConts);
    const __m128i byte2High = _mm_shuffle_epi8(
        _mm_setr_epi8(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                      static_cast<char>(kContinuation | kOverlong3 | kTooLarge1000 | kOverlong4),
                      static_cast<char>(kContinuation | kOverlong3 | kTooLarge),
                      static_cast<char>(kContinuation | kSurrogate | kTooLarge),
                      static_cast<char>(kContinuation | kSurrogate | kTooLarge), kTooShort, kTooShort, kTooShort, kTooShort),
        HighNibbles(input));
    const __m128i special = _mm_and_si128(_mm_and_si128(byte1High, byte1Low), byte2High);

    // Third and fourth bytes of a sequence must be continuations (bit 7 of "two continuations").
    const __m128i prev2 = _mm_alignr_epi8(input, previous, 14);
    const __m128i prev3 = _mm_alignr_epi8(input, previous, 13);
    const __m128i isThird = _mm_subs_epu8(prev2, _mm_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m128i isFourth = _mm_subs_epu8(prev3, _mm_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m128i mustBeContinuation = _mm_and_si128(_mm_or_si128(isThird, isFourth), _mm_set1_epi8(static_cast<char>(0x80)));
    return _mm_xor_si128(mustBeContinuation, special);
}

// Non-zero where the block ends inside a sequence that the next block must finish.
__attribute__((target("ssse3"))) inline __m128i Incomplete(__m128i input)
{
    const __m128i limit = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, static_cast<char>(0xF0 - 1),
                                        static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));
    return _mm_subs_epu8(input, limit);
}

// One block of the check; `error` collects every error bit found so far.
__attribute__((target("ssse3"))) inline void CheckNext(__m128i input, __m128i &previous, __m128i &previousIncomplete,
                                                      __m128i &error)
{
    if (_mm_movemask_epi8(input) == 0) {
        error = _mm_or_si128(error, previousIncomplete);  // ASCII cannot finish a sequence
        previousIncomplete = _mm_setzero_si128();
    } else {
        error = _mm_or_si128(error, CheckBlock(input, previous));
        previousIncomplete = Incomplete(input);
    }
    previous = input;
}

__attribute__((target("ssse3"))) bool IsValidUtf8Ssse3(const unsigned char *data, std::size_t size)
{
    __m128i error = _mm_setzero_si128();
    __m128i previous = _mm_setzero_si128();
    __m128i previousIncomplete = _mm_setzero_si128();
    std::size_t pos = 0;
    for (; pos + 16 <= size; pos += 16) {
        CheckNext(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos)), previous, previousIncomplete, error);
        // Stop early once something is wrong; checked now and then to keep the loop tight.
        if ((pos & 1023) == 0 && _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) != 0xFFFF)
            return false;
    }
    if (pos < size) {
        // The tail, padded with NUL bytes, which end any unfinished sequence as an error.
        unsigned char tail[16] = {};
        std::memcpy(tail, data + pos, size - pos);
        CheckNext(_mm_loadu_si128(reinterpret_cast<const __m128i *>(tail)), previous, previousIncomplete, error);
    }
    error = _mm_or_si128(error, previousIncomplete);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF;
}

}  // namespace
#endif

bool CRvTextCodec::IsValidUtf8(const char *data, std::size_t size)
{
#if defined(__x86_64__)
    static const bool hasSsse3 = __builtin_cpu_supports("ssse3");
    if (hasSsse3)
        return IsValidUtf8Ssse3(reinterpret_cast<const unsigned char *>(data), size);
#endif
    return IsValidUtf8Scalar(data, size);
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

std::optional<int> CRvTextCodec::LeadingInt(std::string_view utf8)
{
    std::size_t pos = 0;
    while (pos < utf8.size() && (utf8[pos] == ' ' || (utf8[pos] >= '\t' && utf8[pos] <= '\r')))
        ++pos;
    if (pos < utf8.size() && static_cast<unsigned char>(utf8[pos]) >= 0x80)
        return std::nullopt;
    bool negative = false;
    if (pos < utf8.size() && (utf8[pos] == '-' || utf8[pos] == '+')) {
        negative = utf8[pos] == '-';
        ++pos;
    }
    long long number = 0;
    for (; pos < utf8.size() && utf8[pos] >= '0' && utf8[pos] <= '9'; ++pos) {
        if (number <= static_cast<long long>(INT_MAX) + 1)
            number = number * 10 + (utf8[pos] - '0');
    }
    if (negative)
        number = -number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}
