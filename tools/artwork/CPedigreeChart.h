#pragma once
// Pedigree charts: the crosses a brand was bred from, parents above and the brand below.
// Each cross is drawn as two lines from mother (left) and father (right) meeting at a "×",
// and one line down to the offspring. An offspring without a name (an intermediate cross) is a
// dot that itself becomes a parent further down.

#include <QImage>
#include <QString>

#include <vector>

class CPedigreeChart
{
public:
    struct Node {
        QString strName;   // empty for an unnamed intermediate cross
        int nMother = -1;  // index of the mother's node, −1 for a line without known parents
        int nFather = -1;
    };

    // Draws the tree whose root (the brand) is `nodes[root]` into a picture of `size`.
    static QImage Render(const std::vector<Node> &nodes, int root, QSize size);
};
