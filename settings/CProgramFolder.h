#pragma once
// Where the program's own files lie, decided by what lies where (never by what can be written):
//
// - Portable: the region table "BureauPref.pfd" lies beside the executable. Region table,
//   settings file (<base name>.ini) and the default data folder ("Data/") are all beside it, so
//   a build folder or a copied folder works as it is.
// - Installed: otherwise, when <exe folder>/../share/kelmora/BureauPref.pfd exists. Region table
//   and default data folder come from that share folder; the settings file is the user's own,
//   <config folder>/kelmora/kelmora.ini (XDG_CONFIG_HOME, else ~/.config).
// - Neither: the portable places, so the program opens with eight empty regions as it always has.
//
// main() works this out once for the running executable and hands it on; a tool looking at a
// program folder from outside (the data checker's --root) and the tests name the folder instead.

#include "settings/CRvFileIni.h"

#include <QString>
#include <QStringList>

class CProgramFolder
{
public:
    enum class Layout { Portable, Installed, NotFound };

    static const QString kRegionTableName;     // "BureauPref.pfd"
    static const QString kInstalledShareName;  // "kelmora", the folder below <prefix>/share
    static const QString kUserSettingsName;    // "kelmora.ini", the file in the user's config folder

    // The program `baseName` run from `exeFolder`; a relative folder is taken from the current
    // folder, and "/" is added when missing.
    CProgramFolder(const QString &exeFolder, const QString &baseName);
    // The running executable's.
    static CProgramFolder OfRunningProgram();

    Layout GetLayout() const { return m_layout; }
    bool IsInstalled() const { return m_layout == Layout::Installed; }

    // Folder of the executable, ending in "/".
    const QString &GetExeFolder() const { return m_strExeFolder; }
    // Folder that holds the region table and the default data folder, ending in "/".
    const QString &GetCatalogFolder() const { return m_strCatalogFolder; }
    QString GetRegionTablePath() const { return m_strCatalogFolder + kRegionTableName; }
    const QString &GetSettingsPath() const { return m_strSettingsPath; }
    // The settings file; installed, its per-user folder is made on the first write.
    CRvFileIni GetSettings() const { return CRvFileIni(m_strSettingsPath, IsInstalled()); }
    // The data folder when the settings file names none: the catalogue folder + "Data/".
    QString GetDefaultDataFolder() const { return m_strCatalogFolder + QStringLiteral("Data/"); }
    // The data folder the program uses: [Settings] DataFolderPath as written, else the default.
    QString GetDataFolder() const;

    // Every place a region table was looked for, in the order they count.
    QStringList GetRegionTablePlaces() const;

private:
    QString InstalledShareFolder() const;

    QString m_strExeFolder;
    QString m_strCatalogFolder;
    QString m_strSettingsPath;
    Layout m_layout = Layout::NotFound;
};
