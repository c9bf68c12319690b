#include "tools/datacheck/CDataChecker.h"

#include "data/CCatalogData.h"
#include "data/CXmlDocument.h"
#include "settings/CProgramFolder.h"
#include "settings/CRvFileAccess.h"
#include "settings/CRvFileIni.h"
#include "settings/CRvTextCodec.h"

#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <array>

namespace {

QString ClassName(int nClass)
{
    const QString text = GrainClassText(nClass);
    return text.isEmpty() ? QStringLiteral("分類外 (Class %1)").arg(nClass) : text;
}

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Why a file that is there was not read at all, or nothing when it was read (or simply missing).
QString StatusProblem(CRvFileAccess::ReadStatus status, qint64 maxSize)
{
    switch (status) {
    case CRvFileAccess::ReadStatus::Read:
    case CRvFileAccess::ReadStatus::Missing:
        return QString();
    case CRvFileAccess::ReadStatus::NotRegular:
        return QStringLiteral("not a regular file");
    case CRvFileAccess::ReadStatus::TooLarge:
        return QStringLiteral("too large: over %1 KiB").arg(maxSize / 1024);
    case CRvFileAccess::ReadStatus::Unreadable:
        return QStringLiteral("cannot be read");
    }
    return QString();
}

QString ReadProblem(const QString &path, qint64 maxSize)
{
    QByteArray bytes;
    return StatusProblem(CRvFileAccess().ReadFile(path, maxSize, bytes), maxSize);
}

QJsonObject GrainToJson(const GRAIN_INFO_DATA &grain)
{
    QJsonObject object;
    object.insert(QStringLiteral("nID"), grain.nID);
    object.insert(QStringLiteral("nClass"), grain.nClass);
    object.insert(QStringLiteral("strName"), grain.strName);
    object.insert(QStringLiteral("bRequired"), grain.bRequired);
    object.insert(QStringLiteral("strRequired"), grain.strRequired);
    object.insert(QStringLiteral("strHistory"), grain.strHistory);
    object.insert(QStringLiteral("strBreedingYear"), grain.strBreedingYear);
    object.insert(QStringLiteral("strBreedingPlace"), grain.strBreedingPlace);
    object.insert(QStringLiteral("strGrainShape"), grain.strGrainShape);
    object.insert(QStringLiteral("strColor"), grain.strColor);
    object.insert(QStringLiteral("strSkin"), grain.strSkin);
    object.insert(QStringLiteral("strGroove"), grain.strGroove);
    object.insert(QStringLiteral("strEmbryo"), grain.strEmbryo);
    object.insert(QStringLiteral("strThousandWeight"), grain.strThousandWeight);
    object.insert(QStringLiteral("strWhitePart"), grain.strWhitePart);
    object.insert(QStringLiteral("strOther"), grain.strOther);
    return object;
}

}  // namespace

void CDataChecker::Run(const CProgramFolder &program)
{
    const CRvFileAccess access;

    // The region table is read once, for the catalogue and for its own checks.
    CRvFileAccess::ReadStatus status = CRvFileAccess::ReadStatus::Missing;
    const CRvFileIni table = CRvFileIni::ReadOnce(program.GetRegionTablePath(), &status);
    CCatalogData catalog(table);
    m_aBureau.Copy(catalog.GetBureauTable());
    CheckRegionTable(program, catalog, table, status);

    const CRvFileIni settings = program.GetSettings();
    const QString settingsProblem = ReadProblem(settings.GetIniPath(), CRvFileIni::kMaxFileSize);
    if (!settingsProblem.isEmpty())
        AddProblem(settings.GetIniPath(),
                   QStringLiteral("settings file %1; the program uses its defaults").arg(settingsProblem));

    // The data folder is resolved as the main window does it.
    const QString folder = program.GetDataFolder();
    if (!catalog.SetDataFolder(folder))
        AddProblem(folder,
                   QStringLiteral("data folder not found; the program looks for the variety files "
                                  "relative to its current folder"));
    m_strDataFolder = catalog.GetDataFolder();

    for (const BUREAU_DATA &bureau : m_aBureau) {
        for (int i = 0; i < bureau.nPrefCnt; ++i) {
            const PREF_DATA &entry = bureau.aPref[static_cast<std::size_t>(i)];
            PrefResult pref;
            pref.nBureauNo = entry.nBureauNo;
            pref.nPrefNo = entry.nPrefNo;
            pref.strPrefName = entry.strPrefName;
            pref.strFile = catalog.GetGrainFilePath(entry.nBureauNo, entry.nPrefNo);
            pref.bExists = access.IsFileExist(pref.strFile);
            pref.bLoaded = catalog.LoadGrainInfo(entry.nBureauNo, entry.nPrefNo, pref.aGrain);
            CheckVarietyFile(pref);
            NoteGrainsWithoutReading(pref);
            m_aPref.push_back(std::move(pref));
        }
    }
}

