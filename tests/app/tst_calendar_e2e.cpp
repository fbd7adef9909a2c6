#include "calendar/CalendarBook.h"
#include "calendar/CalendarPanel.h"
#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/cRegistry.h"
#include "news/WorkerRuntime.h"
#include "notify/frmPopUp.h"
#include "shell/PageTabs.h"
#include "shell/frmMain.h"
#include "shell/frmTavrin.h"
#include "support/PageScript.h"
#include "support/RecordingMessageSink.h"
#include "support/SiteSimulator.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The calendar of the real program against the site simulator, on the wall
// clock: today's events with their controls, a choice kept across a restart,
// a reminder a minute before its event and the event's result after it.
class tst_calendar_e2e : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    SiteSimulator m_sim;
    std::unique_ptr<frmMain> m_controller;
    std::unique_ptr<QSignalSpy> m_balloons;
    bool m_weekday = false;

    QString run(QWebEngineView *view, const QString &script) { return PageScript::run(view, script).toString(); }
    QString page(const QString &script) { return run(m_controller->mainWindow()->page().view(), script); }

    void start()
    {
        m_controller = std::make_unique<frmMain>(Clock::system());
        QSignalSpy loaded(m_controller.get(), &frmMain::loaded);
        m_controller->Load();
        QVERIFY(loaded.wait(30000));
        m_balloons = std::make_unique<QSignalSpy>(&m_controller->mainWindow()->calendar(), &CalendarPanel::balloonRequested);
        m_controller->mainWindow()->tabs().SelectTab(u"iFXCalendar"_s);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server and tray that `make test` starts");
        QVERIFY(m_sim.start());
        const QString base = m_sim.base();
        cRegistry::setLocations(m_folder.filePath(u"user"_s), m_folder.filePath(u"machine"_s), m_folder.filePath(u"autostart"_s));
        Globals().AppPath = m_folder.path() + u'/';
        cls_Config &config = Globals().Config;
        config.setMessageSink(&m_sink);
        config.setXmlFile(m_folder.copyLocalConfig(base));
        QVERIFY(config.Initialize());
        QVERIFY(config.SetNodeAttrib(u"Settings/Tavrin/FXCalendar"_s, u"NotifyTime"_s, u"1"_s));
        WorkerRuntime::instance().setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
        const int today = CalendarBook::weekdayIndex(CalendarBook::calendarTime(QDateTime::currentDateTime()).date());
        m_weekday = today >= 1 && today <= 5;
        start();
    }

    void cleanupTestCase()
    {
        m_controller.reset();
        cRegistry::resetLocations();
    }

    void todaysEventsShowWithTheirControls()
    {
        if (!m_weekday)
            QSKIP("today is a weekend day in Beijing: no day of the week is shown");
        QTRY_VERIFY_WITH_TIMEOUT(m_controller->mainWindow()->calendar().book().CalendarReady(), 30000);
        const int today = m_controller->mainWindow()->calendar().book().ShownDay();
        QTRY_VERIFY(page(u"String(document.getElementById('iCalendar_Table').rows.length)"_s).toInt() > 5);
        QCOMPARE(page(u"document.querySelector('#iCalendar_Table legend').textContent"_s), u"财经事件"_s);
        QCOMPARE(page(u"document.getElementById('week%1').parentElement.id"_s.arg(today)), u"select"_s);
        QCOMPARE(page(u"document.querySelector('#week%1 span').className"_s.arg(today)), u"weekToday"_s);
        // The demo's events a few minutes ahead can be ticked; they start ticked.
        QCOMPARE(page(u"String(document.querySelectorAll('#iTBody input[type=checkbox]:checked:not([disabled])').length > 0)"_s),
                 u"true"_s);
    }

    void anUntickedEventStaysUntickedAfterARestart()
    {
        if (!m_weekday)
            QSKIP("today is a weekend day in Beijing");
        const QString last = page(u"var boxes = document.querySelectorAll('#iTBody input[type=checkbox]:not([disabled])');"
                                  "var box = boxes[boxes.length - 1]; box.click(); box.id"_s);
        QVERIFY(last.startsWith(u"w_"_s));
        const int day = last.mid(2, 1).toInt();
        const int item = last.mid(7).toInt();
        CalendarWeekStore &store = m_controller->mainWindow()->calendar().book().store();
        QTRY_COMPARE(store.items(day).at(item - 1).notify, u"0"_s);
        // Saved at exit, read again from the file at the next start.
        m_controller->ExitApp();
        m_controller.reset();
        QVERIFY(Globals().Config.Initialize());
        start();
        QTRY_VERIFY_WITH_TIMEOUT(page(u"String(!!document.getElementById('%1'))"_s.arg(last)) == u"true"_s, 30000);
        QCOMPARE(page(u"String(document.getElementById('%1').checked)"_s.arg(last)), u"false"_s);
    }

    // The demo's events two minutes after the simulator started, NotifyTime 1.
    void aReminderComesAMinuteBeforeAndTheResultAfter()
    {
        if (!m_weekday)
            QSKIP("today is a weekend day in Beijing");
        // An event of the simulated day may come due first, whatever the time of day: wait for the demo's.
        const auto popupText = [this] {
            const auto *popup = m_controller->popupWindow();
            auto *view = popup && popup->isVisible() ? popup->findChild<QWebEngineView *>() : nullptr;
            return view ? run(view, u"document.getElementById('popupWin_Table').textContent"_s) : QString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(popupText().contains(u"演示事件1"_s), 150000);
        QVERIFY(popupText().contains(u"财经事件提醒"_s));
        QTRY_VERIFY_WITH_TIMEOUT(
            [this] {
                for (const QList<QVariant> &balloon : std::as_const(*m_balloons)) {
                    if (balloon.at(1).toString().startsWith(u"财经数据 "_s))
                        return true;
                }
                return false;
            }(),
            180000);
        QTRY_VERIFY(page(u"document.getElementById('iCalendar_Table').textContent"_s).contains(u"结果: "_s));
        QVERIFY(m_sink.messages().isEmpty());
    }
};

QTEST_MAIN(tst_calendar_e2e)
#include "tst_calendar_e2e.moc"
