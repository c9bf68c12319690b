#include "data/CXmlDocument.h"

#include "data/CRvTextCodec.h"

#include <QFile>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <cstring>
#include <string>

struct CXmlDocument::Impl
{
    // The text the document was parsed from in place; it must outlive the document, so it is
    // declared first and goes last.
    QByteArray buffer;
    std::unique_ptr<pugi::xml_document> pDoc = std::make_unique<pugi::xml_document>();
    pugi::xml_node root;  // null until CreateNewDocument or a successful LoadFile
};

namespace {

// Visits the elements below `start` in document order, without recursion (a deeply nested file
// must not exhaust the stack). `visit` returns true to stop the walk.
template <typename Visit>
void ForEachDescendantElement(pugi::xml_node start, Visit visit)
{
    pugi::xml_node node = start.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            if (visit(node))
                return;
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
        }
        while (!node.next_sibling()) {
            node = node.parent();
            if (!node || node == start)
                return;
        }
        node = node.next_sibling();
    }
}

pugi::xml_node FirstDescendant(pugi::xml_node start, const char *name)
{
    pugi::xml_node found;
    ForEachDescendantElement(start, [&](pugi::xml_node node) {
        if (std::strcmp(node.name(), name) != 0)
            return false;
        found = node;
        return true;
    });
    return found;
}

bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// White space as XML knows it (blank, tab, line breaks) is cut from both ends, so an indented
// file reads the same as a compact one; other spaces, such as the ideographic space, are text.
QString TrimmedText(const char *text, std::size_t length)
{
    std::size_t begin = 0;
    while (begin < length && IsXmlSpace(text[begin]))
        ++begin;
    while (length > begin && IsXmlSpace(text[length - 1]))
        --length;
    return QString::fromUtf8(text + begin, static_cast<qsizetype>(length - begin));
}

// The text content: every text and CDATA piece below the element, in document order. The parser
// keeps a text that comes first in its element as the element's own value (fewer nodes to build
// and to walk), so each element contributes its value before its children.
QString TextContent(pugi::xml_node element)
{
    const char *own = element.value();
    const pugi::xml_node first = element.first_child();
    if (!first)
        return TrimmedText(own, std::strlen(own));

    std::string text = own;
    pugi::xml_node node = first;
    for (;;) {
        const pugi::xml_node_type type = node.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_element)
            text += node.value();
        if (type == pugi::node_element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (!node.next_sibling()) {
            node = node.parent();
            if (!node || node == element)
                return TrimmedText(text.data(), text.size());
        }
        node = node.next_sibling();
    }
}

// One walk of the document for CollectElements. Every element named `groupName` opens a group;
// each element met while groups are open is the first descendant of its name for those open
// groups that have none yet. Groups with the field still unset always form the inner end of the
// stack of open groups, so each element touches only the groups it actually fills: the walk stays
// linear even in a file of deeply nested groups.
class CGroupWalker : public pugi::xml_tree_walker
{
public:
    CGroupWalker(const char *groupName, const char *const *fieldNames, std::size_t fieldCount,
                 std::vector<pugi::xml_node_struct *> &groups, std::vector<pugi::xml_node_struct *> &found)
        : m_groupName(groupName), m_fieldNames(fieldNames), m_fieldCount(fieldCount), m_groups(groups), m_found(found)
    {
        for (std::size_t k = 0; k < fieldCount; ++k) {
            if (std::strcmp(fieldNames[k], groupName) == 0)
                m_bFieldIsGroup = true;
            for (std::size_t j = 0; j < k; ++j) {
                if (std::strcmp(fieldNames[j], fieldNames[k]) == 0)
                    m_bRepeatedFields = true;
            }
        }
    }

    bool for_each(pugi::xml_node &node) override
    {
        if (node.type() != pugi::node_element)
            return true;
        const int level = depth();
        while (!m_open.empty() && m_open.back().nDepth >= level)
            m_open.pop_back();

        const char *name = node.name();
        bool matchedField = false;
        if (!m_open.empty()) {
            // Fields mostly come in the order asked for: the one after the last match is tried first.
            if (!m_bRepeatedFields && m_nHint < m_fieldCount && IsNamed(name, m_fieldNames[m_nHint])) {
                Fill(m_nHint, node);
                matchedField = true;
            } else {
                for (std::size_t k = 0; k < m_fieldCount; ++k) {
                    if (IsNamed(name, m_fieldNames[k])) {
                        Fill(k, node);
                        matchedField = true;
                        if (!m_bRepeatedFields)
                            break;
                    }
                }
            }
        }
        if ((!matchedField || m_bFieldIsGroup) && IsNamed(name, m_groupName)) {
            m_open.push_back(OpenGroup{level, m_groups.size()});
            m_groups.push_back(node.internal_object());
            m_found.resize(m_found.size() + m_fieldCount, nullptr);
            m_nHint = 0;
        }
        return true;
    }

private:
    struct OpenGroup
    {
        int nDepth;
        std::size_t nIndex;
    };

