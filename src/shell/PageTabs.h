#pragma once

#include "pagebridge/Panel.h"

#include <QObject>

// The main page's tabs as the page shows them: the current tab's list item
// carries the id "current", its blocks show and the old tab's hide, and
// leaving a tab counts a visit of its page on the product site in a hidden
// frame.
class PageTabs : public QObject, public TabHost
{
    Q_OBJECT

public:
    explicit PageTabs(PageBridge &page, QObject *parent = nullptr);

    void addTabs(const QList<TabStrip::Tab> &tabs) override { m_tabs.addTabs(tabs); }
    void removeTab(const QString &anchor) override { m_tabs.removeTab(anchor); }
    const TabStrip &strip() const { return m_tabs; }

    QString currentTab() const override { return m_tabs.current(); }
    void SelectTab(const QString &anchor) override;
    void showTab(const QString &anchor, bool shown) override;
    // The page was loaded anew (its renderer ended): the current tab as it was.
    void showAgain();

Q_SIGNALS:
    void selected(const QString &anchor);

private:
    PageBridge &m_page;
    TabStrip m_tabs;
};
