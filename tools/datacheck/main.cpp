// kelmora-datacheck [--root DIR] [--json]
// Checks a program folder's catalogue with the program's own data code. Exit status: 0 without
// problems, 1 with problems, 2 for a usage error.
// kelmora-datacheck [--root DIR] --find TEXT
// Prints the rows 銘柄検索 shows for TEXT. Exit status: 0 when something matched, 1 when nothing
// did, 2 for a usage error.
// kelmora-datacheck [--root DIR] --profile NAME
// Prints the profile of the listed variety NAME. Exit status: 0 when it is listed, 1 when it is
// not, 2 for a usage error.

#include "settings/CProgramFolder.h"
#include "settings/CRvFileAccess.h"
#include "tools/datacheck/CBrandFind.h"
#include "tools/datacheck/CDataChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

namespace {

constexpr int kExitClean = 0;
constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

// The program whose folder is checked: its settings file is this name + ".ini".
const QString kProgramName = QStringLiteral("kelmora");

const char kUsage[] = "usage: kelmora-datacheck [--root DIR] [--json]\n"
                      "       kelmora-datacheck [--root DIR] --find TEXT\n"
                      "       kelmora-datacheck [--root DIR] --profile NAME\n"
                      "  --root DIR  the folder of the program to check (default: this tool's own folder);\n"
                      "              the catalogue lies in DIR, or in DIR/../share/kelmora when installed\n"
                      "  --json      print the catalogue as read and the problems as one JSON object\n"
                      "  --find TEXT print the brands 銘柄検索 finds for TEXT: name, prefecture,\n"
                      "              classification and 必須/選択, separated by tabs (kana or romaji)\n"
                      "  --profile NAME\n"
                      "              print the profile of the listed variety NAME: its reading,\n"
                      "              classifications and pedigree, the prefectures that list it, and its\n"
                      "              parents and descendants among the listed varieties\n";

int UsageError(const QString &message)
{
    QTextStream err(stderr);
    err << "kelmora-datacheck: " << message << '\n' << kUsage;
    return kExitUsage;
}

}  // namespace

int main(int argc, char *argv[])
{
    QString root;
    bool json = false;
    bool find = false;
    QString findText;
    bool profile = false;
    QString profileName;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--root")) {
            if (i + 1 >= argc)
                return UsageError(QStringLiteral("--root needs a folder"));
            root = QFile::decodeName(argv[++i]);
            if (root.isEmpty())
                return UsageError(QStringLiteral("--root needs a folder"));
        } else if (arg == QLatin1String("--find")) {
            if (i + 1 >= argc)
                return UsageError(QStringLiteral("--find needs a text"));
            find = true;
            findText = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--profile")) {
            if (i + 1 >= argc)
                return UsageError(QStringLiteral("--profile needs a name"));
            profile = true;
            profileName = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            QTextStream(stdout) << kUsage;
            return kExitClean;
        } else {
            return UsageError(QStringLiteral("unknown argument \"%1\"").arg(arg));
        }
    }

    const CRvFileAccess access;
    if (root.isEmpty())
        root = access.GetExeFolder();
    if (!QFileInfo(root).isDir())
        return UsageError(QStringLiteral("\"%1\" is not a folder").arg(root));
    if ((find ? 1 : 0) + (json ? 1 : 0) + (profile ? 1 : 0) > 1)
        return UsageError(QStringLiteral("--find, --profile and --json do not go together"));
    // The files of the program `kProgramName` run from the root folder.
    const CProgramFolder program(root, kProgramName);

    if (find) {
        QTextStream out(stdout);
        return CBrandFind::Run(program, findText, out) > 0 ? kExitClean : kExitProblems;
    }
    if (profile) {
        QTextStream out(stdout);
        return CBrandFind::Profile(program, profileName, out) ? kExitClean : kExitProblems;
    }

    CDataChecker checker;
    checker.Run(program);

    QTextStream out(stdout);
    if (json)
        out << QJsonDocument(checker.ToJson()).toJson(QJsonDocument::Indented);
    else
        out << checker.ToSummary();
    out.flush();
    return checker.GetProblems().empty() ? kExitClean : kExitProblems;
}
