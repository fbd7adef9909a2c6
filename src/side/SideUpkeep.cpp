#include "side/SideUpkeep.h"

#include "update/UpdateDescriptor.h"

#include <QUrl>

namespace {

bool due(QDateTime &last, const QDateTime &now, int seconds)
{
    if (last.isValid() && last.secsTo(now) <= seconds && last <= now)
        return false;
    last = now;
    return true;
}

} // namespace

SideUpkeep::Due SideUpkeep::tick(const QDateTime &now)
{
    Due result;
    result.keepAlive = due(m_lastKeepAlive, now, KeepAliveSeconds);
    result.descriptor = due(m_lastDescriptor, now, DescriptorSeconds);
    return result;
}

void SideUpkeep::applyDescriptor(const UpdateDescriptor &descriptor)
{
    if (descriptor.isAdvert && *descriptor.isAdvert == 0)
        m_advertOff = true;
    if (descriptor.fxarkIsAdvert && *descriptor.fxarkIsAdvert != 0)
        m_fxarkAdvertOn = true;
    if (!descriptor.fxarkAdvertUrl.isEmpty())
        m_fxarkAddress = descriptor.fxarkAdvertUrl;
}

SideUpkeep::Adverts SideUpkeep::adverts(const Adverts &shown) const
{
    Adverts wanted;
    wanted.product = !m_advertOff;
    // Without a web address to show there is no frame yet: a later descriptor may bring one.
    const QUrl address(m_fxarkAddress);
    const bool usable = address.isValid() && (address.scheme() == QStringLiteral("https") || address.scheme() == QStringLiteral("http"));
    if (m_fxarkAdvertOn && (shown.fxarkHeight > 0 || usable)) {
        wanted.fxarkAddress = shown.fxarkHeight > 0 ? shown.fxarkAddress : m_fxarkAddress;
        wanted.fxarkHeight = shown.fxarkHeight > 0 ? shown.fxarkHeight : wanted.product ? 275 : 435;
    }
    return wanted;
}

bool SideUpkeep::fxAskFilled(bool filled, bool active, bool askTabCurrent)
{
    return active ? askTabCurrent : filled;
}
