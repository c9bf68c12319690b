#pragma once
// 拡大表示: one picture of the shown brand in a window of its own over the main window, as large
// as the screen allows. The square frame fills the window; a picture that is not square (the
// pedigree chart) lies in the middle of a square view with the empty grey round it, so that the
// main photograph's zoom arithmetic serves it unchanged. The wheel zooms at the pointer, a
// double-click goes between the whole picture and 100 %, Ctrl+0 and Ctrl+1 do the same from the
// keyboard, a drag or the arrows, PageUp/PageDown and Home/End pan, Ctrl+C copies and Ctrl+S saves
// the whole picture, and Esc closes the window. There are no scroll bars: the drag and the keys
// pan.
//
// CPictureOpener watches the pages' picture frames: a plain left click on one that shows a
// picture opens it here, and its right-click menu offers 拡大表示…, 画像をコピー and 画像を保存….

#include "viewer/CZoomView.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class CPhotoFrame;

class CPictureWindow : public QWidget
{
    Q_OBJECT

public:
    // `picture` is not null; `strName` the brand's, `strSuffix` the picture's part of the
    // proposed file name (粒1, 粒2, 系譜). The window deletes itself when closed.
    CPictureWindow(const QImage &picture, const QString &strName, const QString &strSuffix, QWidget *parent);

    const CZoomView &GetZoomView() const { return m_zoom; }
    CPhotoFrame *GetFrame() const { return m_frame; }

    void FitWhole();
    void ActualSize();
    void CopyPicture();
    void SavePicture();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The frame shows the view's square.
    void Redraw();

    QImage m_picture;
    QString m_strName;
    QString m_strSuffix;
    // The side of the square view: the picture's longer side.
    int m_nSide = 0;
    CZoomView m_zoom;
    CPhotoFrame *m_frame = nullptr;
};

class CPictureOpener : public QObject
{
    Q_OBJECT

public:
    struct Frame {
        CPhotoFrame *frame;
        QString strSuffix;  // the picture's part of the proposed file name
    };
    // `window` is the main window, the picture windows' parent; `name` gives the shown brand's
    // name when a picture is opened or saved.
    CPictureOpener(QWidget *window, std::vector<Frame> frames, std::function<QString()> name);

    // Opens the frame's picture; nothing for an empty frame. An open picture window closes first.
    void Open(const Frame &frame);
    CPictureWindow *GetOpenWindow() const { return m_open; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::vector<Frame> m_frames;
    std::function<QString()> m_name;
    QPointer<CPictureWindow> m_open;
    // Where the left button went down on a frame, for telling a click from a drag.
    QPoint m_ptPress;
    CPhotoFrame *m_pressed = nullptr;
};
