#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The tabs of a page: which one is current, and what changes in the page
// when another one is chosen. Knows no page; the window carries it out.
class TabStrip
{
public:
    struct Tab
    {
        QString anchor;    // id of the tab's anchor in the page
        QStringList areas; // content shown while the tab is current
        QString sitePage;  // page of the product site that counts a visit on leaving
    };

    // What selecting a tab does, in the order the window applies it.
    struct Change
    {
        QString oldTab;       // empty at the first selection
        QString newTab;
        QStringList hide;     // areas of the old tab
        QString leftSitePage; // frame page of the old tab ("All.htm", ...), empty at the first selection
        QStringList show;     // areas of the new tab
    };

    void addTabs(const QList<Tab> &tabs) { m_tabs += tabs; }
    // A tab that is gone; when it was current, none is.
    void removeTab(const QString &anchor);
    const QList<Tab> &tabs() const { return m_tabs; }
    std::optional<Tab> tab(const QString &anchor) const;

    QString current() const { return m_current; }
    // Nothing when the tab is already current or unknown.
    std::optional<Change> select(const QString &newTab);

private:
    QList<Tab> m_tabs;
    QString m_current;
};
