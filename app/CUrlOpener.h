#pragma once
// Hands a web page or a new mail to the user's desktop (browser, mail program). Tests put a
// handler of their own in its place so that nothing is launched.

#include <QUrl>

#include <functional>

class CUrlOpener
{
public:
    using Handler = std::function<bool(const QUrl &)>;

    // Whether the desktop (or the test handler) accepted the address. Callers do not act on it:
    // a failure to open leaves everything as it was.
    static bool Open(const QUrl &url);
    // Replaces the desktop; an empty handler gives it back.
    static void SetHandlerForTesting(Handler handler);
};
