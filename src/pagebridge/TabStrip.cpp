#include "pagebridge/TabStrip.h"

std::optional<TabStrip::Tab> TabStrip::tab(const QString &anchor) const
{
    for (const Tab &candidate : m_tabs) {
        if (candidate.anchor == anchor)
            return candidate;
    }
    return std::nullopt;
}

std::optional<TabStrip::Change> TabStrip::select(const QString &newTab)
{
    const std::optional<Tab> next = tab(newTab);
    if (newTab == m_current || !next)
        return std::nullopt;
    Change change;
    change.oldTab = m_current;
    change.newTab = newTab;
    if (const std::optional<Tab> old = tab(m_current)) {
        change.hide = old->areas;
        change.leftSitePage = old->sitePage;
    }
    change.show = next->areas;
    m_current = newTab;
    return change;
}

void TabStrip::removeTab(const QString &anchor)
{
    m_tabs.removeIf([&anchor](const Tab &tab) { return tab.anchor == anchor; });
    if (m_current == anchor)
        m_current.clear();
}
