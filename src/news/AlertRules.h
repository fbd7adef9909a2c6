#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class cls_Config;

// The user's keyword alerts (Settings/Tavrin/Alerts, one Alert element a
// rule): words to find (any of them), words that rule an item out, the
// sources a rule covers (all when none is named), a sound, on or off. The
// word "重要:" finds the items their feed marks as important. Matching
// ignores letter case, full or half width and Traditional or Simplified
// forms (see FoldedText).
class AlertRules
{
public:
    struct Rule
    {
        QStringList words;
        QStringList except;
        QStringList sources; // source names; empty: all
        QString sound;       // a file of the Sound folder; empty: none
    };
    struct Match
    {
        QStringList words; // the rule's words found
        QStringList marks; // where they stand in the title and summary, as written there
        QString sound;
    };

    static inline const QString ImportantWord = QStringLiteral("重要:");

    void load(const cls_Config &config);
    void setRules(QList<Rule> rules);
    bool isEmpty() const { return m_rules.isEmpty(); }
    // The first rule on that finds the item; nothing when none does.
    std::optional<Match> match(const QString &sourceName, const QString &title, const QString &summary,
                               bool important) const;

private:
    struct Folded
    {
        Rule rule;
        QStringList words;  // folded, in the rule's order
        QStringList except; // folded
    };

    QList<Folded> m_rules;
};
