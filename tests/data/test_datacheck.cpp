// kelmora-datacheck run on program folders laid out for the purpose: the JSON it prints, the
// problems it finds, and its exit status.

#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int nExit = -1;
    QByteArray output;
    QByteArray errors;
};

// A checker that has not finished within `ms` milliseconds is killed, and the run has no exit status.
Run RunChecker(const QStringList &arguments, int ms = 60000)
{
    QProcess process;
    process.start(qEnvironmentVariable("KELMORA_EXE_DIR") + QStringLiteral("/kelmora-datacheck"), arguments);
    Run run;
    if (!process.waitForFinished(ms) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.nExit = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

QString Grain(int index, const QString &name, int nClass = 0,
              const QString &extra = QStringLiteral("<Requierd>TRUE</Requierd>"))
{
    return QStringLiteral(
               "<Grain Index=\"%1\"><ID>%2</ID><Name>%3</Name><Class>%4</Class>%5<History>h</History></Grain>")
        .arg(QString::number(index), QString::number(index + 1), name, QString::number(nClass), extra);
}

QByteArray VarietyFile(int count, const QString &grains)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot><Header><DataCount>%1</DataCount>"
                          "</Header>%2</GRoot>\n")
        .arg(QString::number(count), grains)
        .toUtf8();
}

}  // namespace

