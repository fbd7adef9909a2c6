#include "quotes/QuoteCentre.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "pages/MainPage.h"
#include "quotes/frmWebQuote.h"

namespace {

void show(PageBridge &page, QLatin1StringView id, bool shown)
{
    page.setStyle(id, QStringLiteral("display"), shown ? QString() : QStringLiteral("none"));
}

QString brokerHost()
{
    const cls_Config &config = Globals().Config;
    QString host = ConfigPaths::DefaultQuoteUrl;
    if (config.isExistAttrib(ConfigPaths::Quote, ConfigPaths::Url))
        host = config.GetNodeAttrib(ConfigPaths::Quote, ConfigPaths::Url).trimmed();
    while (host.endsWith(u'/'))
        host.chop(1);
    return host;
}

} // namespace

QuoteCentre::QuoteCentre(PageBridge &page, QObject *parent)
    : QObject(parent)
    , m_page(page)
{
}

QuoteCentre::~QuoteCentre() = default;

QList<PageBridge::Binding> QuoteCentre::bindings()
{
    return {
        PageBridge::bind(MainPage::StartQuote, "onclick", "iStartQuote", [this](const PageBridge::Event &) { iStartQuote(); }),
        PageBridge::bind(MainPage::CloseQuote, "onclick", "iCloseQuote", [this](const PageBridge::Event &) { iCloseQuote(); }),
    };
}

void QuoteCentre::iStartQuote()
{
    if (m_scraper)
        return;
    show(m_page, MainPage::QuoteAnimation, true);
    show(m_page, MainPage::StartQuote, false);
    show(m_page, MainPage::CloseQuote, true);
    m_board.clear();
    m_scraper = std::make_unique<frmWebQuote>(frmWebQuote::pageAddress(brokerHost()));
    // The quotes start; after an unavailable price, a complete pass brings them back.
    connect(m_scraper.get(), &frmWebQuote::initialized, this, [this] { showRunning(true); });
    connect(m_scraper.get(), &frmWebQuote::recovered, this, [this] { showRunning(true); });
    connect(m_scraper.get(), &frmWebQuote::iClose, this, [this] { showRunning(false); });
    connect(m_scraper.get(), &frmWebQuote::Price, this, &QuoteCentre::iFrmWebQuote_Price);
}

void QuoteCentre::iCloseQuote()
{
    showRunning(false);
    show(m_page, MainPage::QuoteAnimation, false);
    show(m_page, MainPage::StartQuote, true);
    show(m_page, MainPage::CloseQuote, false);
    m_scraper.reset();
}

void QuoteCentre::showRunning(bool running)
{
    show(m_page, MainPage::QuoteAnimation, !running);
    show(m_page, MainPage::QuoteArea, running);
}

void QuoteCentre::iFrmWebQuote_Price(const QString &SymBol, const QString &Value, const QString &FractPip)
{
    const std::optional<QuoteBoard::Update> update = m_board.price(SymBol, Value, FractPip, m_scraper && m_scraper->Initialize());
    if (!update)
        return;
    const QString pip = QStringLiteral("p") + SymBol;
    const QString fract = QStringLiteral("l") + SymBol;
    m_page.setText(pip, update->value);
    m_page.setText(fract, update->fractPip);
    if (!update->colour.isEmpty()) {
        m_page.setStyle(pip, QStringLiteral("color"), update->colour);
        m_page.setStyle(fract, QStringLiteral("color"), update->colour);
    }
}
