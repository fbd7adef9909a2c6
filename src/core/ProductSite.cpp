#include "ProductSite.h"

#include "cls_Config.h"

QString ProductSite::defaultBaseAddress()
{
    return QStringLiteral("https://www.tessaly.cn");
}

ProductSite::ProductSite(const cls_Config &config)
{
    const QString path = QStringLiteral("Settings/Site");
    const QString attrib = QStringLiteral("Url");
    if (config.isExistAttrib(path, attrib)) {
        QString base = config.GetNodeAttrib(path, attrib).trimmed();
        while (base.endsWith(u'/'))
            base.chop(1);
        if (base.startsWith(QStringLiteral("http://")) || base.startsWith(QStringLiteral("https://")))
            m_base = base;
    }
}
