// What the user sees after real input: clicks with every button and modifier, keys, and the window's
// backing store read from the screen (stale paint shows there, unlike a fresh rendering).

#include "support/CTestExeFolder.h"
#include "support/CTestPictures.h"

#include "app/CKelmoraDlg.h"
#include "app/CPhotoPanel.h"
#include "controls/CPhotoFrame.h"
#include "settings/CResourceStrings.h"
#include "support/CModalDriver.h"
#include "controls/CRvListBox.h"
#include "pages/CFeaturePage.h"
#include "pages/CHistoryPage.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

const QRgb kEmptyFrame = qRgb(240, 240, 240);

// The window as the screen shows it.
QImage Screen(QWidget *window)
{
    // Pending paints reach the backing store first.
    QTest::qWait(30);
    return window->screen()->grabWindow(window->winId()).toImage();
}

QRgb PixelAt(const QImage &screen, QWidget *window, QWidget *widget, QPoint point)
{
    return screen.pixel(widget->mapTo(window, point));
}

void ClickRow(CRvListBox *list, int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
{
    QTest::mouseClick(list->viewport(), button, keys, list->visualItemRect(list->item(row)).center());
}

// Counts the windows of their own that are shown while it lives.
class CShownWindows : public QObject
{
public:
    CShownWindows() { qApp->installEventFilter(this); }
    ~CShownWindows() override { qApp->removeEventFilter(this); }
    QList<QWidget *> m_shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow())
            m_shown << widget;
        return false;
    }
};

// Runs `seen` on every paint of a widget while it lives.
class CPaintWatch : public QObject
{
public:
    CPaintWatch(QWidget *widget, std::function<void()> seen)
        : m_widget(widget)
        , m_seen(std::move(seen))
    {
        m_widget->installEventFilter(this);
    }
    ~CPaintWatch() override { m_widget->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_seen();
        return false;
    }

private:
    QWidget *m_widget;
    std::function<void()> m_seen;
};

}  // namespace

class TestScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void clearingEmptiesEveryFrameOnScreen_data();
    void clearingEmptiesEveryFrameOnScreen();
    void arrowKeysGoOnFromAClearedBrand();
    void onlyALeftClickChangesAListsSelection_data();
    void onlyALeftClickChangesAListsSelection();
    void enterOutsideTheButtonsKeepsTheWindowOpen_data();
    void enterOutsideTheButtonsKeepsTheWindowOpen();
    void startShowsOneWindowOnly();
    void draggedTableHighlightIsWhereUpAndDownStart();
    void everyTabStopShowsARing();
    void wheelPartsAreForgottenOutsideThePhotograph();
    void chosenBrandIsFoundByNameWhenTheIndexIsStale_data();
    void chosenBrandIsFoundByNameWhenTheIndexIsStale();
    void photographIsCopiedAndSavedWhole();
    void focusedPhotographPansByKeys_data();
    void focusedPhotographPansByKeys();
    void clickedPictureOpensInAWindowOfItsOwn_data();
    void clickedPictureOpensInAWindowOfItsOwn();
    void contextMenuListsThePicturesCommands_data();
    void contextMenuListsThePicturesCommands();
    void brandShowsAlikeWhetherDecodedAheadOrNot_data();
    void brandShowsAlikeWhetherDecodedAheadOrNot();

private:
    CKelmoraDlg *Window() const { return m_dlg.get(); }
    CRvListBox *List(int id) const { return m_dlg->GetDlgItemAs<CRvListBox>(id); }
    void ChooseKirara();

    CTestPictures *m_pictures = nullptr;
    CTestExeFolder *m_folder = nullptr;
    std::unique_ptr<CKelmoraDlg> m_dlg;
};

void TestScreen::initTestCase()
{
    m_pictures = new CTestPictures;
    QVERIFY(m_pictures->IsValid());
}

void TestScreen::cleanupTestCase()
{
    delete m_pictures;
}

