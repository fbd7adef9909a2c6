#include "pagebridge/PagePart.h"

namespace PagePart {

QVariantMap element(const QString &tag, const QString &text, const QString &className, const QVariantMap &attributes,
                    const QVariantList &children)
{
    return {{QStringLiteral("tag"), tag}, {QStringLiteral("text"), text}, {QStringLiteral("className"), className},
            {QStringLiteral("attributes"), attributes}, {QStringLiteral("children"), children}};
}

QString px(int value)
{
    return QStringLiteral("%1px").arg(value);
}

} // namespace PagePart
