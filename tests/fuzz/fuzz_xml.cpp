// The XML document: any bytes as a file, loaded, then every query the loader and the data
// checker make.

#include "data/CXmlDocument.h"
#include "tests/fuzz/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = FuzzFiles::Write(QStringLiteral("document.xml"), data, size);
    CXmlDocument doc;
    FuzzFiles::Require(doc.CreateNewDocument());
    CXmlDocument::CLoadError error;
    if (!doc.LoadFile(path, &error)) {
        // A failed load says why and keeps the fresh content.
        FuzzFiles::Require(!error.strReason.isEmpty());
        FuzzFiles::Require(doc.FindElement(QStringLiteral("GRoot"), QString(), QString()) == doc.GetRoot());
        return 0;
    }
    FuzzFiles::Require(!doc.GetRoot().IsNull());
    const std::vector<const char *> names = {"ID", "Name", "Requierd", "Grain"};
    const CXmlDocument::CGroups groups = doc.GetGroups("Grain", names);
    FuzzFiles::Require(groups.aField.size() == groups.aGroup.size() * names.size());
    for (std::size_t g = 0; g < groups.aGroup.size() && g < 64; ++g) {
        // The one walk gives what a search below each group gives.
        for (std::size_t k = 0; k < names.size(); ++k) {
            const CXmlDocument::CElement field = groups.aField[g * names.size() + k];
            FuzzFiles::Require(field == groups.aGroup[g].FindDescendant(names[k]));
            (void)field.GetText();
        }
        (void)groups.aGroup[g].GetAttribute("Index");
    }
    (void)doc.GetNodeText(QStringLiteral("Header"), QString(), QString(), QStringLiteral("DataCount"),
                          QStringLiteral("0"));
    (void)doc.GetNodeText(QStringLiteral("Grain"), QStringLiteral("Index"), QStringLiteral("0"), QStringLiteral("Name"),
                          QString());
    (void)doc.GetRoot().GetText();
    return 0;
}
