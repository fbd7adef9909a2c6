#include "TabStrip.h"

const QList<TabStrip::Tab> &TabStrip::tabs()
{
    static const QList<Tab> all{
        {QStringLiteral("iFXAsk"), {QStringLiteral("iDivFxask")}, QStringLiteral("Ark.htm")},
        {QStringLiteral("iFXCalendar"), {QStringLiteral("iCalendar"), QStringLiteral("iCalHead")}, QStringLiteral("Calendar.htm")},
        {QStringLiteral("iAll"), {QStringLiteral("iAllNews")}, QStringLiteral("All.htm")},
        {QStringLiteral("iFXark"), {QStringLiteral("iFXarkNews")}, QStringLiteral("FXark.htm")},
        {QStringLiteral("iFX168"), {QStringLiteral("iFX168News")}, QStringLiteral("FX168.htm")},
        {QStringLiteral("iDailyfx"), {QStringLiteral("iDailyFXNews")}, QStringLiteral("Dailyfx.htm")},
        {QStringLiteral("iCaiXun"), {QStringLiteral("iCaiXunNews")}, QStringLiteral("CaiXun.htm")},
        {QStringLiteral("iFX678"), {QStringLiteral("iFX678News")}, QStringLiteral("FX678.htm")},
        {QStringLiteral("iHeXun"), {QStringLiteral("iHeXunNews")}, QStringLiteral("HeXun.htm")},
    };
    return all;
}

std::optional<TabStrip::Tab> TabStrip::tab(const QString &anchor)
{
    for (const Tab &candidate : tabs()) {
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
