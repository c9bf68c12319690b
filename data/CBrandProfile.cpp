#include "data/CBrandProfile.h"

#include "data/CatalogTypes.h"

namespace {

// What separates the names of a pedigree: the cross, brackets of either width, and the slash
// some breeders write crosses with.
bool IsSeparator(QChar c)
{
    switch (c.unicode()) {
    case u'×':
    case u'（':
    case u'）':
    case u'(':
    case u')':
    case u'/':
    case u'／':
        return true;
    default:
        return false;
    }
}

// Words after a name that say how the variety came from it; the longer of two that end alike
// comes first.
constexpr const char16_t *kOriginWords[] = {
    u"の突然変異体", u"の突然変異", u"の変異体", u"の変異", u"の枝変わり",
    u"の選抜系統",   u"から選抜",   u"より選抜", u"の選抜",
};

QStringView WithoutOriginWord(QStringView name)
{
    for (const char16_t *word : kOriginWords) {
        const QStringView w(word);
        if (name.size() > w.size() && name.endsWith(w))
            return name.chopped(w.size()).trimmed();
    }
    return name;
}

QString Joined(const QStringList &names)
{
    return names.join(QStringLiteral("、"));
}

}  // namespace

QStringList CBrandProfile::ParsePedigree(QStringView history)
{
    QStringList names;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= history.size(); ++i) {
        if (i < history.size() && !IsSeparator(history[i]))
            continue;
        const QStringView name = WithoutOriginWord(history.mid(start, i - start).trimmed());
        if (!name.isEmpty())
            names << name.toString();
        start = i + 1;
    }
    return names;
}

QString CBrandProfile::Format(const BRAND_PROFILE &profile)
{
    QString text = profile.strName;
    if (!profile.strReading.isEmpty() && profile.strReading != profile.strName)
        text += QStringLiteral("（%1）").arg(profile.strReading);
    text += QLatin1Char('\n');

    QStringList classes;
    for (const int nClass : profile.aClass)
        classes << GrainClassText(nClass);
    text += QStringLiteral("分類: %1\n").arg(Joined(classes));

    if (profile.strHistory.isEmpty() && profile.strBreedingPlace.isEmpty() && profile.strBreedingYear.isEmpty()) {
        text += QStringLiteral("系譜の情報はありません\n");
    } else {
        if (!profile.strHistory.isEmpty())
            text += QStringLiteral("来歴: %1\n").arg(profile.strHistory);
        QString breeding = profile.strBreedingPlace;
        if (!breeding.isEmpty() && !profile.strBreedingYear.isEmpty())
            breeding += QLatin1Char(' ');
        breeding += profile.strBreedingYear;
        if (!breeding.isEmpty())
            text += QStringLiteral("育種: %1\n").arg(breeding);
    }

    QStringList groups;
    for (const bool required : {true, false}) {
        QStringList prefs;
        for (const BRAND_PROFILE::LISTING &listing : profile.aListing)
            if (listing.bRequired == required)
                prefs << listing.strPrefName;
        if (!prefs.isEmpty())
            groups << QStringLiteral("%1 — %2").arg(RequiredText(required), Joined(prefs));
    }
    if (!groups.isEmpty())
        text += QStringLiteral("登録: %1\n").arg(groups.join(QStringLiteral("; ")));
    if (!profile.aParent.isEmpty())
        text += QStringLiteral("親: %1\n").arg(Joined(profile.aParent));
    if (!profile.aChild.isEmpty())
        text += QStringLiteral("子: %1\n").arg(Joined(profile.aChild));
    return text;
}
