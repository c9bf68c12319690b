// The opening window fits the screen: the arithmetic with a font measured as the dialog font is,
// and the real main window on a 1280 × 720 screen (this test's offscreen screen).

#include "support/CTestExeFolder.h"

#include "app/CKelmoraDlg.h"
#include "browser/CWindowFit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMap>
#include <QScreen>
#include <QtTest>

namespace {

const QSize kMainTemplate(636, 383);

// Base units of the Japanese fallback dialog font (IPAPGothic) at 96 dpi, as measured from it.
QSize FallbackBaseUnits(double pointSize)
{
    static const QMap<double, QSize> measured = {{11.0, {9, 16}}, {10.5, {8, 15}}, {10.0, {8, 14}}, {9.5, {8, 14}},
                                                 {9.0, {7, 13}},  {8.5, {7, 12}},  {8.0, {7, 12}},  {7.5, {6, 11}},
                                                 {7.0, {5, 10}},  {6.5, {5, 10}},  {6.0, {5, 9}}};
    return measured.value(pointSize, QSize(1, 1));
}

}  // namespace

class TestWindowFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitsWithTheFrame_data();
    void fitsWithTheFrame();
    void fitPointSize_data();
    void fitPointSize();
    void mainWindowFitsASmallScreen();
};

void TestWindowFit::fitsWithTheFrame_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("available");
    QTest::addColumn<bool>("fits");
    // The assumed frame adds 16 to the width and 46 to the height.
    QTest::newRow("exactly") << QSize(1264, 642) << QSize(1280, 688) << true;
    QTest::newRow("one pixel too wide") << QSize(1265, 642) << QSize(1280, 688) << false;
    QTest::newRow("one pixel too tall") << QSize(1264, 643) << QSize(1280, 688) << false;
}

void TestWindowFit::fitsWithTheFrame()
{
    QFETCH(QSize, client);
    QFETCH(QSize, available);
    QFETCH(bool, fits);
    QCOMPARE(CWindowFit::Fits(client, CWindowFit::kAssumedFrame, available), fits);
}

void TestWindowFit::fitPointSize_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<QSize>("client");

    // Screens with a 32-pixel panel: the available area is 32 pixels shorter.
    QTest::newRow("1920x1080: the template as it is") << QSize(1920, 1048) << 11.0 << QSize(1431, 766);
    QTest::newRow("1366x768") << QSize(1366, 736) << 10.0 << QSize(1272, 670);
    QTest::newRow("1280x720 (1920x1080 at 150 %)") << QSize(1280, 688) << 9.0 << QSize(1113, 622);
    QTest::newRow("1366x768 without a panel") << QSize(1366, 768) << 10.5 << QSize(1272, 718);
    QTest::newRow("1024x600") << QSize(1024, 568) << 7.0 << QSize(795, 478);
    QTest::newRow("too small for any size: the smallest") << QSize(320, 240) << 6.0 << QSize(795, 430);
    QTest::newRow("no screen area: unchanged") << QSize(0, 0) << 11.0 << QSize(1431, 766);
}

void TestWindowFit::fitPointSize()
{
    QFETCH(QSize, available);
    QFETCH(double, pointSize);
    QFETCH(QSize, client);
    const double fitted = CWindowFit::FitPointSize(kMainTemplate, 11.0, &FallbackBaseUnits, available);
    QCOMPARE(fitted, pointSize);
    QCOMPARE(CWindowFit::ClientSize(kMainTemplate, FallbackBaseUnits(fitted)), client);
}

void TestWindowFit::mainWindowFitsASmallScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(1280, 720));

    CTestExeFolder folder;
    QVERIFY(folder.WriteStandardCatalogue());
    CKelmoraDlg dlg(folder.Program());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    // The whole window with a frame round it lies on the screen, and it was made smaller to get
    // there: the template at 11 points is 1431 pixels wide.
    QVERIFY2(CWindowFit::Fits(dlg.size(), CWindowFit::kAssumedFrame, screen.size()),
             qPrintable(QStringLiteral("%1 x %2").arg(dlg.width()).arg(dlg.height())));
    QVERIFY(dlg.width() < 1431);
    QCOMPARE(dlg.minimumSize(), dlg.size());

    // The pages and the image buttons follow the window's font.
    const qreal pointSize = dlg.font().pointSizeF();
    QVERIFY(pointSize < 11.0);
    QCOMPARE(dlg.GetFeaturePage().font().pointSizeF(), pointSize);
    QCOMPARE(dlg.GetHistoryPage().font().pointSizeF(), pointSize);
    QCOMPARE(dlg.GetDlgItem(CKelmoraDlg::IDOK)->font().pointSizeF(), pointSize);

    // Everything stays inside the window and the pages inside the tab control.
    const QRect client = dlg.rect();
    for (const QWidget *child : dlg.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            QVERIFY2(client.contains(child->geometry()), qPrintable(child->objectName()));
    }
    const QRect tab = dlg.GetDlgItem(CKelmoraDlg::IDC_TAB)->geometry();
    QVERIFY(tab.contains(dlg.GetFeaturePage().geometry()));
    // No text is cut: every label and button is wide enough for its text.
    for (const QLabel *label : dlg.findChildren<QLabel *>()) {
        if (!label->text().isEmpty() && label->isVisible())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(label->text()));
    }
}

QTEST_MAIN(TestWindowFit)
#include "test_window_fit.moc"
