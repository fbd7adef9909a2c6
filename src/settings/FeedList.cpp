#include "settings/FeedList.h"

#include "core/ConfigPaths.h"
#include "news/NewsSourceRegistry.h"

void FeedList::read(const cls_Config &config)
{
    m_entries = config.elements(ConfigPaths::Feeds, ConfigPaths::FeedElement);
}

QStringList FeedList::names() const
{
    QStringList names;
    for (const QHash<QString, QString> &entry : m_entries) {
        if (const QString name = entry.value(ConfigPaths::Name).trimmed(); !name.isEmpty())
            names << name;
    }
    return names;
}

QString FeedList::problemOf(const QHash<QString, QString> &entry, qsizetype self) const
{
    QStringList taken = NewsSourceRegistry::builtInNames();
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (i != self)
            taken << m_entries.at(i).value(ConfigPaths::Name).trimmed();
    }
    QString problem;
    NewsSourceRegistry::readFeed(entry, taken, &problem);
    return problem;
}

QHash<QString, QString> FeedList::stored(const NewsSource &source)
{
    QHash<QString, QString> entry;
    for (const auto &[name, value] : NewsSourceRegistry::feedAttributes(source))
        entry.insert(name, value);
    return entry;
}

QString FeedList::line(qsizetype index) const
{
    const QHash<QString, QString> &entry = m_entries.at(index);
    const QString name = entry.value(ConfigPaths::Name).trimmed();
    // Only the entries before it count, as when the program reads the file.
    QStringList taken = NewsSourceRegistry::builtInNames();
    for (qsizetype i = 0; i < index; ++i)
        taken << m_entries.at(i).value(ConfigPaths::Name).trimmed();
    QString problem;
    const std::optional<NewsSource> source = NewsSourceRegistry::readFeed(entry, taken, &problem);
    if (!source)
        return (name.isEmpty() ? QStringLiteral("(无名称)") : name) + QStringLiteral("  [有误: ") + problem + u']';
    return QStringLiteral("%1  每%2秒  %3  %4")
        .arg(source->name)
        .arg(source->interval)
        .arg(source->checked ? QStringLiteral("启用") : QStringLiteral("停用"), source->url);
}

NewsSource FeedList::fields(qsizetype index) const
{
    const QHash<QString, QString> &entry = m_entries.at(index);
    NewsSource source;
    source.name = entry.value(ConfigPaths::Name);
    source.url = entry.value(ConfigPaths::Url);
    source.kind = NewsSourceRegistry::readKind(entry.value(ConfigPaths::Kind, QStringLiteral("auto")));
    source.interval = entry.value(ConfigPaths::IntervalTime, QString::number(NewsSourceRegistry::DefaultInterval)).toInt();
    source.checked = entry.value(ConfigPaths::Checked, QStringLiteral("1")).trimmed() != QStringLiteral("0");
    source.itemSelector = entry.value(QStringLiteral("Item"));
    source.titleSelector = entry.value(QStringLiteral("Title"));
    source.linkSelector = entry.value(QStringLiteral("Link"));
    source.timeSelector = entry.value(QStringLiteral("Time"));
    source.summarySelector = entry.value(QStringLiteral("Summary"));
    return source;
}

QString FeedList::add(const NewsSource &source)
{
    const QHash<QString, QString> entry = stored(source);
    const QString problem = problemOf(entry, -1);
    if (problem.isEmpty())
        m_entries.append(entry);
    return problem;
}

QString FeedList::change(qsizetype index, const NewsSource &source)
{
    if (index < 0 || index >= m_entries.size())
        return QStringLiteral("请先在列表中选择一个新闻源");
    QHash<QString, QString> entry = stored(source);
    const QString problem = problemOf(entry, index);
    if (!problem.isEmpty())
        return problem;
    // What the dialog does not edit stays (attributes of a later version, a note by hand).
    const QHash<QString, QString> &old = m_entries.at(index);
    for (auto it = old.cbegin(); it != old.cend(); ++it) {
        if (!editedAttributes().contains(it.key()))
            entry.insert(it.key(), it.value());
    }
    m_entries[index] = entry;
    return {};
}

void FeedList::remove(qsizetype index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

const QStringList &FeedList::editedAttributes()
{
    static const QStringList names{ConfigPaths::Name, ConfigPaths::Url, ConfigPaths::Checked, ConfigPaths::IntervalTime,
                                   ConfigPaths::Kind, QStringLiteral("Item"), QStringLiteral("Title"),
                                   QStringLiteral("Link"), QStringLiteral("Time"), QStringLiteral("Summary")};
    return names;
}

bool FeedList::write(cls_Config &config) const
{
    // The edited attributes in the file's order, any others after them.
    QList<cls_Config::Attributes> elements;
    for (const QHash<QString, QString> &entry : m_entries)
        elements.append(cls_Config::inOrder(entry, editedAttributes()));
    return config.replaceElements(ConfigPaths::Feeds, ConfigPaths::FeedElement, elements);
}
