// The guidance dialog's links and close rules, the maker's addresses, the About box and the key list.

#include "support/CModalDriver.h"

#include "app/CAboutDlg.h"
#include "app/CGuidanceDlg.h"
#include "app/CKelmoraApp.h"
#include "app/CKeyListDlg.h"
#include "settings/CMakerInfo.h"
#include "support/CUrlCatcher.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

namespace {
// Every text of a dialog fits its control: single lines across, wrapped texts down.
bool TextsFit(const QWidget &dlg, QString *clipped)
{
    for (const QLabel *label : dlg.findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        const QRect room = label->contentsRect();
        const bool fits = label->wordWrap() ? label->heightForWidth(room.width()) <= room.height()
                                            : label->fontMetrics().horizontalAdvance(label->text()) <= room.width();
        if (!fits) {
            *clipped = label->text();
            return false;
        }
    }
    return true;
}
}  // namespace

class TestGuidanceDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CKelmoraApp::ApplyJapaneseInterface(); }
    void init();
    void cleanup();

    void titleBarCannotCloseIt();
    void linksAskFirst_data();
    void linksAskFirst();
    void menusUseTheDialogFace();
    void mailLinkCarriesAnEncodedSubject();
    void textsAreNotClipped();
    void aboutClosesEveryWay_data();
    void aboutClosesEveryWay();

private:
    CUrlCatcher *m_urls = nullptr;
};

void TestGuidanceDialog::init()
{
    m_urls = new CUrlCatcher;
}

void TestGuidanceDialog::cleanup()
{
    delete m_urls;
    m_urls = nullptr;
}

void TestGuidanceDialog::titleBarCannotCloseIt()
{
    CGuidanceDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("ご案内"));
    QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!dlg.close());
    QVERIFY(dlg.isVisible());
    // The box starts clear and Esc still ends the dialog without taking it over.
    auto *box = qobject_cast<QCheckBox *>(dlg.GetDlgItem(CGuidanceDlg::IDC_CHECK_NOT_DISP));
    QVERIFY(!box->isChecked());
    box->setChecked(true);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!dlg.m_bNotDispGuidance);
}

void TestGuidanceDialog::linksAskFirst_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QUrl>("opened");
    const QString browser = QStringLiteral("ブラウザを起動しますか？");
    const QString mail = QStringLiteral("メール作成画面を開きますか？");
    QTest::newRow("URL, Yes") << 1035 << true << browser << CMakerInfo::WebPageUrl();
    QTest::newRow("URL, No") << 1035 << false << browser << QUrl();
    QTest::newRow("Mail, Yes") << 1036 << true << mail << CMakerInfo::InquiryMailUrl();
    QTest::newRow("Mail, No") << 1036 << false << mail << QUrl();
}

void TestGuidanceDialog::linksAskFirst()
{
    QFETCH(int, link);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(QUrl, opened);

    CGuidanceDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QString caption, text, yesNo, face;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    CModalDriver::WhenModal<QMessageBox>([&](QMessageBox *box) {
        caption = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        yesNo = box->button(QMessageBox::Yes)->text() + QLatin1Char('/') + box->button(QMessageBox::No)->text();
        face = QFontInfo(box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->font()).family();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QTest::mouseClick(dlg.GetDlgItem(link), Qt::LeftButton);

    QCOMPARE(caption, QStringLiteral("Kelmora\u3000【米版】\u3000デモバージョン"));
    QCOMPARE(text, question);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(icon, QMessageBox::Question);
    // Japanese whatever the locale, in a proportional face of the dialog chain.
    QCOMPARE(yesNo, QStringLiteral("はい(&Y)/いいえ(&N)"));
    QVERIFY2(CRvDialog::FallbackFamilies().contains(face), qPrintable(face));
    QCOMPARE(m_urls->m_opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>({opened}));
    QVERIFY(dlg.isVisible());
    QCOMPARE(QApplication::applicationName(), QCoreApplication::applicationName());
}

void TestGuidanceDialog::menusUseTheDialogFace()
{
    QMenu menu;
    menu.addAction(QStringLiteral("バージョン情報(&A)..."));
    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QString face = QFontInfo(menu.font()).family();
    QVERIFY2(CRvDialog::FallbackFamilies().contains(face), qPrintable(face));
}

void TestGuidanceDialog::mailLinkCarriesAnEncodedSubject()
{
    const QUrl url = CMakerInfo::InquiryMailUrl();
    QCOMPARE(url.toEncoded(),
             QByteArray("mailto:info@orvanta.example?Subject=Kelmora%E3%81%AB%E3%81%A4%E3%81%84%E3%81%A6%E3%81%AE"
                        "%E3%81%8A%E5%95%8F%E3%81%84%E5%90%88%E3%82%8F%E3%81%9B"));
    QCOMPARE(QUrl::fromPercentEncoding(url.query(QUrl::FullyEncoded).toLatin1()),
             QStringLiteral("Subject=Kelmoraについてのお問い合わせ"));
    QCOMPARE(CMakerInfo::WebPageUrl().host(), QStringLiteral("www.orvanta.example"));
}

void TestGuidanceDialog::textsAreNotClipped()
{
    CGuidanceDlg guidance;
    CAboutDlg about;
    CKeyListDlg keys;
    for (QWidget *dlg :
         {static_cast<QWidget *>(&guidance), static_cast<QWidget *>(&about), static_cast<QWidget *>(&keys)}) {
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        QString clipped;
        QVERIFY2(TextsFit(*dlg, &clipped), qPrintable(clipped));
    }
    auto *box = qobject_cast<QCheckBox *>(guidance.GetDlgItem(CGuidanceDlg::IDC_CHECK_NOT_DISP));
    QVERIFY(box->sizeHint().width() <= box->width());
    // The About box names the version under the product line.
    const QRegularExpression version(QStringLiteral("^バージョン \\d+\\.\\d+\\.\\d+$"));
    const QList<QLabel *> labels = about.findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel *l) { return version.match(l->text()).hasMatch(); }));
}

void TestGuidanceDialog::aboutClosesEveryWay_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << QStringLiteral("ok");
    QTest::newRow("Enter") << QStringLiteral("enter");
    QTest::newRow("Esc") << QStringLiteral("esc");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestGuidanceDialog::aboutClosesEveryWay()
{
    QFETCH(QString, how);
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("バージョン情報"));
    QVERIFY(about.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    CModalDriver::WhenModal<CAboutDlg>([&how](CAboutDlg *dlg) {
        if (how == QLatin1String("ok"))
            QTest::mouseClick(dlg->GetDlgItem(1), Qt::LeftButton);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(dlg, Qt::Key_Return);
        else if (how == QLatin1String("esc"))
            QTest::keyClick(dlg, Qt::Key_Escape);
        else
            dlg->close();
    });
    about.exec();
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestGuidanceDialog)
#include "test_guidance_dialog.moc"
