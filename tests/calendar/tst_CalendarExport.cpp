#include "calendar/CalendarExport.h"
#include "calendar/CalendarWeekStore.h"
#include "core/cls_Config.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QTest>
#include <QTimeZone>

#include <libical/ical.h>

using namespace Qt::StringLiterals;

// The stored week as an iCalendar file, read back with libical: every field,
// escaping of the site's text, alarms only for the items to be reminded of,
// and Beijing times in UTC across midnight.
class tst_CalendarExport : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    QByteArray m_file; // the latest export as written

    struct Event
    {
        QString uid, start, summary, description, categories, trigger;
        int durationSeconds = -1;
        int alarms = 0;
        bool allDay = false;
    };

    QList<Event> exported(const QByteArray &week, int lead)
    {
        cls_Config config(&m_sink);
        config.setXmlFile(m_folder.writeFile(u"tavrin.xml"_s, "<App>" + week + "</App>"));
        if (!config.Initialize())
            return {};
        const QByteArray file = m_file = CalendarExport::write(CalendarWeekStore(config), lead, QDateTime(QDate(2026, 12, 8), QTime(1, 0), QTimeZone::utc()));
        if (file.isEmpty())
            return {};
        icalcomponent *calendar = icalparser_parse_string(file.constData());
        if (!calendar)
            return {};
        QList<Event> events;
        for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            Event event;
            event.uid = QString::fromUtf8(icalcomponent_get_uid(c));
            const icaltimetype start = icalcomponent_get_dtstart(c);
            event.allDay = start.is_date;
            event.start = QString::fromUtf8(icaltime_as_ical_string(start));
            event.summary = QString::fromUtf8(icalcomponent_get_summary(c));
            event.description = QString::fromUtf8(icalcomponent_get_description(c));
            if (icalproperty *categories = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY))
                event.categories = QString::fromUtf8(icalproperty_get_categories(categories));
            if (icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY))
                event.durationSeconds = icaldurationtype_as_int(icalcomponent_get_duration(c));
            for (icalcomponent *a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); a;
                 a = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
                ++event.alarms;
                const icaltriggertype trigger = icalproperty_get_trigger(icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY));
                event.trigger = QString::fromUtf8(icaldurationtype_as_ical_string(trigger.duration));
                if (icalproperty_get_action(icalcomponent_get_first_property(a, ICAL_ACTION_PROPERTY)) != ICAL_ACTION_DISPLAY)
                    event.trigger += u" (not DISPLAY)"_s;
            }
            events << event;
        }
        icalcomponent_free(calendar);
        return events;
    }

private Q_SLOTS:
    void theStoredWeekReadsBackFieldByField()
    {
        const QByteArray week =
            "<FXCalendar DateFrom=\"2026-12-7\">"
            "<Week1 Event=\"\"><Item Time=\"00:30\" Notify=\"1\" BeforeValue=\"0.2%\" PredictValue=\"0.3%\" Result=\"0.5%\""
            " Importance=\"高\">美国GDP, 年率; 修正&#10;第二行</Item></Week1>"
            "<Week2 Event=\"\"><Item Time=\"10:00\" Notify=\"0\" BeforeValue=\"\" PredictValue=\"\" Result=\"?\""
            " Importance=\"低\">欧元区CPI</Item></Week2>"
            "<Week3 Event=\"\"><Item Time=\"21:30\" Notify=\"2\" BeforeValue=\"15万\" PredictValue=\"\" Result=\"\""
            " Importance=\"中\">非农就业</Item>"
            "<Item Time=\"待定\" Notify=\"1\" Importance=\"\">央行讲话</Item></Week3>"
            "<Week4 Event=\"\"/><Week5 Event=\"\"/></FXCalendar>";
        const QList<Event> events = exported(week, 10);
        QCOMPARE(events.size(), 4);

        const Event &gdp = events.at(0);
        QCOMPARE(gdp.start, u"20261206T163000Z"_s); // Monday 00:30 in Beijing is Sunday in UTC
        QCOMPARE(gdp.durationSeconds, CalendarExport::DurationMinutes * 60);
        QCOMPARE(gdp.summary, u"美国GDP, 年率; 修正\n第二行"_s);
        QVERIFY2(m_file.contains("\r\nSUMMARY:" + u"美国GDP\\, 年率\\; 修正\\n第二行"_s.toUtf8() + "\r\n"), m_file.constData());
        QCOMPARE(gdp.description, u"前值: 0.2%\n市场预测: 0.3%\n结果: 0.5%"_s);
        QCOMPARE(gdp.categories, u"高"_s);
        QCOMPARE(gdp.alarms, 1);
        QCOMPARE(gdp.trigger, u"-PT10M"_s);

        const Event &cpi = events.at(1);
        QCOMPARE(cpi.start, u"20261208T020000Z"_s);
        QCOMPARE(cpi.description, QString()); // a result still awaited is none
        QCOMPARE(cpi.alarms, 0);

        const Event &payrolls = events.at(2);
        QCOMPARE(payrolls.start, u"20261209T133000Z"_s);
        QCOMPARE(payrolls.alarms, 1); // reminded already: still a reminder in the user's calendar
        QCOMPARE(payrolls.categories, u"中"_s);

        const Event &speech = events.at(3);
        QVERIFY(speech.allDay);
        QCOMPARE(speech.start, u"20261209"_s);
        QCOMPARE(speech.alarms, 0);
        QCOMPARE(speech.durationSeconds, -1);

        // The same items keep their UIDs; no two items share one.
        QStringList uids;
        for (const Event &event : events)
            uids << event.uid;
        QCOMPARE(QSet<QString>(uids.begin(), uids.end()).size(), 4);
        const QList<Event> again = exported(week, 5);
        for (qsizetype i = 0; i < events.size(); ++i)
            QCOMPARE(again.at(i).uid, events.at(i).uid);
        QCOMPARE(again.at(0).trigger, u"-PT5M"_s);
    }

    void noStoredWeekIsNoFile()
    {
        QVERIFY(exported("<FXCalendar DateFrom=\"\"><Week1 Event=\"\"/></FXCalendar>", 5).isEmpty());
        QVERIFY(exported("<FXCalendar DateFrom=\"2026-12-7\"><Week1 Event=\"\"/></FXCalendar>", 5).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_CalendarExport)
#include "tst_CalendarExport.moc"
