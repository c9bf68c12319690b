#include "controls/CRvDialog.h"

#include "browser/CWindowFit.h"
#include "controls/CFocusRing.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

CRvDialog::CRvDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{}

CRvDialog::~CRvDialog() = default;

void CRvDialog::showEvent(QShowEvent *event)
{
    if (!m_bFocusRing && isWindow()) {
        m_bFocusRing = true;
        CFocusRing::Attach(this);
    }
    QDialog::showEvent(event);
}

QStringList CRvDialog::FallbackFamilies()
{
    return {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
}

QFont CRvDialog::MakeTemplateFont(const QString &face, qreal pointSize)
{
    QFont font;
    QStringList families{face};
    families << FallbackFamilies();
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QSize CRvDialog::MeasureBaseUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // Rounded average of the 52 letters, as the platform's dialog manager measures it.
    const int cx = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {qMax(1, cx), qMax(1, metrics.height())};
}

void CRvDialog::SetTemplateFont(const QFont &font)
{
    QFont used = font;
    if (!isWindow()) {
        if (const auto *owner = qobject_cast<const CRvDialog *>(parentWidget()))
            m_dFontScale = owner->m_dFontScale;
        if (m_dFontScale != 1.0)
            used.setPointSizeF(font.pointSizeF() * m_dFontScale);
    }
    setFont(used);
    m_baseUnits = MeasureBaseUnits(used);
}

void CRvDialog::FitTemplateToScreen(const QSize &templateDlu)
{
    // The screen the window opens on: the one under the mouse when there are several, as a
    // dialog without a parent is placed.
    QScreen *target = QGuiApplication::primaryScreen();
    if (target != nullptr && target->virtualSiblings().size() > 1) {
        if (QScreen *under = QGuiApplication::screenAt(QCursor::pos()))
            target = under;
    }
    if (target == nullptr)
        return;

    const QFont current = font();
    const qreal pointSize = current.pointSizeF();
    if (pointSize <= 0)
        return;
    const qreal fitted = CWindowFit::FitPointSize(
        templateDlu, pointSize,
        [&current](double size) {
            QFont candidate = current;
            candidate.setPointSizeF(size);
            return MeasureBaseUnits(candidate);
        },
        target->availableGeometry().size());
    if (fitted == pointSize)
        return;
    QFont smaller = current;
    smaller.setPointSizeF(fitted);
    setFont(smaller);
    m_baseUnits = MeasureBaseUnits(smaller);
    m_dFontScale = fitted / pointSize;
}

int CRvDialog::MapDialogX(int dluX) const
{
    return CWindowFit::MapX(dluX, m_baseUnits.width());
}

int CRvDialog::MapDialogY(int dluY) const
{
    return CWindowFit::MapY(dluY, m_baseUnits.height());
}

QRect CRvDialog::MapDialogRect(const QRect &dlu) const
{
    // Map the edges, not the size, so that neighbouring controls keep meeting where they meet.
    const int left = MapDialogX(dlu.x());
    const int top = MapDialogY(dlu.y());
    const int right = MapDialogX(dlu.x() + dlu.width());
    const int bottom = MapDialogY(dlu.y() + dlu.height());
    return {left, top, right - left, bottom - top};
}

QSize CRvDialog::MapDialogSize(const QSize &dlu) const
{
    return {MapDialogX(dlu.width()), MapDialogY(dlu.height())};
}

void CRvDialog::PlaceControl(int id, QWidget *control, const QRect &dlu)
{
    control->setParent(this);
    control->setGeometry(MapDialogRect(dlu));
    RegisterItem(id, control);
}

void CRvDialog::RegisterItem(int id, QWidget *control)
{
    if (id == kNoId || control == nullptr)
        return;
    m_items.insert(id, control);
    control->setProperty("dlgCtrlId", id);
    if (control->objectName().isEmpty())
        control->setObjectName(QStringLiteral("ctrl%1").arg(id));
}

QWidget *CRvDialog::GetDlgItem(int id) const
{
    return m_items.value(id, nullptr);
}

int CRvDialog::GetDlgCtrlID(const QWidget *control) const
{
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        if (it.value() == control)
            return it.key();
    }
    return kNoId;
}
