#include "shell/PageTabs.h"

#include "core/AppGlobals.h"
#include "core/ProductSite.h"
#include "pages/MainPage.h"
#include "shell/SideFrames.h"

PageTabs::PageTabs(PageBridge &page, QObject *parent)
    : QObject(parent)
    , m_page(page)
{
}

void PageTabs::SelectTab(const QString &anchor)
{
    const std::optional<TabStrip::Change> change = m_tabs.select(anchor);
    if (!change)
        return;
    if (!change->oldTab.isEmpty())
        m_page.clearParentId(change->oldTab);
    m_page.setParentId(change->newTab, QStringLiteral("current"));
    m_page.setStyle(change->newTab, QStringLiteral("visibility"), QStringLiteral("visible"));
    for (const QString &area : change->hide)
        m_page.setStyle(area, QStringLiteral("display"), QStringLiteral("none"));
    if (!change->leftSitePage.isEmpty())
        m_page.setHtml(MainPage::VisitFrame, SideFrames::hiddenPage(ProductSite(Globals().Config).page(change->leftSitePage)));
    for (const QString &area : change->show)
        m_page.setStyle(area, QStringLiteral("display"), QString());
    Q_EMIT selected(anchor);
}

void PageTabs::showTab(const QString &anchor, bool shown)
{
    m_page.setParentStyle(anchor, QStringLiteral("display"), shown ? QString() : QStringLiteral("none"));
}
