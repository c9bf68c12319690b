#pragma once
// The maker's name and addresses, defined once for the guidance dialog, the main window's maker
// label and logo, and the About box.

#include <QString>
#include <QUrl>

class CMakerInfo
{
public:
    static QString CompanyName();   // "株式会社Orvanta"
    static QUrl WebPageUrl();       // the page a browser opens
    static QString WebPageLabel();  // the short form shown after "URL ： "
    static QString MailAddress();
    static QString InquirySubject();  // subject of a new mail to the maker
    // "mailto:" + address + "?Subject=" + the subject, percent-encoded as UTF-8 so that every mail
    // program receives the Japanese subject intact.
    static QUrl InquiryMailUrl();
};
