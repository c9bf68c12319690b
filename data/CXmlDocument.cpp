#include "data/CXmlDocument.h"

#include "settings/CRvFileAccess.h"
#include "settings/CRvTextCodec.h"

#include <QByteArray>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

struct CXmlDocument::Impl {
    std::unique_ptr<pugi::xml_document> pDoc = std::make_unique<pugi::xml_document>();
    pugi::xml_node root;  // null until CreateNewDocument or a successful LoadFile
};

namespace {

// Visits the nodes below `top` in document order through the parser's own walk, which is
// iterative (a deeply nested file cannot exhaust the stack) and far quicker than stepping from node
// to node: `visit` gets each node and its depth (0 for a child of `top`) and returns false to end
// the walk.
template <typename Visit>
void Walk(pugi::xml_node top, Visit visit)
{
    class CWalker : public pugi::xml_tree_walker
    {
    public:
        explicit CWalker(Visit &visit)
            : m_visit(visit)
        {}
        bool for_each(pugi::xml_node &node) override { return m_visit(node, depth()); }

    private:
        Visit &m_visit;
    };
    CWalker walker(visit);
    top.traverse(walker);
}

pugi::xml_node FirstDescendant(const pugi::xml_node top, const char *name)
{
    pugi::xml_node found;
    Walk(top, [&](pugi::xml_node &node, int) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0)
            found = node;
        return !found;
    });
    return found;
}

// White space as XML knows it (blank, tab, line breaks) is cut from both ends, so an indented
// file reads the same as a compact one; other spaces, such as the ideographic space, are text.
QByteArrayView TrimmedText(const char *text)
{
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t length = std::strlen(text);
    while (length > 0 && isSpace(*text)) {
        ++text;
        --length;
    }
    while (length > 0 && isSpace(text[length - 1]))
        --length;
    return QByteArrayView(text, static_cast<qsizetype>(length));
}

// The text content: every text and CDATA piece below the element, in document order. The parser
// keeps a text that comes first in its element as the element's own value (fewer nodes to build
// and to walk), so each element gives its value before its children.
QByteArray TextContent(const pugi::xml_node element)
{
    // The usual value element holds one piece of text and nothing else: no copy of it is made.
    if (!element.first_child()) {
        const QByteArrayView text = TrimmedText(element.value());
        return QByteArray::fromRawData(text.data(), text.size());
    }
    std::string text = element.value();
    Walk(element, [&](pugi::xml_node &node, int) {
        text += node.value();  // empty for the nodes that hold no text
        return true;
    });
    return TrimmedText(text.c_str()).toByteArray();
}

// ---- Reading a file in its declared encoding ----

enum class ByteForm { Utf8Bom, Utf16LeBom, Utf16BeBom, Utf16Le, Utf16Be, EightBit };
enum class Declared { None, Utf8, Utf16, Cp932, EucJp, Other };

ByteForm DetectByteForm(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return ByteForm::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return ByteForm::Utf16LeBom;
    if (bytes.startsWith("\xFE\xFF"))
        return ByteForm::Utf16BeBom;
    if (bytes.startsWith(QByteArrayView("<\0?\0", 4)))
        return ByteForm::Utf16Le;
    if (bytes.startsWith(QByteArrayView("\0<\0?", 4)))
        return ByteForm::Utf16Be;
    return ByteForm::EightBit;
}

Declared ClassifyEncodingName(const QString &name)
{
    const QString upper = name.toUpper();
    auto is = [&](std::initializer_list<const char *> names) {
        return std::any_of(names.begin(), names.end(),
                           [&](const char *candidate) { return upper == QLatin1String(candidate); });
    };
    if (is({"UTF-8", "UTF8"}))
        return Declared::Utf8;
    if (is({"UTF-16", "UTF-16LE", "UTF-16BE"}))
        return Declared::Utf16;
    if (is({"SHIFT_JIS", "SHIFT-JIS", "SJIS", "X-SJIS", "MS_KANJI", "CSSHIFTJIS", "WINDOWS-31J", "CSWINDOWS31J",
            "CP932", "MS932", "X-MS-CP932"}))
        return Declared::Cp932;
    if (is({"EUC-JP", "EUCJP", "X-EUC-JP", "CSEUCPKDFMTJAPANESE"}))
        return Declared::EucJp;
    return Declared::Other;
}

