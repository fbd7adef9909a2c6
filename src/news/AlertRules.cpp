#include "news/AlertRules.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"

#include <QRegularExpression>

QString AlertRules::folded(const QString &text)
{
    // NFKC folds full-width letters and digits to their narrow forms.
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void AlertRules::load(const cls_Config &config)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    m_rules.clear();
    for (const QHash<QString, QString> &entry : config.elements(ConfigPaths::Alerts, ConfigPaths::AlertElement)) {
        if (entry.value(ConfigPaths::Checked, QStringLiteral("1")).trimmed() == QStringLiteral("0"))
            continue;
        Rule rule;
        rule.words = entry.value(QStringLiteral("Words")).split(blanks, Qt::SkipEmptyParts);
        rule.except = entry.value(QStringLiteral("Except")).split(blanks, Qt::SkipEmptyParts);
        for (const QString &source : entry.value(QStringLiteral("Sources")).split(u',', Qt::SkipEmptyParts)) {
            if (!source.trimmed().isEmpty())
                rule.sources << source.trimmed();
        }
        rule.sound = entry.value(QStringLiteral("Sound")).trimmed();
        if (!rule.words.isEmpty())
            m_rules << rule;
    }
}

std::optional<AlertRules::Match> AlertRules::match(const QString &sourceName, const QString &title, const QString &summary,
                                                   bool important) const
{
    const QString text = folded(title + u'\n' + summary);
    for (const Rule &rule : m_rules) {
        if (!rule.sources.isEmpty() && !rule.sources.contains(sourceName, Qt::CaseInsensitive))
            continue;
        bool excluded = false;
        for (const QString &word : rule.except)
            excluded = excluded || text.contains(folded(word));
        if (excluded)
            continue;
        QStringList found;
        for (const QString &word : rule.words) {
            if (word == ImportantWord ? important : text.contains(folded(word)))
                found << word;
        }
        if (!found.isEmpty())
            return Match{found, rule.sound};
    }
    return std::nullopt;
}
