#include "settings/AlertList.h"

#include "core/ConfigPaths.h"
#include "news/NewsSourceRegistry.h"

#include <QRegularExpression>

namespace {

const QString Words = ConfigPaths::AlertWords;
const QString Except = ConfigPaths::AlertExcept;
const QString Sources = ConfigPaths::AlertSources;
const QString Sound = ConfigPaths::AlertSound;

// Words apart by any blank, the ideographic space of a Chinese input method too.
QString tidyWords(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption);
    return text.split(blanks, Qt::SkipEmptyParts).join(u' ');
}

} // namespace

void AlertList::read(const cls_Config &config)
{
    m_entries = config.elements(ConfigPaths::Alerts, ConfigPaths::AlertElement);
}

const QStringList &AlertList::editedAttributes()
{
    static const QStringList names{Words, Except, Sources, Sound, ConfigPaths::Checked};
    return names;
}

AlertList::Rule AlertList::fields(qsizetype index) const
{
    const QHash<QString, QString> &entry = m_entries.at(index);
    return {entry.value(Words), entry.value(Except), entry.value(Sources), entry.value(Sound),
            entry.value(ConfigPaths::Checked, QStringLiteral("1")).trimmed() != QStringLiteral("0")};
}

QString AlertList::line(qsizetype index) const
{
    const Rule rule = fields(index);
    QString text = tidyWords(rule.words);
    if (text.isEmpty())
        text = QStringLiteral("(无关键词)");
    if (!tidyWords(rule.except).isEmpty())
        text += QStringLiteral("  排除: ") + tidyWords(rule.except);
    text += QStringLiteral("  来源: ") + (rule.sources.trimmed().isEmpty() ? QStringLiteral("全部") : rule.sources.trimmed());
    text += QStringLiteral("  声音: ") + (rule.sound.isEmpty() ? QStringLiteral("无") : rule.sound);
    return text + (rule.checked ? QStringLiteral("  启用") : QStringLiteral("  停用"));
}

QString AlertList::stored(const Rule &rule, const QStringList &sourceNames, QHash<QString, QString> &entry)
{
    const QString words = tidyWords(rule.words);
    if (words.isEmpty())
        return QStringLiteral("请填写要查找的词 (任一词出现即提醒, 以空格分隔)");
    // Names (or a built-in source's caption) as the sources spell them;
    // commas of either width, or blanks, between them.
    static const QRegularExpression separators(QStringLiteral("[,，、\\s]+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList sources;
    for (const QString &written : rule.sources.split(separators, Qt::SkipEmptyParts)) {
        const QString name = NewsSourceRegistry::nameOf(written);
        const qsizetype known = sourceNames.indexOf(QRegularExpression(
            u'^' + QRegularExpression::escape(name) + u'$', QRegularExpression::CaseInsensitiveOption));
        if (known < 0)
            return QStringLiteral("没有名为“%1”的新闻源").arg(written);
        if (!sources.contains(sourceNames.at(known)))
            sources << sourceNames.at(known);
    }
    if (rule.sound.contains(u'/') || rule.sound.contains(u'\\'))
        return QStringLiteral("声音须是 Sound 文件夹中的文件");
    entry.insert(Words, words);
    entry.insert(Except, tidyWords(rule.except));
    entry.insert(Sources, sources.join(u','));
    entry.insert(Sound, rule.sound);
    entry.insert(ConfigPaths::Checked, rule.checked ? QStringLiteral("1") : QStringLiteral("0"));
    return {};
}

QString AlertList::add(const Rule &rule, const QStringList &sourceNames)
{
    QHash<QString, QString> entry;
    const QString problem = stored(rule, sourceNames, entry);
    if (problem.isEmpty())
        m_entries.append(entry);
    return problem;
}

QString AlertList::change(qsizetype index, const Rule &rule, const QStringList &sourceNames)
{
    if (index < 0 || index >= m_entries.size())
        return QStringLiteral("请先在列表中选择一条提醒");
    // What the dialog does not edit stays.
    QHash<QString, QString> entry = m_entries.at(index);
    const QString problem = stored(rule, sourceNames, entry);
    if (problem.isEmpty())
        m_entries[index] = entry;
    return problem;
}

void AlertList::remove(qsizetype index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

bool AlertList::write(cls_Config &config) const
{
    QList<cls_Config::Attributes> elements;
    for (const QHash<QString, QString> &entry : m_entries)
        elements.append(cls_Config::inOrder(entry, editedAttributes()));
    return config.replaceElements(ConfigPaths::Alerts, ConfigPaths::AlertElement, elements);
}
