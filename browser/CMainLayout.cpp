#include "browser/CMainLayout.h"

#include <algorithm>

int CMainLayout::FrameSide(const QRect &frame, int scrollBarWidth, int cx, int cy)
{
    const int roomRight = cx - frame.left() - scrollBarWidth - kEdgeGap;
    const int roomBelow = cy - frame.top() - scrollBarWidth - kEdgeGap;
    return std::max(0, std::min(roomRight, roomBelow));
}

QRect CMainLayout::VertBarBeside(const QRect &frame, int width)
{
    return {frame.x() + frame.width() + kScrollBarGap, frame.y(), width, frame.height()};
}

QRect CMainLayout::HorzBarBelow(const QRect &frame, int height)
{
    return {frame.x(), frame.y() + frame.height() + kScrollBarGap, frame.width(), height};
}

CMainLayout::Block CMainLayout::Arrange(const Block &current, int cx, int cy)
{
    Block next = current;
    next.exitButton.moveLeft(cx - current.exitButton.width() - kEdgeGap);

    const int barWidth = current.vertBar.width();
    const int side = FrameSide(current.frame, barWidth, cx, cy);
    next.frame = QRect(current.frame.topLeft(), QSize(side, side));
    next.vertBar = VertBarBeside(next.frame, barWidth);
    // The horizontal bar takes the vertical bar's thickness, so both bars match.
    next.horzBar = HorzBarBelow(next.frame, barWidth);

    next.trackbar.moveLeft(next.frame.x() + next.frame.width() - current.trackbar.width());
    next.zoomEdit.moveLeft(next.trackbar.x() - current.zoomEdit.width() - kEditGap);
    return next;
}

bool CMainLayout::Overflows(const Block &block, int cx, int cy)
{
    const QRect client(0, 0, cx, cy);
    for (const QRect &r :
         {block.exitButton, block.frame, block.vertBar, block.horzBar, block.trackbar, block.zoomEdit}) {
        if (!client.contains(r))
            return true;
    }
    return false;
}
