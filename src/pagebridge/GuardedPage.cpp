#include "pagebridge/GuardedPage.h"

#include "core/Logging.h"
#include "pagebridge/PageBridge.h"

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
