#include "app/CPictureWindow.h"

#include "app/CPictureFile.h"
#include "controls/CPhotoFrame.h"
#include "viewer/CPictureImage.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {
// The share of the screen's free area the view takes.
constexpr double kScreenShare = 0.9;
}  // namespace

CPictureWindow::CPictureWindow(const QImage &picture, const QString &strName, const QString &strSuffix, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_picture(picture)
    , m_strName(strName)
    , m_strSuffix(strSuffix)
    , m_nSide(std::max(picture.width(), picture.height()))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(strName + QStringLiteral(" — 拡大表示"));
    if (parent != nullptr)
        setFont(parent->font());

    const QScreen *screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const int side = static_cast<int>(std::min(area.width(), area.height()) * kScreenShare);
    setFixedSize(side, side);
    move(area.center() - QPoint(side / 2, side / 2));

    // The frame fills the window, so that the window's and the frame's coordinates agree; its
    // mouse input goes on to the window.
    m_frame = new CPhotoFrame(this);
    m_frame->setGeometry(0, 0, side, side);
    m_frame->ShowPicture(m_picture);
    m_zoom.InitControls(m_frame->geometry());
    m_zoom.FitNewPhoto(true, m_nSide);
    Redraw();

    struct Command {
        const char *text;
        QKeySequence key;
        void (CPictureWindow::*handler)();
    };
    const Command commands[] = {
        {"全体表示", QKeySequence(Qt::CTRL | Qt::Key_0), &CPictureWindow::FitWhole},
        {"実寸表示", QKeySequence(Qt::CTRL | Qt::Key_1), &CPictureWindow::ActualSize},
        {"画像をコピー", QKeySequence(Qt::CTRL | Qt::Key_C), &CPictureWindow::CopyPicture},
        {"画像を保存…", QKeySequence(Qt::CTRL | Qt::Key_S), &CPictureWindow::SavePicture},
    };
    for (const Command &command : commands) {
        auto *action = new QAction(QString::fromUtf8(command.text), m_frame);
        action->setShortcut(command.key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command.handler);
        m_frame->addAction(action);
    }
    m_frame->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_frame->setFocus();
}

void CPictureWindow::Redraw()
{
    // The view counts the square's rows upwards from its bottom edge; the picture lies in the
    // middle of the square.
    const QRect square = CPictureImage::SourceFromBottom(QSize(m_nSide, m_nSide), m_zoom.GetSourceRect());
    m_frame->ShowSource(square.translated(-(m_nSide - m_picture.width()) / 2, -(m_nSide - m_picture.height()) / 2));
}

void CPictureWindow::FitWhole()
{
    m_zoom.FitWhole();
    Redraw();
}

void CPictureWindow::ActualSize()
{
    m_zoom.ActualSizeAt(m_zoom.GetFrameCentre());
    Redraw();
}

void CPictureWindow::CopyPicture()
{
    CPictureFile::Copy(m_picture);
}

void CPictureWindow::SavePicture()
{
    CPictureFile::SaveAs(this, m_picture, CPictureFile::ProposedName(m_strName, m_strSuffix));
}

void CPictureWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_zoom.OnLButtonDown(event->position().toPoint()))
        grabMouse();
}

void CPictureWindow::mouseMoveEvent(QMouseEvent *event)
{
    switch (m_zoom.OnMouseMove(event->position().toPoint())) {
    case CZoomView::DragStep::None:
        break;
    case CZoomView::DragStep::Redraw:
        Redraw();
        break;
    case CZoomView::DragStep::ReleaseCapture:
        releaseMouse();
        break;
    }
}

void CPictureWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_zoom.OnLButtonUp();
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void CPictureWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_zoom.ToggleFitAt(event->position().toPoint());
    Redraw();
}

void CPictureWindow::wheelEvent(QWheelEvent *event)
{
    if (m_zoom.WheelAt(event->angleDelta().y(), event->position().toPoint()))
        Redraw();
}

void CPictureWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    const std::vector<CZoomView::KeyMove> moves =
        plain ? CZoomView::PanKeyMoves(event->key()) : std::vector<CZoomView::KeyMove>();
    // Without a zoom the whole picture is shown: there is nowhere to go.
    bool moved = false;
    for (const CZoomView::KeyMove &move : moves)
        moved = (m_zoom.GetControls().bScrollEnabled && m_zoom.OnScroll(move.bar, move.nCode)) || moved;
    if (moved)
        Redraw();
    const bool known = !moves.empty();
    if (!known)
        QWidget::keyPressEvent(event);
}

// ---- CPictureOpener --------------------------------------------------------------------------

CPictureOpener::CPictureOpener(QWidget *window, std::vector<Frame> frames, std::function<QString()> name)
    : QObject(window)
    , m_window(window)
    , m_frames(std::move(frames))
    , m_name(std::move(name))
{
    for (const Frame &frame : m_frames)
        frame.frame->installEventFilter(this);
}

void CPictureOpener::Open(const Frame &frame)
{
    const QImage &picture = frame.frame->GetPicture();
    if (picture.isNull())
        return;
    if (m_open != nullptr)
        m_open->close();
    m_open = new CPictureWindow(picture, m_name(), frame.strSuffix, m_window);
    m_open->show();
    m_open->activateWindow();
}

bool CPictureOpener::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find_if(m_frames.begin(), m_frames.end(),
                                    [watched](const Frame &frame) { return frame.frame == watched; });
    if (found == m_frames.end())
        return QObject::eventFilter(watched, event);
    const Frame &frame = *found;

    // Only the mouse's events are looked at: others also come while the frame is being destroyed.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_pressed = frame.frame;
            m_ptPress = mouse->position().toPoint();
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        // A plain click: released on the frame it went down on, without moving as far as a drag.
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint point = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && m_pressed == frame.frame && frame.frame->rect().contains(point)
            && (point - m_ptPress).manhattanLength() < QApplication::startDragDistance()) {
            m_pressed = nullptr;
            Open(frame);
            return true;
        }
        m_pressed = nullptr;
        break;
    }
    case QEvent::ContextMenu: {
        // An empty frame has no menu of its own: the window's general one appears.
        if (frame.frame->GetPicture().isNull())
            break;
        auto *menu = static_cast<QContextMenuEvent *>(event);
        QMenu popup(frame.frame);
        QAction *open = popup.addAction(QStringLiteral("拡大表示…"));
        QAction *copy = popup.addAction(QStringLiteral("画像をコピー"));
        QAction *save = popup.addAction(QStringLiteral("画像を保存…"));
        const QImage picture = frame.frame->GetPicture();
        QAction *chosen = popup.exec(menu->globalPos());
        if (chosen == open)
            Open(frame);
        else if (chosen == copy)
            CPictureFile::Copy(picture);
        else if (chosen == save)
            CPictureFile::SaveAs(m_window, picture, CPictureFile::ProposedName(m_name(), frame.strSuffix));
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
