#include "browser/CDetailTableLayout.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <QTextOption>

QColor CDetailTableLayout::ToQColor(CellColor color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

std::array<int, CDetailTableLayout::kColumns> CDetailTableLayout::ColumnWidths(int clientWidth, double headingRatio)
{
    // static_cast truncates toward zero, which is the rounding the layout asks for.
    const int heading = static_cast<int>(clientWidth * headingRatio);
    return {0, heading, clientWidth - heading};
}

int CDetailTableLayout::RowHeight(int clientHeight, int rows)
{
    return static_cast<int>((clientHeight - 4) / static_cast<double>(rows));
}

int CDetailTableLayout::LinesThatFit(int cellHeight, int lineHeight, int lineSpacing)
{
    if (lineHeight <= 0 || cellHeight < lineHeight)
        return 0;
    if (lineSpacing <= 0)
        return 1;
    return 1 + (cellHeight - lineHeight) / lineSpacing;
}

QStringList CDetailTableLayout::FitCellText(const QString &text, const QFont &font, int width, int maxLines)
{
    if (width < 1 || maxLines < 1 || text.isEmpty())
        return {};

    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);

    QStringList lines;
    int lastStart = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            // The last line there is room for takes the whole rest, shortened with "…" if needed.
            lastStart = line.textStart();
            break;
        }
        lines << text.mid(line.textStart(), line.textLength());
        lastStart = -1;
    }
    layout.endLayout();

    if (lastStart >= 0 && lines.size() == maxLines - 1) {
        const QFontMetrics metrics(font);
        const QString rest = text.mid(lastStart);
        lines << metrics.elidedText(rest, Qt::ElideRight, width);
    }
    // Breaks leave the blank they happened at on the line before it; it would only shift centring.
    for (QString &line : lines) {
        while (!line.isEmpty() && line.back().isSpace() && line.size() > 1)
            line.chop(1);
    }
    return lines;
}