void TestScreen::init()
{
    m_folder = new CTestExeFolder;
    QVERIFY(m_folder->WriteStandardCatalogue());
    m_dlg = std::make_unique<CKelmoraDlg>(m_folder->Program(), nullptr, m_pictures->Folder());
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    QApplication::setActiveWindow(m_dlg.get());
    QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
}

void TestScreen::cleanup()
{
    m_dlg.reset();
    delete m_folder;
    m_folder = nullptr;
}

void TestScreen::ChooseKirara()
{
    ClickRow(List(CKelmoraDlg::IDC_LIST_GRAIN), 0);
    QCOMPARE(Window()->GetCascade().GetCurGrain(), 0);
}

void TestScreen::clearingEmptiesEveryFrameOnScreen_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("row");
    QTest::newRow("classification") << int(CKelmoraDlg::IDC_LIST_CLASS) << 1;
    QTest::newRow("prefecture") << int(CKelmoraDlg::IDC_LIST_PREF) << 1;
    QTest::newRow("region") << int(CKelmoraDlg::IDC_LIST_BUREAU) << 1;
    QTest::newRow("brand without content") << int(CKelmoraDlg::IDC_LIST_GRAIN) << 1;
}

void TestScreen::clearingEmptiesEveryFrameOnScreen()
{
    QFETCH(int, list);
    QFETCH(int, row);
    ChooseKirara();
    CFeaturePage &page = Window()->GetFeaturePage();
    QWidget *frames[] = {Window()->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME), page.GetDlgItem(CFeaturePage::kFrameFirst),
                         page.GetDlgItem(CFeaturePage::kFrameSecond)};
    QImage screen = Screen(Window());
    for (QWidget *frame : frames)
        QVERIFY(PixelAt(screen, Window(), frame, frame->rect().center()) != kEmptyFrame);

    ClickRow(List(list), row);
    screen = Screen(Window());
    for (QWidget *frame : frames)
        QCOMPARE(PixelAt(screen, Window(), frame, frame->rect().center()), kEmptyFrame);
}

void TestScreen::arrowKeysGoOnFromAClearedBrand()
{
    // ゆめぴりか has no content of its own: its selection is taken away, its line stays the caret.
    CRvListBox *brands = List(CKelmoraDlg::IDC_LIST_GRAIN);
    ClickRow(brands, 1);
    QCOMPARE(brands->GetCurSel(), -1);
    QTest::keyClick(brands, Qt::Key_Down);
    QCOMPARE(brands->currentRow(), 2);
    QCOMPARE(Window()->GetCascade().GetCurGrain(), 2);  // the second ゆめぴりか, not きらら397 on line 0
    QTest::keyClick(brands, Qt::Key_Up);
    QTest::keyClick(brands, Qt::Key_Up);
    QCOMPARE(brands->GetCurSel(), 0);
    QCOMPARE(Window()->GetCascade().GetCurGrain(), 0);
}

void TestScreen::onlyALeftClickChangesAListsSelection_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("selected");
    using D = CKelmoraDlg;
    QTest::newRow("right click, region") << int(D::IDC_LIST_BUREAU) << 1 << int(Qt::RightButton) << 0 << 0;
    QTest::newRow("middle click, region") << int(D::IDC_LIST_BUREAU) << 2 << int(Qt::MiddleButton) << 0 << 0;
    QTest::newRow("right click, brand") << int(D::IDC_LIST_GRAIN) << 1 << int(Qt::RightButton) << 0 << 0;
    QTest::newRow("ctrl+click, selected brand")
        << int(D::IDC_LIST_GRAIN) << 0 << int(Qt::LeftButton) << int(Qt::ControlModifier) << 0;
    QTest::newRow("ctrl+click, selected region")
        << int(D::IDC_LIST_BUREAU) << 0 << int(Qt::LeftButton) << int(Qt::ControlModifier) << 0;
    QTest::newRow("ctrl+click, other classification")
        << int(D::IDC_LIST_CLASS) << 2 << int(Qt::LeftButton) << int(Qt::ControlModifier) << 2;
}

