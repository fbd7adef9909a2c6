#include "PageBridgeChannel.h"

#include "PageBridge.h"

#include <QUrl>

PageBridgeChannel::PageBridgeChannel(PageBridge *bridge)
    : QObject(bridge)
    , m_bridge(bridge)
{
}

void PageBridgeChannel::pageLoaded()
{
    m_bridge->onPageLoaded();
}

void PageBridgeChannel::bound()
{
    m_bridge->onBound();
}

void PageBridgeChannel::invoke(const QString &operation, const QString &elementId, const QString &elementText)
{
    m_bridge->invoke(operation, elementId, elementText);
}

void PageBridgeChannel::measured(int request, const QJsonObject &result)
{
    m_bridge->onMeasured(request, result);
}

void PageBridgeChannel::openLink(const QString &url)
{
    PageBridge::openExternally(QUrl(url));
}