// The encoding named by the XML declaration at the very start of `prolog` (already decoded far
// enough to read the declaration).
Declared DeclaredEncoding(const QString &prolog)
{
    if (!prolog.startsWith(QLatin1String("<?xml")) || prolog.size() < 6 || !prolog.at(5).isSpace())
        return Declared::None;
    const qsizetype end = prolog.indexOf(QLatin1String("?>"));
    if (end < 0)
        return Declared::Other;  // a declaration that never closes
    const QString declaration = prolog.left(end);
    const qsizetype key = declaration.indexOf(QLatin1String("encoding"));
    if (key < 0)
        return Declared::None;
    const QString rest = declaration.mid(key + 8).trimmed();
    if (!rest.startsWith(QLatin1Char('=')))
        return Declared::Other;
    const QString value = rest.mid(1).trimmed();
    if (value.isEmpty() || (value.front() != QLatin1Char('"') && value.front() != QLatin1Char('\'')))
        return Declared::Other;
    const qsizetype close = value.indexOf(value.front(), 1);
    if (close < 0)
        return Declared::Other;
    return ClassifyEncodingName(value.mid(1, close - 1));
}

// The file's bytes as UTF-8 without a BOM, or nullopt with the reason in `why` when the encoding
// is not one we read, the bytes do not fit it, or the BOM and the declaration disagree.
std::optional<QByteArray> ToUtf8(QByteArray bytes, QString &why)
{
    const ByteForm form = DetectByteForm(bytes);
    if (form == ByteForm::EightBit || form == ByteForm::Utf8Bom) {
        if (form == ByteForm::Utf8Bom)
            bytes.remove(0, 3);
        // The declaration is plain ASCII in every encoding read here.
        const Declared declared = DeclaredEncoding(QString::fromLatin1(bytes.left(200)));
        if (declared == Declared::None || declared == Declared::Utf8) {
            if (CRvTextCodec::IsValidUtf8(bytes))
                return bytes;
            why = QStringLiteral("bytes that are not UTF-8");
        } else if ((declared == Declared::Cp932 || declared == Declared::EucJp) && form == ByteForm::EightBit) {
            const auto legacy = declared == Declared::Cp932 ? CRvTextCodec::Legacy::Cp932 : CRvTextCodec::Legacy::EucJp;
            if (const std::optional<QString> text = CRvTextCodec::Decode(bytes, legacy))
                return text->toUtf8();
            why = QStringLiteral("bytes that do not fit the declared encoding");
        } else {
            why = QStringLiteral("an encoding other than UTF-8, UTF-16, Shift_JIS and EUC-JP, or one that its "
                                 "byte order mark contradicts");
        }
        return std::nullopt;
    }

    const bool littleEndian = form == ByteForm::Utf16LeBom || form == ByteForm::Utf16Le;
    if (form == ByteForm::Utf16LeBom || form == ByteForm::Utf16BeBom)
        bytes.remove(0, 2);
    QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (bytes.size() % 2 != 0 || decoder.hasError()) {
        why = QStringLiteral("bytes that are not UTF-16");
        return std::nullopt;
    }
    const Declared declared = DeclaredEncoding(text.left(200));
    if (declared != Declared::None && declared != Declared::Utf16) {
        why = QStringLiteral("a declared encoding that its byte order mark contradicts");
        return std::nullopt;
    }
    return text.toUtf8();
}

// ---- What the parser lets through but XML does not ----

