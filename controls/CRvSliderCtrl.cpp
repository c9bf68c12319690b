#include "controls/CRvSliderCtrl.h"

#include <QSignalBlocker>

CRvSliderCtrl::CRvSliderCtrl(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    // Steps, pages, ends, wheel and drag steps all come as actions (also when the thumb cannot
    // move any further); pressing and letting go of the thumb come as signals of their own.
    connect(this, &QAbstractSlider::actionTriggered, this, &CRvSliderCtrl::OnSliderAction);
    connect(this, &QAbstractSlider::sliderPressed, this, &CRvSliderCtrl::OnSliderAction);
    connect(this, &QAbstractSlider::sliderReleased, this, &CRvSliderCtrl::OnSliderAction);
}

void CRvSliderCtrl::SetPos(int position)
{
    const QSignalBlocker quiet(this);
    setValue(position);
}

void CRvSliderCtrl::OnSliderAction()
{
    // A page repeat while the button is held comes from the slider's timer, outside any event.
    if (m_nEventDepth > 0) {
        m_bScrollPending = true;
        return;
    }
    Q_EMIT Scroll();
}

void CRvSliderCtrl::BeginUserEvent()
{
    ++m_nEventDepth;
}

void CRvSliderCtrl::EndUserEvent()
{
    if (--m_nEventDepth > 0 || !m_bScrollPending)
        return;
    m_bScrollPending = false;
    Q_EMIT Scroll();
}

void CRvSliderCtrl::mousePressEvent(QMouseEvent *event)
{
    BeginUserEvent();
    QSlider::mousePressEvent(event);
    EndUserEvent();
}

void CRvSliderCtrl::mouseMoveEvent(QMouseEvent *event)
{
    BeginUserEvent();
    QSlider::mouseMoveEvent(event);
    EndUserEvent();
}

void CRvSliderCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    BeginUserEvent();
    QSlider::mouseReleaseEvent(event);
    EndUserEvent();
}

void CRvSliderCtrl::keyPressEvent(QKeyEvent *event)
{
    BeginUserEvent();
    QSlider::keyPressEvent(event);
    EndUserEvent();
}

void CRvSliderCtrl::wheelEvent(QWheelEvent *event)
{
    BeginUserEvent();
    QSlider::wheelEvent(event);
    EndUserEvent();
}
