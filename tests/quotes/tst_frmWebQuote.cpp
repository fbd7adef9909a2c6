#include "quotes/frmWebQuote.h"
#include "support/SiteSimulator.h"
#include "support/TestHttpServer.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QDir>
#include <QFile>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

using namespace Qt::StringLiterals;

// The hidden scraper on the simulator's broker page, with the real WebEngine.
class tst_frmWebQuote : public QObject
{
    Q_OBJECT

private:
    SiteSimulator m_sim;
    QString m_base;

    void control(const QString &what) { QCOMPARE(m_sim.get(u"/control?quotes="_s + what), QByteArray("ok")); }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
        QVERIFY(m_sim.start());
        m_base = m_sim.base();
    }

    void theAddressKeepsItsDoubledSlashAndItsEntities()
    {
        QCOMPARE(frmWebQuote::pageAddress(u"http://broker.example"_s),
                 u"http://broker.example//forexQuotes.aspx?headerColor=003366&amp;itemColor=336699&amp;alternateColor=003366"
                 "&amp;currencyColor=FFCC00&amp;textColor=FFFFFF&amp;size=forexChart"_s);
    }

    void pricesArriveAndAZeroClosesUntilTheyAreBack()
    {
        control(u"none"_s);
        frmWebQuote scraper(frmWebQuote::pageAddress(m_base));
        QSignalSpy initialized(&scraper, &frmWebQuote::initialized);
        QSignalSpy prices(&scraper, &frmWebQuote::Price);
        QSignalSpy closed(&scraper, &frmWebQuote::iClose);
        QSignalSpy recovered(&scraper, &frmWebQuote::recovered);
        QVERIFY(initialized.wait(20000));
        QVERIFY(prices.size() >= 8);
        QStringList symbols;
        for (int i = 0; i < 8; ++i)
            symbols << prices.at(i).at(0).toString();
        QCOMPARE(symbols, (QStringList{u"EURUSD"_s, u"GBPUSD"_s, u"USDJPY"_s, u"USDCHF"_s, u"AUDUSD"_s, u"NZDUSD"_s,
                                       u"USDCAD"_s, u"GBPJPY"_s}));
        QCOMPARE(prices.at(2).at(1).toString().size(), 6); // 149.50 + the fractional pip
        control(u"zero:bidElem3"_s);
        QVERIFY(closed.wait(10000));
        control(u"none"_s);
        QVERIFY(recovered.wait(15000));
    }

    // A start that brings no prices is given up: a redirect off the broker's
    // site, a stalled page, a page that never shows the table. A redirect
    // within the site (here another port of the same host) is followed.
    void aStartIsGivenUpOrFollowsARedirect_data()
    {
        QTest::addColumn<QString>("redirect"); // where /quotes sends the page; empty: the broker's page, as it is
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("starts");
        QTest::newRow("another port") << u"http://127.0.0.1:%1"_s << u"none"_s << true;
        QTest::newRow("another host") << u"http://localhost:%1"_s << u"none"_s << false;
        QTest::newRow("another scheme") << u"ftp://127.0.0.1:%1"_s << u"none"_s << false;
        QTest::newRow("stalled") << QString() << u"stall"_s << false;
        QTest::newRow("an error page") << QString() << u"fail"_s << false;
    }
    void aStartIsGivenUpOrFollowsARedirect()
    {
        QFETCH(QString, redirect);
        QFETCH(QString, fault);
        QFETCH(bool, starts);
        control(fault);
        TestHttpServer server;
        const QUrl broker(frmWebQuote::pageAddress(m_base));
        QString address = broker.toString();
        if (!redirect.isEmpty()) {
            const QUrl target(redirect.arg(broker.port()));
            server.redirect(u"/quotes"_s, target.toString() + broker.path(QUrl::FullyEncoded) + u'?' + broker.query(QUrl::FullyEncoded), 301);
            address = server.url(u"/quotes"_s);
        }
        frmWebQuote scraper(address, std::chrono::seconds(8));
        QSignalSpy initialized(&scraper, &frmWebQuote::initialized);
        QSignalSpy failed(&scraper, &frmWebQuote::startFailed);
        QTRY_VERIFY_WITH_TIMEOUT(!initialized.isEmpty() || !failed.isEmpty(), 20000);
        QCOMPARE(initialized.size(), starts ? 1 : 0);
        QCOMPARE(failed.size(), starts ? 0 : 1);
        control(u"none"_s);
    }

    // Nothing the broker's page tries gets out of its hidden page.
    void aHostilePageChangesNothing()
    {
        control(u"none"_s);
        control(u"hostile"_s);
        const QUrl broker(frmWebQuote::pageAddress(m_base));
        frmWebQuote scraper(broker.toString());
        const int windows = QApplication::topLevelWidgets().size(); // its own view, never on the screen, counted
        // Seen after the scraper's own answer to a download.
        QList<QWebEngineDownloadRequest::DownloadState> downloads;
        auto *profile = scraper.findChild<QWebEngineProfile *>();
        connect(profile, &QWebEngineProfile::downloadRequested, this,
                [&downloads](QWebEngineDownloadRequest *download) { downloads << download->state(); });
        QSignalSpy initialized(&scraper, &frmWebQuote::initialized);
        QVERIFY(initialized.wait(20000)); // still read
        QTest::qWait(3000);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        // On the broker's own page, whatever it tried.
        QCOMPARE(scraper.findChild<QWebEnginePage *>()->url().adjusted(QUrl::RemovePath | QUrl::RemoveQuery),
                 broker.adjusted(QUrl::RemovePath | QUrl::RemoveQuery));
        QVERIFY(!downloads.isEmpty()); // it did try one
        for (const QWebEngineDownloadRequest::DownloadState state : std::as_const(downloads))
            QCOMPARE(state, QWebEngineDownloadRequest::DownloadCancelled);
        QVERIFY(!QFile::exists(QDir(profile->downloadPath()).filePath(u"values.json"_s)));
        control(u"none"_s);
    }
};

QTEST_MAIN(tst_frmWebQuote)
#include "tst_frmWebQuote.moc"
