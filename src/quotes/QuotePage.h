#pragma once

#include "quotes/BrokerSite.h"

#include <QUrl>
#include <QWebEnginePage>

class QWebEngineProfile;

// The broker's page, which is remote content: its top frame stays on the
// broker's origin (or where a redirect within the broker's site took it), and
// it opens no window, dialog, download or permission request. It has no
// channel to the program.
class QuotePage : public QWebEnginePage
{
    Q_OBJECT

public:
    QuotePage(QWebEngineProfile *profile, const QUrl &address, QObject *parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue, QString *result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;

private:
    BrokerSite m_site;
};
