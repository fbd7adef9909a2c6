#include "pagebridge/PageBridge.h"

#include "core/Logging.h"
#include "core/gui/Desktop.h"
#include "pagebridge/GuardedPage.h"
#include "pagebridge/PageBridgeChannel.h"
#include "pages/Pages.h"

#include <QEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

// Resources of a static library are registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(bridge);
    Pages::initResources();
}

namespace {

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing resource %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QWebEngineScript applicationScript(const QString &name, const QString &source)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(false);
    return script;
}

} // namespace

QString PageBridge::pageAddress(const QString &pageName)
{
    return QStringLiteral("qrc:/pages/") + pageName;
}

PageBridge::PageBridge(QWidget *parentWidget)
    : QObject(parentWidget)
    , m_view(new QWebEngineView(parentWidget))
    , m_channel(new QWebChannel(this))
    , m_host(new PageBridgeChannel(this))
{
    initResources();
    m_view->setAcceptDrops(false);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_channel->registerObject(QStringLiteral("host"), m_host);
    makePage();
    m_reloadWatch.setInterval(ReloadWatchMs);
    m_reloadWatch.setSingleShot(true);
    connect(&m_reloadWatch, &QTimer::timeout, this, [this] {
        qCInfo(lcPage) << "loading" << m_address.toString() << "again: it did not come back";
        forgetPage();
        makePage();
        m_view->setUrl(m_address);
        m_reloadWatch.start();
    });
}

void PageBridge::makePage()
{
    // A page whose renderer ended is replaced whole: its channel transport
    // and its engine state could be left waiting for the renderer that went.
    GuardedPage *old = std::exchange(m_guardedPage, new GuardedPage(m_view));
    GuardedPage *page = m_guardedPage;
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
        qCInfo(lcPage) << "the renderer of" << m_address.toString() << "ended:" << status << code;
        // Loaded again from the event loop, not inside the engine's report.
        QMetaObject::invokeMethod(this, &PageBridge::onRendererGone, Qt::QueuedConnection);
    });
    // One script, so the channel exists before our page code runs.
    page->scripts().insert(applicationScript(
        QStringLiteral("tessaly-bridge"),
        resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + resourceText(QStringLiteral(":/bridge/bridge.js"))));
    page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);
    m_view->setPage(page);
    if (old) {
        old->disconnect(this);
        old->deleteLater();
    }
}

PageBridge::~PageBridge() = default;

void PageBridge::load(const QString &pageName, const QList<Binding> &bindings)
{
    m_bindings = bindings;
    m_loaded = false;
    m_bound = false;
    m_address = QUrl(pageAddress(pageName));
    m_view->setUrl(m_address);
}

void PageBridge::whenReady(std::function<void()> work)
{
    if (m_bound)
        work();
    else
        m_beforeReady.append(std::move(work));
}

void PageBridge::whenLoaded(std::function<void()> step)
{
    if (m_loaded)
        step();
    else
        m_beforeLoad.append(std::move(step));
}

void PageBridge::apply(const QString &command, const QVariantList &args)
{
    whenLoaded([this, command, args] {
        if (m_frozen)
            supersede(command, args);
        m_outbox.append(QVariant(QVariantList{command, args}));
        if (m_batchDepth == 0)
            flush();
    });
}

