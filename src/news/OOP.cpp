#include "news/OOP.h"

#include "protocol/SourceId.h"

OOP::OOP(QObject *parent)
    : QObject(parent)
{
    for (cMultGet *worker : {&FXark, &FX168, &FX678, &Dailyfx, &HeXun, &CaiXun})
        relay(*worker);
}

void OOP::relay(cMultGet &worker)
{
    connect(&worker, &cMultGet::GetMsg, this, &OOP::GetMsg);
    connect(&worker, &cMultGet::GetComplete, this, &OOP::GetComplete);
    connect(&worker, &cMultGet::GetTimeout, this, &OOP::GetTimeout);
    connect(&worker, &cMultGet::GetError, this, &OOP::GetError);
    connect(&worker, &cMultGet::GetItem, this, &OOP::GetItem);
    connect(&worker, &cMultGet::GetRetry, this, &OOP::GetRetry);
}

void OOP::GetContent(int ID, const QString &HtmlScr, const QString &URL)
{
    cMultGet *worker = nullptr;
    switch (ID) {
    case s_FXark: worker = &FXark; break;
    case s_FX168: worker = &FX168; break;
    case s_FX678: worker = &FX678; break;
    case s_Dailyfx: worker = &Dailyfx; break;
    case s_HeXun: worker = &HeXun; break;
    case s_CaiXun: worker = &CaiXun; break;
    default: return;
    }
    worker->GetWebContent(HtmlScr, ID, URL);
}

void OOP::GetFeedContent(int ID, const QString &known, const QString &URL, const QString &source)
{
    std::unique_ptr<cMultGet> &worker = m_feeds[ID];
    if (!worker) {
        worker = std::make_unique<cMultGet>();
        relay(*worker);
    }
    worker->GetFeedContent(known, ID, URL, source);
}
