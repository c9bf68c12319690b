#include "controls/CRvMessageBox.h"

#include "settings/CResourceStrings.h"

QMessageBox::StandardButton CRvMessageBox::DoMessageBox(QWidget *owner, const QString &prompt,
                                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    QMessageBox box(icon, CResourceStrings::Load(CResourceStrings::IDS_CAPTION), prompt, buttons, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
