// The search window on the main window, driven as a user drives it: Ctrl+F or the context menu,
// typing, the arrow keys, Enter and double-clicks. A brand chosen from its results must leave the
// main window exactly as the four clicks in its lists do.

#include "support/CTestPictures.h"
#include "support/SearchCatalogue.h"

#include "app/CBrandSearchDlg.h"
#include "app/CKelmoraDlg.h"
#include "controls/CRvListBox.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"
#include "viewer/CPictureImage.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

void ClickItem(CRvListBox *list, int row)
{
    QVERIFY(list->item(row) != nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Text as an input method hands it over, one committed character at a time.
void Type(QLineEdit *edit, const QString &text)
{
    for (const QChar c : text) {
        QInputMethodEvent event;
        event.setCommitString(QString(c));
        QApplication::sendEvent(edit, &event);
    }
}

QStringList Items(const CRvListBox *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->GetText(row);
    return texts;
}

QStringList Column(QTableWidget &table, int column)
{
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts << (table.item(row, column) != nullptr ? table.item(row, column)->text() : QString());
    return texts;
}

// What the main window shows after a choice: the four lists, the pages, the photographs and the
// zoom state.
struct WindowState {
    QList<int> selections;
    QStringList prefs;
    QStringList grains;
    int curGrain = -2;
    QStringList feature;
    QStringList pedigree;
    QList<QImage> images;
    bool featureShown = false;
    bool mainLoaded = false;
    double scale = 0;
    QRect source;
    QString zoomText;
    int trackbar = -1;
    bool waitCursor = true;
};

WindowState StateOf(CKelmoraDlg &dlg)
{
    WindowState s;
    for (int id : {CKelmoraDlg::IDC_LIST_BUREAU, CKelmoraDlg::IDC_LIST_PREF, CKelmoraDlg::IDC_LIST_CLASS,
                   CKelmoraDlg::IDC_LIST_GRAIN})
        s.selections << dlg.GetDlgItemAs<CRvListBox>(id)->GetCurSel();
    s.prefs = Items(dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_PREF));
    s.grains = Items(dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_GRAIN));
    s.curGrain = dlg.GetCascade().GetCurGrain();
    s.feature = Column(dlg.GetFeaturePage().GetList(), 2);
    s.pedigree = Column(dlg.GetHistoryPage().GetList(), 2);
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        s.images << dlg.GetPictureImage().GetImage(slot);
    s.featureShown = dlg.GetFeaturePage().isVisible();
    s.mainLoaded = dlg.GetZoomView().IsMainImageLoaded();
    s.scale = dlg.GetZoomView().GetScale();
    s.source = dlg.GetZoomView().GetSourceRect();
    s.zoomText = dlg.GetDlgItemAs<QLineEdit>(CKelmoraDlg::IDC_ZOOM_EDIT)->text();
    s.trackbar = dlg.GetDlgItemAs<QSlider>(CKelmoraDlg::IDC_ZOOM_SLIDER)->value();
    s.waitCursor = QGuiApplication::overrideCursor() != nullptr;
    return s;
}

}  // namespace

class TestBrandSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void choosingAResultIsLikeTheFourClicks_data();
    void choosingAResultIsLikeTheFourClicks();
    void typingUpdatesRowsAndCount();
    void oneWindowRaisedWithItsQuerySelected();
    void contextMenuOpensTheSearch();
    void indexIsBuiltOnce();
    void profilePaneFollowsTheRowAndItsLinksSearch_data();
    void profilePaneFollowsTheRowAndItsLinksSearch();

private:
    std::unique_ptr<CKelmoraDlg> ShowWindow();
    CBrandSearchDlg *OpenSearch(CKelmoraDlg &dlg);

    std::unique_ptr<CTestExeFolder> m_folder;
    std::unique_ptr<CTestPictures> m_pictures;
};

void TestBrandSearch::initTestCase()
{
    // Small stand-ins for the photographs, written once.
    m_pictures = std::make_unique<CTestPictures>();
    QVERIFY(m_pictures->IsValid());
}

void TestBrandSearch::cleanupTestCase()
{
    m_pictures.reset();
}

void TestBrandSearch::init()
{
    m_folder = std::make_unique<CTestExeFolder>();
    QVERIFY(m_folder->IsValid());
    QVERIFY(SearchCatalogue::Write(*m_folder));
}

void TestBrandSearch::cleanup()
{
    m_folder.reset();
}

