#pragma once
// The ring round the control that has the keyboard focus: two pixels of the highlight colour just
// outside the control's edges, in every window of the program. The style's own focus marks are
// faint or missing (buttons show none, a focused list differs from an unfocused one by a shade), so
// the ring is what tells the user where the keys go.

#include <QFocusFrame>
#include <QPointer>

class CFocusRing : public QFocusFrame
{
    Q_OBJECT

public:
    // Follows the focus inside `window` (a top-level window) for as long as the window lives. Call
    // it once a window.
    static void Attach(QWidget *window);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    explicit CFocusRing(QWidget *window);
    void OnFocusChanged(QWidget *now);

    QPointer<QWidget> m_pWindow;
};