void TestScreen::onlyALeftClickChangesAListsSelection()
{
    QFETCH(int, list);
    QFETCH(int, row);
    QFETCH(int, button);
    QFETCH(int, keys);
    QFETCH(int, selected);
    ChooseKirara();
    ClickRow(List(list), row, Qt::MouseButton(button), Qt::KeyboardModifiers(keys));
    QCOMPARE(List(list)->GetCurSel(), selected);
    // What each list highlights is what the cascade holds.
    const CSelectionCascade &cascade = Window()->GetCascade();
    QCOMPARE(List(CKelmoraDlg::IDC_LIST_BUREAU)->GetCurSel(), cascade.GetCurBureau());
    QCOMPARE(List(CKelmoraDlg::IDC_LIST_CLASS)->GetCurSel(), cascade.GetCurClass());
    if (selected == 0 && list != CKelmoraDlg::IDC_LIST_CLASS)
        QCOMPARE(List(CKelmoraDlg::IDC_LIST_GRAIN)->GetCurSel(), cascade.GetCurGrain());
}

void TestScreen::enterOutsideTheButtonsKeepsTheWindowOpen_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("closes");
    QTest::newRow("region list") << QStringLiteral("region") << false;
    QTest::newRow("brand list") << QStringLiteral("brand") << false;
    QTest::newRow("tab bar") << QStringLiteral("tabs") << false;
    QTest::newRow("zoom field") << QStringLiteral("zoom") << false;
    QTest::newRow("characteristics table") << QStringLiteral("table") << false;
    QTest::newRow("終了") << QStringLiteral("exit") << true;
}

void TestScreen::enterOutsideTheButtonsKeepsTheWindowOpen()
{
    QFETCH(QString, control);
    QFETCH(bool, closes);
    const QHash<QString, QWidget *> controls = {
        {QStringLiteral("region"), List(CKelmoraDlg::IDC_LIST_BUREAU)},
        {QStringLiteral("brand"), List(CKelmoraDlg::IDC_LIST_GRAIN)},
        {QStringLiteral("tabs"), Window()->GetDlgItemAs<QTabWidget>(CKelmoraDlg::IDC_TAB)->tabBar()},
        {QStringLiteral("zoom"), Window()->GetDlgItem(CKelmoraDlg::IDC_ZOOM_EDIT)},
        {QStringLiteral("table"), &Window()->GetFeaturePage().GetList()},
        {QStringLiteral("exit"), Window()->GetDlgItem(CKelmoraDlg::IDOK)},
    };
    QWidget *widget = controls.value(control);
    widget->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), widget);
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(Window()->isVisible(), !closes);
    if (!closes) {
        QTest::keyClick(widget, Qt::Key_Escape);
        QVERIFY(!Window()->isVisible());
    }
}

void TestScreen::startShowsOneWindowOnly()
{
    m_dlg.reset();
    const CShownWindows shown;
    m_dlg = std::make_unique<CKelmoraDlg>(m_folder->Program(), nullptr, m_pictures->Folder());
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    QCOMPARE(shown.m_shown, QList<QWidget *>{m_dlg.get()});
}

void TestScreen::draggedTableHighlightIsWhereUpAndDownStart()
{
    // Pressed on 皮の厚薄 (row 2), let go on 千粒重 (row 5): Down goes on to row 6.
    CRvListCtrl &table = Window()->GetFeaturePage().GetList();
    QWidget *viewport = table.viewport();
    const QPoint from = table.visualRect(table.model()->index(2, 2)).center();
    const QPoint to = table.visualRect(table.model()->index(5, 2)).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    QTest::keyClick(&table, Qt::Key_Down);

    const QImage screen = Screen(Window());
    const QRgb highlight = table.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (int row = 0; row < table.rowCount(); ++row) {
        const QPoint cell = table.visualRect(table.model()->index(row, 2)).center();
        QCOMPARE(PixelAt(screen, Window(), viewport, cell) == highlight, row == 6);
    }
}

