#pragma once

#include <QString>

class cls_Config;

// The addresses on the product's own web site. The base address is read from
// the configuration (Settings/Site, attribute Url) when present; every path
// below it is fixed.
class ProductSite
{
public:
    static QString defaultBaseAddress();

    ProductSite() = default;
    explicit ProductSite(const cls_Config &config);

    QString baseAddress() const { return m_base; }
    QString homePage() const { return m_base + u'/'; }
    QString updateDescriptor() const { return address(QStringLiteral("update.xml")); }
    QString systemNotice() const { return address(QStringLiteral("Tip.xml")); }
    QString advertPage() const { return address(QStringLiteral("advert.htm")); }
    QString keepAlivePage() const { return address(QStringLiteral("fxqq.htm")); }
    // Any other page of the site, by its file name ("All.htm", "advert.htm", ...).
    QString page(const QString &fileName) const { return address(fileName); }

private:
    QString address(const QString &path) const { return m_base + u'/' + path; }

    QString m_base = defaultBaseAddress();
};
