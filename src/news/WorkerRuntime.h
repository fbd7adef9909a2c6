#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <memory>

class cMultGet;
class QLocalSocket;
class QRemoteObjectNode;
class WorkerFactoryReplica;

// The main program's side of the component runtime: starts the worker server
// torvel when the first cMultGet is created, on a private socket of its own,
// creates the server's objects for the handles, and starts it again (with
// the objects) whenever it goes away.
class WorkerRuntime : public QObject
{
    Q_OBJECT

public:
    static WorkerRuntime &instance();

    // The server program; by default "torvel" beside this executable.
    void setServerProgram(const QString &path);
    QString serverProgram() const { return m_program; }
    // Process id of the running server, 0 while none runs.
    qint64 serverProcessId() const;
    QString socketPath() const { return m_socketPath; }
    // A server whose objects are not all bound this long after its start
    // (it never said "ready", or its link never came up) counts as crashed.
    static constexpr int DefaultStartTimeoutMs = 20000;
    void setStartTimeout(int milliseconds) { m_startWatch.setInterval(milliseconds); }

    void attach(cMultGet *object);
    void detach(cMultGet *object);

Q_SIGNALS:
    // Every handle is bound to an object of a freshly started server.
    void serverReady();
    void serverLost();

private:
    WorkerRuntime();
    ~WorkerRuntime() override;

    void startServer();
    void connectToServer();
    void onServerEnded();
    void bind(cMultGet *object);
    void stopServer();

    QString m_program;
    QString m_socketPath;
    QProcess *m_process = nullptr;
    QLocalSocket *m_socket = nullptr;
    std::unique_ptr<QRemoteObjectNode> m_node;
    std::unique_ptr<WorkerFactoryReplica> m_factory;
    QList<QPointer<cMultGet>> m_objects;
    QTimer m_restart;
    QTimer m_startWatch;
    QElapsedTimer m_uptime;
    int m_quickFailures = 0;
    int m_pendingBinds = 0;
};