// The line of a place in the text (1 for the first).
int LineAt(const QByteArray &text, std::ptrdiff_t offset)
{
    offset = std::clamp<std::ptrdiff_t>(offset, 0, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// Whether the text at `reference` (an '&') is one of the references XML knows without a DTD: the
// five predefined entities, and character references to characters XML allows.
bool IsKnownReference(const char *reference)
{
    for (const char *entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
        if (std::strncmp(reference, entity, std::strlen(entity)) == 0)
            return true;
    }
    if (reference[1] != '#')
        return false;
    const bool hex = reference[2] == 'x';
    const char *digit = reference + (hex ? 3 : 2);
    const char *const first = digit;
    unsigned long code = 0;
    for (; code <= 0x10FFFF; ++digit) {
        const char c = *digit;
        if (c >= '0' && c <= '9')
            code = code * (hex ? 16 : 10) + static_cast<unsigned long>(c - '0');
        else if (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            code = code * 16 + static_cast<unsigned long>((c | 0x20) - 'a' + 10);
        else
            break;
    }
    if (digit == first || *digit != ';')
        return false;
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The first reference the parser would leave as it stands (an entity no DTD here declares, or an
// '&' that starts no reference): what it is, and its line. `raw` is the document parsed with its
// references kept as written; its offsets are those of `text`.
std::optional<CXmlDocument::CLoadError> FindUnknownReference(const pugi::xml_document &raw, const QByteArray &text)
{
    std::optional<CXmlDocument::CLoadError> found;
    // `value` lies in the parser's copy of `text`, as does `anchor`, whose offset in it `at` gives.
    auto check = [&](const char *value, const pugi::xml_node &at, const char *anchor) {
        for (const char *amp = std::strchr(value, '&'); amp; amp = std::strchr(amp + 1, '&')) {
            if (IsKnownReference(amp))
                continue;
            const std::size_t length = std::min<std::size_t>(std::strcspn(amp, "; \t\r\n<") + 1, 40);
            found = CXmlDocument::CLoadError{
                QStringLiteral("not well-formed XML: reference to an undeclared entity, \"%1\"")
                    .arg(QString::fromUtf8(amp, static_cast<qsizetype>(length))),
                LineAt(text, at.offset_debug() + (amp - anchor))};
            return false;
        }
        return true;
    };
    Walk(raw, [&](pugi::xml_node &node, int) {
        if (node.type() == pugi::node_pcdata)
            return check(node.value(), node, node.value());
        if (node.type() != pugi::node_element || !check(node.value(), node, node.name()))
            return node.type() != pugi::node_element;
        for (const pugi::xml_attribute attribute : node.attributes()) {
            if (!check(attribute.value(), node, node.name()))
                return false;
        }
        return true;
    });
    return found;
}

// What makes a parsed document one that is not well-formed or not safe to read, though the
// parser (which takes fragments and leaves unknown references alone) accepted it.
std::optional<CXmlDocument::CLoadError> FindFault(const pugi::xml_document &doc, const QByteArray &text,
                                                  unsigned int options)
{
    auto fault = [&](const QString &reason, const pugi::xml_node &at) {
        return CXmlDocument::CLoadError{reason, LineAt(text, at.offset_debug())};
    };
    int elements = 0;
    for (const pugi::xml_node node : doc.children()) {
        switch (node.type()) {
        case pugi::node_element:
            if (++elements > 1)
                return fault(QStringLiteral("not well-formed XML: a second top-level element, <%1>")
                                 .arg(QString::fromUtf8(node.name())),
                             node);
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            return fault(QStringLiteral("not well-formed XML: text outside the root element"), node);
        case pugi::node_doctype:
            // pugixml neither fetches a DTD nor expands entities it declares: such a file would
            // read differently from what its author meant.
            if (std::strstr(node.value(), "<!ENTITY"))
                return fault(QStringLiteral("entity declarations in the DOCTYPE"), node);
            break;
        default:
            break;
        }
    }
    if (elements == 0)
        return CXmlDocument::CLoadError{QStringLiteral("not well-formed XML: no root element"), 0};
    // Only a text with an '&' can hold a reference: the usual file is not parsed a second time.
    if (std::memchr(text.constData(), '&', static_cast<std::size_t>(text.size()))) {
        pugi::xml_document raw;
        if (raw.load_buffer(text.constData(), static_cast<std::size_t>(text.size()),
                            options & ~(pugi::parse_escapes | pugi::parse_eol), pugi::encoding_utf8))
            return FindUnknownReference(raw, text);
    }
    return std::nullopt;
}

}  // namespace

// ---- CElement ----

std::optional<QString> CXmlDocument::CElement::GetAttribute(const char *utf8Name) const
{
    const pugi::xml_attribute attribute = pugi::xml_node(m_pNode).attribute(utf8Name);
    if (!attribute)
        return std::nullopt;
    return QString::fromUtf8(attribute.value());
}

CXmlDocument::CElement CXmlDocument::CElement::FindDescendant(const char *utf8Name) const
{
    if (!m_pNode)
        return CElement();
    return CElement(FirstDescendant(pugi::xml_node(m_pNode), utf8Name).internal_object());
}

const char *CXmlDocument::CElement::GetUtf8Attribute(const char *utf8Name) const
{
    const pugi::xml_attribute attribute = pugi::xml_node(m_pNode).attribute(utf8Name);
    return attribute ? attribute.value() : nullptr;
}

QByteArray CXmlDocument::CElement::GetUtf8Text() const
{
    return m_pNode ? TextContent(pugi::xml_node(m_pNode)) : QByteArray();
}

QString CXmlDocument::CElement::GetText() const
{
    return QString::fromUtf8(GetUtf8Text());
}

// ---- CXmlDocument ----

CXmlDocument::CXmlDocument()
    : m_pImpl(std::make_unique<Impl>())
{}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::CreateNewDocument()
{
    auto doc = std::make_unique<pugi::xml_document>();
    if (!doc->load_string("<GRoot></GRoot>"))
        return false;
    // The declaration goes after the root element, where the original reader put it; nothing
    // reads it back.
    pugi::xml_node declaration = doc->append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    m_pImpl->root = doc->document_element();
    m_pImpl->pDoc = std::move(doc);
    return true;
}

bool CXmlDocument::LoadFile(const QString &path, CLoadError *error)
{
    CLoadError unused;
    CLoadError &why = error ? *error : unused;
    why = CLoadError();

    QByteArray bytes;
    switch (CRvFileAccess().ReadFile(path, kMaxFileSize, bytes)) {
    case CRvFileAccess::ReadStatus::Read:
        break;
    case CRvFileAccess::ReadStatus::Missing:
        why.strReason = QStringLiteral("not found");
        return false;
    case CRvFileAccess::ReadStatus::NotRegular:
        why.strReason = QStringLiteral("not a regular file");
        return false;
    case CRvFileAccess::ReadStatus::TooLarge:
        why.strReason = QStringLiteral("too large: over %1 MiB").arg(kMaxFileSize / (1024 * 1024));
        return false;
    case CRvFileAccess::ReadStatus::Unreadable:
        why.strReason = QStringLiteral("cannot be read");
        return false;
    }

    const std::optional<QByteArray> text = ToUtf8(std::move(bytes), why.strReason);
    if (!text)
        return false;

    // Parsed into a document of its own so that a failure leaves the previous content in place.
    // As a fragment, so that whatever stands outside the root element is there to be refused.
    constexpr unsigned int kOptions =
        pugi::parse_default | pugi::parse_doctype | pugi::parse_fragment | pugi::parse_embed_pcdata;
    auto doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result =
        doc->load_buffer(text->constData(), static_cast<std::size_t>(text->size()), kOptions, pugi::encoding_utf8);
    if (!result) {
        why =
            CLoadError{QStringLiteral("not well-formed XML: %1").arg(QString::fromUtf8(result.description()).toLower()),
                       LineAt(*text, result.offset)};
        return false;
    }
    if (const std::optional<CLoadError> fault = FindFault(*doc, *text, kOptions)) {
        why = *fault;
        return false;
    }

    m_pImpl->root = doc->document_element();
    m_pImpl->pDoc = std::move(doc);
    return true;
}

CXmlDocument::CElement CXmlDocument::GetRoot() const
{
    return CElement(m_pImpl->root.internal_object());
}

CXmlDocument::CElement CXmlDocument::FindElement(const QString &elementName, const QString &attrName,
                                                 const QString &attrValue) const
{
    if (elementName.isEmpty())
        return GetRoot();
    const QByteArray name = elementName.toUtf8();
    const bool anyAttribute = attrName.isEmpty() || attrValue.isEmpty();
    const QByteArray wantedAttr = attrName.toUtf8();
    const QByteArray wantedValue = attrValue.toUtf8();

    pugi::xml_node found;
    Walk(*m_pImpl->pDoc, [&](pugi::xml_node &node, int) {
        if (node.type() != pugi::node_element || std::strcmp(node.name(), name.constData()) != 0)
            return true;
        if (!anyAttribute) {
            const pugi::xml_attribute attribute = node.attribute(wantedAttr.constData());
            if (!attribute || std::strcmp(attribute.value(), wantedValue.constData()) != 0)
                return true;
        }
        found = node;
        return false;
    });
    return CElement(found.internal_object());
}

CXmlDocument::CGroups CXmlDocument::GetGroups(const char *utf8GroupName,
                                              const std::vector<const char *> &utf8FieldNames) const
{
    const std::size_t names = utf8FieldNames.size();
    // The wanted names by their first byte: an element is compared in full only with the names
    // that start as it does (comparing it with every name was the walk's dearest step).
    std::array<std::vector<std::size_t>, 256> byFirstByte;
    for (std::size_t k = 0; k < names; ++k)
        byFirstByte[static_cast<unsigned char>(utf8FieldNames[k][0])].push_back(k);
    CGroups groups;
    struct COpen {
        std::size_t nGroup;
        int nDepth;
    };
    std::vector<COpen> open;  // the groups around the walk's place, the innermost last
    Walk(*m_pImpl->pDoc, [&](pugi::xml_node &node, int depth) {
        // A group no deeper than this node ended before it.
        while (!open.empty() && open.back().nDepth >= depth)
            open.pop_back();
        if (node.type() != pugi::node_element)
            return true;
        const char *const name = node.name();
        for (const std::size_t k : byFirstByte[static_cast<unsigned char>(name[0])]) {
            if (std::strcmp(name, utf8FieldNames[k]) != 0)
                continue;
            // The open groups still without this field are the inner end of the stack (a group
            // opened earlier saw every element a later one saw): each takes this one, and no group
            // is ever given a field twice.
            for (auto g = open.rbegin(); g != open.rend(); ++g) {
                CElement &field = groups.aField[g->nGroup * names + k];
                if (!field.IsNull())
                    break;
                field = CElement(node.internal_object());
            }
        }
        if (name[0] == utf8GroupName[0] && std::strcmp(name, utf8GroupName) == 0) {
            open.push_back(COpen{groups.aGroup.size(), depth});
            groups.aGroup.push_back(CElement(node.internal_object()));
            groups.aField.resize(groups.aField.size() + names);
        }
        return true;
    });
    return groups;
}

QString CXmlDocument::GetNodeText(const QString &parentName, const QString &attrName, const QString &attrValue,
                                  const QString &childName, const QString &defaultText) const
{
    const CElement parent = FindElement(parentName, attrName, attrValue);
    if (parent.IsNull() || childName.isEmpty())
        return defaultText;
    const CElement child = parent.FindDescendant(childName.toUtf8().constData());
    return child.IsNull() ? defaultText : child.GetText();
}
