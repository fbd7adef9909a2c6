#include "core/ProductSite.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"

QString ProductSite::defaultBaseAddress()
{
    return ConfigPaths::DefaultSiteUrl;
}

ProductSite::ProductSite(const cls_Config &config)
{
    if (config.isExistAttrib(ConfigPaths::Site, ConfigPaths::Url)) {
        QString base = config.GetNodeAttrib(ConfigPaths::Site, ConfigPaths::Url).trimmed();
        while (base.endsWith(u'/'))
            base.chop(1);
        if (base.startsWith(QStringLiteral("http://")) || base.startsWith(QStringLiteral("https://")))
            m_base = base;
    }
}
