#include "side/SidePanel.h"

#include "core/AppGlobals.h"
#include "core/ProductSite.h"
#include "core/ctlDownload.h"
#include "news/NewsSourceRegistry.h"
#include "protocol/SourceId.h"
#include "pages/MainPage.h"
#include "side/SideFrames.h"
#include "update/LiveUpdate.h"
#include "update/SystemNotice.h"
#include "update/UpdateDescriptor.h"

#include <QUrl>

namespace {

constexpr int FirstForumCommand = 201;

ProductSite site()
{
    return ProductSite(Globals().Config);
}

} // namespace

SidePanel::SidePanel(PageBridge &page, TabHost &tabs, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_tabs(tabs)
    , m_descriptorRead(new ctlDownload(this))
    , m_noticeRead(new ctlDownload(this))
{
    m_descriptorRead->setIdleTimeout(LiveUpdate::DescriptorTimeoutMs);
    m_descriptorRead->setSizeLimit(LiveUpdate::DescriptorLimit);
    m_noticeRead->setIdleTimeout(LiveUpdate::DescriptorTimeoutMs);
    m_noticeRead->setSizeLimit(NoticeLimit);
    connect(m_descriptorRead, &ctlDownload::DownloadComplete, this,
            [this](const QByteArray &data, bool success, const QString &) { onDescriptor(data, success); });
    connect(m_noticeRead, &ctlDownload::DownloadComplete, this,
            [this](const QByteArray &data, bool success, const QString &) { onNotice(data, success); });
    connect(&m_page, &PageBridge::freezing, this, &SidePanel::dropRemoteFrames);
    connect(&m_page, &PageBridge::frozenChanged, this, [this](bool frozen) {
        if (!frozen)
            restoreRemoteFrames();
    });
}

SidePanel::~SidePanel() = default;

QList<PageBridge::Binding> SidePanel::bindings()
{
    return {
        PageBridge::bind(MainPage::ToolsButton, "onclick", "ClickMore", [this](const PageBridge::Event &) { ClickMore(); }),
        PageBridge::bind(MainPage::AskTab, "onclick", "ClickFXAsk", [this](const PageBridge::Event &) { m_tabs.SelectTab(MainPage::AskTab); }),
    };
}

QList<TabStrip::Tab> SidePanel::tabs() const
{
    return {{MainPage::AskTab, {MainPage::AskArea}, QStringLiteral("Ark.htm")}};
}

const QList<SidePanel::Forum> &SidePanel::forums()
{
    static const QList<Forum> list{
        {QStringLiteral("汇通网论坛"), QStringLiteral("http://bbs.fx678.com/")},
        {QStringLiteral("FX168论坛"), QStringLiteral("http://bbs.fx168.com/")},
        {QStringLiteral("和讯外汇论坛"), QStringLiteral("http://bbs.hexun.com/forex/")},
        {QStringLiteral("DailyFX中文论坛"), QStringLiteral("http://forum.dailyfx.com.cn/")},
        {QStringLiteral("FXark外汇论坛"), QStringLiteral("http://bbs.fxark.com/")},
        {QStringLiteral("财讯外汇论坛"), QStringLiteral("http://bbs.caixun.com/")},
        {QStringLiteral("新浪财经外汇论坛"), QStringLiteral("http://bbs.finance.sina.com.cn/")},
        {QStringLiteral("FXark外汇论坛"), QStringLiteral("http://bbs.fxark.com/")},
    };
    return list;
}

void SidePanel::upkeep(const QDateTime &now)
{
    try {
        const SideUpkeep::Due due = m_model.tick(now);
        if (due.keepAlive && m_hidden)
            m_keepAliveDue = true;
        else if (due.keepAlive)
            m_page.setHtml(MainPage::KeepAliveFrame, SideFrames::hiddenPage(site().keepAlivePage()));
        if (due.descriptor)
            m_descriptorRead->BeginDownload(site().updateDescriptor(), QStringLiteral("update.xml"));
        showAdverts();
    } catch (const std::exception &failure) {
        // The panels are extras: one word of it per run is enough.
        if (!m_failureShown) {
            m_failureShown = true;
            Q_EMIT balloonRequested(QString::fromLocal8Bit(failure.what()), QStringLiteral("Tessaly"), 3);
        }
    }
}

void SidePanel::dropRemoteFrames()
{
    // Nobody sees them: their renderers go. The adverts come back when the
    // window shows, and the hidden frame then if its turn came meanwhile.
    m_hidden = true;
    m_page.setHtml(MainPage::ProductAdvert, QString());
    m_page.setHtml(MainPage::FxarkAdvert, QString());
    m_page.setHtml(MainPage::KeepAliveFrame, QString());
    m_shown = {};
    FxAsk(false, false);
}

void SidePanel::restoreRemoteFrames()
{
    if (!std::exchange(m_hidden, false))
        return;
    if (std::exchange(m_keepAliveDue, false))
        m_page.setHtml(MainPage::KeepAliveFrame, SideFrames::hiddenPage(site().keepAlivePage()));
    showAdverts();
}

void SidePanel::pageLoaded()
{
    // A page loaded anew (its renderer ended) holds none of the frames: they come again as they were.
    if (!std::exchange(m_pageLoadedBefore, true))
        return;
    // A page loaded anew runs; hidden, it is frozen again once bound.
    m_hidden = false;
    m_shown = {};
    showAdverts();
    if (m_askFilled)
        m_page.setHtml(MainPage::AskArea, SideFrames::fxAsk(giftPage()));
}

void SidePanel::showAdverts()
{
    if (m_hidden)
        return;
    const SideUpkeep::Adverts wanted = m_model.adverts(m_shown);
    if (wanted.product != m_shown.product)
        m_page.setHtml(MainPage::ProductAdvert, wanted.product ? SideFrames::productAdvert(site().advertPage()) : QString());
    if (wanted.fxarkHeight != m_shown.fxarkHeight)
        m_page.setHtml(MainPage::FxarkAdvert, wanted.fxarkHeight > 0
                                                  ? SideFrames::fxarkAdvert(wanted.fxarkAddress, wanted.fxarkHeight)
                                                  : QString());
    m_shown = wanted;
}

void SidePanel::onDescriptor(const QByteArray &data, bool success)
{
    if (!success)
        return;
    if (const std::optional<UpdateDescriptor> descriptor = UpdateDescriptor::parse(data))
        m_model.applyDescriptor(*descriptor);
}

QString SidePanel::giftPage() const
{
    NewsSourceRegistry registry;
    registry.load(Globals().Config);
    const NewsSource *fxark = registry.find(s_FXark);
    if (!fxark)
        return {};
    const QUrl url(fxark->url);
    return url.scheme() + QStringLiteral("://") + url.authority() + QStringLiteral("/ark/gift.aspx");
}

void SidePanel::FxAsk(bool bb, bool active)
{
    const bool filled = SideUpkeep::fxAskFilled(bb, active, m_tabs.currentTab() == MainPage::AskTab);
    if (filled == m_askFilled)
        return;
    m_askFilled = filled;
    m_page.setHtml(MainPage::AskArea, filled ? SideFrames::fxAsk(giftPage()) : QStringLiteral("..."));
}

void SidePanel::pageReady()
{
    FxAsk(true, false);
    loadNotice();
}

void SidePanel::tabSelected(const QString &anchor)
{
    const bool askTab = anchor == MainPage::AskTab;
    if (std::exchange(m_askTabCurrent, askTab) != askTab)
        FxAsk(askTab);
}

void SidePanel::ClickMore()
{
    m_menu.DeleteMenu();
    m_menu.CreateMenu();
    m_menu.CreateSubmenu(QStringLiteral("外汇论坛"));
    const QList<Forum> &list = forums();
    for (qsizetype i = 0; i < list.size(); ++i) {
        m_menu.AddSubmenuItem(QStringLiteral("&%1\t%2(%3)").arg(i + 1).arg(list.at(i).name, list.at(i).address),
                              cls_PopupMenu::MF_STRING, FirstForumCommand + static_cast<int>(i));
    }
    m_menu.PopupMenu([](int chosen) {
        const qsizetype index = chosen - FirstForumCommand;
        if (index >= 0 && index < forums().size())
            PageBridge::openExternally(QUrl(forums().at(index).address));
    });
}

void SidePanel::loadNotice()
{
    m_noticeRead->BeginDownload(site().systemNotice(), QStringLiteral("Tip.xml"));
}

void SidePanel::onNotice(const QByteArray &data, bool success)
{
    const QString text = success ? SystemNotice::text(data) : QString();
    if (!text.isEmpty())
        Q_EMIT balloonRequested(text, QStringLiteral("系统提示"), 1);
}
