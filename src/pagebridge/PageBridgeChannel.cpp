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

void PageBridgeChannel::event(const QString &elementId, const QString &event, const QString &text, bool byUser,
                              const QJsonObject &target)
{
    PageBridge::Event happened;
    happened.elementId = elementId;
    happened.text = text;
    happened.byUser = byUser;
    happened.targetId = target.value(QStringLiteral("targetId")).toString();
    happened.targetChecked = target.value(QStringLiteral("checked")).toBool();
    happened.rowIndex = target.value(QStringLiteral("rowIndex")).toInt(-1);
    m_bridge->onEvent(event, happened);
}

void PageBridgeChannel::measured(int request, const QJsonObject &result)
{
    m_bridge->onMeasured(request, result);
}

void PageBridgeChannel::selected(int request, const QJsonArray &result)
{
    m_bridge->onSelected(request, result);
}

void PageBridgeChannel::openLink(const QString &url)
{
    PageBridge::openExternally(QUrl(url));
}

void PageBridgeChannel::missingElement(const QString &command, const QString &elementId)
{
    qCInfo(lcPage) << "no element" << elementId << "for" << command << "in" << m_bridge->view()->url().toString();
}