std::unique_ptr<CKelmoraDlg> TestBrandSearch::ShowWindow()
{
    auto dlg = std::make_unique<CKelmoraDlg>(m_folder->Program(), nullptr, m_pictures->Folder());
    dlg->show();
    if (!QTest::qWaitForWindowExposed(dlg.get()))
        return nullptr;
    return dlg;
}

CBrandSearchDlg *TestBrandSearch::OpenSearch(CKelmoraDlg &dlg)
{
    dlg.activateWindow();
    if (!QTest::qWaitForWindowActive(&dlg))
        return nullptr;
    QTest::keyClick(dlg.GetDlgItem(CKelmoraDlg::IDC_LIST_GRAIN), Qt::Key_F, Qt::ControlModifier);
    CBrandSearchDlg *search = dlg.GetBrandSearch();
    if (search == nullptr || !QTest::qWaitForWindowExposed(search))
        return nullptr;
    return search;
}

void TestBrandSearch::choosingAResultIsLikeTheFourClicks_data()
{
    QTest::addColumn<int>("startRegion");  // a region clicked first, or -1
    QTest::addColumn<int>("startClass");   // then a classification, or -1
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("how");        // "enter", "down" (Down, Down, Enter) or "double-click" (row 1)
    QTest::addColumn<QList<int>>("clicks");  // region, prefecture, classification, brand rows

    // 吟風 has built-in texts and photographs.
    QTest::newRow("built-in brand from another region")
        << 2 << -1 << QStringLiteral("ギンプウ") << QStringLiteral("enter") << QList<int>{0, 0, 2, 0};
    QTest::newRow("same prefecture, other classification")
        << -1 << 1 << QStringLiteral("ｷﾗﾗ") << QStringLiteral("enter") << QList<int>{0, 0, 0, 0};
    // Row 0 is the 必須 山田錦 (the second of its classification's lines), row 1 the 選択 one.
    QTest::newRow("second result by keys")
        << -1 << -1 << QStringLiteral("やまだ") << QStringLiteral("down") << QList<int>{2, 0, 2, 0};
    QTest::newRow("double-click, second prefecture")
        << -1 << 2 << QStringLiteral("の") << QStringLiteral("double-click") << QList<int>{0, 1, 0, 1};
    // The 必須 ゆめぴりか is the third line; its name first appears as the second, which is the one
    // shown, as after a click on the third line.
    QTest::newRow("repeated name") << 2 << -1 << QStringLiteral("ゆめぴりか") << QStringLiteral("enter")
                                   << QList<int>{0, 0, 0, 2};
}