void PageBridge::supersede(const QString &command, const QVariantList &args)
{
    // Setting a thing again: only the last value matters (not a cell's: rows
    // move under it). Emptying a table: nothing waiting for its rows does.
    static const QStringList settings{
        QStringLiteral("setText"),      QStringLiteral("setHtml"),        QStringLiteral("setStyle"),
        QStringLiteral("setAttribute"), QStringLiteral("setValue"),       QStringLiteral("setParentStyle"),
        QStringLiteral("setChecked"),   QStringLiteral("setOptions"),     QStringLiteral("setSelectedIndex"),
        QStringLiteral("setParts"),     QStringLiteral("setClassOfFirst")};
    static const QStringList rowChanges{QStringLiteral("insertRow"), QStringLiteral("deleteRow"), QStringLiteral("setCell"),
                                        QStringLiteral("clearRows")};
    const bool setting = settings.contains(command);
    const bool emptying = command == QStringLiteral("clearRows");
    if (!setting && !emptying)
        return;
    const QVariantList target = args.mid(0, args.size() - 1);
    m_outbox.removeIf([&](const QVariant &waiting) {
        const QVariantList entry = waiting.toList();
        const QString name = entry.value(0).toString();
        const QVariantList with = entry.value(1).toList();
        if (setting)
            return name == command && with.mid(0, with.size() - 1) == target;
        return rowChanges.contains(name) && with.value(0) == args.value(0);
    });
}

void PageBridge::freezeWhileHidden()
{
    if (m_freezesWhileHidden)
        return;
    m_freezesWhileHidden = true;
    m_view->window()->installEventFilter(this);
    freezeSoon();
}

void PageBridge::freezeSoon()
{
    if (m_frozen || !m_bound || m_view->window()->isVisible())
        return;
    m_freezePending = true;
    Q_EMIT freezing();
    // The page's answer comes once it has taken every change sent before.
    measure({}, [this](const QJsonObject &) {
        if (m_freezesWhileHidden && !m_view->window()->isVisible())
            setFrozen(true);
    });
}

