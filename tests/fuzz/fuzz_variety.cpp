// The variety file through the loader: any bytes as Data/01/0101.vdx.

#include "data/CCatalogData.h"
#include "tests/fuzz/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzFiles::Write(QStringLiteral("Data/01/0101.vdx"), data, size);
    CCatalogData catalog(FuzzFiles::Folder() + QStringLiteral("BureauPref.pfd"));
    FuzzFiles::Require(catalog.SetDataFolder(FuzzFiles::Folder() + QStringLiteral("Data/")));
    CGrainInfoArray list;
    FuzzFiles::Require(catalog.LoadGrainInfo(1, 1, list));
    FuzzFiles::Require(list.GetSize() <= CCatalogData::kMaxDataCount);
    for (const GRAIN_INFO_DATA &grain : list)
        FuzzFiles::Require(grain.strRequired == (grain.bRequired ? QStringLiteral("必須") : QStringLiteral("選択")));
    return 0;
}
