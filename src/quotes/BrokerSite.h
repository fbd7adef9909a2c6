#pragma once

#include <QSet>
#include <QUrl>

// Where the broker's page may take the scraper's top frame: the origin it
// was started on, and the origins a redirect took it to within the broker's
// site (the same registrable domain by the public suffix list, or the same
// host where there is none, as for an address), never to another scheme
// but from http to https.
class BrokerSite
{
public:
    explicit BrokerSite(const QUrl &start);

    // A navigation of the top frame: allowed, and a redirect's origin remembered.
    bool allows(const QUrl &url, bool isRedirect);
    // Whether a redirect from `from` to `to` stays within the broker's site.
    static bool withinSite(const QUrl &from, const QUrl &to);

private:
    static QUrl originOf(const QUrl &url);
    static QString siteOf(const QString &host);

    QUrl m_start;
    QSet<QUrl> m_origins;
};