class TestDataCheck : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_pDir = nullptr;
    QString m_strRoot;

    void WriteRegionTable(const QString &bureau01, const QString &bureau02) const
    {
        QString text = QStringLiteral("[Bureau01]\nBureauName=北海道\n") + bureau01
            + QStringLiteral("[Bureau02]\nBureauName=東北\n") + bureau02;
        for (int b = 3; b <= 8; ++b)
            text += QStringLiteral("[Bureau0%1]\nBureauName=Region %1\nPrefCnt=0\n").arg(b);
        TestFiles::Write(m_strRoot + QStringLiteral("BureauPref.pfd"), text.toUtf8());
    }

    void WriteCleanCatalogue() const
    {
        WriteRegionTable(QStringLiteral("PrefCnt=1\nPrefName01=北海道\n"),
                         QStringLiteral("PrefCnt=2\nPrefName01=青森県\nPrefName02=岩手県\n"));
        TestFiles::Write(
            m_strRoot + QStringLiteral("Data/01/0101.vdx"),
            VarietyFile(3,
                        Grain(0, QStringLiteral("きらら397")) + Grain(1, QStringLiteral("風の子もち"), 1)
                            + Grain(2, QStringLiteral("吟風"), 2, QStringLiteral("<Requierd>FALSE</Requierd>"))));
        TestFiles::Write(m_strRoot + QStringLiteral("Data/02/0201.vdx"),
                         VarietyFile(1, Grain(0, QStringLiteral("まっしぐら"))));
        TestFiles::Write(m_strRoot + QStringLiteral("Data/02/0202.vdx"), VarietyFile(0, QString()));
    }

    static QStringList Messages(const QJsonObject &report)
    {
        QStringList messages;
        for (const QJsonValue &problem : report.value(QStringLiteral("problems")).toArray())
            messages << QFileInfo(problem[QStringLiteral("file")].toString()).fileName() + QStringLiteral(": ")
                    + problem[QStringLiteral("message")].toString();
        return messages;
    }

    QJsonObject RunJson(int expectedExit)
    {
        const Run run = RunChecker({QStringLiteral("--root"), m_strRoot, QStringLiteral("--json")});
        [&] { QCOMPARE(run.nExit, expectedExit); }();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(run.output, &error);
        [&] { QCOMPARE(error.error, QJsonParseError::NoError); }();
        return doc.object();
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

    void cleanCatalogue()
    {
        WriteCleanCatalogue();
        const QJsonObject report = RunJson(0);
        QCOMPARE(Messages(report), QStringList());
        QCOMPARE(report[QStringLiteral("dataFolder")].toString(), m_strRoot + QStringLiteral("Data/"));

        const QJsonArray regions = report[QStringLiteral("regions")].toArray();
        QCOMPARE(regions.size(), 8);
        const QJsonObject tohoku = regions[1].toObject();
        QCOMPARE(tohoku[QStringLiteral("nBureauNo")].toInt(), 2);
        QCOMPARE(tohoku[QStringLiteral("strBureauName")].toString(), QStringLiteral("東北"));
        QCOMPARE(tohoku[QStringLiteral("nPrefCnt")].toInt(), 2);
        const QJsonArray prefs = tohoku[QStringLiteral("aPref")].toArray();
        QCOMPARE(prefs.size(), 9);  // vacant entries included
        QCOMPARE(prefs[1][QStringLiteral("strPrefName")].toString(), QStringLiteral("岩手県"));
        QCOMPARE(prefs[1][QStringLiteral("nPrefNo")].toInt(), 2);
        QCOMPARE(prefs[2][QStringLiteral("nBureauNo")].toInt(), 0);

        const QJsonArray prefectures = report[QStringLiteral("prefectures")].toArray();
        QCOMPARE(prefectures.size(), 3);
        const QJsonObject hokkaido = prefectures[0].toObject();
        QCOMPARE(hokkaido[QStringLiteral("file")].toString(), m_strRoot + QStringLiteral("Data/01/0101.vdx"));
        QVERIFY(hokkaido[QStringLiteral("exists")].toBool());
        QVERIFY(hokkaido[QStringLiteral("loaded")].toBool());
        const QJsonArray varieties = hokkaido[QStringLiteral("varieties")].toArray();
        QCOMPARE(varieties.size(), 3);
        const QJsonObject ginpu = varieties[2].toObject();
        QCOMPARE(ginpu.size(), 16);
        QCOMPARE(ginpu[QStringLiteral("strName")].toString(), QStringLiteral("吟風"));
        QCOMPARE(ginpu[QStringLiteral("nID")].toInt(), 3);
        QCOMPARE(ginpu[QStringLiteral("nClass")].toInt(), 2);
        QVERIFY(ginpu[QStringLiteral("bRequired")].isBool());
        QCOMPARE(ginpu[QStringLiteral("bRequired")].toBool(), false);
        QCOMPARE(ginpu[QStringLiteral("strRequired")].toString(), QStringLiteral("選択"));
        QCOMPARE(ginpu[QStringLiteral("strHistory")].toString(), QStringLiteral("h"));
        QCOMPARE(prefectures[2][QStringLiteral("varieties")].toArray().size(), 0);

        const Run summary = RunChecker({QStringLiteral("--root"), m_strRoot});
        QCOMPARE(summary.nExit, 0);
        const QString text = QString::fromUtf8(summary.output);
        QVERIFY2(text.contains(QStringLiteral("01 北海道: 3 varieties (水稲うるち米 1, 水稲もち米 1, 醸造用玄米 1)")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("02 東北: 2 prefecture(s), 1 varieties")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Problems: none")), qPrintable(text));
    }

    void problemsAreFound()
    {
        WriteRegionTable(QStringLiteral("PrefCnt=12\nPrefName01=北海道\nPrefName02=道南\n"),
                         QStringLiteral("PrefCnt=-1\n"));
        const QString bad =
            QStringLiteral("<Grain Index=\"1\"><Name>A</Name><Class>0</Class><Required>TRUE</Required></Grain>"
                           "<Grain Index=\"1\"><Name>again</Name></Grain>"
                           "<Grain><Name>no index</Name></Grain>"
                           "<Grain Index=\"07\"><Name>zero seven</Name></Grain>"
                           "<Grain Index=\"3\"><Name>A</Name><Class>0</Class></Grain>"
                           "<Grain Index=\"4\"><Name></Name></Grain>"
                           "<Grain Index=\"5\"><Name>five</Name><Class>5</Class></Grain>"
                           "<Grain Index=\"6\"><Name>A</Name><Class>1</Class></Grain>");
        TestFiles::Write(m_strRoot + QStringLiteral("Data/01/0101.vdx"), VarietyFile(7, bad));
        TestFiles::Write(m_strRoot + QStringLiteral("Data/01/0102.vdx"), "<GRoot><Header>");
        const QJsonObject report = RunJson(1);
        const QStringList messages = Messages(report);
        const QStringList expected = {
            QStringLiteral("BureauPref.pfd: [Bureau01] \"PrefCnt\" 12 is above 9"),
            QStringLiteral("BureauPref.pfd: [Bureau01] prefecture name \"PrefName03\" missing"),
            QStringLiteral("BureauPref.pfd: [Bureau01] prefecture name \"PrefName09\" missing"),
            QStringLiteral("BureauPref.pfd: [Bureau02] \"PrefCnt\" -1 is below 0"),
            QStringLiteral("0101.vdx: \"DataCount\" 7 differs from the number of \"Grain\" elements, 8"),
            QStringLiteral("0101.vdx: \"Index\" \"1\" repeated"),
            QStringLiteral("0101.vdx: \"Grain\" element number 3 has no \"Index\""),
            QStringLiteral("0101.vdx: \"Index\" \"07\" out of range 0..6"),
            QStringLiteral("0101.vdx: \"Index\" 0 missing"),
            QStringLiteral("0101.vdx: \"Index\" 2 missing"),
            QStringLiteral("0101.vdx: \"Grain\" Index 1: \"Required\" found but the spelling read is \"Requierd\""),
            QStringLiteral("0101.vdx: \"Grain\" Index 3: name \"A\" already used by Index 1 in 水稲うるち米"),
            QStringLiteral("0101.vdx: \"Grain\" Index 4: empty \"Name\""),
            QStringLiteral("0101.vdx: \"Grain\" Index 5: \"Class\" 5 is outside 0..2"),
            QStringLiteral("0102.vdx: variety file not loadable"),
            QStringLiteral("0103.vdx: variety file missing"),
        };
        for (const QString &fragment : expected) {
            const bool found = std::any_of(messages.begin(), messages.end(),
                                           [&](const QString &message) { return message.startsWith(fragment); });
            QVERIFY2(found, qPrintable(fragment + QStringLiteral("\n--- found:\n") + messages.join(QLatin1Char('\n'))));
        }
        // The same name under another classification is no problem; neither are names of Grain
        // elements the program never reads.
        for (const QString &message : messages) {
            QVERIFY2(!message.contains(QStringLiteral("Index 6: name")), qPrintable(message));
            QVERIFY2(!message.contains(QStringLiteral("PrefName02")), qPrintable(message));
        }

        const Run summary = RunChecker({QStringLiteral("--root"), m_strRoot});
        QCOMPARE(summary.nExit, 1);
        QVERIFY(QString::fromUtf8(summary.output).contains(QStringLiteral("variety file missing")));
    }

    void settingsFileGivesTheDataFolder()
    {
        WriteCleanCatalogue();
        QDir(m_strRoot).rename(QStringLiteral("Data"), QStringLiteral("Rice"));
        QFile::remove(m_strRoot + QStringLiteral("BureauPref.pfd"));
        // Used exactly as given: without a trailing separator the files are looked for beside it.
        TestFiles::Write(
            m_strRoot + QStringLiteral("kelmora.ini"),
            (QStringLiteral("[Settings]\nDataFolderPath=") + m_strRoot + QStringLiteral("Rice/\n")).toUtf8());
        QJsonObject report = RunJson(1);
        QCOMPARE(report[QStringLiteral("dataFolder")].toString(), m_strRoot + QStringLiteral("Rice/"));
        QStringList messages = Messages(report);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("BureauPref.pfd: region table not found")),
                 qPrintable(messages[0]));
        QCOMPARE(report[QStringLiteral("regions")].toArray().size(), 8);
        QCOMPARE(report[QStringLiteral("prefectures")].toArray().size(), 0);

        TestFiles::Write(m_strRoot + QStringLiteral("kelmora.ini"), "[settings]\ndatafolderpath=/no/such/folder/\n");
        report = RunJson(1);
        QCOMPARE(report[QStringLiteral("dataFolder")].toString(), QString());
        messages = Messages(report);
        // The folder's path ends in "/", so its file name part is empty.
        QVERIFY2(messages.contains(QStringLiteral(": data folder not found; the program looks for the variety "
                                                  "files relative to its current folder")),
                 qPrintable(messages.join(QLatin1Char('\n'))));
    }

    // Each of the three files as something that is not a regular file, or too large: the checker
    // returns at once and says so, and checks the rest.
    void filesThatAreNotWhatTheyClaim_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        for (const char *file : {"kelmora.ini", "BureauPref.pfd", "Data/01/0101.vdx"}) {
            for (const char *kind : {"fifo", "link to /dev/zero", "too large"}) {
                const bool settings = QByteArrayView(file) == "kelmora.ini";
                const QString name = QFileInfo(QString::fromLatin1(file)).fileName();
                QString message =
                    QString::fromLatin1(kind == QByteArrayView("too large") ? "too large" : "not a regular file");
                message.prepend(settings ? QStringLiteral(": settings file ")
                                    : name.endsWith(QLatin1String(".pfd"))
                                    ? QStringLiteral(": region table ")
                                    : QStringLiteral(": variety file not loadable: "));
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(name, QLatin1String(kind))))
                    << QString::fromLatin1(file) << QString::fromLatin1(kind) << name + message;
            }
        }
    }

    void filesThatAreNotWhatTheyClaim()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        WriteCleanCatalogue();
        const QString path = m_strRoot + file;
        QFile::remove(path);
        TestFiles::MakeNotRegular(kind, path,
                                  file.endsWith(QLatin1String(".vdx")) ? 64 * 1024 * 1024 + 1 : 1024 * 1024 + 1);
        const Run run = RunChecker({QStringLiteral("--root"), m_strRoot, QStringLiteral("--json")}, 10000);
        QCOMPARE(run.nExit, 1);
        const QJsonObject report = QJsonDocument::fromJson(run.output).object();
        const QStringList messages = Messages(report);
        const bool found =
            std::any_of(messages.begin(), messages.end(), [&](const QString &m) { return m.startsWith(message); });
        QVERIFY2(found, qPrintable(message + QStringLiteral("\n--- found:\n") + messages.join(QLatin1Char('\n'))));
        // The rest of the catalogue is read as ever.
        if (!file.endsWith(QLatin1String(".pfd")))
            QCOMPARE(report[QStringLiteral("prefectures")].toArray().size(), 3);
    }

    void notWellFormedIsToldWithItsLine()
    {
        WriteCleanCatalogue();
        TestFiles::Write(m_strRoot + QStringLiteral("Data/02/0201.vdx"),
                         VarietyFile(1, Grain(0, QStringLiteral("まっしぐら")))
                             + Grain(1, QStringLiteral("外")).toUtf8());
        TestFiles::Write(m_strRoot + QStringLiteral("Data/02/0202.vdx"),
                         "<?xml version=\"1.0\"?>\n<!DOCTYPE GRoot SYSTEM "
                         "\"grain.dtd\">\n<GRoot>\n<Name>&brand;</Name>\n</GRoot>\n");
        const QStringList messages = Messages(RunJson(1));
        QVERIFY2(messages.contains(
                     QStringLiteral("0201.vdx: variety file not loadable: not well-formed XML: a second top-level "
                                    "element, <Grain> (line 3); 青森県 shows no brands")),
                 qPrintable(messages.join(QLatin1Char('\n'))));
        QVERIFY2(messages.contains(
                     QStringLiteral("0202.vdx: variety file not loadable: not well-formed XML: reference to an "
                                    "undeclared entity, \"&brand;\" (line 4); 岩手県 shows no brands")),
                 qPrintable(messages.join(QLatin1Char('\n'))));
    }

    // The check of the Grain elements walks the file once, however deeply they nest.
    void deeplyNestedGrains()
    {
        WriteRegionTable(QStringLiteral("PrefCnt=1\nPrefName01=北海道\n"), QStringLiteral("PrefCnt=0\n"));
        QByteArray xml = "<GRoot><Header><DataCount>10000</DataCount></Header>";
        for (int i = 0; i < 100000; ++i)
            xml += "<Grain Index=\"" + QByteArray::number(i) + "\"><Name>n" + QByteArray::number(i) + "</Name>";
        xml += "<Required>TRUE</Required>";
        for (int i = 0; i < 100000; ++i)
            xml += "</Grain>";
        xml += "</GRoot>\n";
        TestFiles::Write(m_strRoot + QStringLiteral("Data/01/0101.vdx"), xml);
        const Run run = RunChecker({QStringLiteral("--root"), m_strRoot}, 30000);
        QCOMPARE(run.nExit, 1);
        const QString text = QString::fromUtf8(run.output);
        QVERIFY2(text.contains(QStringLiteral("Total: 1 prefecture(s), 10000 varieties")), qPrintable(text.left(2000)));
        QVERIFY(text.contains(
            QStringLiteral("\"Grain\" Index 9999: \"Required\" found but the spelling read is \"Requierd\"")));
        QVERIFY(text.contains(QStringLiteral("\"Index\" \"99999\" out of range 0..9999")));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--root without a folder") << QStringList{QStringLiteral("--root")};
        QTest::newRow("unknown argument") << QStringList{QStringLiteral("--xml")};
        QTest::newRow("not a folder") << QStringList{QStringLiteral("--root"), QStringLiteral("/no/such/folder")};
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const Run run = RunChecker(arguments);
        QCOMPARE(run.nExit, 2);
        QVERIFY(run.output.isEmpty());
        QVERIFY(run.errors.contains("usage: kelmora-datacheck [--root DIR] [--json]"));
    }
};

QTEST_GUILESS_MAIN(TestDataCheck)
#include "test_datacheck.moc"
