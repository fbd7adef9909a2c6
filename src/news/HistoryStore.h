#pragma once

#include "news/NewsRow.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One item as the history keeps it: its source's name, its key (what the
// source knows it by) and its row, with the time it arrived.
struct HistoryItem
{
    QString source;
    QString key;
    NewsRow row;
    QStringList categories;
    QDateTime arrived; // UTC
};

// The news history: an SQLite database (Qt SQL's driver, WAL journal) beside
// the configuration in use. Each item is stored once, by its source and key;
// titles and summaries are indexed for search (FTS5, trigram). One
// connection per store, used from the thread that made it.
class HistoryStore
{
public:
    static constexpr const char *FileName = "history.db";

    enum class Opened {
        Ready,   // the database is open
        Renewed, // it was damaged or unreadable: moved aside, a new one made
        Off,     // no database can be made here (read-only folder, full disk)
    };

    explicit HistoryStore(QString connectionName);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // Opens the database at `path`, made when missing. A damaged one is
    // renamed `path.broken-yyyyMMdd-HHmmss` (its new name in `movedTo`).
    Opened open(const QString &path, const QDateTime &now, QString *movedTo = nullptr);
    // Opens an existing database to read only; false when there is none.
    bool openForReading(const QString &path);
    bool isOpen() const { return m_open; }
    void close();

    // Stores the items not stored yet, in one transaction; false when the write failed.
    bool add(const QList<HistoryItem> &items);
    // The sources' newest `perSource` items each, oldest first.
    QList<HistoryItem> newest(const QStringList &sources, int perSource) const;
    // The sources' newest `perSource` keys each, oldest first, by source name.
    QHash<QString, QStringList> keys(const QStringList &sources, int perSource) const;
    // Removes the items that arrived before `before`; answers how many.
    int prune(const QDateTime &before);
    // Items whose title or summary holds every word, newest first; a word
    // "NAME:" limits them to that source (a built-in one also by its caption)
    // when the history has it, and is a word like the others when not.
    QList<HistoryItem> search(const QString &query, int limit) const;
    // A query as the search reads it: the words to find, and the source one of them names.
    struct Query
    {
        QStringList words;
        QString source;
    };
    Query parse(const QString &text) const;
    qint64 count() const;
    bool hasSource(const QString &name) const;

private:
    bool create();
    bool healthy() const;

    QString m_connection;
    bool m_open = false;
};
