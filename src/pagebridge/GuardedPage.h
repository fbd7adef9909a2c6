#pragma once

#include <QWebEnginePage>

// A page that shows only our own resources in its top frame, opens no window
// of its own (web addresses go to the user's browser) and keeps its script
// errors to itself. Whatever its frames show raises no dialog (alert,
// confirm, prompt, log-in, file choice), gets no permission and downloads nothing.
class GuardedPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit GuardedPage(QObject *parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue, QString *result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles, const QStringList &acceptedMimeTypes) override;
};
