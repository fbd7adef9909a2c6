#pragma once

#include <QList>
#include <QString>

class cls_Config;

// The six news sources: ids, names, titles, tabs, table ids, labels, and their
// addresses, which the configuration may set (Settings/Tavrin/Source/<name>,
// attributes Url and Home) and which default to the sites' own pages.
struct NewsSource
{
    int id;
    QString name;     // configuration name
    QString anchor;   // tab anchor in the main page
    QString title;
    QString table;    // the source's news table
    QString label;    // appended to an item in the all-news table
    QString url;      // page address
    QString home;     // the site's home page
};

namespace NewsSources {

// In id order, with the addresses of the configuration where it has them.
QList<NewsSource> all(const cls_Config &config);
// The order in which the scheduler keeps them: 100, 101, 103, 105, 102, 104.
QList<int> scheduleOrder();

} // namespace NewsSources
