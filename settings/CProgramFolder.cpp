#include "settings/CProgramFolder.h"

#include "settings/CRvFileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

const QString CProgramFolder::kRegionTableName = QStringLiteral("BureauPref.pfd");
const QString CProgramFolder::kInstalledShareName = QStringLiteral("kelmora");
const QString CProgramFolder::kUserSettingsName = QStringLiteral("kelmora.ini");

namespace {

// Something other than a folder lies under the region table's name. Whether it can be read is
// the reader's matter: a region table that is there but unusable still fixes the layout.
bool RegionTableLiesAt(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

}  // namespace

CProgramFolder CProgramFolder::OfRunningProgram()
{
    const CRvFileAccess access;
    return CProgramFolder(access.GetExeFolder(), access.GetExeBaseName());
}

CProgramFolder::CProgramFolder(const QString &exeFolder, const QString &baseName)
{
    m_strExeFolder = QDir::cleanPath(QDir::current().absoluteFilePath(exeFolder));
    if (!m_strExeFolder.endsWith(QLatin1Char('/')))
        m_strExeFolder += QLatin1Char('/');
    const QString portableSettings = m_strExeFolder + baseName + QStringLiteral(".ini");

    if (RegionTableLiesAt(m_strExeFolder + kRegionTableName)) {
        m_layout = Layout::Portable;
    } else if (RegionTableLiesAt(InstalledShareFolder() + kRegionTableName)) {
        m_layout = Layout::Installed;
    } else {
        m_layout = Layout::NotFound;
    }

    if (m_layout == Layout::Installed) {
        m_strCatalogFolder = InstalledShareFolder();
        // GenericConfigLocation follows XDG_CONFIG_HOME and falls back to ~/.config.
        m_strSettingsPath =
            QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
                            + kInstalledShareName + QLatin1Char('/') + kUserSettingsName);
    } else {
        m_strCatalogFolder = m_strExeFolder;
        m_strSettingsPath = portableSettings;
    }
}

QString CProgramFolder::InstalledShareFolder() const
{
    // <prefix>/bin/ → <prefix>/share/kelmora/
    return QDir::cleanPath(m_strExeFolder + QStringLiteral("../share/") + kInstalledShareName) + QLatin1Char('/');
}

QString CProgramFolder::GetDataFolder() const
{
    // The value is used as written: no separator is added, so a configured folder ends in "/".
    return GetSettings().GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"),
                                   GetDefaultDataFolder());
}

QStringList CProgramFolder::GetRegionTablePlaces() const
{
    return {m_strExeFolder + kRegionTableName, InstalledShareFolder() + kRegionTableName};
}
