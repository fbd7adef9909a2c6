#pragma once

#include "calendar/CalendarBook.h"
#include "calendar/CalendarView.h"
#include "pagebridge/Panel.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class cls_PopupMenu;
class ctlDownload;
class FetchScheduler;
class Notifier;

// The week's economic calendar on the main page: the calendar tab, the
// weekday tabs and the day's table, the reminder controls and the context
// menu; the downloads of the calendar's pages (ctlDown), its scan timer
// (ctlTimeCalc) and its reminder countdown (ctlTimeNotify).
class CalendarPanel : public QObject, public Panel, private CalendarView
{
    Q_OBJECT

public:
    CalendarPanel(PageBridge &page, TabHost &tabs, FetchScheduler &scheduler, Notifier &notifier, QObject *parent = nullptr);
    ~CalendarPanel() override;

    QList<PageBridge::Binding> bindings() override;
    QList<TabStrip::Tab> tabs() const override;
    void pageLoaded() override;
    // The calendar starts once the page is ready.
    void pageReady() override { start(); }
    void start();
    // Places the floating header over the calendar (AdjustCalcHead).
    void AdjustCalcHead();
    void resized() override { AdjustCalcHead(); }
    // The window's tab changed: the calendar's header follows while it shows.
    void tabSelected(const QString &anchor) override;
    CalendarBook &book() { return *m_book; }

Q_SIGNALS:
    // icon: 1 information, 3 error (as the tray's balloons take it).
    void balloonRequested(const QString &text, const QString &title, int icon);

private:
    void TBodyClick(const PageBridge::Event &event);
    void WebDoc_oncontextmenu(const PageBridge::Event &event);
    // The table's menu; `rowText` empty when it opened beside the rows.
    void showMenu(const QString &rowText, const QString &tableText);
    void afterCalcTick();
    static QString filterChoice(int level);
    void showFilter();
    void showCountdown();
    void showEvents(const QList<std::pair<QString, QString>> &events);
    static int rowKey(int day, int number) { return day * 10000 + number; }
    void followCountdown();
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The context menu's "导出到日历文件...": the stored week into a file the user names.
    void exportWeek();
    QDateTime now() const;

    // CalendarView
    void showDay(int weekIndex, const QList<std::pair<QString, QString>> &events, const QList<CalendarItemView> &items) override;
    void selectDayTab(int previous, int weekIndex) override;
    void markToday(int weekIndex, bool today) override;
    void setDayTitle(int weekIndex, const QString &title) override;
    void setControl(int weekIndex, int itemNumber, CalendarItemView::Control control) override;
    void balloon(const QString &text, const QString &title) override;
    void reminder(const QString &text) override;
    void playSystemSound(const QString &alias) override;

    PageBridge &m_page;
    TabHost &m_tabs;
    FetchScheduler &m_scheduler;
    Notifier &m_notifier;
    ctlDownload *ctlDown;
    std::unique_ptr<CalendarBook> m_book;
    std::unique_ptr<cls_PopupMenu> m_menu;
    QTimer m_ctlTimeCalc;
    QTimer m_ctlTimeNotify;
    QTimer m_countdown;
    std::optional<CalendarCountdown> m_shownCountdown;
    // The table row of each item shown, by its day and number.
    QHash<int, int> m_rowOf;
};