void TestScreen::everyTabStopShowsARing()
{
    // Every control the Tab key reaches is ringed in the highlight colour just outside its edges.
    QList<QWidget *> stops;
    for (int i = 0; i < 30 && !stops.contains(QApplication::focusWidget()); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        stops << focus;
        const QImage screen = Screen(Window());
        const QRgb highlight = focus->palette().color(QPalette::Active, QPalette::Highlight).rgb();
        const int y = focus->height() / 2;
        QVERIFY2(PixelAt(screen, Window(), focus, QPoint(-1, y)) == highlight
                     && PixelAt(screen, Window(), focus, QPoint(focus->width(), y)) == highlight,
                 focus->metaObject()->className());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // The four lists, the tab bar, the table, the zoom buttons and 終了 at least.
    QVERIFY(stops.size() >= 9);
}

void TestScreen::wheelPartsAreForgottenOutsideThePhotograph()
{
    // Half a notch over the photograph, the wheel turned outside it, half a notch again: no zoom,
    // as the first half was forgotten when the pointer left.
    ChooseKirara();
    const double fit = Window()->GetZoomView().GetScale();
    QWidget *frame = Window()->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME);
    auto turn = [](QWidget *target, QPoint at) {
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 60), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(target, &wheel);
    };
    turn(frame, frame->rect().center());
    turn(Window(), QPoint(frame->x() - 4, frame->y() + frame->height() / 2));
    turn(frame, frame->rect().center());
    QCOMPARE(Window()->GetZoomView().GetScale(), fit);
    turn(frame, frame->rect().center());
    QVERIFY(Window()->GetZoomView().GetScale() > fit);
}

void TestScreen::chosenBrandIsFoundByNameWhenTheIndexIsStale_data()
{
    // 北海道's first prefecture lists きらら397, ゆめぴりか (record 2) and ゆめぴりか (record 4) as
    // うるち; an entry of the brand index remembers its record's place in the variety file.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("grain");
    QTest::newRow("place still right") << QStringLiteral("ゆめぴりか") << 4 << 2 << 2;
    QTest::newRow("place of another name") << QStringLiteral("ゆめぴりか") << 0 << 1 << 2;
    QTest::newRow("place past the list") << QStringLiteral("ゆめぴりか") << 99 << 1 << 2;
    QTest::newRow("name no longer listed") << QStringLiteral("ななつぼし") << 99 << -1 << -1;
}

void TestScreen::chosenBrandIsFoundByNameWhenTheIndexIsStale()
{
    QFETCH(QString, name);
    QFETCH(int, position);
    QFETCH(int, line);
    QFETCH(int, grain);
    CBrandIndex::Entry entry;
    entry.strName = name;
    entry.nPosition = position;
    Window()->ChooseBrand(entry);
    // ゆめぴりか has no content: its selection goes, its line stays the caret.
    if (line >= 0)
        QCOMPARE(List(CKelmoraDlg::IDC_LIST_GRAIN)->currentRow(), line);
    QCOMPARE(Window()->GetCascade().GetCurGrain(), grain);
}

