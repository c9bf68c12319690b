// The main window as a user meets it: template places, layout on resizing, the cascade driven by
// clicks and keys, tabs, closing, About, the maker's link.

#include "support/CModalDriver.h"
#include "support/CTestExeFolder.h"
#include "support/CUrlCatcher.h"

#include "app/CAboutDlg.h"
#include "app/CKelmoraDlg.h"
#include "controls/CRvListBox.h"
#include "settings/CMakerInfo.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

QStringList Names(std::initializer_list<const char *> texts)
{
    QStringList names;
    for (const char *text : texts)
        names << QString::fromUtf8(text);
    return names;
}

QStringList Items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void ClickItem(CRvListBox *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

const int kPhotoBlock[] = {CKelmoraDlg::IDOK,
                           CKelmoraDlg::IDC_PHOTO_FRAME,
                           CKelmoraDlg::IDC_SCROLL_VERT,
                           CKelmoraDlg::IDC_SCROLL_HORZ,
                           CKelmoraDlg::IDC_ZOOM_SLIDER,
                           CKelmoraDlg::IDC_ZOOM_EDIT};
const int kFixedControls[] = {CKelmoraDlg::IDC_LIST_MARK,  CKelmoraDlg::IDC_LIST_BUREAU, CKelmoraDlg::IDC_LIST_PREF,
                              CKelmoraDlg::IDC_LIST_CLASS, CKelmoraDlg::IDC_LIST_GRAIN,  CKelmoraDlg::IDC_TAB,
                              CKelmoraDlg::IDC_MAKER_LOGO, CKelmoraDlg::IDC_MAKER_NAME,  CKelmoraDlg::IDC_ZOOM_IN,
                              CKelmoraDlg::IDC_ZOOM_OUT};

QHash<int, QRect> Geometries(const CKelmoraDlg &dlg)
{
    QHash<int, QRect> rects;
    for (int id : kPhotoBlock)
        rects.insert(id, dlg.GetDlgItem(id)->geometry());
    for (int id : kFixedControls)
        rects.insert(id, dlg.GetDlgItem(id)->geometry());
    return rects;
}

}  // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void controlsStandAtTheirTemplatePlaces_data();
    void controlsStandAtTheirTemplatePlaces();
    void opensAtTemplateSizeAndNeverShrinks();
    void growingMovesOnlyThePhotoBlock();
    void growingOnlyTheWidthMovesOnlyTheExitButton();
    void sizeChangeBeforeInitialisationChangesNothing();
    void minimisingChangesNothing();
    void cascadeFollowsClicksAndKeys();
    void listBoxReportsOnlyTheUsersChoices();
    void tabsSwitchPages();
    void closingEndsTheRunWithoutSaving_data();
    void closingEndsTheRunWithoutSaving();
    void aboutOpensFromF1AndTheContextMenu();
    void makersNameAndLogoOpenTheWebPageOnDoubleClick();
    void dataFolderComesFromSettings_data();
    void dataFolderComesFromSettings();
    void markListBlendsWithTheDialog();
    void labelsAreNotClipped();

private:
    std::unique_ptr<CKelmoraDlg> ShowWindow();

    CTestExeFolder *m_folder = nullptr;
    CUrlCatcher *m_urls = nullptr;
};

void TestMainWindow::init()
{
    m_folder = new CTestExeFolder;
    QVERIFY(m_folder->IsValid());
    QVERIFY(m_folder->WriteStandardCatalogue());
    m_urls = new CUrlCatcher;
}

void TestMainWindow::cleanup()
{
    delete m_urls;
    m_urls = nullptr;
    delete m_folder;
    m_folder = nullptr;
}

std::unique_ptr<CKelmoraDlg> TestMainWindow::ShowWindow()
{
    auto dlg = std::make_unique<CKelmoraDlg>(m_folder->Program());
    dlg->show();
    if (!QTest::qWaitForWindowExposed(dlg.get()))
        return nullptr;
    return dlg;
}

