#include "news/HistoryStore.h"

#include "core/Logging.h"
#include "news/NewsSourceRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QVariant>

#include <algorithm>

namespace {

constexpr const char *Columns = "source, key, time, time_key, title, summary, link, categories, important, arrived";

HistoryItem itemOf(const QSqlQuery &query)
{
    HistoryItem item;
    item.source = query.value(0).toString();
    item.key = query.value(1).toString();
    item.row.time = query.value(2).toString();
    item.row.timeKey = query.value(3).toString();
    item.row.title = query.value(4).toString();
    item.row.summary = query.value(5).toString();
    item.row.link = query.value(6).toString();
    item.categories = query.value(7).toString().split(u'\n', Qt::SkipEmptyParts);
    item.row.important = query.value(8).toBool();
    item.arrived = QDateTime::fromSecsSinceEpoch(query.value(9).toLongLong(), QTimeZone::utc());
    return item;
}

// A word as an FTS5 phrase: its own quotes doubled.
QString phrase(const QString &word)
{
    return u'"' + QString(word).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A word inside a LIKE pattern, its wildcards taken as themselves.
QString likePattern(const QString &word)
{
    QString escaped = word;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("\\%")).replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

} // namespace

HistoryStore::HistoryStore(QString connectionName)
    : m_connection(std::move(connectionName))
{
}

HistoryStore::~HistoryStore()
{
    close();
}

void HistoryStore::close()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

HistoryStore::Opened HistoryStore::open(const QString &path, const QDateTime &now, QString *movedTo)
{
    close();
    const bool existed = QFileInfo::exists(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        m_open = db.open() && create() && healthy();
    }
    if (m_open)
        return Opened::Ready;
    close();
    if (!existed || !QFileInfo(path).isFile())
        return Opened::Off;
    // Damaged or unreadable: kept aside for the user, a new one made in its place.
    const QString aside = path + QStringLiteral(".broken-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path, aside))
        return Opened::Off;
    QFile::rename(path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    qCWarning(lcNews) << "history database moved aside to" << aside;
    if (movedTo)
        *movedTo = aside;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        m_open = db.open() && create();
    }
    if (!m_open) {
        close();
        return Opened::Off;
    }
    return Opened::Renewed;
}

bool HistoryStore::openForReading(const QString &path)
{
    close();
    if (!QFileInfo::exists(path))
        return false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    // The running program may be writing: wait for it rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
    m_open = db.open() && QSqlQuery(QStringLiteral("SELECT count(*) FROM items"), db).next();
    return m_open;
}

bool HistoryStore::create()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // WAL: a write cut off at any moment (a kill, a power cut) loses that write, never the database.
    const QStringList statements{
        QStringLiteral("PRAGMA journal_mode=WAL"),
        QStringLiteral("PRAGMA synchronous=NORMAL"),
        QStringLiteral("PRAGMA busy_timeout=2000"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS items(id INTEGER PRIMARY KEY, source TEXT NOT NULL, key TEXT NOT NULL,"
                       " time TEXT, time_key TEXT, title TEXT, summary TEXT, link TEXT, categories TEXT,"
                       " important INTEGER, arrived INTEGER NOT NULL, UNIQUE(source, key))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS items_arrived ON items(arrived)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS items_source ON items(source, id)"),
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS items_text USING fts5(title, summary, content='items',"
                       " content_rowid='id', tokenize='trigram')"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS items_added AFTER INSERT ON items BEGIN"
                       " INSERT INTO items_text(rowid, title, summary) VALUES (new.id, new.title, new.summary); END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS items_removed AFTER DELETE ON items BEGIN"
                       " INSERT INTO items_text(items_text, rowid, title, summary) VALUES ('delete', old.id, old.title,"
                       " old.summary); END"),
    };
    for (const QString &statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            qCWarning(lcNews) << "history database:" << query.lastError().text();
            return false;
        }
    }
    return true;
}

bool HistoryStore::healthy() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    return query.exec(QStringLiteral("PRAGMA quick_check")) && query.next() && query.value(0).toString() == QStringLiteral("ok");
}

