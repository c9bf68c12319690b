#include "data/CRvTextCodec.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iconv.h>

#if defined(__x86_64__)
#include <immintrin.h>
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
// Sixteen or thirty-two bytes at a time with table look-ups (the method of Keiser and Lemire,
// "Validating UTF-8 in less than one instruction per byte"): each byte is classified by the high
// and low nibble of the byte before it and the high nibble of its own, and the three
// classifications only share a bit where the pair is an error. Checking a variety file this way
// costs a fraction of parsing it, where a byte-by-byte check costs about as much as the parse.
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
constexpr std::uint8_t kCarryLarge = kCarry | kTooLarge | kTooLarge1000;
constexpr std::uint8_t kContinuation = kTooLong | kOverlong2 | kTwoConts;

// Indexed by the high nibble of the previous byte.
alignas(16) constexpr std::uint8_t kByte1High[16] = {
    kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
    kTwoConts, kTwoConts, kTwoConts, kTwoConts,
    kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4};
// Indexed by the low nibble of the previous byte.
alignas(16) constexpr std::uint8_t kByte1Low[16] = {
    kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry, kCarry | kTooLarge,
    kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge, kCarryLarge,
    kCarry | kTooLarge | kTooLarge1000 | kSurrogate, kCarryLarge, kCarryLarge};
// Indexed by the high nibble of the byte itself.
alignas(16) constexpr std::uint8_t kByte2High[16] = {
    kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
    kContinuation | kOverlong3 | kTooLarge1000 | kOverlong4, kContinuation | kOverlong3 | kTooLarge,
    kContinuation | kSurrogate | kTooLarge, kContinuation | kSurrogate | kTooLarge,
    kTooShort, kTooShort, kTooShort, kTooShort};
// Non-zero after subtraction where a block ends inside a sequence that the next must finish: the
// last byte a lead byte, the one before a lead of three or four bytes, the third last of four.
alignas(32) constexpr std::uint8_t kIncompleteLimit[32] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0 - 1, 0xE0 - 1, 0xC0 - 1};

// ---- Sixteen bytes at a time (SSSE3) ----

__attribute__((target("ssse3"))) inline __m128i Table128(const std::uint8_t *table)
{
    return _mm_load_si128(reinterpret_cast<const __m128i *>(table));
}

__attribute__((target("ssse3"))) inline __m128i HighNibbles(__m128i v)
{
    return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
}

__attribute__((target("ssse3"))) inline __m128i CheckBlock(__m128i input, __m128i previous)
{
    const __m128i prev1 = _mm_alignr_epi8(input, previous, 15);
    const __m128i byte1High = _mm_shuffle_epi8(Table128(kByte1High), HighNibbles(prev1));
    const __m128i byte1Low = _mm_shuffle_epi8(Table128(kByte1Low), _mm_and_si128(prev1, _mm_set1_epi8(0x0F)));
    const __m128i byte2High = _mm_shuffle_epi8(Table128(kByte2High), HighNibbles(input));
    const __m128i special = _mm_and_si128(_mm_and_si128(byte1High, byte1Low), byte2High);

    // Third and fourth bytes of a sequence must be continuations (bit 7 of "two continuations").
    const __m128i prev2 = _mm_alignr_epi8(input, previous, 14);
    const __m128i prev3 = _mm_alignr_epi8(input, previous, 13);
    const __m128i isThird = _mm_subs_epu8(prev2, _mm_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m128i isFourth = _mm_subs_epu8(prev3, _mm_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m128i mustBeContinuation = _mm_and_si128(_mm_or_si128(isThird, isFourth), _mm_set1_epi8(static_cast<char>(0x80)));
    return _mm_xor_si128(mustBeContinuation, special);
}

__attribute__((target("ssse3"))) inline __m128i Incomplete(__m128i input)
{
    return _mm_subs_epu8(input, _mm_loadu_si128(reinterpret_cast<const __m128i *>(kIncompleteLimit + 16)));
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

// ---- Thirty-two bytes at a time (AVX2): the same steps on two lanes ----

__attribute__((target("avx2"))) inline __m256i Table256(const std::uint8_t *table)
{
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i *>(table)));
}

__attribute__((target("avx2"))) inline __m256i HighNibbles256(__m256i v)
{
    return _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(0x0F));
}

// The bytes `n` places before each byte of `input`, reaching back into `previous` across the
// boundary of the two lanes.
template <int n>
__attribute__((target("avx2"))) inline __m256i PreviousBytes(__m256i input, __m256i previous)
{
    return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(previous, input, 0x21), 16 - n);
}

