#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QVariantList>

class PageBridge;

// The object our page script sees as `host` on the web channel: the page
// reports through its slots, the bridge talks to the page through its signals.
class PageBridgeChannel : public QObject
{
    Q_OBJECT

public:
    explicit PageBridgeChannel(PageBridge *bridge);

public Q_SLOTS:
    void pageLoaded();
    void bound();
    void event(const QString &elementId, const QString &event, const QString &text, bool byUser, const QJsonObject &target);
    void measured(int request, const QJsonObject &result);
    void selected(int request, const QJsonArray &result);
    void openLink(const QString &url);
    void missingElement(const QString &command, const QString &elementId);

Q_SIGNALS:
    // Changes to the page, in order: each a list of the command's name and its arguments.
    void apply(const QVariantList &commands);
    void measureRequested(int request, const QStringList &ids);
    void formRequested(int request, const QStringList &ids);
    void selectRequested(int request, const QString &selector);
    void bindingsRequested(const QVariantList &bindings);

private:
    PageBridge *m_bridge;
};
