#pragma once
// Variety files with readings and both statuses, written into a test's executable folder.

#include "support/CTestExeFolder.h"

#include <QList>
#include <QString>

namespace SearchCatalogue {

struct Grain {
    Grain(int id_, const QString &name_, int grainClass_, const QString &reading_ = QString(), bool required_ = true,
          const QString &history_ = QString(), const QString &place_ = QString(), const QString &year_ = QString())
        : id(id_)
        , name(name_)
        , grainClass(grainClass_)
        , reading(reading_)
        , required(required_)
        , history(history_)
        , place(place_)
        , year(year_)
    {}

    int id;
    QString name;
    int grainClass;
    QString reading;  // no "Reading" element when empty
    bool required;
    QString history;  // the pedigree texts: no element when empty
    QString place;
    QString year;
};

inline bool WriteVarietyFile(const CTestExeFolder &folder, int bureau, int pref, const QList<Grain> &grains)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GRoot><Header><DataCount>%1"
                                 "</DataCount></Header>\n")
                      .arg(grains.size());
    for (int i = 0; i < grains.size(); ++i) {
        const Grain &g = grains[i];
        const auto element = [](const char *tag, const QString &text) {
            return text.isEmpty() ? QString() : QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), text);
        };
        xml += QStringLiteral("<Grain Index=\"%1\"><ID>%2</ID><Name>%3</Name><Class>%4</Class><Requierd>%5</Requierd>%6"
                              "</Grain>\n")
                   .arg(i)
                   .arg(g.id)
                   .arg(g.name)
                   .arg(g.grainClass)
                   .arg(g.required ? QStringLiteral("TRUE") : QStringLiteral("FALSE"),
                        element("Reading", g.reading) + element("History", g.history)
                            + element("BreedingPlace", g.place) + element("BreedingYear", g.year));
    }
    xml += QStringLiteral("</GRoot>\n");
    return folder.WriteFile(CTestExeFolder::VarietyFile(bureau, pref), xml.toUtf8());
}

// Region 1 (北海道: 石狩, 空知) and region 3 (関東: 茨城県, 栃木県); region 2 has no prefectures,
// 栃木県's file is missing.
inline bool Write(const CTestExeFolder &folder)
{
    const QList<CTestExeFolder::Region> regions = {
        {QStringLiteral("北海道"), 2, {QStringLiteral("石狩"), QStringLiteral("空知")}},
        {QStringLiteral("東北"), 0, {}},
        {QStringLiteral("関東"), 2, {QStringLiteral("茨城県"), QStringLiteral("栃木県")}},
    };
    return folder.WriteRegionTable(regions)
        && WriteVarietyFile(folder, 1, 1,
                            {{1, QStringLiteral("きらら397"), 0, QStringLiteral("きらら397")},
                             {51, QStringLiteral("風の子もち"), 1, QStringLiteral("かぜのこもち")},
                             {2, QStringLiteral("ゆめぴりか"), 0, QString(), false},
                             {71, QStringLiteral("吟風"), 2, QStringLiteral("ぎんぷう")},
                             {3, QStringLiteral("ゆめぴりか"), 0},
                             {72, QStringLiteral("彗星"), 2, QStringLiteral("すいせい")},
                             {9, QStringLiteral("分類外の米"), 5, QStringLiteral("ぶんるいがいのこめ")},
                             {12, QStringLiteral("コシヒカリつくば"), 0}})
        && WriteVarietyFile(folder, 1, 2,
                            {{1, QStringLiteral("ななつぼし"), 0},
                             {4, QStringLiteral("ゆめぴりかもち"), 1, QString(), false},
                             {5, QStringLiteral("大地の星"), 0, QStringLiteral("だいちのほし")}})
        && WriteVarietyFile(folder, 3, 1,
                            {{1, QStringLiteral("コシヒカリ"), 0},
                             {2, QStringLiteral("山田錦"), 2, QStringLiteral("やまだにしき"), false},
                             {3, QStringLiteral("ＬＧＣソフト"), 0, QStringLiteral("えるじーしーそふと")},
                             {4, QStringLiteral("つくばＳＤ１号"), 0, QStringLiteral("つくばえすでぃ1ごう")},
                             {5, QStringLiteral("山田錦"), 2, QStringLiteral("やまだにしき")}});
}

// The same regions, with pedigrees: コシヒカリ is listed in all four prefectures, its pedigree told
// differently by 空知 and 茨城県 and not at all by 石狩; three varieties of 茨城県 descend from it.
inline bool WritePedigrees(const CTestExeFolder &folder)
{
    const QList<CTestExeFolder::Region> regions = {
        {QStringLiteral("北海道"), 2, {QStringLiteral("石狩"), QStringLiteral("空知")}},
        {QStringLiteral("東北"), 0, {}},
        {QStringLiteral("関東"), 2, {QStringLiteral("茨城県"), QStringLiteral("栃木県")}},
    };
    const QString koshihikari = QStringLiteral("コシヒカリ");
    return folder.WriteRegionTable(regions)
        && WriteVarietyFile(
               folder, 1, 1,
               {{1, QStringLiteral("きらら397"), 0, QStringLiteral("きらら397"), true,
                 QStringLiteral("しまひかり×キタアケ"), QStringLiteral("北海道立上川農試"), QStringLiteral("1988年")},
                {2, QStringLiteral("しまひかり"), 0, QStringLiteral("しまひかり"), false},
                {3, koshihikari, 0, QStringLiteral("こしひかり"), false}})
        && WriteVarietyFile(folder, 1, 2,
                            {{1, koshihikari, 0, QString(), true, QStringLiteral("農林22号×農林1号"),
                              QStringLiteral("福井県農事試験場"), QStringLiteral("1956年")}})
        && WriteVarietyFile(
               folder, 3, 1,
               {{1, koshihikari, 0, QString(), true, QStringLiteral("農林1号×農林22号"), QStringLiteral("別の試験場"),
                 QStringLiteral("1950年")},
                {2, QStringLiteral("ひとめぼれ"), 0, QString(), true, QStringLiteral("コシヒカリ×初星"),
                 QStringLiteral("宮城県古川農業試験場"), QStringLiteral("1991年")},
                {3, QStringLiteral("農林1号"), 0, QStringLiteral("のうりん1ごう"), false},
                {4, QStringLiteral("ミルキークイーン"), 0, QString(), true, QStringLiteral("コシヒカリの突然変異")},
                {5, QStringLiteral("みのりもち"), 1, QString(), true,
                 QStringLiteral("（ヒノヒカリ×コシヒカリ）×コシヒカリ")}})
        && WriteVarietyFile(
               folder, 3, 2,
               {{1, koshihikari, 0, QString(), false}, {2, QStringLiteral("ひとめぼれ"), 2, QString(), false}});
}

}  // namespace SearchCatalogue
