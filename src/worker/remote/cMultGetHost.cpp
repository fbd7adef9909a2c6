#include "worker/remote/cMultGetHost.h"

#include "worker/cMultGetWorker.h"

cMultGetHost::cMultGetHost(QObject *parent)
    : cMultGetSource(parent)
    , m_worker(new cMultGetWorker)
{
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &cMultGetWorker::Msg, this, &cMultGetHost::GetMsg);
    connect(m_worker, &cMultGetWorker::Complete, this, &cMultGetHost::GetComplete);
    connect(m_worker, &cMultGetWorker::Timeout, this, &cMultGetHost::GetTimeout);
    connect(m_worker, &cMultGetWorker::IError, this, &cMultGetHost::GetError);
    connect(m_worker, &cMultGetWorker::Item, this, &cMultGetHost::GetItem);
    connect(m_worker, &cMultGetWorker::Retry, this, &cMultGetHost::GetRetry);
    m_thread.setObjectName(QStringLiteral("cMultGet"));
    m_thread.start();
}

cMultGetHost::~cMultGetHost()
{
    m_thread.quit();
    m_thread.wait();
}

void cMultGetHost::GetWebContent(const QString &iHtmlScr, int iID, const QString &iUrl)
{
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, iHtmlScr, iID, iUrl] { worker->GetWebContent(iHtmlScr, iID, iUrl); },
        Qt::QueuedConnection);
}

void cMultGetHost::GetFeedContent(const QString &iKnown, int iID, const QString &iUrl, const QString &iSource)
{
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, iKnown, iID, iUrl, iSource] { worker->GetFeedContent(iKnown, iID, iUrl, iSource); },
        Qt::QueuedConnection);
}
