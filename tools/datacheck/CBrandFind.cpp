#include "tools/datacheck/CBrandFind.h"

#include "app/CRvFileAccess.h"
#include "app/CRvFileIni.h"
#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"

int CBrandFind::Run(const QString &text, QTextStream &out)
{
    CCatalogData catalog;
    const QString defaultFolder = CRvFileAccess().GetExeFolder() + QStringLiteral("Data/");
    catalog.SetDataFolder(
        CRvFileIni().GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), defaultFolder));

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