void CDataChecker::CheckRegionTable(const CProgramFolder &program, const CCatalogData &catalog, const CRvFileIni &ini,
                                    CRvFileAccess::ReadStatus status)
{
    const QString path = program.GetRegionTablePath();
    if (program.GetLayout() == CProgramFolder::Layout::NotFound) {
        AddProblem(path,
                   QStringLiteral("region table not found; looked for it at %1; the program shows eight "
                                  "empty regions")
                       .arg(program.GetRegionTablePlaces().join(QStringLiteral(" and at "))));
        return;
    }
    const QString problem = StatusProblem(status, CRvFileIni::kMaxFileSize);
    if (!problem.isEmpty()) {
        AddProblem(path, QStringLiteral("region table %1; the program shows eight empty regions").arg(problem));
        return;
    }
    for (const BUREAU_DATA &bureau : catalog.GetBureauTable()) {
        const QString section = QStringLiteral("Bureau%1").arg(bureau.nBureauNo, 2, 10, QLatin1Char('0'));
        if (bureau.strBureauName.isEmpty())
            AddProblem(path, QStringLiteral("[%1] region name \"BureauName\" missing").arg(section));
        // The record holds at most nine; the file's own count tells what was written.
        const int count = ini.GetInt(section, QStringLiteral("PrefCnt"), 0);
        if (count > BUREAU_DATA::kMaxPref)
            AddProblem(path,
                       QStringLiteral("[%1] \"PrefCnt\" %2 is above 9; only nine prefectures are read")
                           .arg(section)
                           .arg(count));
        else if (count < 0)
            AddProblem(path,
                       QStringLiteral("[%1] \"PrefCnt\" %2 is below 0; the region has no prefectures")
                           .arg(section)
                           .arg(count));
        for (int i = 0; i < bureau.nPrefCnt; ++i) {
            if (bureau.aPref[static_cast<std::size_t>(i)].strPrefName.isEmpty())
                AddProblem(path,
                           QStringLiteral("[%1] prefecture name \"PrefName%2\" missing")
                               .arg(section)
                               .arg(i + 1, 2, 10, QLatin1Char('0')));
        }
    }
}

void CDataChecker::CheckVarietyFile(const PrefResult &pref)
{
    if (!pref.bExists) {
        AddProblem(pref.strFile, QStringLiteral("variety file missing; %1 shows no brands").arg(pref.strPrefName));
        return;
    }
    CXmlDocument doc;
    doc.CreateNewDocument();
    CXmlDocument::CLoadError error;
    if (!doc.LoadFile(pref.strFile, &error)) {
        const QString line = error.nLine > 0 ? QStringLiteral(" (line %1)").arg(error.nLine) : QString();
        AddProblem(pref.strFile,
                   QStringLiteral("variety file not loadable: %1%2; %3 shows no brands")
                       .arg(error.strReason, line, pref.strPrefName));
        return;
    }
    CheckGrains(pref.strFile, doc, pref.aGrain);
}

