#include "worker/PopupSnippet.h"

#include "worker/PageText.h"

namespace PopupSnippet {

namespace {

QString head(const QString &icon)
{
    return QStringLiteral("<img src='") + icon + QStringLiteral("' align='absmiddle'/>&nbsp;");
}

QString text(const QString &time, const QString &title)
{
    return PageText::displayText(time) + QStringLiteral("&nbsp;") + PageText::displayText(title);
}

} // namespace

QString plain(const QString &icon, const QString &time, const QString &title)
{
    return head(icon) + QStringLiteral("<span>") + text(time, title) + QStringLiteral("</span>");
}

QString linked(const QString &icon, const QString &link, Tail tail, const QString &time, const QString &title)
{
    const QString click = tail == Tail::Click ? QStringLiteral("GetObj('popupWin_iLink').click();")
                                              : QStringLiteral("popupWin_iLink.fireEvent('onclick');");
    return head(icon) + QStringLiteral("<span style='text-decoration:underline' onClick=\"popupWin_iLink.innerText='")
        + PageText::snippetLink(link) + QStringLiteral("';") + click
        + QStringLiteral("\" onMouseOver=\"this.className='popupTextHover';\" onMouseOut=\"this.className='popupText';\">")
        + text(time, title) + QStringLiteral("</span>");
}

QString withSummary(const QString &icon, const QString &time, const QString &title, const QString &summary)
{
    QString snippet = head(icon) + QStringLiteral("<span>") + text(time, title);
    if (summary != title)
        snippet += QStringLiteral("(<font style='color:#0000FF'>") + PageText::displayText(summary) + QStringLiteral("</font>)");
    return snippet + QStringLiteral("</span>");
}

} // namespace PopupSnippet
