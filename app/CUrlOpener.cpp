#include "app/CUrlOpener.h"

#include <QDesktopServices>

#include <utility>

namespace {
CUrlOpener::Handler &TestHandler()
{
    static CUrlOpener::Handler handler;
    return handler;
}
}  // namespace

bool CUrlOpener::Open(const QUrl &url)
{
    if (TestHandler())
        return TestHandler()(url);
    return QDesktopServices::openUrl(url);
}

void CUrlOpener::SetHandlerForTesting(Handler handler)
{
    TestHandler() = std::move(handler);
}
