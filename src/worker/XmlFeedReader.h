#pragma once

#include "worker/Feed.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

struct _xmlDoc;
struct _xmlNode;

// RSS 0.9x/2.0, RSS 1.0 (RDF), Atom 1.0 and Atom 0.3 read from decoded text.
// The parse forgives as feed readers do (a stray "&", an undefined entity, a
// bad nesting), expands no entity of a DOCTYPE and never reads a file or an
// address a document names.
class XmlFeedReader
{
public:
    XmlFeedReader(const QString &url, const QDateTime &now);

    // Nothing, with `error` set, when the text holds no feed element.
    std::optional<Feed> read(const QString &text, QString *error);

private:
    enum class Dialect { Rss, Rdf, Atom10, Atom03 };

    std::optional<Feed> readDocument(_xmlDoc *document);
    QByteArray prepared(const QString &text);
    static qsizetype doctypeEnd(const QString &text, qsizetype start);
    QString keyOf(const _xmlNode *node) const;
    const _xmlNode *child(const _xmlNode *parent, const QString &key) const;
    QList<const _xmlNode *> children(const _xmlNode *parent, const QString &key) const;
    // The first of `keys` whose text (made plain by `read`) is not empty.
    template<typename Read>
    QString firstText(const _xmlNode *parent, std::initializer_list<const char *> keys, Read read) const;
    std::optional<QDateTime> firstDate(const _xmlNode *parent, std::initializer_list<const char *> keys) const;

    QString htmlText(const _xmlNode *node) const;
    QString textConstruct(const _xmlNode *node) const;
    QString link(const _xmlNode *node, const QString &raw) const;
    QString atomLink(const _xmlNode *parent) const;
    QStringList categories(const _xmlNode *item) const;
    FeedItem rssItem(const _xmlNode *item) const;
    FeedItem atomEntry(const _xmlNode *entry) const;

    QString m_url;
    QDateTime m_now;
    Dialect m_dialect = Dialect::Rss;
    QHash<QString, QString> m_entities; // HTML entity names already looked up
};
