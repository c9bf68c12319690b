#pragma once
// The text of one INI-syntax file as it lies on disk, for CRvFileIni: finds values with the
// private-profile rules and makes the bytes of the file with one value written, changing only that
// one line (or adding the key or the section) and keeping every other byte as it was.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class CRvIniDocument
{
public:
    enum class Encoding {
        Utf8,  // no BOM; also the fallback for bytes that are neither UTF-8 nor CP932
        Utf8Bom,
        Utf16Le,  // with BOM
        Utf16Be,  // with BOM
        Cp932     // bytes that are not valid UTF-8, as written on a Japanese Windows desktop
    };

    // No bytes (a missing or empty file) gives a new file: UTF-8 without BOM, LF line ends.
    explicit CRvIniDocument(QByteArray bytes = QByteArray());

    Encoding GetEncoding() const { return m_encoding; }
    bool UsesCrLf() const { return m_bCrLf; }

    // The trimmed value of the first matching key in the first matching section (names match
    // without regard to case); nullopt when the section or key is missing, or when the key's
    // line has no "=".
    std::optional<QString> FindValue(const QString &section, const QString &key) const;

    // The whole file with `key` in `section` set to `value`: the key's line is rewritten in place,
    // a missing key goes after the last entry of its section, a missing section goes at the end.
    // Nullopt when the text cannot be stored: a line break in a name or the value, or a character
    // the file's encoding cannot hold.
    std::optional<QByteArray> WithValue(const QString &section, const QString &key, const QString &value) const;

private:
    struct Line {
        int nStart = 0;        // first byte of the line's content
        int nLength = 0;       // bytes of content, without the line break
        int nBreakLength = 0;  // bytes of the line break after it (0 for a last line without one)
        QString strText;       // the content, decoded
    };

    int UnitSize() const;
    QString DecodeBytes(const char *data, int size) const;
    std::optional<QByteArray> EncodeText(const QString &text) const;
    void SplitLines();
    static std::optional<QString> SectionName(const QString &lineText);
    static bool IsComment(const QString &trimmedText);
    // Index of the first section header line matching `section`, or -1.
    int FindSection(const QString &section) const;
    // Index of the line that closes the section starting at `header` (the next header or the end).
    int SectionEnd(int header) const;
    // Index of the first key line matching `key` in lines [from, to), or -1.
    int FindKey(const QString &key, int from, int to) const;

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Utf8;
    int m_nBomLength = 0;
    bool m_bCrLf = false;
    std::vector<Line> m_lines;
};
