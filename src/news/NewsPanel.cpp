#include "news/NewsPanel.h"

#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/ConfigPaths.h"
#include "core/FetchScheduler.h"
#include "core/Notifier.h"
#include "core/gui/Desktop.h"
#include "html/HtmlEscape.h"
#include "news/KnownKeysFile.h"
#include "news/NewsHistory.h"
#include "news/OOP.h"
#include "pagebridge/PagePart.h"
#include "pages/MainPage.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>

NewsPanel::NewsPanel(PageBridge &page, TabHost &tabs, FetchScheduler &scheduler, Notifier &notifier, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_tabs(tabs)
    , m_scheduler(scheduler)
    , m_notifier(notifier)
    , HTTP(new OOP(this))
{
    // Entries it cannot use are told when the settings are applied.
    m_registry.load(Globals().Config);
    m_news = std::make_unique<NewsBoard>(static_cast<NewsView &>(*this), scheduler.schedule(), scheduler.clock(),
                                         m_registry.sources(),
                                         [this](const NewsSource &source, const QString &known, const QString &url) {
                                             HTTP->fetch(source, known, url);
                                         });
    // What the feed sources reported in earlier runs is known: never reported again.
    const QHash<QString, QStringList> known = KnownKeysFile(knownKeysPath()).load();
    for (const NewsSource &source : m_registry.sources()) {
        if (source.isFeed())
            m_news->restoreKnownKeys(source.id, known.value(source.name));
    }
    // What is shown as news is kept; the tables come back from it at the next start.
    m_history = new NewsHistory(scheduler.clock(), this);
    // Told from the event loop: what opening finds comes before the window listens.
    connect(
        m_history, &NewsHistory::problem, this,
        [this](const QString &text) { Q_EMIT balloonRequested(text, QStringLiteral("新闻历史"), 2); }, Qt::QueuedConnection);
    m_history->open(dataPath(QLatin1String(HistoryStore::FileName)), historyDays());
    QStringList names;
    for (const NewsSource &source : m_registry.sources())
        names << source.name;
    const QHash<QString, QStringList> stored = m_history->keys(names, NewsBoard::KnownLimit);
    for (const NewsSource &source : m_registry.sources()) {
        if (!source.isFeed())
            m_news->restoreKnownKeys(source.id, stored.value(source.name));
    }
    m_news->onReported([this](const NewsSource &source, const QString &key, const NewsRow &row, const QStringList &categories) {
        m_history->add({source.name, key, row, categories, m_scheduler.clock().now().toUTC()});
    });
    m_news->onKnownChanged([this](int) {
        QHash<QString, QStringList> keys;
        for (const NewsSource &source : m_news->sources()) {
            if (source.isFeed())
                keys.insert(source.name, m_news->knownKeys(source.id));
        }
        KnownKeysFile(knownKeysPath()).save(keys);
    });
    // Settings the news read, changed once it runs: applied once the change is told.
    m_settingsChanged.setSingleShot(true);
    m_settingsChanged.setInterval(0);
    connect(&m_settingsChanged, &QTimer::timeout, this, &NewsPanel::ApplySourceSettings);
    connect(&Globals().Config, &cls_Config::changed, this, [this](const QString &path) {
        static const QList<QLatin1StringView> read{ConfigPaths::Sources, ConfigPaths::Feeds, ConfigPaths::Alerts};
        const auto touches = [&path](QLatin1StringView mine) {
            return path == mine || path.startsWith(QString(mine) + u'/') || QString(mine).startsWith(path + u'/');
        };
        if (m_running && std::any_of(read.cbegin(), read.cend(), touches))
            m_settingsChanged.start();
    });
    // What came while the page was frozen reaches it when it is back.
    connect(&m_page, &PageBridge::frozenChanged, this, [this](bool frozen) {
        if (!frozen)
            giveHeldRows();
    });
    connect(&m_registry, &NewsSourceRegistry::sourceChanged, this, [this](int id) {
        if (const NewsSource *source = m_registry.find(id))
            m_news->updateSource(*source);
    });
    connect(&m_registry, &NewsSourceRegistry::sourceAdded, this, &NewsPanel::addSource);
    connect(&m_registry, &NewsSourceRegistry::sourceRemoved, this, &NewsPanel::removeSource);
    connect(HTTP, &OOP::GetRetry, this, [this](int id, int seconds) { m_news->GetRetry(id, seconds); });
    // The workers' events: items and completions queue, failures act at once.
    connect(HTTP, &OOP::GetNews, this, [this](const NewsItem &item) {
        m_news->add(item);
        m_ctlTimeTask.start();
    });
    connect(HTTP, &OOP::GetComplete, this, [this](int id, bool isNew) {
        m_news->GetComplete(id, isNew);
        m_ctlTimeTask.start();
    });
    m_news->onFailure([this](int step, int errorNumber) {
        Q_EMIT handlerFailed(step, QStringLiteral("#") + QString::number(errorNumber), QStringLiteral("TaskTimer"));
    });
    m_news->onNewest([this](const NewsRow &row) { Q_EMIT newestItem(row); });
    connect(HTTP, &OOP::GetError, this, [this](int id, const QString &message) { m_news->GetError(id, message); });
    connect(HTTP, &OOP::GetTimeout, this, [this](int id) { m_news->GetTimeout(id); });
    // The queue is worked off in short slices: a burst of items reaches the
    // page in few rounds while the window stays responsive.
    m_ctlTimeTask.setInterval(1);
    connect(&m_ctlTimeTask, &QTimer::timeout, this, [this] {
        QElapsedTimer slice;
        slice.start();
        m_page.beginBatch();
        bool more = m_news->processTask();
        while (more && slice.elapsed() < TaskSliceMs)
            more = m_news->processTask();
        m_page.endBatch();
        if (!more)
            m_ctlTimeTask.stop();
    });
}

NewsPanel::~NewsPanel() = default;

QList<PageBridge::Binding> NewsPanel::bindings()
{
    QList<PageBridge::Binding> bindings{
        PageBridge::bind(MainPage::AllTab, "onclick", "ClickAll", [this](const PageBridge::Event &) { ClickAll(); }),
        PageBridge::bind(MainPage::SourceMenu, "onclick", "iMore", [this](const PageBridge::Event &) { iMore(); }),
        // "search": Enter, a pause in typing, or the box emptied.
        PageBridge::bind(MainPage::SearchBox, "onsearch", "Search", [this](const PageBridge::Event &) { search(); }),
        PageBridge::bind(MainPage::SearchTab, "onclick", "ClickSearch",
                         [this](const PageBridge::Event &) { m_tabs.SelectTab(MainPage::SearchTab); }),
        PageBridge::bind(MainPage::SearchClose, "onclick", "CloseSearch", [this](const PageBridge::Event &) { closeSearch(); }),
    };
    for (const NewsSource &source : m_news->sources())
        bindings += sourceBindings(source);
    return bindings;
}

QList<PageBridge::Binding> NewsPanel::sourceBindings(const NewsSource &source)
{
    return {{source.anchor, QStringLiteral("onclick"), QStringLiteral("ClickFunc"),
             [this](const PageBridge::Event &event) { ClickFunc(event); }},
            {source.anchor, QStringLiteral("ondblclick"), QStringLiteral("ClickWeb"),
             [this](const PageBridge::Event &event) { ClickWeb(event); }}};
}

QList<TabStrip::Tab> NewsPanel::tabs() const
{
    QList<TabStrip::Tab> tabs{{MainPage::AllTab, {MainPage::AllNewsArea}, QStringLiteral("All.htm")},
                              {MainPage::SearchTab, {MainPage::SearchArea}, QString()}};
    for (const NewsSource &source : m_news->sources())
        tabs.append(sourceTab(source));
    return tabs;
}

TabStrip::Tab NewsPanel::sourceTab(const NewsSource &source)
{
    return {source.anchor, {source.area}, source.sitePage};
}

void NewsPanel::pageLoaded()
{
    m_rowsShown.clear();
    m_held.clear();
    buildSources(m_news->sources());
    m_news->pageLoaded();
    // The tables as they were, before the first fetch: the newest rows of each source.
    QHash<QString, int> ids;
    for (const NewsSource &source : m_news->sources())
        ids.insert(source.name, source.id);
    m_page.beginBatch();
    for (const HistoryItem &item : m_history->newest(ids.keys(), NewsBoard::SourceLimit))
        m_news->restore(ids.value(item.source), item.row);
    m_page.endBatch();
    sortAllNews();
}

int NewsPanel::historyDays()
{
    const cls_Config &config = Globals().Config;
    if (!config.isExistAttrib(ConfigPaths::History, ConfigPaths::Days))
        return NewsHistory::DefaultDays;
    bool ok = false;
    const int days = config.GetNodeAttrib(ConfigPaths::History, ConfigPaths::Days).trimmed().toInt(&ok);
    return ok && days >= 0 ? days : NewsHistory::DefaultDays;
}

void NewsPanel::buildSources(const QList<NewsSource> &sources)
{
    // The sources' tabs (hidden until their source is on) and tables, in tab
    // order, made by the page from its templates.
    QJsonArray built;
    for (const NewsSource &source : sources)
        built.append(QJsonObject{{QStringLiteral("anchor"), source.anchor},
                                 {QStringLiteral("caption"), source.caption},
                                 {QStringLiteral("area"), source.area},
                                 {QStringLiteral("table"), source.table}});
    m_page.build(QStringLiteral("sources"), built);
}

void NewsPanel::addSource(int id)
{
    const NewsSource *source = m_registry.find(id);
    if (!source)
        return;
    m_news->addSource(*source);
    // What it showed before (a feed: what it reported) is not news again.
    m_news->restoreKnownKeys(id, source->isFeed() ? KnownKeysFile(knownKeysPath()).load().value(source->name)
                                                  : m_history->keys({source->name}, NewsBoard::KnownLimit).value(source->name));
    m_tabs.addTabs({sourceTab(*source)});
    buildSources({*source});
    m_page.addBindings(sourceBindings(*source));
}

void NewsPanel::removeSource(int id)
{
    const NewsSource *source = m_news->source(id);
    if (!source)
        return;
    const NewsSource gone = *source;
    if (m_tabs.currentTab() == gone.anchor)
        m_tabs.SelectTab(MainPage::AllTab);
    m_news->removeSource(id);
    m_held.remove(gone.table);
    m_rowsShown.remove(gone.table);
    HTTP->drop(id);
    m_tabs.removeTab(gone.anchor);
    m_page.removeBindings(gone.anchor);
    m_page.build(QStringLiteral("dropSources"),
                 QJsonArray{QJsonObject{{QStringLiteral("anchor"), gone.anchor}, {QStringLiteral("area"), gone.area}}});
}

QString NewsPanel::dataPath(const QString &fileName)
{
    return QFileInfo(Globals().Config.XmlFile()).absolutePath() + u'/' + fileName;
}

QString NewsPanel::knownKeysPath()
{
    return dataPath(QLatin1String(KnownKeysFile::FileName));
}

void NewsPanel::ApplySourceSettings()
{
    // The sources as stored now: those added, changed or removed follow.
    // Feed entries of the configuration that cannot be used: each told once.
    QStringList untold;
    for (const QString &refused : m_registry.load(Globals().Config)) {
        if (!m_toldRefused.contains(refused))
            untold << refused;
    }
    if (!untold.isEmpty()) {
        Q_EMIT balloonRequested(QStringLiteral("已跳过以下自定义新闻源:\r\n") + untold.join(QStringLiteral("\r\n")),
                                QStringLiteral("自定义新闻源"), 2);
        m_toldRefused += untold;
    }
    m_news->ApplySourceSettings(Globals().Config);
    Q_EMIT tabsChanged();
    m_scheduler.start();
}

void NewsPanel::ClickAll()
{
    m_tabs.SelectTab(MainPage::AllTab);
}

void NewsPanel::ClickFunc(const PageBridge::Event &event)
{
    m_tabs.SelectTab(event.elementId);
}

void NewsPanel::ClickWeb(const PageBridge::Event &event)
{
    for (const NewsSource &source : m_news->sources()) {
        if (source.anchor == event.elementId)
            Desktop::OpenUrl(source.home);
    }
}

void NewsPanel::iMore()
{
    // The source tabs that did not fit in the tab row are offered first.
    m_page.select(QStringLiteral("#iUL li.overflow > a"), [this](const QJsonArray &hidden) {
        QStringList anchors;
        for (const QJsonValue &tab : hidden)
            anchors << tab.toObject().value(QStringLiteral("id")).toString();
        sourceMenu(anchors);
    });
}

void NewsPanel::sourceMenu(const QStringList &hiddenTabs)
{
    QList<NewsSource> offered;
    for (const NewsSource &source : m_news->sources()) {
        if (source.inSourceMenu)
            offered.append(source);
    }
    std::sort(offered.begin(), offered.end(), [](const NewsSource &a, const NewsSource &b) { return a.id < b.id; });
    cls_PopupMenu &menu = m_sourceMenu;
    menu.DeleteMenu();
    // A hidden tab's entry is its place in the list, counted from 1: no source has such an id.
    QList<NewsSource> tabs;
    const QList<NewsSource> sources = m_news->sources();
    for (const QString &anchor : hiddenTabs) {
        for (const NewsSource &source : sources) {
            if (source.anchor == anchor)
                tabs << source;
        }
    }
    for (qsizetype i = 0; i < tabs.size(); ++i)
        menu.AddMenuItem(tabs.at(i).caption, cls_PopupMenu::MF_STRING, int(i + 1));
    if (!tabs.isEmpty())
        menu.AddMenuItem(QString(), cls_PopupMenu::MF_SEPARATOR, 0);
    for (const NewsSource &source : std::as_const(offered))
        menu.AddMenuItem(source.title, m_news->task(source.id).Enabled ? cls_PopupMenu::MF_CHECKED : cls_PopupMenu::MF_STRING,
                         source.id);
    menu.PopupMenu([this, tabs, offered](int chosen) {
        if (chosen >= 1 && chosen <= tabs.size())
            return m_tabs.SelectTab(tabs.at(chosen - 1).anchor);
        chooseSource(offered, chosen);
    });
}

void NewsPanel::chooseSource(const QList<NewsSource> &offered, int chosen)
{
    for (const NewsSource &source : offered) {
        // One removed while the menu was open is no choice.
        if (source.id != chosen || !m_news->source(source.id))
            continue;
        const bool on = !m_news->task(source.id).Enabled;
        if (source.isUserSource())
            NewsSourceRegistry::storeChecked(Globals().Config, source.name, on);
        else
            Globals().Config.SetNodeAttrib(ConfigPaths::source(source.name), ConfigPaths::Checked,
                                           on ? QStringLiteral("1") : QStringLiteral("0"));
        Globals().Config.tellChanged(source.isUserSource() ? QString(ConfigPaths::Feeds) : ConfigPaths::source(source.name));
    }
}

QString NewsPanel::tableId(const QString &table)
{
    return table == NewsView::AllNews ? QString(MainPage::AllNewsTable) : table;
}

void NewsPanel::insertRow(const QString &table, const NewsRow &row)
{
    if (m_page.isFrozen()) {
        HeldRows &held = m_held[table];
        held.rows.append(row);
        if (held.rows.size() > (table == NewsView::AllNews ? NewsBoard::AllNewsLimit : NewsBoard::SourceLimit))
            held.rows.removeFirst();
        return;
    }
    m_page.insertRow(tableId(table), 1, rowCells(row));
    ++m_rowsShown[table];
}

void NewsPanel::giveHeldRows()
{
    // The page's oldest rows that went meanwhile, then what came, oldest first, on top.
    m_page.beginBatch();
    for (auto it = m_held.cbegin(); it != m_held.cend(); ++it) {
        for (int i = 0; i < it->deletes; ++i)
            m_page.deleteRow(tableId(it.key()), -1);
        m_rowsShown[it.key()] -= it->deletes;
        for (const NewsRow &row : it->rows)
            insertRow(it.key(), row);
    }
    m_held.clear();
    if (std::exchange(m_sortHeld, false))
        sortAllNews();
    m_page.endBatch();
}

QVariantList NewsPanel::rowCells(const NewsRow &row, const QStringList &marks)
{
    // A text with the words searched for marked; as it is without them.
    const auto text = [&marks](const QString &tag, const QString &content, const QString &className,
                               const QVariantMap &attributes = {}) {
        return marks.isEmpty() ? PagePart::element(tag, content, className, attributes)
                               : PagePart::element(tag, {}, className, attributes, markedParts(content, marks));
    };
    const QVariantMap timeCell{
        {QStringLiteral("text"), row.time},
        {QStringLiteral("style"), QVariantMap{{QStringLiteral("verticalAlign"), QStringLiteral("middle")},
                                              {QStringLiteral("textAlign"), QStringLiteral("left")},
                                              {QStringLiteral("paddingLeft"), QStringLiteral("18px")},
                                              {QStringLiteral("width"), QStringLiteral("70px")}}},
        {QStringLiteral("attributes"), QVariantMap{{QStringLiteral("data-key"), row.timeKey}}},
        {QStringLiteral("rowClass"), row.alert ? QStringLiteral("alert") : QString()}};
    QVariantList parts;
    const QString titleClass = row.important ? QStringLiteral("important") : QString();
    if (!row.link.isEmpty() && PageBridge::isWebAddress(QUrl(row.link)))
        parts << text(QStringLiteral("a"), row.title, titleClass,
                      {{QStringLiteral("href"), row.link},
                       {QStringLiteral("target"), QStringLiteral("_blank")},
                       {QStringLiteral("style"), QStringLiteral("text-decoration:underline")}});
    else
        parts << text(QStringLiteral("span"), row.title, titleClass);
    if (!row.summary.isEmpty())
        parts << PagePart::element(QStringLiteral("br"), {}) << text(QStringLiteral("font"), row.summary, QStringLiteral("summary"));
    if (!row.label.isEmpty())
        parts << PagePart::element(QStringLiteral("b"), row.label, QStringLiteral("label ") + row.source);
    if (!row.storyMark.isEmpty())
        parts << PagePart::element(QStringLiteral("span"), {}, QStringLiteral("seeAlso"), {{QStringLiteral("id"), row.storyMark}});
    const QVariantMap infoCell{{QStringLiteral("parts"), parts},
                               {QStringLiteral("style"), QVariantMap{{QStringLiteral("verticalAlign"), QStringLiteral("middle")}}}};
    return {timeCell, infoCell};
}

QVariantList NewsPanel::markedParts(const QString &text, const QStringList &words)
{
    QVariantList parts;
    qsizetype from = 0;
    while (from < text.size()) {
        // The next place any word starts, the longest word there.
        qsizetype at = -1;
        qsizetype length = 0;
        for (const QString &word : words) {
            const qsizetype found = text.indexOf(word, from, Qt::CaseInsensitive);
            if (found >= 0 && (at < 0 || found < at || (found == at && word.size() > length))) {
                at = found;
                length = word.size();
            }
        }
        if (at < 0)
            break;
        if (at > from)
            parts << PagePart::element(QStringLiteral("#text"), text.mid(from, at - from));
        parts << PagePart::element(QStringLiteral("mark"), text.mid(at, length));
        from = at + length;
    }
    if (from < text.size())
        parts << PagePart::element(QStringLiteral("#text"), text.mid(from));
    return parts;
}

void NewsPanel::search()
{
    m_page.readForm({MainPage::SearchBox}, [this](const QJsonObject &form) {
        showSearch(form.value(MainPage::SearchBox).toObject().value(QStringLiteral("value")).toString());
    });
}

void NewsPanel::showSearch(const QString &query)
{
    // Emptied (Escape clears the box): back to where the user was.
    if (query.trimmed().isEmpty())
        return closeSearch();
    QHash<QString, NewsSource> sources;
    for (const NewsSource &source : m_news->sources())
        sources.insert(source.name, source);
    m_history->flush(); // what came a moment ago is found too
    // Every word found is marked; a word naming a source is none of them.
    const QStringList marks = m_history->searchWords(query);
    const QList<HistoryItem> hits = m_history->search(query, SearchLimit);
    m_page.beginBatch();
    m_page.clearRows(MainPage::SearchTable);
    for (const HistoryItem &hit : hits) {
        NewsRow row = hit.row;
        const NewsSource source = sources.value(hit.source);
        row.source = source.labelClass.isEmpty() ? QStringLiteral("feed") : source.labelClass;
        row.label = source.label.isEmpty() ? QStringLiteral(" - ") + hit.source : source.label;
        m_page.insertRow(MainPage::SearchTable, -1, rowCells(row, marks));
    }
    if (hits.isEmpty())
        m_page.insertRow(MainPage::SearchTable, -1,
                         {QVariantMap{{QStringLiteral("text"), QStringLiteral("没有找到相关的新闻")},
                                      {QStringLiteral("attributes"), QVariantMap{{QStringLiteral("colspan"), QStringLiteral("2")}}}}});
    m_page.endBatch();
    m_tabs.showTab(MainPage::SearchTab, true);
    if (m_tabs.currentTab() != MainPage::SearchTab) {
        m_beforeSearch = m_tabs.currentTab();
        m_tabs.SelectTab(MainPage::SearchTab);
    }
}

void NewsPanel::closeSearch()
{
    m_page.setValue(MainPage::SearchBox, QString());
    m_tabs.showTab(MainPage::SearchTab, false);
    if (m_tabs.currentTab() == MainPage::SearchTab)
        m_tabs.SelectTab(m_beforeSearch.isEmpty() ? QString(MainPage::AllTab) : m_beforeSearch);
}

void NewsPanel::deleteLastRow(const QString &table)
{
    if (m_page.isFrozen()) {
        // The last row of the page's own, or, with none of those left, the oldest that came.
        HeldRows &held = m_held[table];
        if (held.deletes < m_rowsShown.value(table))
            ++held.deletes;
        else if (!held.rows.isEmpty())
            held.rows.removeFirst();
        return;
    }
    m_page.deleteRow(tableId(table), -1);
    --m_rowsShown[table];
}

void NewsPanel::tableFilled(const QString &table)
{
    m_page.setStyle(tableId(table) + QStringLiteral("_Head"), QStringLiteral("display"), QStringLiteral("none"));
}

void NewsPanel::noteStory(const QString &storyMark, const QString &note)
{
    m_page.setText(storyMark, note);
}

// The status line's marks: fixed snippets around escaped source texts.
void NewsPanel::showStatus(const QList<Failure> &failures, const QStringList &timeouts)
{
    QString errors;
    for (const Failure &failure : failures)
        errors += QStringLiteral("<SPAN ID='span%1'>").arg(failure.source) + htmlEscaped(failure.title)
            + QStringLiteral(" &gt; ") + htmlEscaped(failure.message) + QStringLiteral("</SPAN>");
    m_page.setHtml(MainPage::ErrorLine, errors.isEmpty() ? QString() : QStringLiteral("错误：") + errors);
    m_page.setStyle(MainPage::ErrorLine, QStringLiteral("display"), errors.isEmpty() ? QStringLiteral("none") : QString());
    QString late;
    for (const QString &title : timeouts)
        late += QStringLiteral("<SPAN>") + htmlEscaped(title) + QStringLiteral("</SPAN>");
    m_page.setHtml(MainPage::TimeoutLine, late.isEmpty() ? QString() : QStringLiteral("超时：") + late);
    m_page.setStyle(MainPage::TimeoutLine, QStringLiteral("display"), late.isEmpty() ? QStringLiteral("none") : QString());
}

void NewsPanel::newsArrived()
{
    m_page.setStyle(MainPage::StartupLine, QStringLiteral("display"), QStringLiteral("none"));
}

void NewsPanel::sortAllNews()
{
    if (m_page.isFrozen())
        m_sortHeld = true;
    else
        m_page.click(MainPage::AllNewsSort);
}

void NewsPanel::notify(const Notification &notification)
{
    m_notifier.notify(notification);
}

void NewsPanel::showSourceTab(const QString &anchor, bool shown)
{
    m_tabs.showTab(anchor, shown);
}

void NewsPanel::sourceTabsChanged(const QString &firstShown)
{
    // The news as a whole comes forward, unless the user reads the calendar;
    // a window with no tab yet opens on the first source, or the calendar.
    const QString current = m_tabs.currentTab();
    if (current.isEmpty())
        m_tabs.SelectTab(firstShown.isEmpty() ? QString(MainPage::CalendarTab) : firstShown);
    else if (current != MainPage::CalendarTab)
        m_tabs.SelectTab(MainPage::AllTab);
}
