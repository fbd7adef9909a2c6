#include "news/NewsSourceRegistry.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "html/HtmlSelector.h"
#include "protocol/SourceId.h"

#include <QUrl>

#include <algorithm>

namespace {

NewsSource builtIn(int id, const char *anchor, const QString &caption, const QString &title, const char *area,
                   const char *table, const QString &label, const char *sitePage, const char *url, const char *home,
                   bool inSourceMenu = true, bool compositeInfo = false)
{
    NewsSource source;
    source.id = id;
    source.name = SourceId::name(id);
    source.kind = source.name;
    source.anchor = QLatin1String(anchor);
    source.caption = caption;
    source.title = title;
    source.area = QLatin1String(area);
    source.table = QLatin1String(table);
    source.label = label;
    source.labelClass = source.name;
    source.icon = SourceId::icon(source.kind);
    source.sitePage = QLatin1String(sitePage);
    source.url = QLatin1String(url);
    source.home = QLatin1String(home);
    source.inSourceMenu = inSourceMenu;
    source.compositeInfo = compositeInfo;
    return source;
}

bool isWebAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == QStringLiteral("http") || scheme == QStringLiteral("https"));
}

} // namespace

NewsSourceRegistry::NewsSourceRegistry(QObject *parent)
    : QObject(parent)
    , m_sources(builtIns())
{
}

// In the order of the tabs, which is also the order in which the scheduler
// takes them (100, 101, 103, 105, 102, 104).
QList<NewsSource> NewsSourceRegistry::builtIns()
{
    return {
        builtIn(s_FXark, "iFXark", QStringLiteral("FXark"), QStringLiteral("FXARK现场直播"), "iFXarkNews", "iFXarkNews_Table",
                QStringLiteral(" - FXARK"), "FXark.htm", "http://www.fxark.com/PageForNews.aspx", "http://www.fxark.com/"),
        builtIn(s_FX168, "iFX168", QStringLiteral("FX168"), QStringLiteral("FX168汇市讯息"), "iFX168News", "iFX168News_Table",
                QStringLiteral(" - FX168"), "FX168.htm", "http://www.fx168.com/fxnews/news_now_html.html",
                "http://www.fx168.com/"),
        builtIn(s_Dailyfx, "iDailyfx", QStringLiteral("DailyFX"), QStringLiteral("DailyFX财经市况"), "iDailyFXNews",
                "iDailyFXNews_Table", QStringLiteral(" - DailyFX"), "Dailyfx.htm", "http://www.dailyfx.com.hk/news/",
                "http://www.dailyfx.com.hk/", true, true),
        builtIn(s_CaiXun, "iCaiXun", QStringLiteral("财讯"), QStringLiteral("财讯汇市动态"), "iCaiXunNews", "iCaiXunNews_Table",
                QStringLiteral(" - 财讯"), "CaiXun.htm", "http://forex.caixun.com/information/", "http://forex.caixun.com/",
                false),
        builtIn(s_FX678, "iFX678", QStringLiteral("汇通网"), QStringLiteral("汇通网外汇新闻"), "iFX678News", "iFX678News_Table",
                QStringLiteral(" - 汇通网"), "FX678.htm", "http://www.fx678.com/news/forex/index.html", "http://www.fx678.com/"),
        builtIn(s_HeXun, "iHeXun", QStringLiteral("和讯"), QStringLiteral("和讯网外汇分析"), "iHeXunNews", "iHeXunNews_Table",
                QStringLiteral(" - 和讯"), "HeXun.htm", "http://forex.hexun.com/analysis/", "http://forex.hexun.com/"),
    };
}

QStringList NewsSourceRegistry::builtInNames()
{
    QStringList names;
    for (const NewsSource &source : builtIns())
        names << source.name;
    return names;
}