    // Element names are short: compared here rather than through a library call for each.
    static bool IsNamed(const char *name, const char *wanted)
    {
        while (*name != '\0' && *name == *wanted) {
            ++name;
            ++wanted;
        }
        return *name == *wanted;
    }

    void Fill(std::size_t k, pugi::xml_node node)
    {
        m_nHint = k + 1;
        for (auto group = m_open.rbegin(); group != m_open.rend(); ++group) {
            pugi::xml_node_struct *&slot = m_found[group->nIndex * m_fieldCount + k];
            if (slot)
                break;
            slot = node.internal_object();
        }
    }

    const char *m_groupName;
    const char *const *m_fieldNames;
    std::size_t m_fieldCount;
    std::vector<pugi::xml_node_struct *> &m_groups;
    std::vector<pugi::xml_node_struct *> &m_found;
    std::vector<OpenGroup> m_open;
    std::size_t m_nHint = 0;
    bool m_bFieldIsGroup = false;
    bool m_bRepeatedFields = false;
};

// ---- Reading a file in its declared encoding ----

enum class ByteForm { Utf8Bom, Utf16LeBom, Utf16BeBom, Utf16Le, Utf16Be, EightBit };
enum class Declared { None, Utf8, Utf16, Cp932, EucJp, Other };

ByteForm DetectByteForm(const QByteArray &bytes)
{
    auto startsWith = [&](const char *prefix, int length) {
        return bytes.size() >= length && std::memcmp(bytes.constData(), prefix, static_cast<std::size_t>(length)) == 0;
    };
    if (startsWith("\xEF\xBB\xBF", 3))
        return ByteForm::Utf8Bom;
    if (startsWith("\xFF\xFE", 2))
        return ByteForm::Utf16LeBom;
    if (startsWith("\xFE\xFF", 2))
        return ByteForm::Utf16BeBom;
    if (startsWith("<\0?\0", 4))
        return ByteForm::Utf16Le;
    if (startsWith("\0<\0?", 4))
        return ByteForm::Utf16Be;
    return ByteForm::EightBit;
}

Declared ClassifyEncodingName(QString name)
{
    name = name.toUpper();
    auto is = [&](std::initializer_list<const char *> names) {
        for (const char *candidate : names) {
            if (name == QLatin1String(candidate))
                return true;
        }
        return false;
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
    const int end = prolog.indexOf(QLatin1String("?>"));
    if (end < 0)
        return Declared::Other;  // a declaration that never closes
    const QString declaration = prolog.left(end);
    const int key = declaration.indexOf(QLatin1String("encoding"));
    if (key < 0)
        return Declared::None;
    int pos = key + 8;
    while (pos < declaration.size() && declaration.at(pos).isSpace())
        ++pos;
    if (pos >= declaration.size() || declaration.at(pos) != QLatin1Char('='))
        return Declared::Other;
    ++pos;
    while (pos < declaration.size() && declaration.at(pos).isSpace())
        ++pos;
    if (pos >= declaration.size())
        return Declared::Other;
    const QChar quote = declaration.at(pos);
    if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
        return Declared::Other;
    const int close = declaration.indexOf(quote, pos + 1);
    if (close < 0)
        return Declared::Other;
    return ClassifyEncodingName(declaration.mid(pos + 1, close - pos - 1));
}

// The file's bytes as UTF-8 without a BOM, or nullopt when the encoding is not one we read, the
// bytes do not fit it, or the BOM and the declaration disagree.
std::optional<QByteArray> ToUtf8(QByteArray bytes)
{
    const ByteForm form = DetectByteForm(bytes);
    if (form == ByteForm::EightBit || form == ByteForm::Utf8Bom) {
        if (form == ByteForm::Utf8Bom)
            bytes.remove(0, 3);
        // The declaration is plain ASCII in every encoding read here.
        const Declared declared = DeclaredEncoding(QString::fromLatin1(bytes.left(200)));
        switch (declared) {
        case Declared::None:
        case Declared::Utf8:
            if (!CRvTextCodec::IsValidUtf8(bytes))
                return std::nullopt;
            return bytes;
        case Declared::Cp932:
        case Declared::EucJp:
            if (form == ByteForm::Utf8Bom)
                return std::nullopt;
            return CRvTextCodec::ToUtf8(bytes, declared == Declared::Cp932 ? CRvTextCodec::Legacy::Cp932
                                                                           : CRvTextCodec::Legacy::EucJp);
        case Declared::Utf16:
        case Declared::Other:
            return std::nullopt;
        }
        return std::nullopt;
    }

    const bool littleEndian = form == ByteForm::Utf16LeBom || form == ByteForm::Utf16Le;
    if (form == ByteForm::Utf16LeBom || form == ByteForm::Utf16BeBom)
        bytes.remove(0, 2);
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    const Declared declared = DeclaredEncoding(text.left(200));
    if (declared != Declared::None && declared != Declared::Utf16)
        return std::nullopt;
    return text.toUtf8();
}

bool DeclaresEntities(const pugi::xml_document &doc)
{
    for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_doctype && std::strstr(node.value(), "<!ENTITY") != nullptr)
            return true;
    }
    return false;
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

