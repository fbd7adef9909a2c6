#include "calendar/CalendarPage.h"
#include "calendar/CalendarPageText.h"
#include "html/HtmlDocument.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using CalendarPageText::eventRow;
using CalendarPageText::page;

QString dataRow(const QString &time, const QString &info, const QString &before = u"0.2%"_s,
                const QString &predict = u"0.3%"_s, const QString &result = QString(), const QString &importance = u"高"_s)
{
    return CalendarPageText::dataRow({time, info, before, predict, result, importance});
}

} // namespace

class tst_CalendarPage : public QObject
{
    Q_OBJECT

private:
    HtmlDocument m_doc;

private Q_SLOTS:
    void dataRowsAreEventsWithAClockTime_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("time"); // empty: no event row
        QTest::newRow("two digits") << "20:30" << "20:30";
        QTest::newRow("half past midnight") << "00:30" << "00:30";
        QTest::newRow("one digit hour") << " 8:30 " << "08:30";
        QTest::newRow("dashes") << "--" << "";
        QTest::newRow("to be set") << "待定" << "";
        QTest::newRow("all day") << "全天" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("nbsp") << "&nbsp;" << "";
        QTest::newRow("no such time") << "25:70" << "";
    }
    void dataRowsAreEventsWithAClockTime()
    {
        QFETCH(QString, cell);
        QFETCH(QString, time);
        const auto parsed = CalendarPage::parse(page(eventRow(u"20:30"_s, u"x"_s), dataRow(cell, u"美国CPI"_s)), m_doc);
        QVERIFY(parsed);
        QCOMPARE(parsed->rows.size(), time.isEmpty() ? 0 : 1);
        if (!time.isEmpty()) {
            const CalendarRow row = parsed->rows.front();
            QCOMPARE(row.time, time);
            QCOMPARE(row.info, u"美国CPI"_s);
            QCOMPARE(row.before, u"0.2%"_s);
            QCOMPARE(row.predict, u"0.3%"_s);
            QCOMPARE(row.result, QString());
            QCOMPARE(row.importance, u"高"_s);
        }
    }

    void rowsKeepPageOrderAndEmptyCellsStayEmpty()
    {
        const auto parsed = CalendarPage::parse(
            page(QString(), dataRow(u"09:00"_s, u"甲"_s, u"&nbsp;"_s, QString(), u"1.5%"_s, QString())
                                + dataRow(u"--"_s, u"乙"_s) + dataRow(u"10:00"_s, u"丙"_s)),
            m_doc);
        QVERIFY(parsed);
        QCOMPARE(parsed->rows.size(), 2);
        QCOMPARE(parsed->rows.at(0).info, u"甲"_s);
        QCOMPARE(parsed->rows.at(0).before, QString());
        QCOMPARE(parsed->rows.at(0).result, u"1.5%"_s);
        QCOMPARE(parsed->rows.at(0).importance, QString());
        QCOMPARE(parsed->rows.at(1).info, u"丙"_s);
        QCOMPARE(parsed->eventList, QString()); // a list without entries
    }

    void theEventListKeepsRemoteTextWhole()
    {
        const QString hostile = u"区间1.08~1.09 | A#B <img src=x onerror=alert(1)>"_s;
        const auto parsed = CalendarPage::parse(
            page(eventRow(u"20:30"_s, hostile.toHtmlEscaped()) + eventRow(QString(), u"央行讲话"_s) + eventRow(u"全天"_s, u"假日"_s),
                 QString()),
            m_doc);
        QVERIFY(parsed);
        // Three entries, whatever the texts hold.
        QCOMPARE(parsed->eventList.count(u'|'), 3);
        QVERIFY(!parsed->eventList.contains(u'<'));
        const auto entries = CalendarPage::eventEntries(parsed->eventList);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(0), (std::pair<QString, QString>{u"20:30"_s, hostile}));
        QCOMPARE(entries.at(1), (std::pair<QString, QString>{QString(), u"央行讲话"_s}));
        QCOMPARE(entries.at(2), (std::pair<QString, QString>{u"全天"_s, u"假日"_s}));
    }

    void pagesWithoutTheirBlocks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<int>("rows");
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("an error page") << u"<html><body><h1>500</h1></body></html>"_s << false << 0;
        QTest::newRow("event list never closed") << u"<div class=\"q_riBR02\"><table><tr><td>x"_s << false << 0;
        QTest::newRow("no data block") << page(eventRow(u"20:30"_s, u"x"_s), QString()).replace(u"q_riBR01"_s, u"other"_s)
                                       << true << 0;
        QTest::newRow("data block never closed")
            << page(eventRow(u"20:30"_s, u"x"_s), dataRow(u"20:30"_s, u"x"_s), false).replace(u"<div class=\"foot\">页脚</div>"_s, QString())
            << true << 0;
    }
    void pagesWithoutTheirBlocks()
    {
        QFETCH(QString, text);
        QFETCH(bool, parsed);
        QFETCH(int, rows);
        const auto result = CalendarPage::parse(text, m_doc);
        QCOMPARE(result.has_value(), parsed);
        if (result)
            QCOMPARE(result->rows.size(), rows);
    }
};

QTEST_GUILESS_MAIN(tst_CalendarPage)
#include "tst_CalendarPage.moc"
