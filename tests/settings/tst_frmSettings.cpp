#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "core/cRegistry.h"
#include "news/WorkerRuntime.h"
#include "pages/SettingsPage.h"
#include "settings/AutoRun.h"
#include "settings/frmSettings.h"
#include "support/PageScript.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"
#include "support/TestHttpServer.h"

#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The settings dialog on its real page: the stored values in its controls,
// and what OK, Cancel, Escape and Enter write.
class tst_frmSettings : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    QPointer<frmSettings> m_dialog;

    QString program() const { return m_folder.filePath(u"tavrin"_s); }
    QString autostartEntry() const { return m_folder.filePath(u"autostart/Tessaly.desktop"_s); }
    QVariant page(const QString &script) { return PageScript::run(m_dialog->page().view(), script); }
    QByteArray stored() const
    {
        QFile file(Globals().Config.XmlFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A section's editor filled and a button pressed, step by step, each
    // answered in the section's status line.
    struct Step
    {
        const char *what;
        QString fields; // JavaScript that fills the editor: f(id, value)
        QString button;
        QString said; // the answer line contains this
    };
    void runSteps(const QString &statusId, const QList<Step> &steps)
    {
        for (const Step &step : steps) {
            page(u"function f(id, v) { var e = document.getElementById(id); e.value = v; e.dispatchEvent(new Event('change')); }"
                 "document.getElementById('%1').textContent = ''; %2; document.getElementById('%3').click(); true"_s
                     .arg(statusId, step.fields, step.button));
            QTRY_VERIFY2_WITH_TIMEOUT(page(u"document.getElementById('%1').textContent"_s.arg(statusId)).toString().contains(step.said),
                                      step.what, 20000);
        }
    }
    // Whether a section, shown, fits above the buttons and in its width.
    void checkFits(const QString &sectionId, const QString &before = {})
    {
        const QString fits = page(u"document.querySelector('#iMenu div[data-for=%1]').click(); %2;"
                                  "var d = document.getElementById('%1');"
                                  "var wide = Array.from(d.querySelectorAll('.row')).filter(r => r.scrollWidth > d.clientWidth"
                                  " || r.lastElementChild.getBoundingClientRect().bottom > r.getBoundingClientRect().bottom);"
                                  "d.offsetTop + d.offsetHeight + ' ' + document.getElementById('ButtonLayout').offsetTop + ' ' + wide.length"_s
                                      .arg(sectionId, before))
                                 .toString();
        const QStringList figures = fits.split(u' ');
        QVERIFY2(figures.size() == 3 && figures[0].toInt() <= figures[1].toInt() && figures[2] == u"0"_s, qPrintable(fits));
    }

    void open()
    {
        m_dialog = new frmSettings(m_folder.path() + u'/', program(), m_sink);
        QSignalSpy ready(m_dialog.data(), &frmSettings::ready);
        m_dialog->show();
        QVERIFY(ready.wait(15000));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
        cRegistry::setLocations(m_folder.filePath(u"user"_s), m_folder.filePath(u"machine"_s), m_folder.filePath(u"autostart"_s));
        m_folder.writeFile(u"Sound/b.wav"_s, "RIFF");
        m_folder.writeFile(u"Sound/a  b.wav"_s, "RIFF"); // two blanks, which an option's text folds
        m_folder.writeFile(u"Sound/notes.txt"_s, "not a sound");
        Globals().Config.setMessageSink(&m_sink);
        Globals().Config.setXmlFile(m_folder.copyDefaultConfig());
        QVERIFY(Globals().Config.Initialize());
    }

    void init()
    {
        cls_Config &config = Globals().Config;
        config.SetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Checked, u"0"_s);
        config.SetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Duration, u"30"_s);
        config.SetNodeAttrib(ConfigPaths::Popup, ConfigPaths::SoundFile, u"b.wav"_s);
        config.SetNodeAttrib(ConfigPaths::source(u"FXark"_s), ConfigPaths::Checked, u"1"_s);
        config.SetNodeAttrib(ConfigPaths::source(u"FXark"_s), ConfigPaths::IntervalTime, u"20"_s);
        config.SetNodeAttrib(ConfigPaths::source(u"HeXun"_s), ConfigPaths::Checked, u"0"_s);
        config.SetNodeAttrib(ConfigPaths::source(u"HeXun"_s), ConfigPaths::IntervalTime, u"180"_s);
        config.SetNodeAttrib(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime, u"5"_s);
        config.SetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Checked, u"0"_s);
        QVERIFY(config.XMLSave());
        QFile::remove(autostartEntry());
        m_sink.clear();
    }

    void cleanup() { delete m_dialog; }

    void theStoredValuesShowInTheControls()
    {
        // An entry of another copy of the program does not count as ours.
        AutoRun(u"/opt/other/tavrin"_s).set(true);
        open();
        QCOMPARE(page(u"document.getElementById('iSystemRun').checked"_s).toBool(), false);
        QCOMPARE(page(u"document.getElementById('Popup').checked"_s).toBool(), false);
        QCOMPARE(page(u"document.getElementById('DurationIndex').selectedIndex"_s).toInt(), 3);
        QCOMPARE(page(u"Array.from(document.getElementById('PopupSoundList').options, o => o.text).join()"_s).toString(),
                 u"a b.wav,b.wav"_s);
        QCOMPARE(page(u"document.getElementById('PopupSoundList').value"_s).toString(), u"b.wav"_s);
        // The page's own handlers followed the fired events: the rows are greyed as their boxes say.
        QCOMPARE(page(u"document.getElementById('DurationIndex').disabled"_s).toBool(), true);
        QCOMPARE(page(u"document.getElementById('TT6').checked"_s).toBool(), true);
        QCOMPARE(page(u"document.getElementById('TT6_GetTime').value"_s).toString(), u"20"_s);
        QCOMPARE(page(u"document.getElementById('TT6_GetTime').disabled"_s).toBool(), false);
        QCOMPARE(page(u"document.getElementById('TT5_GetTime').value"_s).toString(), u"180"_s);
        QCOMPARE(page(u"document.getElementById('TT5_GetTime').disabled"_s).toBool(), true);
        QCOMPARE(page(u"Array.from(document.getElementById('TT5_GetTime').options, o => o.value).join()"_s).toString(),
                 u"30,40,50,60,180,300"_s);
        QCOMPARE(page(u"document.getElementById('iFXCalNotifyTime').value"_s).toString(), u"5"_s);
        QCOMPARE(page(u"document.getElementById('chkLU').checked"_s).toBool(), false);
        // The window ends with the button row.
        QCOMPARE(m_dialog->height(), page(u"(function (e) { return e.offsetTop + e.offsetHeight; })"
                                            "(document.getElementById('ButtonLayout'))"_s).toInt());
    }

    void okWritesEveryValueAndTheAutostartEntry()
    {
        open();
        QSignalSpy applied(m_dialog.data(), &frmSettings::applied);
        page(u"document.getElementById('iSystemRun').checked = true;"
             "document.getElementById('Popup').checked = true;"
             "document.getElementById('DurationIndex').selectedIndex = 0;"
             "document.getElementById('PopupSoundList').selectedIndex = 0;"
             "document.getElementById('TT6').checked = false;"
             "document.getElementById('TT1_GetTime').value = '300';"
             "document.getElementById('TT5').checked = true;"
             "document.getElementById('TT5_GetTime').value = '30';"
             "document.getElementById('iFXCalNotifyTime').value = '10';"
             "document.getElementById('chkLU').checked = true;"
             "document.getElementById('iOk').click(); true"_s);
        QTRY_COMPARE(applied.size(), 1);
        QTRY_VERIFY(m_dialog.isNull());

        cls_Config saved;
        saved.setMessageSink(&m_sink);
        saved.setXmlFile(Globals().Config.XmlFile());
        QVERIFY(saved.Initialize());
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Checked), u"1"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Duration), u"-1"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::SoundFile), u"a  b.wav"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::source(u"FXark"_s), ConfigPaths::Checked), u"0"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::source(u"FXark"_s), ConfigPaths::IntervalTime), u"20"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::source(u"FX168"_s), ConfigPaths::IntervalTime), u"300"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::source(u"HeXun"_s), ConfigPaths::Checked), u"1"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::source(u"HeXun"_s), ConfigPaths::IntervalTime), u"30"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime), u"10"_s);
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Checked), u"1"_s);
        QVERIFY(AutoRun(program()).isOn());
        QVERIFY(m_sink.messages().isEmpty());

        // Unticked again, the entry goes.
        open();
        QCOMPARE(page(u"document.getElementById('iSystemRun').checked"_s).toBool(), true);
        page(u"document.getElementById('iSystemRun').checked = false; document.getElementById('iOk').click(); true"_s);
        QTRY_VERIFY(m_dialog.isNull());
        QVERIFY(!QFile::exists(autostartEntry()));
    }

    void cancelEscapeAndEnter_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("saves");
        QTest::newRow("cancel button") << "cancel" << false;
        QTest::newRow("escape key") << "escape" << false;
        QTest::newRow("enter key") << "enter" << true;
    }
    void cancelEscapeAndEnter()
    {
        QFETCH(QString, how);
        QFETCH(bool, saves);
        const QByteArray before = stored();
        open();
        page(u"document.getElementById('iSystemRun').checked = true; document.getElementById('Popup').checked = true; true"_s);
        if (how == u"cancel"_s) {
            page(u"document.getElementById('iCancel').click(); true"_s);
        } else {
            // Pressed again while the dialog stays: on a loaded machine the
            // window manager may give it the keyboard late.
            for (int i = 0; i < 10 && m_dialog; ++i) {
                m_dialog->activateWindow();
                QTest::keyClick(m_dialog->page().view()->focusProxy(), how == u"enter"_s ? Qt::Key_Return : Qt::Key_Escape);
                if (QTest::qWaitFor([this] { return m_dialog.isNull(); }, 1000))
                    break;
            }
        }
        QTRY_VERIFY(m_dialog.isNull());
        QCOMPARE(stored() != before, saves);
        QCOMPARE(QFile::exists(autostartEntry()), saves);
    }

    // The user's feed sources: listed (a hand-written entry in error too),
    // added, changed, removed and tested in the dialog; written on OK.
    void feedSourcesAreEditedTestedAndSaved()
    {
        TestHttpServer server;
        server.serve(u"/rss"_s,
                     "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>t</title>"
                     "<item><title>第一条</title><pubDate>Tue, 08 Dec 2026 01:00:00 GMT</pubDate></item>"
                     "<item><title>第二条</title><pubDate>Tue, 08 Dec 2026 02:00:00 GMT</pubDate></item>"
                     "</channel></rss>",
                     200, "application/rss+xml");
        WorkerRuntime::instance().setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
        QVERIFY(Globals().Config.replaceElements(ConfigPaths::Feeds, ConfigPaths::FeedElement,
                                                 {{{u"Name"_s, u"手写"_s}, {u"Url"_s, u"https://a.example.cn/"_s},
                                                   {u"IntervalTime"_s, u"often"_s}, {u"Note"_s, u"kept"_s}}}));
        open();
        auto lines = [this] {
            return page(u"Array.from(document.getElementById('iFeedList').options, o => o.text).join('|')"_s).toString();
        };
        QVERIFY2(lines().contains(u"有误"_s), qPrintable(lines()));
        // Shown with the page selectors (its tallest).
        checkFits(u"iFeedsDiv"_s, u"var k = document.getElementById('iFeedKind'); k.value = 'page'; k.dispatchEvent(new Event('change'))"_s);
        const QString rss = server.url(u"/rss"_s);
        const QList<Step> steps{
            {"no name", u"f('iFeedName', ''); f('iFeedUrl', '%1')"_s.arg(rss), u"iFeedAdd"_s, u"名称不能为空"_s},
            {"not a web address", u"f('iFeedName', '快讯'); f('iFeedUrl', 'ftp://a.example.cn/')"_s, u"iFeedAdd"_s, u"地址应以"_s},
            {"interval too short", u"f('iFeedUrl', '%1'); f('iFeedInterval', '20')"_s.arg(rss), u"iFeedAdd"_s, u"刷新间隔应在"_s},
            {"page without selectors", u"f('iFeedInterval', '60'); f('iFeedKind', 'page')"_s, u"iFeedAdd"_s, u"选择器"_s},
            {"added", u"f('iFeedKind', 'auto')"_s, u"iFeedAdd"_s, u"已添加 快讯"_s},
            {"name taken", QString(), u"iFeedAdd"_s, u"名称已被使用"_s},
            {"tested", QString(), u"iFeedTest"_s, u"找到 2 条新闻, 最新: 第二条"_s},
            {"tested, not found", u"f('iFeedUrl', '%1')"_s.arg(server.url(u"/gone"_s)), u"iFeedTest"_s, u"找不到"_s},
            {"changed", u"f('iFeedUrl', '%1'); f('iFeedInterval', '120')"_s.arg(rss), u"iFeedChange"_s, u"已修改 快讯"_s},
            {"hand-written one removed", u"var l = document.getElementById('iFeedList'); l.selectedIndex = 0"_s,
             u"iFeedRemove"_s, u"已删除 手写"_s},
        };
        runSteps(u"iFeedStatus"_s, steps);
        QCOMPARE(lines().count(u'|'), 0);
        page(u"document.getElementById('iOk').click(); true"_s);
        QTRY_VERIFY(m_dialog.isNull());

        cls_Config saved(&m_sink);
        saved.setXmlFile(Globals().Config.XmlFile());
        QVERIFY(saved.Initialize());
        const QList<QHash<QString, QString>> feeds = saved.elements(ConfigPaths::Feeds, ConfigPaths::FeedElement);
        QCOMPARE(feeds.size(), 1);
        QCOMPARE(feeds.front(), (QHash<QString, QString>{{u"Name"_s, u"快讯"_s}, {u"Url"_s, rss}, {u"Checked"_s, u"1"_s},
                                                         {u"IntervalTime"_s, u"120"_s}, {u"Kind"_s, u"auto"_s}}));
        QVERIFY(stored().contains("<Feed Name=\"快讯\" Url=\"" + rss.toUtf8() + "\" Checked=\"1\" IntervalTime=\"120\""));
        QVERIFY(Globals().Config.replaceElements(ConfigPaths::Feeds, ConfigPaths::FeedElement, {}));
    }

    // Keyword alert rules: refused without words or with a source there is
    // not, names and blanks tidied, a hand-written rule's other attributes and
    // its missing sound kept through a change; OK writes them in order.
    void alertRulesAreEditedAndSaved()
    {
        QVERIFY(Globals().Config.replaceElements(ConfigPaths::Alerts, ConfigPaths::AlertElement,
                                                 {{{u"Words"_s, u"非农"_s}, {u"Sound"_s, u"gone.wav"_s}, {u"Note"_s, u"kept"_s}}}));
        open();
        checkFits(u"iAlertsDiv"_s);
        const QList<Step> steps{
            {"no words", u"f('iAlertWords', ' \u3000 ')"_s, u"iAlertAdd"_s, u"请填写要查找的词"_s},
            {"no such source", u"f('iAlertWords', '非农\u3000 央行'); f('iAlertSources', 'FX168，Nowhere')"_s, u"iAlertAdd"_s,
             u"没有名为“Nowhere”的新闻源"_s},
            {"added", u"f('iAlertSources', 'fx168，和讯'); f('iAlertSound', 'b.wav')"_s, u"iAlertAdd"_s, u"已添加提醒"_s},
            {"another added", u"f('iAlertWords', '美元'); f('iAlertSources', '')"_s, u"iAlertAdd"_s, u"已添加提醒"_s},
            {"removed", QString(), u"iAlertRemove"_s, u"已删除提醒"_s},
        };
        runSteps(u"iAlertStatus"_s, steps);
        // The hand-written rule chosen: its missing sound is offered, and kept.
        page(u"var l = document.getElementById('iAlertList'); l.selectedIndex = 0; l.dispatchEvent(new Event('change')); true"_s);
        QTRY_COMPARE(page(u"document.getElementById('iAlertWords').value + '|' + document.getElementById('iAlertSound').value"_s).toString(),
                     u"非农|gone.wav"_s);
        runSteps(u"iAlertStatus"_s, {{"changed", u"f('iAlertExcept', '预告'); document.getElementById('iAlertChecked').checked = false"_s,
                                      u"iAlertChange"_s, u"已修改提醒"_s}});
        QCOMPARE(page(u"document.getElementById('iAlertList').options.length"_s).toInt(), 2);
        page(u"document.getElementById('iOk').click(); true"_s);
        QTRY_VERIFY(m_dialog.isNull());
        cls_Config saved(&m_sink);
        saved.setXmlFile(Globals().Config.XmlFile());
        QVERIFY(saved.Initialize());
        QCOMPARE(saved.elements(ConfigPaths::Alerts, ConfigPaths::AlertElement),
                 (QList<QHash<QString, QString>>{
                     {{u"Words"_s, u"非农"_s}, {u"Except"_s, u"预告"_s}, {u"Sources"_s, QString()}, {u"Sound"_s, u"gone.wav"_s},
                      {u"Checked"_s, u"0"_s}, {u"Note"_s, u"kept"_s}},
                     {{u"Words"_s, u"非农 央行"_s}, {u"Except"_s, QString()}, {u"Sources"_s, u"FX168,HeXun"_s},
                      {u"Sound"_s, u"b.wav"_s}, {u"Checked"_s, u"1"_s}}}));
        QVERIFY(stored().contains("<Alert Words=\"非农 央行\" Except=\"\" Sources=\"FX168,HeXun\" Sound=\"b.wav\" Checked=\"1\""));
        QVERIFY(Globals().Config.replaceElements(ConfigPaths::Alerts, ConfigPaths::AlertElement, {}));
    }

    void aFailedAutostartWriteIsReported()
    {
        // A file where the autostart folder should be: the entry cannot be written.
        cRegistry::setLocations(m_folder.filePath(u"user"_s), m_folder.filePath(u"machine"_s), m_folder.filePath(u"blocked/autostart"_s));
        m_folder.writeFile(u"blocked"_s, "a file");
        open();
        page(u"document.getElementById('iSystemRun').checked = true; document.getElementById('chkLU').checked = true;"
             " document.getElementById('iOk').click(); true"_s);
        QTRY_VERIFY(m_dialog.isNull());
        QCOMPARE(m_sink.messages().size(), 1);
        // The rest is saved all the same.
        cls_Config saved(&m_sink);
        saved.setXmlFile(Globals().Config.XmlFile());
        QVERIFY(saved.Initialize());
        QCOMPARE(saved.GetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Checked), u"1"_s);
        cRegistry::setLocations(m_folder.filePath(u"user"_s), m_folder.filePath(u"machine"_s), m_folder.filePath(u"autostart"_s));
    }
};

QTEST_MAIN(tst_frmSettings)
#include "tst_frmSettings.moc"
