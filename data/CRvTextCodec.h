#pragma once
// Text in the encodings the catalogue files come in. UTF-8 and UTF-16 are Qt's own; the two
// Japanese legacy encodings go through glibc's iconv, because Qt 6.4's converters do not cover
// them reliably (without ICU they are missing, and Shift_JIS as Windows writes it is CP932, whose
// extensions and 0x5C/0x7E mapping differ from plain Shift_JIS).

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <string_view>

class CRvTextCodec
{
public:
    enum class Legacy {
        Cp932,  // Shift_JIS with the Windows extensions, as a Japanese Windows desktop writes it
        EucJp
    };

    // Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
    // U+10FFFF).
    static bool IsValidUtf8(const char *data, std::size_t size);
    static bool IsValidUtf8(const QByteArray &bytes) { return IsValidUtf8(bytes.constData(), static_cast<std::size_t>(bytes.size())); }
    // The same check byte by byte: the fallback on processors without SSSE3.
    static bool IsValidUtf8Scalar(const char *data, std::size_t size);
    // The ways of checking; IsValidUtf8 takes the fastest the processor has.
    enum class Utf8Check { Scalar, Ssse3, Avx2 };
    static bool CanCheckUtf8With(Utf8Check method);
    // The check done one particular way (byte by byte where the processor lacks it).
    static bool IsValidUtf8With(Utf8Check method, const char *data, std::size_t size);

    // The same as QString::fromUtf8, quicker on the Japanese texts of the catalogue files. Text
    // that is not well-formed UTF-8 is handed to QString::fromUtf8 and reads exactly as there.
    static QString FromUtf8(std::string_view utf8);
    // The same into `text`, reusing its buffer when the text has one of its own that is large
    // enough: a list refilled from a file again and again then needs no new allocations.
    static void AssignUtf8(QString &text, std::string_view utf8);
    // The text as UTF-16 into `units`, which has room for `room` of them: the number written, or
    // -1 when it does not fit or is not read the same way as Qt reads it (not well-formed, or
    // with a byte order mark), for QString::fromUtf8 to decide. For the many short texts of a
    // file, which then need no QString of their own until they are stored.
    static qsizetype DecodeUtf8(std::string_view utf8, char16_t *units, qsizetype room);

    // Whole-text conversions; nullopt when a byte sequence (or a character) has no mapping.
    static std::optional<QByteArray> ToUtf8(const QByteArray &bytes, Legacy from);
    static std::optional<QByteArray> FromUtf8(const QByteArray &utf8, Legacy to);
    static std::optional<QString> Decode(const QByteArray &bytes, Legacy from);
    static std::optional<QByteArray> Encode(const QString &text, Legacy to);

    // The decimal number at the start of a text, as the catalogue files and the settings file
    // hold them: leading blanks and a sign are accepted, the first non-digit ends the number, a
    // text without digits gives 0, and a number beyond the integer range stays at its limit.
    static int LeadingInt(const QString &text);
    // The same for UTF-8 text whose leading blanks are ASCII; nullopt when the text starts with a
    // character outside ASCII, which only the QString form judges.
    static std::optional<int> LeadingInt(std::string_view utf8);
};
