#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the program tells the user in its popup, as data: news items, the
// calendar's reminders, keyword alerts. The popup page draws it; nothing in
// it is markup.
struct Notification
{
    struct Line
    {
        QString time;
        QString text;
        QString summary; // after the text when it says more; empty for none
        QString link;    // opened in the browser on a click; empty for none
        bool operator==(const Line &) const = default;
    };
    enum class Origin { News, Alert, Reminder };

    Origin origin = Origin::News;
    QString icon; // an image of the popup page, by file name: before each line, or before the heading
    // Items are a row each, newest first; with a heading (a reminder) the
    // lines stand together under it in one row.
    QString heading;
    QList<Line> lines;
    bool untilClosed = false;  // stays until the user closes it
    bool evenWhenOff = false;  // shown while the popup setting is off (an alert)
    // The popup setting's sound (none), or a file of the sound folder (empty: silence).
    std::optional<QString> sound;
    QStringList marks; // texts marked wherever they stand in the lines
};
