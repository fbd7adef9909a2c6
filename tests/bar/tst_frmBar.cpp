#include "bar/frmBar.h"
#include "core/AppGlobals.h"
#include "pagebridge/PageBridge.h"
#include "support/PageScript.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The ticker bar's window with its real page.
class tst_frmBar : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;

    static QString news(frmBar &bar)
    {
        return PageScript::run(bar.findChild<QWebEngineView *>(), u"document.getElementById('iSpan').innerHTML"_s).toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
        Globals().Config.setMessageSink(&m_sink);
        Globals().Config.setXmlFile(m_folder.copyDefaultConfig());
        QVERIFY(Globals().Config.Initialize());
    }

    // The bar shows when its page is ready, never blank; closed before, it never shows.
    void showsWhenItsPageIsReady()
    {
        frmBar bar;
        bar.showWhenReady();
        QVERIFY(!bar.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(bar.isVisible(), 20000);
        QCOMPARE(news(bar), u"正在初始化..."_s);
        frmBar closed;
        closed.showWhenReady();
        closed.close();
        QTRY_VERIFY_WITH_TIMEOUT(!closed.page().Busy(), 20000);
        QTest::qWait(200);
        QVERIFY(!closed.isVisible());
    }

    void showsTheNewestItemAsTextWithItsMark()
    {
        QVERIFY(Globals().Config.SetNodeAttrib(u"Window/FXBar"_s, u"Left"_s, u"50"_s));
        QVERIFY(Globals().Config.SetNodeAttrib(u"Window/FXBar"_s, u"Top"_s, u"60"_s));
        frmBar bar;
        QCOMPARE(bar.pos(), QPoint(50, 60)); // its place, asked of the window manager as it shows
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QCOMPARE(bar.size(), frmBar::ClientSize);
        QTRY_COMPARE(news(bar), u"正在初始化..."_s);
        bar.iNew({u"10:01"_s, {}, u"美元<b>走强</b>"_s, {}, u"https://news.example/a"_s, u"FX168"_s, u" - FX168"_s});
        QTRY_VERIFY(news(bar).startsWith(u"<img"_s) && news(bar).contains(u"src=\"new.gif\""_s));
        const QString shown = news(bar);
        QVERIFY(shown.contains(u"10:01 <a href=\"https://news.example/a\">美元&lt;b&gt;走强&lt;/b&gt;</a>"_s));
        QVERIFY(shown.contains(u"<b class=\"label FX168\"> - FX168</b>"_s));
        bar.move(70, 80);
        QSignalSpy closed(&bar, &frmBar::closedByUser);
        PageScript::run(bar.findChild<QWebEngineView *>(), u"document.getElementById('iClose').click(); 1"_s);
        QTRY_COMPARE(closed.size(), 1);
        QCOMPARE(Globals().Config.GetNodeAttrib(u"Window/FXBar"_s, u"Left"_s), u"70"_s);
        QCOMPARE(Globals().Config.GetNodeAttrib(u"Window/FXBar"_s, u"Top"_s), u"80"_s);
    }

    // A stored place is kept while most of the bar is on a screen there;
    // else the bar goes to the corner.
    void aPlaceMostlyOffTheScreensFallsBackToTheCorner_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<bool>("kept");
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTest::newRow("on no screen") << QPoint(-5000, -5000) << false;
        QTest::newRow("mostly off, to the right") << QPoint(screen.right() - 40, 100) << false;
        QTest::newRow("mostly off, below") << QPoint(100, screen.bottom() - 5) << false;
        QTest::newRow("a little off, to the left") << QPoint(-20, 100) << true;
        QTest::newRow("wholly on") << QPoint(30, 40) << true;
    }
    void aPlaceMostlyOffTheScreensFallsBackToTheCorner()
    {
        QFETCH(QPoint, stored);
        QFETCH(bool, kept);
        QVERIFY(Globals().Config.SetNodeAttrib(u"Window/FXBar"_s, u"Left"_s, QString::number(stored.x())));
        QVERIFY(Globals().Config.SetNodeAttrib(u"Window/FXBar"_s, u"Top"_s, QString::number(stored.y())));
        frmBar bar;
        QCOMPARE(bar.pos(), kept ? stored : QPoint(0, 0));
        QSignalSpy closed(&bar, &frmBar::closedByUser);
        bar.closeForExit();
        QCOMPARE(closed.size(), 0); // at exit the button does not come back
        QVERIFY(m_sink.messages().isEmpty());
    }
};

QTEST_MAIN(tst_frmBar)
#include "tst_frmBar.moc"
