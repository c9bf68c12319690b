#include "tools/datacheck/CBrandFind.h"

#include "data/CBrandIndex.h"
#include "data/CCatalogData.h"
#include "settings/CProgramFolder.h"

namespace {

void BuildIndex(const CProgramFolder &program, CBrandIndex &index)
{
    CCatalogData catalog(program.GetRegionTablePath());
    catalog.SetDataFolder(program.GetDataFolder());
    index.Build(catalog);
}

}  // namespace

int CBrandFind::Run(const CProgramFolder &program, const QString &text, QTextStream &out)
{
    CBrandIndex index;
    BuildIndex(program, index);
    const std::vector<int> rows = index.Find(text);
    for (const int row : rows) {
        const CBrandIndex::Entry &entry = index.GetAt(row);
        out << entry.strName << '\t' << entry.strPrefName << '\t' << GrainClassText(entry.nClass) << '\t'
            << RequiredText(entry.bRequired) << '\n';
    }
    out.flush();
    return static_cast<int>(rows.size());
}

bool CBrandFind::Profile(const CProgramFolder &program, const QString &name, QTextStream &out)
{
    CBrandIndex index;
    BuildIndex(program, index);
    BRAND_PROFILE profile;
    if (!index.GetProfile(name, profile))
        return false;
    out << CBrandProfile::Format(profile);
    out.flush();
    return true;
}
