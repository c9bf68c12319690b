#pragma once
// Where the main window's photograph block goes when the window is resized. Only the square photo
// frame, its two scroll bars, the trackbar, the zoom edit and the exit button move or grow; the
// lists, labels, tab control, pages, zoom buttons and the maker's logo and name keep their places.
// Rectangles are outer rectangles in the window's client coordinates, in pixels.

#include <QRect>

class CMainLayout
{
public:
    static constexpr int kEdgeGap = 12;      // frame block and exit button keep this from the edges
    static constexpr int kEditGap = 20;      // between the zoom edit and the trackbar
    static constexpr int kScrollBarGap = 1;  // between the frame and each scroll bar

    struct Block {
        QRect exitButton;  // 1
        QRect frame;       // 1015
        QRect vertBar;     // 1012
        QRect horzBar;     // 1011
        QRect trackbar;    // 1030
        QRect zoomEdit;    // 1031
    };

    // The block for a client area of cx × cy: the exit button keeps its right edge kEdgeGap from
    // the window's right edge; the frame grows square from its top-left corner into the smaller
    // of the two rooms left beside and below it; the scroll bars run along its right and bottom
    // edges; the trackbar's right edge meets the frame's and the edit sits kEditGap left of it.
    static Block Arrange(const Block &current, int cx, int cy);
    // Side of the square frame for that client area (never below 0).
    static int FrameSide(const QRect &frame, int scrollBarWidth, int cx, int cy);
    // Scroll bars along a frame, each keeping its own thickness.
    static QRect VertBarBeside(const QRect &frame, int width);
    static QRect HorzBarBelow(const QRect &frame, int height);
    // Whether any part of the block reaches beyond a client area of cx × cy.
    static bool Overflows(const Block &block, int cx, int cy);
};