void TestMainWindow::controlsStandAtTheirTemplatePlaces_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QRect>("dlu");
    QTest::addColumn<QString>("text");
    QTest::newRow("exit") << 1 << QRect(580, 7, 49, 20) << QStringLiteral("終了");
    QTest::newRow("cancel") << 2 << QRect(599, 30, 30, 14) << QStringLiteral("キャンセル");
    QTest::newRow("mark") << 1027 << QRect(7, 15, 9, 83) << QString();
    QTest::newRow("regions") << 1024 << QRect(17, 15, 51, 83) << QString();
    QTest::newRow("prefectures") << 1006 << QRect(79, 15, 53, 83) << QString();
    QTest::newRow("classes") << 1007 << QRect(142, 15, 60, 34) << QString();
    QTest::newRow("brands") << 1008 << QRect(212, 15, 98, 83) << QString();
    QTest::newRow("tab") << 1018 << QRect(7, 103, 327, 273) << QString();
    QTest::newRow("logo") << 1039 << QRect(344, 10, 16, 15) << QString();
    QTest::newRow("maker") << 1037 << QRect(364, 14, 54, 8) << QStringLiteral("株式会社Orvanta");
    QTest::newRow("outline") << 1038 << QRect(339, 7, 85, 21) << QString();
    QTest::newRow("zoom in") << 1013 << QRect(339, 38, 40, 20) << QStringLiteral("拡大");
    QTest::newRow("zoom out") << 1014 << QRect(389, 38, 40, 20) << QStringLiteral("縮小");
    QTest::newRow("zoom edit") << 1031 << QRect(477, 44, 27, 12) << QString();
    QTest::newRow("trackbar") << 1030 << QRect(505, 44, 116, 15) << QString();
    QTest::newRow("photo") << 1015 << QRect(339, 66, 280, 281) << QString();
    QTest::newRow("vertical bar") << 1012 << QRect(619, 84, 10, 222) << QString();
    QTest::newRow("horizontal bar") << 1011 << QRect(354, 365, 204, 11) << QString();
}

void TestMainWindow::controlsStandAtTheirTemplatePlaces()
{
    QFETCH(int, id);
    QFETCH(QRect, dlu);
    QFETCH(QString, text);

    // As created from the template, before initialisation squares and places the photo block.
    CKelmoraDlg dlg(m_folder->Program());
    QWidget *control = dlg.GetDlgItem(id);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), dlg.MapDialogRect(dlu));
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), text);
    if (auto *label = qobject_cast<QLabel *>(control); label != nullptr && !text.isEmpty())
        QCOMPARE(label->text(), text);

    // Initialisation leaves every control outside the photo block where the template put it.
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    if (std::find(std::begin(kPhotoBlock), std::end(kPhotoBlock), id) == std::end(kPhotoBlock)
        && id != CKelmoraDlg::IDC_SCROLL_VERT && id != CKelmoraDlg::IDC_SCROLL_HORZ)
        QCOMPARE(control->geometry(), dlg.MapDialogRect(dlu));
    QCOMPARE(dlg.GetDlgItem(2)->isVisible(), false);
    QCOMPARE(dlg.GetDlgItem(1038)->isVisible(), false);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Kelmora\u3000【米版】\u3000デモバージョン"));
}

void TestMainWindow::opensAtTemplateSizeAndNeverShrinks()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    const QSize opening = dlg->MapDialogSize(QSize(636, 383));
    QCOMPARE(dlg->size(), opening);
    QCOMPARE(dlg->minimumSize(), opening);
    dlg->resize(opening.width() - 200, opening.height() - 100);
    QCOMPARE(dlg->size(), opening);

    // The photo frame is square, inside the window, with its bars along its right and bottom edges.
    const QRect frame = dlg->GetDlgItem(1015)->geometry();
    const QRect vbar = dlg->GetDlgItem(1012)->geometry();
    const QRect hbar = dlg->GetDlgItem(1011)->geometry();
    QCOMPARE(frame.width(), frame.height());
    QCOMPARE(vbar, QRect(frame.x() + frame.width() + 1, frame.y(), vbar.width(), frame.height()));
    QCOMPARE(hbar.topLeft(), QPoint(frame.x(), frame.y() + frame.height() + 1));
    QCOMPARE(hbar.width(), frame.width());
    QVERIFY(dlg->rect().contains(vbar) && dlg->rect().contains(hbar));
    QVERIFY(!dlg->GetDlgItem(1011)->isEnabled() && !dlg->GetDlgItem(1012)->isEnabled());
}

