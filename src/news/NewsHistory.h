#pragma once

#include "news/HistoryStore.h"

#include <QObject>
#include <QTimer>

class Clock;

// The history as the news uses it: items handed in are written in batches
// (a transaction a second, a few milliseconds at most on the user-interface
// thread), items older than the days kept are removed at start and once a
// day, and what goes wrong is told once while the news goes on without it.
class NewsHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int FlushMs = 1000;
    static constexpr int DefaultDays = 30;

    explicit NewsHistory(const Clock &clock, QObject *parent = nullptr);
    ~NewsHistory() override;

    // `keepDays` 0 keeps everything.
    void open(const QString &path, int keepDays);
    bool isOn() const { return m_store.isOpen(); }
    QList<HistoryItem> newest(const QStringList &sources, int perSource) const { return m_store.newest(sources, perSource); }
    QHash<QString, QStringList> keys(const QStringList &sources, int perSource) const
    {
        return m_store.keys(sources, perSource);
    }
    QList<HistoryItem> search(const QString &query, int limit) const { return m_store.search(query, limit); }
    // The words a search looks for (a word naming a source left out).
    QStringList searchWords(const QString &query) const { return m_store.parse(query).words; }
    void add(HistoryItem item);
    // Writes what is waiting (at exit, or before a read of the file).
    void flush();

Q_SIGNALS:
    // Said once: the history was renewed or is off for the run.
    void problem(const QString &text);

private:
    void prune();

    const Clock &m_clock;
    HistoryStore m_store;
    QList<HistoryItem> m_pending;
    QTimer m_flush;
    QTimer m_daily;
    int m_keepDays = DefaultDays;
};
