#include "browser/CWindowFit.h"

#include <algorithm>

QSize CWindowFit::ClientSize(const QSize &templateDlu, const QSize &baseUnits)
{
    return {MapX(templateDlu.width(), baseUnits.width()), MapY(templateDlu.height(), baseUnits.height())};
}

bool CWindowFit::Fits(const QSize &client, const Frame &frame, const QSize &available)
{
    return client.width() + frame.left + frame.right <= available.width()
        && client.height() + frame.top + frame.bottom <= available.height();
}

double CWindowFit::FitPointSize(const QSize &templateDlu, double pointSize, const BaseUnitsAt &baseUnitsAt,
                                const QSize &available, const Frame &frame)
{
    // A screen that reports no area (none attached yet) leaves the template as it is.
    if (available.isEmpty())
        return pointSize;
    for (double size = pointSize; size > kSmallestPointSize; size -= kPointStep) {
        if (Fits(ClientSize(templateDlu, baseUnitsAt(size)), frame, available))
            return size;
    }
    return std::min(pointSize, kSmallestPointSize);
}
