#include "PageBridge.h"

#include "Desktop.h"
#include "GuardedPage.h"
#include "PageBridgeChannel.h"

#include <QFile>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

// Resources of a static library are registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(bridge);
    Q_INIT_RESOURCE(pages);
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

PageBridge::PageBridge(QWidget *parentWidget, QObject *target)
    : QObject(parentWidget)
    , m_view(new QWebEngineView(parentWidget))
    , m_channel(new QWebChannel(this))
    , m_host(new PageBridgeChannel(this))
    , m_target(target)
{
    initResources();
    auto *page = new GuardedPage(m_view);
    m_view->setPage(page);
    m_view->setAcceptDrops(false);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_channel->registerObject(QStringLiteral("host"), m_host);
    page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);
    // One script, so the channel exists before our page code runs.
    page->scripts().insert(applicationScript(
        QStringLiteral("tessaly-bridge"),
        resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + resourceText(QStringLiteral(":/bridge/bridge.js"))));
    connect(page, &QWebEnginePage::loadStarted, this, [this] { m_bound = false; });
}

PageBridge::~PageBridge() = default;

void PageBridge::load(const QString &pageName, const QList<Binding> &bindings)
{
    m_bindings = bindings;
    m_bound = false;
    m_view->setUrl(QUrl(QStringLiteral("qrc:/pages/") + pageName));
}

void PageBridge::apply(const QString &command, const QVariantList &args)
{
    Q_EMIT m_host->apply(command, args);
}

void PageBridge::measure(const QStringList &ids, std::function<void(const QJsonObject &)> done)
{
    const int request = ++m_nextRequest;
    m_measures.insert(request, std::move(done));
    Q_EMIT m_host->measureRequested(request, ids);
}

void PageBridge::onMeasured(int request, const QJsonObject &result)
{
    if (auto done = m_measures.take(request))
        done(result);
}

void PageBridge::onPageLoaded()
{
    QVariantList bindings;
    for (const Binding &binding : m_bindings)
        bindings << QVariantMap{{QStringLiteral("id"), binding.elementId},
                                {QStringLiteral("event"), binding.event},
                                {QStringLiteral("operation"), binding.operation}};
    Q_EMIT m_host->bindingsRequested(bindings);
}

void PageBridge::onBound()
{
    m_bound = true;
    Q_EMIT pageReady();
}

void PageBridge::invoke(const QString &operation, const QString &elementId, const QString &elementText)
{
    m_invokingElement = elementId;
    m_invokingText = elementText;
    if (!m_target || !QMetaObject::invokeMethod(m_target, operation.toLatin1().constData()))
        Q_EMIT unknownOperation(operation);
}

void PageBridge::openExternally(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("http") || scheme == QStringLiteral("https"))
        Desktop::OpenUrl(url.toString(QUrl::FullyEncoded));
}