__attribute__((target("avx2"))) inline __m256i CheckBlock256(__m256i input, __m256i previous)
{
    const __m256i prev1 = PreviousBytes<1>(input, previous);
    const __m256i byte1High = _mm256_shuffle_epi8(Table256(kByte1High), HighNibbles256(prev1));
    const __m256i byte1Low = _mm256_shuffle_epi8(Table256(kByte1Low), _mm256_and_si256(prev1, _mm256_set1_epi8(0x0F)));
    const __m256i byte2High = _mm256_shuffle_epi8(Table256(kByte2High), HighNibbles256(input));
    const __m256i special = _mm256_and_si256(_mm256_and_si256(byte1High, byte1Low), byte2High);

    const __m256i isThird = _mm256_subs_epu8(PreviousBytes<2>(input, previous), _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m256i isFourth = _mm256_subs_epu8(PreviousBytes<3>(input, previous), _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m256i mustBeContinuation =
        _mm256_and_si256(_mm256_or_si256(isThird, isFourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    return _mm256_xor_si256(mustBeContinuation, special);
}

__attribute__((target("avx2"))) inline void CheckNext256(__m256i input, __m256i &previous, __m256i &previousIncomplete,
                                                        __m256i &error)
{
    if (_mm256_movemask_epi8(input) == 0) {
        error = _mm256_or_si256(error, previousIncomplete);
        previousIncomplete = _mm256_setzero_si256();
    } else {
        error = _mm256_or_si256(error, CheckBlock256(input, previous));
        previousIncomplete = _mm256_subs_epu8(input, _mm256_load_si256(reinterpret_cast<const __m256i *>(kIncompleteLimit)));
    }
    previous = input;
}

__attribute__((target("avx2"))) bool IsValidUtf8Avx2(const unsigned char *data, std::size_t size)
{
    __m256i error = _mm256_setzero_si256();
    __m256i previous = _mm256_setzero_si256();
    __m256i previousIncomplete = _mm256_setzero_si256();
    std::size_t pos = 0;
    for (; pos + 32 <= size; pos += 32) {
        CheckNext256(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + pos)), previous, previousIncomplete, error);
        if ((pos & 2047) == 0 && !_mm256_testz_si256(error, error))
            return false;
    }
    if (pos < size) {
        unsigned char tail[32] = {};
        std::memcpy(tail, data + pos, size - pos);
        CheckNext256(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(tail)), previous, previousIncomplete, error);
    }
    error = _mm256_or_si256(error, previousIncomplete);
    return _mm256_testz_si256(error, error) != 0;
}

}  // namespace
#endif

bool CRvTextCodec::CanCheckUtf8With(Utf8Check method)
{
    switch (method) {
    case Utf8Check::Scalar:
        return true;
#if defined(__x86_64__)
    case Utf8Check::Ssse3: {
        static const bool has = __builtin_cpu_supports("ssse3");
        return has;
    }
    case Utf8Check::Avx2: {
        static const bool has = __builtin_cpu_supports("avx2");
        return has;
    }
#else
    case Utf8Check::Ssse3:
    case Utf8Check::Avx2:
        return false;
#endif
    }
    return false;
}

bool CRvTextCodec::IsValidUtf8With(Utf8Check method, const char *data, std::size_t size)
{
    if (!CanCheckUtf8With(method))
        method = Utf8Check::Scalar;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    switch (method) {
#if defined(__x86_64__)
    case Utf8Check::Avx2:
        return IsValidUtf8Avx2(bytes, size);
    case Utf8Check::Ssse3:
        return IsValidUtf8Ssse3(bytes, size);
#else
    case Utf8Check::Avx2:
    case Utf8Check::Ssse3:
#endif
    case Utf8Check::Scalar:
        break;
    }
    return IsValidUtf8Scalar(data, size);
}

bool CRvTextCodec::IsValidUtf8(const char *data, std::size_t size)
{
    static const Utf8Check best = CanCheckUtf8With(Utf8Check::Avx2)    ? Utf8Check::Avx2
                                  : CanCheckUtf8With(Utf8Check::Ssse3) ? Utf8Check::Ssse3
                                                                       : Utf8Check::Scalar;
    return IsValidUtf8With(best, data, size);
}

