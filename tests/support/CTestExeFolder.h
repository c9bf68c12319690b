#pragma once
// A temporary program folder for one test: a program handed Program() runs as "kelmora" from
// there, so its settings file, region table and variety files are the test's own.

#include "settings/CProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QTemporaryDir>

class CTestExeFolder
{
public:
    struct Region {
        QString name;
        int prefCnt = 0;
        QStringList prefNames;
    };
    struct Grain {
        int id = 0;
        QString name;
        int grainClass = 0;
    };

    CTestExeFolder() = default;
    CTestExeFolder(const CTestExeFolder &) = delete;
    CTestExeFolder &operator=(const CTestExeFolder &) = delete;

    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const { return m_dir.path() + QLatin1Char('/'); }
    QString SettingsPath() const { return Path() + QStringLiteral("kelmora.ini"); }
    QString RegionTablePath() const { return Path() + QStringLiteral("BureauPref.pfd"); }
    CProgramFolder Program() const { return CProgramFolder(Path(), QStringLiteral("kelmora")); }

    bool WriteFile(const QString &relative, const QByteArray &content) const
    {
        const QString path = Path() + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    QByteArray ReadFile(const QString &relative) const
    {
        QFile file(Path() + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool Exists(const QString &relative) const { return QFileInfo::exists(Path() + relative); }

    // Regions in table order, Bureau01 onwards (UTF-8).
    bool WriteRegionTable(const QList<Region> &regions) const
    {
        QString text;
        for (int i = 0; i < regions.size(); ++i) {
            const Region &r = regions[i];
            text += QStringLiteral("[Bureau%1]\nBureauName=%2\nPrefCnt=%3\n")
                        .arg(i + 1, 2, 10, QLatin1Char('0'))
                        .arg(r.name)
                        .arg(r.prefCnt);
            for (int p = 0; p < r.prefNames.size(); ++p)
                text += QStringLiteral("PrefName%1=%2\n").arg(p + 1, 2, 10, QLatin1Char('0')).arg(r.prefNames[p]);
        }
        return WriteFile(QStringLiteral("BureauPref.pfd"), text.toUtf8());
    }

    // The variety file of region `bureau`, prefecture `pref` below `dataFolder` (relative to the
    // executable folder, ending in "/").
    bool WriteVarietyFile(int bureau, int pref, const QList<Grain> &grains,
                          const QString &dataFolder = QStringLiteral("Data/")) const
    {
        QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot><Header><DataCount>%1"
                                     "</DataCount></Header>\n")
                          .arg(grains.size());
        for (int i = 0; i < grains.size(); ++i) {
            xml += QStringLiteral("<Grain Index=\"%1\"><ID>%2</ID><Name>%3</Name><Class>%4</Class>"
                                  "<Requierd>TRUE</Requierd></Grain>\n")
                       .arg(i)
                       .arg(grains[i].id)
                       .arg(grains[i].name)
                       .arg(grains[i].grainClass);
        }
        xml += QStringLiteral("</GRoot>\n");
        return WriteFile(VarietyFile(bureau, pref, dataFolder), xml.toUtf8());
    }
    static QString VarietyFile(int bureau, int pref, const QString &dataFolder = QStringLiteral("Data/"))
    {
        return dataFolder
            + QStringLiteral("%1/%1%2.vdx").arg(bureau, 2, 10, QLatin1Char('0')).arg(pref, 2, 10, QLatin1Char('0'));
    }

    // The catalogue most tests share: region 1 with two prefectures whose files differ, region 2
    // without prefectures, region 3 whose only variety file is missing, five unnamed regions.
    bool WriteStandardCatalogue() const
    {
        const QList<Region> regions = {
            {QStringLiteral("北海道"), 2, {QStringLiteral("石狩"), QStringLiteral("空知")}},
            {QStringLiteral("東北"), 0, {}},
            {QStringLiteral("関東"), 1, {QStringLiteral("茨城県")}},
        };
        return WriteRegionTable(regions)
            && WriteVarietyFile(1, 1,
                                {{1, QStringLiteral("きらら397"), 0},
                                 {51, QStringLiteral("風の子もち"), 1},
                                 {2, QStringLiteral("ゆめぴりか"), 0},
                                 {71, QStringLiteral("吟風"), 2},
                                 {3, QStringLiteral("ゆめぴりか"), 0},
                                 {72, QStringLiteral("彗星"), 2},
                                 {52, QStringLiteral("ゆめぴりか"), 1}})
            && WriteVarietyFile(1, 2,
                                {{1, QStringLiteral("ななつぼし"), 0}, {51, QStringLiteral("はくちょうもち"), 1}});
    }

private:
    QTemporaryDir m_dir;
};