void CDataChecker::CheckGrains(const QString &file, const CXmlDocument &doc, const CGrainInfoArray &grains)
{
    // Every "Grain" with the first of each spelling below it, in one walk however they nest.
    const CXmlDocument::CGroups groups = doc.GetGroups("Grain", {"Requierd", "Required"});
    const std::vector<CXmlDocument::CElement> &elements = groups.aGroup;
    const int dataCount = CRvTextCodec::LeadingInt(doc.GetNodeText(QStringLiteral("Header"), QString(), QString(),
                                                                   QStringLiteral("DataCount"), QStringLiteral("0")));
    const int read = std::clamp(dataCount, 0, CCatalogData::kMaxDataCount);

    if (dataCount != static_cast<int>(elements.size()))
        AddProblem(file,
                   QStringLiteral("\"DataCount\" %1 differs from the number of \"Grain\" elements, %2")
                       .arg(dataCount)
                       .arg(elements.size()));
    if (dataCount > CCatalogData::kMaxDataCount)
        AddProblem(file,
                   QStringLiteral("\"DataCount\" %1 is above %2; only the first %2 are read")
                       .arg(dataCount)
                       .arg(CCatalogData::kMaxDataCount));

    // Which element the loader reads for each position: the first with that exact "Index" text.
    std::vector<int> atPosition(static_cast<std::size_t>(read), -1);  // group numbers
    QSet<QString> seen;
    int number = 0;
    for (const CXmlDocument::CElement &element : elements) {
        ++number;
        const std::optional<QString> index = element.GetAttribute("Index");
        if (!index) {
            AddProblem(file,
                       QStringLiteral("\"Grain\" element number %1 has no \"Index\"; it is never read").arg(number));
            continue;
        }
        if (seen.contains(*index)) {
            AddProblem(
                file,
                QStringLiteral("\"Index\" %1 repeated; only the first such \"Grain\" is read").arg(Quoted(*index)));
            continue;
        }
        seen.insert(*index);
        const int position = CCatalogData::IndexPosition(index->toUtf8().constData(), read);
        if (position < 0) {
            AddProblem(file,
                       QStringLiteral("\"Index\" %1 out of range 0..%2; that \"Grain\" is never read")
                           .arg(Quoted(*index), QString::number(read - 1)));
            continue;
        }
        atPosition[static_cast<std::size_t>(position)] = number - 1;
    }

    // Missing positions, one problem per run of them.
    for (int i = 0; i < read;) {
        if (atPosition[static_cast<std::size_t>(i)] >= 0) {
            ++i;
            continue;
        }
        int last = i;
        while (last + 1 < read && atPosition[static_cast<std::size_t>(last + 1)] < 0)
            ++last;
        const QString positions = last == i ? QString::number(i) : QStringLiteral("%1..%2").arg(i).arg(last);
        AddProblem(file,
                   QStringLiteral("\"Index\" %1 missing; an empty required line is shown in its place").arg(positions));
        i = last + 1;
    }

    QHash<QString, int> firstByName;  // key: class + name
    for (int i = 0; i < read && i < grains.GetSize(); ++i) {
        const int group = atPosition[static_cast<std::size_t>(i)];
        if (group < 0)
            continue;
        const GRAIN_INFO_DATA &grain = grains[i];
        const QString where = QStringLiteral("\"Grain\" Index %1").arg(i);
        const CXmlDocument::CElement *const spellings = &groups.aField[static_cast<std::size_t>(group) * 2];
        if (spellings[0].IsNull() && !spellings[1].IsNull())
            AddProblem(file,
                       where
                           + QStringLiteral(": \"Required\" found but the spelling read is \"Requierd\"; "
                                            "the brand shows as required"));
        if (grain.nClass < kClassUruchi || grain.nClass >= kClassCount)
            AddProblem(
                file,
                where
                    + QStringLiteral(": \"Class\" %1 is outside 0..2; the brand is listed nowhere").arg(grain.nClass));
        if (grain.strName.isEmpty()) {
            AddProblem(file, where + QStringLiteral(": empty \"Name\""));
            continue;
        }
        const QString key = QString::number(grain.nClass) + QLatin1Char('\n') + grain.strName;
        const auto first = firstByName.constFind(key);
        if (first != firstByName.constEnd())
            AddProblem(file,
                       where
                           + QStringLiteral(": name %1 already used by Index %2 in %3")
                                 .arg(Quoted(grain.strName), QString::number(first.value()), ClassName(grain.nClass)));
        else
            firstByName.insert(key, i);
    }
}

void CDataChecker::AddProblem(const QString &file, const QString &message)
{
    m_aProblem.push_back(Problem{file, message});
}

void CDataChecker::NoteGrainsWithoutReading(const PrefResult &pref)
{
    // One note per file, its positions written as runs: "0..3, 7".
    QStringList runs;
    int count = 0;
    const int size = pref.aGrain.GetSize();
    auto lacks = [&](int i) { return !pref.aGrain[i].strName.isEmpty() && pref.aGrain[i].strReading.isEmpty(); };
    for (int i = 0; i < size; ++i) {
        if (!lacks(i))
            continue;
        int last = i;
        while (last + 1 < size && lacks(last + 1))
            ++last;
        runs << (last == i ? QString::number(i) : QStringLiteral("%1..%2").arg(i).arg(last));
        count += last - i + 1;
        i = last;
    }
    if (count > 0)
        m_aNote.push_back(Problem{pref.strFile,
                                  QStringLiteral("%1 \"Grain\" without \"Reading\" (Index %2); 銘柄検索 "
                                                 "finds them by name only")
                                      .arg(QString::number(count), runs.join(QStringLiteral(", ")))});
}

