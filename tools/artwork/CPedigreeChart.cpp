#include "CPedigreeChart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <functional>

namespace {

const QColor kPaper(251, 250, 245);
const QColor kLine(92, 110, 84);
const QColor kInk(34, 38, 36);
const QColor kParentFill(255, 255, 255);
const QColor kBrandFill(226, 240, 214);

QFont ChartFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

struct Placed {
    double x = 0;
    double y = 0;
    QRectF box;  // empty for an unnamed cross
};

}  // namespace

QImage CPedigreeChart::Render(const std::vector<Node> &nodes, int root, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Depth of every node below the brand, and the named lines without parents in reading order.
    std::vector<int> depth(nodes.size(), 0);
    std::vector<int> leaves;
    int maxDepth = 0;
    std::function<void(int, int)> walk = [&](int n, int d) {
        depth[static_cast<size_t>(n)] = d;
        maxDepth = std::max(maxDepth, d);
        const Node &node = nodes[static_cast<size_t>(n)];
        if (node.nMother < 0 && node.nFather < 0) {
            leaves.push_back(n);
            return;
        }
        walk(node.nMother, d + 1);
        walk(node.nFather, d + 1);
    };
    walk(root, 0);

    const double margin = 0.15 * size.height();
    const double rowGap = (size.height() - 2 * margin) / std::max(1, maxDepth);
    const double slot = static_cast<double>(size.width()) / static_cast<double>(leaves.size());

    const QFont parentFont = ChartFont(static_cast<int>(size.height() * 0.062), false);
    const QFont brandFont = ChartFont(static_cast<int>(size.height() * 0.075), true);
    const double boxHeight = size.height() * 0.135;

    std::vector<Placed> placed(nodes.size());
    for (size_t i = 0; i < leaves.size(); ++i)
        placed[static_cast<size_t>(leaves[i])].x = (static_cast<double>(i) + 0.5) * slot;
    std::function<void(int)> place = [&](int n) {
        const Node &node = nodes[static_cast<size_t>(n)];
        Placed &p = placed[static_cast<size_t>(n)];
        if (node.nMother >= 0) {
            place(node.nMother);
            place(node.nFather);
            p.x = 0.5 * (placed[static_cast<size_t>(node.nMother)].x + placed[static_cast<size_t>(node.nFather)].x);
        }
        p.y = margin + (maxDepth - depth[static_cast<size_t>(n)]) * rowGap;
        if (!node.strName.isEmpty()) {
            const bool brand = n == root;
            const double textWidth = QFontMetricsF(brand ? brandFont : parentFont).horizontalAdvance(node.strName);
            const double width = textWidth + boxHeight * 0.9;
            const double height = brand ? boxHeight * 1.15 : boxHeight;
            p.box = QRectF(p.x - width / 2, p.y - height / 2, width, height);
            if (brand)
                p.box.moveBottom(size.height() - margin * 0.6);
            p.y = p.box.center().y();
        }
    };
    place(root);

    auto bottomOf = [&](int n) {
        const Placed &p = placed[static_cast<size_t>(n)];
        return p.box.isEmpty() ? p.y : p.box.bottom();
    };
    auto topOf = [&](int n) {
        const Placed &p = placed[static_cast<size_t>(n)];
        return p.box.isEmpty() ? p.y : p.box.top();
    };

    // The crosses first, so that boxes sit on top of their lines.
    const QPen linePen(kLine, std::max(2.0, size.height() * 0.007), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (size_t i = 0; i < nodes.size(); ++i) {
        const Node &node = nodes[i];
        if (node.nMother < 0)
            continue;
        const Placed &child = placed[i];
        const Placed &mother = placed[static_cast<size_t>(node.nMother)];
        const Placed &father = placed[static_cast<size_t>(node.nFather)];
        const double parentsBottom = std::max(bottomOf(node.nMother), bottomOf(node.nFather));
        const double meet = parentsBottom + 0.45 * (topOf(static_cast<int>(i)) - parentsBottom);
        painter.setPen(linePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(QPointF(mother.x, bottomOf(node.nMother)), QPointF(mother.x, meet));
        painter.drawLine(QPointF(father.x, bottomOf(node.nFather)), QPointF(father.x, meet));
        painter.drawLine(QPointF(mother.x, meet), QPointF(father.x, meet));
        painter.drawLine(QPointF(child.x, meet), QPointF(child.x, topOf(static_cast<int>(i))));

        // The "×" of the cross, in a small disc on the joining line.
        const double r = size.height() * 0.04;
        painter.setBrush(kPaper);
        painter.drawEllipse(QPointF(child.x, meet), r, r);
        const double k = r * 0.45;
        painter.drawLine(QPointF(child.x - k, meet - k), QPointF(child.x + k, meet + k));
        painter.drawLine(QPointF(child.x - k, meet + k), QPointF(child.x + k, meet - k));
        if (node.strName.isEmpty()) {
            painter.setBrush(kLine);
            painter.drawEllipse(QPointF(child.x, child.y), r * 0.35, r * 0.35);
        }
    }

    // Mother and father marks beside the parents of every cross.
    const QFont markFont = ChartFont(static_cast<int>(size.height() * 0.058), false);
    for (const Node &node : nodes) {
        if (node.nMother < 0)
            continue;
        const int parents[2] = {node.nMother, node.nFather};
        const QString marks[2] = {QStringLiteral("♀"), QStringLiteral("♂")};
        for (int k = 0; k < 2; ++k) {
            const Placed &p = placed[static_cast<size_t>(parents[k])];
            const double y = bottomOf(parents[k]) + size.height() * 0.012;
            painter.setFont(markFont);
            painter.setPen(kLine);
            painter.drawText(QRectF(p.x + size.height() * 0.015, y, size.height() * 0.08, size.height() * 0.08),
                             Qt::AlignLeft | Qt::AlignTop, marks[k]);
        }
    }

    for (size_t i = 0; i < nodes.size(); ++i) {
        const Placed &p = placed[i];
        if (p.box.isEmpty())
            continue;
        const bool brand = static_cast<int>(i) == root;
        painter.setPen(QPen(kLine, brand ? 3.0 : 2.0));
        painter.setBrush(brand ? kBrandFill : kParentFill);
        painter.drawRoundedRect(p.box, p.box.height() * 0.18, p.box.height() * 0.18);
        painter.setFont(brand ? brandFont : parentFont);
        painter.setPen(kInk);
        painter.drawText(p.box, Qt::AlignCenter, nodes[i].strName);
    }
    painter.end();
    return image;
}
