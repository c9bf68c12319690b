#include "controls/CRvDialog.h"

#include <QLabel>
#include <QtTest>

class TestDialogUnits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapsEdgesWithBaseUnits_data();
    void mapsEdgesWithBaseUnits();
    void findsControlsById();
};

void TestDialogUnits::mapsEdgesWithBaseUnits_data()
{
    QTest::addColumn<QRect>("dlu");
    QTest::newRow("multiples of 4 and 8") << QRect(8, 16, 40, 24);
    // Odd places round differently as edges than as a size: the region list and the photo frame.
    QTest::newRow("region list") << QRect(17, 15, 51, 83);
    QTest::newRow("photo frame") << QRect(339, 66, 280, 281);
    QTest::newRow("mark list") << QRect(7, 15, 9, 83);
}

void TestDialogUnits::mapsEdgesWithBaseUnits()
{
    QFETCH(QRect, dlu);
    CRvDialog dlg;
    dlg.SetTemplateFont(CRvDialog::MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    const QSize base = dlg.GetBaseUnits();
    QVERIFY(base.width() > 0 && base.height() > 0);
    // The edges are mapped, each rounded down, so neighbouring controls keep meeting.
    const QRect r = dlg.MapDialogRect(dlu);
    QCOMPARE(r.x(), dlu.x() * base.width() / 4);
    QCOMPARE(r.y(), dlu.y() * base.height() / 8);
    QCOMPARE(r.x() + r.width(), (dlu.x() + dlu.width()) * base.width() / 4);
    QCOMPARE(r.y() + r.height(), (dlu.y() + dlu.height()) * base.height() / 8);
}

void TestDialogUnits::findsControlsById()
{
    CRvDialog dlg;
    auto *label = dlg.AddControl<QLabel>(1037, QRect(0, 0, 10, 8), QStringLiteral("x"));
    dlg.AddControl<QLabel>(CRvDialog::kNoId, QRect(0, 0, 10, 8), QStringLiteral("y"));
    QCOMPARE(dlg.GetDlgItem(1037), label);
    QCOMPARE(dlg.GetDlgItemAs<QLabel>(1037), label);
    QCOMPARE(dlg.GetDlgCtrlID(label), 1037);
    QCOMPARE(dlg.GetDlgItem(9999), nullptr);
}

QTEST_MAIN(TestDialogUnits)
#include "test_dialog_units.moc"