QJsonObject CDataChecker::ToJson() const
{
    QJsonArray regions;
    for (const BUREAU_DATA &bureau : m_aBureau) {
        QJsonArray prefs;
        for (const PREF_DATA &pref : bureau.aPref) {
            QJsonObject entry;
            entry.insert(QStringLiteral("nBureauNo"), pref.nBureauNo);
            entry.insert(QStringLiteral("nPrefNo"), pref.nPrefNo);
            entry.insert(QStringLiteral("strPrefName"), pref.strPrefName);
            prefs.append(entry);
        }
        QJsonObject region;
        region.insert(QStringLiteral("nBureauNo"), bureau.nBureauNo);
        region.insert(QStringLiteral("strBureauName"), bureau.strBureauName);
        region.insert(QStringLiteral("nPrefCnt"), bureau.nPrefCnt);
        region.insert(QStringLiteral("aPref"), prefs);
        regions.append(region);
    }

    QJsonArray prefectures;
    for (const PrefResult &pref : m_aPref) {
        QJsonArray varieties;
        for (const GRAIN_INFO_DATA &grain : pref.aGrain)
            varieties.append(GrainToJson(grain));
        QJsonObject object;
        object.insert(QStringLiteral("nBureauNo"), pref.nBureauNo);
        object.insert(QStringLiteral("nPrefNo"), pref.nPrefNo);
        object.insert(QStringLiteral("file"), pref.strFile);
        object.insert(QStringLiteral("exists"), pref.bExists);
        object.insert(QStringLiteral("loaded"), pref.bLoaded);
        object.insert(QStringLiteral("varieties"), varieties);
        prefectures.append(object);
    }

    QJsonArray problems;
    for (const Problem &problem : m_aProblem) {
        QJsonObject object;
        object.insert(QStringLiteral("file"), problem.strFile);
        object.insert(QStringLiteral("message"), problem.strMessage);
        problems.append(object);
    }

    QJsonObject root;
    root.insert(QStringLiteral("dataFolder"), m_strDataFolder);
    root.insert(QStringLiteral("regions"), regions);
    root.insert(QStringLiteral("prefectures"), prefectures);
    root.insert(QStringLiteral("problems"), problems);
    QJsonArray notes;
    for (const Problem &note : m_aNote)
        notes.append(QJsonObject{{QStringLiteral("file"), note.strFile}, {QStringLiteral("message"), note.strMessage}});
    root.insert(QStringLiteral("notes"), notes);
    return root;
}

QString CDataChecker::ToSummary() const
{
    QString text;
    QTextStream out(&text);

    // Counts per classification: the three of the list, then anything outside them.
    using Counts = std::array<int, kClassCount + 1>;
    auto countOf = [](const CGrainInfoArray &grains) {
        Counts counts{};
        for (const GRAIN_INFO_DATA &grain : grains) {
            const bool known = grain.nClass >= kClassUruchi && grain.nClass < kClassCount;
            ++counts[static_cast<std::size_t>(known ? grain.nClass : kClassCount)];
        }
        return counts;
    };
    auto describe = [](const Counts &counts) {
        int total = 0;
        QStringList parts;
        for (int c = 0; c <= kClassCount; ++c) {
            const int n = counts[static_cast<std::size_t>(c)];
            total += n;
            if (c < kClassCount)
                parts << QStringLiteral("%1 %2").arg(ClassName(c)).arg(n);
            else if (n > 0)
                parts << QStringLiteral("分類外 %1").arg(n);
        }
        return QStringLiteral("%1 varieties (%2)").arg(QString::number(total), parts.join(QStringLiteral(", ")));
    };
    auto add = [](Counts &sum, const Counts &part) {
        for (std::size_t c = 0; c < sum.size(); ++c)
            sum[c] += part[c];
    };

    out << "Data folder: " << (m_strDataFolder.isEmpty() ? QStringLiteral("(none)") : m_strDataFolder) << '\n';
    Counts grand{};
    for (const BUREAU_DATA &bureau : m_aBureau) {
        Counts regionCounts{};
        QStringList lines;
        for (const PrefResult &pref : m_aPref) {
            if (pref.nBureauNo != bureau.nBureauNo)
                continue;
            const Counts counts = countOf(pref.aGrain);
            add(regionCounts, counts);
            lines << QStringLiteral("    %1 %2: %3%4")
                         .arg(pref.nPrefNo, 2, 10, QLatin1Char('0'))
                         .arg(pref.strPrefName, describe(counts),
                              pref.bExists ? QString() : QStringLiteral(" [file missing]"));
        }
        add(grand, regionCounts);
        out << QStringLiteral("%1 %2: %3 prefecture(s), %4")
                   .arg(QStringLiteral("%1").arg(bureau.nBureauNo, 2, 10, QLatin1Char('0')), bureau.strBureauName,
                        QString::number(bureau.nPrefCnt), describe(regionCounts))
            << '\n';
        for (const QString &line : lines)
            out << line << '\n';
    }
    out << QStringLiteral("Total: %1 prefecture(s), %2").arg(QString::number(m_aPref.size()), describe(grand)) << '\n';

    if (m_aProblem.empty()) {
        out << "Problems: none\n";
    } else {
        out << "Problems: " << m_aProblem.size() << '\n';
        for (const Problem &problem : m_aProblem)
            out << "  " << problem.strFile << ": " << problem.strMessage << '\n';
    }
    if (!m_aNote.empty()) {
        out << "Notes: " << m_aNote.size() << '\n';
        for (const Problem &note : m_aNote)
            out << "  " << note.strFile << ": " << note.strMessage << '\n';
    }
    out.flush();
    return text;
}
