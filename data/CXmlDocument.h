#pragma once
// A short-lived reader of one XML document. Its one query reads the text of a named child element
// below the first element with a given name (and, optionally, attribute value), falling back to a
// default whenever anything on the way is missing. No DTD, no external entities, no network.
//
// Files are read in the encoding they declare: UTF-8 (also with a BOM), UTF-16 (with a BOM),
// Shift_JIS/CP932 and EUC-JP. Any other declared encoding, a DOCTYPE that declares entities, or a
// file that is not well-formed fails the load.

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

class CXmlDocument
{
public:
    // One element of the held document, for callers that walk many elements at once (the variety
    // file loader's index, the data checker). Valid while the document keeps the same content.
    class CElement
    {
    public:
        CElement() = default;

        bool IsNull() const { return m_pNode == nullptr; }
        // The attribute's text; nullopt when the element has no attribute of that name.
        std::optional<QString> GetAttribute(const char *utf8Name) const;
        // The same as UTF-8 inside the document, or null when absent; for callers that compare
        // many values without converting each.
        const char *GetAttributeUtf8(const char *utf8Name) const;
        // The first descendant element of that name (any depth, document order); null when none.
        CElement FindDescendant(const char *utf8Name) const;
        CElement FindDescendant(const QString &name) const;
        // The element's whole descendant text, with the XML white space (blank, tab, line breaks)
        // around it trimmed.
        QString GetText() const;
        // The same text as UTF-8 inside the document, without converting it, when the element
        // holds nothing but that text (the usual case); nullopt otherwise. Valid while the
        // document keeps its content.
        std::optional<std::string_view> GetPlainTextUtf8() const
        {
            const char *const text = GetPlainValueUtf8();
            if (!text)
                return std::nullopt;
            return TrimXmlSpace(text);
        }
        // The element's own text, untrimmed, when it has no child nodes; null otherwise (also for
        // a null element).
        const char *GetPlainValueUtf8() const;

        bool operator==(const CElement &other) const { return m_pNode == other.m_pNode; }
        bool operator!=(const CElement &other) const { return m_pNode != other.m_pNode; }

        // The white space XML knows (blank, tab, line breaks), trimmed from element text; other
        // spaces, such as the ideographic space, are text.
        static bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
        static std::string_view TrimXmlSpace(std::string_view text)
        {
            while (!text.empty() && IsXmlSpace(text.front()))
                text.remove_prefix(1);
            while (!text.empty() && IsXmlSpace(text.back()))
                text.remove_suffix(1);
            return text;
        }

    private:
        friend class CXmlDocument;

        explicit CElement(pugi::xml_node_struct *node) : m_pNode(node) {}

        pugi::xml_node_struct *m_pNode = nullptr;
    };

    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument &) = delete;
    CXmlDocument &operator=(const CXmlDocument &) = delete;

    // Fresh content: an empty "GRoot" element with an XML declaration.
    bool CreateNewDocument();
    // True when the file was read and parsed. A failed load keeps the previous content and
    // nothing of the file.
    bool LoadFile(const QString &path);

    // The root element of the content last given by CreateNewDocument or a successful LoadFile.
    CElement GetRoot() const;
    // The first element named `elementName` (anywhere, document order) whose attribute `attrName`
    // holds exactly `attrValue` (case counts); an element without that attribute does not match.
    // An empty element name gives the root; an empty attribute name or value gives the first
    // element of the name.
    CElement FindElement(const QString &elementName, const QString &attrName, const QString &attrValue) const;
    // Every element of the name anywhere in the document, in document order.
    std::vector<CElement> GetElements(const char *utf8Name) const;
    // A value element found by ForEachGroup and, when it holds nothing but text (no child nodes,
    // the usual case), that text as it stands in the document, untrimmed; null otherwise.
    struct CFoundField
    {
        CElement element;
        const char *pPlainUtf8 = nullptr;
    };
    // A run of consecutive children of the root element: a large document is walked in pieces,
    // which may be walked at the same time on different threads (see Pieces).
    struct CPiece
    {
        pugi::xml_node_struct *pFirst = nullptr;  // null: the whole document
        std::size_t nCount = 0;
        // Ordinals of the groups of this piece start here, so that they follow document order
        // across pieces.
        std::size_t nFirstOrdinal = 0;
    };
    // The root element's children cut into at most `count` pieces of about equal length, in
    // document order. The root itself contributes nothing when it is not a group (no group is
    // open around it), so the pieces together see what the whole walk sees; a root that is a
    // group, or one with fewer children than pieces, gives the whole document as one piece.
    std::vector<CPiece> Pieces(const char *utf8GroupName, std::size_t count) const;

    // Every element named `utf8GroupName` with its first descendants named utf8FieldNames[k]
    // (fields[k], null when it has none), in one walk of the document (or of one piece of it) and
    // in time linear in it. `visit` gets the group's number in document order and is called as
    // the walk leaves the group, so an inner group comes before the group around it; `fields` is
    // valid during the call only. Walks of different pieces may run on different threads at the
    // same time; each calls `visit` on its own thread.
    using GroupVisitor = std::function<void(std::size_t ordinal, CElement group, const CFoundField *fields)>;
    void ForEachGroup(const char *utf8GroupName, const char *const *utf8FieldNames, std::size_t fieldCount,
                      const GroupVisitor &visit, const CPiece &piece) const;
    void ForEachGroup(const char *utf8GroupName, const char *const *utf8FieldNames, std::size_t fieldCount,
                      const GroupVisitor &visit) const;
    // The same, gathered: elements[i] is the i-th element named `utf8Name`, and
    // found[i * fieldCount + k] its first descendant named utf8FieldNames[k], or null.
    void CollectElements(const char *utf8Name, const char *const *utf8FieldNames, std::size_t fieldCount,
                         std::vector<CElement> &elements, std::vector<CElement> &found) const;

    // The text of the first `childName` element below the element FindElement gives, or
    // `defaultText` when either is missing. A child present but empty gives the empty text.
    QString GetNodeText(const QString &parentName, const QString &attrName, const QString &attrValue,
                        const QString &childName, const QString &defaultText) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
