#include "html/HtmlDocument.h"
#include "protocol/SourceId.h"
#include "worker/PageDecoder.h"
#include "worker/PageText.h"
#include "worker/PopupSnippet.h"
#include "worker/SourceParsers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

QString fixtureDir()
{
    return QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/fixtures/");
}

ParseEvents parse(qint32 id, const QString &page, const QString &known = {},
                  const QString &url = QStringLiteral("http://127.0.0.1/list.html"))
{
    HtmlDocument doc;
    return SourceParsers::parse(SourceId::name(id), page, known, url, doc);
}

QStringList msgInfos(const ParseEvents &events)
{
    QStringList infos;
    for (const ParseEvent &event : events) {
        if (event.kind == ParseEvent::Msg)
            infos << event.cellInfo;
    }
    return infos;
}

const QString tailClick = QStringLiteral(
    "';GetObj('popupWin_iLink').click();\" onMouseOver=\"this.className='popupTextHover';\" "
    "onMouseOut=\"this.className='popupText';\">");
const QString tailFire = QStringLiteral(
    "';popupWin_iLink.fireEvent('onclick');\" onMouseOver=\"this.className='popupTextHover';\" "
    "onMouseOut=\"this.className='popupText';\">");

QString linkedSnippet(const QString &icon, const QString &link, const QString &tail, const QString &time,
                      const QString &title)
{
    return QStringLiteral("<img src='") + icon
        + QStringLiteral("' align='absmiddle'/>&nbsp;<span style='text-decoration:underline' "
                         "onClick=\"popupWin_iLink.innerText='")
        + link + tail + time + QStringLiteral("&nbsp;") + title + QStringLiteral("</span>");
}

QString plainSnippet(const QString &icon, const QString &time, const QString &title)
{
    return QStringLiteral("<img src='") + icon + QStringLiteral("' align='absmiddle'/>&nbsp;<span>") + time
        + QStringLiteral("&nbsp;") + title + QStringLiteral("</span>");
}

QString fx168Page(const QString &rows)
{
    return QStringLiteral("<html><body><table id=\"DataList1\">") + rows + QStringLiteral("</table></body></html>");
}

QString fx168Row(const QString &time, const QString &title, const QString &href = QStringLiteral("/n/1.html"))
{
    return QStringLiteral("<tr><td>") + time + QStringLiteral("</td><td><a href=\"") + href + QStringLiteral("\">")
        + title + QStringLiteral("</a></td></tr>");
}

} // namespace

