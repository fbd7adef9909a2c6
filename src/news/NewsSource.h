#pragma once

#include <QString>

// One news source as the main program knows it: an entry of the registry.
struct NewsSource
{
    int id = 0;
    QString name;         // configuration name; unique
    QString kind;         // how it is read: a page parser of the six (named as the built-in source it was made
                          // for) or "auto", "rss", "atom", "json" (a feed) or "page" (a page read by selectors)
    QString anchor;       // tab anchor in the main page
    QString caption;      // the tab's caption
    QString title;        // in marks and the source menu
    QString area;         // the tab's content block
    QString table;        // the source's news table
    QString label;        // after an item in the all-news table
    QString labelClass;   // the CSS class that colours the label: one per kind of label
    QString icon;         // before its items in the popup
    QString sitePage;     // page of the product site that counts a visit when the tab is left; empty for none
    QString url;          // page address
    QString home;         // the site's home page
    bool inSourceMenu = true; // offered in the source menu (CaiXun is always on)
    bool compositeInfo = false; // items come as key "~" display text (DailyFX)
    // A user's source's own settings (a built-in source's are in its Source element).
    int interval = 60;
    bool checked = true;
    QString itemSelector, titleSelector, linkSelector, timeSelector, summarySelector;

    // One of the user's sources (stored under Feeds), not one of the six built in.
    bool isUserSource() const { return id >= FirstFeedId; }
    // Read by the worker's feed reader (a feed or a page by selectors), not by a page parser.
    bool isFeed() const
    {
        return kind == QStringLiteral("auto") || kind == QStringLiteral("rss") || kind == QStringLiteral("atom")
            || kind == QStringLiteral("json") || kind == QStringLiteral("page");
    }
    static constexpr int FirstFeedId = 1000;
};
