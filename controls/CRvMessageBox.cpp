#include "controls/CRvMessageBox.h"

#include "controls/CFocusRing.h"
#include "settings/CResourceStrings.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>

QMessageBox::StandardButton CRvMessageBox::DoMessageBox(QWidget *owner, const QString &prompt,
                                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    const QString caption = CResourceStrings::Load(CResourceStrings::IDS_CAPTION);
    QMessageBox box(icon, caption, prompt, buttons, owner);
    // Wide enough for the whole caption: the desktop draws it bold, centred between its title-bar
    // buttons, and Qt leaves room only for the caption in the plain font and a little more, so a
    // short question would get a caption cut to "デモバー…".
    if (auto *text = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = box.font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        text->setMinimumWidth(metrics.horizontalAdvance(caption) + 4 * metrics.height());
    }
    // Its buttons show the focus as every other window of the program does.
    CFocusRing::Attach(&box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
