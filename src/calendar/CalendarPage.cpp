#include "calendar/CalendarPage.h"

#include "html/HtmlDocument.h"
#include "html/HtmlEscape.h"
#include "html/MarkupCut.h"

#include <QRegularExpression>

namespace {

const QString EventListStart = QStringLiteral("<div class=\"q_riBR02\"");
const QString DataBlockMarker = QStringLiteral("class=\"q_riBR01\"");

QString stored(const QString &text)
{
    return htmlEscaped(text)
        .replace(u'#', QStringLiteral("&#35;"))
        .replace(u'|', QStringLiteral("&#124;"))
        .replace(u'~', QStringLiteral("&#126;"));
}

// The rows after the header of the first table in the first div of a fragment.
HtmlCollection bodyRows(HtmlDocument &doc, const QString &fragment)
{
    doc.setBodyInnerHtml(fragment);
    return doc.getElementsByTagName(QStringLiteral("div")).item(0).firstByTagName(QStringLiteral("table")).rows();
}

QString cellText(const HtmlCollection &cells, int index)
{
    return cells.item(index).innerText().trimmed();
}

} // namespace

QString CalendarPage::clockTime(const QString &text)
{
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,2}):(\\d{2})(?!\\d)"));
    const QRegularExpressionMatch match = clock.match(text.trimmed());
    if (!match.hasMatch() || match.captured(1).toInt() > 23 || match.captured(2).toInt() > 59)
        return {};
    return QStringLiteral("%1:%2").arg(match.captured(1).toInt(), 2, 10, QChar(u'0')).arg(match.captured(2));
}

std::optional<CalendarPage> CalendarPage::parse(const QString &page, HtmlDocument &doc)
{
    const qsizetype start = page.indexOf(EventListStart);
    const qsizetype end = start < 0 ? -1 : page.indexOf(QStringLiteral("</div>"), start);
    if (end < 0)
        return std::nullopt;

    CalendarPage parsed;
    const HtmlCollection entries = bodyRows(doc, page.mid(start, end - start) + QStringLiteral("</div>"));
    for (int i = 1; i < entries.length(); ++i) {
        const HtmlCollection cells = entries.item(i).cells();
        const QString cell = cellText(cells, 1);
        const QString clock = clockTime(cell);
        const QString time = clock.isEmpty() ? cell.left(5) : clock;
        const QString text = cellText(cells, 4);
        parsed.eventList += (time.isEmpty() ? QString() : stored(time) + u'#') + stored(text) + u'|';
    }

    if (const std::optional<QString> block = MarkupCut::divByClassMarker(page, DataBlockMarker)) {
        const HtmlCollection rows = bodyRows(doc, *block);
        for (int i = 1; i < rows.length(); ++i) {
            const HtmlCollection cells = rows.item(i).cells();
            const QString time = clockTime(cells.item(1).innerText());
            if (time.isEmpty())
                continue;
            parsed.rows.append({time, cellText(cells, 2), cellText(cells, 3), cellText(cells, 4), cellText(cells, 5),
                                cellText(cells, 6)});
        }
    }
    return parsed;
}

QList<std::pair<QString, QString>> CalendarPage::eventEntries(const QString &eventList)
{
    QList<std::pair<QString, QString>> entries;
    QStringList parts = eventList.split(u'|');
    parts.removeLast(); // what follows the last "|" is no entry
    for (const QString &entry : std::as_const(parts)) {
        const qsizetype hash = entry.indexOf(u'#');
        if (hash < 0)
            entries.append({QString(), htmlUnescaped(entry)});
        else
            entries.append({htmlUnescaped(entry.left(hash)), htmlUnescaped(entry.mid(hash + 1))});
    }
    return entries;
}
