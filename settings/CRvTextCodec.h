#pragma once
// Text in the encodings the catalogue files come in, beyond Qt's own UTF-8 and UTF-16: the two
// Japanese legacy encodings, through Qt's ICU converters. Shift_JIS as Windows writes it is CP932
// (ICU's "windows-31j"), whose extensions and 0x5C/0x7E mapping differ from plain Shift_JIS.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

class CRvTextCodec
{
public:
    enum class Legacy {
        Cp932,  // Shift_JIS with the Windows extensions, as a Japanese Windows desktop writes it
        EucJp
    };

    // Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
    // U+10FFFF).
    static bool IsValidUtf8(QByteArrayView bytes);

    // Whole-text conversions; nullopt when a byte sequence (or a character) has no mapping, or a
    // sequence is cut off at the end.
    static std::optional<QString> Decode(QByteArrayView bytes, Legacy from);
    static std::optional<QByteArray> Encode(const QString &text, Legacy to);

    // The decimal number at the start of a text, as the catalogue files and the settings file
    // hold them: leading blanks and a sign are accepted, the first non-digit ends the number, a
    // text without digits gives 0, and a number beyond the integer range stays at its limit.
    static int LeadingInt(QStringView text);
};
