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
    void eachDueTaskRunsItsOwnJob()
    {
        FakeClock clock;
        FetchScheduler scheduler(clock);
        QStringList started;
        FetchSchedule &schedule = scheduler.schedule();
        const auto record = [&started](const QString &key, const QDateTime &) { started << key; };
        tavrin &news = schedule.add(u"100"_s);
        schedule.setJob(u"100"_s, record);
        news.Enabled = true;
        news.Interval = 2;
        tavrin &day = schedule.add(u"Calendar1"_s);
        schedule.setJob(u"Calendar1"_s, [&started, &schedule](const QString &key, const QDateTime &) {
            started << key + u' ' + schedule.task(key).Link;
        });
        day.Enabled = true;
        day.Interval = 60;
        day.TimeCount = 60;
        day.Link = u"http://127.0.0.1/indexs/ecalendar.asp?date=2026-12-7"_s;
        schedule.add(u"Calendar2"_s); // not enabled: never starts
        tavrin &orphan = schedule.add(u"side"_s); // due, but nobody registered a job
        orphan.Enabled = true;
        orphan.Interval = 1;
        QSignalSpy ticked(&scheduler, &FetchScheduler::ticked);

        scheduler.tick();
        QCOMPARE(started, QStringList{u"Calendar1 http://127.0.0.1/indexs/ecalendar.asp?date=2026-12-7"_s});
        QVERIFY(!schedule.task(u"side"_s).Working); // a task without a job is never left working
        scheduler.tick();
        QCOMPARE(started.last(), u"100"_s);
        QCOMPARE(ticked.size(), 2);
        // Working tasks wait for their completion, whatever their count.
        started.clear();
        for (int i = 0; i < 100; ++i)
            scheduler.tick();
        QVERIFY(started.isEmpty());
        schedule.find(u"Calendar1"_s)->Working = false;
        for (int i = 0; i < 60; ++i)
            scheduler.tick();
        QCOMPARE(started.size(), 1);
        // A look-up never makes a task; a removed task and its job are gone.
        QVERIFY(!schedule.find(u"CalendarDataUpdate"_s));
        QVERIFY(!std::as_const(schedule).task(u"CalendarDataUpdate"_s).Enabled);
        schedule.remove(u"100"_s);
        QCOMPARE(schedule.keys(), (QStringList{u"Calendar1"_s, u"Calendar2"_s, u"side"_s}));
        QVERIFY(!schedule.job(u"100"_s));
    }
};

QTEST_GUILESS_MAIN(tst_FetchScheduler)
#include "tst_FetchScheduler.moc"
