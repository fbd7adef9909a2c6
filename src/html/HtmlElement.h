#pragma once

#include <QString>

#include <vector>

struct GumboInternalNode;
class HtmlCollection;

// A handle on one element of an HtmlDocument, valid while the document keeps
// its current content. A null handle stands for "no element": every operation
// on it answers empty, so callers test isNull() where an element is required.
class HtmlElement
{
public:
    HtmlElement() = default;
    explicit HtmlElement(const GumboInternalNode *node)
        : m_node(node)
    {
    }

    bool isNull() const { return m_node == nullptr; }
    // Lower-case tag name ("div", "a", ...).
    QString tagName() const;

    // Descendants with that tag name (any case), in document order.
    HtmlCollection getElementsByTagName(const QString &tagName) const;
    HtmlElement firstByTagName(const QString &tagName) const;
    // Every descendant element, in document order.
    HtmlCollection descendants() const;
    // The parent element; null at the document's root.
    HtmlElement parent() const;
    // The 1-based place among the parent's element children (CSS :nth-child).
    int childIndex() const;
    // The rows of a table: those of THEAD, then those directly in the table or
    // in TBODY in document order, then those of TFOOT.
    HtmlCollection rows() const;
    // The TD and TH children of a row.
    HtmlCollection cells() const;

    // Text as a browser renders it: markup and scripts removed, entities
    // decoded, runs of white space folded to one blank, block elements and
    // <br> as line breaks, no blanks at line ends.
    QString innerText() const;
    QString attribute(const QString &name) const;
    bool hasAttribute(const QString &name) const;
    QString className() const { return attribute(QStringLiteral("class")); }
    // The href resolved against baseUrl; empty unless the result is an http or
    // https address (javascript:, data:, relative links without a base, ...).
    QString href(const QString &baseUrl) const;

    const GumboInternalNode *node() const { return m_node; }

private:
    const GumboInternalNode *m_node = nullptr;
};
