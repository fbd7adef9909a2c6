#include "support/BrowserStandIn.h"

#include <QDesktopServices>

BrowserStandIn::BrowserStandIn(const QStringList &schemes)
    : m_schemes(schemes)
{
    for (const QString &scheme : m_schemes)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

BrowserStandIn::~BrowserStandIn()
{
    for (const QString &scheme : m_schemes)
        QDesktopServices::unsetUrlHandler(scheme);
}
