#include "data/CXmlDocument.h"

#include "data/CRvTextCodec.h"

#include <QFile>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
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

// A node's identity without a library call: pugixml keeps it in a protected member, which a
// derived class may read. The group walk tests and compares nodes several times per element.
class CNodeIdentity : public pugi::xml_node
{
public:
    explicit CNodeIdentity(const pugi::xml_node &node) : pugi::xml_node(node) {}
    pugi::xml_node_struct *Get() const { return _root; }
};

pugi::xml_node_struct *Identity(const pugi::xml_node &node)
{
    return CNodeIdentity(node).Get();
}

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

// White space as XML knows it (blank, tab, line breaks) is cut from both ends, so an indented
// file reads the same as a compact one; other spaces, such as the ideographic space, are text.
QString TrimmedText(const char *text, std::size_t length)
{
    std::size_t begin = 0;
    while (begin < length && CXmlDocument::CElement::IsXmlSpace(text[begin]))
        ++begin;
    while (length > begin && CXmlDocument::CElement::IsXmlSpace(text[length - 1]))
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

// Element names are short: compared here rather than through a library call for each.
bool IsNamed(const char *name, const char *wanted)
{
    while (*name != '\0' && *name == *wanted) {
        ++name;
        ++wanted;
    }
    return *name == *wanted;
}

// Matches element names against one wanted name. A name read from a parsed file lies in the parse
// buffer, followed by the rest of the document: where sixteen bytes of the buffer follow it, two
// word loads masked to the wanted name and its terminator decide, in a few instructions instead
// of a loop over the characters. Elsewhere the characters are compared one by one.
class CNameMatcher
{
public:
    CNameMatcher(const char *wanted, const char *bufferBegin, std::size_t bufferSize)
        : m_pWanted(wanted), m_nBufferBegin(reinterpret_cast<std::uintptr_t>(bufferBegin))
    {
        const std::size_t length = std::strlen(wanted) + 1;  // with the terminator
        if (length > sizeof m_aWord || bufferSize < sizeof m_aWord)
            return;
        unsigned char word[sizeof m_aWord] = {};
        unsigned char mask[sizeof m_aWord] = {};
        std::memcpy(word, wanted, length);
        std::memset(mask, 0xFF, length);
        std::memcpy(m_aWord, word, sizeof word);
        std::memcpy(m_aMask, mask, sizeof mask);
        m_nWordSpan = bufferSize - sizeof m_aWord;
        m_bWords = true;
    }

    bool Matches(const char *name) const
    {
        // One unsigned comparison: a name before the buffer wraps round to a large offset.
        const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(name) - m_nBufferBegin;
        if (!m_bWords || offset > m_nWordSpan)
            return IsNamed(name, m_pWanted);
        std::uint64_t first = 0;
        std::memcpy(&first, name, sizeof first);
        if ((first & m_aMask[0]) != m_aWord[0])
            return false;
        if (m_aMask[1] == 0)
            return true;
        std::uint64_t second = 0;
        std::memcpy(&second, name + sizeof first, sizeof second);
        return (second & m_aMask[1]) == m_aWord[1];
    }

private:
    const char *m_pWanted;
    std::uintptr_t m_nBufferBegin;
    std::uintptr_t m_nWordSpan = 0;  // the last offset from which two words can be read
    std::uint64_t m_aWord[2] = {};
    std::uint64_t m_aMask[2] = {};
    bool m_bWords = false;
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

const char *CXmlDocument::CElement::GetPlainValueUtf8() const
{
    const pugi::xml_node element(m_pNode);
    if (!m_pNode || element.first_child())
        return nullptr;
    return element.value();
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

void CXmlDocument::ForEachGroup(const char *utf8GroupName, const char *const *utf8FieldNames, std::size_t fieldCount,
                                const GroupVisitor &visit, const CPiece &piece) const
{
    const char *const bufferBegin = m_pImpl->buffer.constData();
    const std::size_t bufferSize = static_cast<std::size_t>(m_pImpl->buffer.size());
    const CNameMatcher groupMatcher(utf8GroupName, bufferBegin, bufferSize);
    std::vector<CNameMatcher> fieldMatchers;
    fieldMatchers.reserve(fieldCount);
    bool fieldIsGroup = false;
    bool repeatedFields = false;
    for (std::size_t k = 0; k < fieldCount; ++k) {
        fieldMatchers.emplace_back(utf8FieldNames[k], bufferBegin, bufferSize);
        if (IsNamed(utf8FieldNames[k], utf8GroupName))
            fieldIsGroup = true;
        for (std::size_t j = 0; j < k; ++j) {
            if (IsNamed(utf8FieldNames[j], utf8FieldNames[k]))
                repeatedFields = true;
        }
    }

    // Every element met while groups are open is the first descendant of its name for those open
    // groups that have none yet. Groups with the field still unset always form the inner end of
    // the stack of open groups, so each element touches only the groups it actually fills: the
    // walk stays linear even in a file of deeply nested groups.
    struct OpenGroup
    {
        pugi::xml_node_struct *pNode;
        std::size_t nOrdinal;
    };
    std::vector<OpenGroup> open;
    std::vector<CFoundField> slots;  // fieldCount per open group, the innermost last
    std::size_t nextOrdinal = 0;
    std::size_t hint = 0;

    // The innermost open group takes the element when it has no such field yet, then the groups
    // around it, as far as they have none either.
    auto fill = [&](std::size_t k, pugi::xml_node_struct *node, const char *plain) {
        hint = k + 1;
        std::size_t at = slots.size() - fieldCount + k;
        for (std::size_t g = open.size(); slots[at].element.IsNull();) {
            slots[at].element = CElement(node);
            slots[at].pPlainUtf8 = plain;
            if (--g == 0)
                break;
            at -= fieldCount;
        }
    };

    // The usual group holds nothing but elements without children of their own: then the first
    // child of a name is its first descendant of that name, and one pass over the children does,
    // with far less bookkeeping than the general walk. Anything else (a child with children, a
    // group inside) is left to the general walk, which starts the group afresh.
    std::vector<CFoundField> flatSlots(fieldCount);
    auto scanFlatGroup = [&](const pugi::xml_node group, pugi::xml_node child) {
        // Held in locals: every library call below would otherwise make the compiler fetch them
        // again through the captured references.
        CFoundField *const found = flatSlots.data();
        const CNameMatcher *const matchers = fieldMatchers.data();
        const CNameMatcher groupName = groupMatcher;
        const std::size_t count = fieldCount;
        std::fill(found, found + count, CFoundField());
        std::size_t next = 0;  // the field after the last match is tried first
        for (; Identity(child); child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const char *const name = child.name();
            if (Identity(child.first_child()) || groupName.Matches(name))
                return false;
            std::size_t k = next;
            if (k >= count || !matchers[k].Matches(name)) {
                for (k = 0; k < count && !matchers[k].Matches(name); ++k) {
                }
            }
            if (k < count) {
                next = k + 1;
                if (found[k].element.IsNull())
                    found[k] = CFoundField{CElement(Identity(child)), child.value()};
            }
        }
        visit(nextOrdinal++, CElement(Identity(group)), found);
        return true;
    };
    const bool flatGroupsPossible = !fieldIsGroup && !repeatedFields;

    // One subtree, iteratively, so that a deeply nested file cannot exhaust the stack.
    auto walkSubtree = [&](const pugi::xml_node subtree) {
        pugi::xml_node_struct *const last = Identity(subtree);
        pugi::xml_node node = subtree;
        for (;;) {
            pugi::xml_node_struct *object = Identity(node);
            if (node.type() == pugi::node_element) {
                const char *const name = node.name();
                const pugi::xml_node child = node.first_child();
                const bool leaf = Identity(child) == nullptr;
                bool matchedField = false;
                // A group handed over whole by the quick scan is left at once.
                const bool scanned = open.empty() && !leaf && flatGroupsPossible && groupMatcher.Matches(name)
                                     && scanFlatGroup(node, child);
                if (!open.empty()) {
                    // Fields mostly come in the order asked for: the one after the last match first.
                    if (!repeatedFields && hint < fieldCount && fieldMatchers[hint].Matches(name)) {
                        fill(hint, object, leaf ? node.value() : nullptr);
                        matchedField = true;
                    } else {
                        for (std::size_t k = 0; k < fieldCount; ++k) {
                            if (fieldMatchers[k].Matches(name)) {
                                fill(k, object, leaf ? node.value() : nullptr);
                                matchedField = true;
                                if (!repeatedFields)
                                    break;
                            }
                        }
                    }
                }
                if (!scanned && (!matchedField || fieldIsGroup) && groupMatcher.Matches(name)) {
                    open.push_back(OpenGroup{object, nextOrdinal++});
                    slots.resize(slots.size() + fieldCount);
                    hint = 0;
                }
                if (!leaf && !scanned) {
                    node = child;
                    continue;
                }
            }
            // Leaving `node`, and the elements around it that hold nothing after it. A group is
            // handed over as it is left: all of it has been seen, and it is still fresh in the cache.
            for (;;) {
                if (!open.empty() && open.back().pNode == object) {
                    const std::size_t base = (open.size() - 1) * fieldCount;
                    visit(open.back().nOrdinal, CElement(object), slots.data() + base);
                    open.pop_back();
                    slots.resize(base);
                }
                if (object == last)
                    return;
                const pugi::xml_node next = node.next_sibling();
                if (Identity(next)) {
                    node = next;
                    break;
                }
                node = node.parent();
                object = Identity(node);
            }
        }
    };

    if (!piece.pFirst) {
        for (pugi::xml_node child = m_pImpl->pDoc->first_child(); Identity(child); child = child.next_sibling())
            walkSubtree(child);
        return;
    }
    nextOrdinal = piece.nFirstOrdinal;
    pugi::xml_node child(piece.pFirst);
    for (std::size_t i = 0; i < piece.nCount && Identity(child); ++i) {
        const pugi::xml_node next = child.next_sibling();
        walkSubtree(child);
        child = next;
    }
}

void CXmlDocument::ForEachGroup(const char *utf8GroupName, const char *const *utf8FieldNames, std::size_t fieldCount,
                                const GroupVisitor &visit) const
{
    ForEachGroup(utf8GroupName, utf8FieldNames, fieldCount, visit, CPiece());
}

std::vector<CXmlDocument::CPiece> CXmlDocument::Pieces(const char *utf8GroupName, std::size_t count) const
{
    const pugi::xml_node root = m_pImpl->pDoc->document_element();
    std::vector<pugi::xml_node_struct *> children;
    if (count > 1 && Identity(root) && !IsNamed(root.name(), utf8GroupName)) {
        for (pugi::xml_node child = root.first_child(); Identity(child); child = child.next_sibling())
            children.push_back(Identity(child));
    }
    if (children.size() < count || count < 2)
        return {CPiece()};
    std::vector<CPiece> pieces;
    pieces.reserve(count);
    for (std::size_t p = 0; p < count; ++p) {
        const std::size_t begin = children.size() * p / count;
        const std::size_t end = children.size() * (p + 1) / count;
        pieces.push_back(CPiece{children[begin], end - begin, p * (SIZE_MAX / count)});
    }
    return pieces;
}

void CXmlDocument::CollectElements(const char *utf8Name, const char *const *utf8FieldNames, std::size_t fieldCount,
                                   std::vector<CElement> &elements, std::vector<CElement> &found) const
{
    elements.clear();
    found.clear();
    ForEachGroup(utf8Name, utf8FieldNames, fieldCount, [&](std::size_t ordinal, CElement group, const CFoundField *fields) {
        // An inner group is left before the one around it: placed by its number, not by arrival.
        if (elements.size() <= ordinal) {
            elements.resize(ordinal + 1);
            found.resize((ordinal + 1) * fieldCount);
        }
        elements[ordinal] = group;
        for (std::size_t k = 0; k < fieldCount; ++k)
            found[ordinal * fieldCount + k] = fields[k].element;
    });
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
