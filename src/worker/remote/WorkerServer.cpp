#include "worker/remote/WorkerServer.h"

#include "worker/remote/cMultGetHost.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

WorkerServer::WorkerServer(QObject *parent)
    : WorkerFactorySource(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.setMaxPendingConnections(1);
    connect(&m_server, &QLocalServer::newConnection, this, &WorkerServer::onNewConnection);
}

WorkerServer::~WorkerServer()
{
    // The objects' threads end before the host that remotes them.
    m_objects.clear();
}

bool WorkerServer::listen(const QString &socketPath, QString *error)
{
    QLocalServer::removeServer(socketPath);
    if (m_server.listen(socketPath))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

void WorkerServer::watchStandardInput()
{
#ifdef Q_OS_UNIX
    m_stdin = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_stdin, &QSocketNotifier::activated, this, [this] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            m_stdin->setEnabled(false);
            QCoreApplication::quit();
        }
    });
#endif
}

void WorkerServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        if (m_client) {
            // One client per server: whoever comes second is turned away.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_client = socket;
        connect(socket, &QLocalSocket::disconnected, QCoreApplication::instance(), &QCoreApplication::quit);
        // The host can remote objects only once it has a connection.
        m_host.addHostSideConnection(socket);
        if (!m_host.enableRemoting(this, QStringLiteral("Factory")))
            qFatal("torvel: cannot offer the object factory");
    }
}

QString WorkerServer::CreateObject()
{
    const QString name = QStringLiteral("cMultGet/%1").arg(m_objects.size() + 1);
    m_objects.push_back(std::make_unique<cMultGetHost>());
    m_host.enableRemoting(m_objects.back().get(), name);
    return name;
}
