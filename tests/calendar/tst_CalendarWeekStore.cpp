#include "calendar/CalendarWeekStore.h"
#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The stored week inside a real configuration file.
class tst_CalendarWeekStore : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;

    std::unique_ptr<cls_Config> load(const QByteArray &content)
    {
        m_sink.clear();
        auto config = std::make_unique<cls_Config>(&m_sink);
        config->setXmlFile(m_folder.writeFile(QStringLiteral("tavrin.xml"), content));
        if (!config->Initialize())
            qWarning() << "initialize failed:" << m_sink.texts();
        return config;
    }

private Q_SLOTS:
    void weekListAndCalendarItems()
    {
        auto config = load("<App><FXCalendar DateFrom=\"2026-3-2\"><Week1/><Week2/><Week3/><Week4/><Week5/></FXCalendar></App>");
        CalendarWeekStore week(*config);
        QVERIFY(week.items(2).isEmpty());
        QVERIFY(week.AddFXCalendar(2, QStringLiteral("20:30"), QStringLiteral("美国CPI"), QStringLiteral("0.2%"),
                                     QStringLiteral("0.3%"), QString(), QStringLiteral("高"), QString(), QStringLiteral("1")));
        QVERIFY(week.AddFXCalendar(2, QStringLiteral("22:00"), QStringLiteral("美联储讲话"), QString(), QString(),
                                     QString(), QStringLiteral("中"), QString(), QStringLiteral("0")));
        const QList<CalendarWeekStore::Item> items = week.items(2);
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.front().info, QStringLiteral("美国CPI"));
        QCOMPARE(items.front().result, QString());
        QCOMPARE(items.back().notify, QStringLiteral("0"));
        // Stored with every attribute, in the file's order.
        const pugi::xml_node first = config->node(ConfigPaths::calendarDay(2)).first_child();
        QStringList names;
        for (const pugi::xml_attribute &a : first.attributes())
            names << QString::fromUtf8(a.name());
        QCOMPARE(names, (QStringList{u"Time"_s, u"Notify"_s, u"BeforeValue"_s, u"PredictValue"_s, u"Result"_s, u"Importance"_s, u"Comment"_s}));

        config->CreateAttrib(QStringLiteral("FXCalendar/Week2"), QStringLiteral("Event"), QStringLiteral("20:30#美国CPI|"));
        week.RemoveWeekFXCalendar(2);
        QVERIFY(week.items(2).isEmpty());
        QCOMPARE(config->GetNodeAttrib(QStringLiteral("FXCalendar/Week2"), QStringLiteral("Event")), QStringLiteral("20:30#美国CPI|"));

        QVERIFY(week.AddFXCalendar(5, QStringLiteral("09:00"), QStringLiteral("x"), {}, {}, {}, {}, {}));
        week.RemoveAllFXCalendar();
        for (int day = 1; day <= 5; ++day)
            QVERIFY(week.items(day).isEmpty());
        QVERIFY(week.AddFXCalendar(5, QStringLiteral("09:00"), QStringLiteral("y"), {}, {}, {}, {}, {}));
        QVERIFY(m_sink.messages().isEmpty());
    }

    void calendarFailuresShowTheirBoxes()
    {
        auto config = load("<App><FXCalendar><Week1/></FXCalendar></App>");
        CalendarWeekStore week(*config);
        QVERIFY(!week.AddFXCalendar(4, {}, {}, {}, {}, {}, {}, {}));
        QCOMPARE(m_sink.messages().size(), 1);
        QCOMPARE(m_sink.messages().front().caption, QStringLiteral("FXCalendar"));
        week.RemoveWeekFXCalendar(4); // silently nothing
        QCOMPARE(m_sink.messages().size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_CalendarWeekStore)
#include "tst_CalendarWeekStore.moc"
