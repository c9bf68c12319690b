#pragma once
// kelmora-datacheck --find and --profile: the rows 銘柄検索 shows for a text, and a variety's
// profile, from the same brand index, so that maintainers can see where a name occurs and what
// the catalogue tells of it.

#include <QString>
#include <QTextStream>

class CProgramFolder;

namespace CBrandFind {

// Opens the catalogue of the program folder, resolving the data folder as the main window does,
// and writes one line per row the search window would show:
// name, prefecture, classification, 必須/選択, separated by tabs. The number of rows written.
int Run(const CProgramFolder &program, const QString &text, QTextStream &out);

// Opens the catalogue as Run does and writes the profile of the listed variety called `name`
// (CBrandProfile::Format). False, and nothing written, when no listed variety has that name.
bool Profile(const CProgramFolder &program, const QString &name, QTextStream &out);

}  // namespace CBrandFind
