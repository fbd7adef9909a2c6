#pragma once

#include <QWebEnginePage>

// A page that shows only our own resources in its top frame, opens no window
// of its own (web addresses go to the user's browser) and keeps its script
// errors to itself.
class GuardedPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit GuardedPage(QObject *parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;
};
