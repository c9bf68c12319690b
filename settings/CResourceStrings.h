#pragma once
// The program's string table: the texts the dialogs and message boxes load by number.

#include <QString>

class CResourceStrings
{
public:
    enum Id : int {
        IDS_ABOUTBOX = 101,         // the About command of the main window's menu
        IDS_CONFIRM_BROWSER = 102,  // asked before the maker's web page is opened
        IDS_CONFIRM_MAIL = 103,     // asked before a new mail to the maker is opened
        IDS_CAPTION = 133,          // caption of every message box and title of the main window
        IDS_CLASS_URUCHI = 150,     // the three lines of the classification list, nClass 0..2
        IDS_CLASS_MOCHI = 151,
        IDS_CLASS_BREWING = 152,
    };

    // The text of a string id; empty for an id the table does not hold.
    static QString Load(int id);
};
