#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class cMultGetReplica;

// The main program's handle on one worker object of the worker server. Calls
// made before the object exists in the server wait for it; if the server goes
// away, the pass in flight ends with GetError so that its caller tries again.
// Events arrive on the thread that created the handle (the UI thread), in order.
class cMultGet : public QObject
{
    Q_OBJECT

public:
    explicit cMultGet(QObject *parent = nullptr);
    ~cMultGet() override;

    // Starts one fetch-and-parse pass; returns at once.
    void GetWebContent(const QString &iHtmlScr, int iID, const QString &iUrl);
    // The same for a feed or page source (see cMultGet.rep).
    void GetFeedContent(const QString &iKnown, int iID, const QString &iUrl, const QString &iSource);

    // The text of the GetError that ends a pass lost with the worker server.
    static QString serverLostMessage();

Q_SIGNALS:
    void GetMsg(int iID, const QString &iCellTime, const QString &iCellInfo, const QString &iHref, const QString &iPopup);
    void GetComplete(int iID, bool iNew);
    void GetTimeout(int iID);
    void GetError(int iID, const QString &iMsg);
    void GetItem(int iID, const QString &iRecord);
    void GetRetry(int iID, int iSeconds);

private:
    friend class WorkerRuntime;
    struct Call
    {
        QString htmlScr; // or a feed source's known keys
        int id;
        QString url;
        QString source;  // a feed or page source's description; empty for the six
    };

    void bind(cMultGetReplica *replica);
    void call(const Call &call);
    static bool awaited(const Call &call);
    void serverLost();
    void send(const Call &call);
    void passEnded(int id);

    std::unique_ptr<cMultGetReplica> m_replica;
    std::optional<Call> m_waiting;  // made before the object was ready
    std::optional<int> m_inFlight;  // id of the pass under way in the server
};