class tst_SourceParsers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixtures_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList names = QDir(fixtureDir()).entryList({QStringLiteral("*.expect.json")});
        QVERIFY(names.size() >= 12);
        for (const QString &file : names) {
            const QString name = file.chopped(12);
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void fixtures()
    {
        QFETCH(QString, name);
        QFile expectFile(fixtureDir() + name + QStringLiteral(".expect.json"));
        QVERIFY(expectFile.open(QIODevice::ReadOnly));
        const QJsonObject expect = QJsonDocument::fromJson(expectFile.readAll()).object();
        QFile pageFile(fixtureDir() + expect.value(QStringLiteral("page")).toString());
        QVERIFY(pageFile.open(QIODevice::ReadOnly));
        const qint32 id = SourceId::fromText(expect.value(QStringLiteral("source")).toString());
        const ParseEvents events = parse(id, PageDecoder::decode(SourceId::name(id), pageFile.readAll()),
                                         expect.value(QStringLiteral("known")).toString(),
                                         expect.value(QStringLiteral("url")).toString());
        QVERIFY(!events.empty());

        if (expect.contains(QStringLiteral("error"))) {
            QCOMPARE(events.back().kind, ParseEvent::Error);
            QCOMPARE(events.back().message, expect.value(QStringLiteral("error")).toString());
            return;
        }
        QCOMPARE(events.back().kind, ParseEvent::Complete);
        QCOMPARE(events.back().isNew, expect.value(QStringLiteral("new")).toBool());
        const QJsonArray wanted = expect.value(QStringLiteral("events")).toArray();
        QCOMPARE(qsizetype(events.size()), wanted.size() + 1);

        const QString icon = SourceId::icon(SourceId::name(id));
        QStringList recent; // snippets so far, newest first
        for (qsizetype i = 0; i < wanted.size(); ++i) {
            const ParseEvent &event = events[size_t(i)];
            const QJsonObject item = wanted.at(i).toObject();
            QCOMPARE(event.kind, ParseEvent::Msg);
            QCOMPARE(event.cellTime, item.value(QStringLiteral("time")).toString());
            QCOMPARE(event.cellInfo, item.value(QStringLiteral("info")).toString());
            QCOMPARE(event.href, item.value(QStringLiteral("href")).toString());

            // The buffer is this item's snippet in front of the nine newest before it.
            const QString tail = recent.mid(0, 9).join(u'~');
            QVERIFY(event.popup.endsWith(tail));
            const QString snippet = recent.isEmpty() ? event.popup : event.popup.chopped(tail.size() + 1);
            if (!recent.isEmpty())
                QCOMPARE(event.popup, snippet + u'~' + tail);
            QVERIFY2(snippet.startsWith(QStringLiteral("<img src='") + icon + QStringLiteral("' align='absmiddle'/>&nbsp;<span")),
                     qPrintable(snippet));
            QVERIFY(snippet.endsWith(QStringLiteral("</span>")));
            QVERIFY(snippet.contains(PageText::displayText(event.cellTime) + QStringLiteral("&nbsp;")));
            QCOMPARE(snippet.contains(QStringLiteral("innerText='") + PageText::snippetLink(event.href) + u'\''),
                     !event.href.isEmpty());
            if (id != s_Dailyfx)
                QVERIFY(snippet.contains(QStringLiteral("&nbsp;") + PageText::displayText(event.cellInfo) + QStringLiteral("</span>")));
            recent.prepend(snippet);
        }
        const QString lastPopup = recent.mid(0, 10).join(u'~');

        // Whatever the titles held, the popup is our markup only.
        HtmlDocument popup;
        popup.setBodyInnerHtml(lastPopup);
        QCOMPARE(popup.getElementsByTagName(QStringLiteral("script")).length(), 0);
        const HtmlCollection images = popup.getElementsByTagName(QStringLiteral("img"));
        QCOMPARE(images.length(), int(std::min<qsizetype>(wanted.size(), 10)));
        for (int i = 0; i < images.length(); ++i) {
            QCOMPARE(images.item(i).attribute(QStringLiteral("src")), icon);
            QCOMPARE(images.item(i).attribute(QStringLiteral("onerror")), QString());
        }
    }

    void threeNewItemsComeOldestFirst()
    {
        const QString page = fx168Page(fx168Row(QStringLiteral("09/05 14:30"), QStringLiteral("新三"))
                                       + fx168Row(QStringLiteral("09/05 14:20"), QStringLiteral("中二..."))
                                       + fx168Row(QStringLiteral("09/05 14:10"), QStringLiteral("旧一")));
        const ParseEvents events = parse(s_FX168, page);
        QCOMPARE(msgInfos(events), QStringList({QStringLiteral("旧一"), QStringLiteral("中二..."), QStringLiteral("新三")}));
        const QString first = plainSnippet(QStringLiteral("FX168.gif"), QStringLiteral("09/05 14:10"), QStringLiteral("旧一"));
        const QString second = linkedSnippet(QStringLiteral("FX168.gif"), QStringLiteral("http://127.0.0.1/n/1.html"), tailClick,
                                             QStringLiteral("09/05 14:20"), QStringLiteral("中二..."));
        const QString third = plainSnippet(QStringLiteral("FX168.gif"), QStringLiteral("09/05 14:30"), QStringLiteral("新三"));
        QCOMPARE(events[0].popup, first);
        QCOMPARE(events[1].popup, second + u'~' + first);
        QCOMPARE(events[2].popup, third + u'~' + second + u'~' + first);
        QCOMPARE(events[1].href, QStringLiteral("http://127.0.0.1/n/1.html"));
        QCOMPARE(events[0].href, QString());
        QVERIFY(events[3].kind == ParseEvent::Complete && events[3].isNew);
    }

    void popupKeepsTheTenNewest()
    {
        // Twelve items, newest (条目12) first on the page.
        QString rows;
        for (int i = 12; i >= 1; --i)
            rows += fx168Row(QStringLiteral("10:%1").arg(i, 2, 10, QChar(u'0')), QStringLiteral("条目%1").arg(i));
        const ParseEvents events = parse(s_FX168, fx168Page(rows));
        QCOMPARE(events.size(), size_t(13));
        const QString last = events[11].popup;
        QCOMPARE(last.count(QStringLiteral("<img ")), 10);
        QVERIFY(last.startsWith(plainSnippet(QStringLiteral("FX168.gif"), QStringLiteral("10:12"), QStringLiteral("条目12"))));
        QVERIFY(last.endsWith(plainSnippet(QStringLiteral("FX168.gif"), QStringLiteral("10:03"), QStringLiteral("条目3"))));

        // FXark still reports a repeated item once, however far back it was.
        QString fxark = QStringLiteral("<form><dl>");
        fxark += QStringLiteral("<dt><span>09-05 08:00</span><a href='/0'>重复</a></dt>");
        for (int i = 1; i <= 12; ++i)
            fxark += QStringLiteral("<dt><span>09-05 09:%1</span><a href='/%1'>条目%1</a></dt>").arg(i, 2, 10, QChar(u'0'));
        fxark += QStringLiteral("<dt><span>09-05 08:00</span><a href='/0'>重复</a></dt></dl></div>\n</form>");
        QCOMPARE(msgInfos(parse(s_FXark, fxark)).count(QStringLiteral("重复")), 1);
    }

    void knownItemsAreNotReported_data()
    {
        QTest::addColumn<QString>("known");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("nothing known") << QString() << QStringList{QStringLiteral("美元走强"), QStringLiteral("欧元走弱")};
        QTest::newRow("all known") << QStringLiteral("美元走强欧元走弱") << QStringList{};
        QTest::newRow("part of a longer known title") << QStringLiteral("分析：欧元走弱加剧") << QStringList{QStringLiteral("美元走强")};
        QTest::newRow("across two known titles") << QStringLiteral("日元美元走") << QStringList{QStringLiteral("美元走强"), QStringLiteral("欧元走弱")};
    }
    void knownItemsAreNotReported()
    {
        QFETCH(QString, known);
        QFETCH(QStringList, reported);
        const QString page = fx168Page(fx168Row(QStringLiteral("14:30"), QStringLiteral("欧元走弱"))
                                       + fx168Row(QStringLiteral("14:20"), QStringLiteral("美元走强")));
        const ParseEvents events = parse(s_FX168, page, known);
        QCOMPARE(msgInfos(events), reported);
        QCOMPARE(events.back().isNew, !reported.isEmpty());
    }

    void barsAndHostileTitlesStayText()
    {
        const QString title = QStringLiteral("a|b`c' <i>\"d\"</i>...");
        const QString page = fx168Page(fx168Row(QStringLiteral("10:00"), title.toHtmlEscaped(), QStringLiteral("/x?a=1&amp;b='2'")));
        const ParseEvents events = parse(s_FX168, page);
        QCOMPARE(events.front().cellInfo, title);
        QCOMPARE(events.front().popup,
                 linkedSnippet(QStringLiteral("FX168.gif"), QStringLiteral("http://127.0.0.1/x?a=1&amp;b=%272%27"), tailClick,
                               QStringLiteral("10:00"),
                               QStringLiteral("a|b`c&#39; &lt;i&gt;&quot;d&quot;&lt;/i&gt;...")));
    }

    void noLinkMeansThePlainForm_data()
    {
        QTest::addColumn<QString>("href");
        QTest::newRow("javascript") << "javascript:alert(1)";
        QTest::newRow("data") << "data:text/html,x";
        QTest::newRow("empty") << "";
    }
    void noLinkMeansThePlainForm()
    {
        QFETCH(QString, href);
        const QString page = QStringLiteral("<div class=\"mainbox\"><ul><li><span>(10:00)</span><a href=\"") + href
            + QStringLiteral("\">标题</a></li></ul></div>");
        const ParseEvents events = parse(s_HeXun, page);
        QCOMPARE(events.front().href, QString());
        QCOMPARE(events.front().popup, plainSnippet(QStringLiteral("hexun.gif"), QStringLiteral("10:00"), QStringLiteral("标题")));
    }

    void fxarkBriefsAndDuplicates()
    {
        const QString page = QStringLiteral(
            "<form><dl>"
            "<dt><span>09-05 14:30</span><a href='/a.html'>普通新闻</a></dt><dd></dd>"
            "<dt><span>09-05 14:20</span><a>【短讯】美元指数短线…</a></dt><dd><div><a>【短讯】美元指数短线走高，突破关口</a></div></dd>"
            "<dt><span>09-05 14:30</span><a href='/a.html'>普通新闻</a></dt><dd></dd>"
            "</dl></div>\n</form>");
        const ParseEvents events = parse(s_FXark, page);
        QCOMPARE(msgInfos(events), QStringList({QStringLiteral("普通新闻"), QStringLiteral("【短讯】美元指数短线走高，突破关口")}));
        QCOMPARE(events[1].href, QString());
        QCOMPARE(events[1].cellTime, QStringLiteral("09/05 14:20"));
        QVERIFY(events[1].popup.startsWith(plainSnippet(QStringLiteral("FXask.gif"), QStringLiteral("09/05 14:20"),
                                                        QStringLiteral("【短讯】美元指数短线走高，突破关口"))));
        QVERIFY(events[0].popup.startsWith(linkedSnippet(QStringLiteral("FXask.gif"), QStringLiteral("http://127.0.0.1/a.html"),
                                                         tailClick, QStringLiteral("09/05 14:30"), QStringLiteral("普通新闻"))));
        QVERIFY(events.back().kind == ParseEvent::Complete && events.back().isNew);
    }

    void dailyFxTimesAndKeys_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("time");
        QTest::newRow("one-digit month and day") << "9月5日14:30" << "09/05 14:30";
        QTest::newRow("two-digit month and day") << "12月12日08:00" << "12/12 08:00";
        QTest::newRow("one-digit day") << "11月3日09:15" << "11/03 09:15";
        QTest::newRow("empty cell") << "" << "0";
    }
    void dailyFxTimesAndKeys()
    {
        QFETCH(QString, cell);
        QFETCH(QString, time);
        const QString page = QStringLiteral("<div class=\"listtable bottom15\"><table>"
                                            "<tr><td>9月1日 00:00</td><td><a>表头</a><div>表头</div></td></tr>"
                                            "<tr><td>")
            + cell + QStringLiteral("</td><td><a>美元走强</a><div>美元走强</div></td></tr></table></div>");
        const ParseEvents events = parse(s_Dailyfx, page);
        QCOMPARE(events.size(), size_t(2)); // the heading row is never read
        QCOMPARE(events[0].cellTime, time);
        QCOMPARE(events[0].cellInfo, time + QStringLiteral("美元走强~美元走强"));
        QCOMPARE(events[0].popup, plainSnippet(QStringLiteral("Dailyfx.gif"), time, QStringLiteral("美元走强")));
        // Next time the key is known.
        QCOMPARE(msgInfos(parse(s_Dailyfx, page, QStringLiteral("x") + time + QStringLiteral("美元走强"))), QStringList());
    }

    void dailyFxSummaryInBlue()
    {
        const QString page = QStringLiteral("<div class=\"listtable bottom15\"><table><tr><th>a</th><th>b</th></tr>"
                                            "<tr><td>9月5日14:30</td><td><a>美元&lt;走强&gt;</a><div>因为\"数据\"</div></td></tr></table></div>");
        const ParseEvents events = parse(s_Dailyfx, page);
        QCOMPARE(events[0].cellInfo, QStringLiteral("09/05 14:30美元<走强>~美元&lt;走强&gt;<br/><font style='color:#0000FF'>因为&quot;数据&quot;</font>"));
        QCOMPARE(events[0].popup, QStringLiteral("<img src='Dailyfx.gif' align='absmiddle'/>&nbsp;<span>09/05 14:30&nbsp;美元&lt;走强&gt;"
                                                 "(<font style='color:#0000FF'>因为&quot;数据&quot;</font>)</span>"));
    }

    void missingListMarkers_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("error");
        QTest::newRow("FXark") << int(s_FXark) << QStringLiteral("第#0行,\r\n错误码:无效的过程调用或参数");
        QTest::newRow("FX168") << int(s_FX168) << QStringLiteral("发生错误在模块[GETInfo_FX168]第#1行,\r\n错误码:5");
        QTest::newRow("DailyFX") << int(s_Dailyfx) << QStringLiteral("发生错误在模块[GETInfo_DailyFX]第#1行,\r\n错误码:5");
        QTest::newRow("HeXun") << int(s_HeXun) << QStringLiteral("发生错误在模块[GETInfo_HeXun]第#1行,\r\n错误码:5");
        QTest::newRow("FX678 reports nothing new") << int(s_FX678) << QString();
        QTest::newRow("CaiXun reports nothing new") << int(s_CaiXun) << QString();
    }
    void missingListMarkers()
    {
        QFETCH(int, source);
        QFETCH(QString, error);
        const ParseEvents events = parse(source, QStringLiteral("<html><body><h1>500 Internal Server Error</h1></body></html>"));
        QCOMPARE(events.size(), size_t(1));
        if (error.isEmpty()) {
            QCOMPARE(events[0].kind, ParseEvent::Complete);
            QVERIFY(!events[0].isNew);
        } else {
            QCOMPARE(events[0].kind, ParseEvent::Error);
            QCOMPARE(events[0].message, error);
        }
    }

    void failureMidwayKeepsEarlierItems()
    {
        // The newest block lacks its inner parts: the older ones are reported, then the error.
        const QString item = QStringLiteral("<div class=\"list_content01 \"><div><div><a href=\"/n/%1\">标题%1</a></div>"
                                            "<div>[09月05日 1%1时00分 ]</div></div></div>");
        const QString page = QStringLiteral("<div class=\"list_content\"><div class=\"list_content01 \">坏</div>")
            + item.arg(2) + item.arg(1) + QStringLiteral(" <div class=\"list_flip\">");
        const ParseEvents events = parse(s_FX678, page);
        QCOMPARE(msgInfos(events), QStringList({QStringLiteral("标题1"), QStringLiteral("标题2")}));
        QCOMPARE(events[0].cellTime, QStringLiteral("09/05 11:00"));
        QCOMPARE(events[0].href, QStringLiteral("http://127.0.0.1/n/1"));
        QCOMPARE(events.back().kind, ParseEvent::Error);
        QCOMPARE(events.back().message, QStringLiteral("发生错误在模块[GETInfo_FX678]第#4行,\r\n错误码:91"));
    }

    void fx168RowWithoutItsSecondCellFailsThePass()
    {
        const QString page = fx168Page(QStringLiteral("<tr><td>坏行</td></tr>") + fx168Row(QStringLiteral("10:01"), QStringLiteral("标题1")));
        const ParseEvents events = parse(s_FX168, page);
        QCOMPARE(msgInfos(events), QStringList{QStringLiteral("标题1")});
        QCOMPARE(events.back().kind, ParseEvent::Error);
        QCOMPARE(events.back().message, QStringLiteral("发生错误在模块[GETInfo_FX168]第#3行,\r\n错误码:91"));
    }

    // "~" separates popup items and the DailyFX key: inside the HTML the worker
    // hands on it is an entity, and in a link it is percent-encoded.
    void tildesInTitlesAndLinksStayInsideTheirItem()
    {
        const QString dailyFx = QStringLiteral("<div class=\"listtable bottom15\"><table><tr><th>a</th><th>b</th></tr>"
                                               "<tr><td>9月5日14:30</td><td><a>区间1.0800~1.0850</a><div>区间1.0800~1.0850</div></td></tr>"
                                               "</table></div>");
        const ParseEvents events = parse(s_Dailyfx, dailyFx);
        QCOMPARE(events[0].cellInfo, QStringLiteral("09/05 14:30区间1.0800~1.0850~区间1.0800&#126;1.0850"));
        QCOMPARE(events[0].popup.count(u'~'), 0);
        // Reported once: the key up to the last "~" is known next time.
        QCOMPARE(msgInfos(parse(s_Dailyfx, dailyFx, QStringLiteral("09/05 14:30区间1.0800~1.0850;"))), QStringList());

        const ParseEvents linked = parse(s_FX168, fx168Page(fx168Row(QStringLiteral("10:01"), QStringLiteral("欧元~美元..."),
                                                                     QStringLiteral("/n/a~b.html"))));
        QCOMPARE(linked.front().popup.count(u'~'), 0);
        QVERIFY(linked.front().popup.contains(QStringLiteral("a%7Eb.html")));
        QVERIFY(linked.front().popup.contains(QStringLiteral("欧元&#126;美元...")));
    }

    void itemsMissingOptionalParts()
    {
        const QString hexun = QStringLiteral("<div class=\"mainbox\"><ul><li><a href='/1'>无时间</a></li>"
                                             "<li><span>(10:00)</span><a href='/2'> 有时间 </a></li><li>空</li></ul></div>");
        QCOMPARE(msgInfos(parse(s_HeXun, hexun)), QStringList{QStringLiteral("有时间")});
        const QString fx678 = QStringLiteral("<div class=\"list_content\"><div class=\"list_content01\"><div><div><a href=\"/n\">无空格</a>"
                                             "</div><div>[09月05日 10时00分 ]</div></div></div>\n<div class=\"list_flip\">");
        const ParseEvents events = parse(s_FX678, fx678);
        QCOMPARE(events.size(), size_t(1));
        QVERIFY(!events[0].isNew);
    }

    void caiXunBriefsAndTimes()
    {
        const QString page = QStringLiteral("<div class=\"bordb bno\"><ul>"
                                            "<li><em>(2026-09-05 14:30:00)</em><a href=\"/2\">[短讯]美元走强</a></li>"
                                            "<li><em>(9-5 8:05)</em><a href=\"/1\">欧元走弱</a></li>"
                                            "<li><em></em><a href=\"/0\">无时间</a></li></ul></div>");
        const ParseEvents events = parse(s_CaiXun, page);
        QCOMPARE(msgInfos(events), QStringList({QStringLiteral("欧元走弱"), QStringLiteral("[短讯]美元走强")}));
        QCOMPARE(events[0].cellTime, QStringLiteral("09/05 08:05"));
        QCOMPARE(events[0].href, QStringLiteral("http://127.0.0.1/1"));
        QCOMPARE(events[1].href, QString());
        QVERIFY(events[1].popup.startsWith(plainSnippet(QStringLiteral("CaiXun.gif"), QStringLiteral("09/05 14:30"),
                                                        QStringLiteral("[短讯]美元走强"))));
        QVERIFY(events[0].popup.startsWith(linkedSnippet(QStringLiteral("CaiXun.gif"), QStringLiteral("http://127.0.0.1/1"), tailFire,
                                                         QStringLiteral("09/05 08:05"), QStringLiteral("欧元走弱"))));
    }

    void caiXunTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("time");
        QTest::newRow("full") << "2026-09-05 14:30:00" << "09-05 14:30";
        QTest::newRow("short") << "9-5 8:05" << "09-05 08:05";
        QTest::newRow("slashes") << "2026/12/31 23:59" << "12-31 23:59";
        QTest::newRow("chinese") << "2026年9月5日 14:30" << "09-05 14:30";
        QTest::newRow("leap day without year") << "2-29 10:00" << "02-29 10:00";
        QTest::newRow("no such day") << "2026-02-30 10:00" << "2026-02-30 10:00";
        QTest::newRow("time only stays") << "14:30" << "14:30";
        QTest::newRow("not a date") << "刚刚" << "刚刚";
        QTest::newRow("bad hour") << "9-5 25:00" << "9-5 25:00";
    }
    void caiXunTime()
    {
        QFETCH(QString, text);
        QFETCH(QString, time);
        QCOMPARE(SourceParsers::caiXunTime(text), time);
    }

    void otherIdsGiveNothing()
    {
        QVERIFY(parse(99, QStringLiteral("<dt>")).empty());
        QVERIFY(parse(106, QStringLiteral("<dt>")).empty());
        QVERIFY(parse(s_FX168, QString()).empty());
    }
};

QTEST_GUILESS_MAIN(tst_SourceParsers)
#include "tst_SourceParsers.moc"
