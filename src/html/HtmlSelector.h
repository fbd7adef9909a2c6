#pragma once

#include "html/HtmlCollection.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A CSS selector over our document layer, for pages read by selectors. The
// subset: type and `*`, `.class`, `#id`, `[attr]`, `[attr=value]` (value
// bare or quoted), `:nth-child(an+b | odd | even)`, the descendant (blank)
// and child (`>`) combinators, and groups separated by ",".
class HtmlSelector
{
public:
    explicit HtmlSelector(const QString &text);

    // A selector that may end in "@attr" to read that attribute of what it
    // finds: "a.more@href" is the selector "a.more" and the attribute "href".
    struct Target
    {
        QString selector;
        QString attribute; // lower case; `defaultAttribute` when none is written
    };
    static Target target(const QString &text, const QString &defaultAttribute = QString());

    bool isValid() const { return m_error.isEmpty(); }
    // Why the text is not a selector of the subset.
    QString error() const { return m_error; }

    bool matches(const HtmlElement &element) const;
    // The descendants of root that match, in document order.
    HtmlCollection select(const HtmlElement &root) const;
    HtmlElement first(const HtmlElement &root) const;

private:
    struct Attribute
    {
        QString name;
        std::optional<QString> value;
    };
    struct Compound
    {
        QString tag; // lower case; empty for any
        QString id;
        QStringList classes;
        std::vector<Attribute> attributes;
        std::optional<std::pair<int, int>> nthChild; // a, b of an+b
        bool childOfPrevious = false; // joined to the compound before it by ">"
    };
    using Complex = std::vector<Compound>;

    bool parse(const QString &text);
    static bool matchesCompound(const Compound &compound, const HtmlElement &element);
    static bool matchesFrom(const Complex &complex, int last, const HtmlElement &element);

    std::vector<Complex> m_groups;
    QString m_error;
};
