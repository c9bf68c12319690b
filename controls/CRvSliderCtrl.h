#pragma once
// The trackbar: a horizontal slider that reports every move of the user's, and only those, as
// one Scroll each. A press on the thumb, each step of a drag that moves it, letting it go, a click
// on the groove (and each repeat while the button is held), an arrow, Page or Home/End key and a
// wheel step each send exactly one Scroll, also when the thumb is already where the move would put
// it (Home at the left end, a release where the drag began). Positions set by the program stay
// silent.

#include <QSlider>

class CRvSliderCtrl : public QSlider
{
    Q_OBJECT

public:
    explicit CRvSliderCtrl(QWidget *parent = nullptr);

    // Where the thumb is, also while it is being dragged.
    int GetPos() const { return sliderPosition(); }
    // Moves the thumb; sends no Scroll.
    void SetPos(int position);

Q_SIGNALS:
    void Scroll();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // One user event may make the slider report several times (a press that also moves the thumb
    // reports the move and the press); they are gathered into one Scroll at the event's end.
    void BeginUserEvent();
    void EndUserEvent();
    void OnSliderAction();

    int m_nEventDepth = 0;
    bool m_bScrollPending = false;
};