void TestMainWindow::growingMovesOnlyThePhotoBlock()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    const QHash<int, QRect> before = Geometries(*dlg);
    const int cx = dlg->width() + 240;
    const int cy = dlg->height() + 180;
    dlg->resize(cx, cy);

    const QRect frame = dlg->GetDlgItem(1015)->geometry();
    const int bar = before[1012].width();
    const int side = std::min(cx - frame.x() - bar - 12, cy - frame.y() - bar - 12);
    QCOMPARE(frame, QRect(before[1015].topLeft(), QSize(side, side)));
    QCOMPARE(dlg->GetPhotoFrameRect(), frame);
    QCOMPARE(dlg->GetDlgItem(1012)->geometry(), QRect(frame.x() + side + 1, frame.y(), bar, side));
    QCOMPARE(dlg->GetDlgItem(1011)->geometry(), QRect(frame.x(), frame.y() + side + 1, side, bar));
    const QRect track = dlg->GetDlgItem(1030)->geometry();
    QCOMPARE(track.x() + track.width(), frame.x() + side);
    QCOMPARE(track.y(), before[1030].y());
    const QRect edit = dlg->GetDlgItem(1031)->geometry();
    QCOMPARE(edit.x(), track.x() - edit.width() - 20);
    QCOMPARE(edit.size(), before[1031].size());
    const QRect exit = dlg->GetDlgItem(1)->geometry();
    QCOMPARE(exit.x() + exit.width(), cx - 12);
    QCOMPARE(exit.size(), before[1].size());
    for (int id : kFixedControls)
        QCOMPARE(dlg->GetDlgItem(id)->geometry(), before[id]);
}

void TestMainWindow::growingOnlyTheWidthMovesOnlyTheExitButton()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    const QSize opening = dlg->size();
    dlg->resize(opening + QSize(10, 10));
    const QHash<int, QRect> before = Geometries(*dlg);
    const QRect frame = before[1015];
    // Precondition: the height is the limiting room.
    QVERIFY(dlg->height() - frame.y() < dlg->width() - frame.x());

    dlg->resize(opening + QSize(310, 10));
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const QRect expected = it.key() == CKelmoraDlg::IDOK ? it.value().translated(300, 0) : it.value();
        QCOMPARE(dlg->GetDlgItem(it.key())->geometry(), expected);
    }
}

void TestMainWindow::sizeChangeBeforeInitialisationChangesNothing()
{
    CKelmoraDlg dlg(m_folder->Program());
    const QHash<int, QRect> before = Geometries(dlg);
    QResizeEvent resize(QSize(2000, 1200), dlg.size());
    QCoreApplication::sendEvent(&dlg, &resize);
    QVERIFY(!dlg.IsInitialized());
    QCOMPARE(Geometries(dlg), before);
}

void TestMainWindow::minimisingChangesNothing()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    const QHash<int, QRect> before = Geometries(*dlg);
    dlg->showMinimized();
    QTRY_VERIFY(dlg->isMinimized());
    QResizeEvent minimized(QSize(160, 28), dlg->size());
    QCoreApplication::sendEvent(dlg.get(), &minimized);
    QCOMPARE(Geometries(*dlg), before);
    dlg->showNormal();
    QCOMPARE(Geometries(*dlg), before);
}

void TestMainWindow::cascadeFollowsClicksAndKeys()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    auto *regions = dlg->GetDlgItemAs<CRvListBox>(1024);
    auto *prefs = dlg->GetDlgItemAs<CRvListBox>(1006);
    auto *classes = dlg->GetDlgItemAs<CRvListBox>(1007);
    auto *brands = dlg->GetDlgItemAs<CRvListBox>(1008);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(regions->count(), 8);
    QCOMPARE(regions->GetCurSel(), 0);
    QCOMPARE(Items(prefs), Names({"石狩", "空知"}));
    QCOMPARE(prefs->GetCurSel(), 0);
    QCOMPARE(classes->GetCurSel(), 0);
    QCOMPARE(Items(brands), Names({"きらら397", "ゆめぴりか", "ゆめぴりか"}));
    QCOMPARE(brands->GetCurSel(), -1);

    ClickItem(classes, 2);
    QCOMPARE(Items(brands), Names({"吟風", "彗星"}));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    ClickItem(brands, 1);
    QCOMPARE(dlg->GetCascade().GetCurGrain(), 5);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    prefs->setFocus();
    QTest::keyClick(prefs, Qt::Key_Down);
    QCOMPARE(prefs->GetCurSel(), 1);
    QCOMPARE(classes->GetCurSel(), 0);
    QCOMPARE(Items(brands), Names({"ななつぼし"}));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    ClickItem(regions, 1);
    QCOMPARE(prefs->count(), 0);
    QCOMPARE(brands->count(), 0);
    ClickItem(regions, 0);
    QCOMPARE(prefs->GetCurSel(), 0);
    QCOMPARE(brands->count(), 3);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestMainWindow::listBoxReportsOnlyTheUsersChoices()
{
    CRvListBox list;
    list.resize(200, 200);
    list.SetItems(Names({"a", "b", "c"}));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changes(&list, &CRvListBox::SelChange);
    list.SetCurSel(1);
    list.SetItems(Names({"a", "b", "c"}));
    QCOMPARE(changes.count(), 0);
    ClickItem(&list, 0);
    ClickItem(&list, 0);  // the selected item again still notifies
    QCOMPARE(changes.count(), 2);
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(list.GetCurSel(), 1);
}

