// Start-up: when the guidance dialog is shown, what it stores, and the whole run ending with the
// main window.

#include "support/CModalDriver.h"
#include "support/CTestExeFolder.h"

#include "app/CGuidanceDlg.h"
#include "app/CKelmoraApp.h"
#include "app/CKelmoraDlg.h"
#include "settings/CRvFileIni.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QtTest>

namespace {
// Ticks the box when asked, then leaves by "開始" or Esc.
void DriveGuidance(bool tick, bool start, bool *seen, int timeoutMs = 5000)
{
    CModalDriver::WhenModal<CGuidanceDlg>(
        [tick, start, seen](CGuidanceDlg *dlg) {
            *seen = true;
            if (tick)
                QTest::mouseClick(dlg->GetDlgItem(CGuidanceDlg::IDC_CHECK_NOT_DISP), Qt::LeftButton);
            if (start)
                QTest::mouseClick(dlg->GetDlgItem(1), Qt::LeftButton);
            else
                QTest::keyClick(dlg, Qt::Key_Escape);
        },
        timeoutMs);
}
}  // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void guidanceFlag_data();
    void guidanceFlag();
    void suppressedGuidanceTouchesNothing();
    void wholeRunEndsWithTheMainWindow_data();
    void wholeRunEndsWithTheMainWindow();
};

void TestStartup::guidanceFlag_data()
{
    QTest::addColumn<QByteArray>("settings");  // empty = no settings file
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("start");
    QTest::addColumn<QString>("stored");

    QTest::newRow("no file, 開始, clear") << QByteArray() << false << true << QStringLiteral("False");
    QTest::newRow("no file, 開始, ticked") << QByteArray() << true << true << QStringLiteral("True");
    QTest::newRow("no file, Esc, ticked") << QByteArray() << true << false << QStringLiteral("False");
    QTest::newRow("\"true\" shows, 開始 ticked")
        << QByteArray("[Guidance]\nbNotDispGuidance=true\n") << true << true << QStringLiteral("True");
    QTest::newRow("\"TRUE\" shows, 開始 clear")
        << QByteArray("[Guidance]\nbNotDispGuidance=TRUE\n") << false << true << QStringLiteral("False");
    QTest::newRow("\"False\" shows, Esc")
        << QByteArray("[Settings]\nDataFolderPath=/x/\n[Guidance]\nbNotDispGuidance=False\n") << false << false
        << QStringLiteral("False");
}

void TestStartup::guidanceFlag()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, tick);
    QFETCH(bool, start);
    QFETCH(QString, stored);

    CTestExeFolder folder;
    QVERIFY(folder.IsValid());
    if (!settings.isEmpty())
        QVERIFY(folder.WriteFile(QStringLiteral("kelmora.ini"), settings));

    bool seen = false;
    DriveGuidance(tick, start, &seen);
    const CRvFileIni ini = folder.Program().GetSettings();
    QVERIFY(CKelmoraApp::RunGuidance(ini));
    QVERIFY(seen);
    QCOMPARE(ini.GetString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"), QStringLiteral("-")),
             stored);
    // Other values of the file survive the write.
    if (settings.contains("DataFolderPath"))
        QCOMPARE(ini.GetString(QStringLiteral("Settings"), QStringLiteral("DataFolderPath"), QString()),
                 QStringLiteral("/x/"));
    // "True" was stored: the next start shows nothing.
    QCOMPARE(folder.Program().GetSettings().IsNotDispGuidance(), stored == QLatin1String("True"));
}

void TestStartup::suppressedGuidanceTouchesNothing()
{
    CTestExeFolder folder;
    const QByteArray settings("; kept as written\n[Guidance]\r\nbNotDispGuidance=True\r\n");
    QVERIFY(folder.WriteFile(QStringLiteral("kelmora.ini"), settings));
    bool seen = false;
    DriveGuidance(true, true, &seen, 100);
    QVERIFY(!CKelmoraApp::RunGuidance(folder.Program().GetSettings()));
    QTest::qWait(300);  // outlive the driver: no dialog may have appeared meanwhile
    QVERIFY(!seen);
    QCOMPARE(folder.ReadFile(QStringLiteral("kelmora.ini")), settings);
}

void TestStartup::wholeRunEndsWithTheMainWindow_data()
{
    QTest::addColumn<bool>("suppressed");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("first start, 終了") << false << false;
    QTest::newRow("guidance suppressed, Esc") << true << true;
}

void TestStartup::wholeRunEndsWithTheMainWindow()
{
    QFETCH(bool, suppressed);
    QFETCH(bool, byEscape);
    CTestExeFolder folder;
    QVERIFY(folder.WriteStandardCatalogue());
    const QByteArray settings("[Guidance]\nbNotDispGuidance=True\n");
    if (suppressed)
        QVERIFY(folder.WriteFile(QStringLiteral("kelmora.ini"), settings));

    bool guidanceSeen = false;
    if (!suppressed)
        DriveGuidance(false, true, &guidanceSeen);
    bool mainSeen = false;
    bool cursorNormal = false;
    int regions = 0;
    CModalDriver::WhenModal<CKelmoraDlg>(
        [&](CKelmoraDlg *main) {
            mainSeen = true;
            cursorNormal = QGuiApplication::overrideCursor() == nullptr;
            regions = main->GetCascade().GetBureauList().GetSize();
            if (byEscape)
                QTest::keyClick(main, Qt::Key_Escape);
            else
                QTest::mouseClick(main->GetDlgItem(CKelmoraDlg::IDOK), Qt::LeftButton);
        },
        10000);

    CKelmoraApp app(folder.Program());
    QCOMPARE(app.InitInstance(), false);
    QCOMPARE(guidanceSeen, !suppressed);
    QVERIFY(mainSeen);
    QVERIFY(cursorNormal);
    QCOMPARE(regions, 8);
    // The main window saves nothing; only the guidance answer was written.
    if (suppressed)
        QCOMPARE(folder.ReadFile(QStringLiteral("kelmora.ini")), settings);
    else
        QVERIFY(!folder.Program().GetSettings().IsNotDispGuidance());
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
