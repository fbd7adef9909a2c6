#include "shell/TrayText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_TrayText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outsideTextShowsAsItIs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("serviceMessage");
        QTest::addColumn<QString>("balloonMessage");
        QTest::newRow("plain") << u"美元走强"_s << u"美元走强"_s << u"美元走强"_s;
        QTest::newRow("markup") << u"<b>粗</b> & <a href='x'>链</a>"_s
                                << u"&lt;b&gt;粗&lt;/b&gt; &amp; &lt;a href=&#39;x&#39;&gt;链&lt;/a&gt;"_s
                                << u"<b>粗</b> & <a href='x'>链</a>"_s;
        QTest::newRow("lines") << u"前值: 1\r\n结果: 2"_s << u"前值: 1\n结果: 2"_s << u"前值: 1\r\n结果: 2"_s;
    }
    void outsideTextShowsAsItIs()
    {
        QFETCH(QString, text);
        QFETCH(QString, serviceMessage);
        QFETCH(QString, balloonMessage);
        QCOMPARE(TrayText::message(text, TrayText::Tray::NotificationService), serviceMessage);
        QCOMPARE(TrayText::message(text, TrayText::Tray::Balloon), balloonMessage);
    }
};

QTEST_GUILESS_MAIN(tst_TrayText)
#include "tst_TrayText.moc"
