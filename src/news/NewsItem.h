#pragma once

#include <QString>
#include <QStringList>

// One news item as the worker reported it, decoded once where the worker's
// messages arrive: after that nothing parses markup or splits on "~".
struct NewsItem
{
    int source = 0;
    QString key;     // what makes it known: never news again
    QString time;    // as the source gives it
    QString title;
    QString summary; // empty unless it says more than the title
    QString link;    // as the source gives it; may be empty
    QStringList categories;
    bool important = false; // marked as what matters by its feed
    bool quiet = false;     // known only: an older item of a feed's first fetch

    // A page parser's message: its time, its text, its link. A composite
    // text (DailyFX) is the key, "~", then the display text the worker
    // escaped, with an optional summary.
    static NewsItem fromMessage(int source, const QString &time, const QString &info, const QString &href, bool composite);
    // A feed or page source's item: the worker's JSON record.
    static NewsItem fromRecord(int source, const QString &record);
};