namespace {

#if defined(__x86_64__)
// Four characters of three bytes each (kana and kanji) from the twelve bytes at `p`, when they
// are exactly that and none of them is overlong or a surrogate; sixteen bytes must be readable.
__attribute__((target("ssse3"))) bool DecodeFourThreeByteCharacters(const unsigned char *p, char16_t *out)
{
    const __m128i input = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    // Leads 1110xxxx at 0, 3, 6 and 9, each followed by two 10xxxxxx; bytes 12..15 do not count.
    const __m128i mask = _mm_setr_epi8(static_cast<char>(0xF0), static_cast<char>(0xC0), static_cast<char>(0xC0),
                                       static_cast<char>(0xF0), static_cast<char>(0xC0), static_cast<char>(0xC0),
                                       static_cast<char>(0xF0), static_cast<char>(0xC0), static_cast<char>(0xC0),
                                       static_cast<char>(0xF0), static_cast<char>(0xC0), static_cast<char>(0xC0), 0, 0, 0, 0);
    const __m128i wanted = _mm_setr_epi8(static_cast<char>(0xE0), static_cast<char>(0x80), static_cast<char>(0x80),
                                         static_cast<char>(0xE0), static_cast<char>(0x80), static_cast<char>(0x80),
                                         static_cast<char>(0xE0), static_cast<char>(0x80), static_cast<char>(0x80),
                                         static_cast<char>(0xE0), static_cast<char>(0x80), static_cast<char>(0x80), 0, 0, 0, 0);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(input, mask), wanted)) != 0xFFFF)
        return false;
    // Each character into a 32-bit lane as third | second << 8 | lead << 16, then its bits gathered.
    const __m128i lanes = _mm_shuffle_epi8(input, _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1));
    const __m128i code = _mm_or_si128(_mm_or_si128(_mm_and_si128(lanes, _mm_set1_epi32(0x3F)),
                                                   _mm_srli_epi32(_mm_and_si128(lanes, _mm_set1_epi32(0x3F00)), 2)),
                                      _mm_srli_epi32(_mm_and_si128(lanes, _mm_set1_epi32(0x0F0000)), 4));
    // Below U+0800 (overlong) or U+D800..U+DFFF (surrogates): left to the byte-by-byte way.
    const __m128i top = _mm_and_si128(code, _mm_set1_epi32(0xF800));
    const __m128i bad = _mm_or_si128(_mm_cmpeq_epi32(top, _mm_setzero_si128()), _mm_cmpeq_epi32(top, _mm_set1_epi32(0xD800)));
    if (_mm_movemask_epi8(bad) != 0)
        return false;
    const __m128i units = _mm_shuffle_epi8(code, _mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(out), units);
    return true;
}
#endif

// Decodes well-formed UTF-8 into `begin`, which has room for `room` units (as many as there are
// bytes is always enough). The number of units written, or -1 for text that is not well-formed,
// starts with a byte order mark (which Qt drops), or does not fit: all left to Qt.
qsizetype DecodeWellFormedUtf8(const unsigned char *p, const unsigned char *const end, char16_t *const begin, qsizetype room)
{
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return -1;
#if defined(__x86_64__)
    static const bool fourAtOnce = __builtin_cpu_supports("ssse3");
#endif
    char16_t *out = begin;
    char16_t *const outEnd = begin + room;
    while (p < end) {
        if (out == outEnd)
            return -1;
        const unsigned char c = *p;
        if (c < 0x80) {
            *out++ = c;
            ++p;
            continue;
        }
        // Kana and kanji take three bytes: lead 1110xxxx, then two 10xxxxxx.
        if ((c & 0xF0) == 0xE0) {
#if defined(__x86_64__)
            if (fourAtOnce && end - p >= 16 && outEnd - out >= 4 && DecodeFourThreeByteCharacters(p, out)) {
                p += 12;
                out += 4;
                continue;
            }
#endif
            if (end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80)
                return -1;
            const char32_t code = ((c & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
            if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))
                return -1;  // overlong, or a surrogate
            *out++ = static_cast<char16_t>(code);
            p += 3;
            continue;
        }
        int trail = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            trail = 1;
            code = c & 0x1F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            trail = 3;
            code = c & 0x07;
            if (c == 0xF0)
                low = 0x90;  // overlong
            else if (c == 0xF4)
                high = 0x8F;  // above U+10FFFF
        } else {
            return -1;
        }
        if (end - p <= trail || p[1] < low || p[1] > high)
            return -1;
        code = (code << 6) | (p[1] & 0x3F);
        for (int i = 2; i <= trail; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return -1;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code >= 0x10000) {
            if (outEnd - out < 2)
                return -1;
            *out++ = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(code);
        }
        p += trail + 1;
    }
    return out - begin;
}

}  // namespace

qsizetype CRvTextCodec::DecodeUtf8(std::string_view utf8, char16_t *units, qsizetype room)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf8.data());
    return DecodeWellFormedUtf8(bytes, bytes + utf8.size(), units, room);
}

QString CRvTextCodec::FromUtf8(std::string_view utf8)
{
    QString text;
    AssignUtf8(text, utf8);
    return text;
}

void CRvTextCodec::AssignUtf8(QString &text, std::string_view utf8)
{
    // As many UTF-16 units as bytes is always enough; the text is cut to its length at the end,
    // as Qt does. A buffer the text has to itself is written over when it is large enough.
    const auto room = static_cast<qsizetype>(utf8.size());
    if (room == 0) {
        if (text.isDetached())
            text.resize(0);
        else
            text = QString();
        return;
    }
    if (text.isDetached() && text.capacity() >= room)
        text.resize(room);
    else
        text = QString(room, Qt::Uninitialized);
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf8.data());
    const qsizetype length = DecodeWellFormedUtf8(bytes, bytes + utf8.size(), reinterpret_cast<char16_t *>(text.data()), room);
    if (length < 0)
        text = QString::fromUtf8(utf8.data(), room);
    else
        text.truncate(length);
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
