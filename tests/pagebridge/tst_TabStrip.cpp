#include "pagebridge/TabStrip.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_TabStrip : public QObject
{
    Q_OBJECT

private:
    static TabStrip strip()
    {
        TabStrip tabs;
        tabs.addTabs({{u"iFXCalendar"_s, {u"iCalendar"_s, u"iCalHead"_s}, u"Calendar.htm"_s}});
        tabs.addTabs({{u"iAll"_s, {u"iAllNews"_s}, u"All.htm"_s}, {u"iDailyfx"_s, {u"iDailyFXNews"_s}, u"Dailyfx.htm"_s}});
        return tabs;
    }

private Q_SLOTS:
    void selectingATabHidesTheOldAndCountsItsVisit()
    {
        TabStrip tabs = strip();
        auto first = tabs.select(u"iAll"_s);
        QVERIFY(first);
        QCOMPARE(first->oldTab, QString());
        QVERIFY(first->hide.isEmpty());
        QCOMPARE(first->leftSitePage, QString()); // no frame on the first selection
        QCOMPARE(first->show, QStringList{u"iAllNews"_s});
        QVERIFY(!tabs.select(u"iAll"_s)); // already current: nothing
        QVERIFY(!tabs.select(u"iNowhere"_s));
        QCOMPARE(tabs.current(), u"iAll"_s);
        auto calendar = tabs.select(u"iFXCalendar"_s);
        QVERIFY(calendar);
        QCOMPARE(calendar->oldTab, u"iAll"_s);
        QCOMPARE(calendar->hide, QStringList{u"iAllNews"_s});
        QCOMPARE(calendar->leftSitePage, u"All.htm"_s);
        QCOMPARE(calendar->show, (QStringList{u"iCalendar"_s, u"iCalHead"_s}));
        auto source = tabs.select(u"iDailyfx"_s);
        QVERIFY(source);
        QCOMPARE(source->hide, (QStringList{u"iCalendar"_s, u"iCalHead"_s}));
        QCOMPARE(source->leftSitePage, u"Calendar.htm"_s);
        QCOMPARE(source->show, QStringList{u"iDailyFXNews"_s});
        QCOMPARE(tabs.current(), u"iDailyfx"_s);
    }

    void tabsAreFoundByAnchor()
    {
        const TabStrip tabs = strip();
        QCOMPARE(tabs.tabs().size(), 3);
        QCOMPARE(tabs.tab(u"iDailyfx"_s)->sitePage, u"Dailyfx.htm"_s);
        QVERIFY(!tabs.tab(u"idailyfx"_s)); // ids are exact
    }
};

QTEST_GUILESS_MAIN(tst_TabStrip)
#include "tst_TabStrip.moc"
