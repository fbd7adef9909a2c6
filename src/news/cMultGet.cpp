#include "news/cMultGet.h"

#include "news/WorkerRuntime.h"
#include "protocol/SourceId.h"
#include "protocol/rep_cMultGet_replica.h"

QString cMultGet::serverLostMessage()
{
    return QStringLiteral("Request Server, Err:#1 工作进程已退出, 正在重新启动");
}

cMultGet::cMultGet(QObject *parent)
    : QObject(parent)
{
    WorkerRuntime::instance().attach(this);
}

cMultGet::~cMultGet()
{
    WorkerRuntime::instance().detach(this);
}

void cMultGet::GetWebContent(const QString &iHtmlScr, int iID, const QString &iUrl)
{
    call({iHtmlScr, iID, iUrl, QString()});
}

void cMultGet::GetFeedContent(const QString &iKnown, int iID, const QString &iUrl, const QString &iSource)
{
    call({iKnown, iID, iUrl, iSource});
}

void cMultGet::call(const Call &call)
{
    if (m_replica && m_replica->state() == QRemoteObjectReplica::Valid)
        send(call);
    else
        m_waiting = call; // a later call replaces it, as in the worker itself
}

bool cMultGet::awaited(const Call &call)
{
    // A pass for an id without a parser ends silently in the worker: nothing
    // of it is awaited, so nothing of it is lost with the worker.
    return !call.source.isEmpty() || SourceId::isSource(call.id);
}

void cMultGet::send(const Call &call)
{
    if (awaited(call))
        m_inFlight = call.id;
    if (call.source.isEmpty())
        m_replica->GetWebContent(call.htmlScr, call.id, call.url);
    else
        m_replica->GetFeedContent(call.htmlScr, call.id, call.url, call.source);
}

void cMultGet::passEnded(int id)
{
    if (m_inFlight == id)
        m_inFlight.reset();
}

void cMultGet::bind(cMultGetReplica *replica)
{
    m_replica.reset(replica);
    connect(replica, &cMultGetReplica::GetMsg, this, &cMultGet::GetMsg);
    connect(replica, &cMultGetReplica::GetComplete, this, [this](int id, bool isNew) {
        passEnded(id);
        Q_EMIT GetComplete(id, isNew);
    });
    connect(replica, &cMultGetReplica::GetTimeout, this, [this](int id) {
        passEnded(id);
        Q_EMIT GetTimeout(id);
    });
    connect(replica, &cMultGetReplica::GetError, this, [this](int id, const QString &message) {
        passEnded(id);
        Q_EMIT GetError(id, message);
    });
    connect(replica, &cMultGetReplica::GetItem, this, &cMultGet::GetItem);
    connect(replica, &cMultGetReplica::GetRetry, this, &cMultGet::GetRetry);
    connect(replica, &QRemoteObjectReplica::stateChanged, this, [this](QRemoteObjectReplica::State state) {
        if (state == QRemoteObjectReplica::Valid && m_waiting) {
            const Call call = *m_waiting;
            m_waiting.reset();
            send(call);
        }
    });
}

void cMultGet::serverLost()
{
    m_replica.reset();
    std::optional<int> lost = m_inFlight;
    if (!lost && m_waiting && awaited(*m_waiting))
        lost = m_waiting->id;
    m_inFlight.reset();
    m_waiting.reset();
    if (lost)
        Q_EMIT GetError(*lost, serverLostMessage());
}
