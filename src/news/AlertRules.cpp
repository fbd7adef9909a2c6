#include "news/AlertRules.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "news/FoldedText.h"
#include "news/NewsSourceRegistry.h"

#include <QRegularExpression>

#include <algorithm>

void AlertRules::load(const cls_Config &config)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption);
    QList<Rule> rules;
    for (const QHash<QString, QString> &entry : config.elements(ConfigPaths::Alerts, ConfigPaths::AlertElement)) {
        if (entry.value(ConfigPaths::Checked, QStringLiteral("1")).trimmed() == QStringLiteral("0"))
            continue;
        Rule rule;
        rule.words = entry.value(ConfigPaths::AlertWords).split(blanks, Qt::SkipEmptyParts);
        rule.except = entry.value(ConfigPaths::AlertExcept).split(blanks, Qt::SkipEmptyParts);
        static const QRegularExpression commas(QStringLiteral("[,，、]"));
        for (const QString &source : entry.value(ConfigPaths::AlertSources).split(commas, Qt::SkipEmptyParts)) {
            if (!source.trimmed().isEmpty())
                rule.sources << NewsSourceRegistry::nameOf(source.trimmed());
        }
        rule.sound = entry.value(ConfigPaths::AlertSound).trimmed();
        if (!rule.words.isEmpty())
            rules << rule;
    }
    setRules(rules);
}

void AlertRules::setRules(QList<Rule> rules)
{
    // Words are folded once, not for every item.
    m_rules.clear();
    for (Rule &rule : rules) {
        Folded folded{std::move(rule), {}, {}};
        for (const QString &word : std::as_const(folded.rule.words))
            folded.words << (word == ImportantWord ? word : FoldedText::fold(word));
        for (const QString &word : std::as_const(folded.rule.except))
            folded.except << FoldedText::fold(word);
        m_rules << folded;
    }
}

std::optional<AlertRules::Match> AlertRules::match(const QString &sourceName, const QString &title, const QString &summary,
                                                   bool important) const
{
    if (m_rules.isEmpty())
        return std::nullopt;
    const FoldedText text(title + u'\n' + summary);
    for (const Folded &folded : m_rules) {
        const Rule &rule = folded.rule;
        if (!rule.sources.isEmpty() && !rule.sources.contains(sourceName, Qt::CaseInsensitive))
            continue;
        if (std::any_of(folded.except.cbegin(), folded.except.cend(), [&text](const QString &word) { return text.contains(word); }))
            continue;
        Match found{{}, {}, rule.sound};
        for (qsizetype i = 0; i < folded.words.size(); ++i) {
            const QString &word = folded.words.at(i);
            const bool isImportance = rule.words.at(i) == ImportantWord;
            if (isImportance ? !important : !text.contains(word))
                continue;
            found.words << rule.words.at(i);
            if (!isImportance)
                found.marks << text.spans(word);
        }
        if (!found.words.isEmpty()) {
            found.marks.removeDuplicates();
            return found;
        }
    }
    return std::nullopt;
}
