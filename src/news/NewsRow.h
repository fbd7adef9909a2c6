#pragma once

#include <QString>

// One news item as a table shows it: data, never markup. The page makes the
// cells: the time (carrying its sort key), the title (a link when there is
// one), the summary and, in the all-news table, the source's label.
struct NewsRow
{
    QString time;    // as the source gives it
    QString timeKey; // sorts items of every source by their time
    QString title;
    QString summary; // empty unless the source gives one that differs from the title
    QString link;    // an http(s) address, or empty
    QString source;  // the CSS class of the source's label
    QString label;   // the source's label; empty in the source's own table
    bool important = false; // marked as what matters by its feed
    bool alert = false;     // a keyword alert found it: the row stands out
    QString storyMark = {}; // in the all-news table: the id of the place that names other sources of the same story
};
