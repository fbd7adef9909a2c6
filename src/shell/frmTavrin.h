#pragma once

#include "DockingModel.h"
#include "NewsBoard.h"
#include "NewsView.h"
#include "PageBridge.h"
#include "TabStrip.h"

#include <memory>

#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

// The main window: a frameless window whose whole surface is the page
// "iInfo.htm". Page elements call its operations by name; it lays the page
// out, switches tabs and docks to the screen edges.
class OOP;

class frmTavrin : public QWidget, public NewsView
{
    Q_OBJECT

public:
    explicit frmTavrin(QWidget *parent = nullptr);
    ~frmTavrin() override;

    // The binding table: page element, event, operation, in binding order.
    static QList<PageBridge::Binding> bindings();

    bool Busy() const;
    bool PageReady() const { return m_pageReady; }
    int TodayIndex() const { return m_todayIndex; }
    PageBridge &page() { return *m_page; }
    const DockingModel &docking() const { return m_docking; }
    QString CurrentTab() const { return m_tabs.current(); }

    // Reads the sources' settings and starts (or goes on with) fetching.
    void ApplySourceSettings();
    NewsBoard &news() { return *m_news; }

    // NewsView: what the news model changes in the page.
    void insertRow(const QString &table, int index, const QVariantList &cells) override;
    void deleteRow(const QString &table, int index) override;
    void setHtml(const QString &id, const QString &html) override;
    void setStyle(const QString &id, const QString &property, const QString &value) override;
    void sortAllNews() override;
    void popup(const QString &html) override;
    void showTab(const QString &anchor, bool shown) override;
    QString currentTab() const override { return m_tabs.current(); }
    void selectTab(const QString &anchor) override { SelectTab(anchor); }

    // Closing by the program (at exit) really closes; by the user it hides to
    // the tray, or, without a tray to come back from, asks to end the program.
    void setExiting(bool exiting) { m_exiting = exiting; }
    void setHideToTray(bool hide) { m_hideToTray = hide; }
    // Brings a docked window that has slid away back into view.
    void BringBack() { cSizeMove_MouseOverForm(); }
    void SelectTab(const QString &newTab);
    // The address of a clicked popup item.
    void ClickLink(const QString &url);

    // Bound operations; those of later features do nothing yet.
    Q_INVOKABLE void WindowMove();
    Q_INVOKABLE void SizeGrip();
    Q_INVOKABLE void btn_Close();
    Q_INVOKABLE void btn_about();
    Q_INVOKABLE void btn_option();
    Q_INVOKABLE void btn_sponsor();
    Q_INVOKABLE void iMore();
    Q_INVOKABLE void ClickFXAsk();
    Q_INVOKABLE void ClickAll();
    Q_INVOKABLE void ClickFunc();
    Q_INVOKABLE void ClickWeb();
    Q_INVOKABLE void Calendar();
    Q_INVOKABLE void iStartQuote();
    Q_INVOKABLE void iCloseQuote();
    Q_INVOKABLE void ShowQuote();
    Q_INVOKABLE void onweek1();
    Q_INVOKABLE void onweek2();
    Q_INVOKABLE void onweek3();
    Q_INVOKABLE void onweek4();
    Q_INVOKABLE void onweek5();
    Q_INVOKABLE void TBodyClick();
    Q_INVOKABLE void ClickMore();
    Q_INVOKABLE void ShowBar();

Q_SIGNALS:
    // The page has loaded, is bound and the window fitted to it.
    void pageReady();
    // Every bound operation, as it runs (for whoever watches the window).
    void operationInvoked(const QString &name);
    // A tray balloon the controller should show.
    void balloonRequested(const QString &message, const QString &title);
    // The user closed the window where no tray could bring it back.
    void exitRequested();
    // New items for the controller's popup.
    void popupRequested(const QString &html);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    enum class Drag { None, Move, Size };

    void onPageReady();
    void Form_Resize();
    void startDrag(Drag kind);
    void dragStep();
    void cSizeMove_Moving(QRect &rect);
    void cSizeMove_Sizing(QRect &rect);
    void cSizeMove_ExitSizeMove();
    void cSizeMove_Activate();
    void cSizeMove_Deactivate();
    void cSizeMove_MouseOverForm();
    bool cSizeMove_AreaIn() const;
    void BerthShow();
    void BerthLeave();
    void ctlTimeLeave_Timer();
    void ctlTimeBerth_Timer();
    void setTopMost(bool on);
    bool isNormalState() const;
    void saveGeometry();
    void placeCalendarHeader();
    void noteOperation(const char *name);

    PageBridge *m_page;
    OOP *HTTP;
    std::unique_ptr<NewsBoard> m_news;
    QTimer m_ctlTimeDown;
    QTimer m_ctlTimeTask;
    DockingModel m_docking;
    TabStrip m_tabs;
    QTimer m_ctlTimeLeave;
    QTimer m_ctlTimeBerth;
    QTimer m_dragTimer;
    Drag m_drag = Drag::None;
    QPoint m_dragStartCursor;
    QRect m_dragStartRect;
    bool m_pageReady = false;
    bool m_exiting = false;
    bool m_hideToTray = true;
    int m_todayIndex = 0;
    static bool s_closeHintShown;
};
