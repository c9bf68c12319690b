// Where the program's files lie: portable (beside the executable), installed (<prefix>/share and
// the user's configuration folder) and neither, decided by what lies where.

#include "support/TestFiles.h"

#include "data/CCatalogData.h"
#include "settings/CProgramFolder.h"
#include "settings/CRvFileAccess.h"
#include "settings/CRvFileIni.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {

const QByteArray kRegionTable = "[Bureau01]\nBureauName=北海道\nPrefCnt=1\nPrefName01=石狩\n";

// Sets an environment variable for one test and puts back what was there.
class CScopedEnv
{
public:
    CScopedEnv(const char *name, const std::optional<QString> &value)
        : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qEnvironmentVariable(name);
        Set(value);
    }
    ~CScopedEnv() { Set(m_old); }
    CScopedEnv(const CScopedEnv &) = delete;
    CScopedEnv &operator=(const CScopedEnv &) = delete;

private:
    void Set(const std::optional<QString> &value) const
    {
        if (value)
            qputenv(m_name, value->toLocal8Bit());
        else
            qunsetenv(m_name);
    }
    const char *m_name;
    std::optional<QString> m_old;
};

}  // namespace

class TestProgramFolder : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_pDir = nullptr;
    QString m_strRoot;  // ends in "/"

    QString Prefix() const { return m_strRoot + QStringLiteral("usr/"); }
    QString Share() const { return Prefix() + QStringLiteral("share/kelmora/"); }
    QString Config() const { return m_strRoot + QStringLiteral("config/"); }
    // The program "kelmora" run from <prefix>/bin/.
    CProgramFolder Program() const
    {
        QDir().mkpath(Prefix() + QStringLiteral("bin/"));
        return CProgramFolder(Prefix() + QStringLiteral("bin/"), QStringLiteral("kelmora"));
    }

