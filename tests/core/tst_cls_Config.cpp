#include "core/NumberText.h"
#include "core/TextEncoding.h"
#include "core/cls_Config.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray sample = R"(<?xml version="1.0" encoding="UTF-8"?>
<App>
  <Settings>
    <Tavrin>
      <Source>
        <FXark Checked="1" IntervalTime="30"/>
        <FX168 Checked="0" IntervalTime="abc"/>
      </Source>
      <Popup Checked="1" Duration="-1" SoundFile="">弹窗</Popup>
    </Tavrin>
    <LiveUpdate/>
  </Settings>
  <Window>
    <Tavrin_Main Left="10" Top="20" Width="920" Height="680"/>
    <Deep><FXBar Left="5"/></Deep>
  </Window>
  <FXCalendar DateFrom="2026-3-2">
    <Week1/><Week2/><Week3/><Week4/><Week5/>
  </FXCalendar>
</App>
)";

const QString missingBox = cls_Config::errorBoxText(91, cls_Config::missingNodeDescription());

} // namespace

class tst_cls_Config : public QObject
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
        m_sink.clear();
        return config;
    }

private Q_SLOTS:
    void errorBoxText_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both") << 91 << QStringLiteral("未设置") << QStringLiteral("错误:#91 - 未设置");
        QTest::newRow("zero number") << 0 << QStringLiteral("x") << QStringLiteral("错误:#未知 - x");
        QTest::newRow("empty description") << 5 << QString() << QStringLiteral("错误:#5 - 未知");
    }
    void errorBoxText()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, expected);
        QCOMPARE(cls_Config::errorBoxText(number, description), expected);
    }

    void initializeRefusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("No document element");
        QTest::newRow("truncated") << sample.left(sample.size() / 2) << QStringLiteral("格式错误");
        QTest::newRow("not xml") << QByteArray("key=value\n") << QStringLiteral("格式错误");
        QTest::newRow("other root") << QByteArray("<Config><Settings/></Config>") << QStringLiteral("Config");
    }
    void initializeRefusesBadFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, messagePart);
        m_sink.clear();
        cls_Config config(&m_sink);
        config.setXmlFile(m_folder.writeFile(QStringLiteral("bad.xml"), content));
        QVERIFY(!config.Initialize());
        QVERIFY(config.Error());
        QVERIFY(!config.OK());
        QCOMPARE(m_sink.messages().size(), 1);
        QCOMPARE(m_sink.messages().front().icon, MessageIcon::Critical);
        QVERIFY2(m_sink.messages().front().text.contains(messagePart), qPrintable(m_sink.messages().front().text));
        QCOMPARE(m_folder.readFile(QStringLiteral("bad.xml")), content);
    }

    void parseErrorNamesThePosition()
    {
        cls_Config config(&m_sink);
        m_sink.clear();
        config.setXmlFile(m_folder.writeFile(QStringLiteral("bad.xml"), "<App>\n  <Window>\n  </Windoe>\n</App>"));
        QVERIFY(!config.Initialize());
        QVERIFY2(m_sink.texts().front().contains(QStringLiteral("第 3 行")), qPrintable(m_sink.texts().front()));
    }

    void initializeWithoutFileNameDoesNothing()
    {
        cls_Config config(&m_sink);
        m_sink.clear();
        QVERIFY(!config.Initialize());
        QVERIFY(!config.Error());
        QVERIFY(m_sink.messages().isEmpty());
    }

    void readsAttributesByFirstMatchPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("box");
        QTest::newRow("source") << "Settings/Tavrin/Source/FXark" << "IntervalTime" << "30" << false;
        QTest::newRow("negative") << "Settings/Tavrin/Popup" << "Duration" << "-1" << false;
        QTest::newRow("empty value") << "Settings/Tavrin/Popup" << "SoundFile" << "" << false;
        QTest::newRow("missing attribute") << "Window/Tavrin_Main" << "Colour" << "" << true;
        QTest::newRow("missing element") << "Window/FXQuote" << "Left" << "" << true;
        QTest::newRow("children only, not deeper") << "Window/FXBar" << "Left" << "" << true;
        QTest::newRow("leading slash ignored") << "/Window/Tavrin_Main" << "Top" << "20" << false;
    }
    void readsAttributesByFirstMatchPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        QFETCH(bool, box);
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        // A setting that may be absent reads as its default, stored values as stored, without a box.
        QCOMPARE(config.value(path, attribute, u"默认"_s), box ? u"默认"_s : value);
        QVERIFY(m_sink.messages().isEmpty());
        QCOMPARE(config.GetNodeAttrib(path, attribute), value);
        QCOMPARE(m_sink.texts(), box ? QStringList{missingBox} : QStringList{});
    }

    void numbersOfAttributes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("plain") << "60" << 60;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("blank and plus") << " +5" << 5;
        QTest::newRow("trailing text") << "30s" << 30;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("huge") << "99999999999" << 2147483647;
    }
    void numbersOfAttributes()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(numberFromText(text), number);
    }

    void nonNumericAttributeReadsAsZero()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QCOMPARE(config.GetNodeAttribNumber(QStringLiteral("Settings/Tavrin/Source/FX168"), QStringLiteral("IntervalTime")), 0);
        QVERIFY(m_sink.messages().isEmpty());
    }

    void nodeTextIsSilentForMissingElements()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QCOMPARE(config.GetNodeText(QStringLiteral("Settings/Tavrin/Popup")), QStringLiteral("弹窗"));
        QCOMPARE(config.GetNodeText(QStringLiteral("Settings/Tavrin/Nothing")), QString());
        QVERIFY(m_sink.messages().isEmpty());
        QVERIFY(config.SetNodeText(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("a<b")));
        QCOMPARE(config.GetNodeText(QStringLiteral("Window/Tavrin_Main")), QStringLiteral("a<b"));
        QVERIFY(!config.SetNodeText(QStringLiteral("Window/Nothing"), QStringLiteral("x")));
        QCOMPARE(m_sink.texts(), QStringList{missingBox});
    }

    void setNodeAttribNeverCreates()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QVERIFY(config.SetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Left"), QStringLiteral("77")));
        QCOMPARE(config.GetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Left")), QStringLiteral("77"));
        QVERIFY(!config.SetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Right"), QStringLiteral("1")));
        QVERIFY(!config.isExistAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Right")));
        QCOMPARE(m_sink.texts(), QStringList{missingBox});
    }

    void existenceTests_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("child") << "Window" << "Tavrin_Main" << true;
        QTest::newRow("descendant") << "Window" << "FXBar" << true;
        QTest::newRow("absent") << "Window" << "FXQuote" << false;
        QTest::newRow("empty parent is App") << "" << "Week3" << true;
        QTest::newRow("missing parent") << "Nowhere" << "FXBar" << false;
        QTest::newRow("not below parent") << "Settings" << "FXBar" << false;
    }
    void existenceTests()
    {
        QFETCH(QString, parent);
        QFETCH(QString, name);
        QFETCH(bool, exists);
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QCOMPARE(config.isExist(parent, name), exists);
        QVERIFY(m_sink.messages().isEmpty());
    }

    void createOperationsAreSilent()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QVERIFY(config.CreateNode(QStringLiteral("Window"), QStringLiteral("FXQuote")));
        QVERIFY(config.CreateAttrib(QStringLiteral("Window/FXQuote"), QStringLiteral("Left"), QStringLiteral("-1")));
        QVERIFY(config.CreateAttrib(QStringLiteral("Window/FXQuote"), QStringLiteral("Left"), QStringLiteral("3")));
        QCOMPARE(config.GetNodeAttrib(QStringLiteral("Window/FXQuote"), QStringLiteral("Left")), QStringLiteral("3"));
        QVERIFY(!config.CreateNode(QStringLiteral("Nowhere"), QStringLiteral("X")));
        QVERIFY(!config.CreateNode(QStringLiteral("Window"), QStringLiteral("bad name")));
        QVERIFY(!config.CreateAttrib(QStringLiteral("Nowhere"), QStringLiteral("A"), QStringLiteral("1")));
        QVERIFY(!config.CreateAttrib(QStringLiteral("Window"), QStringLiteral("1st"), QStringLiteral("1")));
        QVERIFY(!config.isExistAttrib(QStringLiteral("Nowhere"), QStringLiteral("A")));
        QVERIFY(m_sink.messages().isEmpty());
    }

    void startupRepairsAddWhatIsMissing()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        config.ApplyStartupRepairs();
        QVERIFY(!config.isExistAttrib(QStringLiteral("Settings/LiveUpdate"), QStringLiteral("Checked")));
        config.RepairLiveUpdateSetting();
        const QString hexun = QStringLiteral("Settings/Tavrin/Source/HeXun");
        QCOMPARE(config.GetNodeAttrib(hexun, QStringLiteral("Checked")), QStringLiteral("1"));
        QCOMPARE(config.GetNodeAttrib(hexun, QStringLiteral("IntervalTime")), QStringLiteral("60"));
        // FXBar exists deeper below Window, so no direct child is added.
        QVERIFY(!config.isExistAttrib(QStringLiteral("Window/FXBar"), QStringLiteral("Top")));
        const QString quote = QStringLiteral("Window/FXQuote");
        QCOMPARE(config.GetNodeAttrib(quote, QStringLiteral("Left")), QStringLiteral("-1"));
        QCOMPARE(config.GetNodeAttrib(quote, QStringLiteral("FixedWidth")), QStringLiteral("200"));
        QCOMPARE(config.GetNodeAttrib(quote, QStringLiteral("Status")), QStringLiteral("0"));
        for (int day = 1; day <= 5; ++day)
            QVERIFY(config.isExistAttrib(QStringLiteral("FXCalendar/Week%1").arg(day), QStringLiteral("Event")));
        QCOMPARE(config.GetNodeAttrib(QStringLiteral("Settings/LiveUpdate"), QStringLiteral("Checked")), QStringLiteral("1"));
        QVERIFY(m_sink.messages().isEmpty());

        // A LiveUpdate element without the attribute leaves a second, empty one.
        QVERIFY(config.XMLSave());
        const QByteArray saved = m_folder.readFile(QStringLiteral("tavrin.xml"));
        QCOMPARE(saved.count("<LiveUpdate"), 2);
        QVERIFY(saved.indexOf("<LiveUpdate Checked=\"1\"") < saved.lastIndexOf("<LiveUpdate/>"));

        // Repairs are idempotent.
        config.ApplyStartupRepairs();
        config.RepairLiveUpdateSetting();
        QVERIFY(config.XMLSave());
        QCOMPARE(m_folder.readFile(QStringLiteral("tavrin.xml")), saved);
    }

    void repairsLeaveACompleteFileAlone()
    {
        const std::unique_ptr<cls_Config> configStore = load(TempProgramFolder::defaultConfig());
        cls_Config &config = *configStore;
        config.ApplyStartupRepairs();
        config.RepairLiveUpdateSetting();
        QVERIFY(config.XMLSave());
        const std::unique_ptr<cls_Config> reloadedStore = load(m_folder.readFile(QStringLiteral("tavrin.xml")));
        cls_Config &reloaded = *reloadedStore;
        QCOMPARE(m_folder.readFile(QStringLiteral("tavrin.xml")).count("<LiveUpdate"), 1);
        QCOMPARE(reloaded.GetNodeAttrib(QStringLiteral("Window/FXBar"), QStringLiteral("Left")), QStringLiteral("0"));
    }

    void theFirstMatchInDocumentOrderWins()
    {
        const std::unique_ptr<cls_Config> configStore = load("<App><Settings><Other/></Settings><Settings><Site Url=\"http://second\"/></Settings>"
                                 "<Settings><Site Url=\"http://third\"/></Settings></App>");
        cls_Config &config = *configStore;
        QCOMPARE(config.GetNodeAttrib(u"Settings/Site"_s, u"Url"_s), u"http://second"_s);
        QVERIFY(config.SetNodeAttrib(u"Settings/Site"_s, u"Url"_s, u"http://changed"_s));
        QCOMPARE(config.GetNodeAttrib(u"Settings/Site"_s, u"Url"_s), u"http://changed"_s);
        QVERIFY(m_sink.messages().isEmpty());
    }

    void anEmptyPathNamesTheRootOnlyForExistenceAndCreation()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QVERIFY(config.isExist(QString(), u"Tavrin_Main"_s));
        QVERIFY(config.CreateNode(QString(), u"Extra"_s));
        QVERIFY(config.isExist(QString(), u"Extra"_s));
        QVERIFY(m_sink.messages().isEmpty());
        QVERIFY(!config.SetNodeText(QString(), u"x"_s));
        QCOMPARE(config.GetNodeAttrib(QString(), u"Left"_s), QString());
        QVERIFY(!config.SetNodeAttrib(QString(), u"Left"_s, u"1"_s));
        QVERIFY(!config.isExistAttrib(QString(), u"Left"_s));
        QCOMPARE(m_sink.texts(), (QStringList{missingBox, missingBox, missingBox}));
        // The document is whole.
        QCOMPARE(config.GetNodeAttrib(u"Window/Tavrin_Main"_s, u"Left"_s), u"10"_s);
    }

    void saveKeepsCommentsInstructionsAndLayout()
    {
        const QByteArray content = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!DOCTYPE App>\n"
                                   "<!-- Tessaly settings: edit with care -->\n"
                                   "<?tessaly note?>\n"
                                   "<App>\n"
                                   "\t<Window>\n"
                                   "\t\t<!-- where the main window was -->\n"
                                   "\t\t<Tavrin_Main Left=\"1\" Top=\"2\" />\n"
                                   "\t</Window>\n"
                                   "</App>\n";
        const std::unique_ptr<cls_Config> configStore = load(content);
        cls_Config &config = *configStore;
        QVERIFY(config.SetNodeAttrib(u"Window/Tavrin_Main"_s, u"Left"_s, u"300"_s));
        QVERIFY(config.XMLSave());
        QByteArray expected = content;
        expected.replace("Left=\"1\"", "Left=\"300\"");
        // An empty element is written closed without the space.
        QCOMPARE(m_folder.readFile(u"tavrin.xml"_s), expected.replace(" />", "/>"));
    }

    void aFileInAnotherEncodingIsReadAndWrittenInIt()
    {
        const QByteArray text = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<App><Settings><Site Name=\"外汇资讯\"/></Settings></App>\n";
        const QByteArray gb = *TextEncoding::convert(text, "UTF-8", "GB2312");
        QVERIFY(gb != text);
        const std::unique_ptr<cls_Config> configStore = load(gb);
        cls_Config &config = *configStore;
        QVERIFY(config.OK());
        QCOMPARE(config.GetNodeAttrib(u"Settings/Site"_s, u"Name"_s), u"外汇资讯"_s);
        QVERIFY(config.SetNodeAttrib(u"Settings/Site"_s, u"Name"_s, u"财经日历"_s));
        QVERIFY(config.XMLSave());
        const QByteArray saved = m_folder.readFile(u"tavrin.xml"_s);
        QVERIFY(saved.startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>"));
        QCOMPARE(saved, *TextEncoding::convert(QByteArray(text).replace("外汇资讯", "财经日历"), "UTF-8", "GB2312"));

    }

    // Whatever text the program stores, the file saves in its own encoding
    // and reads back the same: GB2312 and GBK labels hold GB18030, a
    // character the encoding lacks is a character reference, a byte-order
    // mark stays.
    void everyTextSavesInTheFilesEncoding_data()
    {
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<QByteArray>("encoding"); // in which the file is written
        QTest::addColumn<QByteArray>("bom");
        QTest::addColumn<QString>("stored");      // already in the file
        QTest::addColumn<QString>("value");       // stored by the program, then saved
        QTest::addColumn<QByteArray>("written");  // how the value stands in the file, in its encoding's bytes

        const QString gbkOnly = u"镕基瑈"_s;
        const QString outside = u"€\U0001F4C8"_s;
        QTest::newRow("gb2312 label, gbk-only text in the file") << QByteArray("gb2312") << QByteArray("GB18030")
                                                                 << QByteArray() << gbkOnly << u"外汇"_s << QByteArray();
        QTest::newRow("gb2312 label, text beyond gb2312 stored") << QByteArray("GB2312") << QByteArray("GB18030")
                                                                 << QByteArray() << u"外汇"_s << gbkOnly + outside << QByteArray();
        QTest::newRow("gbk label") << QByteArray("GBK") << QByteArray("GB18030") << QByteArray() << gbkOnly << outside
                                   << QByteArray();
        QTest::newRow("latin-1: a reference for what it lacks") << QByteArray("ISO-8859-1") << QByteArray("ISO-8859-1")
                                                               << QByteArray() << u"café"_s << u"é 财经"_s
                                                               << QByteArray("\xE9 &#36130;&#32463;");
        QTest::newRow("big5: a reference for the simplified form") << QByteArray("Big5") << QByteArray("BIG5")
                                                                  << QByteArray() << u"財經"_s << u"财"_s
                                                                  << QByteArray("&#36130;");
        QTest::newRow("utf-16 keeps its mark") << QByteArray("UTF-16") << QByteArray("UTF-16LE") << QByteArray("\xFF\xFE")
                                               << u"外汇"_s << outside << QByteArray();
        QTest::newRow("utf-8 keeps its mark") << QByteArray("UTF-8") << QByteArray("UTF-8") << QByteArray("\xEF\xBB\xBF")
                                              << u"外汇"_s << outside << QByteArray();
    }
    void everyTextSavesInTheFilesEncoding()
    {
        QFETCH(QByteArray, label);
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, bom);
        QFETCH(QString, stored);
        QFETCH(QString, value);
        QFETCH(QByteArray, written);
        const QString text = u"<?xml version=\"1.0\" encoding=\""_s + QString::fromLatin1(label)
            + u"\"?>\n<App><Settings><Site Name=\""_s + stored + u"\"/></Settings></App>\n"_s;
        const QByteArray file = bom + *TextEncoding::convert(text.toUtf8(), "UTF-8", encoding);
        const std::unique_ptr<cls_Config> configStore = load(file);
        cls_Config &config = *configStore;
        QVERIFY(config.OK());
        QCOMPARE(config.GetNodeAttrib(u"Settings/Site"_s, u"Name"_s), stored);
        QVERIFY(config.SetNodeAttrib(u"Settings/Site"_s, u"Name"_s, value));
        QVERIFY(config.XMLSave());
        const QByteArray saved = m_folder.readFile(u"tavrin.xml"_s);
        QVERIFY(saved.startsWith(bom));
        QVERIFY(bom.isEmpty() || !saved.mid(bom.size()).startsWith(bom));
        const QByteArray declaration = *TextEncoding::convert("<?xml version=\"1.0\" encoding=\"" + label + "\"?>", "UTF-8", encoding);
        QVERIFY(saved.mid(bom.size()).startsWith(declaration));
        if (!written.isEmpty())
            QVERIFY2(saved.contains(written), saved.constData());
        const std::unique_ptr<cls_Config> reloadedStore = load(saved);
        cls_Config &reloaded = *reloadedStore;
        QVERIFY(reloaded.OK());
        QCOMPARE(reloaded.GetNodeAttrib(u"Settings/Site"_s, u"Name"_s), value);
    }

    void anEncodingNobodyKnowsIsRefused()
    {
        m_sink.clear();
        cls_Config config(&m_sink);
        config.setXmlFile(m_folder.writeFile(u"tavrin.xml"_s, "<?xml version=\"1.0\" encoding=\"x-nonsense\"?><App/>"));
        QVERIFY(!config.Initialize());
        QVERIFY(config.Error());
        QCOMPARE(m_sink.texts(), QStringList{u"配置文件 tavrin.xml 无法按其声明的编码 x-nonsense 读取"_s});
    }

    void saveKeepsDeclarationAndChanges_data()
    {
        QTest::addColumn<QByteArray>("declaration");
        QTest::newRow("utf-8") << QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>)");
        QTest::newRow("standalone") << QByteArray(R"(<?xml version="1.0" encoding="utf-8" standalone="yes"?>)");
        QTest::newRow("none") << QByteArray();
    }
    void saveKeepsDeclarationAndChanges()
    {
        QFETCH(QByteArray, declaration);
        const QByteArray content = declaration + "\n<App><Window><Tavrin_Main Left=\"1\"/></Window></App>";
        const std::unique_ptr<cls_Config> configStore = load(content);
        cls_Config &config = *configStore;
        QVERIFY(config.SetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Left"), QStringLiteral("中文&\"<")));
        QCOMPARE(m_folder.readFile(QStringLiteral("tavrin.xml")), content); // nothing written before the save
        QVERIFY(config.XMLSave());
        const QByteArray saved = m_folder.readFile(QStringLiteral("tavrin.xml"));
        QCOMPARE(saved.startsWith("<?xml"), !declaration.isEmpty());
        if (!declaration.isEmpty())
            QCOMPARE(saved.left(saved.indexOf('\n')), declaration);
        const std::unique_ptr<cls_Config> reloadedStore = load(saved);
        cls_Config &reloaded = *reloadedStore;
        QCOMPARE(reloaded.GetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Left")), QStringLiteral("中文&\"<"));
    }

    void failedSaveIsReportedAndLosesNothing()
    {
        const std::unique_ptr<cls_Config> configStore = load(sample);
        cls_Config &config = *configStore;
        QDir(m_folder.path()).mkpath(QStringLiteral("occupied"));
        config.setXmlFile(m_folder.filePath(QStringLiteral("occupied")));
        QVERIFY(!config.XMLSave());
        QCOMPARE(m_sink.messages().size(), 1);
        QVERIFY(m_sink.texts().front().startsWith(QStringLiteral("配置文件保存失败")));

        config.setXmlFile(m_folder.filePath(QStringLiteral("no/such/folder/tavrin.xml")));
        QVERIFY(!config.XMLSave());
        QCOMPARE(m_sink.messages().size(), 2);
    }

    void crashDuringSaveLeavesAWholeFile()
    {
        // A document big enough that writing it takes a while; the child saving
        // it is killed at varying moments, and each time the file on disk must
        // be either the old document or the new one, never a torn one.
        QByteArray big = "<App><Window><Tavrin_Main Left=\"old\"/></Window><FXCalendar><Week1>";
        for (int i = 0; i < 200000; ++i)
            big += "<Item Time=\"08:30\" Notify=\"1\">美国非农就业人数变化</Item>";
        big += "</Week1></FXCalendar></App>";
        for (int round = 0; round < 6; ++round) {
            const std::unique_ptr<cls_Config> configStore = load(big);
            cls_Config &config = *configStore;
            QVERIFY(config.SetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Left"), QStringLiteral("new")));
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                config.XMLSave();
                _exit(0);
            }
            usleep(static_cast<useconds_t>(5000 + round * 15000));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);

            const std::unique_ptr<cls_Config> afterStore = load(m_folder.readFile(QStringLiteral("tavrin.xml")));
            cls_Config &after = *afterStore;
            QVERIFY(after.OK());
            const QString left = after.GetNodeAttrib(QStringLiteral("Window/Tavrin_Main"), QStringLiteral("Left"));
            QVERIFY2(left == QStringLiteral("old") || left == QStringLiteral("new"), qPrintable(left));
            if (left == QStringLiteral("old"))
                QCOMPARE(m_folder.readFile(QStringLiteral("tavrin.xml")), big);
        }
    }
};

QTEST_GUILESS_MAIN(tst_cls_Config)
#include "tst_cls_Config.moc"

