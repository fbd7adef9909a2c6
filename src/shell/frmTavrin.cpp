#include "shell/frmTavrin.h"

#include "bar/BarPanel.h"
#include "calendar/CalendarPanel.h"
#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/ErrorReport.h"
#include "core/FetchScheduler.h"
#include "core/MessageSink.h"
#include "core/ProductSite.h"
#include "core/gui/Desktop.h"
#include "news/NewsPanel.h"
#include "pagebridge/PagePart.h"
#include "pages/MainPage.h"
#include "quotes/QuoteCentre.h"
#include "shell/PageTabs.h"
#include "shell/StoredGeometry.h"
#include "side/SidePanel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QWebEngineView>

bool frmTavrin::s_closeHintShown = false;

using PagePart::px;

frmTavrin::frmTavrin(Clock &clock, Notifier &notifier, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_page(new PageBridge(this))
    , m_tabs(new PageTabs(*m_page, this))
    , m_scheduler(new FetchScheduler(clock, this))
    , m_docking(new EdgeDocking(*this))
    , m_drag(new WindowDrag(*this, [this](WindowDrag::Kind kind, QRect &proposed) {
        if (kind == WindowDrag::Kind::Move)
            m_docking->cSizeMove_Moving(proposed);
        else
            m_docking->cSizeMove_Sizing(proposed);
    }))
{
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_news = std::make_unique<NewsPanel>(*m_page, *m_tabs, *m_scheduler, notifier);
    connect(m_news.get(), &NewsPanel::tabsChanged, this, &frmTavrin::Form_Resize);
    connect(m_news.get(), &NewsPanel::handlerFailed, this, &frmTavrin::Erradd);
    m_calendar = std::make_unique<CalendarPanel>(*m_page, *m_tabs, *m_scheduler, notifier);
    connect(m_calendar.get(), &CalendarPanel::balloonRequested, this, &frmTavrin::balloonRequested);
    connect(m_news.get(), &NewsPanel::balloonRequested, this, &frmTavrin::balloonRequested);
    m_quotes = std::make_unique<QuoteCentre>(*m_page);
    m_bar = std::make_unique<BarPanel>(*m_page);
    connect(m_news.get(), &NewsPanel::newestItem, m_bar.get(), &BarPanel::newsItem);
    m_side = std::make_unique<SidePanel>(*m_page, *m_tabs);
    connect(m_side.get(), &SidePanel::balloonRequested, this, &frmTavrin::balloonRequested);
    // The side panels' upkeep follows the scheduler's own work on each tick.
    connect(m_scheduler, &FetchScheduler::ticked, m_side.get(), &SidePanel::upkeep);
    m_panels = {m_side.get(), m_calendar.get(), m_news.get(), m_quotes.get(), m_bar.get()};
    for (const Panel *panel : std::as_const(m_panels))
        m_tabs->addTabs(panel->tabs());
    connect(m_tabs, &PageTabs::selected, this, [this](const QString &anchor) {
        for (Panel *panel : std::as_const(m_panels))
            panel->tabSelected(anchor);
    });
    connect(m_drag, &WindowDrag::finished, this, [this] {
        m_docking->setDragging(false);
        m_docking->cSizeMove_ExitSizeMove();
    });
    connect(m_page, &PageBridge::pageLoaded, this, [this] {
        for (Panel *panel : std::as_const(m_panels))
            panel->pageLoaded();
        m_tabs->showAgain();
    });
    connect(m_page, &PageBridge::pageReady, this, &frmTavrin::onPageReady);
    m_page->load(MainPage::Name, bindings());

    setGeometry(StoredGeometry::load(Globals().Config));
}

frmTavrin::~frmTavrin() = default;

QList<PageBridge::Binding> frmTavrin::bindings()
{
    using Event = PageBridge::Event;
    auto move = [this](const Event &) { startDrag(WindowDrag::Kind::Move); };
    QList<PageBridge::Binding> bindings{
        PageBridge::bind(MainPage::TitleLeft, "onmousedown", "WindowMove", move),
        PageBridge::bind(MainPage::TitleRight, "onmousedown", "WindowMove", move),
        PageBridge::bind(MainPage::CloseButton, "onclick", "btn_Close", [this](const Event &) { close(); }),
        PageBridge::bind(MainPage::SiteButton, "onclick", "btn_sponsor",
                         [](const Event &) { Desktop::OpenUrl(ProductSite(Globals().Config).homePage()); }),
        PageBridge::bind(MainPage::OptionButton, "onclick", "btn_option", [this](const Event &) { Q_EMIT settingsRequested(); }),
        PageBridge::bind(MainPage::AboutButton, "onclick", "btn_about", [this](const Event &) { Q_EMIT aboutRequested(); }),
        PageBridge::bind(MainPage::SizeGrip, "onmousedown", "SizeGrip", [this](const Event &) { startDrag(WindowDrag::Kind::Size); }),
    };
    for (Panel *panel : std::as_const(m_panels))
        bindings += panel->bindings();
    return bindings;
}

void frmTavrin::tellPanels(void (Panel::*hook)())
{
    for (Panel *panel : std::as_const(m_panels))
        (panel->*hook)();
}

void frmTavrin::closeForExit()
{
    tellPanels(&Panel::closing);
    m_exiting = true;
    close();
}

void frmTavrin::onPageReady()
{
    if (m_pageReady)
        return Form_Resize(); // loaded again after its renderer ended
    // The window is made large enough for the page's content block. A page
    // not yet shown lays out at a size of its own, so the stored size of the
    // window is kept wherever it already holds the block.
    m_page->measure({MainPage::Body}, [this](const QJsonObject &result) {
        const QJsonObject body = result.value(MainPage::Body).toObject();
        const int width = body.value(QStringLiteral("width")).toInt();
        const int height = body.value(QStringLiteral("top")).toInt() + body.value(QStringLiteral("height")).toInt();
        const QSize frame = frameGeometry().size() - size();
        resize(std::max(this->width(), width + frame.width()), std::max(this->height(), height + frame.height()));
        m_pageReady = true;
        Form_Resize();
        // The window may show now, the panels' requests follow (the bar's window
        // is the controller's to show); from now on, hidden, its page is frozen.
        Q_EMIT pageReady();
        tellPanels(&Panel::pageReady);
        m_page->freezeWhileHidden();
    });
}

void frmTavrin::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTavrin::Form_Resize()
{
    m_page->view()->setGeometry(rect());
    if (!m_pageReady)
        return;
    m_page->setStyle(MainPage::Menu, QStringLiteral("width"), px(std::max(width(), 1000)));
    const double border = frameGeometry().width() - width();
    m_page->measure({MainPage::MenuLayout, MainPage::TabList}, [this, border](const QJsonObject &result) {
        const QJsonObject menu = result.value(MainPage::MenuLayout).toObject();
        if (!menu.isEmpty())
            m_page->setStyle(MainPage::MenuCell, QStringLiteral("height"), px(menu.value(QStringLiteral("height")).toInt()));
        const int tabList = result.value(MainPage::TabList).toObject().value(QStringLiteral("clientWidth")).toInt();
        m_docking->setMinMainWidth(DockingModel::minMainWidth(border, tabList));
        // The whole tab list stays in view.
        if (isNormalState() && width() < docking().minMainWidth())
            resize(docking().minMainWidth(), height());
    });
    tellPanels(&Panel::resized);
}

void frmTavrin::Erradd(int ErrRow, const QString &Description, const QString &Module)
{
    Globals().Config.messageSink().show(MessageIcon::Critical,
                                        ErrorReport::erraddText(ErrRow, Description, Module, m_scheduler->clock().now()));
}

void frmTavrin::closeEvent(QCloseEvent *event)
{
    if (isMinimized())
        showNormal();
    StoredGeometry::save(Globals().Config, m_docking->remembered());
    if (m_exiting) {
        event->accept();
        return;
    }
    event->ignore();
    if (!m_trayShown()) {
        Q_EMIT exitRequested();
        return;
    }
    hide();
    tellPanels(&Panel::windowHidden);
    if (!s_closeHintShown) {
        s_closeHintShown = true;
        Q_EMIT balloonRequested(QStringLiteral("最小化到系统任务托盘栏!"), QStringLiteral("Tessaly仍在运行!"), 1);
    }
}

// The window is moved and sized by our own code while the pointer drags, so
// every proposed rectangle passes the docking rules first.
void frmTavrin::startDrag(WindowDrag::Kind kind)
{
    if (!isNormalState())
        return;
    m_docking->setDragging(true);
    // Starting to drag a docked window first brings it fully onto the screen.
    m_docking->cSizeMove_ExitSizeMove();
    m_drag->start(kind);
}

bool frmTavrin::isNormalState() const
{
    return !isMinimized() && !isMaximized() && !isFullScreen();
}
