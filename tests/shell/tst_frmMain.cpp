#include "core/AppGlobals.h"
#include "core/cRegistry.h"
#include "core/gui/Desktop.h"
#include "core/gui/FullScreenWatch.h"
#include "core/gui/cls_PopupMenu.h"
#include "news/NewsPanel.h"
#include "news/WorkerRuntime.h"
#include "notify/PopupNotifier.h"
#include "notify/frmPopUp.h"
#include "shell/frmMain.h"
#include "shell/frmSysTray.h"
#include "shell/frmTavrin.h"
#include "support/BrowserStandIn.h"
#include "support/FakeClock.h"
#include "support/PageScript.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"
#include "support/TrayBalloons.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The controller with the tray (trayer), the main window and the popup.
class tst_frmMain : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    FakeClock m_clock;
    BrowserStandIn m_links;
    std::unique_ptr<frmMain> m_controller;

    QAction *menuItem(const QString &key)
    {
        for (QAction *action : m_controller->tray()->menu().actions()) {
            if (action->data().toString() == key)
                return action;
        }
        return nullptr;
    }

    static QVariant runIn(QWebEngineView *view, const QString &script) { return PageScript::run(view, script); }

    // The texts of the popup's rows in the page, top first, blank rows left out.
    // News items as the notifier gets them: one line each, newest first.
    static Notification items(const QString &icon, const QList<Notification::Line> &lines, bool untilClosed = false)
    {
        Notification notification;
        notification.icon = icon;
        notification.lines = lines;
        notification.untilClosed = untilClosed;
        return notification;
    }
    void notify(const Notification &notification) { m_controller->notifier().notify(notification); }

    static QStringList popupTexts(frmPopUp *popup)
    {
        return PageScript::rowTexts(popup->findChild<QWebEngineView *>(), u"popupWin_Table"_s);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server and tray that `make test` starts");
        cRegistry::setLocations(m_folder.filePath(u"user"_s), m_folder.filePath(u"machine"_s), m_folder.filePath(u"autostart"_s));
        Globals().AppPath = m_folder.path() + u'/';
        m_folder.writeFile(u"liveupdate"_s, "stale updater");
        Globals().Config.setMessageSink(&m_sink);
        Globals().Config.setXmlFile(m_folder.copyLocalConfig());
        QVERIFY(Globals().Config.Initialize());
        WorkerRuntime::instance().setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
        m_controller = std::make_unique<frmMain>(m_clock);
        QSignalSpy loaded(m_controller.get(), &frmMain::loaded);
        m_controller->Load();
        QVERIFY(!m_controller->mainWindow()->isVisible()); // nothing waits for the page
        QVERIFY(loaded.wait(30000));
    }

    void cleanupTestCase()
    {
        cRegistry::resetLocations();
    }

    void startsWithTrayAndMainWindow()
    {
        QCOMPARE(m_controller->windowTitle(), u"[Tavrin_Class]"_s);
        QTRY_VERIFY(m_controller->tray()->isShown()); // the tray embeds the icon in its own time
        QCOMPARE(m_controller->tray()->icon().toolTip(), u"Tessaly"_s);
        QVERIFY(m_controller->mainWindow()->isVisible());
        QVERIFY(!m_controller->mainWindow()->Busy());
        QVERIFY(!QFile::exists(m_folder.filePath(u"liveupdate"_s)));
        cRegistry connections;
        connections.setSectionKey(u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"_s);
        connections.setValueKey(u"MaxConnectionsPerServer"_s);
        QCOMPARE(connections.Value().toInt(), 10);
        cRegistry path;
        path.setClassKey(cRegistry::HKEY_LOCAL_MACHINE);
        path.setSectionKey(u"Software\\Tavrin\\"_s);
        path.setValueKey(u"Path"_s);
        QCOMPARE(path.Value().toString(), QApplication::applicationFilePath());
        QVERIFY(m_sink.messages().isEmpty());
    }

    void trayMenu()
    {
        QMenu &menu = m_controller->tray()->menu();
        QStringList captions;
        for (QAction *action : menu.actions())
            captions << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(captions, (QStringList{u"资讯窗口"_s, u"配置(&S)"_s, u"关于(&A)"_s, u"-"_s, u"退出(&X)"_s}));
        QCOMPARE(menu.defaultAction()->data().toString(), u"Main"_s);

        // A right click shows it; Escape closes it without a command.
        QSignalSpy clicks(m_controller->tray(), &frmSysTray::MenuClick);
        m_controller->m_frmSysTray_SysTrayMouseDown(2);
        QTRY_VERIFY(menu.isVisible());
        QTest::keyClick(&menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu.isVisible());
        QVERIFY(clicks.isEmpty());

        // "资讯窗口" brings the hidden main window back.
        m_controller->mainWindow()->close();
        QVERIFY(!m_controller->mainWindow()->isVisible());
        menuItem(u"Main"_s)->trigger();
        QCOMPARE(clicks.takeFirst().at(0).toString(), u"Main"_s);
        QVERIFY(m_controller->mainWindow()->isVisible());
        // A left click on the icon shows it too.
        m_controller->mainWindow()->hide();
        m_controller->m_frmSysTray_SysTrayMouseDown(1);
        QVERIFY(m_controller->mainWindow()->isVisible());
    }

    void balloonsCloseAfterTheirTime()
    {
        // Text from outside shows as it is, markup and all.
        m_controller->tray()->ShowBalloonTip(u"<b>结果:</b> 1 < 2 & 3"_s, u"<i>财经数据</i>"_s, 1, 700);
        QTRY_VERIFY(TrayBalloons::visible());
        const QStringList shown = TrayBalloons::shownTexts();
        QVERIFY2(shown.contains(u"<b>结果:</b> 1 < 2 & 3"_s), qPrintable(shown.join(u'|')));
        QVERIFY2(shown.contains(u"<i>财经数据</i>"_s), qPrintable(shown.join(u'|')));
        QTRY_VERIFY_WITH_TIMEOUT(!TrayBalloons::visible(), 5000);
    }

    void popupsSlideIntoTheCornerAndStack()
    {
        // Nothing in the first ten seconds.
        notify(items(u"FX168.gif"_s, {{{}, u"早"_s, {}, {}}}));
        QVERIFY(!m_controller->popupWindow());
        m_clock.advance(11000);

        const Notification::Line first{u"10:00"_s, u"美元走强"_s, {}, {}};
        notify(items(u"FX678.gif"_s, {first}));
        frmPopUp *popup = m_controller->popupWindow();
        QVERIFY(popup);
        QVERIFY(popup->isOpen());
        QRect area;
        QVERIFY(Desktop::GetWorkArea(area));
        QTRY_COMPARE_WITH_TIMEOUT(popup->PopUpStatus(), 1, 5000);
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->geometry().bottomRight(), area.bottomRight());
        QCOMPARE(popup->windowOpacity(), 1.0);
        QCOMPARE(popup->ShowDelay(), 10000); // Duration 10 s of the configuration

        // A second item goes on top; the display time is not restarted.
        const Notification::Line second{u"10:01"_s, u"欧元走弱"_s, {}, u"https://news.example/b"_s};
        notify(items(u"FX678.gif"_s, {second}));
        QCOMPARE(popup->rowCount(), 3); // with the page's own empty row
        QCOMPARE(popup->PopUpStatus(), 1);

        // The rows in the page: newest on top, each item once.
        QTRY_COMPARE(popupTexts(popup), (QStringList{u"10:01 欧元走弱"_s, u"10:00 美元走强"_s}));
        // The same items again, with one more: only the new one is added.
        const Notification::Line third{u"10:02"_s, u"日元持稳"_s, {}, {}};
        notify(items(u"FX678.gif"_s, {third, second, first}));
        QTRY_COMPARE(popupTexts(popup), (QStringList{u"10:02 日元持稳"_s, u"10:01 欧元走弱"_s, u"10:00 美元走强"_s}));

        // A script's click on the linked item (the old fireEvent call) opens nothing; a person's opens the link.
        auto *view = popup->findChild<QWebEngineView *>();
        runIn(view, u"document.querySelectorAll('#popupWin_Table span')[1].click(); 1"_s);
        QTest::qWait(300);
        QVERIFY(m_links.opened.isEmpty());
        const QVariantList box = runIn(view, u"var r = document.querySelectorAll('#popupWin_Table span')[1].getBoundingClientRect();"
                                             "[r.left + 5, r.top + r.height / 2]"_s).toList();
        const QPoint at(box.value(0).toInt(), box.value(1).toInt());
        QTest::mousePress(view->focusProxy(), Qt::LeftButton, {}, at);
        QTest::qWait(30);
        QTest::mouseRelease(view->focusProxy(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(m_links.opened, QList<QUrl>{QUrl(u"https://news.example/b"_s)});
        QVERIFY(popup->isVisible()); // more than one row: it stays

        popup->CloseFrm();
        QVERIFY(!popup->isVisible());
        QVERIFY(!popup->isOpen());
        QCOMPARE(popup->rowCount(), 0);
    }

    void aTimedPopupFadesOut()
    {
        QVERIFY(Globals().Config.SetNodeAttrib(u"Settings/Tavrin/Popup"_s, u"Duration"_s, u"1"_s));
        notify(items(u"hexun.gif"_s, {{u"11:00"_s, u"提醒"_s, {}, {}}}));
        QVERIFY(Globals().Config.SetNodeAttrib(u"Settings/Tavrin/Popup"_s, u"Duration"_s, u"10"_s));
        const QPointer<frmPopUp> popup = m_controller->popupWindow();
        QVERIFY(popup);
        QCOMPARE(popup->ShowDelay(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(popup->PopUpStatus(), 2, 5000);
        // Once closed, the popup and its page are let go of.
        QTRY_VERIFY_WITH_TIMEOUT(!popup, 5000);
        QVERIFY(!m_controller->popupWindow());
    }

    void rightClickAndMoreClose()
    {
        notify(items(u"FX168.gif"_s, {{u"12:00"_s, u"右键"_s, {}, {}}}, true));
        frmPopUp *popup = m_controller->popupWindow();
        QVERIFY(popup);
        QTRY_COMPARE_WITH_TIMEOUT(popup->PopUpStatus(), 1, 5000);
        QTest::qWait(1000);
        QCOMPARE(popup->PopUpStatus(), 1); // until closed: it stays
        auto *view = popup->findChild<QWebEngineView *>();
        view->page()->runJavaScript(u"document.getElementById('popupWin_Table').dispatchEvent("
                                    "new MouseEvent('contextmenu', {bubbles: true, cancelable: true})); 1"_s);
        QTRY_VERIFY(!m_controller->popupWindow());

        QVERIFY(m_controller->mainWindow()); // gone if the program ended for want of a tray
        m_controller->mainWindow()->hide();
        notify(items(u"FX168.gif"_s, {{u"12:01"_s, u"更多"_s, {}, {}}}, true));
        popup = m_controller->popupWindow();
        QVERIFY(popup);
        QTRY_COMPARE_WITH_TIMEOUT(popup->PopUpStatus(), 1, 5000);
        popup->findChild<QWebEngineView *>()->page()->runJavaScript(u"document.getElementById('popupWin_LinkMore').click(); 1"_s);
        QTRY_VERIFY(!m_controller->popupWindow());
        QVERIFY(m_controller->mainWindow()->isVisible());
    }

    void popupMenuAnswersTheChosenCommand()
    {
        cls_PopupMenu menu;
        menu.AddMenuItem(u"FXARK现场直播"_s, cls_PopupMenu::MF_CHECKED, 100);
        menu.AddMenuItem(u"FX168汇市讯息"_s, cls_PopupMenu::MF_STRING, 101);
        // It answers later, from the event loop: the call returns at once.
        QList<int> answers;
        menu.PopupMenu([&answers](int chosen) { answers << chosen; });
        QVERIFY(answers.isEmpty());
        QTRY_VERIFY(menu.menu()->isVisible());
        QTest::keyClick(menu.menu(), Qt::Key_Escape);
        QTRY_COMPARE(answers, QList<int>{0});
        menu.PopupMenu([&answers](int chosen) { answers << chosen; }, 100, 100);
        QTRY_VERIFY(menu.menu()->isVisible());
        QTest::keyClick(menu.menu(), Qt::Key_Down);
        QTest::keyClick(menu.menu(), Qt::Key_Down);
        QTest::keyClick(menu.menu(), Qt::Key_Return);
        QTRY_COMPARE(answers, (QList<int>{0, 101}));
        QVERIFY(menu.menu()->actions().front()->isChecked());
    }

    void elevenItemsKeepTen()
    {
        QList<Notification::Line> lines;
        for (int i = 0; i < 11; ++i)
            lines.append({u"12:%1"_s.arg(i), u"条目%1"_s.arg(i), {}, {}});
        notify(items(u"FX168.gif"_s, lines));
        QCOMPARE(m_controller->popupWindow()->rowCount(), frmPopUp::MaxRows);
        QTRY_COMPARE(popupTexts(m_controller->popupWindow()).size(), frmPopUp::MaxRows);
        const QStringList texts = popupTexts(m_controller->popupWindow());
        QCOMPARE(texts.front(), u"12:0 条目0"_s); // the newest on top
        QCOMPARE(texts.back(), u"12:9 条目9"_s);  // the oldest went
        m_controller->popupWindow()->CloseFrm();
    }

    void noPopupSlidesOverAFullScreenWindow()
    {
        QWidget film;
        film.showFullScreen();
        // Asked again until the window manager has made it the active one: a
        // window of an earlier test may still take the focus on its way.
        QTRY_VERIFY_WITH_TIMEOUT((film.activateWindow(), FullScreenWatch::active()), 20000);
        notify(items(u"FX168.gif"_s, {{u"13:00"_s, u"看电影时到来"_s, {}, {}}}));
        QTest::qWait(PopupNotifier::FullScreenCheckMs + 500);
        QVERIFY(!m_controller->popupWindow());
        film.close();
        QTRY_VERIFY_WITH_TIMEOUT(m_controller->popupWindow() && m_controller->popupWindow()->isOpen(), PopupNotifier::FullScreenCheckMs * 3);
        QTRY_COMPARE(popupTexts(m_controller->popupWindow()), QStringList{u"13:00 看电影时到来"_s});
        m_controller->popupWindow()->CloseFrm();
    }

    void theSourceMenuTogglesOneOfFive()
    {
        frmTavrin *window = m_controller->mainWindow();
        window->show();
        QStringList titles;
        QTimer::singleShot(500, this, [&titles] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *action : menu->actions())
                titles << action->text() + (action->isChecked() ? u" ✓"_s : QString());
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Down); // FX168汇市讯息
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QVERIFY(window->news().news().task(101).Enabled);
        window->news().iMore();
        QTRY_COMPARE(titles, (QStringList{u"FXARK现场直播 ✓"_s, u"FX168汇市讯息 ✓"_s, u"汇通网外汇新闻 ✓"_s,
                                      u"DailyFX财经市况 ✓"_s, u"和讯网外汇分析 ✓"_s}));
        QCOMPARE(Globals().Config.GetNodeAttrib(u"Settings/Tavrin/Source/FX168"_s, u"Checked"_s), u"0"_s);
        QVERIFY(!window->news().news().task(101).Enabled);
        QVERIFY(window->news().news().task(100).Enabled);
    }

    void exitSavesAndEndsEverything()
    {
        QSignalSpy exited(m_controller.get(), &frmMain::exited);
        m_controller->mainWindow()->setGeometry(210, 90, 930, 690);
        menuItem(u"Exit"_s)->trigger();
        QCOMPARE(exited.size(), 1);
        QVERIFY(!m_controller->mainWindow());
        QVERIFY(!m_controller->tray());
        QVERIFY(!m_controller->popupWindow());
        const QByteArray saved = m_folder.readFile(u"tavrin.xml"_s);
        QVERIFY(saved.contains("Left=\"210\""));
        QVERIFY(saved.contains("Width=\"930\""));
        cRegistry time;
        time.setClassKey(cRegistry::HKEY_LOCAL_MACHINE);
        time.setSectionKey(u"Software\\Tavrin\\"_s);
        time.setValueKey(u"Time"_s);
        QVERIFY(time.Value().toInt() >= 11);
    }

    // Without a tray, closing the main window from its page ends the program
    // once the page's call has returned; whether there is a tray is asked then.
    void withoutATrayClosingTheWindowEndsTheProgram()
    {
        frmMain controller(m_clock);
        QSignalSpy loaded(&controller, &frmMain::loaded);
        controller.Load();
        QVERIFY(loaded.wait(30000));
        QSignalSpy exited(&controller, &frmMain::exited);
        controller.mainWindow()->setTrayCheck([] { return false; });
        runIn(controller.mainWindow()->page().view(), u"document.getElementById('btn_Close').click(); 1"_s);
        QTRY_COMPARE(exited.size(), 1);
        QVERIFY(!controller.mainWindow());
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
