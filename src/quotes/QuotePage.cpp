#include "quotes/QuotePage.h"

#include "core/Logging.h"

#include <QAuthenticator>

QuotePage::QuotePage(QWebEngineProfile *profile, const QUrl &address, QObject *parent)
    : QWebEnginePage(profile, parent)
    , m_site(address)
{
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    // No password is ever given: the request fails.
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl &, QAuthenticator *authenticator) { *authenticator = QAuthenticator(); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl &, QAuthenticator *authenticator, const QString &) { *authenticator = QAuthenticator(); });
}

bool QuotePage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame || m_site.allows(url, type == NavigationTypeRedirect))
        return true;
    qCInfo(lcQuotes) << "the broker's page may not go to" << url.toDisplayString();
    return false;
}

QWebEnginePage *QuotePage::createWindow(WebWindowType)
{
    return nullptr;
}

void QuotePage::javaScriptAlert(const QUrl &, const QString &)
{
}

bool QuotePage::javaScriptConfirm(const QUrl &, const QString &)
{
    return false;
}

bool QuotePage::javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *)
{
    return false;
}

void QuotePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int lineNumber,
                                         const QString &sourceID)
{
    qCInfo(lcPage).noquote() << "quotes page console:" << sourceID << lineNumber << message;
}
