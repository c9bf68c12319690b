// The settings file and file access: private-profile reading rules, writing that changes one line
// and replaces the file atomically, and the encodings a settings file may come in.

#include "settings/CProgramFolder.h"
#include "settings/CRvFileAccess.h"
#include "settings/CRvFileIni.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

enum class Enc { Utf8, Utf8Bom, Utf16Le, Utf16Be, Cp932 };

QByteArray Encode(const QString &text, Enc encoding)
{
    switch (encoding) {
    case Enc::Utf8:
        return text.toUtf8();
    case Enc::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Enc::Utf16Le:
        return TestFiles::Utf16(text, true);
    case Enc::Utf16Be:
        return TestFiles::Utf16(text, false);
    case Enc::Cp932:
        return TestFiles::Legacy(text, "CP932");
    }
    return QByteArray();
}

}  // namespace

Q_DECLARE_METATYPE(Enc)

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_pDir = nullptr;
    QString m_strFolder;

    QString SettingsPath() const { return m_strFolder + QStringLiteral("Viewer.ini"); }
    CRvFileIni Settings() const { return CRvFileIni(SettingsPath()); }
    void WriteSettings(const QByteArray &bytes) const { TestFiles::Write(SettingsPath(), bytes); }

private Q_SLOTS:
    void init()
    {
        m_pDir = new QTemporaryDir();
        QVERIFY(m_pDir->isValid());
        m_strFolder = m_pDir->path() + QLatin1Char('/');
    }

    void cleanup()
    {
        delete m_pDir;
        m_pDir = nullptr;
    }

    void executableFolderComesFromTheRunningProgram()
    {
        const CRvFileAccess access;
        QCOMPARE(access.GetExeFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
        QCOMPARE(access.GetExeBaseName(), QStringLiteral("test_settings_file"));
        // Not the current folder.
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_strFolder);
        QCOMPARE(access.GetExeFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
        QDir::setCurrent(before);
    }

    void programFolderNamedRelatively()
    {
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_pDir->path());
        QDir().mkdir(QStringLiteral("prog"));
        const CProgramFolder program(QStringLiteral("prog"), QStringLiteral("kelmora"));
        QDir::setCurrent(before);
        QCOMPARE(program.GetExeFolder(), m_strFolder + QStringLiteral("prog/"));
        QCOMPARE(program.GetSettings().GetIniPath(), m_strFolder + QStringLiteral("prog/kelmora.ini"));
    }

    void fileAndFolderExistence()
    {
        const CRvFileAccess access;
        TestFiles::Write(m_strFolder + QStringLiteral("file.txt"), "x");
        QVERIFY(!access.IsFileExist(QString()));
        QVERIFY(access.IsFileExist(m_strFolder + QStringLiteral("file.txt")));
        QVERIFY(access.IsFileExist(m_pDir->path()));  // a folder is an entry too
        QVERIFY(!access.IsFileExist(m_strFolder + QStringLiteral("missing.txt")));
        QVERIFY(access.IsFolderExist(m_pDir->path()));
        QVERIFY(access.IsFolderExist(m_strFolder));
        QVERIFY(!access.IsFolderExist(m_strFolder + QStringLiteral("file.txt")));
        QVERIFY(!access.IsFolderExist(m_strFolder + QStringLiteral("missing")));
        QVERIFY(!access.IsFolderExist(QString()));
    }

    void boundFileNames()
    {
        // Beside the executable: its base name with ".ini".
        QCOMPARE(CProgramFolder(m_strFolder, QStringLiteral("Viewer")).GetSettings().GetIniPath(), SettingsPath());
        QCOMPARE(CRvFileIni(SettingsPath()).GetIniPath(), SettingsPath());
    }

    void readingRules_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QString settings = QStringLiteral("[Settings]\nDataFolderPath=/srv/rice/\n");
        QTest::newRow("plain") << settings << "Settings"
                               << "DataFolderPath"
                               << "/srv/rice/";
        QTest::newRow("names without regard to case") << settings << "SETTINGS"
                                                      << "datafolderpath"
                                                      << "/srv/rice/";
        QTest::newRow("missing key") << settings << "Settings"
                                     << "Other"
                                     << "<default>";
        QTest::newRow("missing section") << settings << "Guidance"
                                         << "DataFolderPath"
                                         << "<default>";
        QTest::newRow("blanks trimmed") << "[ Settings ]\n  DataFolderPath  =   /a b/  \t\n"
                                        << "Settings"
                                        << "DataFolderPath"
                                        << "/a b/";
        QTest::newRow("present but empty") << "[Settings]\nDataFolderPath=\n"
                                           << "Settings"
                                           << "DataFolderPath"
                                           << "";
        QTest::newRow("first key wins") << "[S]\nk=one\nK=two\n"
                                        << "S"
                                        << "k"
                                        << "one";
        QTest::newRow("first section wins") << "[S]\na=1\n[s]\nk=two\n"
                                            << "S"
                                            << "k"
                                            << "<default>";
        QTest::newRow("key of another section") << "[A]\nk=1\n[B]\nx=2\n"
                                                << "B"
                                                << "k"
                                                << "<default>";
        QTest::newRow("line without equals") << "[S]\nk\nk=later\n"
                                             << "S"
                                             << "k"
                                             << "<default>";
        QTest::newRow("comment line") << "[S]\n;k=commented\nk=real\n"
                                      << "S"
                                      << "k"
                                      << "real";
        QTest::newRow("equals in value") << "[S]\nk=a=b\n"
                                         << "S"
                                         << "k"
                                         << "a=b";
        QTest::newRow("CRLF") << "[S]\r\nk=v\r\nx=y\r\n"
                              << "S"
                              << "k"
                              << "v";
        QTest::newRow("no final line break") << "[S]\nk=v"
                                             << "S"
                                             << "k"
                                             << "v";
        QTest::newRow("key before any section") << "k=v\n[S]\nx=1\n"
                                                << "S"
                                                << "k"
                                                << "<default>";
        QTest::newRow("Japanese") << "[Bureau01]\nBureauName=北海道\n"
                                  << "bureau01"
                                  << "bureauname"
                                  << "北海道";
        QTest::newRow("cut to 259") << (QStringLiteral("[S]\nk=") + QString(300, QLatin1Char('x'))
                                        + QStringLiteral("\n"))
                                    << "S"
                                    << "k" << QString(259, QLatin1Char('x'));
    }

    void readingRules()
    {
        QFETCH(QString, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        WriteSettings(content.toUtf8());
        QCOMPARE(Settings().GetString(section, key, QStringLiteral("<default>")), expected);
    }

    // One pair of matching quotes round a value is dropped, and nothing else.
    void quotedValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double") << "\"/srv/rice/Data/\"" << QStringLiteral("/srv/rice/Data/");
        QTest::newRow("single, blanks inside kept") << " ' a b ' " << QStringLiteral(" a b ");
        QTest::newRow("quotes inside") << "\"say \"hi\"\"" << QStringLiteral("say \"hi\"");
        QTest::newRow("empty") << "\"\"" << QString();
        QTest::newRow("lone quote") << "\"" << QStringLiteral("\"");
        QTest::newRow("mismatched") << "\"/a/'" << QStringLiteral("\"/a/'");
    }

    void quotedValues()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        WriteSettings((QStringLiteral("[S]\nk=") + value).toUtf8());
        QCOMPARE(Settings().GetString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("-")), expected);
    }

    void missingFileGivesDefaults()
    {
        const CRvFileIni settings = Settings();
        QCOMPARE(settings.GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QCOMPARE(settings.GetInt(QStringLiteral("S"), QStringLiteral("k"), 42), 42);
        QVERIFY(!settings.IsNotDispGuidance());
        QVERIFY(!QFile::exists(SettingsPath()));  // reading creates nothing
    }

    void integers_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("digits then letters") << "12abc" << 12;
        QTest::newRow("no digits") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("negative") << "-7" << -7;
        QTest::newRow("plus sign") << "+5" << 5;
        QTest::newRow("blanks around") << "  42  " << 42;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("beyond the range") << "99999999999" << INT_MAX;
        QTest::newRow("below the range") << "-99999999999" << INT_MIN;
    }

    void integers()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        WriteSettings((QStringLiteral("[S]\nk=") + value + QStringLiteral("\n")).toUtf8());
        QCOMPARE(Settings().GetInt(QStringLiteral("S"), QStringLiteral("k"), -1), expected);
        QCOMPARE(Settings().GetInt(QStringLiteral("S"), QStringLiteral("missing"), -1), -1);
    }

    void guidanceFlag_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << "[Guidance]\nbNotDispGuidance=True\n" << true;
        QTest::newRow("True with blanks") << "[guidance]\nbnotdispguidance = True \n" << true;
        QTest::newRow("true") << "[Guidance]\nbNotDispGuidance=true\n" << false;
        QTest::newRow("TRUE") << "[Guidance]\nbNotDispGuidance=TRUE\n" << false;
        QTest::newRow("1") << "[Guidance]\nbNotDispGuidance=1\n" << false;
        QTest::newRow("empty") << "[Guidance]\nbNotDispGuidance=\n" << false;
        QTest::newRow("longer") << "[Guidance]\nbNotDispGuidance=TrueTrue\n" << false;
        QTest::newRow("False") << "[Guidance]\nbNotDispGuidance=False\n" << false;
        QTest::newRow("missing key") << "[Guidance]\n" << false;
        QTest::newRow("\"True\"") << "[Guidance]\nbNotDispGuidance=\"True\"\n" << true;
        QTest::newRow("'True'") << "[Guidance]\nbNotDispGuidance='True'\n" << true;
        QTest::newRow("\"True'") << "[Guidance]\nbNotDispGuidance=\"True'\n" << false;
    }

    void guidanceFlag()
    {
        QFETCH(QString, content);
        QFETCH(bool, expected);
        WriteSettings(content.toUtf8());
        QCOMPARE(Settings().IsNotDispGuidance(), expected);
    }

    void encodings_data()
    {
        QTest::addColumn<Enc>("encoding");
        QTest::newRow("UTF-8") << Enc::Utf8;
        QTest::newRow("UTF-8 with BOM") << Enc::Utf8Bom;
        QTest::newRow("UTF-16 LE") << Enc::Utf16Le;
        QTest::newRow("UTF-16 BE") << Enc::Utf16Be;
        QTest::newRow("Shift_JIS (CP932)") << Enc::Cp932;
    }

    // Each encoding is read, and a write keeps the file's encoding, its line ends and every other
    // byte: the result is exactly the original text with one line changed.
    void encodings()
    {
        QFETCH(Enc, encoding);
        // "ソ" and "表" carry 0x5C ("\") as their second byte in Shift_JIS.
        const QString original = QStringLiteral("; 設定ファイル\r\n[Guidance]\r\nbNotDispGuidance = False\r\n\r\n"
                                                "[Settings]\r\nDataFolderPath=/ソフト/表/\r\n");
        WriteSettings(Encode(original, encoding));

        const CRvFileIni settings = Settings();
        QCOMPARE(settings.GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), QString()),
                 QStringLiteral("/ソフト/表/"));

        settings.WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
        QString expected = original;
        expected.replace(QStringLiteral("bNotDispGuidance = False"), QStringLiteral("bNotDispGuidance = True"));
        QCOMPARE(TestFiles::Read(SettingsPath()), Encode(expected, encoding));
        QVERIFY(settings.IsNotDispGuidance());

        settings.WriteString(QStringLiteral("Settings"), QStringLiteral("Note"), QStringLiteral("米"));
        expected.replace(QStringLiteral("DataFolderPath=/ソフト/表/\r\n"),
                         QStringLiteral("DataFolderPath=/ソフト/表/\r\nNote=米\r\n"));
        QCOMPARE(TestFiles::Read(SettingsPath()), Encode(expected, encoding));
    }

    // A UTF-16 file whose last code unit is cut off: the appended section starts on a unit
    // boundary, every byte before it stays, and the whole file decodes.
    void utf16FileWithAnOddByteCount_data()
    {
        QTest::addColumn<bool>("littleEndian");
        QTest::newRow("LE") << true;
        QTest::newRow("BE") << false;
    }

    void utf16FileWithAnOddByteCount()
    {
        QFETCH(bool, littleEndian);
        const QByteArray before =
            TestFiles::Utf16(QStringLiteral("[Settings]\r\nDataFolderPath=/米/\r\n"), littleEndian) + 'A';
        WriteSettings(before);
        Settings().WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));

        const QByteArray after = TestFiles::Read(SettingsPath());
        QVERIFY(after.startsWith(before));
        QCOMPARE(after.size() % 2, 0);
        QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        const QString text = decoder.decode(after.mid(2));
        QVERIFY(!decoder.hasError());
        QVERIFY2(text.endsWith(QStringLiteral("\r\n[Guidance]\r\nbNotDispGuidance=True\r\n")), qPrintable(text));
        QVERIFY(Settings().IsNotDispGuidance());
        QCOMPARE(Settings().GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), QString()),
                 QStringLiteral("/米/"));
    }

    // A settings file that is a FIFO, a device or too large reads as missing, at once, and a
    // write leaves it as it is.
    void settingsFileThatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"fifo", "link to /dev/zero", "too large"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void settingsFileThatIsNotARegularFile()
    {
        QFETCH(QString, kind);
        TestFiles::MakeNotRegular(kind, SettingsPath(), CRvFileIni::kMaxFileSize + 1);

        bool notDisp = true;
        QString folder;
        QVERIFY(TestFiles::FinishesWithin(5000, SettingsPath(), [&] {
            const CRvFileIni settings = Settings();
            notDisp = settings.IsNotDispGuidance();
            folder =
                settings.GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), QStringLiteral("d"));
            settings.WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"),
                                 QStringLiteral("True"));
        }));
        QVERIFY(!notDisp);
        QCOMPARE(folder, QStringLiteral("d"));
        // Left as it was: never replaced by a file of one value.
        const QFileInfo info(SettingsPath());
        if (kind == QLatin1String("too large"))
            QCOMPARE(info.size(), CRvFileIni::kMaxFileSize + 1);
        else
            QVERIFY(!info.isFile());
        QCOMPARE(QDir(m_strFolder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Viewer.ini")});
    }

    void writePlacement_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("after");

        QTest::newRow("new file") << QString() << "Guidance"
                                  << "bNotDispGuidance"
                                  << "[Guidance]\nbNotDispGuidance=True\n";
        QTest::newRow("value replaced in place, name as written")
            << "; top\n[guidance]\n  BNOTDISPGUIDANCE=False\nother=1\n"
            << "Guidance"
            << "bNotDispGuidance"
            << "; top\n[guidance]\n  BNOTDISPGUIDANCE=True\nother=1\n";
        QTest::newRow("key added at the end of its section")
            << "[Guidance]\na=1\n; note\n\n[Settings]\nb=2\n"
            << "Guidance"
            << "bNotDispGuidance"
            << "[Guidance]\na=1\nbNotDispGuidance=True\n; note\n\n[Settings]\nb=2\n";
        QTest::newRow("key added to an empty last section without a line break")
            << "[Settings]\nb=2\n[Guidance]"
            << "Guidance"
            << "bNotDispGuidance"
            << "[Settings]\nb=2\n[Guidance]\nbNotDispGuidance=True";
        QTest::newRow("section added at the end") << "[Settings]\nb=2\n\n"
                                                  << "Guidance"
                                                  << "bNotDispGuidance"
                                                  << "[Settings]\nb=2\n\n[Guidance]\nbNotDispGuidance=True\n";
        QTest::newRow("section added after a last line without a break")
            << "[Settings]\nb=2"
            << "Guidance"
            << "bNotDispGuidance"
            << "[Settings]\nb=2\n[Guidance]\nbNotDispGuidance=True\n";
        QTest::newRow("key line without equals") << "[Guidance]\nbNotDispGuidance\n"
                                                 << "Guidance"
                                                 << "bNotDispGuidance"
                                                 << "[Guidance]\nbNotDispGuidance=True\n";
        QTest::newRow("only the first section changes") << "[Guidance]\nx=1\n[Guidance]\nbNotDispGuidance=False\n"
                                                        << "Guidance"
                                                        << "bNotDispGuidance"
                                                        << "[Guidance]\nx=1\nbNotDispGuidance=True\n[Guidance]\n"
                                                           "bNotDispGuidance=False\n";
    }

    void writePlacement()
    {
        QFETCH(QString, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, after);
        if (!before.isNull())
            WriteSettings(before.toUtf8());
        Settings().WriteString(section, key, QStringLiteral("True"));
        QCOMPARE(QString::fromUtf8(TestFiles::Read(SettingsPath())), after);
        QCOMPARE(Settings().GetString(section, key, QString()), QStringLiteral("True"));
    }

    // The new content is written beside the file and renamed over it: a reader that had the old
    // file open still sees it whole, and nothing is left beside it.
    void writeReplacesTheFileAtomically()
    {
        WriteSettings("[Guidance]\nbNotDispGuidance=False\n");
        QFile oldFile(SettingsPath());
        QVERIFY(oldFile.open(QIODevice::ReadOnly));
        Settings().WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
        QCOMPARE(oldFile.readAll(), QByteArray("[Guidance]\nbNotDispGuidance=False\n"));
        QCOMPARE(TestFiles::Read(SettingsPath()), QByteArray("[Guidance]\nbNotDispGuidance=True\n"));
        QCOMPARE(QDir(m_strFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Viewer.ini")});
    }

    // A writable settings file in a folder that takes no new file (an administrator's program
    // folder) is written in place. As root, the write runs as "nobody" for file access.
    void writableFileInAFolderThatTakesNoNewFile()
    {
        WriteSettings("[Guidance]\nbNotDispGuidance=False\n");
        QVERIFY(QFile::setPermissions(SettingsPath(), QFileDevice::Permissions(0x6666)));  // rw- for all
        QVERIFY(QFile::setPermissions(m_pDir->path(), QFileDevice::Permissions(0x5555)));  // r-x for all
        const int before = setfsuid(geteuid() == 0 ? 65534 : geteuid());
        Settings().WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
        setfsuid(static_cast<uid_t>(before));
        QVERIFY(QFile::setPermissions(m_pDir->path(), QFileDevice::Permissions(0x7755)));
        QVERIFY(Settings().IsNotDispGuidance());
    }

    // A write that cannot be stored is silent and leaves the old file as it was.
    void failedWritesLeaveTheOldFile()
    {
        const QByteArray sjis = TestFiles::Legacy(QStringLiteral("[Settings]\nName=米\n"), "CP932");
        WriteSettings(sjis);
        // Shift_JIS has no rice-ball emoji; the file keeps its encoding rather than being rewritten.
        Settings().WriteString(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("🍙"));
        QCOMPARE(TestFiles::Read(SettingsPath()), sjis);
        // A line break would split the value into lines.
        Settings().WriteString(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("a\n[Evil]"));
        QCOMPARE(TestFiles::Read(SettingsPath()), sjis);

        // A folder where the file should be, and a missing folder: nothing is written anywhere.
        CRvFileIni(m_strFolder + QStringLiteral("missing/Viewer.ini"))
            .WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
        QVERIFY(!QFileInfo::exists(m_strFolder + QStringLiteral("missing")));
        QDir(m_strFolder).mkdir(QStringLiteral("Folder.ini"));
        const CRvFileIni folder(m_strFolder + QStringLiteral("Folder.ini"));
        folder.WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("True"));
        QVERIFY(QFileInfo(m_strFolder + QStringLiteral("Folder.ini")).isDir());
        QVERIFY(!folder.IsNotDispGuidance());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
