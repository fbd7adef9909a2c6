#pragma once

#include "core/cls_Config.h"
#include "news/NewsSource.h"

#include <QHash>
#include <QList>
#include <QString>

// The feed and page sources as the settings dialog edits them: every Feed
// element of the configuration in its order, an unusable one too (kept as
// written until the user removes or mends it), checked as the registry
// checks them when the program reads the file.
class FeedList
{
public:
    void read(const cls_Config &config);
    qsizetype size() const { return m_entries.size(); }
    // The names of the entries, as written.
    QStringList names() const;
    // The list's line for an entry: name, interval, on/off and address, or why it is unusable.
    QString line(qsizetype index) const;
    // An entry's values for the editor, as stored.
    NewsSource fields(qsizetype index) const;
    // Adds a source, or replaces the index-th; answers why not (empty: done).
    QString add(const NewsSource &source);
    QString change(qsizetype index, const NewsSource &source);
    void remove(qsizetype index);
    // Every entry into the configuration's Feed elements; false when they could not be written.
    bool write(cls_Config &config) const;

private:
    // Why an entry is unusable beside the others (empty: usable); `self` is not counted as another.
    QString problemOf(const QHash<QString, QString> &entry, qsizetype self) const;
    static QHash<QString, QString> stored(const NewsSource &source);
    // The attributes the dialog edits, in the file's order.
    static const QStringList &editedAttributes();

    QList<QHash<QString, QString>> m_entries;
};
