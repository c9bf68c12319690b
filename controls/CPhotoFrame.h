#pragma once
// A photo frame control: a black-frame static whose client area shows a picture, or part of one,
// stretched over it. It holds what it shows and repaints itself when that changes. Until it is
// first given something to show it draws the template's black frame only. It takes the focus by
// a click or Tab; its mouse and key input is left to whoever owns it.

#include <QFrame>
#include <QImage>
#include <QRect>

class CPhotoFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CPhotoFrame(QWidget *parent = nullptr);

    // The picture to show (a shared copy), whole; a null image shows the empty frame.
    void ShowPicture(const QImage &picture);
    // The part of the picture shown, in its own pixels; a part beyond the picture shows grey.
    void ShowSource(const QRect &source);

    const QImage &GetPicture() const { return m_picture; }
    QRect GetSource() const { return m_source; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_bShowing = false;  // given a picture (or none) to show
    QImage m_picture;
    QRect m_source;
};
