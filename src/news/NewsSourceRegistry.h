#pragma once

#include "news/NewsSource.h"

#include <QList>
#include <QObject>
#include <QStringList>

class cls_Config;

// Every news source of the program: the six built in (ids 100..105, their
// stored settings under Settings/Tavrin/Source) and the user's feed and page
// sources (ids from 1000, stored under Settings/Tavrin/Feeds), in tab order.
// Tabs, tables, the source menu, the schedule and the labels follow it.
class NewsSourceRegistry : public QObject
{
    Q_OBJECT

public:
    static constexpr int MinInterval = 30;
    static constexpr int MaxInterval = 3600;
    static constexpr int DefaultInterval = 60;

    explicit NewsSourceRegistry(QObject *parent = nullptr);

    // The built-in sources' addresses and the feed sources from the
    // configuration. Answers, one line each, the feed entries it skipped and why.
    QStringList load(const cls_Config &config);

    QList<NewsSource> sources() const { return m_sources; }
    const NewsSource *find(int id) const;

    // A new source gets the next free id from 1000 and, unless it has them, its page ids; answers the id.
    int add(NewsSource source);
    // The entry with the source's id takes its values.
    void change(const NewsSource &source);
    void remove(int id);

    // Why a feed entry is unusable (name, address, interval, kind,
    // selectors), given the names taken by the others; empty when it is usable.
    static QString problemOf(const NewsSource &source, const QStringList &takenNames);

Q_SIGNALS:
    void sourceAdded(int id);
    void sourceChanged(int id);
    void sourceRemoved(int id);

private:
    static QList<NewsSource> builtIns();
    static void namePageParts(NewsSource &source);

    QList<NewsSource> m_sources;
};
