#pragma once
// Acts on a modal dialog once it is running: the test schedules the action, then starts the code
// that opens the dialog and blocks in its modal loop; the action closes it again.

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class CModalDriver
{
public:
    // Runs `action` on the first active modal widget of type T; gives up after `timeoutMs`.
    template <typename T>
    static void WhenModal(std::function<void(T *)> action, int timeoutMs = 5000)
    {
        auto *timer = new QTimer;
        timer->setInterval(10);
        const QDeadlineTimer deadline(timeoutMs);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, deadline, action] {
            T *widget = qobject_cast<T *>(QApplication::activeModalWidget());
            if (widget == nullptr && !deadline.hasExpired())
                return;
            timer->stop();
            timer->deleteLater();
            if (widget != nullptr)
                action(widget);
        });
        timer->start();
    }
};
