#include "news/WorkerRuntime.h"

#include "news/cMultGet.h"

#include "core/Logging.h"
#include "protocol/rep_cMultGet_replica.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QRemoteObjectNode>
#include <QRemoteObjectPendingCallWatcher>
#include <QStandardPaths>
#include <QUuid>

namespace {

// A server that lived this long was no start-up failure: the next restart is immediate.
constexpr qint64 StableUptimeMs = 10000;
constexpr int MaxRestartDelayMs = 30000;

} // namespace

WorkerRuntime &WorkerRuntime::instance()
{
    static WorkerRuntime *runtime = new WorkerRuntime;
    return *runtime;
}

WorkerRuntime::WorkerRuntime()
    : QObject(QCoreApplication::instance())
    , m_program(QCoreApplication::applicationDirPath() + QStringLiteral("/torvel"))
{
    m_restart.setSingleShot(true);
    connect(&m_restart, &QTimer::timeout, this, &WorkerRuntime::startServer);
    m_startWatch.setSingleShot(true);
    m_startWatch.setInterval(DefaultStartTimeoutMs);
    connect(&m_startWatch, &QTimer::timeout, this, [this] {
        qCWarning(lcWorker) << "worker server not ready in" << m_startWatch.interval() << "ms";
        onServerEnded();
    });
}

WorkerRuntime::~WorkerRuntime()
{
    stopServer();
}

void WorkerRuntime::setServerProgram(const QString &path)
{
    m_program = path;
}

qint64 WorkerRuntime::serverProcessId() const
{
    return m_process ? m_process->processId() : 0;
}

void WorkerRuntime::attach(cMultGet *object)
{
    m_objects.append(object);
    if (!m_process && !m_restart.isActive())
        startServer();
    else if (m_factory && m_factory->state() == QRemoteObjectReplica::Valid)
        bind(object);
}

void WorkerRuntime::detach(cMultGet *object)
{
    m_objects.removeAll(object);
}

void WorkerRuntime::startServer()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // A new unguessable name for every start, in the user's private runtime folder.
    m_socketPath = dir + QStringLiteral("/tessaly-torvel-") + QUuid::createUuid().toString(QUuid::Id128);

    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] {
        if (m_process->readAllStandardOutput().contains("ready"))
            connectToServer();
    });
    connect(m_process, &QProcess::finished, this, &WorkerRuntime::onServerEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onServerEnded();
    });
    m_uptime.start();
    m_startWatch.start();
    // Our end of its standard input stays open: when this process ends, torvel sees it end too.
    m_process->start(m_program, {QStringLiteral("--server"), m_socketPath});
}

void WorkerRuntime::connectToServer()
{
    // Said twice, "ready" still means one link.
    if (m_node)
        return;
    m_socket = new QLocalSocket(this);
    m_socket->connectToServer(m_socketPath);
    m_node = std::make_unique<QRemoteObjectNode>();
    m_node->addClientSideConnection(m_socket);
    m_factory.reset(m_node->acquire<WorkerFactoryReplica>(QStringLiteral("Factory")));
    connect(m_factory.get(), &QRemoteObjectReplica::initialized, this, [this] {
        const QList<QPointer<cMultGet>> objects = m_objects;
        for (const QPointer<cMultGet> &object : objects) {
            if (object)
                bind(object);
        }
        if (m_pendingBinds == 0)
            m_startWatch.stop(); // up, with nothing to bind
    });
}

void WorkerRuntime::bind(cMultGet *object)
{
    auto *watcher = new QRemoteObjectPendingCallWatcher(m_factory->CreateObject(), this);
    ++m_pendingBinds;
    QPointer<cMultGet> target(object);
    QRemoteObjectNode *node = m_node.get();
    connect(watcher, &QRemoteObjectPendingCallWatcher::finished, this, [this, watcher, target, node] {
        watcher->deleteLater();
        // Answers of a server that has gone since are of no use.
        if (node != m_node.get())
            return;
        const QString name = watcher->returnValue().toString();
        if (target && !name.isEmpty())
            target->bind(m_node->acquire<cMultGetReplica>(name));
        if (--m_pendingBinds == 0) {
            m_startWatch.stop();
            Q_EMIT serverReady();
        }
    });
}

void WorkerRuntime::onServerEnded()
{
    if (!m_process)
        return;
    stopServer();
    const QList<QPointer<cMultGet>> objects = m_objects;
    for (const QPointer<cMultGet> &object : objects) {
        if (object)
            object->serverLost();
    }
    Q_EMIT serverLost();

    // A server that dies at once is started again with growing pauses.
    m_quickFailures = m_uptime.elapsed() < StableUptimeMs ? m_quickFailures + 1 : 0;
    const int delay = m_quickFailures <= 1 ? 0 : std::min(MaxRestartDelayMs, 250 << std::min(m_quickFailures, 8));
    qCInfo(lcWorker) << "worker server ended; starting it again in" << delay << "ms";
    m_restart.start(delay);
}

void WorkerRuntime::stopServer()
{
    m_startWatch.stop();
    m_pendingBinds = 0;
    m_factory.reset();
    m_node.reset();
    if (m_socket) {
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    if (m_process) {
        QProcess *process = m_process;
        m_process = nullptr;
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(1000);
        }
        process->deleteLater();
    }
}
