#include "shell/PageTabs.h"

#include "core/AppGlobals.h"
#include "core/ProductSite.h"
#include "pages/MainPage.h"
#include "side/SideFrames.h"

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

void PageTabs::showAgain()
{
    const QString current = m_tabs.current();
    if (current.isEmpty())
        return;
    for (const TabStrip::Tab &tab : m_tabs.tabs()) {
        if (tab.anchor == current)
            continue;
        m_page.clearParentId(tab.anchor);
        for (const QString &area : tab.areas)
            m_page.setStyle(area, QStringLiteral("display"), QStringLiteral("none"));
    }
    m_page.setParentId(current, QStringLiteral("current"));
    m_page.setStyle(current, QStringLiteral("visibility"), QStringLiteral("visible"));
    for (const QString &area : m_tabs.tab(current).value_or(TabStrip::Tab{}).areas)
        m_page.setStyle(area, QStringLiteral("display"), QString());
}

void PageTabs::showTab(const QString &anchor, bool shown)
{
    m_page.setParentStyle(anchor, QStringLiteral("display"), shown ? QString() : QStringLiteral("none"));
}
