#include "app/CKelmoraApp.h"

#include "app/CGuidanceDlg.h"
#include "app/CKelmoraDlg.h"
#include "controls/CRvDialog.h"
#include "settings/CRvFileIni.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPalette>
#include <QPointer>
#include <QStyleFactory>
#include <QTranslator>

QString CKelmoraApp::AppId()
{
    // The name of the installed desktop entry (res/desktop), so that the desktop shows the
    // running window with the menu entry's name and icon.
    return QStringLiteral(KELMORA_APP_ID);
}

QString CKelmoraApp::RegistryKey()
{
    return QStringLiteral("Lumivale");
}

CKelmoraApp::CKelmoraApp(const CProgramFolder &program)
    : m_program(program)
{
    // No application name is given: the executable's base name serves.
    QGuiApplication::setDesktopFileName(AppId());
}

bool CKelmoraApp::InitInstance()
{
    ApplyJapaneseInterface();
    RunGuidance(m_program.GetSettings());
    ApplyVisualStyle();
    QCoreApplication::setOrganizationName(RegistryKey());

    // "終了", Esc and the window's close box all end the program the same way; nothing is saved.
    CKelmoraDlg dlg(m_program);
    dlg.exec();
    return false;
}

bool CKelmoraApp::RunGuidance(const CRvFileIni &settings)
{
    if (settings.IsNotDispGuidance())
        return false;
    CGuidanceDlg guidance;
    guidance.exec();
    // Written after every showing, so a clear box (or Esc) stores "False" explicitly.
    settings.WriteString(QStringLiteral("Guidance"), QStringLiteral("bNotDispGuidance"),
                         guidance.m_bNotDispGuidance ? QStringLiteral("True") : QStringLiteral("False"));
    return true;
}

void CKelmoraApp::ApplyJapaneseInterface()
{
    // Loaded by name, not by the user's locale, so that LANG=C or en_US still gets Japanese.
    static QPointer<QTranslator> translator;
    if (translator.isNull()) {
        auto *qtTexts = new QTranslator(QCoreApplication::instance());
        if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
            && QCoreApplication::installTranslator(qtTexts))
            translator = qtTexts;
        else
            delete qtTexts;
    }

    // Set without a class name, so that it also replaces the fonts the desktop's theme gives
    // menus and message boxes (those would fall back to a fixed-width Japanese face). The size
    // stays the desktop's.
    const QFont current = QApplication::font();
    QFont font = CRvDialog::MakeTemplateFont(QStringLiteral("MS UI Gothic"), 9.0);
    if (current.pointSizeF() > 0)
        font.setPointSizeF(current.pointSizeF());
    else if (current.pixelSize() > 0)
        font.setPixelSize(current.pixelSize());
    QApplication::setFont(font);
}

void CKelmoraApp::ApplyVisualStyle()
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    QPalette pal;
    const QColor face(240, 240, 240);
    pal.setColor(QPalette::Window, face);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    pal.setColor(QPalette::ToolTipText, Qt::black);
    pal.setColor(QPalette::PlaceholderText, QColor(120, 120, 120));
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Button, face);
    pal.setColor(QPalette::ButtonText, Qt::black);
    pal.setColor(QPalette::BrightText, Qt::white);
    pal.setColor(QPalette::Light, Qt::white);
    pal.setColor(QPalette::Midlight, QColor(227, 227, 227));
    pal.setColor(QPalette::Mid, QColor(160, 160, 160));
    pal.setColor(QPalette::Dark, QColor(160, 160, 160));
    pal.setColor(QPalette::Shadow, QColor(105, 105, 105));
    pal.setColor(QPalette::Highlight, QColor(0, 120, 215));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::Link, QColor(0, 102, 204));
    pal.setColor(QPalette::LinkVisited, QColor(128, 0, 128));
    const QColor greyText(128, 128, 128);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, greyText);
    pal.setColor(QPalette::Disabled, QPalette::Text, greyText);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, greyText);
    pal.setColor(QPalette::Disabled, QPalette::Base, face);
    pal.setColor(QPalette::Disabled, QPalette::Highlight, QColor(200, 200, 200));
    QApplication::setPalette(pal);
}
