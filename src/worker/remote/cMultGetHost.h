#pragma once

#include "protocol/rep_cMultGet_source.h"

#include <QThread>

class cMultGetWorker;

// The remoted face of one worker: calls go to the worker on its own thread,
// the worker's events come back (queued, so in order) as the remote signals.
class cMultGetHost : public cMultGetSource
{
    Q_OBJECT

public:
    explicit cMultGetHost(QObject *parent = nullptr);
    ~cMultGetHost() override;

    void GetWebContent(const QString &iHtmlScr, int iID, const QString &iUrl) override;
    void GetFeedContent(const QString &iKnown, int iID, const QString &iUrl, const QString &iSource) override;

private:
    QThread m_thread;
    cMultGetWorker *m_worker;
};