void TestScreen::photographIsCopiedAndSavedWhole()
{
    ChooseKirara();
    auto *frame = Window()->GetDlgItemAs<CPhotoFrame>(CKelmoraDlg::IDC_PHOTO_FRAME);
    const QImage picture = frame->GetPicture().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!picture.isNull());
    // Zoomed in, so that the copy is plainly not what the frame shows.
    QTest::mouseDClick(frame, Qt::LeftButton, {}, frame->rect().center());
    QCOMPARE(Window()->GetZoomView().GetScale(), 1.0);

    // Ctrl+C with the focus on the photograph (taken by the click).
    QGuiApplication::clipboard()->clear();
    QCOMPARE(QApplication::focusWidget(), frame);
    QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);

    // Ctrl+S: the file dialog proposes the brand's name; the PNG written is the whole picture.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.png"));
    QString proposed;
    CModalDriver::WhenModal<QFileDialog>([&](QFileDialog *dialog) {
        proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::keyClick(Window(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(proposed, QStringLiteral("きらら397.png"));
    QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), picture);

    // A write that fails says so under the program's caption; the view is untouched.
    const QRect source = Window()->GetZoomView().GetSourceRect();
    QString caption;
    QString text;
    CModalDriver::WhenModal<QMessageBox>([&](QMessageBox *box) {
        caption = box->windowTitle();
        text = box->text();
        box->accept();
    });
    auto *panel = Window()->findChild<CPhotoPanel *>();
    QVERIFY(!panel->SaveMainPicture(dir.filePath(QStringLiteral("missing/copy.png"))));
    QCOMPARE(caption, CResourceStrings::Load(CResourceStrings::IDS_CAPTION));
    QVERIFY2(text.contains(QStringLiteral("保存できませんでした")), qPrintable(text));
    QCOMPARE(Window()->GetZoomView().GetSourceRect(), source);
}

void TestScreen::focusedPhotographPansByKeys_data()
{
    QTest::addColumn<int>("key");
    // How each bar moves from 100 % at the centre: ±1 a line, ±2 a page, ±9 to an end, 0 not.
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::newRow("right: a line") << int(Qt::Key_Right) << 1 << 0;
    QTest::newRow("up: a line") << int(Qt::Key_Up) << 0 << -1;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << 2;
    QTest::newRow("home: top left") << int(Qt::Key_Home) << -9 << -9;
    QTest::newRow("end: bottom right") << int(Qt::Key_End) << 9 << 9;
}

void TestScreen::focusedPhotographPansByKeys()
{
    QFETCH(int, key);
    QFETCH(int, horz);
    QFETCH(int, vert);
    ChooseKirara();
    auto *frame = Window()->GetDlgItemAs<CPhotoFrame>(CKelmoraDlg::IDC_PHOTO_FRAME);
    auto *hbar = Window()->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_HORZ);
    auto *vbar = Window()->GetDlgItemAs<QScrollBar>(CKelmoraDlg::IDC_SCROLL_VERT);
    QTest::mouseClick(frame, Qt::LeftButton, {}, frame->rect().center());
    QCOMPARE(QApplication::focusWidget(), frame);
    QTest::keyClick(frame, Qt::Key_1, Qt::ControlModifier);
    const CZoomView &view = Window()->GetZoomView();
    QCOMPARE(view.GetScale(), 1.0);
    // The handles show the visible part.
    QCOMPARE(hbar->pageStep(), view.GetVisibleSize());
    QCOMPARE(vbar->pageStep(), view.GetVisibleSize());

    const int x = hbar->value();
    const int y = vbar->value();
    const int line = view.GetLineStep();
    const int page = view.GetVisibleSize();
    const int max = view.GetMaxScrollPos();
    auto expect = [&](int start, int move) {
        const int step = qAbs(move) == 1 ? line : qAbs(move) == 2 ? page : max;
        return qBound(0, start + (move > 0 ? step : move < 0 ? -step : 0), max);
    };
    QTest::keyClick(frame, Qt::Key(key));
    QCOMPARE(hbar->value(), expect(x, horz));
    QCOMPARE(vbar->value(), expect(y, vert));
    QCOMPARE(view.GetSrcX(), hbar->value());
    QCOMPARE(view.GetScrollY(), vbar->value());
    // Ctrl+0 shows the whole photograph again.
    QTest::keyClick(frame, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view.GetScale(), view.GetFitScale());
    QVERIFY(!hbar->isEnabled());
}

void TestScreen::clickedPictureOpensInAWindowOfItsOwn_data()
{
    QTest::addColumn<bool>("choose");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("id");
    QTest::newRow("first grain") << true << 0 << int(CFeaturePage::kFrameFirst);
    QTest::newRow("second grain") << true << 0 << int(CFeaturePage::kFrameSecond);
    QTest::newRow("pedigree chart, not square") << true << 1 << int(CHistoryPage::kFrame);
    QTest::newRow("empty frame") << false << 0 << int(CFeaturePage::kFrameFirst);
}

