#include "support/SiteSimulator.h"
#include "support/TavrinRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

// A remote site's frame inside the main window never runs in the renderer
// process of our own page, which holds the page bridge: the web engine's
// debugging list shows such a frame as a target of its own ("iframe") only
// when it runs out of the page's process.
class tst_tavrin_isolation : public QObject
{
    Q_OBJECT

private:
    static QJsonArray debugTargets(QNetworkAccessManager &network, quint16 port)
    {
        QNetworkReply *reply = network.get(QNetworkRequest(QUrl(u"http://127.0.0.1:%1/json"_s.arg(port))));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        finished.wait(5000);
        reply->deleteLater();
        return QJsonDocument::fromJson(reply->readAll()).array();
    }

    static bool hasTarget(const QJsonArray &targets, const QString &type, const QString &urlPart)
    {
        return std::any_of(targets.begin(), targets.end(), [&](const QJsonValue &target) {
            return target[u"type"_s].toString() == type && target[u"url"_s].toString().contains(urlPart);
        });
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server and tray that `make test` starts");
    }

    void remoteFramesRunOutsideOurPagesProcess()
    {
        SiteSimulator sim;
        QVERIFY(sim.start());
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        qputenv("QTWEBENGINE_REMOTE_DEBUGGING", u"127.0.0.1:%1"_s.arg(port).toUtf8());
        TavrinRun tavrin(sim.base());
        QVERIFY(tavrin.start());
        qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");

        QNetworkAccessManager network;
        QTRY_VERIFY_WITH_TIMEOUT(sim.hits(u"/site/advert.htm"_s) >= 1, 30000);
        QJsonArray targets;
        QTRY_VERIFY_WITH_TIMEOUT(hasTarget(targets = debugTargets(network, port), u"iframe"_s, u"/site/advert.htm"_s), 15000);
        QVERIFY(hasTarget(targets, u"page"_s, u"qrc:/pages/iInfo.htm"_s));
    }
};

QTEST_GUILESS_MAIN(tst_tavrin_isolation)
#include "tst_tavrin_isolation.moc"
