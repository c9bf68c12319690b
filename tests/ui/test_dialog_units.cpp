#include "ui/CRvDialog.h"

#include <QLabel>
#include <QtTest>

class TestDialogUnits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapsEdgesWithBaseUnits();
    void findsControlsById();
};

void TestDialogUnits::mapsEdgesWithBaseUnits()
{
    CRvDialog dlg;
    dlg.SetTemplateFont(CRvDialog::MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    const QSize base = dlg.GetBaseUnits();
    QVERIFY(base.width() > 0 && base.height() > 0);
    const QRect r = dlg.MapDialogRect(QRect(8, 16, 40, 24));
    QCOMPARE(r.x(), 8 * base.width() / 4);
    QCOMPARE(r.y(), 16 * base.height() / 8);
    QCOMPARE(r.right() + 1, 48 * base.width() / 4);
    QCOMPARE(r.bottom() + 1, 40 * base.height() / 8);
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
