// The INI layer: any bytes as the settings file (read, then a write) and as the region table.

#include "data/CCatalogData.h"
#include "settings/CRvFileIni.h"
#include "tests/fuzz/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = FuzzFiles::Write(QStringLiteral("kelmora.ini"), data, size);
    const CRvFileIni settings(path);
    (void)settings.IsNotDispGuidance();
    FuzzFiles::Require(
        settings.GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), QString()).size() <= 259);
    (void)settings.GetInt(QStringLiteral("Settings"), QStringLiteral("Number"), 0);

    // A write keeps everything before the place it changes, and what it wrote reads back.
    const QByteArray before = FuzzFiles::Read(path);
    settings.WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
    const QByteArray after = FuzzFiles::Read(path);
    if (after != before)
        FuzzFiles::Require(settings.IsNotDispGuidance());

    const CCatalogData catalog(FuzzFiles::Write(QStringLiteral("BureauPref.pfd"), data, size));
    FuzzFiles::Require(catalog.GetBureauTable().GetSize() == 8);
    for (const BUREAU_DATA &bureau : catalog.GetBureauTable())
        FuzzFiles::Require(bureau.nPrefCnt <= BUREAU_DATA::kMaxPref);
    return 0;
}
