#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "settings/FeedList.h"
#include "settings/SettingsForm.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QTest>

#include <memory>

class tst_SettingsForm : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;

    std::unique_ptr<cls_Config> load(const QByteArray &xml)
    {
        auto config = std::make_unique<cls_Config>(&m_sink);
        config->setXmlFile(m_folder.writeFile(QStringLiteral("tavrin.xml"), xml));
        if (!config->Initialize())
            qFatal("test configuration does not load");
        return config;
    }

private Q_SLOTS:
    void storedValuesChooseTheirEntries_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("duration 30") << "duration" << "30" << 3;
        QTest::newRow("duration stays") << "duration" << "-1" << 0;
        QTest::newRow("duration 70 is out of the list") << "duration" << "70" << 0;
        QTest::newRow("duration 14 rounds to 10") << "duration" << "14" << 1;
        QTest::newRow("duration empty") << "duration" << "" << 0;
        QTest::newRow("duration words") << "duration" << "abc" << 0;
        QTest::newRow("notify 3") << "notify" << "3" << 1;
        QTest::newRow("notify 10") << "notify" << "10" << 3;
        QTest::newRow("notify 7 means 1") << "notify" << "7" << 0;
        QTest::newRow("interval 5") << "interval" << "5" << 0;
        QTest::newRow("interval 300") << "interval" << "300" << 8;
        QTest::newRow("interval 15 is none") << "interval" << "15" << -1;
        QTest::newRow("HeXun 30 is its first") << "hexun" << "30" << 0;
        QTest::newRow("HeXun 5 is none") << "hexun" << "5" << -1;
    }
    void storedValuesChooseTheirEntries()
    {
        QFETCH(QString, list);
        QFETCH(QString, stored);
        QFETCH(int, index);
        if (list == QStringLiteral("duration"))
            QCOMPARE(SettingsForm::durationIndex(stored), index);
        else if (list == QStringLiteral("notify"))
            QCOMPARE(SettingsForm::notifyIndex(stored), index);
        else
            QCOMPARE(SettingsForm::intervalIndex(stored, list == QStringLiteral("hexun")), index);
    }

    void everyValueIsWrittenAndReadBack()
    {
        const std::unique_ptr<cls_Config> configStore = load(TempProgramFolder::defaultConfig());
        cls_Config &config = *configStore;
        SettingsForm::State state = SettingsForm::read(config, true);
        QCOMPARE(state.sources.size(), 6);
        state.popup = !state.popup;
        state.durationIndex = 4;
        state.soundFile = QStringLiteral("ding.wav");
        state.notifyIndex = 2;
        state.liveUpdate = !state.liveUpdate;
        for (int i = 0; i < 6; ++i)
            state.sources[i] = {i % 2 == 0, i};
        SettingsForm::write(config, state);
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Duration), QStringLiteral("40"));
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime), QStringLiteral("5"));
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::source(QStringLiteral("FX168")), ConfigPaths::IntervalTime),
                 QStringLiteral("10"));
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::source(QStringLiteral("HeXun")), ConfigPaths::IntervalTime),
                 QStringLiteral("300")); // the sixth entry of its own list
        const SettingsForm::State again = SettingsForm::read(config, true);
        QCOMPARE(again.popup, state.popup);
        QCOMPARE(again.durationIndex, 4);
        QCOMPARE(again.soundFile, QStringLiteral("ding.wav"));
        QCOMPARE(again.notifyIndex, 2);
        QCOMPARE(again.liveUpdate, state.liveUpdate);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(again.sources.at(i).checked, i % 2 == 0);
            QCOMPARE(again.sources.at(i).intervalIndex, i);
        }
        QVERIFY(m_sink.messages().isEmpty());
    }

    // An interval the list does not offer shows no entry; saving must not
    // turn it into "", which would fetch every second.
    void anIntervalOutsideTheListKeepsTheStoredValue()
    {
        const std::unique_ptr<cls_Config> configStore = load(TempProgramFolder::defaultConfig());
        cls_Config &config = *configStore;
        const QString fxark = ConfigPaths::source(QStringLiteral("FXark"));
        config.SetNodeAttrib(fxark, ConfigPaths::IntervalTime, QStringLiteral("15"));
        SettingsForm::State state = SettingsForm::read(config, false);
        QCOMPARE(state.sources.front().intervalIndex, -1);
        SettingsForm::write(config, state);
        QCOMPARE(config.GetNodeAttrib(fxark, ConfigPaths::IntervalTime), QStringLiteral("15"));
    }

    void missingElementsAndAttributesAreCreatedNotReported()
    {
        const std::unique_ptr<cls_Config> configStore = load("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<App><Settings/></App>\n");
        cls_Config &config = *configStore;
        SettingsForm::State state = SettingsForm::read(config, false);
        QVERIFY(!state.popup);
        QCOMPARE(state.durationIndex, 0);
        QCOMPARE(state.sources.front().intervalIndex, -1);
        state.popup = true;
        state.sources[5] = {true, 1};
        SettingsForm::write(config, state);
        QVERIFY(m_sink.messages().isEmpty());
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Checked), QStringLiteral("1"));
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Duration), QStringLiteral("-1"));
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::source(QStringLiteral("HeXun")), ConfigPaths::IntervalTime),
                 QStringLiteral("40"));
        QVERIFY(!config.isExistAttrib(ConfigPaths::source(QStringLiteral("FXark")), ConfigPaths::IntervalTime));
        QCOMPARE(config.GetNodeAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Checked), QStringLiteral("0"));
    }

    // The feed list the dialog edits keeps what it does not touch: an entry in
    // error and attributes it does not know stay as written, in their place;
    // a file without the Feeds element gets one.
    void theFeedListKeepsWhatItDoesNotTouch()
    {
        const QByteArray xml = "<App><Settings><Tavrin><Feeds>"
                               "<Feed Name=\"甲\" Url=\"https://a.example.cn/\" IntervalTime=\"often\"/>"
                               "<Feed Extra=\"x\" Name=\"乙\" Url=\"https://b.example.cn/\"/>"
                               "</Feeds></Tavrin></Settings></App>";
        const std::unique_ptr<cls_Config> configStore = load(xml);
        cls_Config &config = *configStore;
        FeedList list;
        list.read(config);
        QCOMPARE(list.size(), 2);
        QVERIFY(list.line(0).contains(QStringLiteral("有误")));
        QCOMPARE(list.line(1), QStringLiteral("乙  每60秒  启用  https://b.example.cn/"));
        NewsSource changed = list.fields(1);
        QCOMPARE(list.change(1, changed), QString()); // its own name is not taken by itself
        changed.name = QStringLiteral("甲");
        QVERIFY(list.change(1, changed).contains(QStringLiteral("名称已被使用")));
        changed.name = QStringLiteral("丙");
        changed.interval = 90;
        QCOMPARE(list.add(changed), QString());
        QVERIFY(list.write(config));
        QVERIFY(config.XMLSave());
        const QByteArray saved = m_folder.readFile(QStringLiteral("tavrin.xml"));
        QVERIFY2(saved.contains("<Feed Name=\"甲\" Url=\"https://a.example.cn/\" IntervalTime=\"often\"/>"
                                "<Feed Name=\"乙\" Url=\"https://b.example.cn/\" Checked=\"1\" IntervalTime=\"60\" Kind=\"auto\" Extra=\"x\"/>"
                                "<Feed Name=\"丙\" Url=\"https://b.example.cn/\" Checked=\"1\" IntervalTime=\"90\" Kind=\"auto\"/>"),
                 saved.constData());

        const std::unique_ptr<cls_Config> bareStore = load("<App><Settings><Tavrin/></Settings></App>");
        cls_Config &bare = *bareStore;
        list.read(bare);
        QCOMPARE(list.add(changed), QString());
        QVERIFY(list.write(bare));
        QCOMPARE(bare.elements(ConfigPaths::Feeds, ConfigPaths::FeedElement).size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_SettingsForm)
#include "tst_SettingsForm.moc"
