#pragma once
// Base of every dialog and tab page: controls are placed from template geometry in dialog units,
// converted with base units measured from the dialog font (as MapDialogRect does), and every
// control that has a numeric id can be found by it (GetDlgItem).

#include <QDialog>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <utility>

class CRvDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kNoId = -1;  // a template control without an id (IDC_STATIC)

    explicit CRvDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~CRvDialog() override;

    // The dialog font: the template's face first, then the Japanese fallbacks present on Linux.
    static QFont MakeTemplateFont(const QString &face, qreal pointSize);
    static QStringList FallbackFamilies();

    // Sets the dialog's font and measures the base units from it. A page laid into a dialog whose
    // font was made smaller to fit the screen gets its font made smaller by the same ratio.
    void SetTemplateFont(const QFont &font);
    // Makes the dialog font smaller, measuring the base units again, until a window of
    // `templateDlu` with its frame fits the available area of the screen it opens on. Call it
    // after SetTemplateFont and before any control is placed; nothing changes where it fits.
    void FitTemplateToScreen(const QSize &templateDlu);
    // The template point size as this dialog uses it (smaller when the font was fitted).
    qreal FittedPointSize(qreal templatePointSize) const { return templatePointSize * m_dFontScale; }
    QSize GetBaseUnits() const { return m_baseUnits; }
    // Base units of a font: x = average width of the Latin letters, y = the font's line height.
    static QSize MeasureBaseUnits(const QFont &font);

    QRect MapDialogRect(const QRect &dlu) const;
    QSize MapDialogSize(const QSize &dlu) const;
    int MapDialogX(int dluX) const;
    int MapDialogY(int dluY) const;

    // Creates a control as a child of this dialog at a template rectangle and registers its id.
    template <typename T, typename... Args>
    T *AddControl(int id, const QRect &dlu, Args &&...args)
    {
        T *control = new T(std::forward<Args>(args)..., this);
        control->setGeometry(MapDialogRect(dlu));
        RegisterItem(id, control);
        return control;
    }
    // Places an existing widget (for example a member object) at a template rectangle.
    void PlaceControl(int id, QWidget *control, const QRect &dlu);
    void RegisterItem(int id, QWidget *control);

    QWidget *GetDlgItem(int id) const;
    template <typename T>
    T *GetDlgItemAs(int id) const
    {
        return qobject_cast<T *>(GetDlgItem(id));
    }
    // The id a control was registered with, or kNoId.
    int GetDlgCtrlID(const QWidget *control) const;

protected:
    // A dialog that is a window of its own gets the ring that marks its focused control.
    void showEvent(QShowEvent *event) override;

private:
    bool m_bFocusRing = false;
    QSize m_baseUnits{6, 13};
    qreal m_dFontScale = 1.0;
    QHash<int, QWidget *> m_items;
};