void TestScreen::clickedPictureOpensInAWindowOfItsOwn()
{
    QFETCH(bool, choose);
    QFETCH(int, tab);
    QFETCH(int, id);
    if (choose)
        ChooseKirara();
    if (tab == 1) {
        QTabBar *bar = Window()->GetDlgItemAs<QTabWidget>(CKelmoraDlg::IDC_TAB)->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    }
    CRvDialog &page = tab == 0 ? static_cast<CRvDialog &>(Window()->GetFeaturePage()) : Window()->GetHistoryPage();
    auto *frame = page.GetDlgItemAs<CPhotoFrame>(id);
    QVERIFY(frame->isVisible());
    const QImage picture = frame->GetPicture();

    CShownWindows shown;
    QTest::mouseClick(frame, Qt::LeftButton, {}, frame->rect().center());
    QTest::qWait(30);
    if (!choose) {
        QVERIFY(shown.m_shown.isEmpty());
        return;
    }
    QCOMPARE(shown.m_shown.size(), 1);
    QPointer<QWidget> large = shown.m_shown.front();
    QVERIFY(QTest::qWaitForWindowExposed(large));
    QCOMPARE(large->windowTitle(), QStringLiteral("きらら397 — 拡大表示"));
    // The picture fills the middle; a chart wider than high leaves the grey above and below it.
    const QImage screen = Screen(large);
    QCOMPARE(screen.pixel(large->rect().center()), picture.pixel(0, 0));
    const bool square = picture.width() == picture.height();
    QCOMPARE(screen.pixel(large->width() / 2, 2) == kEmptyFrame, !square);

    QWidget *focus = large->focusWidget() != nullptr ? large->focusWidget() : large.data();
    QTest::keyClick(focus, Qt::Key_Escape);
    QTRY_VERIFY(large.isNull());
    QVERIFY(Window()->isVisible());
}

void TestScreen::contextMenuListsThePicturesCommands_data()
{
    QTest::addColumn<bool>("photograph");
    QTest::addColumn<QString>("items");
    QTest::newRow("photograph") << true
                                << QStringLiteral("拡大|縮小|全体表示|実寸表示|画像をコピー|画像を保存…|-|銘柄検索…|バージョン情報…");
    QTest::newRow("detail picture") << false << QStringLiteral("拡大表示…|画像をコピー|画像を保存…");
}

void TestScreen::contextMenuListsThePicturesCommands()
{
    QFETCH(bool, photograph);
    QFETCH(QString, items);
    ChooseKirara();
    QWidget *frame = photograph ? Window()->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME)
                                : Window()->GetFeaturePage().GetDlgItem(CFeaturePage::kFrameFirst);
    QStringList texts;
    bool seen = false;
    QTimer::singleShot(50, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        seen = true;
        for (QAction *action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text().section(QLatin1Char('\t'), 0, 0));
        QTest::keyClick(menu, Qt::Key_Escape);
    });
    // The menu event the platform sends for a right click (QTest's clicks make none).
    const QPoint point = frame->rect().center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, point, frame->mapToGlobal(point));
    QApplication::sendEvent(frame, &click);
    QTRY_VERIFY(seen);
    QCOMPARE(texts.join(QLatin1Char('|')), items);
}


// The built-in photographs decoded in the background: a brand chosen before the decoding starts,
// while it runs or after it has ended shows what the choice's own decoding shows, and no picture
// is decoded twice.
void TestScreen::brandShowsAlikeWhetherDecodedAheadOrNot_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<int>("classRow");
    QTest::addColumn<QString>("key");
    for (const char *when : {"on the choice only", "before", "during", "after"}) {
        QTest::addRow("%s, きらら397", when) << QString::fromLatin1(when) << 0 << QStringLiteral("101");
        QTest::addRow("%s, 吟風", when) << QString::fromLatin1(when) << 2 << QStringLiteral("171");
    }
}