void TestBrandSearch::choosingAResultIsLikeTheFourClicks()
{
    QFETCH(int, startRegion);
    QFETCH(int, startClass);
    QFETCH(QString, query);
    QFETCH(QString, how);
    QFETCH(QList<int>, clicks);

    auto start = [&](CKelmoraDlg &dlg) {
        if (startRegion >= 0)
            ClickItem(dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_BUREAU), startRegion);
        if (startClass >= 0)
            ClickItem(dlg.GetDlgItemAs<CRvListBox>(CKelmoraDlg::IDC_LIST_CLASS), startClass);
    };

    WindowState clicked;
    {
        auto dlg = ShowWindow();
        QVERIFY(dlg);
        start(*dlg);
        const int ids[] = {CKelmoraDlg::IDC_LIST_BUREAU, CKelmoraDlg::IDC_LIST_PREF, CKelmoraDlg::IDC_LIST_CLASS,
                           CKelmoraDlg::IDC_LIST_GRAIN};
        for (int i = 0; i < 4; ++i)
            ClickItem(dlg->GetDlgItemAs<CRvListBox>(ids[i]), clicks[i]);
        clicked = StateOf(*dlg);
    }

    auto dlg = ShowWindow();
    QVERIFY(dlg);
    start(*dlg);
    CBrandSearchDlg *search = OpenSearch(*dlg);
    QVERIFY(search);
    auto *edit = search->GetDlgItemAs<QLineEdit>(CBrandSearchDlg::IDC_QUERY);
    auto *table = search->GetDlgItemAs<QTableView>(CBrandSearchDlg::IDC_RESULTS);
    Type(edit, query);
    QVERIFY(search->GetRows().size() >= 2 || how == QLatin1String("enter"));
    if (how == QLatin1String("enter")) {
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (how == QLatin1String("down")) {
        QTest::keyClick(edit, Qt::Key_Down);
        QVERIFY(table->hasFocus());
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(table->currentIndex().row(), 1);
        QTest::keyClick(table, Qt::Key_Return);
    } else {
        const QRect cell = table->visualRect(table->model()->index(1, CBrandSearchDlg::kColName));
        // As the window system reports a double-click: a click, then the second press.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(StateOf(*dlg).selections.value(1), 0);  // a single click chooses nothing
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
    const WindowState searched = StateOf(*dlg);

    QCOMPARE(searched.selections, clicked.selections);
    QCOMPARE(searched.prefs, clicked.prefs);
    QCOMPARE(searched.grains, clicked.grains);
    QCOMPARE(searched.curGrain, clicked.curGrain);
    QCOMPARE(searched.feature, clicked.feature);
    QCOMPARE(searched.pedigree, clicked.pedigree);
    QCOMPARE(searched.images, clicked.images);
    // 吟風 and きらら397 have built-in photographs: the comparison covers them.
    if (query == QLatin1String("ギンプウ") || query == QLatin1String("ｷﾗﾗ"))
        QVERIFY(!searched.images.first().isNull());
    QCOMPARE(searched.featureShown, clicked.featureShown);
    QCOMPARE(searched.mainLoaded, clicked.mainLoaded);
    QCOMPARE(searched.scale, clicked.scale);
    QCOMPARE(searched.source, clicked.source);
    QCOMPARE(searched.zoomText, clicked.zoomText);
    QCOMPARE(searched.trackbar, clicked.trackbar);
    QVERIFY(!searched.waitCursor);
    // The window stays open with its query.
    QVERIFY(search->isVisible());
    QCOMPARE(edit->text(), query);
}

void TestBrandSearch::typingUpdatesRowsAndCount()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    CBrandSearchDlg *search = OpenSearch(*dlg);
    QVERIFY(search);
    QCOMPARE(search->windowTitle(), QStringLiteral("銘柄検索"));
    auto *edit = search->GetDlgItemAs<QLineEdit>(CBrandSearchDlg::IDC_QUERY);
    auto *count = search->GetDlgItemAs<QLabel>(CBrandSearchDlg::IDC_COUNT);
    auto *table = search->GetDlgItemAs<QTableView>(CBrandSearchDlg::IDC_RESULTS);
    QCOMPARE(edit->placeholderText(), QStringLiteral("銘柄名・よみ"));
    QVERIFY(edit->hasFocus());
    QCOMPARE(table->model()->rowCount(), 0);
    QCOMPARE(count->text(), QString());

    Type(edit, QStringLiteral("ゆめ"));
    QCOMPARE(count->text(), QStringLiteral("3 件"));
    QCOMPARE(table->model()->rowCount(), 3);
    const QAbstractItemModel *model = table->model();
    QCOMPARE(model->headerData(CBrandSearchDlg::kColRequired, Qt::Horizontal).toString(), QStringLiteral("区分"));
    QCOMPARE(model->index(2, CBrandSearchDlg::kColName).data().toString(), QStringLiteral("ゆめぴりかもち"));
    QCOMPARE(model->index(2, CBrandSearchDlg::kColPref).data().toString(), QStringLiteral("空知"));
    QCOMPARE(model->index(2, CBrandSearchDlg::kColClass).data().toString(), QStringLiteral("水稲もち米"));
    QCOMPARE(model->index(2, CBrandSearchDlg::kColRequired).data().toString(), QStringLiteral("選択"));
    QCOMPARE(model->index(2, CBrandSearchDlg::kColDetail).data().toString(), QString());

    // Up from the field goes to the last row; Up from the first row goes back to the field.
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(table->currentIndex().row(), 2);
    table->setCurrentIndex(model->index(0, 0));
    QTest::keyClick(table, Qt::Key_Up);
    QVERIFY(edit->hasFocus());

    QTest::keyClicks(edit, QStringLiteral("xyz"));
    QCOMPARE(count->text(), QStringLiteral("0 件"));
    QCOMPARE(table->model()->rowCount(), 0);
    // Enter with nothing found chooses nothing.
    const QList<int> before = StateOf(*dlg).selections;
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(StateOf(*dlg).selections, before);

    edit->clear();
    QCOMPARE(table->model()->rowCount(), 0);
    QCOMPARE(count->text(), QString());

    // A brand this edition shows with photographs is marked.
    Type(edit, QStringLiteral("きらら"));
    QCOMPARE(model->index(0, CBrandSearchDlg::kColDetail).data().toString(), QStringLiteral("写真"));

    // Nothing is written beside the program.
    QVERIFY(!m_folder->Exists(QStringLiteral("kelmora.ini")));
}

