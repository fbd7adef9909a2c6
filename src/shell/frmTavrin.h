#pragma once

#include "core/gui/WindowDrag.h"
#include "pagebridge/Panel.h"
#include "shell/EdgeDocking.h"

#include <QWidget>

#include <functional>
#include <memory>

class BarPanel;
class CalendarPanel;
class Clock;
class FetchScheduler;
class NewsPanel;
class Notifier;
class PageTabs;
class QuoteCentre;
class SidePanel;

// The main window: a frameless window whose whole surface is the page
// "iInfo.htm". It keeps what belongs to a window (drag, docking, geometry,
// closing, tabs) and hosts the features of the page as panels.
class frmTavrin : public QWidget
{
    Q_OBJECT

public:
    frmTavrin(Clock &clock, Notifier &notifier, QWidget *parent = nullptr);
    ~frmTavrin() override;

    // The page's bindings: the window's own, then every panel's.
    QList<PageBridge::Binding> bindings();

    bool Busy() const { return m_page->Busy() || !m_pageReady; }
    PageBridge &page() { return *m_page; }
    const DockingModel &docking() const { return m_docking->model(); }
    NewsPanel &news() { return *m_news; }
    CalendarPanel &calendar() { return *m_calendar; }
    QuoteCentre &quotes() { return *m_quotes; }
    BarPanel &bar() { return *m_bar; }
    SidePanel &side() { return *m_side; }
    PageTabs &tabs() { return *m_tabs; }

    // The stored settings apply to every panel, at the start.
    void applySettings() { tellPanels(&Panel::applySettings); }
    // The user brought the window back (from the tray, the bar, a popup).
    void shownByUser() { tellPanels(&Panel::windowShown); }
    // At exit each panel keeps what it must and the window closes; closed by the user it hides
    // to the tray, or with no tray to come back from (asked then) asks to end the program.
    void closeForExit();
    void setTrayCheck(std::function<bool()> trayShown) { m_trayShown = std::move(trayShown); }
    // Brings a docked window that has slid away back into view.
    void BringBack() { m_docking->cSizeMove_MouseOverForm(); }
    // Reports a failure of a handler in a message box, with the time.
    void Erradd(int ErrRow, const QString &Description, const QString &Module);

Q_SIGNALS:
    // The page has loaded, is bound and the window fitted to it.
    void pageReady();
    // A tray balloon for the controller; icon: 0 none, 1 information, 2 warning, 3 error.
    void balloonRequested(const QString &message, const QString &title, int icon);
    // The user closed the window where no tray could bring it back.
    void exitRequested();
    // The tool bar's buttons of the settings dialog and the about window.
    void settingsRequested();
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void onPageReady();
    void tellPanels(void (Panel::*hook)());
    void Form_Resize();
    void startDrag(WindowDrag::Kind kind);
    bool isNormalState() const;

    PageBridge *m_page;
    PageTabs *m_tabs;
    FetchScheduler *m_scheduler;
    std::unique_ptr<NewsPanel> m_news;
    std::unique_ptr<CalendarPanel> m_calendar;
    std::unique_ptr<QuoteCentre> m_quotes;
    std::unique_ptr<BarPanel> m_bar;
    std::unique_ptr<SidePanel> m_side;
    QList<Panel *> m_panels;
    EdgeDocking *m_docking;
    WindowDrag *m_drag;
    bool m_pageReady = false;
    bool m_exiting = false;
    std::function<bool()> m_trayShown = [] { return true; };
    static bool s_closeHintShown;
};
