#pragma once
// The application's nested hour-glass cursor: every switching on is matched by one switching off,
// and the normal cursor returns when the count drops back to zero.

#include <QCursor>
#include <QGuiApplication>

class CWaitCursor
{
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor &) = delete;
    CWaitCursor &operator=(const CWaitCursor &) = delete;
};
