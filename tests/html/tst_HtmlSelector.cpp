#include "html/HtmlDocument.h"
#include "html/HtmlSelector.h"

#include <QTest>

namespace {

const QString page = QStringLiteral(
    "<div id=list class='news main'>"
    "<ul><li id=a class=item><a id=a1 href='/1' data-x=1>one</a><span id=a2 class='time'>t</span></li>"
    "<li id=b class='item hot'><a id=b1 href='/2'>two</a></li>"
    "<li id=c class=item><p id=c1><a id=c2 href='/3' data-x='y z'>three</a></p></li></ul>"
    "</div><p id=outside><a id=o1>no href</a></p>");

} // namespace

// The selectors of the subset, matched against one page.
class tst_HtmlSelector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selects_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("ids"); // of the matches in document order; "!" for a refused selector

        QTest::newRow("type") << "li" << "a b c";
        QTest::newRow("universal") << "ul > *" << "a b c";
        QTest::newRow("class") << ".item" << "a b c";
        QTest::newRow("two classes") << ".item.hot" << "b";
        QTest::newRow("type and class") << "div.news" << "list";
        QTest::newRow("id") << "#c1" << "c1";
        QTest::newRow("attribute present") << "a[href]" << "a1 b1 c2";
        QTest::newRow("attribute value bare") << "[data-x=1]" << "a1";
        QTest::newRow("attribute value quoted") << "a[data-x=\"y z\"]" << "c2";
        QTest::newRow("descendant") << "#list a" << "a1 b1 c2";
        QTest::newRow("child") << "li > a" << "a1 b1";
        QTest::newRow("child then descendant") << "ul > li a" << "a1 b1 c2";
        QTest::newRow("descendant backtracks") << "div li > p a" << "c2";
        QTest::newRow("nth-child number") << "li:nth-child(2)" << "b";
        QTest::newRow("nth-child odd") << "li:nth-child(odd)" << "a c";
        QTest::newRow("nth-child an+b") << "li:nth-child(-n+2)" << "a b";
        QTest::newRow("group in document order") << "#c1, #a, .time" << "a a2 c1";
        QTest::newRow("no match") << "table td" << "";
        QTest::newRow("unknown pseudo-class") << "li:hover" << "!";
        QTest::newRow("dangling combinator") << "li >" << "!";
        QTest::newRow("empty group member") << "li,,a" << "!";
        QTest::newRow("unclosed bracket") << "a[href" << "!";
        QTest::newRow("empty") << "  " << "!";
    }
    void selects()
    {
        QFETCH(QString, selector);
        QFETCH(QString, ids);
        HtmlDocument document;
        document.setBodyInnerHtml(page);
        const HtmlSelector parsed(selector);
        if (ids == QStringLiteral("!")) {
            QVERIFY(!parsed.isValid());
            QVERIFY(!parsed.error().isEmpty());
            return;
        }
        QVERIFY2(parsed.isValid(), qPrintable(parsed.error()));
        QStringList found;
        const HtmlCollection matches = parsed.select(document.body());
        for (int i = 0; i < matches.length(); ++i)
            found << matches.item(i).attribute(QStringLiteral("id"));
        QCOMPARE(found.join(u' '), ids);
    }
};

QTEST_GUILESS_MAIN(tst_HtmlSelector)
#include "tst_HtmlSelector.moc"
