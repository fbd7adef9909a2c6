#include "GuardedPage.h"

#include "PageBridge.h"

#include <QWebEngineNewWindowRequest>

GuardedPage::GuardedPage(QObject *parent)
    : QWebEnginePage(parent)
{
    connect(this, &QWebEnginePage::newWindowRequested, this, [](QWebEngineNewWindowRequest &request) {
        // Not accepted, so no window opens here; a user's click still reaches the browser.
        if (request.isUserInitiated())
            PageBridge::openExternally(request.requestedUrl());
    });
}

bool GuardedPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame)
        return true; // frames (adverts, visit counters) may show what they like
    if (url.scheme() == QStringLiteral("qrc"))
        return true;
    if (type == NavigationTypeLinkClicked)
        PageBridge::openExternally(url);
    return false;
}

void GuardedPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &)
{
}
