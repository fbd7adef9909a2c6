#pragma once

#include "news/cMultGet.h"

#include <QObject>

#include <map>
#include <memory>

// The owner of the source workers: the six built-in sources' and one for each
// feed or page source, made at its first fetch. Routes each fetch to the
// worker of its source and raises the workers' events as its own.
class OOP : public QObject
{
    Q_OBJECT

public:
    explicit OOP(QObject *parent = nullptr);

    // Any id but 100..105 does nothing.
    void GetContent(int ID, const QString &HtmlScr, const QString &URL);
    // A feed or page source's pass (see cMultGet.rep).
    void GetFeedContent(int ID, const QString &known, const QString &URL, const QString &source);
    // A feed or page source that is gone: its worker ends.
    void drop(int ID) { m_feeds.erase(ID); }

Q_SIGNALS:
    void GetMsg(int iID, const QString &iCellTime, const QString &iCellInfo, const QString &iHref, const QString &iPopup);
    void GetComplete(int iID, bool iNew);
    void GetTimeout(int iID);
    void GetError(int iID, const QString &iMsg);
    void GetItem(int iID, const QString &iRecord);
    void GetRetry(int iID, int iSeconds);

private:
    void relay(cMultGet &worker);

    // Created in this order.
    cMultGet FXark;
    cMultGet FX168;
    cMultGet FX678;
    cMultGet Dailyfx;
    cMultGet HeXun;
    cMultGet CaiXun;
    std::map<int, std::unique_ptr<cMultGet>> m_feeds;
};
