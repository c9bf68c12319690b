#pragma once
// A short-lived reader of one XML document. Its one query reads the text of a named child element
// below the first element with a given name (and, optionally, attribute value), falling back to a
// default whenever anything on the way is missing. No DTD, no external entities, no network.

#include <QString>

#include <memory>

class CXmlDocument
{
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument &) = delete;
    CXmlDocument &operator=(const CXmlDocument &) = delete;

    // Fresh content: an empty "GRoot" element with an XML declaration.
    bool CreateNewDocument();
    // True when a root element is held afterwards. A failed load keeps nothing of the file.
    bool LoadFile(const QString &path);
    QString GetNodeText(const QString &parentName, const QString &attrName, const QString &attrValue,
                        const QString &childName, const QString &defaultText) const;

    struct Impl;  // also used by the variety file loader's index

    Impl *GetImpl() const { return m_pImpl.get(); }

private:
    std::unique_ptr<Impl> m_pImpl;
};
