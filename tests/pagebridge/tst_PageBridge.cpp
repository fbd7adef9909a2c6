#include "pagebridge/PageBridge.h"
#include "support/BrowserStandIn.h"
#include "support/PageScript.h"
#include "support/TestHttpServer.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <functional>

using namespace Qt::StringLiterals;

// What every window inherits from the bridge, on a small page of the test's
// own, in a real window under a real X server.
class tst_PageBridge : public QObject
{
    Q_OBJECT

private:
    BrowserStandIn m_browser{QStringList{u"http"_s, u"https"_s, u"file"_s}};
    std::unique_ptr<QWidget> m_window;
    PageBridge *m_bridge = nullptr;
    QList<PageBridge::Event> m_events;
    int m_readyCalls = 0;

    QVariant run(const QString &script, quint32 world = QWebEngineScript::MainWorld)
    {
        return PageScript::run(m_bridge->view(), script, world);
    }

    // A person's click: real input events at the middle of the element.
    void clickLikeAPerson(const QString &id)
    {
        const QVariantList box = run(u"var r = document.getElementById('%1').getBoundingClientRect();"
                                     "[r.left + r.width / 2, r.top + r.height / 2]"_s.arg(id)).toList();
        QVERIFY(box.size() == 2);
        const QPoint at(box.at(0).toInt(), box.at(1).toInt());
        QWidget *input = m_bridge->view()->focusProxy();
        QTest::mousePress(input, Qt::LeftButton, {}, at);
        QTest::qWait(30);
        QTest::mouseRelease(input, Qt::LeftButton, {}, at);
    }

    PageBridge::Binding record(const char *id, const char *event, const char *operation)
    {
        return {QString::fromLatin1(id), QString::fromLatin1(event), QString::fromLatin1(operation),
                [this](const PageBridge::Event &e) { m_events << e; }};
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
        QLoggingCategory::setFilterRules(u"tessaly.page.info=true"_s);
        m_window = std::make_unique<QWidget>();
        m_window->resize(600, 400);
        m_bridge = new PageBridge(m_window.get());
        m_bridge->view()->setGeometry(0, 0, 600, 400);
        // Asked for before the page exists: kept, and carried out in order once it is up.
        m_bridge->setText(u"two"_s, u"first"_s);
        m_bridge->setText(u"two"_s, u"second"_s);
        m_bridge->whenReady([this] { ++m_readyCalls; });
        QSignalSpy ready(m_bridge, &PageBridge::pageReady);
        m_bridge->load(u"bridgetest.htm"_s, {record("one", "onclick", "ClickOne"), record("two", "onmousedown", "DownTwo")});
        QVERIFY(m_bridge->Busy());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(ready.wait(30000));
        QVERIFY(!m_bridge->Busy());
    }

    void whatCameBeforeThePageReachesItInOrder()
    {
        QCOMPARE(run(u"document.getElementById('two').textContent"_s).toString(), u"second"_s);
        QCOMPARE(m_readyCalls, 1);
        bool now = false;
        m_bridge->whenReady([&now] { now = true; });
        QVERIFY(now); // a ready page runs the work at once
    }

    // Before any click of a person: a click lets the page open windows for a few seconds.
    void aBatchReachesThePageWholeAndInOrder()
    {
        m_bridge->setText(u"two"_s, u"before"_s);
        QTRY_COMPARE(run(u"document.getElementById('two').textContent"_s).toString(), u"before"_s);
        m_bridge->beginBatch();
        m_bridge->setText(u"two"_s, u"first"_s);
        m_bridge->beginBatch();
        m_bridge->setText(u"two"_s, u"second"_s);
        m_bridge->endBatch();
        QTest::qWait(100);
        QCOMPARE(run(u"document.getElementById('two').textContent"_s).toString(), u"before"_s);
        m_bridge->endBatch();
        QTRY_COMPARE(run(u"document.getElementById('two').textContent"_s).toString(), u"second"_s);
    }

    void windowsAndNavigationAreRefused()
    {
        m_browser.opened.clear();
        const int windows = QApplication::topLevelWidgets().size();
        run(u"window.open('https://news.example/popup'); 1"_s);
        run(u"location.href = 'http://127.0.0.1:1/elsewhere'; 1"_s);
        QTest::qWait(500);
        run(u"location.href = 'file:///etc/passwd'; 1"_s);
        QTest::qWait(300);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QVERIFY(m_browser.opened.isEmpty());
        QCOMPARE(m_bridge->view()->url(), QUrl(PageBridge::pageAddress(u"bridgetest.htm"_s)));
    }

