#include "side/SideFrames.h"

#include "html/HtmlEscape.h"

#include <QUrl>

namespace {

const QString Sandbox = QStringLiteral(" sandbox='allow-scripts allow-same-origin allow-forms allow-popups "
                                       "allow-popups-to-escape-sandbox'");

QString frame(const QString &head, const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QStringLiteral("http") && scheme != QStringLiteral("https")))
        return {};
    return head + htmlEscaped(address.trimmed()) + u'\'' + Sandbox + QStringLiteral("></iframe>");
}

} // namespace

namespace SideFrames {

QString productAdvert(const QString &address)
{
    return frame(QStringLiteral("<iframe id ='advert' width='100%'  height='160px' marginwidth='0' frameborder='0' "
                                "marginheight='0' src='"),
                 address);
}

QString fxarkAdvert(const QString &address, int height)
{
    return frame(QStringLiteral("<iframe id ='advert1' width='100%'  height='%1px' marginwidth='0' frameborder='0' "
                                "marginheight='0' src='")
                     .arg(height),
                 address);
}

QString hiddenPage(const QString &address)
{
    return frame(QStringLiteral("<iframe id ='ifa' width='100%' height='100%' marginwidth='0' frameborder='0' "
                                "marginheight='0' src='"),
                 address);
}

QString fxAsk(const QString &address)
{
    return frame(QStringLiteral("<iframe id ='ifrmfxask'  width='100%' height='100%' marginwidth='0' frameborder='0' "
                                "marginheight='0' src='"),
                 address);
}

} // namespace SideFrames
