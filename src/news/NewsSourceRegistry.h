#pragma once

#include "news/NewsSource.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>
#include <utility>

class cls_Config;

// Every news source of the program: the six built in (ids 100..105, their
// stored settings under Settings/Tavrin/Source) and the user's sources (ids
// from 1000, stored under Settings/Tavrin/Feeds: feeds, pages read by
// selectors, other addresses read by one of the six pages' parsers), in tab order.
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
    // Loaded again, a feed source keeps its id while its name stays; the
    // entries that came, changed or went are signalled.
    QStringList load(const cls_Config &config);

    QList<NewsSource> sources() const { return m_sources; }
    const NewsSource *find(int id) const;

    // The entry with the source's id takes its values.
    void change(const NewsSource &source);

    // Why a feed entry is unusable (name, address, interval, kind,
    // selectors), given the names taken by the others; empty when it is usable.
    static QString problemOf(const NewsSource &source, const QStringList &takenNames);
    // A stored Feed element's attributes as a source (no id, no page parts),
    // or why it is unusable.
    static std::optional<NewsSource> readFeed(const QHash<QString, QString> &entry, const QStringList &takenNames,
                                              QString *problem);
    // A stored Kind in its own spelling: a feed's in lower case, a page
    // parser's as its built-in source is named, whatever the case written.
    static QString readKind(const QString &stored);
    // A feed source's attributes as stored, in the file's order.
    static QList<std::pair<QString, QString>> feedAttributes(const NewsSource &source);
    // The names of the built-in sources, which a feed source cannot take.
    static QStringList builtInNames();
    // The six built-in sources as they are before the configuration is read;
    // their kinds are the kinds of page another source can be read as.
    static QList<NewsSource> builtIns();
    // A built-in source's name for its name, caption or title as a user writes
    // it ("和讯", "hexun"); any other text as it is (a feed's name is its caption).
    static QString nameOf(const QString &text);
    // Stores a feed source's on/off in its element; false when no element has its name.
    static bool storeChecked(cls_Config &config, const QString &name, bool checked);

Q_SIGNALS:
    void sourceAdded(int id);
    void sourceChanged(int id);
    void sourceRemoved(int id);

private:
    static void namePageParts(NewsSource &source);
    static bool sameSettings(const NewsSource &a, const NewsSource &b);

    QList<NewsSource> m_sources;
    // Never given twice in a run: late events of a removed source find no source.
    int m_nextFeedId = NewsSource::FirstFeedId;
};
