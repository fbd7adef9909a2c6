#pragma once

#include "pagebridge/PageBridge.h"
#include "pagebridge/TabStrip.h"

#include <QList>
#include <QString>

// What a window offers the panels on its page: its tabs.
class TabHost
{
public:
    virtual ~TabHost() = default;
    virtual QString currentTab() const = 0;
    virtual void SelectTab(const QString &anchor) = 0;
    // Shows or hides a tab's place in the tab list.
    virtual void showTab(const QString &anchor, bool shown) = 0;
    // Tabs that come and go while the window runs (the page builds and removes their elements).
    virtual void addTabs(const QList<TabStrip::Tab> &tabs) = 0;
    virtual void removeTab(const QString &anchor) = 0;
};

// One feature on a window's page: it owns its model and timers, names the
// page elements it binds and the tabs it shows, and builds what its part of
// the page needs once the page has loaded. The window tells every panel
// what happens to it through the hooks below; a panel takes those it needs.
class Panel
{
public:
    virtual ~Panel() = default;
    virtual QList<PageBridge::Binding> bindings() = 0;
    virtual QList<TabStrip::Tab> tabs() const { return {}; }
    // The page is up and not yet bound: build the elements to be bound.
    virtual void pageLoaded() {}
    // The page is ready the first time, the window fitted to it: start.
    virtual void pageReady() {}
    virtual void tabSelected(const QString &anchor) { Q_UNUSED(anchor) }
    // The window's size changed once its page was ready.
    virtual void resized() {}
    // The user brought the window back, or put it away into the tray.
    virtual void windowShown() {}
    virtual void windowHidden() {}
    // The stored settings apply: at the start (later changes are told by the
    // configuration store's `changed`).
    virtual void applySettings() {}
    // The program ends: what is to be kept is kept now, before the
    // configuration is saved.
    virtual void closing() {}
};
