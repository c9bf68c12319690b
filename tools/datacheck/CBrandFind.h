#pragma once
// kelmora-datacheck --find: the rows 銘柄検索 shows for a text, from the same brand index, so that
// maintainers can see where a name occurs.

#include <QString>
#include <QTextStream>

namespace CBrandFind {

// Opens the catalogue of the folder CRvFileAccess takes as the program's, resolving the data
// folder as the main window does, and writes one line per row the search window would show:
// name, prefecture, classification, 必須/選択, separated by tabs. The number of rows written.
int Run(const QString &text, QTextStream &out);

}  // namespace CBrandFind