std::optional<NewsSource> NewsSourceRegistry::readFeed(const QHash<QString, QString> &entry, const QStringList &takenNames,
                                                       QString *problem)
{
    NewsSource source;
    source.name = entry.value(ConfigPaths::Name).trimmed();
    source.url = entry.value(ConfigPaths::Url).trimmed();
    source.kind = readKind(entry.value(ConfigPaths::Kind, QStringLiteral("auto")));
    const QString interval = entry.value(ConfigPaths::IntervalTime, QString::number(DefaultInterval)).trimmed();
    const QString checked = entry.value(ConfigPaths::Checked, QStringLiteral("1")).trimmed();
    bool intervalOk = false;
    source.interval = interval.toInt(&intervalOk);
    source.checked = checked != QStringLiteral("0");
    source.itemSelector = entry.value(QStringLiteral("Item"));
    source.titleSelector = entry.value(QStringLiteral("Title"));
    source.linkSelector = entry.value(QStringLiteral("Link"));
    source.timeSelector = entry.value(QStringLiteral("Time"));
    source.summarySelector = entry.value(QStringLiteral("Summary"));
    QString why = problemOf(source, takenNames);
    if (why.isEmpty() && !intervalOk)
        why = QStringLiteral("刷新间隔不是数字");
    if (why.isEmpty() && checked != QStringLiteral("0") && checked != QStringLiteral("1"))
        why = QStringLiteral("Checked 应为 0 或 1");
    if (problem)
        *problem = why;
    if (!why.isEmpty())
        return std::nullopt;
    return source;
}

QString NewsSourceRegistry::readKind(const QString &stored)
{
    const QString kind = stored.trimmed();
    const QString pageKind = SourceId::pageKind(kind);
    return pageKind.isEmpty() ? kind.toLower() : pageKind;
}

QList<std::pair<QString, QString>> NewsSourceRegistry::feedAttributes(const NewsSource &source)
{
    QList<std::pair<QString, QString>> attributes{
        {ConfigPaths::Name, source.name},
        {ConfigPaths::Url, source.url},
        {ConfigPaths::Checked, source.checked ? QStringLiteral("1") : QStringLiteral("0")},
        {ConfigPaths::IntervalTime, QString::number(source.interval)},
        {ConfigPaths::Kind, source.kind}};
    if (source.kind != QStringLiteral("page"))
        return attributes;
    const std::pair<QString, QString> selectors[] = {{QStringLiteral("Item"), source.itemSelector},
                                                     {QStringLiteral("Title"), source.titleSelector},
                                                     {QStringLiteral("Link"), source.linkSelector},
                                                     {QStringLiteral("Time"), source.timeSelector},
                                                     {QStringLiteral("Summary"), source.summarySelector}};
    for (const auto &[name, selector] : selectors) {
        if (!selector.isEmpty())
            attributes.append({name, selector});
    }
    return attributes;
}

QString NewsSourceRegistry::nameOf(const QString &text)
{
    for (const NewsSource &source : builtIns()) {
        for (const QString &known : {source.name, source.caption, source.title}) {
            if (known.compare(text, Qt::CaseInsensitive) == 0)
                return source.name;
        }
    }
    return text;
}

bool NewsSourceRegistry::storeChecked(cls_Config &config, const QString &name, bool checked)
{
    const QList<QHash<QString, QString>> entries = config.elements(ConfigPaths::Feeds, ConfigPaths::FeedElement);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).value(ConfigPaths::Name).trimmed() == name)
            return config.setElementAttribute(ConfigPaths::Feeds, ConfigPaths::FeedElement, int(i), ConfigPaths::Checked,
                                              checked ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return false;
}

QStringList NewsSourceRegistry::load(const cls_Config &config)
{
    QList<NewsSource> sources = builtIns();
    for (NewsSource &source : sources) {
        const QString path = ConfigPaths::source(source.name);
        source.url = config.value(path, ConfigPaths::Url, source.url);
        source.home = config.value(path, ConfigPaths::Home, source.home);
    }

    QStringList problems;
    QStringList taken = builtInNames();
    QList<int> added, changed;
    for (const QHash<QString, QString> &entry : config.elements(ConfigPaths::Feeds, ConfigPaths::FeedElement)) {
        QString problem;
        std::optional<NewsSource> source = readFeed(entry, taken, &problem);
        if (!source) {
            const QString name = entry.value(ConfigPaths::Name).trimmed();
            problems << (name.isEmpty() ? QStringLiteral("(无名称)") : name) + QStringLiteral(": ") + problem;
            continue;
        }
        taken << source->name;
        const auto before = std::find_if(m_sources.cbegin(), m_sources.cend(),
                                         [&source](const NewsSource &s) { return s.isUserSource() && s.name == source->name; });
        source->id = before != m_sources.cend() ? before->id : m_nextFeedId++;
        namePageParts(*source);
        if (before == m_sources.cend())
            added << source->id;
        else if (!sameSettings(*before, *source))
            changed << source->id;
        sources << *source;
    }
    QList<int> removed;
    for (const NewsSource &source : std::as_const(m_sources)) {
        if (source.isUserSource() && std::none_of(sources.cbegin(), sources.cend(), [&source](const NewsSource &s) {
                return s.id == source.id;
            }))
            removed << source.id;
    }
    m_sources = sources;
    for (int id : std::as_const(removed))
        Q_EMIT sourceRemoved(id);
    for (int id : std::as_const(changed))
        Q_EMIT sourceChanged(id);
    for (int id : std::as_const(added))
        Q_EMIT sourceAdded(id);
    return problems;
}

