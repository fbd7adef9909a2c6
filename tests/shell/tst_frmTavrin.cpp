#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/Notifier.h"
#include "news/NewsBoard.h"
#include "news/NewsPanel.h"
#include "news/WorkerRuntime.h"
#include "shell/PageTabs.h"
#include "side/SidePanel.h"
#include "shell/frmTavrin.h"
#include "support/BrowserStandIn.h"
#include "support/PageScript.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// The window's notifications, kept rather than shown.
class KeptNotifications : public Notifier
{
public:
    QList<Notification> kept;
    void notify(const Notification &notification) override { kept << notification; }
};

} // namespace

// The main window with its real page, under a real X server and window manager.
class tst_frmTavrin : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    BrowserStandIn m_browser;
    KeptNotifications m_notifications;
    std::unique_ptr<frmTavrin> m_window;
    std::unique_ptr<QSignalSpy> m_balloons;

    // Runs page script in the page's own world, as the page's own code would.
    QVariant page(const QString &script) { return PageScript::run(m_window->page().view(), script); }

    static QPoint xdotoolPosition()
    {
        QProcess p;
        p.start(u"xdotool"_s, {u"getmouselocation"_s});
        p.waitForFinished();
        const QList<QByteArray> parts = p.readAllStandardOutput().split(' ');
        return QPoint(parts.value(0).mid(2).toInt(), parts.value(1).mid(2).toInt());
    }
    static void xdotool(const QStringList &arguments)
    {
        QProcess::execute(u"xdotool"_s, arguments);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
        Globals().Config.setMessageSink(&m_sink);
        Globals().Config.setXmlFile(m_folder.copyLocalConfig());
        QVERIFY(Globals().Config.Initialize());
        // A damaged history beside the configuration: said once, the window goes on.
        m_folder.writeFile(u"history.db"_s, QByteArray(4096, 'x'));
        WorkerRuntime::instance().setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
        m_window = std::make_unique<frmTavrin>(Clock::system(), m_notifications);
        m_balloons = std::make_unique<QSignalSpy>(m_window.get(), &frmTavrin::balloonRequested);
        QSignalSpy ready(m_window.get(), &frmTavrin::pageReady);
        QVERIFY(m_window->Busy());
        QVERIFY(ready.wait(30000));
        QVERIFY(!m_window->Busy());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void aDamagedHistoryIsToldOnceInABalloon()
    {
        const auto told = std::count_if(m_balloons->cbegin(), m_balloons->cend(),
                                        [](const QList<QVariant> &balloon) { return balloon.at(1).toString() == u"新闻历史"_s; });
        QCOMPARE(told, 1);
        QVERIFY(!QDir(m_folder.path()).entryList({u"history.db.broken-*"_s}).isEmpty());
    }

    void showsThePageAtTheStoredPlace()
    {
        QCOMPARE(m_window->geometry(), QRect(120, 80, 920, 680));
        QCOMPARE(m_window->page().view()->url(), QUrl(u"qrc:/pages/iInfo.htm"_s));
        QCOMPARE(page(u"document.getElementById('spanIni').textContent"_s).toString(), u"正在初始化..."_s);
    }

    void everyBindingCallsItsOperation()
    {
        QSignalSpy invoked(&m_window->page(), &PageBridge::invoked);
        // Menus that an operation opens are dismissed, as a user would.
        QTimer dismiss;
        connect(&dismiss, &QTimer::timeout, this, [] {
            if (QWidget *menu = QApplication::activePopupWidget())
                menu->close();
        });
        dismiss.start(100);
        QStringList bound;
        const QList<PageBridge::Binding> bindings = m_window->bindings();
        for (const PageBridge::Binding &binding : bindings) {
            const QString type = binding.event.mid(2);
            page(u"document.getElementById('%1').dispatchEvent(new MouseEvent('%2', {bubbles: true}))"_s.arg(binding.elementId, type));
            QTRY_VERIFY2(!invoked.isEmpty(), qPrintable(binding.elementId + u' ' + binding.event));
            QCOMPARE(invoked.takeFirst().at(0).toString(), binding.operation);
            QTest::qWait(20);
            QVERIFY2(invoked.isEmpty(), qPrintable(binding.elementId + u" ran more than one operation"_s));
            bound << binding.elementId + u' ' + binding.event + u' ' + binding.operation;
        }
        bound.sort();
        QStringList expected{u"TD1 onmousedown WindowMove"_s, u"TD2 onmousedown WindowMove"_s, u"btn_Close onclick btn_Close"_s,
                             u"btn_sponsor onclick btn_sponsor"_s, u"iFXAsk onclick ClickFXAsk"_s, u"iFXCalendar onclick Calendar"_s,
                             u"SizeGrip onmousedown SizeGrip"_s, u"iAll onclick ClickAll"_s, u"iMore onclick iMore"_s,
                             u"iSearch onsearch Search"_s, u"iSearchTab onclick ClickSearch"_s, u"iSearchClose onclick CloseSearch"_s,
                             u"iTBody onclick TBodyClick"_s, u"iCalendar_Table oncontextmenu WebDoc_oncontextmenu"_s,
                             u"iStartQuote onclick iStartQuote"_s, u"iCloseQuote onclick iCloseQuote"_s,
                             u"iBarBtn onclick ShowBar"_s, u"iShowQuote onclick ShowQuote"_s,
                             u"btn_option onclick btn_option"_s, u"btn_about onclick btn_about"_s,
                             u"iFXMore onclick ClickMore"_s};
        for (int day = 1; day <= 6; ++day)
            expected << u"week%1 onclick onweek%1"_s.arg(day);
        for (int level = 0; level <= 2; ++level)
            expected << u"imp%1 onclick MinImportance"_s.arg(level);
        for (const QString &tab : {u"iFXark"_s, u"iFX168"_s, u"iDailyfx"_s, u"iCaiXun"_s, u"iFX678"_s, u"iHeXun"_s})
            expected << tab + u" onclick ClickFunc"_s << tab + u" ondblclick ClickWeb"_s;
        expected.sort();
        QCOMPARE(bound, expected);
    }

    // The quote centre's title belongs to its prices: not shown while it is stopped.
    void theQuoteTitleShowsOnlyWithThePrices()
    {
        QCOMPARE(page(u"(function (h) { return String(h.closest('#iQuote') !== null && h.offsetParent === null); })"
                      "(Array.from(document.querySelectorAll('.box.quotes h3')).find(h => h.textContent === '行情中心'))"_s)
                     .toString(),
                 u"true"_s);
    }

    void theSourcesTabsAndTablesAreBuiltInTabOrder()
    {
        QCOMPARE(page(u"Array.prototype.map.call(document.querySelectorAll('#iUL a'), function (a) { return a.id; }).join(' ')"_s)
                     .toString(),
                 u"iFXAsk iFXCalendar iAll iFXark iFX168 iDailyfx iCaiXun iFX678 iHeXun iMore iSearchTab"_s);
        QCOMPARE(page(u"document.getElementById('iCaiXun').textContent"_s).toString(), u"财讯"_s);
        QCOMPARE(page(u"document.getElementById('iHeXunNews_Table').parentElement.id"_s).toString(), u"iHeXunNews"_s);
        QCOMPARE(page(u"document.getElementById('iHeXunNews_Table_Head').cells.length"_s).toInt(), 2);
        QCOMPARE(m_window->tabs().strip().tabs().size(), 10);
    }

    void tabsSwitch()
    {
        m_window->show();
        // "精品推荐", filled as at the start, stays through switches between other tabs.
        page(u"document.getElementById('iAll').click()"_s);
        QTRY_COMPARE(m_window->tabs().currentTab(), u"iAll"_s);
        m_window->side().FxAsk(true, false);
        QTRY_VERIFY(page(u"document.getElementById('iDivFxask').innerHTML"_s).toString() != u"..."_s);
        const QVariant ask = page(u"document.getElementById('iDivFxask').innerHTML"_s);
        QVERIFY2(ask.toString().contains(u"iframe"_s), qPrintable(ask.toString()));
        page(u"document.getElementById('iFX168').click()"_s);
        QTRY_COMPARE(m_window->tabs().currentTab(), u"iFX168"_s);
        QTRY_COMPARE(page(u"document.getElementById('iFX168').parentElement.id"_s).toString(), u"current"_s);
        QCOMPARE(page(u"getComputedStyle(document.getElementById('iFX168News')).display"_s).toString(), u"block"_s);
        page(u"document.getElementById('iFXCalendar').click()"_s);
        QTRY_COMPARE(m_window->tabs().currentTab(), u"iFXCalendar"_s);
        QTRY_COMPARE(page(u"document.getElementById('iFX168News').style.display"_s).toString(), u"none"_s);
        QCOMPARE(page(u"document.getElementById('iFX168').parentElement.id"_s).toString(), QString());
        QCOMPARE(page(u"document.getElementById('iCalendar').style.display"_s).toString(), QString());
        QCOMPARE(page(u"document.getElementById('iDivFxask').innerHTML"_s), ask);
        // Leaving a tab counts a visit in the hidden frame.
        QVERIFY(page(u"document.getElementById('frameDiv1').innerHTML"_s).toString().contains(u"/FX168.htm"_s));
    }

    void sizeGripHoldsTheMinimumSize()
    {
        m_window->setGeometry(150, 60, 1000, 700);
        QTest::qWait(300);
        const QPoint grip = m_window->geometry().bottomRight() - QPoint(6, 6);
        xdotool({u"mousemove"_s, QString::number(grip.x()), QString::number(grip.y())});
        QTest::qWait(200);
        xdotool({u"mousedown"_s, u"1"_s});
        for (int step = 1; step <= 5; ++step) {
            xdotool({u"mousemove"_s, QString::number(grip.x() - 60 * step), QString::number(grip.y() - 40 * step)});
            QTest::qWait(40);
        }
        xdotool({u"mouseup"_s, u"1"_s});
        QTRY_COMPARE(m_window->height(), DockingModel::MinHeight);
        QCOMPARE(m_window->width(), m_window->docking().minMainWidth());
        QVERIFY(m_window->width() >= DockingModel::BaseMinWidth);
        QCOMPARE(m_window->pos(), QPoint(150, 60));
    }

    void sortAndHighlight()
    {
        page(u"var body = document.getElementById('iFX678News_Table').tBodies[0];"
             "['09:15', '10:02', '08:59'].forEach(function (t) { var r = body.insertRow(-1); r.insertCell(-1).textContent = t;"
             " r.insertCell(-1).textContent = 'x'; }); sortTable('iFX678News_Table'); 1"_s);
        QCOMPARE(page(u"Array.prototype.map.call(document.getElementById('iFX678News_Table').tBodies[0].rows,"
                      " function (r) { return r.cells[0].textContent; }).join(' ')"_s).toString(), u"10:02 09:15 08:59"_s);
        const QString move = u"document.getElementById('iFX678News_Table').tBodies[0].rows[1].cells[0]"
                             ".dispatchEvent(new MouseEvent('mousemove', {bubbles: true})); document.getElementById('selRow').value"_s;
        QCOMPARE(page(move).toString(), u"2"_s);
        page(u"document.getElementById('chkRow').value = '1';"
             "document.getElementById('iFX678News_Table').dispatchEvent(new MouseEvent('mouseleave')); 1"_s);
        QCOMPARE(page(u"document.getElementById('selRow').value"_s).toString(), u"2"_s);
        page(u"document.getElementById('chkRow').value = '0';"
             "document.getElementById('iFX678News_Table').dispatchEvent(new MouseEvent('mouseleave')); 1"_s);
        QCOMPARE(page(u"document.getElementById('selRow').value"_s).toString(), u"0"_s);
    }

    void blockedKeys_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("blocked");
        QTest::newRow("F5") << 116 << false << true;
        QTest::newRow("Ctrl+F") << 70 << true << true;
        QTest::newRow("F") << 70 << false << false;
        QTest::newRow("Ctrl+C") << 67 << true << false;
    }
    void blockedKeys()
    {
        QFETCH(int, code);
        QFETCH(bool, ctrl);
        QFETCH(bool, blocked);
        const QVariant prevented = page(u"var e = new KeyboardEvent('keydown', {keyCode: %1, ctrlKey: %2, bubbles: true, cancelable: true});"
                                        "document.body.dispatchEvent(e); e.defaultPrevented"_s.arg(code).arg(ctrl ? u"true"_s : u"false"_s));
        QCOMPARE(prevented.toBool(), blocked);
    }

    void numericFieldsTakeDigitsAndEditingKeys_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("digit") << 55 << true;
        QTest::newRow("keypad digit") << 100 << true;
        QTest::newRow("letter") << 65 << false;
        QTest::newRow("minus") << 189 << false;
        QTest::newRow("Tab") << 9 << true;
        QTest::newRow("Delete") << 46 << true;
        QTest::newRow("Backspace") << 8 << true;
        QTest::newRow("Left") << 37 << true;
        QTest::newRow("Right") << 39 << true;
    }
    void numericFieldsTakeDigitsAndEditingKeys()
    {
        QFETCH(int, code);
        QFETCH(bool, accepted);
        const QVariant prevented = page(u"var f = document.getElementById('numField') || document.createElement('input');"
                                        "f.id = 'numField'; f.onkeydown = onlyNum; document.body.appendChild(f);"
                                        "var e = new KeyboardEvent('keydown', {keyCode: %1, bubbles: true, cancelable: true});"
                                        "f.dispatchEvent(e); e.defaultPrevented"_s.arg(code));
        QCOMPARE(prevented.toBool(), !accepted);
    }

    void quoteRowTargets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("target");
        QTest::newRow("third row up a little more than a row") << 2 << -23 << 1;
        QTest::newRow("less than a row") << 2 << -10 << 2;
        QTest::newRow("far above") << 2 << -500 << -1;
        QTest::newRow("far below") << 2 << 500 << 7;
        QTest::newRow("two rows down") << 1 << 41 << 3;
    }
    void quoteRowTargets()
    {
        QFETCH(int, index);
        QFETCH(int, dy);
        QFETCH(int, target);
        QCOMPARE(page(u"quoteTarget(%1, %2, 20, 8)"_s.arg(index).arg(dy)).toInt(), target);
    }

    void docksSlidesAwayAndComesBack()
    {
        m_window->setGeometry(200, 100, 920, 680);
        QTest::qWait(300);
        // Drag the title bar until the window touches the left edge.
        const QPoint title = m_window->geometry().topLeft() + QPoint(300, 15);
        xdotool({u"mousemove"_s, QString::number(title.x()), QString::number(title.y())});
        QTest::qWait(200);
        xdotool({u"mousedown"_s, u"1"_s});
        for (int x = title.x() - 50; x >= title.x() - 260; x -= 50) {
            xdotool({u"mousemove"_s, QString::number(x), QString::number(title.y())});
            QTest::qWait(40);
        }
        xdotool({u"mousemove"_s, QString::number(title.x() - 320), QString::number(title.y())});
        QTest::qWait(100);
        xdotool({u"mouseup"_s, u"1"_s});
        QTRY_VERIFY(m_window->docking().berthed());
        QCOMPARE(m_window->docking().side(), DockingModel::Left);
        QTRY_COMPARE(m_window->x(), 0);
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        // The pointer leaves: after about a second the window slides away, 3 pixels stay.
        xdotool({u"mousemove"_s, u"1200"_s, u"700"_s});
        QTRY_COMPARE_WITH_TIMEOUT(m_window->x(), 3 - m_window->width(), 5000);

        // Touching the strip brings it back.
        xdotool({u"mousemove"_s, u"1"_s, u"300"_s});
        QTRY_COMPARE_WITH_TIMEOUT(m_window->x(), 0, 5000);

        // Closing saves the shown position, not a slid-away one.
        m_window->close();
        QCOMPARE(Globals().Config.GetNodeAttrib(u"Window/Tavrin_Main"_s, u"Left"_s), u"0"_s);
        QVERIFY(!m_window->isVisible());
    }

    void aPlainResizeAtAnEdgeDocksAndTheTabListStaysWhole()
    {
        m_window->show();
        m_window->setGeometry(300, 100, 925, 680);
        QTRY_VERIFY(!m_window->docking().berthed());
        // Sized by someone else against the right edge of the screen.
        const int screenRight = m_window->docking().virtualScreen().width();
        m_window->setGeometry(screenRight - 940, 100, 940, 680);
        QTRY_VERIFY(m_window->docking().berthed());
        QCOMPARE(m_window->docking().side(), DockingModel::Right);
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // Away from the edges again, and too narrow for the tabs: widened.
        m_window->setGeometry(300, 100, 500, 680);
        QTRY_VERIFY(!m_window->docking().berthed());
        QTRY_COMPARE(m_window->width(), m_window->docking().minMainWidth());
        QVERIFY(m_window->width() >= DockingModel::BaseMinWidth);
    }

    void aWindowWithoutStoredSizeTakesThePageMinimum()
    {
        const QStringList sides{u"Left"_s, u"Top"_s, u"Width"_s, u"Height"_s};
        for (const QString &side : sides)
            Globals().Config.SetNodeAttrib(u"Window/Tavrin_Main"_s, side, QString());
        frmTavrin window(Clock::system(), m_notifications);
        QSignalSpy ready(&window, &frmTavrin::pageReady);
        QVERIFY(ready.wait(30000));
        QCOMPARE(window.pos(), QPoint(0, 0));
        QVERIFY2(window.width() >= DockingModel::BaseMinWidth && window.height() >= DockingModel::MinHeight,
                 qPrintable(u"%1x%2"_s.arg(window.width()).arg(window.height())));
    }

    // Hidden, the window's page is frozen and stays so while news come; shown
    // again, it has the rows that came meanwhile, newest on top, and no more
    // than its table keeps (more came than it keeps: the oldest went).
    void aHiddenWindowsPageIsFrozenAndComesBackCurrent()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QWebEnginePage *engine = m_window->page().view()->page();
        QTRY_COMPARE(engine->lifecycleState(), QWebEnginePage::LifecycleState::Active);
        NewsBoard &board = m_window->news().news();
        const NewsSource source = board.sources().front();
        // The body's rows, each without its time.
        const auto titles = [this, &source] {
            QStringList texts = PageScript::rowTexts(m_window->page().view(), source.table).mid(1);
            for (QString &text : texts)
                text.remove(QRegularExpression(u"^\\d\\d:\\d\\d"_s));
            return texts;
        };

        m_window->close(); // into the tray
        QTRY_COMPARE(engine->lifecycleState(), QWebEnginePage::LifecycleState::Frozen);
        QStringList sent;
        for (int i = 0; i < NewsBoard::SourceLimit + 10; ++i) {
            sent.prepend(u"冻结期间的新闻%1"_s.arg(i));
            board.add(NewsItem::fromMessage(source.id, u"11:%1"_s.arg(i % 60, 2, 10, QChar(u'0')), sent.front(), {}, false));
        }
        while (board.processTask()) {
        }
        QTest::qWait(500);
        QCOMPARE(engine->lifecycleState(), QWebEnginePage::LifecycleState::Frozen);

        m_window->show();
        m_window->shownByUser();
        QTRY_COMPARE(engine->lifecycleState(), QWebEnginePage::LifecycleState::Active);
        QTRY_COMPARE(titles(), sent.mid(0, NewsBoard::SourceLimit - 1));
        QVERIFY(PageScript::run(m_window->page().view(), u"document.getElementById('iAllNews_Table').textContent"_s)
                    .toString()
                    .contains(sent.front()));
    }

    void aFailedNewsTaskIsReportedByTheWindow()
    {
        m_sink.clear();
        // An item whose handling fails half-way (here the history's record of it).
        NewsBoard &board = m_window->news().news();
        board.onReported([](const NewsSource &, const QString &, const NewsRow &, const QStringList &) {
            throw std::runtime_error("no record");
        });
        board.add(NewsItem::fromMessage(board.sources().front().id, u"10:00"_s, u"欧元走强"_s, {}, false));
        while (board.processTask()) {
        }
        QCOMPARE(m_sink.messages().size(), 1);
        QVERIFY2(m_sink.texts().front().startsWith(u"模块: [ TaskTimer ] 错误发生在 2 行 , 错误描述: #5\r\n 时间: "_s),
                 qPrintable(m_sink.texts().front()));
        QCOMPARE(m_sink.messages().front().icon, MessageIcon::Critical);
        m_sink.clear();
    }

    void closingHidesAndHintsOnce()
    {
        m_window->show();
        m_window->close();
        m_window->show();
        m_window->close();
        QVERIFY(!m_window->isVisible());
        // Once in a process, however often the window is closed (the docking test closed it first).
        const QVariantList hint{u"最小化到系统任务托盘栏!"_s, u"Tessaly仍在运行!"_s, 1};
        QCOMPARE(std::count(m_balloons->cbegin(), m_balloons->cend(), hint), 1);
        QVERIFY(m_sink.messages().isEmpty());
    }
};

QTEST_MAIN(tst_frmTavrin)
#include "tst_frmTavrin.moc"
