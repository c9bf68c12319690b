#pragma once
// A short-lived reader of one XML document. Its one query reads the text of a named child element
// below the first element with a given name (and, optionally, attribute value), falling back to a
// default whenever anything on the way is missing. No DTD, no external entities, no network.
//
// Files are read in the encoding they declare: UTF-8 (also with a BOM), UTF-16 (with a BOM, or
// without one when the declaration starts the file), Shift_JIS/CP932 and EUC-JP. Any other
// declared encoding, a DOCTYPE that declares entities, a reference to an entity XML does not
// predefine, or a file that is not well-formed fails the load.

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

class CXmlDocument
{
public:
    // One element of the held document. Valid while the document keeps the same content.
    class CElement
    {
    public:
        CElement() = default;

        bool IsNull() const { return m_pNode == nullptr; }
        // The attribute's text; nullopt when the element has no attribute of that name.
        std::optional<QString> GetAttribute(const char *utf8Name) const;
        // The same as UTF-8, in the document's own memory: valid while the document keeps the
        // same content; null when the element has no attribute of that name.
        const char *GetUtf8Attribute(const char *utf8Name) const;
        // The first descendant element of that name (any depth, document order); null when none.
        CElement FindDescendant(const char *utf8Name) const;
        // The element's whole descendant text, with the XML white space (blank, tab, line breaks)
        // around it trimmed; empty for a null element.
        QString GetText() const;
        // The same as UTF-8; for the usual element of one piece of text, a view of the
        // document's own memory, valid while the document keeps the same content.
        QByteArray GetUtf8Text() const;

        bool operator==(const CElement &other) const { return m_pNode == other.m_pNode; }
        bool operator!=(const CElement &other) const { return m_pNode != other.m_pNode; }

    private:
        friend class CXmlDocument;

        explicit CElement(pugi::xml_node_struct *node)
            : m_pNode(node)
        {}

        pugi::xml_node_struct *m_pNode = nullptr;
    };

    // Why a load failed, told to the user of the data checker: what is wrong, and the line of the
    // file it is on (0 when it is on no particular line).
    struct CLoadError {
        QString strReason;
        int nLine = 0;
    };

    // Largest file read: five times a file of 10,000 varieties.
    static constexpr long long kMaxFileSize = 64LL * 1024 * 1024;

    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument &) = delete;
    CXmlDocument &operator=(const CXmlDocument &) = delete;

    // Fresh content: an empty "GRoot" element with an XML declaration.
    bool CreateNewDocument();
    // True when the file was read and parsed. A failed load keeps the previous content and
    // nothing of the file, and says why in `error` when one is given.
    bool LoadFile(const QString &path, CLoadError *error = nullptr);

    // The root element of the content last given by CreateNewDocument or a successful LoadFile.
    CElement GetRoot() const;
    // The first element named `elementName` (anywhere, document order) whose attribute `attrName`
    // holds exactly `attrValue` (case counts); an element without that attribute does not match.
    // An empty element name gives the root; an empty attribute name or value gives the first
    // element of the name.
    CElement FindElement(const QString &elementName, const QString &attrName, const QString &attrValue) const;

    // Every element named `utf8GroupName` in document order, each with its first descendant (any
    // depth, document order) of every name in `utf8FieldNames`: aField[g * names + k] for group g
    // and name k, null where it has none. One walk, linear in the document however deeply the
    // groups nest.
    struct CGroups {
        std::vector<CElement> aGroup;
        std::vector<CElement> aField;
    };
    CGroups GetGroups(const char *utf8GroupName, const std::vector<const char *> &utf8FieldNames) const;

    // The text of the first `childName` element below the element FindElement gives, or
    // `defaultText` when either is missing. A child present but empty gives the empty text.
    QString GetNodeText(const QString &parentName, const QString &attrName, const QString &attrValue,
                        const QString &childName, const QString &defaultText) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
