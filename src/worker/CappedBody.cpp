#include "worker/CappedBody.h"

#include <QNetworkReply>

void CappedBody::reset()
{
    m_body.clear();
    m_tooLarge = false;
}

void CappedBody::read(QNetworkReply *reply)
{
    if (m_tooLarge)
        return;
    m_body += reply->read(m_cap + 1 - m_body.size());
    if (m_body.size() > m_cap) {
        m_tooLarge = true;
        m_body.clear();
        reply->abort();
    }
}

QByteArray CappedBody::take(QNetworkReply *reply)
{
    read(reply);
    return std::exchange(m_body, QByteArray());
}
