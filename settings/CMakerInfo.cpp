#include "settings/CMakerInfo.h"

#include <QByteArray>

namespace {
// Addresses under a reserved example domain: they can never reach a real company.
const char kWebPage[] = "https://www.orvanta.example/";
const char kWebPageLabel[] = "www.orvanta.example";
const char kMailAddress[] = "info@orvanta.example";
}  // namespace

QString CMakerInfo::CompanyName()
{
    return QStringLiteral("株式会社Orvanta");
}

QUrl CMakerInfo::WebPageUrl()
{
    return QUrl::fromEncoded(QByteArray(kWebPage), QUrl::StrictMode);
}

QString CMakerInfo::WebPageLabel()
{
    return QString::fromLatin1(kWebPageLabel);
}

QString CMakerInfo::MailAddress()
{
    return QString::fromLatin1(kMailAddress);
}

QString CMakerInfo::InquirySubject()
{
    return QStringLiteral("Kelmoraについてのお問い合わせ");
}

QUrl CMakerInfo::InquiryMailUrl()
{
    QByteArray encoded("mailto:");
    encoded += kMailAddress;
    encoded += "?Subject=";
    encoded += QUrl::toPercentEncoding(InquirySubject());
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}
