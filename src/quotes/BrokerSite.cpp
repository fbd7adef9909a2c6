#include "quotes/BrokerSite.h"

#include <libpsl.h>

BrokerSite::BrokerSite(const QUrl &start)
    : m_start(start)
    , m_origins{originOf(start)}
{
}

QUrl BrokerSite::originOf(const QUrl &url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo);
}

QString BrokerSite::siteOf(const QString &host)
{
    // The newest list there is: the one built in or the system's, whichever is newer.
    static psl_ctx_t *const list = psl_latest(nullptr);
    const QByteArray ace = QUrl::toAce(host.toLower());
    const char *domain = list && !ace.isEmpty() ? psl_registrable_domain(list, ace.constData()) : nullptr;
    return domain ? QString::fromLatin1(domain) : QString::fromLatin1(ace);
}

bool BrokerSite::withinSite(const QUrl &from, const QUrl &to)
{
    const QString scheme = to.scheme();
    if (scheme != from.scheme() && !(from.scheme() == QStringLiteral("http") && scheme == QStringLiteral("https")))
        return false;
    if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))
        return false;
    return !to.host().isEmpty() && siteOf(to.host()) == siteOf(from.host());
}

bool BrokerSite::allows(const QUrl &url, bool isRedirect)
{
    const QUrl origin = originOf(url);
    if (m_origins.contains(origin))
        return true;
    if (!isRedirect || !withinSite(m_start, url))
        return false;
    m_origins.insert(origin);
    return true;
}