void TestBrandSearch::oneWindowRaisedWithItsQuerySelected()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    CBrandSearchDlg *search = OpenSearch(*dlg);
    QVERIFY(search);
    QCOMPARE(search->parentWidget(), dlg.get());
    auto *edit = search->GetDlgItemAs<QLineEdit>(CBrandSearchDlg::IDC_QUERY);
    Type(edit, QStringLiteral("山田"));

    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!search->isVisible());

    QCOMPARE(OpenSearch(*dlg), search);
    QVERIFY(search->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("山田"));
    QCOMPARE(edit->selectedText(), QStringLiteral("山田"));
    QCOMPARE(search->GetRows().size(), std::size_t(2));

    search->close();
    QVERIFY(!search->isVisible());
    QCOMPARE(OpenSearch(*dlg), search);
}

void TestBrandSearch::contextMenuOpensTheSearch()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction *action : menu->actions())
            texts << action->text();
        menu->setActiveAction(menu->actions().value(1));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10), dlg->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(dlg.get(), &event);

    // After the About item, before the key list.
    QCOMPARE(texts,
             QStringList({QStringLiteral("バージョン情報 (&A)..."), QStringLiteral("銘柄検索…"),
                          QStringLiteral("キー操作一覧…")}));
    QVERIFY(dlg->GetBrandSearch() != nullptr);
    QVERIFY(dlg->GetBrandSearch()->isVisible());
}

void TestBrandSearch::indexIsBuiltOnce()
{
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    CBrandSearchDlg *search = OpenSearch(*dlg);
    QVERIFY(search);
    const int size = search->GetIndex().GetSize();
    QVERIFY(size > 0);
    search->close();
    QVERIFY(QFile::remove(m_folder->Path() + CTestExeFolder::VarietyFile(3, 1)));
    QCOMPARE(OpenSearch(*dlg), search);
    QCOMPARE(search->GetIndex().GetSize(), size);
}

void TestBrandSearch::profilePaneFollowsTheRowAndItsLinksSearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("line");  // a line of the pane for the first row
    QTest::addColumn<QString>("link");  // clicked; it becomes the query

    QTest::newRow("pedigree, a child") << QStringLiteral("コシヒカリ") << QStringLiteral("来歴: 農林22号×農林1号")
                                       << QStringLiteral("ひとめぼれ");
    QTest::newRow("pedigree, a parent") << QStringLiteral("ひとめぼれ") << QStringLiteral("来歴: コシヒカリ×初星")
                                        << QStringLiteral("コシヒカリ");
    QTest::newRow("no pedigree, a child")
        << QStringLiteral("しまひかり") << QStringLiteral("系譜の情報はありません") << QStringLiteral("きらら397");
}

void TestBrandSearch::profilePaneFollowsTheRowAndItsLinksSearch()
{
    QFETCH(QString, query);
    QFETCH(QString, line);
    QFETCH(QString, link);
    m_folder = std::make_unique<CTestExeFolder>();
    QVERIFY(SearchCatalogue::WritePedigrees(*m_folder));
    auto dlg = ShowWindow();
    QVERIFY(dlg);
    CBrandSearchDlg *search = OpenSearch(*dlg);
    QVERIFY(search);
    auto *edit = search->GetDlgItemAs<QLineEdit>(CBrandSearchDlg::IDC_QUERY);
    auto *pane = search->GetDlgItemAs<QTextBrowser>(CBrandSearchDlg::IDC_PROFILE);

    Type(edit, query);
    QCOMPARE(pane->toPlainText(), QString());
    QTest::keyClick(edit, Qt::Key_Down);
    const QStringList lines = pane->toPlainText().split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(line), qPrintable(pane->toPlainText()));
    QVERIFY(lines.first().startsWith(query));
    QCOMPARE(lines.filter(QStringLiteral("来歴")).isEmpty(), line.startsWith(QStringLiteral("系譜")));

    // A click in the middle of the link's name, the first after that line.
    QTextCursor cursor = pane->document()->find(link, pane->document()->find(line));
    QVERIFY(!cursor.isNull());
    QVERIFY(cursor.charFormat().isAnchor());
    cursor.setPosition(cursor.selectionStart() + 1);
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->cursorRect(cursor).center());
    QTRY_COMPARE(edit->text(), link);
    QCOMPARE(search->GetIndex().GetAt(search->GetRows().front()).strName, link);
    // No row is current in the new results: the pane is empty.
    QCOMPARE(pane->toPlainText(), QString());
}

QTEST_MAIN(TestBrandSearch)
#include "test_brand_search.moc"
