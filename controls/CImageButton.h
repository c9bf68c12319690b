#pragma once
// A push button that shows a 24 × 24 image beside its text, drawn in the program's own look (a
// soft blue gradient with a rounded border, warm when hovered or pressed) so that it is the same
// on every desktop, whatever the desktop's theme.

#include <QImage>
#include <QPushButton>

class CImageButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CImageButton(const QString &text, QWidget *parent = nullptr);

    void SetImage(const QImage &image);
    const QImage &GetImage() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QImage m_image;
    bool m_bHot = false;
};
