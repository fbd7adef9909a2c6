#include "pagebridge/GuardedPage.h"

#include "core/Logging.h"
#include "pagebridge/PageBridge.h"

#include <QAuthenticator>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

GuardedPage::GuardedPage(QObject *parent)
    : QWebEnginePage(parent)
{
    // A frame whose site cannot be reached stays blank: the engine's own error
    // page animates, and keeps a machine without a network busy drawing it.
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    connect(this, &QWebEnginePage::newWindowRequested, this, [](QWebEngineNewWindowRequest &request) {
        // Not accepted, so no window opens here; a user's click still reaches the browser.
        if (request.isUserInitiated())
            PageBridge::openExternally(request.requestedUrl());
    });
    // A cleared authenticator cancels the log-in instead of asking the user.
    connect(this, &QWebEnginePage::authenticationRequired, this, [](const QUrl &url, QAuthenticator *authenticator) {
        qCInfo(lcPage) << "log-in refused:" << url;
        *authenticator = QAuthenticator();
    });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl &, QAuthenticator *authenticator, const QString &) { *authenticator = QAuthenticator(); });
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::fullScreenRequested, this, [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(profile(), &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest *download) {
        if (download->page() == this) {
            qCInfo(lcPage) << "download refused:" << download->url();
            download->cancel();
        }
    });
}

void GuardedPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    qCInfo(lcPage).noquote() << "alert refused:" << securityOrigin.toString() << msg.left(200);
}

bool GuardedPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    qCInfo(lcPage).noquote() << "confirm refused:" << securityOrigin.toString() << msg.left(200);
    return false;
}

bool GuardedPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &, QString *)
{
    qCInfo(lcPage).noquote() << "prompt refused:" << securityOrigin.toString() << msg.left(200);
    return false;
}

QStringList GuardedPage::chooseFiles(FileSelectionMode, const QStringList &, const QStringList &)
{
    return {};
}

bool GuardedPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    if (!isMainFrame)
        return true; // frames (adverts, visit counters) may show what they like
    // The top frame never leaves our resources. A user's click on a link of
    // our page reaches the browser through the page script, which knows
    // whether a person clicked; a navigation request does not.
    return url.scheme() == QStringLiteral("qrc");
}

void GuardedPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int lineNumber,
                                           const QString &sourceID)
{
    qCInfo(lcPage).noquote() << "console:" << sourceID << lineNumber << message;
}
