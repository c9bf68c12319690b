#pragma once
// The numbers behind the label/value detail table of both tab pages, free of any window: column
// widths and row height from the list's client size, cell colours in the 0x00BBGGRR layout, and how
// a cell's text is broken into the whole lines that fit the cell.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <array>

class CDetailTableLayout
{
public:
    // A colour as 0x00BBGGRR: red in the lowest byte.
    using CellColor = quint32;

    static constexpr int kColumns = 3;

    // Share of the client width given to the heading column: 9/31 and 8/31.
    static constexpr double kFeatureHeadingRatio = 0.2903225806451613;
    static constexpr double kHistoryHeadingRatio = 0.25806451612903225;

    static constexpr CellColor Rgb(int red, int green, int blue)
    {
        return static_cast<CellColor>(red & 0xFF) | (static_cast<CellColor>(green & 0xFF) << 8)
            | (static_cast<CellColor>(blue & 0xFF) << 16);
    }
    static QColor ToQColor(CellColor color);

    // Widths of the hidden label column, the heading column and the value column. The heading
    // column gets the truncated share, the value column the rest, so the three add up to W.
    static std::array<int, kColumns> ColumnWidths(int clientWidth, double headingRatio);

    // Height of each of `rows` rows that share the list's client height, 4 pixels staying spare;
    // truncated toward zero, so below the spare pixels it is negative.
    static int RowHeight(int clientHeight, int rows);

    // Whole lines of `lineHeight` pixels, `lineSpacing` apart, that fit in `cellHeight` pixels.
    static int LinesThatFit(int cellHeight, int lineHeight, int lineSpacing);

    // The lines to draw for `text` in a cell `width` pixels wide that has room for `maxLines` lines:
    // the text wrapped (between any two characters where no word boundary is near, as Japanese
    // needs), and, when it needs more lines than there is room for, the last line that fits ending
    // in "…". No room (width or maxLines below 1) gives no lines.
    static QStringList FitCellText(const QString &text, const QFont &font, int width, int maxLines);
};
