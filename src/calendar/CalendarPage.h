#pragma once

#include <QList>
#include <QString>

#include <optional>

class HtmlDocument;

// One event row of a calendar page's data block.
struct CalendarRow
{
    QString time;       // "HH:MM", zero-padded
    QString info;       // the event's text
    QString before;     // previous value
    QString predict;    // forecast
    QString result;     // published value, empty until it is out
    QString importance; // 低, 中, 高 as the page shows it
};

// What one day's calendar page holds, cut out of the page text and parsed by
// the HTML document layer; remote markup never reaches a page of ours.
struct CalendarPage
{
    // The day's event list, as stored: entries of time "#" text, each ended
    // by "|", the texts escaped (HtmlEscape, with "#", "|" and "~" as
    // entities) so that nothing in them splits an entry.
    QString eventList;
    QList<CalendarRow> rows;

    // Nothing when the page has no event list block (an empty, broken or
    // foreign page); no rows when it has no data block.
    static std::optional<CalendarPage> parse(const QString &page, HtmlDocument &doc);
    // The entries of a stored event list, unescaped: {time or empty, text}.
    static QList<std::pair<QString, QString>> eventEntries(const QString &eventList);
    // "HH:MM" for any "H:MM" or "HH:MM" at the start of the text (blanks
    // trimmed); empty for anything else ("--", "待定", "全天", "").
    static QString clockTime(const QString &text);
};