void TestMainWindow::tabsSwitchPages()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    auto *tab = dlg->GetDlgItemAs<QTabWidget>(1018);
    QCOMPARE(tab->count(), 2);
    QCOMPARE(tab->tabText(0), QStringLiteral("特性"));
    QCOMPARE(tab->tabText(1), QStringLiteral("来歴"));
    CFeaturePage &feature = dlg->GetFeaturePage();
    CHistoryPage &history = dlg->GetHistoryPage();
    QCOMPARE(feature.geometry(), history.geometry());
    QVERIFY(tab->geometry().contains(feature.geometry()));
    QVERIFY(feature.isVisible() && !history.isVisible());

    QTest::mouseClick(tab->tabBar(), Qt::LeftButton, {}, tab->tabBar()->tabRect(1).center());
    QVERIFY(!feature.isVisible() && history.isVisible());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QTest::mouseClick(tab->tabBar(), Qt::LeftButton, {}, tab->tabBar()->tabRect(0).center());
    QVERIFY(feature.isVisible() && !history.isVisible());

    // A region choice brings "特性" back to the front.
    QTest::mouseClick(tab->tabBar(), Qt::LeftButton, {}, tab->tabBar()->tabRect(1).center());
    ClickItem(dlg->GetDlgItemAs<CRvListBox>(1024), 2);
    QCOMPARE(tab->currentIndex(), 0);
    QVERIFY(feature.isVisible() && !history.isVisible());
}

void TestMainWindow::closingEndsTheRunWithoutSaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("終了") << QStringLiteral("exit") << int(QDialog::Accepted);
    QTest::newRow("Enter") << QStringLiteral("enter") << int(QDialog::Accepted);
    QTest::newRow("Esc") << QStringLiteral("esc") << int(QDialog::Rejected);
    QTest::newRow("close box") << QStringLiteral("close") << int(QDialog::Rejected);
}

void TestMainWindow::closingEndsTheRunWithoutSaving()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    CKelmoraDlg dlg(m_folder->Program());
    int code = -1;
    CModalDriver::WhenModal<CKelmoraDlg>([&how](CKelmoraDlg *main) {
        if (how == QLatin1String("exit"))
            QTest::mouseClick(qobject_cast<QAbstractButton *>(main->GetDlgItem(1)), Qt::LeftButton);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(main, Qt::Key_Return);
        else if (how == QLatin1String("esc"))
            QTest::keyClick(main, Qt::Key_Escape);
        else
            main->close();
    });
    code = dlg.exec();
    QCOMPARE(code, result);
    QVERIFY(!dlg.isVisible());
    QVERIFY(!m_folder->Exists(QStringLiteral("kelmora.ini")));
}