private Q_SLOTS:
    void init()
    {
        m_pDir = new QTemporaryDir();
        QVERIFY(m_pDir->isValid());
        m_strRoot = m_pDir->path() + QLatin1Char('/');
    }

    void cleanup()
    {
        delete m_pDir;
        m_pDir = nullptr;
    }

    void portableWhenTheRegionTableLiesBesideTheExecutable()
    {
        // An installed catalogue as well does not change anything for a program folder.
        TestFiles::Write(Share() + QStringLiteral("BureauPref.pfd"), kRegionTable);
        TestFiles::Write(Prefix() + QStringLiteral("bin/BureauPref.pfd"), kRegionTable);
        const CScopedEnv config("XDG_CONFIG_HOME", Config());

        const CProgramFolder program = Program();
        QCOMPARE(program.GetLayout(), CProgramFolder::Layout::Portable);
        QCOMPARE(program.GetRegionTablePath(), Prefix() + QStringLiteral("bin/BureauPref.pfd"));
        QCOMPARE(program.GetSettingsPath(), Prefix() + QStringLiteral("bin/kelmora.ini"));
        QCOMPARE(program.GetDefaultDataFolder(), Prefix() + QStringLiteral("bin/Data/"));
        QCOMPARE(program.GetSettings().GetIniPath(), Prefix() + QStringLiteral("bin/kelmora.ini"));

        // The settings file is never made in a folder that is not there.
        CProgramFolder(m_strRoot + QStringLiteral("gone/"), QStringLiteral("kelmora"))
            .GetSettings()
            .WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
        QVERIFY(!QFileInfo::exists(m_strRoot + QStringLiteral("gone")));
    }

    void installedWhenTheRegionTableLiesInTheSharedFolder()
    {
        TestFiles::Write(Share() + QStringLiteral("BureauPref.pfd"), kRegionTable);
        const CScopedEnv config("XDG_CONFIG_HOME", Config());

        const CProgramFolder program = Program();
        QCOMPARE(program.GetLayout(), CProgramFolder::Layout::Installed);
        QCOMPARE(program.GetExeFolder(), Prefix() + QStringLiteral("bin/"));
        QCOMPARE(program.GetRegionTablePath(), Share() + QStringLiteral("BureauPref.pfd"));
        QCOMPARE(program.GetDefaultDataFolder(), Share() + QStringLiteral("Data/"));
        QCOMPARE(program.GetDataFolder(), Share() + QStringLiteral("Data/"));
        QCOMPARE(program.GetSettingsPath(), Config() + QStringLiteral("kelmora/kelmora.ini"));

        // The catalogue reads the shared region table.
        const CCatalogData catalog(program.GetRegionTablePath());
        QCOMPARE(catalog.GetBureauTable()[0].strBureauName, QStringLiteral("北海道"));

        // The first write makes the user's folder, for the user alone, and stores the flag there.
        QVERIFY(!QFileInfo::exists(Config()));
        program.GetSettings().WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"),
                                          QStringLiteral("True"));
        QCOMPARE(TestFiles::Read(Config() + QStringLiteral("kelmora/kelmora.ini")),
                 QByteArray("[Guidance]\nbNotDispGuidance=True\n"));
        const QFile::Permissions made = QFileInfo(Config() + QStringLiteral("kelmora")).permissions();
        QCOMPARE(made & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(made & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
        QVERIFY(program.GetSettings().IsNotDispGuidance());
        // Nothing is written beside the program or into the shared folder.
        QVERIFY(!QFileInfo::exists(Prefix() + QStringLiteral("bin/kelmora.ini")));
        QCOMPARE(QDir(Share()).entryList(QDir::Files), QStringList{QStringLiteral("BureauPref.pfd")});

        // The user's DataFolderPath still names the data folder, as written.
        program.GetSettings().WriteString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"),
                                          QStringLiteral("/srv/rice/"));
        QCOMPARE(program.GetDataFolder(), QStringLiteral("/srv/rice/"));
        QCOMPARE(TestFiles::Read(Config() + QStringLiteral("kelmora/kelmora.ini")),
                 QByteArray("[Guidance]\nbNotDispGuidance=True\n[Settings]\nDataFolderPath=/srv/rice/\n"));
    }

    void installedSettingsFollowTheHomeFolderWithoutXdgConfigHome()
    {
        TestFiles::Write(Share() + QStringLiteral("BureauPref.pfd"), kRegionTable);
        const CScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
        const CScopedEnv home("HOME", m_strRoot + QStringLiteral("home"));

        const CProgramFolder program = Program();
        QCOMPARE(program.GetSettingsPath(), m_strRoot + QStringLiteral("home/.config/kelmora/kelmora.ini"));
        // Neither the home folder's .config nor kelmora/ need be there before the first write.
        program.GetSettings().WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"),
                                          QStringLiteral("False"));
        QCOMPARE(TestFiles::Read(m_strRoot + QStringLiteral("home/.config/kelmora/kelmora.ini")),
                 QByteArray("[Guidance]\nbNotDispGuidance=False\n"));
    }

    void neitherFoundKeepsThePlacesBesideTheExecutable()
    {
        // A folder of the region table's name is no region table.
        QDir().mkpath(Share() + QStringLiteral("BureauPref.pfd"));
        const CScopedEnv config("XDG_CONFIG_HOME", Config());

        const CProgramFolder program = Program();
        QCOMPARE(program.GetLayout(), CProgramFolder::Layout::NotFound);
        QCOMPARE(program.GetRegionTablePath(), Prefix() + QStringLiteral("bin/BureauPref.pfd"));
        QCOMPARE(program.GetSettingsPath(), Prefix() + QStringLiteral("bin/kelmora.ini"));
        QCOMPARE(program.GetDataFolder(), Prefix() + QStringLiteral("bin/Data/"));
        QCOMPARE(
            program.GetRegionTablePlaces(),
            (QStringList{Prefix() + QStringLiteral("bin/BureauPref.pfd"), Share() + QStringLiteral("BureauPref.pfd")}));
        const CCatalogData catalog(program.GetRegionTablePath());
        QVERIFY(catalog.GetBureauTable()[0].strBureauName.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_program_folder.moc"
