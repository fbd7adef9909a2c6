#include "settings/FeedSection.h"

#include "news/FeedProbe.h"
#include "news/NewsSourceRegistry.h"
#include "pages/SettingsPage.h"
#include "settings/SectionControls.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QStringList &editorIds()
{
    static const QStringList ids{SettingsPage::FeedList,  SettingsPage::FeedName,     SettingsPage::FeedUrl,
                                 SettingsPage::FeedInterval, SettingsPage::FeedChecked, SettingsPage::FeedKind,
                                 SettingsPage::FeedItem,  SettingsPage::FeedTitle,    SettingsPage::FeedLink,
                                 SettingsPage::FeedTime,  SettingsPage::FeedSummary};
    return ids;
}

} // namespace

FeedSection::FeedSection(PageBridge &page, QString workerProgram, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_probe(new FeedProbe(std::move(workerProgram), this))
{
    connect(m_probe, &FeedProbe::finished, this, [this](bool found, const QString &text) {
        say(text, found ? QStringLiteral("ok") : QStringLiteral("fail"));
    });
}

FeedSection::~FeedSection() = default;

QList<PageBridge::Binding> FeedSection::bindings()
{
    using Event = PageBridge::Event;
    return {
        PageBridge::bind(SettingsPage::FeedList, "onchange", "ShowFeed", [this](const Event &) {
            withEditor([this](const NewsSource &, int selected) { showEntry(selected); });
        }),
        PageBridge::bind(SettingsPage::FeedAdd, "onclick", "AddFeed", [this](const Event &) {
            withEditor([this](const NewsSource &source, int) {
                if (const QString problem = m_feeds.add(source); !problem.isEmpty())
                    return say(problem, QStringLiteral("fail"));
                showList(int(m_feeds.size()) - 1);
                say(QStringLiteral("已添加 ") + source.name + QStringLiteral(", 按“确定”后生效"));
            });
        }),
        PageBridge::bind(SettingsPage::FeedChange, "onclick", "ChangeFeed", [this](const Event &) {
            withEditor([this](const NewsSource &source, int selected) {
                if (const QString problem = m_feeds.change(selected, source); !problem.isEmpty())
                    return say(problem, QStringLiteral("fail"));
                showList(selected);
                say(QStringLiteral("已修改 ") + source.name + QStringLiteral(", 按“确定”后生效"));
            });
        }),
        PageBridge::bind(SettingsPage::FeedRemove, "onclick", "RemoveFeed", [this](const Event &) {
            withEditor([this](const NewsSource &, int selected) {
                if (selected < 0 || selected >= m_feeds.size())
                    return say(QStringLiteral("请先在列表中选择一个新闻源"), QStringLiteral("fail"));
                const QString name = m_feeds.fields(selected).name;
                m_feeds.remove(selected);
                showList(std::min(selected, int(m_feeds.size()) - 1));
                say(QStringLiteral("已删除 ") + name + QStringLiteral(", 按“确定”后生效"));
            });
        }),
        PageBridge::bind(SettingsPage::FeedTest, "onclick", "TestFeed", [this](const Event &) {
            withEditor([this](NewsSource source, int) {
                // The name is not the test's business; the rest must be usable.
                source.name = QStringLiteral("测试");
                if (const QString problem = NewsSourceRegistry::problemOf(source, {}); !problem.isEmpty())
                    return say(problem, QStringLiteral("fail"));
                say(QStringLiteral("正在测试 ") + source.url + QStringLiteral(" ..."));
                m_probe->probe(source);
            });
        }),
    };
}

void FeedSection::fill(const cls_Config &config)
{
    QJsonArray kinds;
    for (const NewsSource &builtIn : NewsSourceRegistry::builtIns())
        kinds.append(QJsonObject{{QStringLiteral("kind"), builtIn.kind}, {QStringLiteral("caption"), builtIn.caption}});
    m_page.build(QStringLiteral("pageKinds"), kinds);
    m_feeds.read(config);
    showList(m_feeds.size() > 0 ? 0 : -1);
}

void FeedSection::withEditor(std::function<void(const NewsSource &, int)> act)
{
    m_page.readForm(editorIds(), [act = std::move(act)](const QJsonObject &form) {
        auto value = [&form](const QString &id) {
            return form.value(id).toObject().value(QStringLiteral("value")).toString();
        };
        NewsSource source;
        source.name = value(SettingsPage::FeedName).trimmed();
        source.url = value(SettingsPage::FeedUrl).trimmed();
        bool isNumber = false;
        source.interval = value(SettingsPage::FeedInterval).trimmed().toInt(&isNumber);
        if (!isNumber)
            source.interval = 0; // told as out of range
        source.checked = form.value(SettingsPage::FeedChecked).toObject().value(QStringLiteral("checked")).toBool();
        source.kind = value(SettingsPage::FeedKind);
        source.itemSelector = value(SettingsPage::FeedItem).trimmed();
        source.titleSelector = value(SettingsPage::FeedTitle).trimmed();
        source.linkSelector = value(SettingsPage::FeedLink).trimmed();
        source.timeSelector = value(SettingsPage::FeedTime).trimmed();
        source.summarySelector = value(SettingsPage::FeedSummary).trimmed();
        act(source, form.value(SettingsPage::FeedList).toObject().value(QStringLiteral("selectedIndex")).toInt(-1));
    });
}

void FeedSection::showList(int selected)
{
    QStringList lines;
    for (qsizetype i = 0; i < m_feeds.size(); ++i)
        lines << m_feeds.line(i);
    SectionControls::showLines(m_page, SettingsPage::FeedList, lines, selected);
    showEntry(selected);
}

void FeedSection::showEntry(int index)
{
    NewsSource source;
    if (index >= 0 && index < m_feeds.size())
        source = m_feeds.fields(index);
    else
        source.kind = QStringLiteral("auto");
    m_page.setValue(SettingsPage::FeedName, source.name);
    m_page.setValue(SettingsPage::FeedUrl, source.url);
    m_page.setValue(SettingsPage::FeedInterval, QString::number(source.interval));
    m_page.setChecked(SettingsPage::FeedChecked, source.checked);
    m_page.setValue(SettingsPage::FeedKind, source.kind);
    m_page.fire(SettingsPage::FeedKind, QStringLiteral("change"));
    m_page.setValue(SettingsPage::FeedItem, source.itemSelector);
    m_page.setValue(SettingsPage::FeedTitle, source.titleSelector);
    m_page.setValue(SettingsPage::FeedLink, source.linkSelector);
    m_page.setValue(SettingsPage::FeedTime, source.timeSelector);
    m_page.setValue(SettingsPage::FeedSummary, source.summarySelector);
}

void FeedSection::say(const QString &text, const QString &tone)
{
    SectionControls::say(m_page, SettingsPage::FeedStatus, text, tone);
}
