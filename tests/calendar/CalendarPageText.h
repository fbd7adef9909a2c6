#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A day's page as the calendar site lays it out, for the calendar's tests:
// the event list block, then the data block with nested divs and a "div"
// inside an attribute before its table.
namespace CalendarPageText {

struct Row
{
    QString time, info, before, predict, result, importance;
};

inline QString eventRow(const QString &time, const QString &text)
{
    return QStringLiteral("<tr><td>1</td><td>%1</td><td>美国</td><td>高</td><td> %2 </td></tr>").arg(time, text);
}

inline QString dataRow(const Row &row)
{
    return QStringLiteral("<tr><td>1</td><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>")
        .arg(row.time, row.info, row.before, row.predict, row.result, row.importance);
}

inline QString page(const QString &eventRows, const QString &dataRows, bool closeDataBlock = true)
{
    return QStringLiteral("<html><head><meta charset='gbk'></head><body><div class=\"q_top\">日历</div>"
                          "<div class=\"q_riBR02\"><table><tr><th>序</th><th>时间</th><th>国家</th><th>重要</th><th>事件</th></tr>")
        + eventRows
        + QStringLiteral("</table></div><div class=\"q_riBR01\"><div class=\"inner\" title=\"not a div end\"><span>说明</span></div>"
                         "<table><tr><th>序</th><th>时间</th><th>事件</th><th>前值</th><th>预测</th><th>公布</th><th>重要性</th></tr>")
        + dataRows + QStringLiteral("</table>") + (closeDataBlock ? QStringLiteral("</div>") : QString())
        + QStringLiteral("<div class=\"foot\">页脚</div></body></html>");
}

// A page whose event list and data rows hold the same events.
inline QString page(const QList<Row> &rows)
{
    QString events, data;
    for (const Row &row : rows) {
        events += eventRow(row.time, row.info);
        data += dataRow(row);
    }
    return page(events, data);
}

} // namespace CalendarPageText