void TestScreen::brandShowsAlikeWhetherDecodedAheadOrNot()
{
    QFETCH(QString, when);
    QFETCH(int, classRow);
    QFETCH(QString, key);

    m_dlg.reset();
    m_dlg = std::make_unique<CKelmoraDlg>(m_folder->Program(), nullptr, m_pictures->Folder());
    const bool ahead = when != QLatin1String("on the choice only");
    m_dlg->SetDecodeAhead(ahead);
    const CDecodedPictures &decoded = Window()->GetPictureImage().Decoded();
    m_dlg->show();
    // The brand list's first paint after the click: whether it showed the choice while the frames
    // were still empty, before any photograph was decoded.
    std::optional<bool> listFirst;
    auto choose = [this, classRow, &listFirst] {
        ClickRow(List(CKelmoraDlg::IDC_LIST_CLASS), classRow);
        CPaintWatch watch(List(CKelmoraDlg::IDC_LIST_GRAIN)->viewport(), [this, &listFirst] {
            if (!listFirst)
                listFirst = List(CKelmoraDlg::IDC_LIST_GRAIN)->GetCurSel() == 0
                    && !Window()->GetPictureImage().HasImage(0);
        });
        ClickRow(List(CKelmoraDlg::IDC_LIST_GRAIN), 0);
    };
    if (when == QLatin1String("before")) {
        // The clicks are handled at once; the window has not been painted, so nothing has started.
        choose();
        QCOMPARE(decoded.DecodeCount(), 4);
    }
    QVERIFY(QTest::qWaitForWindowExposed(Window()));
    if (when == QLatin1String("during")) {
        QTRY_VERIFY(decoded.DecodeCount() > 0);
        choose();
    } else if (when == QLatin1String("after")) {
        QTRY_VERIFY(decoded.DecodeCount() > 0);
        decoded.WaitForBackground();
        QCOMPARE(decoded.DecodeCount(), 12);
        choose();
    } else if (!ahead) {
        choose();
    }
    QCOMPARE(List(CKelmoraDlg::IDC_LIST_GRAIN)->GetCurSel(), 0);
    // (A window not yet on screen paints nothing.)
    if (when != QLatin1String("before"))
        QCOMPARE(listFirst, std::optional<bool>(true));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    const CPictureImage &holder = Window()->GetPictureImage();
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        QVERIFY(holder.GetImage(slot) == CTestPictures::Picture(key + QString::number(slot + 1)));
    // The whole photograph at its fit scale.
    const CZoomView &zoom = Window()->GetZoomView();
    QVERIFY(zoom.IsMainImageLoaded());
    QCOMPARE(zoom.GetScale(), Window()->GetPhotoFrameRect().width() / double(CTestPictures::MainSize(key)));
    QCOMPARE(zoom.GetSourceRect(), QRect(0, 0, 0, 0));
    QVERIFY(!Window()->GetDlgItem(CKelmoraDlg::IDC_SCROLL_HORZ)->isEnabled());

    // On screen: each shown frame's centre has its picture's colour.
    const QImage screen = Screen(Window());
    const struct {
        QWidget *frame;
        int slot;
    } shown[] = {{Window()->GetDlgItem(CKelmoraDlg::IDC_PHOTO_FRAME), 1},
                 {Window()->GetFeaturePage().GetDlgItem(CFeaturePage::kFrameFirst), 2},
                 {Window()->GetFeaturePage().GetDlgItem(CFeaturePage::kFrameSecond), 3}};
    for (const auto &frame : shown) {
        const QRgb expected = CTestPictures::Picture(key + QString::number(frame.slot)).pixel(0, 0);
        QCOMPARE(PixelAt(screen, Window(), frame.frame, frame.frame->rect().center()), expected);
    }

    // Every picture decoded once: the twelve when they are decoded ahead, else the brand's four;
    // during the decoding ahead, the one the worker was in the middle of may be decoded again.
    decoded.WaitForBackground();
    const int once = ahead ? 12 : 4;
    QVERIFY2(decoded.DecodeCount() == once || (when == QLatin1String("during") && decoded.DecodeCount() == once + 1),
             qPrintable(QString::number(decoded.DecodeCount())));
}

QTEST_MAIN(TestScreen)
#include "test_screen.moc"
