#include "app/CAboutDlg.h"

#include "settings/CMakerInfo.h"
#include "settings/CResourceStrings.h"
#include "viewer/CArtwork.h"

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget *parent)
    : CRvDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    SetTemplateFont(MakeTemplateFont(QStringLiteral("MS Shell Dlg"), 11.0));
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto *icon = AddControl<QLabel>(kNoId, QRect(17, 15, 20, 20));
    const QPixmap pixmap = CArtwork::DialogIconPixmap();
    icon->setPixmap(pixmap);
    icon->resize(pixmap.size());

    auto *product =
        AddControl<QLabel>(kNoId, QRect(44, 15, 156, 10), CResourceStrings::Load(CResourceStrings::IDS_CAPTION));
    product->setTextFormat(Qt::PlainText);
    // The project's version, under the product line.
    AddControl<QLabel>(kNoId, QRect(44, 26, 156, 10), QStringLiteral("バージョン " KELMORA_VERSION));
    AddControl<QLabel>(kNoId, QRect(44, 37, 221, 10),
                       QStringLiteral("Copyright (C) ") + CMakerInfo::CompanyName()
                           + QStringLiteral(" All rights reserved."));
    AddControl<QGroupBox>(kNoId, QRect(37, 49, 205, 34), QStringLiteral("Special Thanks!"));
    // Created after the group box so that it lies above it.
    // The icon and every picture of the program are drawn by our own artwork generator.
    AddControl<QLabel>(kNoId, QRect(51, 65, 177, 10),
                       QStringLiteral("アイコン制作・配布：") + CMakerInfo::CompanyName()
                           + QStringLiteral(" デザイン室"));

    auto *ok = AddControl<QPushButton>(1, QRect(231, 93, 43, 15), QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    setFixedSize(MapDialogSize(QSize(281, 115)));
}

CAboutDlg::~CAboutDlg() = default;
