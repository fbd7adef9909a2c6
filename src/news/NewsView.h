#pragma once

#include "core/Notification.h"
#include "news/NewsRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the news model shows, in news terms: rows of tables, the status of
// the sources, source tabs, popups. The window's news panel carries it out
// on the page; tests record it.
class NewsView
{
public:
    // The table of all news, as the model names it; a source's own table is
    // named by the source's `table`.
    static inline const QString AllNews = QStringLiteral("*");

    // A source whose last fetch failed, and why.
    struct Failure
    {
        int source = 0;
        QString title;
        QString message;
        bool operator==(const Failure &) const = default;
    };

    virtual ~NewsView() = default;
    // A row on top of the table's body.
    virtual void insertRow(const QString &table, const NewsRow &row) = 0;
    virtual void deleteLastRow(const QString &table) = 0;
    // The table's first row came: what stood for "no news yet" goes.
    virtual void tableFilled(const QString &table) = 0;
    // A note beside a story's row in the all-news table ("另见: ...").
    virtual void noteStory(const QString &storyMark, const QString &note) = 0;
    // The sources failing now and those that timed out (by title), oldest first.
    virtual void showStatus(const QList<Failure> &failures, const QStringList &timeouts) = 0;
    // The first fetch of the run has ended.
    virtual void newsArrived() = 0;
    // The all-news table's own sort (its header cell's click).
    virtual void sortAllNews() = 0;
    // A new item, or what a keyword alert found, for the popup.
    virtual void notify(const Notification &notification) = 0;
    virtual void showSourceTab(const QString &anchor, bool shown) = 0;
    // The sources' tabs were set anew; `firstShown` is the first source tab
    // shown (empty: none), for a window that has no tab chosen yet.
    virtual void sourceTabsChanged(const QString &firstShown) = 0;
};
