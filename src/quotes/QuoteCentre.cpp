#include "quotes/QuoteCentre.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "pages/MainPage.h"
#include "quotes/frmShowQuote.h"
#include "quotes/frmWebQuote.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

void show(PageBridge &page, QLatin1StringView id, bool shown)
{
    page.setStyle(id, QStringLiteral("display"), shown ? QString() : QStringLiteral("none"));
}

QString brokerHost()
{
    const cls_Config &config = Globals().Config;
    QString host = config.value(ConfigPaths::Quote, ConfigPaths::Url, ConfigPaths::DefaultQuoteUrl).trimmed();
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
        PageBridge::bind(MainPage::ShowQuote, "onclick", "ShowQuote", [this](const PageBridge::Event &) { ShowQuote(); }),
    };
}

void QuoteCentre::iStartQuote()
{
    if (m_scraper)
        return;
    m_page.setText(MainPage::QuoteStatus, QString());
    show(m_page, MainPage::QuoteAnimation, true);
    show(m_page, MainPage::StartQuote, false);
    show(m_page, MainPage::CloseQuote, true);
    m_board.clear();
    m_scraper = std::make_unique<frmWebQuote>(frmWebQuote::pageAddress(brokerHost()));
    // The quotes start; after an unavailable price, a complete pass brings them back.
    auto started = [this] {
        showRunning(true);
        if (Globals().Config.GetNodeAttrib(ConfigPaths::QuoteWindow, ConfigPaths::Status) == QStringLiteral("1"))
            ShowQuote();
    };
    connect(m_scraper.get(), &frmWebQuote::initialized, this, started);
    connect(m_scraper.get(), &frmWebQuote::recovered, this, started);
    connect(m_scraper.get(), &frmWebQuote::iClose, this, &QuoteCentre::iFrmWebQuote_iClose);
    connect(m_scraper.get(), &frmWebQuote::Price, this, &QuoteCentre::iFrmWebQuote_Price);
    // Back to stopped, to be tried again; let go of the scraper once its signal has returned.
    connect(m_scraper.get(), &frmWebQuote::startFailed, this, [this, scraper = m_scraper.get()] {
        if (m_scraper.get() != scraper)
            return; // stopped meanwhile
        iCloseQuote();
        m_page.setText(MainPage::QuoteStatus, QStringLiteral("行情中心启动失败"));
    }, Qt::QueuedConnection);
}

void QuoteCentre::pageLoaded()
{
    if (!m_scraper)
        return;
    show(m_page, MainPage::StartQuote, false);
    show(m_page, MainPage::CloseQuote, true);
    showRunning(m_scraper->Initialize());
    show(m_page, MainPage::ShowQuote, !m_panel);
    const QHash<QString, QuoteBoard::Update> &pairs = m_board.shown();
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it)
        showPrice(it.key(), *it);
}

void QuoteCentre::iFrmWebQuote_iClose()
{
    showRunning(false);
    if (m_panel) {
        m_panel->closeByProgram();
        m_panel.reset();
    }
}

void QuoteCentre::ShowQuote()
{
    if (m_panel || !m_scraper)
        return;
    m_page.select(QStringLiteral("#QuoteList tr"), [this](const QJsonArray &rows) {
        if (m_panel || !m_scraper)
            return;
        QList<frmShowQuote::Column> columns;
        for (const QJsonValue &row : rows) {
            const QJsonObject cells = row.toObject();
            const QString code = cells.value(QStringLiteral("spans")).toArray().first().toString().right(6);
            const auto [pip, fract] = m_board.current(code);
            columns.append({cells.value(QStringLiteral("cells")).toArray().first().toString(), code, pip, fract});
        }
        m_panel = std::make_unique<frmShowQuote>();
        // Its table went with its renderer: it opens again, built anew.
        connect(&m_panel->page(), &PageBridge::rendererGone, this, [this] {
            CloseQuote();
            ShowQuote();
        }, Qt::QueuedConnection);
        // Closed from inside its own page: let go of it once that call has returned.
        connect(m_panel.get(), &frmShowQuote::closed, this, &QuoteCentre::CloseQuote, Qt::QueuedConnection);
        m_panel->MakeTable(columns);
        m_panel->showWhenReady();
        show(m_page, MainPage::ShowQuote, false);
    });
}

void QuoteCentre::CloseQuote()
{
    m_panel.reset();
    show(m_page, MainPage::ShowQuote, true);
}

void QuoteCentre::iCloseQuote()
{
    iFrmWebQuote_iClose();
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
    showPrice(SymBol, *update);
    if (m_panel && !update->colour.isEmpty())
        m_panel->UpdateQuote(SymBol, update->value, update->fractPip, update->colour);
}

void QuoteCentre::showPrice(const QString &symbol, const QuoteBoard::Update &shown)
{
    const QString pip = QStringLiteral("p") + symbol;
    const QString fract = QStringLiteral("l") + symbol;
    m_page.setText(pip, shown.value);
    m_page.setText(fract, shown.fractPip);
    if (!shown.colour.isEmpty()) {
        m_page.setStyle(pip, QStringLiteral("color"), shown.colour);
        m_page.setStyle(fract, QStringLiteral("color"), shown.colour);
    }
}
