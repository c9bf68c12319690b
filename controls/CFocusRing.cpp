#include "controls/CFocusRing.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>

namespace {
// The ring lies on the window itself, above every control, rather than on the control's parent
// beneath it: a control at its parent's edge (the tab bar in the corner of the tab control) would
// have its ring cut off there. The ring is masked to the band outside the control, so it never
// covers the control.
class CRingStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle *RingStyle()
{
    // One for every ring, owned by the application (widgets do not own their style).
    static QPointer<CRingStyle> style;
    if (style == nullptr) {
        style = new CRingStyle;
        style->setParent(qApp);
    }
    return style;
}
}  // namespace

void CFocusRing::Attach(QWidget *window)
{
    if (window != nullptr)
        new CFocusRing(window);
}

CFocusRing::CFocusRing(QWidget *window)
    : QFocusFrame(window)
    , m_pWindow(window)
{
    hide();
    setStyle(RingStyle());
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { OnFocusChanged(now); });
    OnFocusChanged(QApplication::focusWidget());
}

void CFocusRing::OnFocusChanged(QWidget *now)
{
    // Focus that goes to another window leaves this window's ring where it was: the control keeps
    // this window's focus and gets the keys again when the window is active.
    if (m_pWindow == nullptr || now == nullptr || now->window() != m_pWindow)
        return;
    setWidget(now == m_pWindow ? nullptr : now);
}

void CFocusRing::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    // The style masks the frame to a ring round the control; filling it gives the ring.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}
