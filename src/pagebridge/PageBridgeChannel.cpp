#include "pagebridge/PageBridgeChannel.h"

#include "core/Logging.h"
#include "pagebridge/PageBridge.h"

#include <QUrl>
#include <QWebEngineView>

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

void PageBridgeChannel::event(const QString &elementId, const QString &event, const QString &text, bool byUser)
{
    m_bridge->onEvent(elementId, event, text, byUser);
}

void PageBridgeChannel::measured(int request, const QJsonObject &result)
{
    m_bridge->onMeasured(request, result);
}

void PageBridgeChannel::openLink(const QString &url)
{
    PageBridge::openExternally(QUrl(url));
}

void PageBridgeChannel::missingElement(const QString &command, const QString &elementId)
{
    qCInfo(lcPage) << "no element" << elementId << "for" << command << "in" << m_bridge->view()->url().toString();
}
