#pragma once
// The program's message box: every one carries the caption "Kelmora　【米版】　デモバージョン"
// (string 133) over the prompt, buttons and icon its caller gives.

#include <QMessageBox>
#include <QString>

class QWidget;

class CRvMessageBox
{
public:
    // Shows the box modally over `owner` and answers the button the user pressed.
    static QMessageBox::StandardButton DoMessageBox(QWidget *owner, const QString &prompt,
                                                    QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);
};
