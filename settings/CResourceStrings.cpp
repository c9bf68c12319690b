#include "settings/CResourceStrings.h"

QString CResourceStrings::Load(int id)
{
    switch (id) {
    case IDS_ABOUTBOX:
        return QStringLiteral("バージョン情報 (&A)...");
    case IDS_CONFIRM_BROWSER:
        return QStringLiteral("ブラウザを起動しますか？");
    case IDS_CONFIRM_MAIL:
        return QStringLiteral("メール作成画面を開きますか？");
    case IDS_CAPTION:
        // The separators around 【米版】 are ideographic spaces.
        return QStringLiteral("Kelmora\u3000【米版】\u3000デモバージョン");
    case IDS_CLASS_URUCHI:
        return QStringLiteral("水稲うるち米");
    case IDS_CLASS_MOCHI:
        return QStringLiteral("水稲もち米");
    case IDS_CLASS_BREWING:
        return QStringLiteral("醸造用玄米");
    default:
        return QString();
    }
}