    void bindingsReachTheirHandlersWithElementAndText()
    {
        m_events.clear();
        QSignalSpy invoked(m_bridge, &PageBridge::invoked);
        run(u"document.getElementById('one').dispatchEvent(new MouseEvent('click', {bubbles: true})); 1"_s);
        QTRY_COMPARE(m_events.size(), 1);
        QCOMPARE(m_events.front().elementId, u"one"_s);
        QCOMPARE(m_events.front().text, u"按钮一"_s);
        QVERIFY(!m_events.front().byUser); // a script made it
        QCOMPARE(invoked.takeFirst().at(0).toString(), u"ClickOne"_s);
        // The other event of the same element is not bound.
        run(u"document.getElementById('one').dispatchEvent(new MouseEvent('mousedown', {bubbles: true})); 1"_s);
        QTest::qWait(200);
        QCOMPARE(m_events.size(), 1);

        clickLikeAPerson(u"one"_s);
        QTRY_COMPARE(m_events.size(), 2);
        QVERIFY(m_events.back().byUser);
    }

    void thePageWorldAndFramesCannotSeeTheChannel()
    {
        QCOMPARE(run(u"typeof qt"_s).toString(), u"undefined"_s);
        QCOMPARE(run(u"typeof qt"_s, QWebEngineScript::ApplicationWorld).toString(), u"object"_s);
        TestHttpServer server;
        server.serve(u"/frame"_s, "<script>var seen = typeof qt; try { seen += ' ' + typeof parent.qt; } catch (e) { seen += ' blocked'; }"
                                  "parent.postMessage('frame sees qt: ' + seen, '*');</script>");
        run(u"window.addEventListener('message', function (e) { document.title = e.data; });"
            "var f = document.createElement('iframe'); f.src = '%1'; document.body.appendChild(f); 1"_s.arg(server.url(u"/frame"_s)));
        QTRY_VERIFY(run(u"document.title"_s).toString().startsWith(u"frame sees qt: undefined"_s));
        QVERIFY(!run(u"document.title"_s).toString().contains(u"object"_s));
    }

    void onlyAPersonsClickOnAWebLinkOpensTheBrowser()
    {
        m_browser.opened.clear();
        run(u"document.getElementById('ext').click(); 1"_s);
        run(u"document.getElementById('ext').dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true})); 1"_s);
        QTest::qWait(300);
        QVERIFY(m_browser.opened.isEmpty());
        clickLikeAPerson(u"file"_s);
        QTest::qWait(300);
        QVERIFY(m_browser.opened.isEmpty());
        clickLikeAPerson(u"ext"_s);
        QTRY_COMPARE(m_browser.opened, QList<QUrl>{QUrl(u"https://news.example/a?b=1"_s)});
        QCOMPARE(m_bridge->view()->url(), QUrl(PageBridge::pageAddress(u"bridgetest.htm"_s)));
    }

    void builtDataAndRowPartsStayText()
    {
        m_bridge->build(u"demo"_s, QJsonObject{{u"x"_s, u"<b>1</b>"_s}});
        QTRY_COMPARE(run(u"document.getElementById('built').textContent"_s).toString(), uR"({"x":"<b>1</b>"})"_s);
        const QString hostile = u"<img src=x onerror=\"document.title='owned'\">"_s;
        m_bridge->insertRow(u"rows"_s, 1,
                            {QVariantMap{{u"parts"_s, QVariantList{QVariantMap{{u"tag"_s, u"a"_s},
                                                                              {u"text"_s, hostile},
                                                                              {u"attributes"_s, QVariantMap{{u"href"_s, u"https://x.example/\"><b>"_s}}}},
                                                                  QVariantMap{{u"tag"_s, u"b"_s}, {u"text"_s, u" - 和讯"_s}, {u"className"_s, u"label HeXun"_s}}}}}});
        QTRY_COMPARE(run(u"document.getElementById('rows').tBodies[0].rows.length"_s).toInt(), 1);
        QCOMPARE(run(u"document.querySelector('#rows tbody a').textContent"_s).toString(), hostile);
        QCOMPARE(run(u"document.querySelector('#rows tbody a').getAttribute('href')"_s).toString(), u"https://x.example/\"><b>"_s);
        QCOMPARE(run(u"document.querySelectorAll('#rows img, #rows tbody b b').length"_s).toInt(), 0);
        QCOMPARE(run(u"document.querySelector('#rows tbody b.label.HeXun').textContent"_s).toString(), u" - 和讯"_s);
        QVERIFY(run(u"document.title"_s).toString() != u"owned"_s);
    }

