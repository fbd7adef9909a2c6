#pragma once

#include "protocol/rep_cMultGet_source.h"

#include <QLocalServer>
#include <QObject>
#include <QRemoteObjectHost>

#include <memory>
#include <vector>

class cMultGetHost;
class QLocalSocket;
class QSocketNotifier;

// The worker server: serves one client (the tavrin that started it) on a
// private local socket, creates cMultGet objects on its request, and ends when
// that client goes away (its connection closes or our standard input ends).
class WorkerServer : public WorkerFactorySource
{
    Q_OBJECT

public:
    explicit WorkerServer(QObject *parent = nullptr);
    ~WorkerServer() override;

    // Listens on the socket path; only the user may connect.
    bool listen(const QString &socketPath, QString *error);
    // Quit when standard input reaches its end: the parent has gone.
    void watchStandardInput();

    QString CreateObject() override;

private:
    void onNewConnection();

    QLocalServer m_server;
    QRemoteObjectHost m_host;
    QLocalSocket *m_client = nullptr;
    QSocketNotifier *m_stdin = nullptr;
    std::vector<std::unique_ptr<cMultGetHost>> m_objects;
};
