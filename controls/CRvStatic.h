#pragma once
// A static text or picture that notifies clicks and double-clicks, for the guidance dialog's links
// and the main window's maker label and logo. It looks like any other static.

#include <QLabel>

class CRvStatic : public QLabel
{
    Q_OBJECT

public:
    explicit CRvStatic(const QString &text, QWidget *parent = nullptr);
    explicit CRvStatic(QWidget *parent = nullptr);

Q_SIGNALS:
    void Clicked();
    void DoubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
