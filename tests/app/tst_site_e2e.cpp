#include "bar/BarPanel.h"
#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "core/cRegistry.h"
#include "news/WorkerRuntime.h"
#include "protocol/SourceId.h"
#include "shell/ProgramDialogs.h"
#include "shell/frmMain.h"
#include "shell/frmTavrin.h"
#include "support/BrowserStandIn.h"
#include "support/FakeClock.h"
#include "support/PageScript.h"
#include "support/RecordingMessageSink.h"
#include "support/SiteSimulator.h"
#include "support/TempProgramFolder.h"
#include "support/TrayBalloons.h"
#include "settings/frmSettings.h"
#include "update/ProgramVersion.h"
#include "update/frmAbout.h"
#include "update/frmLiveUpdate.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The product site's side of the program against the simulated site: the
// notice, the adverts and frames, the about window and live update.
class tst_site_e2e : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    FakeClock m_clock;
    SiteSimulator m_sim;
    BrowserStandIn m_links;
    std::unique_ptr<frmMain> m_controller;

    void control(const QString &setting) { QCOMPARE(m_sim.get(u"/control?site="_s + setting), QByteArray("ok")); }
    QString page(const QString &script)
    {
        return PageScript::run(m_controller->mainWindow()->page().view(), script).toString();
    }
    static QString run(QWidget *window, const QString &script)
    {
        return PageScript::run(window->findChild<QWebEngineView *>(), script).toString();
    }
    QString frameSource(const QString &container, const QString &frame)
    {
        return page(u"(function (f) { return f ? f.getAttribute('src') : ''; })"
                    "(document.querySelector('#%1 iframe#%2'))"_s.arg(container, frame));
    }
    QString updater() const { return m_folder.filePath(u"liveupdate"_s); }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server and tray that `make test` starts");
        QVERIFY(m_sim.start({u"--payload"_s, QStringLiteral(TESSALY_UPDATE_PAYLOAD), u"--version"_s, ProgramVersion::text()}));
        control(u"advert:hostile"_s);
        control(u"tip:markup"_s);
        cRegistry::setLocations(m_folder.filePath(u"user"_s), m_folder.filePath(u"machine"_s), m_folder.filePath(u"autostart"_s));
        Globals().AppPath = m_folder.path() + u'/';
        cls_Config &config = Globals().Config;
        config.setMessageSink(&m_sink);
        config.setXmlFile(m_folder.copyLocalConfig(m_sim.base()));
        QVERIFY(config.Initialize());
        WorkerRuntime::instance().setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
        m_controller = std::make_unique<frmMain>(m_clock);
        QSignalSpy loaded(m_controller.get(), &frmMain::loaded);
        m_controller->Load();
        QVERIFY(loaded.wait(30000));
    }

    void cleanupTestCase()
    {
        m_controller.reset();
        cRegistry::resetLocations();
    }

    void theNoticeShowsOnceAsABalloon()
    {
        QTRY_VERIFY_WITH_TIMEOUT(TrayBalloons::shownTexts().contains(u"<b>注意</b> 1 < 2 & 3"_s), 15000);
        QVERIFY(TrayBalloons::shownTexts().contains(u"系统提示"_s));
        QCOMPARE(m_sim.hits(u"/site/Tip.xml"_s), 1);
    }

    // The advert page tries dialogs, a window, moving our page, a download
    // and a log-in; none of it reaches the user or our page.
    void theHostileAdvertChangesNothing()
    {
        QTRY_COMPARE_WITH_TIMEOUT(frameSource(u"advertDiv"_s, u"advert"_s), m_sim.base() + u"/site/advert.htm"_s, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.hits(u"/site/auth"_s) > 0, 15000);
        QTest::qWait(1000);
        QCOMPARE(m_controller->mainWindow()->page().view()->url().scheme(), u"qrc"_s);
        QCOMPARE(page(u"document.title"_s), u"Tessaly"_s);
        QVERIFY(m_links.opened.isEmpty());
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!(window->isVisible() && qobject_cast<QDialog *>(window)), window->metaObject()->className());
        QVERIFY(m_sink.messages().isEmpty());
    }

    void framesAndAdvertsFollowTheDescriptorAndTheClock()
    {
        QTRY_COMPARE_WITH_TIMEOUT(frameSource(u"frameDiv"_s, u"ifa"_s), m_sim.base() + u"/site/fxqq.htm"_s, 15000);
        QCOMPARE(frameSource(u"advertDiv1"_s, u"advert1"_s), QString());
        control(u"isAdvert:0"_s);
        control(u"fxark:1"_s);
        const int descriptors = m_sim.hits(u"/site/update.xml"_s);
        m_clock.advance(301000);
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.hits(u"/site/update.xml"_s) > descriptors, 10000);
        // The product's advert goes and the FXark advert takes the whole column.
        QTRY_COMPARE_WITH_TIMEOUT(frameSource(u"advertDiv1"_s, u"advert1"_s), m_sim.base() + u"/site/fxark-advert.htm"_s, 10000);
        QCOMPARE(page(u"document.getElementById('advert1').getAttribute('height')"_s), u"435px"_s);
        QCOMPARE(page(u"document.getElementById('advertDiv').innerHTML"_s), QString());
        QCOMPARE(m_sim.hits(u"/site/fxqq.htm"_s), 1);
        m_clock.advance(250000);
        QTRY_COMPARE_WITH_TIMEOUT(m_sim.hits(u"/site/fxqq.htm"_s), 2, 10000);
        control(u"isAdvert:1"_s);
        control(u"fxark:0"_s);
    }

    void theAskPanelHoldsItsPageWhileItsTabIsOpen()
    {
        page(u"document.getElementById('iFXAsk').click()"_s);
        QTRY_COMPARE(frameSource(u"iDivFxask"_s, u"ifrmfxask"_s), m_sim.base() + u"/ark/gift.aspx"_s);
        page(u"document.getElementById('iAll').click()"_s);
        QTRY_COMPARE(page(u"document.getElementById('iDivFxask').innerHTML"_s), u"..."_s);
    }

    void theToolsMenuOpensAForumInTheBrowser()
    {
        page(u"document.getElementById('iFXMore').click()"_s);
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().front()->text(), u"外汇论坛"_s);
        const QList<QAction *> forums = menu->actions().front()->menu()->actions();
        QCOMPARE(forums.size(), 8);
        QVERIFY(forums.front()->text().startsWith(u"&1\t"_s));
        QCOMPARE(forums.at(4)->text().section(u'\t', 1), forums.at(7)->text().section(u'\t', 1));
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Right);
        QTRY_VERIFY(QApplication::activePopupWidget() != menu);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_5);
        QTRY_COMPARE(m_links.opened.size(), 1);
        QCOMPARE(m_links.opened.takeFirst(), QUrl(u"http://bbs.fxark.com/"_s));
    }

    void settingsAndAboutOpenOnce()
    {
        m_controller->m_frmSysTray_MenuClick(u"Settings"_s);
        QPointer<frmSettings> settings = m_controller->dialogs().settings();
        QVERIFY(settings && settings->isVisible());
        page(u"document.getElementById('btn_option').click()"_s);
        QTest::qWait(200);
        QCOMPARE(m_controller->dialogs().settings(), settings.data());
        delete settings;
        page(u"document.getElementById('btn_about').click()"_s);
        QTRY_VERIFY(m_controller->dialogs().about());
        QPointer<frmAbout> about = m_controller->dialogs().about();
        m_controller->m_frmSysTray_MenuClick(u"About"_s);
        QCOMPARE(m_controller->dialogs().about(), about.data());
        delete about;
    }

    void aboutShowsTheVersionAndARequestedCheckReports()
    {
        m_controller->m_frmSysTray_MenuClick(u"About"_s);
        QPointer<frmAbout> about = m_controller->dialogs().about();
        QVERIFY(about);
        QSignalSpy ready(about.data(), &frmAbout::ready);
        QVERIFY(ready.wait(15000));
        QCOMPARE(about->size(), QSize(600, 297));
        QCOMPARE(run(about, u"document.getElementById('iVer').textContent"_s), ProgramVersion::buildText());
        QCOMPARE(run(about, u"document.getElementById('btnClose').style.top"_s), u"1px"_s);
        const int checks = m_sim.hits(u"/site/update.xml"_s);
        run(about, u"document.getElementById('iUpdate').click()"_s);
        QTRY_VERIFY_WITH_TIMEOUT(TrayBalloons::shownTexts().contains(u"您正在使用的 Tessaly 已经是最新版本！"_s), 15000);
        QVERIFY(TrayBalloons::shownTexts().contains(u"软件更新"_s));
        QCOMPARE(m_sim.hits(u"/site/update.xml"_s), checks + 1);
        QTRY_VERIFY(run(about, u"document.getElementById('iUpdate').getAttribute('src')"_s) == u"upp.gif"_s);
        run(about, u"document.getElementById('iDiv').dispatchEvent(new MouseEvent('dblclick', {bubbles: true}))"_s);
        QTRY_VERIFY(about.isNull());
    }

    void aFailedDownloadShowsTheErrorAndWritesNothing_data()
    {
        QTest::addColumn<QString>("download");
        QTest::addColumn<QString>("sha");
        QTest::addColumn<bool>("byWindowManager"); // left by the window's close, not by "取消"
        QTest::newRow("short, connection closed") << "short" << "right" << false;
        QTest::newRow("a web page") << "html" << "none" << true;
        QTest::newRow("another hash") << "whole" << "wrong" << false;
        QTest::newRow("not found") << "404" << "right" << true;
    }
    void aFailedDownloadShowsTheErrorAndWritesNothing()
    {
        QFETCH(QString, download);
        QFETCH(QString, sha);
        QFETCH(bool, byWindowManager);
        control(u"update:newer"_s);
        control(u"download:"_s + download);
        control(u"sha:"_s + sha);
        // Asked for, as from the about window: a version tried before is offered again.
        m_controller->ChkLiveUpdate(true);
        QPointer<frmLiveUpdate> update = m_controller->updateWindow();
        QVERIFY(update);
        QTRY_VERIFY_WITH_TIMEOUT(update && update->isVisible(), 15000);
        QVERIFY(!m_controller->mainWindow()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(run(update, u"document.getElementById('iOk').textContent"_s), u"在线下载"_s, 15000);
        QVERIFY(run(update, u"document.getElementById('iDownInfo').textContent"_s).startsWith(u"下载更新出现错误"_s));
        QCOMPARE(run(update, u"document.getElementById('iDownImg').getAttribute('src')"_s), u"ddx.gif"_s);
        QVERIFY(!QFile::exists(updater()));
        // Back to the program.
        if (byWindowManager)
            update->close();
        else
            run(update, u"document.getElementById('iCancel').click()"_s);
        QTRY_VERIFY(update.isNull());
        QVERIFY(m_controller->mainWindow()->isVisible());
        QVERIFY(!m_controller->runUpdaterOnExit());
        control(u"sha:right"_s);
        control(u"update:equal"_s);
    }

    // While the new program downloads, the window manager's close is refused.
    void theDialogStaysWhileItDownloads()
    {
        control(u"update:newer"_s);
        control(u"download:stall"_s);
        m_controller->ChkLiveUpdate(true);
        QPointer<frmLiveUpdate> update = m_controller->updateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(update && update->isVisible() && !update->Busy(), 15000);
        QTRY_COMPARE(run(update, u"document.getElementById('iDown').style.display"_s), u"block"_s);
        QVERIFY(!update->close());
        QTest::qWait(300);
        QVERIFY(update && update->isVisible());
        QVERIFY(!m_controller->mainWindow()->isVisible());
        // A check asked for meanwhile in the about window is answered by this one.
        m_controller->OpenAbout();
        QPointer<frmAbout> about = m_controller->dialogs().about();
        QTRY_VERIFY_WITH_TIMEOUT(about && !about->Busy(), 15000);
        run(about, u"document.getElementById('iUpdate').click()"_s);
        QTRY_COMPARE(run(about, u"document.getElementById('iUpdate').getAttribute('src')"_s), u"upp.gif"_s);
        about->close();
        delete update.data(); // the stalled download would hold it for a minute
        m_controller->ShowTavrin();
        control(u"download:whole"_s);
        control(u"update:equal"_s);
    }

    // The silent check at start does not try again a version whose update
    // was tried: no dialog, nothing downloaded, the program goes on.
    void aVersionTriedBeforeIsNotTriedAgainSilently()
    {
        control(u"update:newer"_s);
        control(u"download:whole"_s);
        const int checks = m_sim.hits(u"/site/update.xml"_s);
        const int downloads = m_sim.hits(u"/site/download/tavrin"_s);
        m_controller->ChkLiveUpdate(false);
        QTRY_COMPARE_WITH_TIMEOUT(m_sim.hits(u"/site/update.xml"_s), checks + 1, 15000);
        QTRY_VERIFY(!m_controller->updateWindow());
        QCOMPARE(m_sim.hits(u"/site/download/tavrin"_s), downloads);
        QVERIFY(m_controller->mainWindow()->isVisible());
        QVERIFY(!QFile::exists(updater()));
        control(u"update:equal"_s);
    }

    void aNewerVersionIsDownloadedCheckedAndEndsTheProgram()
    {
        control(u"update:newer"_s);
        control(u"download:whole"_s);
        QSignalSpy exited(m_controller.get(), &frmMain::exited);
        m_controller->ChkLiveUpdate(true);
        QList<int> percents;
        connect(&m_controller->updateWindow()->update(), &LiveUpdate::progress, this, [&percents](int p) { percents << p; });
        QVERIFY(exited.wait(30000));
        QVERIFY(!percents.isEmpty());
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QCOMPARE(percents.last(), 100);
        QVERIFY(m_controller->runUpdaterOnExit());
        QFile payload(QStringLiteral(TESSALY_UPDATE_PAYLOAD));
        QFile written(updater());
        QVERIFY(payload.open(QIODevice::ReadOnly) && written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), payload.readAll());
        QVERIFY(written.permissions() & QFileDevice::ExeOwner);
    }

    // A newer version found before the main window's page is ready holds the
    // program back: no main window, no bar, no news fetched, until the user
    // leaves the failed update; then all of it starts.
    void aNewerVersionFoundAtStartHoldsTheProgramBack()
    {
        m_controller.reset();
        QFile::remove(updater());
        control(u"update:newer"_s);
        control(u"download:404"_s);
        Globals().Config.SetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Tried, QString());
        // The sources' pages (here at the site's /FXark and so on) and the calendar's.
        const auto newsHits = [this] {
            const QJsonObject stats = QJsonDocument::fromJson(m_sim.get(u"/stats"_s)).object();
            int sum = stats.value(u"Calendar"_s).toInt();
            for (qint32 id = s_FXark; id <= s_CaiXun; ++id)
                sum += stats.value(u'/' + SourceId::name(id)).toInt();
            return sum;
        };
        const int before = newsHits();
        m_controller = std::make_unique<frmMain>(m_clock);
        QSignalSpy loaded(m_controller.get(), &frmMain::loaded);
        m_controller->Load();
        frmTavrin *main = m_controller->mainWindow();
        QTRY_VERIFY_WITH_TIMEOUT(m_controller->updateWindow(), 15000);
        QPointer<frmLiveUpdate> update = m_controller->updateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(update && !update->Busy(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(run(update, u"document.getElementById('iOk').textContent"_s), u"在线下载"_s, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!main->Busy(), 30000);
        QTest::qWait(2000);
        QVERIFY(!main->isVisible());
        QVERIFY(!main->bar().bar());
        QCOMPARE(newsHits(), before);
        QCOMPARE(loaded.size(), 0);
        run(update, u"document.getElementById('iCancel').click()"_s);
        QTRY_COMPARE(loaded.size(), 1);
        QVERIFY(main->isVisible());
        QVERIFY(main->bar().bar());
        QTRY_VERIFY_WITH_TIMEOUT(newsHits() > before, 15000);
        control(u"download:whole"_s);
        control(u"update:equal"_s);
    }
};

QTEST_MAIN(tst_site_e2e)
#include "tst_site_e2e.moc"