bool NewsSourceRegistry::sameSettings(const NewsSource &a, const NewsSource &b)
{
    return feedAttributes(a) == feedAttributes(b);
}

QString NewsSourceRegistry::problemOf(const NewsSource &source, const QStringList &takenNames)
{
    if (source.name.isEmpty())
        return QStringLiteral("名称不能为空");
    for (const QString &name : takenNames) {
        if (name.compare(source.name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("名称已被使用");
    }
    if (!isWebAddress(source.url))
        return QStringLiteral("地址应以 http:// 或 https:// 开头");
    if (source.interval < MinInterval || source.interval > MaxInterval)
        return QStringLiteral("刷新间隔应在 %1 到 %2 秒之间").arg(MinInterval).arg(MaxInterval);
    static const QStringList kinds{QStringLiteral("auto"), QStringLiteral("rss"), QStringLiteral("atom"),
                                   QStringLiteral("json"), QStringLiteral("page")};
    if (!kinds.contains(source.kind) && SourceId::pageKind(source.kind) != source.kind)
        return QStringLiteral("未知的类型 ") + source.kind;
    if (source.kind != QStringLiteral("page"))
        return {};
    if (source.itemSelector.trimmed().isEmpty() || source.titleSelector.trimmed().isEmpty())
        return QStringLiteral("网页来源需要 Item 和 Title 选择器");
    const std::pair<const char *, QString> selectors[] = {
        {"Item", source.itemSelector}, {"Title", source.titleSelector}, {"Link", HtmlSelector::target(source.linkSelector).selector},
        {"Time", HtmlSelector::target(source.timeSelector).selector}, {"Summary", source.summarySelector}};
    for (const auto &[name, text] : selectors) {
        if (text.trimmed().isEmpty())
            continue;
        const HtmlSelector selector(text);
        if (!selector.isValid())
            return QStringLiteral("%1 选择器无效: %2").arg(QLatin1String(name), selector.error());
    }
    return {};
}

void NewsSourceRegistry::namePageParts(NewsSource &source)
{
    const QString stem = QStringLiteral("iFeed%1").arg(source.id);
    source.anchor = stem;
    source.area = stem + QStringLiteral("News");
    source.table = stem + QStringLiteral("News_Table");
    source.caption = source.name;
    source.title = source.name;
    source.label = QStringLiteral(" - ") + source.name;
    // Another address of one of the six kinds of page looks like its kind.
    const bool pageKind = !source.isFeed();
    source.labelClass = pageKind ? source.kind : QStringLiteral("feed");
    source.icon = SourceId::icon(pageKind ? source.kind : QString());
    source.compositeInfo = source.kind == SourceId::name(s_Dailyfx);
    const QUrl url(source.url);
    source.home = url.scheme() + QStringLiteral("://") + url.authority() + u'/';
}

const NewsSource *NewsSourceRegistry::find(int id) const
{
    for (const NewsSource &source : m_sources) {
        if (source.id == id)
            return &source;
    }
    return nullptr;
}

void NewsSourceRegistry::change(const NewsSource &source)
{
    for (NewsSource &entry : m_sources) {
        if (entry.id == source.id) {
            entry = source;
            Q_EMIT sourceChanged(source.id);
            return;
        }
    }
}
