#pragma once
// Catches the addresses the program hands to the desktop (web pages, mailto:) for as long as it
// lives, through Qt's own URL handlers, so that a test launches no browser or mail program.

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

class CUrlCatcher : public QObject
{
    Q_OBJECT

public:
    CUrlCatcher()
    {
        for (const char *scheme : kSchemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~CUrlCatcher() override
    {
        for (const char *scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    CUrlCatcher(const CUrlCatcher &) = delete;
    CUrlCatcher &operator=(const CUrlCatcher &) = delete;

    QList<QUrl> m_opened;

public Q_SLOTS:
    void Open(const QUrl &url) { m_opened << url; }

private:
    static constexpr const char *kSchemes[] = {"http", "https", "mailto"};
};
