#include "tools/datacheck/CBrandFind.h"

#include "app/CProgramFolder.h"
#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"

int CBrandFind::Run(const QString &text, QTextStream &out)
{
    CCatalogData catalog;
    catalog.SetDataFolder(CProgramFolder().GetDataFolder());

    CBrandIndex index;
    index.Build(catalog);
    const std::vector<int> rows = index.Find(text);
    for (const int row : rows) {
        const CBrandIndex::Entry &entry = index.GetAt(row);
        out << entry.strName << '\t' << entry.strPrefName << '\t' << CBrandIndex::ClassText(entry.nClass) << '\t'
            << CBrandIndex::RequiredText(entry.bRequired) << '\n';
    }
    out.flush();
    return static_cast<int>(rows.size());
}
