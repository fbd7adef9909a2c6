#include "calendar/CalendarBook.h"
#include "calendar/CalendarExport.h"
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

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include <libical/ical.h>

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
    QString m_notToday; // why the demo's events are not today's, if they are not

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
        const QDateTime beijing = CalendarBook::calendarTime(QDateTime::currentDateTime());
        const int today = CalendarBook::weekdayIndex(beijing.date());
        if (today < 1 || today > 5)
            m_notToday = u"today is a weekend day in Beijing: no day of the week is shown"_s;
        // The demo's events come up to four minutes after the start, their results half a minute later.
        else if (beijing.time() > QTime(23, 54))
            m_notToday = u"it is nearly midnight in Beijing: the demo's events fall on the next day"_s;
        start();
    }

    void cleanupTestCase()
    {
        m_controller.reset();
        cRegistry::resetLocations();
    }

    void todaysEventsShowWithTheirControls()
    {
        if (!m_notToday.isEmpty())
            QSKIP(qPrintable(m_notToday));
        QTRY_VERIFY_WITH_TIMEOUT(m_controller->mainWindow()->calendar().book().CalendarReady(), 30000);
        const int today = m_controller->mainWindow()->calendar().book().ShownDay();
        QTRY_VERIFY(page(u"String(document.getElementById('iCalendar_Table').rows.length)"_s).toInt() > 5);
        QCOMPARE(page(u"document.querySelector('#iCalendar_Table legend').textContent"_s), u"财经事件"_s);
        QCOMPARE(page(u"document.getElementById('week%1').parentElement.id"_s.arg(today)), u"select"_s);
        QCOMPARE(page(u"document.querySelector('#week%1 span').className"_s.arg(today)), u"weekToday"_s);
        // The demo's events a few minutes ahead can be ticked; they start ticked.
        QCOMPARE(page(u"String(document.querySelectorAll('#iTBody input[type=checkbox]:checked:not([disabled])').length > 0)"_s),
                 u"true"_s);

        // The header counts down to the demo's next event, second by second.
        QTRY_VERIFY(page(u"document.getElementById('iCountdownLeft').textContent"_s).startsWith(u"还有 "_s));
        const QString left = page(u"document.getElementById('iCountdownLeft').textContent"_s);
        QTRY_VERIFY_WITH_TIMEOUT(page(u"document.getElementById('iCountdownLeft').textContent"_s) != left, 3000);
        QVERIFY(!page(u"document.getElementById('iCountdownText').textContent"_s).isEmpty());
        // However narrow the window, the time left shows whole; the event's text gives way.
        m_controller->mainWindow()->resize(760, 600);
        QTRY_COMPARE(page(u"(function (l, c) { return String(l.right <= c.right + 1 && l.width > 20); })"
                          "(document.getElementById('iCountdownLeft').getBoundingClientRect(),"
                          " document.getElementById('iCountdown').getBoundingClientRect())"_s),
                     u"true"_s);

        // The filter "高" hides the other rows; "全部" shows them again; the choice is kept.
        const QString shownRows = u"String(Array.prototype.filter.call(document.querySelectorAll('#iTBody tr'),"
                                  " r => getComputedStyle(r).display !== 'none').length)"_s;
        const int all = page(shownRows).toInt();
        const int high = page(u"String(document.querySelectorAll('#iTBody font.importance.high').length)"_s).toInt();
        QVERIFY(high < all - 1);
        page(u"document.getElementById('imp2').click(); true"_s);
        QTRY_COMPARE(page(shownRows).toInt(), high + 1); // and the event list's row
        QCOMPARE(page(u"document.getElementById('imp2').className"_s), u"on"_s);
        QCOMPARE(Globals().Config.GetNodeAttrib(u"Settings/Tavrin/FXCalendar"_s, u"MinImportance"_s), u"2"_s);
        page(u"document.getElementById('imp0').click(); true"_s);
        QTRY_COMPARE(page(shownRows).toInt(), all);

        // "本周": every stored item of the week in one table, each with its day.
        CalendarBook &book = m_controller->mainWindow()->calendar().book();
        int stored = 0;
        for (int day = 1; day <= 5; ++day)
            stored += int(book.store().items(day).size());
        page(u"document.getElementById('week6').click(); true"_s);
        QTRY_COMPARE(page(u"String(document.querySelectorAll('#iTBody tr').length)"_s).toInt(), stored);
        QCOMPARE(page(u"document.querySelector('#iTBody tr td').textContent.slice(0, 2)"_s), u"周一"_s);
        page(u"document.getElementById('week%1').click(); true"_s.arg(today));
        QTRY_COMPARE(page(u"String(!!document.querySelector('#iTBody legend'))"_s), u"true"_s);

        // The menu over a row copies that row, or every row after the head, as the page shows them.
        const QString table = u"document.getElementById('iCalendar_Table')"_s;
        const QString rowText = page(table + u".rows[2].innerText"_s);
        const QString allText = page(u"Array.from(%1.rows).slice(1).map(r => r.innerText + '\\r\\n').join('')"_s.arg(table));
        QVERIFY(!rowText.isEmpty());
        for (const auto &[command, expected] : {std::pair{u"单条复制(&C)"_s, rowText}, std::pair{u"全部复制(&A)"_s, allText}}) {
            QGuiApplication::clipboard()->clear();
            page(table + u".rows[2].cells[1].dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, cancelable: true})); 1"_s);
            QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            const QList<QAction *> actions = menu->actions();
            const auto chosen = std::find_if(actions.begin(), actions.end(), [&](QAction *a) { return a->text() == command; });
            QVERIFY2(chosen != actions.end(), qPrintable(command));
            (*chosen)->trigger();
            menu->hide();
            QTRY_COMPARE(QGuiApplication::clipboard()->text(), expected);
        }

        // The week as stored exports to a file libical reads without an error.
        const QByteArray file = CalendarExport::write(book.store(), 1,
                                                      QDateTime::currentDateTimeUtc());
        icalcomponent *calendar = icalparser_parse_string(file.constData());
        QVERIFY(calendar);
        QVERIFY(icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT) > 5);
        QCOMPARE(icalcomponent_count_errors(calendar), 0);
        icalcomponent_free(calendar);
    }

    void anUntickedEventStaysUntickedAfterARestart()
    {
        if (!m_notToday.isEmpty())
            QSKIP(qPrintable(m_notToday));
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
        if (!m_notToday.isEmpty())
            QSKIP(qPrintable(m_notToday));
        // An event of the simulated day may come due first, whatever the time of day: wait for the demo's.
        const auto popupText = [this] {
            const auto *popup = m_controller->popupWindow();
            auto *view = popup && popup->isVisible() ? popup->findChild<QWebEngineView *>() : nullptr;
            return view ? run(view, u"document.getElementById('popupWin_Table').textContent"_s) : QString();
        };
        // Its row: the time it is due (Beijing time), and no result yet.
        const QString row = u"Array.from(document.querySelectorAll('#iTBody tr')).find(r => r.cells.length > 2 && r.textContent.includes('演示事件1'))"_s;
        QTRY_VERIFY_WITH_TIMEOUT(!page(row + u".cells[0].textContent"_s).isEmpty(), 30000);
        const QTime due = QTime::fromString(page(row + u".cells[0].textContent"_s).trimmed().left(5), u"HH:mm"_s);
        QVERIFY(due.isValid());
        QVERIFY(!page(row + u".textContent"_s).contains(u"结果: "_s));
        QTRY_VERIFY_WITH_TIMEOUT(popupText().contains(u"演示事件1"_s), 150000);
        QVERIFY(popupText().contains(u"财经事件提醒"_s));
        // A minute ahead, as NotifyTime says (the scan runs every few seconds).
        const QTime beijing = QDateTime::currentDateTimeUtc().addSecs(8 * 3600).time();
        const int ahead = beijing.secsTo(due);
        QVERIFY2(ahead > 0 && ahead <= 65, qPrintable(QString::number(ahead)));
        QString result;
        const auto resultBalloon = [this, &result] {
            for (const QList<QVariant> &balloon : std::as_const(*m_balloons)) {
                if (balloon.at(1).toString().startsWith(u"财经数据 "_s))
                    result = balloon.at(0).toString();
            }
            return !result.isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(resultBalloon(), 180000);
        // The simulator's figures are numbers: the balloon says how the result compares, the table marks it.
        QVERIFY2(result.contains(u"高于预期"_s) || result.contains(u"低于预期"_s) || result.contains(u"符合预期"_s),
                 qPrintable(result));
        QTRY_VERIFY_WITH_TIMEOUT(page(row + u".textContent"_s).contains(u"结果: "_s), 180000);
        QTRY_VERIFY(page(u"String(document.querySelectorAll('#iTBody nobr.result.above, #iTBody nobr.result.below,"
                         " #iTBody nobr.result.meets').length > 0)"_s)
                    == u"true"_s);
        QVERIFY(m_sink.messages().isEmpty());
    }
};

QTEST_MAIN(tst_calendar_e2e)
#include "tst_calendar_e2e.moc"
