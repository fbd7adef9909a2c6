#pragma once

#include <QList>
#include <QString>

class cls_Config;

// The six news sources as the main program knows them: ids, names, their
// tabs and tables in the main page, and their addresses, which the
// configuration may set (Settings/Tavrin/Source/<name>, attributes Url and
// Home) and which default to the sites' own pages.
struct NewsSource
{
    int id;
    QString name;         // configuration name; the CSS class of its label
    QString anchor;       // tab anchor in the main page
    QString caption;      // the tab's caption
    QString title;        // in marks and the source menu
    QString area;         // the tab's content block
    QString table;        // the source's news table
    QString label;        // after an item in the all-news table
    QString sitePage;     // page of the product site that counts a visit when the tab is left
    QString url;          // page address
    QString home;         // the site's home page
    bool inSourceMenu;    // offered in the source menu (CaiXun is always on)
    bool compositeInfo;   // items come as key "~" display text (DailyFX)
};

namespace NewsSources {

// In the order of the tabs, which is also the order in which the scheduler
// takes them (100, 101, 103, 105, 102, 104), with the configuration's addresses.
QList<NewsSource> all(const cls_Config &config);

} // namespace NewsSources
