#pragma once

#include <QByteArray>

class QNetworkReply;

// A response body read as it arrives, up to a cap: past the cap the read is
// aborted and what came is let go (a news page or feed is never that large).
class CappedBody
{
public:
    explicit CappedBody(qint64 cap)
        : m_cap(cap)
    {
    }

    void reset();
    // What the reply has for us now.
    void read(QNetworkReply *reply);
    bool tooLarge() const { return m_tooLarge; }
    // The whole body once the reply has finished; empty when it was too large.
    QByteArray take(QNetworkReply *reply);

private:
    qint64 m_cap;
    QByteArray m_body;
    bool m_tooLarge = false;
};
