#include "html/HtmlDocument.h"
#include "html/HtmlEscape.h"
#include "html/MarkupCut.h"
#include "html/MarkupLimiter.h"

#include <QTest>

class tst_HtmlDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void divByClassMarker_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("nested") << "<p><div class=\"m\"><div>a</div><div><div>b</div></div></div><div>after</div>"
                                << "<div class=\"m\"><div>a</div><div><div>b</div></div></div>";
        QTest::newRow("upper case DIV does not count")
            << "<div class=\"m\"><DIV>a</DIV>x</div>" << "<div class=\"m\"><DIV>a</DIV>x</div>";
        QTest::newRow("never closed") << "<div class=\"m\"><div>a</div>" << QString();
        QTest::newRow("missing marker") << "<div class=\"n\"></div>" << QString();
    }
    void divByClassMarker()
    {
        QFETCH(QString, page);
        QFETCH(QString, fragment);
        const auto found = MarkupCut::divByClassMarker(page, QStringLiteral("class=\"m\""));
        QCOMPARE(found.has_value(), !fragment.isNull());
        if (found)
            QCOMPARE(*found, fragment);
    }


    void escapesTextForMarkup()
    {
        QCOMPARE(htmlEscaped(QStringLiteral("<a href=\"x\">'&'</a>|`")),
                 QStringLiteral("&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;|`"));
        QCOMPARE(htmlEscaped(QStringLiteral("美元走强")), QStringLiteral("美元走强"));
    }

    void innerText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        QTest::newRow("entities") << "<p>A&amp;B &lt;i&gt; &quot;x&quot; &#x4E2D;&#25991;</p>" << "A&B <i> \"x\" 中文";
        QTest::newRow("markup removed") << "<p>美元<b>走强</b>，<a href='#'>详情</a></p>" << "美元走强，详情";
        QTest::newRow("white space folded") << "<p>  a \n\t b  </p>" << "a b";
        QTest::newRow("br breaks lines") << "<p>one<br>two<br/>three</p>" << "one\ntwo\nthree";
        QTest::newRow("blocks break lines") << "<div>x</div><div> y </div><p>z</p>" << "x\ny\nz";
        QTest::newRow("scripts and styles hidden") << "<p>a<script>var b='c';</script><style>p{}</style>d</p>" << "ad";
        QTest::newRow("no-break space kept") << "<p>a&nbsp;&nbsp;b</p>" << QString::fromUtf8("a\u00a0\u00a0b");
        QTest::newRow("unclosed tags") << "<p><b>bold <i>both</p>tail" << "bold both\ntail";
        QTest::newRow("cells apart") << "<table><tr><td>a</td><td>b</td></tr></table>" << "a b";
    }
    void innerText()
    {
        QFETCH(QString, html);
        QFETCH(QString, text);
        HtmlDocument doc;
        doc.setBodyInnerHtml(html);
        QCOMPARE(doc.body().innerText(), text);
    }

    void tagsMatchInAnyCaseInDocumentOrder()
    {
        HtmlDocument doc;
        doc.setBodyInnerHtml(QStringLiteral("<DIV id=1><div id=2><Div id=3></div></div></DIV><span><div id=4>"));
        const HtmlCollection divs = doc.getElementsByTagName(QStringLiteral("Div"));
        QCOMPARE(divs.length(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(divs.item(i).attribute(QStringLiteral("ID")), QString::number(i + 1));
        QVERIFY(divs.item(4).isNull());
        QVERIFY(divs.item(-1).isNull());
        QCOMPARE(divs.item(0).getElementsByTagName(QStringLiteral("div")).length(), 2);
        QCOMPARE(divs.item(0).tagName(), QStringLiteral("div"));
        // Elements gumbo does not know are found by their written name.
        doc.setBodyInnerHtml(QStringLiteral("<x-item>a</x-item><X-ITEM>b</X-ITEM>"));
        QCOMPARE(doc.getElementsByTagName(QStringLiteral("x-item")).length(), 2);
    }

    void nullElementsAnswerEmpty()
    {
        const HtmlElement none;
        QVERIFY(none.isNull());
        QCOMPARE(none.innerText(), QString());
        QCOMPARE(none.getElementsByTagName(QStringLiteral("a")).length(), 0);
        QCOMPARE(none.rows().length(), 0);
        QCOMPARE(none.href(QStringLiteral("http://a/")), QString());
    }

    void tableRowsAsBrowsersDefineThem()
    {
        HtmlDocument doc;
        doc.setBodyInnerHtml(QStringLiteral(
            "<table><tfoot><tr><td>foot</td></tr></tfoot><tr><td>implicit</td><th>h</th><td>c</td></tr>"
            "<thead><tr><td>head</td></tr></thead><tbody><tr><td>body</td></tr></tbody>"
            "<tr><td><table><tr><td>nested</td></tr></table></td></tr></table>"));
        const HtmlCollection rows = doc.getElementsByTagName(QStringLiteral("table")).item(0).rows();
        QStringList firstCells;
        for (int i = 0; i < rows.length(); ++i)
            firstCells << rows.item(i).cells().item(0).innerText();
        QCOMPARE(firstCells, QStringList({QStringLiteral("head"), QStringLiteral("implicit"), QStringLiteral("body"),
                                          QStringLiteral("nested"), QStringLiteral("foot")}));
        QCOMPARE(rows.item(1).cells().length(), 3);
        QCOMPARE(rows.item(1).cells().item(1).innerText(), QStringLiteral("h"));
        QCOMPARE(rows.item(0).rows().length(), 0);
    }

    void hrefResolvesToWebAddressesOnly_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("resolved");
        const QString base = QStringLiteral("http://news.site/list/index.html");
        QTest::newRow("absolute") << "https://x.cn/a?b=1&c=2" << base << "https://x.cn/a?b=1&c=2";
        QTest::newRow("site relative") << "/n/1.html" << base << "http://news.site/n/1.html";
        QTest::newRow("path relative") << "n/1.html" << base << "http://news.site/list/n/1.html";
        QTest::newRow("blanks and breaks") << "  /n/\n1.html " << base << "http://news.site/n/1.html";
        QTest::newRow("relative without base") << "/n/1.html" << QString() << QString();
        QTest::newRow("empty is the page itself") << "  " << base << QString();
        QTest::newRow("javascript") << "javascript:alert(1)" << base << QString();
        QTest::newRow("JavaScript upper case") << "JavaScript:alert(1)" << base << QString();
        QTest::newRow("data") << "data:text/html,<script>x</script>" << base << QString();
        QTest::newRow("mail") << "mailto:a@b.c" << base << QString();
        QTest::newRow("spaces encoded") << "/a b\".html" << base << "http://news.site/a%20b%22.html";
    }
    void hrefResolvesToWebAddressesOnly()
    {
        QFETCH(QString, href);
        QFETCH(QString, base);
        QFETCH(QString, resolved);
        HtmlDocument doc;
        doc.setBodyInnerHtml(QStringLiteral("<a>x</a>"));
        QCOMPARE(doc.getElementsByTagName(QStringLiteral("a")).item(0).href(base), QString());
        doc.setBodyInnerHtml(QStringLiteral("<a href=\"") + href.toHtmlEscaped() + QStringLiteral("\">x</a>"));
        QCOMPARE(doc.getElementsByTagName(QStringLiteral("a")).item(0).href(base), resolved);
    }

    void classNameIsTheRawAttribute()
    {
        HtmlDocument doc;
        doc.setBodyInnerHtml(QStringLiteral("<div class=\"list_content01 bggrey\"></div><div class='list_content01'></div>"));
        const HtmlCollection divs = doc.getElementsByTagName(QStringLiteral("div"));
        QCOMPARE(divs.item(0).className(), QStringLiteral("list_content01 bggrey"));
        QCOMPARE(divs.item(1).className(), QStringLiteral("list_content01"));
    }

    void settingTheBodyAgainReplacesIt()
    {
        HtmlDocument doc;
        doc.setBodyInnerHtml(QStringLiteral("<li>a</li><li>b</li>"));
        QCOMPARE(doc.getElementsByTagName(QStringLiteral("li")).length(), 2);
        doc.setBodyInnerHtml(QStringLiteral("<li>c</li>"));
        QCOMPARE(doc.getElementsByTagName(QStringLiteral("li")).length(), 1);
        QCOMPARE(doc.body().innerText(), QStringLiteral("c"));
    }

    void hostileNestingIsCut_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("most");
        QTest::addColumn<QString>("text");
        QTest::newRow("nested blocks") << QStringLiteral("<div><span>").repeated(300000) + QStringLiteral("deep")
                                       << "span" << MarkupLimiter::MaxDepth << "deep";
        QTest::newRow("open formatting") << QStringLiteral("<b>x").repeated(400000) << "b"
                                         << MarkupLimiter::MaxOpenFormatting << QStringLiteral("x").repeated(400000);
        // Each piece of text re-creates every misnested formatting element.
        QTest::newRow("misnested formatting")
            << QStringLiteral("<div>")
                   + [] { QString s; for (int i = 0; i < 2000; ++i) s += QStringLiteral("<font id=%1>").arg(i); return s; }()
                   + QStringLiteral("</div>") + QStringLiteral("<p>y</p>").repeated(20000)
            << "font" << 40 * 20001 << QStringLiteral("y\n").repeated(19999) + QStringLiteral("y");
        QTest::newRow("end tags of nothing") << QStringLiteral("<div></span>").repeated(100000) + QStringLiteral("z")
                                             << "div" << MarkupLimiter::MaxDepth << "z";
    }
    void hostileNestingIsCut()
    {
        QFETCH(QString, html);
        QFETCH(QString, tag);
        QFETCH(int, most);
        QFETCH(QString, text);
        HtmlDocument doc;
        doc.setBodyInnerHtml(html);
        QVERIFY(doc.getElementsByTagName(tag).length() <= most);
        QCOMPARE(doc.body().innerText(), text);
    }

    void ordinaryMarkupIsLeftAlone_data()
    {
        QTest::addColumn<QString>("html");
        QTest::newRow("deep but sane") << QStringLiteral("<div>").repeated(200) + QStringLiteral("</div>").repeated(200);
        QTest::newRow("long unclosed list") << QStringLiteral("<ul>") + QStringLiteral("<li><a href='/x'>t").repeated(5000);
        QTest::newRow("tags inside a script") << QStringLiteral("<script>") + QStringLiteral("<div>").repeated(1000)
                                                     + QStringLiteral("</script><div>a</div>");
        QTest::newRow("tags inside a comment") << QStringLiteral("<!--") + QStringLiteral("<b>").repeated(100)
                                                      + QStringLiteral("--><b>a</b>");
        QTest::newRow("quoted >") << QStringLiteral("<a title=\"a>b\" href='x>y'>t</a>");
    }
    void ordinaryMarkupIsLeftAlone()
    {
        QFETCH(QString, html);
        QCOMPARE(MarkupLimiter::limit(html), html);
    }
};

QTEST_GUILESS_MAIN(tst_HtmlDocument)
#include "tst_HtmlDocument.moc"
