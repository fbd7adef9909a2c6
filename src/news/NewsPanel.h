#pragma once

#include "core/gui/cls_PopupMenu.h"
#include "news/NewsBoard.h"
#include "news/NewsSourceRegistry.h"
#include "news/NewsView.h"
#include "pagebridge/Panel.h"

#include <QObject>
#include <QTimer>

#include <memory>

class FetchScheduler;
class Notifier;
class NewsHistory;
class OOP;

// The news on the main page: the source workers (OOP), the news model with
// its tasks in the shared schedule and its task timer, the source tabs and
// tables, the "all news" tab and the source menu.
class NewsPanel : public QObject, public Panel, private NewsView
{
    Q_OBJECT

public:
    // How long one round of the task queue may hold the UI thread.
    static constexpr int TaskSliceMs = 4;
    static constexpr int SearchLimit = 300;

    NewsPanel(PageBridge &page, TabHost &tabs, FetchScheduler &scheduler, Notifier &notifier, QObject *parent = nullptr);
    ~NewsPanel() override;

    QList<PageBridge::Binding> bindings() override;
    QList<TabStrip::Tab> tabs() const override;
    void pageLoaded() override;

    // Reads the sources' settings and starts (or goes on with) fetching.
    void ApplySourceSettings();
    // The start: from now on, changes of the news settings apply as they are told.
    void applySettings() override
    {
        m_running = true;
        ApplySourceSettings();
    }
    NewsBoard &news() { return *m_news; }
    // The source menu: goes to a source tab the tab row had no room for, or
    // switches an optional source on or off.
    void iMore();

Q_SIGNALS:
    // Source tabs were shown or hidden: the tab list has another width.
    void tabsChanged();
    // The newest item of a pass that brought news, for the ticker bar.
    void newestItem(const NewsRow &row);
    // A handler failed at a step; the window reports it (Erradd).
    void handlerFailed(int errRow, const QString &description, const QString &module);
    void balloonRequested(const QString &text, const QString &title, int icon);

private:
    void ClickAll();
    void ClickFunc(const PageBridge::Event &event);
    void ClickWeb(const PageBridge::Event &event);
    void sourceMenu(const QStringList &hiddenTabs);
    // A source of the menu was chosen: it is switched on or off.
    void chooseSource(const QList<NewsSource> &offered, int chosen);
    // The history search: its hits in the tab "搜索结果", the words marked;
    // closed, the tab the user was on comes back.
    void search();
    void showSearch(const QString &query);
    void closeSearch();
    // A row's cells as the news tables show them, the words given marked.
    QVariantList rowCells(const NewsRow &row, const QStringList &marks = {});
    static QVariantList markedParts(const QString &text, const QStringList &words);
    QList<PageBridge::Binding> sourceBindings(const NewsSource &source);
    static TabStrip::Tab sourceTab(const NewsSource &source);
    void buildSources(const QList<NewsSource> &sources);
    // A source came or went in the registry: its task, tab, table and bindings follow.
    void addSource(int id);
    void removeSource(int id);
    // A feed or page source as the worker's GetFeedContent takes it.
    // Beside the configuration in use.
    static QString dataPath(const QString &fileName);
    static QString knownKeysPath();
    // Settings/Tavrin/History Days: how long items are kept (0: always).
    static int historyDays();

    // NewsView
    void insertRow(const QString &table, const NewsRow &row) override;
    void deleteLastRow(const QString &table) override;
    void tableFilled(const QString &table) override;
    void noteStory(const QString &storyMark, const QString &note) override;
    void showStatus(const QList<Failure> &failures, const QStringList &timeouts) override;
    void newsArrived() override;
    void sortAllNews() override;
    void notify(const Notification &notification) override;
    void showSourceTab(const QString &anchor, bool shown) override;
    void sourceTabsChanged(const QString &firstShown) override;
    // The page's id of a table the model names.
    static QString tableId(const QString &table);

    // A table's rows while the page is frozen: those that came (oldest first,
    // no more than the table shows) and how many of the page's own go.
    struct HeldRows
    {
        QList<NewsRow> rows;
        int deletes = 0;
    };
    void giveHeldRows();

    PageBridge &m_page;
    TabHost &m_tabs;
    FetchScheduler &m_scheduler;
    Notifier &m_notifier;
    OOP *HTTP;
    NewsSourceRegistry m_registry;
    QStringList m_toldRefused; // feed entries of the configuration left out, once said
    NewsHistory *m_history;
    cls_PopupMenu m_sourceMenu;
    QString m_beforeSearch; // the tab shown when the search began
    std::unique_ptr<NewsBoard> m_news;
    QTimer m_ctlTimeTask;
    QTimer m_settingsChanged;
    bool m_running = false;
    QHash<QString, int> m_rowsShown; // body rows of each table on the page
    QHash<QString, HeldRows> m_held;
    bool m_sortHeld = false;
};