    // While its window is hidden the page is frozen; what is changed meanwhile
    // waits (a setting replaced by the next, rows dropped when their table is
    // emptied, a cell's change kept in its place among the rows) and is the
    // page's once the window shows.
    void changesWhileFrozenReachThePageWhenItShows_data()
    {
        QTest::addColumn<std::function<void(PageBridge &)>>("changes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const auto row = [](const QString &text) { return QVariantList{QVariantMap{{u"text"_s, text}}}; };
        QTest::newRow("the last setting")
            << std::function<void(PageBridge &)>([](PageBridge &page) {
                   for (int i = 0; i < 50; ++i)
                       page.setText(u"two"_s, u"文本%1"_s.arg(i));
               })
            << u"文本49"_s << QStringList{};
        QTest::newRow("rows after the table was emptied")
            << std::function<void(PageBridge &)>([row](PageBridge &page) {
                   page.insertRow(u"rows"_s, 1, row(u"旧"_s));
                   page.clearRows(u"rows"_s);
                   page.insertRow(u"rows"_s, 1, row(u"甲"_s));
                   page.insertRow(u"rows"_s, 1, row(u"乙"_s));
                   page.setCell(u"rows"_s, 2, 0, QVariantMap{{u"text"_s, u"甲改"_s}});
                   page.insertRow(u"rows"_s, 1, row(u"丙"_s));
                   page.setCell(u"rows"_s, 2, 0, QVariantMap{{u"text"_s, u"乙改"_s}});
               })
            << QString() << QStringList{u"丙"_s, u"乙改"_s, u"甲改"_s};
    }
    void changesWhileFrozenReachThePageWhenItShows()
    {
        QFETCH(std::function<void(PageBridge &)>, changes);
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        m_bridge->clearRows(u"rows"_s);
        const QString before = run(u"document.getElementById('two').textContent"_s).toString();
        m_bridge->freezeWhileHidden();
        QSignalSpy frozen(m_bridge, &PageBridge::frozenChanged);
        m_window->hide();
        QTRY_VERIFY(m_bridge->isFrozen());
        QCOMPARE(m_bridge->view()->page()->lifecycleState(), QWebEnginePage::LifecycleState::Frozen);
        changes(*m_bridge);
        m_window->show();
        QVERIFY(!m_bridge->isFrozen());
        QCOMPARE(frozen.size(), 2);
        QCOMPARE(m_bridge->view()->page()->lifecycleState(), QWebEnginePage::LifecycleState::Active);
        QTRY_COMPARE(run(u"document.getElementById('two').textContent"_s).toString(), text.isEmpty() ? before : text);
        QCOMPARE(run(u"Array.from(document.getElementById('rows').tBodies[0].rows, r => r.textContent)"_s).toStringList(), rows);
    }

    // Last: the test's own channel client takes the page's transport over.
    void missingElementsAndMessagesNobodyBoundAreLogged()
    {
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"no element \"gone\" for \"setText\""_s));
        m_bridge->setText(u"gone"_s, u"x"_s);
        // The page has answered the first once it has answered a later one.
        bool measured = false;
        m_bridge->measure({u"one"_s}, [&measured](const QJsonObject &) { measured = true; });
        QTRY_VERIFY(measured);

        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"page message matches no binding: \"nosuch\" \"onclick\""_s));
        run(u"new QWebChannel(qt.webChannelTransport, function (c) { c.objects.host.event('nosuch', 'onclick', '', false, {}); }); 1"_s,
            QWebEngineScript::ApplicationWorld);
        QTest::qWait(1000);
    }
};

QTEST_MAIN(tst_PageBridge)
#include "tst_PageBridge.moc"
