#include "support/SiteSimulator.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QTest>

SiteSimulator::~SiteSimulator()
{
    m_process.kill();
    m_process.waitForFinished();
}

bool SiteSimulator::start(const QStringList &arguments)
{
    m_process.start(QStringLiteral("python3"),
                    QStringList{QStringLiteral(TESSALY_SOURCE_DIR "/tools/sitesim/sitesim.py"), QStringLiteral("--port"),
                                QStringLiteral("0")}
                        + arguments);
    if (!m_process.waitForReadyRead(10000))
        return false;
    const QByteArray line = m_process.readLine().trimmed();
    if (!line.startsWith("listening on "))
        return false;
    m_base = QStringLiteral("http://127.0.0.1:") + QString::fromLatin1(line.mid(13));
    return true;
}

QByteArray SiteSimulator::get(const QString &path)
{
    QNetworkReply *reply = m_network.get(QNetworkRequest(QUrl(m_base + path)));
    QElapsedTimer clock;
    clock.start();
    while (!reply->isFinished() && clock.elapsed() < 5000)
        QTest::qWait(5);
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

int SiteSimulator::hits(const QString &name)
{
    return QJsonDocument::fromJson(get(QStringLiteral("/stats"))).object().value(name).toInt();
}
