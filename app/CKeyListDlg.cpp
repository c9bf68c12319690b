#include "app/CKeyListDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>

namespace {
// One line of a group: the action and what it does. A line without an action is a note that
// spans both columns.
struct KeyLine {
    const char *szAction;
    const char *szMeaning;
};

struct KeyGroup {
    const char *szTitle;
    int nColumn;  // 0 left, 1 right
    std::initializer_list<KeyLine> lines;
};

// Template geometry, in dialog units.
constexpr int kMargin = 7;
constexpr int kGroupWidth = 234;
constexpr int kGroupTop = 12;    // from the group's top to its first line
constexpr int kGroupBottom = 6;  // below its last line
constexpr int kLinePitch = 11;
constexpr int kLineHeight = 10;
constexpr int kActionLeft = 8;
constexpr int kActionWidth = 84;
constexpr int kMeaningLeft = 96;
constexpr int kMeaningWidth = 128;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 15;

const KeyGroup kGroups[] = {
    {"主画面",
     0,
     {
         {"クリック、↑ / ↓", "一覧の項目を選ぶ"},
         {"Enter（一覧で）", "選択のほかは何もしない"},
         {"Tab / Shift+Tab", "次 / 前の項目へ移動"},
         {"Ctrl+F", "銘柄検索を開く"},
         {"F1", "バージョン情報"},
         {"背景を右クリック", "メニューを開く"},
         {"写真を右クリック", "写真のコマンドのメニューを開く"},
         {"小さな写真をクリック", "別の窓で拡大表示（Esc で閉じる）"},
         {"Esc、終了", "プログラムを終了"},
     }},
    {"銘柄検索",
     0,
     {
         {"文字を入力", "銘柄名か読み（かな・ローマ字）で検索"},
         {"↓ / ↑", "入力欄と一覧の間を移動"},
         {"Enter、ダブルクリック", "主画面でその銘柄を選ぶ"},
         {"Esc", "閉じる"},
     }},
    {"写真",
     1,
     {
         {"ホイール", "ポインタの位置で拡大 / 縮小"},
         {"ダブルクリック", "全体表示と実寸表示を切り替え"},
         {"左ボタンでドラッグ", "表示位置を移動"},
         {"Ctrl++ / Ctrl+=", "拡大"},
         {"Ctrl+−", "縮小"},
         {"Ctrl+0", "全体表示"},
         {"Ctrl+1", "実寸表示（100 %）"},
         {"拡大 / 縮小、トラックバー", "倍率を変える"},
         {"スクロールバー", "表示位置を移動"},
         {nullptr, "写真を選んだ状態で（クリックまたは Tab）："},
         {"←→↑↓", "少しずつ移動"},
         {"PageUp / PageDown", "1 画面ずつ移動"},
         {"Home / End", "端まで移動"},
         {"Ctrl+C", "画像をコピー"},
         {"Ctrl+S", "画像を保存…"},
     }},
};
}  // namespace

CKeyListDlg::CKeyListDlg(QWidget *parent)
    : CRvDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS UI Gothic"), 11.0));
    setWindowTitle(QStringLiteral("キー操作一覧"));

    int columnBottom[2] = {kMargin, kMargin};
    for (const KeyGroup &group : kGroups) {
        const int left = kMargin + group.nColumn * (kGroupWidth + kMargin);
        const int top = columnBottom[group.nColumn];
        const int height = kGroupTop + int(group.lines.size()) * kLinePitch + kGroupBottom;
        AddControl<QGroupBox>(kNoId, QRect(left, top, kGroupWidth, height), QString::fromUtf8(group.szTitle));
        // The lines are created after their group box so that they lie above it.
        auto addText = [this](const QRect &dlu, const char *text) {
            AddControl<QLabel>(kNoId, dlu, QString::fromUtf8(text))->setTextFormat(Qt::PlainText);
        };
        int y = top + kGroupTop;
        for (const KeyLine &line : group.lines) {
            if (line.szAction == nullptr) {
                addText(QRect(left + kActionLeft, y, kMeaningLeft + kMeaningWidth - kActionLeft, kLineHeight),
                        line.szMeaning);
            } else {
                addText(QRect(left + kActionLeft, y, kActionWidth, kLineHeight), line.szAction);
                addText(QRect(left + kMeaningLeft, y, kMeaningWidth, kLineHeight), line.szMeaning);
            }
            y += kLinePitch;
        }
        columnBottom[group.nColumn] = top + height + kMargin;
    }

    const QSize size(2 * kGroupWidth + 3 * kMargin,
                     std::max(columnBottom[0], columnBottom[1]) + kButtonHeight + kMargin);
    auto *close = AddControl<QPushButton>(1,
                                          QRect(size.width() - kMargin - kButtonWidth,
                                                size.height() - kMargin - kButtonHeight, kButtonWidth, kButtonHeight),
                                          QStringLiteral("閉じる"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &CKeyListDlg::accept);

    setFixedSize(MapDialogSize(size));
}

CKeyListDlg::~CKeyListDlg() = default;
