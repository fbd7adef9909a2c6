#pragma once

#include "news/cMultGet.h"

#include <QObject>

// The owner of the six source workers: routes each fetch to the worker of its
// source and raises the workers' events as its own.
class OOP : public QObject
{
    Q_OBJECT

public:
    explicit OOP(QObject *parent = nullptr);

    // Any id but 100..105 does nothing.
    void GetContent(int ID, const QString &HtmlScr, const QString &URL);

Q_SIGNALS:
    void GetMsg(int iID, const QString &iCellTime, const QString &iCellInfo, const QString &iHref, const QString &iPopup);
    void GetComplete(int iID, bool iNew);
    void GetTimeout(int iID);
    void GetError(int iID, const QString &iMsg);
    void GetDebug(int iID, const QString &iMsg);

private:
    void relay(cMultGet &worker);

    // Created in this order.
    cMultGet FXark;
    cMultGet FX168;
    cMultGet FX678;
    cMultGet Dailyfx;
    cMultGet HeXun;
    cMultGet CaiXun;
};
