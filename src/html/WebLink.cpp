#include "html/WebLink.h"

#include <QUrl>

namespace WebLink {

QString resolve(const QString &raw, const QString &base)
{
    QString text = raw.trimmed();
    text.remove(u'\t').remove(u'\n').remove(u'\r');
    if (text.isEmpty())
        return {};
    const QUrl baseUrl(base);
    const QUrl link(text);
    const QUrl resolved = link.isRelative()
        ? (baseUrl.isValid() && !baseUrl.isRelative() ? baseUrl.resolved(link) : QUrl())
        : link;
    const QString scheme = resolved.scheme().toLower();
    if (!resolved.isValid() || resolved.host().isEmpty()
        || (scheme != QStringLiteral("http") && scheme != QStringLiteral("https")))
        return {};
    return resolved.toString(QUrl::FullyEncoded);
}

} // namespace WebLink