bool PageBridge::eventFilter(QObject *watched, QEvent *event)
{
    // Frozen once the window has gone (an engine does not freeze a page it
    // still shows); back at once when it comes.
    if (event->type() == QEvent::Show)
        setFrozen(false);
    else if (event->type() == QEvent::Hide)
        QMetaObject::invokeMethod(this, &PageBridge::freezeSoon, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void PageBridge::setFrozen(bool frozen)
{
    // Shown again before it froze: what left the page at `freezing` comes back.
    if (!frozen && !m_frozen && std::exchange(m_freezePending, false))
        Q_EMIT frozenChanged(false);
    // A page that is still loading is never frozen: it would not come up.
    if (frozen == m_frozen || (frozen && !m_bound))
        return;
    m_frozen = frozen;
    m_freezePending = false;
    qCInfo(lcPage) << (frozen ? "freezing" : "thawing") << m_address.toString();
    m_view->page()->setLifecycleState(frozen ? QWebEnginePage::LifecycleState::Frozen : QWebEnginePage::LifecycleState::Active);
    if (!frozen) {
        flush();
        if (!m_heldBindings.isEmpty())
            requestBindings(std::exchange(m_heldBindings, {}));
    }
    Q_EMIT frozenChanged(frozen);
}

void PageBridge::endBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        flush();
}

void PageBridge::flush()
{
    if (!m_outbox.isEmpty() && !m_frozen)
        Q_EMIT m_host->apply(std::exchange(m_outbox, {}));
}

void PageBridge::build(const QString &name, const QJsonValue &data)
{
    const QString json = QString::fromUtf8(QJsonDocument(QJsonArray{data}).toJson(QJsonDocument::Compact));
    // The array wraps any value; the page takes its one element.
    apply(QStringLiteral("build"), {name, json.mid(1, json.size() - 2)});
}

template <typename Answer>
void PageBridge::ask(QHash<int, std::function<void(const Answer &)>> &waiting, std::function<void(const Answer &)> done,
                     std::function<void(int)> send)
{
    const int request = ++m_nextRequest;
    waiting.insert(request, std::move(done));
    whenLoaded([this, request, send = std::move(send)] {
        flush(); // what was asked for before comes first
        send(request);
    });
}

void PageBridge::measure(const QStringList &ids, std::function<void(const QJsonObject &)> done)
{
    ask(m_measures, std::move(done), [this, ids](int request) { Q_EMIT m_host->measureRequested(request, ids); });
}

void PageBridge::readForm(const QStringList &ids, std::function<void(const QJsonObject &)> done)
{
    ask(m_measures, std::move(done), [this, ids](int request) { Q_EMIT m_host->formRequested(request, ids); });
}

void PageBridge::select(const QString &selector, std::function<void(const QJsonArray &)> done)
{
    ask(m_selections, std::move(done), [this, selector](int request) { Q_EMIT m_host->selectRequested(request, selector); });
}

void PageBridge::onSelected(int request, const QJsonArray &result)
{
    if (auto done = m_selections.take(request))
        done(result);
}

void PageBridge::onMeasured(int request, const QJsonObject &result)
{
    if (auto done = m_measures.take(request))
        done(result);
}

void PageBridge::onPageLoaded()
{
    m_loaded = true;
    const QList<std::function<void()>> waiting = std::exchange(m_beforeLoad, {});
    for (const auto &step : waiting)
        step();
    Q_EMIT pageLoaded();
    requestBindings(m_bindings);
}

void PageBridge::forgetPage()
{
    m_loaded = false;
    m_bound = false;
    // A page loaded anew (a new page object) runs until it is bound.
    m_frozen = false;
    m_freezePending = false;
    m_heldBindings.clear();
    m_outbox.clear();
    // Nothing waits for an answer that cannot come.
    for (const auto &done : std::exchange(m_measures, {}))
        done({});
    for (const auto &done : std::exchange(m_selections, {}))
        done({});
}

void PageBridge::onRendererGone()
{
    forgetPage();
    const QPointer<PageBridge> alive(this);
    Q_EMIT rendererGone();
    if (!alive)
        return;
    makePage();
    m_view->setUrl(m_address);
    m_reloadWatch.start();
}

void PageBridge::requestBindings(const QList<Binding> &bindings)
{
    QVariantList requested;
    for (const Binding &binding : bindings)
        requested << QVariantMap{{QStringLiteral("id"), binding.elementId}, {QStringLiteral("event"), binding.event}};
    Q_EMIT m_host->bindingsRequested(requested);
}

void PageBridge::addBindings(const QList<Binding> &bindings)
{
    m_bindings += bindings;
    // Before the load they go with the others; after it, behind what was built for them.
    if (m_loaded && m_frozen) {
        m_heldBindings += bindings;
    } else if (m_loaded) {
        flush();
        requestBindings(bindings);
    }
}

void PageBridge::removeBindings(const QString &elementId)
{
    m_bindings.removeIf([&elementId](const Binding &binding) { return binding.elementId == elementId; });
}

void PageBridge::onBound()
{
    // A page loaded again is back once it is bound, not before.
    m_reloadWatch.stop();
    // Bindings added later are confirmed too; the page was ready at the first.
    if (m_bound)
        return;
    m_bound = true;
    Q_EMIT pageReady();
    if (m_freezesWhileHidden)
        freezeSoon();
    const QList<std::function<void()>> waiting = std::exchange(m_beforeReady, {});
    for (const auto &work : waiting)
        work();
}

void PageBridge::onEvent(const QString &eventName, const Event &event)
{
    for (const Binding &binding : std::as_const(m_bindings)) {
        if (binding.elementId == event.elementId && binding.event == eventName) {
            // The handler may replace the bindings (a new page): keep what it needs.
            const QString operation = binding.operation;
            const Handler handler = binding.handler;
            const QPointer<PageBridge> alive(this);
            handler(event);
            if (alive)
                Q_EMIT invoked(operation);
            return;
        }
    }
    qCInfo(lcPage) << "page message matches no binding:" << event.elementId << eventName;
}

bool PageBridge::isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QStringLiteral("http") || scheme == QStringLiteral("https");
}

void PageBridge::openExternally(const QUrl &url)
{
    if (isWebAddress(url))
        Desktop::OpenUrl(url.toString(QUrl::FullyEncoded));
}
