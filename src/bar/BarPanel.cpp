#include "bar/BarPanel.h"

#include "bar/frmBar.h"
#include "pages/MainPage.h"

BarPanel::BarPanel(PageBridge &page, QObject *parent)
    : QObject(parent)
    , m_page(page)
{
}

BarPanel::~BarPanel() = default;

QList<PageBridge::Binding> BarPanel::bindings()
{
    return {PageBridge::bind(MainPage::BarButton, "onclick", "ShowBar", [this](const PageBridge::Event &) { ShowBar(); })};
}

void BarPanel::ShowBar()
{
    if (!m_bar) {
        m_bar = std::make_unique<frmBar>();
        connect(m_bar.get(), &frmBar::moreClicked, this, &BarPanel::moreClicked);
        // Closed from inside its own page: let go of it once that call has returned.
        connect(m_bar.get(), &frmBar::closedByUser, this, &BarPanel::CloseBar, Qt::QueuedConnection);
    }
    m_bar->showWhenReady();
    m_page.setStyle(MainPage::BarRule, QStringLiteral("display"), QStringLiteral("none"));
    m_page.setStyle(MainPage::BarButton, QStringLiteral("display"), QStringLiteral("none"));
}

void BarPanel::CloseBar()
{
    // Closed by the program (an update, the user's close): its place is kept.
    if (m_bar)
        m_bar->closeForExit();
    m_bar.reset();
    m_page.setStyle(MainPage::BarRule, QStringLiteral("display"), QString());
    m_page.setStyle(MainPage::BarButton, QStringLiteral("display"), QString());
}

void BarPanel::newsItem(const NewsRow &row)
{
    if (m_bar)
        m_bar->iNew(row);
}

void BarPanel::closeForExit()
{
    if (m_bar)
        m_bar->closeForExit();
    m_bar.reset();
}