const char *CXmlDocument::CElement::GetAttributeUtf8(const char *utf8Name) const
{
    const pugi::xml_attribute attribute = pugi::xml_node(m_pNode).attribute(utf8Name);
    return attribute ? attribute.value() : nullptr;
}

CXmlDocument::CElement CXmlDocument::CElement::FindDescendant(const char *utf8Name) const
{
    if (!m_pNode)
        return CElement();
    return CElement(FirstDescendant(pugi::xml_node(m_pNode), utf8Name).internal_object());
}

CXmlDocument::CElement CXmlDocument::CElement::FindDescendant(const QString &name) const
{
    return FindDescendant(name.toUtf8().constData());
}

std::optional<std::string_view> CXmlDocument::CElement::GetPlainTextUtf8() const
{
    const pugi::xml_node element(m_pNode);
    if (!m_pNode || element.first_child())
        return std::nullopt;
    const char *text = element.value();
    std::size_t begin = 0;
    std::size_t length = std::strlen(text);
    while (begin < length && IsXmlSpace(text[begin]))
        ++begin;
    while (length > begin && IsXmlSpace(text[length - 1]))
        --length;
    return std::string_view(text + begin, length - begin);
}

QString CXmlDocument::CElement::GetText() const
{
    return m_pNode ? TextContent(pugi::xml_node(m_pNode)) : QString();
}

// ---- CXmlDocument ----

CXmlDocument::CXmlDocument()
    : m_pImpl(std::make_unique<Impl>())
{
}

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
    m_pImpl->buffer.clear();
    return true;
}

bool CXmlDocument::LoadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();

    std::optional<QByteArray> utf8 = ToUtf8(std::move(bytes));
    if (!utf8)
        return false;
    QByteArray buffer = std::move(*utf8);
    char *text = buffer.data();  // parsed in place: no second copy of a large file

    // Parsed into a document of its own so that a failure leaves the previous content in place.
    // pugixml never fetches a DTD or an entity and expands none but the predefined ones; a file
    // that declares entities is refused, so no text reads differently from what its author meant.
    auto doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = doc->load_buffer_inplace(text, static_cast<std::size_t>(buffer.size()),
                                                                   pugi::parse_default | pugi::parse_doctype | pugi::parse_embed_pcdata,
                                                                   pugi::encoding_utf8);
    if (!result || DeclaresEntities(*doc) || !doc->document_element())
        return false;

    m_pImpl->root = doc->document_element();
    m_pImpl->pDoc = std::move(doc);
    m_pImpl->buffer = std::move(buffer);
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
    ForEachDescendantElement(*m_pImpl->pDoc, [&](pugi::xml_node node) {
        if (std::strcmp(node.name(), name.constData()) != 0)
            return false;
        if (!anyAttribute) {
            const pugi::xml_attribute attribute = node.attribute(wantedAttr.constData());
            if (!attribute || std::strcmp(attribute.value(), wantedValue.constData()) != 0)
                return false;
        }
        found = node;
        return true;
    });
    return CElement(found.internal_object());
}

void CXmlDocument::CollectElements(const char *utf8Name, const char *const *utf8FieldNames, std::size_t fieldCount,
                                   std::vector<CElement> &elements, std::vector<CElement> &found) const
{
    static_assert(sizeof(CElement) == sizeof(pugi::xml_node_struct *), "an element is one pointer");
    std::vector<pugi::xml_node_struct *> groups;
    std::vector<pugi::xml_node_struct *> fields;
    CGroupWalker walker(utf8Name, utf8FieldNames, fieldCount, groups, fields);
    m_pImpl->pDoc->traverse(walker);
    elements.clear();
    elements.reserve(groups.size());
    for (pugi::xml_node_struct *node : groups)
        elements.push_back(CElement(node));
    found.clear();
    found.reserve(fields.size());
    for (pugi::xml_node_struct *node : fields)
        found.push_back(CElement(node));
}

std::vector<CXmlDocument::CElement> CXmlDocument::GetElements(const char *utf8Name) const
{
    std::vector<CElement> elements;
    ForEachDescendantElement(*m_pImpl->pDoc, [&](pugi::xml_node node) {
        if (std::strcmp(node.name(), utf8Name) == 0)
            elements.push_back(CElement(node.internal_object()));
        return false;
    });
    return elements;
}

QString CXmlDocument::GetNodeText(const QString &parentName, const QString &attrName, const QString &attrValue,
                                  const QString &childName, const QString &defaultText) const
{
    const CElement parent = FindElement(parentName, attrName, attrValue);
    if (parent.IsNull() || childName.isEmpty())
        return defaultText;
    const CElement child = parent.FindDescendant(childName);
    return child.IsNull() ? defaultText : child.GetText();
}