bool HistoryStore::add(const QList<HistoryItem> &items)
{
    if (!m_open)
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT OR IGNORE INTO items(%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                       .arg(QLatin1String(Columns)));
    for (const HistoryItem &item : items) {
        const QVariantList values{item.source, item.key, item.row.time, item.row.timeKey, item.row.title,
                                  item.row.summary, item.row.link, item.categories.join(u'\n'),
                                  int(item.row.important), item.arrived.toSecsSinceEpoch()};
        for (qsizetype i = 0; i < values.size(); ++i)
            insert.bindValue(int(i), values.at(i));
        if (!insert.exec()) {
            qCWarning(lcNews) << "history write:" << insert.lastError().text();
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

QList<HistoryItem> HistoryStore::newest(const QStringList &sources, int perSource) const
{
    // One short walk of the (source, id) index per source, whatever the size of the history.
    QList<HistoryItem> items;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT %1, id FROM items WHERE source = ? ORDER BY id DESC LIMIT ?").arg(QLatin1String(Columns)));
    QList<std::pair<qint64, HistoryItem>> found;
    for (const QString &source : sources) {
        query.addBindValue(source);
        query.addBindValue(perSource);
        if (!m_open || !query.exec())
            continue;
        while (query.next())
            found.append({query.value(10).toLongLong(), itemOf(query)});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[id, item] : found)
        items << std::move(item);
    return items;
}

QHash<QString, QStringList> HistoryStore::keys(const QStringList &sources, int perSource) const
{
    QHash<QString, QStringList> keys;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT key FROM items WHERE source = ? ORDER BY id DESC LIMIT ?"));
    for (const QString &source : sources) {
        query.addBindValue(source);
        query.addBindValue(perSource);
        if (!m_open || !query.exec())
            continue;
        QStringList newestFirst;
        while (query.next())
            newestFirst << query.value(0).toString();
        std::reverse(newestFirst.begin(), newestFirst.end());
        if (!newestFirst.isEmpty())
            keys.insert(source, newestFirst);
    }
    return keys;
}

int HistoryStore::prune(const QDateTime &before)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("DELETE FROM items WHERE arrived < ?"));
    query.addBindValue(before.toSecsSinceEpoch());
    return m_open && query.exec() ? query.numRowsAffected() : 0;
}

HistoryStore::Query HistoryStore::parse(const QString &text) const
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    Query query;
    for (const QString &word : text.split(blanks, Qt::SkipEmptyParts)) {
        // "FX168:" names a source; "分析师：" is text, as no source has that name.
        const bool named = word.size() > 1 && (word.endsWith(u':') || word.endsWith(QChar(0xFF1A)))
            && hasSource(NewsSourceRegistry::nameOf(word.chopped(1)));
        if (named)
            query.source = NewsSourceRegistry::nameOf(word.chopped(1));
        else
            query.words << word;
    }
    return query;
}

QList<HistoryItem> HistoryStore::search(const QString &text, int limit) const
{
    QStringList phrases;
    QStringList conditions;
    QVariantList values;
    const Query parsed = parse(text);
    const QString &source = parsed.source;
    for (const QString &word : parsed.words) {
        if (word.size() >= 3) {
            // Three characters and more: the trigram index finds them.
            phrases << phrase(word);
        } else {
            // Most Chinese words are two characters, below what a trigram holds.
            conditions << QStringLiteral("(title LIKE ? ESCAPE '\\' OR summary LIKE ? ESCAPE '\\')");
            values << likePattern(word) << likePattern(word);
        }
    }
    if (phrases.isEmpty() && conditions.isEmpty())
        return {};
    if (!phrases.isEmpty()) {
        conditions.prepend(QStringLiteral("id IN (SELECT rowid FROM items_text WHERE items_text MATCH ?)"));
        values.prepend(phrases.join(QStringLiteral(" AND ")));
    }
    if (!source.isEmpty()) {
        conditions << QStringLiteral("source = ?");
        values << source;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT %1 FROM items WHERE %2 ORDER BY id DESC LIMIT ?")
                      .arg(QLatin1String(Columns), conditions.join(QStringLiteral(" AND "))));
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    query.addBindValue(limit);
    QList<HistoryItem> items;
    if (m_open && query.exec()) {
        while (query.next())
            items << itemOf(query);
    }
    return items;
}

bool HistoryStore::hasSource(const QString &name) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT 1 FROM items WHERE source = ? LIMIT 1"));
    query.addBindValue(name);
    return m_open && query.exec() && query.next();
}

qint64 HistoryStore::count() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    return m_open && query.exec(QStringLiteral("SELECT count(*) FROM items")) && query.next() ? query.value(0).toLongLong() : 0;
}
