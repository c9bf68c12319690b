#pragma once
// The application: decides at start-up whether the first-run guidance dialog is shown, fixes the
// program's own look, runs the main window modally and ends when it closes. It holds no
// catalogue state. The QApplication itself is made by main() before this object.

#include "settings/CProgramFolder.h"

#include <QString>

class CRvFileIni;

class CKelmoraApp
{
public:
    // Identity given to the desktop: the id that groups the program's windows, and the key under
    // which per-user framework settings would live (the program stores nothing there).
    static QString AppId();
    static QString RegistryKey();

    // `program`: where the running program's files lie (main() works it out once).
    explicit CKelmoraApp(const CProgramFolder &program);
    CKelmoraApp(const CKelmoraApp &) = delete;
    CKelmoraApp &operator=(const CKelmoraApp &) = delete;

    // The whole run: guidance dialog unless suppressed, the look, the main window's modal run.
    // Always false: nothing follows the main window, and the process ends.
    bool InitInstance();

    // Shows the guidance dialog unless [Guidance] bNotDispGuidance reads exactly "True", and then
    // stores the dialog's answer there ("True" or "False"). When suppressed, nothing is shown and
    // nothing is written. Answers whether the dialog was shown.
    static bool RunGuidance(const CRvFileIni &settings);
    // The interface is Japanese whatever the user's locale: Qt's own texts (the Yes and No of a
    // message box, the commands of a text field's menu) come from Qt's Japanese translation, and
    // every widget, message boxes and menus included, uses the dialog font's family chain. Called
    // first thing at start-up; calling it again changes nothing.
    static void ApplyJapaneseInterface();
    // Fusion with a fixed light palette: buttons, lists and dialogs look the same on every
    // desktop, whatever its theme.
    static void ApplyVisualStyle();

private:
    CProgramFolder m_program;
};