void TestMainWindow::aboutOpensFromF1AndTheContextMenu()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg.get()));

    QString title;
    CModalDriver::WhenModal<CAboutDlg>([&title](CAboutDlg *about) {
        title = about->windowTitle();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    QTest::keyClick(dlg.get(), Qt::Key_F1);
    QTRY_COMPARE(title, QStringLiteral("バージョン情報"));

    title.clear();
    QString item;
    QTimer::singleShot(50, this, [&item, &title] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        item = menu->actions().value(0)->text();
        CModalDriver::WhenModal<CAboutDlg>([&title](CAboutDlg *about) {
            title = about->windowTitle();
            about->accept();
        });
        menu->setActiveAction(menu->actions().value(0));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint background(dlg->width() - 40, dlg->height() - 6);
    QContextMenuEvent request(QContextMenuEvent::Mouse, background, dlg->mapToGlobal(background));
    QCoreApplication::sendEvent(dlg.get(), &request);
    QCOMPARE(item, QStringLiteral("バージョン情報 (&A)..."));
    QTRY_COMPARE(title, QStringLiteral("バージョン情報"));
}

void TestMainWindow::makersNameAndLogoOpenTheWebPageOnDoubleClick()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    for (int id : {CKelmoraDlg::IDC_MAKER_NAME, CKelmoraDlg::IDC_MAKER_LOGO}) {
        m_urls->m_opened.clear();
        QTest::mouseClick(dlg->GetDlgItem(id), Qt::LeftButton);
        QVERIFY(m_urls->m_opened.isEmpty());
        QTest::mouseDClick(dlg->GetDlgItem(id), Qt::LeftButton);
        QCOMPARE(m_urls->m_opened, QList<QUrl>({CMakerInfo::WebPageUrl()}));
    }
}

void TestMainWindow::dataFolderComesFromSettings_data()
{
    QTest::addColumn<QString>("setting");  // "-" = no settings file
    QTest::addColumn<bool>("removeData");
    QTest::addColumn<QStringList>("brands");
    QTest::newRow("configured folder") << QStringLiteral("Other/") << false << Names({"ほしのゆめ"});
    QTest::newRow("missing folder") << QStringLiteral("Missing/") << false << QStringList();
    QTest::newRow("no settings, no Data") << QStringLiteral("-") << true << QStringList();
}

void TestMainWindow::dataFolderComesFromSettings()
{
    QFETCH(QString, setting);
    QFETCH(bool, removeData);
    QFETCH(QStringList, brands);
    QVERIFY(m_folder->WriteVarietyFile(1, 1, {{1, QStringLiteral("ほしのゆめ"), 0}}, QStringLiteral("Other/")));
    if (setting != QLatin1String("-")) {
        QVERIFY(m_folder->WriteFile(QStringLiteral("kelmora.ini"),
                                    "[Settings]\nDataFolderPath=" + (m_folder->Path() + setting).toUtf8() + "\n"));
    }
    if (removeData)
        QVERIFY(QDir(m_folder->Path() + QStringLiteral("Data")).removeRecursively());

    auto dlg = ShowWindow();
    QVERIFY(dlg);
    QCOMPARE(dlg->GetDlgItemAs<CRvListBox>(1024)->count(), 8);
    QCOMPARE(Items(dlg->GetDlgItemAs<CRvListBox>(1008)), brands);
    const QString expectedPath = m_folder->Path() + (setting == QLatin1String("-") ? QStringLiteral("Data/") : setting);
    QCOMPARE(dlg->GetDataPath(), expectedPath);
    QCOMPARE(dlg->GetCatalog().GetDataFolder().isEmpty(), brands.isEmpty());
}

void TestMainWindow::markListBlendsWithTheDialog()
{
    // A palette whose button face differs from every list background.
    const QPalette original = QApplication::palette();
    QPalette pal = original;
    pal.setColor(QPalette::Button, QColor(200, 210, 220));
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Base, QColor(250, 250, 250));
    QApplication::setPalette(pal);
    auto dlg = ShowWindow();
    QApplication::setPalette(original);
    QVERIFY(dlg);

    auto *mark = dlg->GetDlgItemAs<QListWidget>(1027);
    QVERIFY(mark->isVisible() && !mark->isEnabled());
    QCOMPARE(mark->count(), 0);
    QCOMPARE(mark->frameShape(), QFrame::NoFrame);
    const QImage shot = mark->grab().toImage();
    QCOMPARE(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(200, 210, 220));
}

void TestMainWindow::labelsAreNotClipped()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    const QList<QLabel *> labels = dlg->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(labels.size() >= 5);
    for (const QLabel *label : labels) {
        if (label->text().isEmpty())
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(label->text()));
        QVERIFY2(label->fontMetrics().height() <= label->contentsRect().height(), qPrintable(label->text()));
    }
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
