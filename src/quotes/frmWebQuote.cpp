#include "quotes/frmWebQuote.h"

#include "core/Logging.h"
#include "quotes/QuotePage.h"

#include <QPointer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace {

// Reads the first table's text and the price cells; answers plain data.
QString readScript()
{
    QStringList ids;
    for (const QuoteScraper::Pair &pair : QuoteScraper::pairs())
        ids << u'\'' + pair.elementId + u'\'';
    return QStringLiteral("(function () { var table = document.getElementsByTagName('table')[0];"
                          " var cells = {}; [%1].forEach(function (id) { var e = document.getElementById(id);"
                          " cells[id] = e ? e.innerText : ''; });"
                          " return { table: table ? table.innerText : '', cells: cells }; })()")
        .arg(ids.join(u','));
}

} // namespace

QString frmWebQuote::pageAddress(const QString &host)
{
    return host + QStringLiteral("//forexQuotes.aspx?headerColor=003366&amp;itemColor=336699&amp;alternateColor=003366"
                                 "&amp;currencyColor=FFCC00&amp;textColor=FFFFFF&amp;size=forexChart");
}

frmWebQuote::frmWebQuote(const QString &address, std::chrono::milliseconds startTimeout, QObject *parent)
    : QObject(parent)
    , m_profile(new QWebEngineProfile(this)) // off the record: nothing of the broker's is kept
    , m_page(new QuotePage(m_profile, QUrl(address), this))
{
    connect(m_profile, &QWebEngineProfile::downloadRequested, this, [](QWebEngineDownloadRequest *download) { download->cancel(); });
    // Without a view that shows, the engine counts the page hidden and,
    // after five minutes, wakes its timers once a minute: the prices would
    // stop moving. Its view is shown, but never on the screen.
    m_view = std::make_unique<QWebEngineView>();
    m_view->setAttribute(Qt::WA_DontShowOnScreen);
    m_view->setPage(m_page);
    m_view->resize(1, 1);
    m_view->show();
    m_startDeadline.setSingleShot(true);
    connect(&m_startDeadline, &QTimer::timeout, this, [this] {
        qCInfo(lcQuotes) << "no prices within" << m_startDeadline.interval() / 1000 << "s: the start is given up";
        Q_EMIT startFailed();
    });
    connect(this, &frmWebQuote::initialized, &m_startDeadline, &QTimer::stop);
    // A navigation refused or failed after the first document is no new
    // document: the reading goes on.
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!ok) {
            if (!m_loaded && m_startDeadline.isActive()) {
                m_startDeadline.stop();
                qCInfo(lcQuotes) << "the broker's page did not load: the start is given up";
                Q_EMIT startFailed();
            }
            return;
        }
        m_loaded = true;
        m_scraper.documentLoaded();
        Timer1.start(m_scraper.interval());
    });
    connect(&Timer1, &QTimer::timeout, this, &frmWebQuote::tick);
    m_startDeadline.start(startTimeout);
    m_page->load(QUrl(address));
}

frmWebQuote::~frmWebQuote()
{
    Timer1.stop();
    // A profile may only go once no page uses it.
    m_view.reset();
    delete m_page;
}

void frmWebQuote::tick()
{
    if (m_reading)
        return;
    m_reading = true;
    const QPointer<frmWebQuote> alive(this);
    m_page->runJavaScript(readScript(), QWebEngineScript::ApplicationWorld, [alive](const QVariant &result) {
        if (!alive)
            return;
        alive->m_reading = false;
        const QVariantMap read = result.toMap();
        const QVariantMap cells = read.value(QStringLiteral("cells")).toMap();
        const QList<QuoteScraper::Report> reports = alive->m_scraper.tick(
            read.value(QStringLiteral("table")).toString(), [&cells](const QString &id) { return cells.value(id).toString(); });
        for (const QuoteScraper::Report &report : reports) {
            if (!alive)
                return;
            switch (report.kind) {
            case QuoteScraper::Report::Price: Q_EMIT alive->Price(report.symbol, report.value, report.fractPip); break;
            case QuoteScraper::Report::Close: Q_EMIT alive->iClose(); break;
            case QuoteScraper::Report::Recovered: Q_EMIT alive->recovered(); break;
            case QuoteScraper::Report::Initialize: Q_EMIT alive->initialized(); break;
            }
        }
        if (alive && alive->Timer1.interval() != alive->m_scraper.interval())
            alive->Timer1.setInterval(alive->m_scraper.interval());
    });
}
