#include "core/FetchScheduler.h"
#include "support/FakeClock.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// One schedule for the news and the calendar.
class tst_FetchScheduler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numericKeysFetchSourcesOtherKeysDownload()
    {
        FakeClock clock;
        FetchScheduler scheduler(clock);
        QStringList started;
        scheduler.onSourceFetch([&started](int id, const QDateTime &) { started << u"fetch %1"_s.arg(id); });
        scheduler.onDownload([&started](const QString &key, const QString &link) { started << u"download "_s + key + u' ' + link; });
        FetchSchedule &schedule = scheduler.schedule();
        tavrin &news = schedule.add(u"100"_s);
        news.Enabled = true;
        news.Interval = 2;
        tavrin &day = schedule.add(u"Calendar1"_s);
        day.Enabled = true;
        day.Interval = 60;
        day.TimeCount = 60;
        day.Link = u"http://127.0.0.1/indexs/ecalendar.asp?date=2026-12-7"_s;
        schedule.add(u"Calendar2"_s); // not enabled: never starts
        QSignalSpy ticked(&scheduler, &FetchScheduler::ticked);

        scheduler.tick();
        QCOMPARE(started, QStringList{u"download Calendar1 http://127.0.0.1/indexs/ecalendar.asp?date=2026-12-7"_s});
        scheduler.tick();
        QCOMPARE(started.last(), u"fetch 100"_s);
        QCOMPARE(ticked.size(), 2);
        // Working tasks wait for their completion, whatever their count.
        started.clear();
        for (int i = 0; i < 100; ++i)
            scheduler.tick();
        QVERIFY(started.isEmpty());
        schedule.task(u"Calendar1"_s).Working = false;
        for (int i = 0; i < 60; ++i)
            scheduler.tick();
        QCOMPARE(started.size(), 1);
        QCOMPARE(schedule.keys(), (QStringList{u"100"_s, u"Calendar1"_s, u"Calendar2"_s}));
    }
};

QTEST_GUILESS_MAIN(tst_FetchScheduler)
#include "tst_FetchScheduler.moc"
