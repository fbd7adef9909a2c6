#include "html/HtmlElement.h"

#include "html/HtmlCollection.h"
#include "html/WebLink.h"

#include <gumbo.h>

namespace {

QByteArray lowerTag(const QString &name)
{
    return name.toLower().toUtf8();
}

// The tag name of an element as written in the page, lower-cased; gumbo keeps
// only the original text for tags it does not know.
QByteArray nameOf(const GumboNode *node)
{
    const GumboElement &element = node->v.element;
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return QByteArray(gumbo_normalized_tagname(element.tag));
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    return QByteArray(piece.data, static_cast<qsizetype>(piece.length)).toLower();
}

bool isElement(const GumboNode *node)
{
    return node && (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE);
}

// Calls visit(node) for every descendant in document order, without recursion:
// a hostile page can nest elements deeper than any stack.
template<typename Visit>
void forEachDescendant(const GumboNode *root, Visit visit)
{
    if (!isElement(root))
        return;
    std::vector<std::pair<const GumboNode *, unsigned>> stack{{root, 0}};
    while (!stack.empty()) {
        auto &[node, next] = stack.back();
        const GumboVector &children = node->v.element.children;
        if (next >= children.length) {
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[next++]);
        visit(child);
        if (isElement(child))
            stack.emplace_back(child, 0);
    }
}

bool isBlock(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_ASIDE: case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_CAPTION: case GUMBO_TAG_CENTER: case GUMBO_TAG_DD: case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_DIV: case GUMBO_TAG_DL: case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_FIGURE: case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM: case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4:
    case GUMBO_TAG_H5: case GUMBO_TAG_H6: case GUMBO_TAG_HEADER: case GUMBO_TAG_HR: case GUMBO_TAG_LI:
    case GUMBO_TAG_MAIN: case GUMBO_TAG_NAV: case GUMBO_TAG_OL: case GUMBO_TAG_P: case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION: case GUMBO_TAG_TABLE: case GUMBO_TAG_TBODY: case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TFOOT: case GUMBO_TAG_TR: case GUMBO_TAG_UL:
        return true;
    default:
        return false;
    }
}

bool isHidden(GumboTag tag)
{
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_TEMPLATE
        || tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_NOSCRIPT || tag == GUMBO_TAG_TITLE;
}

bool isFoldable(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Builds rendered text: folds white space and places line breaks, never two
// blanks in a row and no blank at the start or end of a line.
class TextBuilder
{
public:
    void text(const char *utf8, size_t size)
    {
        const QString piece = QString::fromUtf8(utf8, static_cast<qsizetype>(size));
        for (const QChar c : piece) {
            if (isFoldable(c.unicode())) {
                m_space = true;
                continue;
            }
            if (m_break && !m_out.isEmpty())
                m_out += u'\n';
            else if (m_space && !m_out.isEmpty() && m_out.back() != u'\n')
                m_out += u' ';
            m_break = m_space = false;
            m_out += c;
        }
    }
    void blockEdge() { m_break = true; }
    void lineBreak()
    {
        m_out += u'\n';
        m_break = m_space = false;
    }
    QString result() const
    {
        QString out = m_out;
        while (!out.isEmpty() && out.back() == u'\n')
            out.chop(1);
        return out;
    }

private:
    QString m_out;
    bool m_space = false;
    bool m_break = false;
};

void renderText(const GumboNode *root, TextBuilder &builder)
{
    // Pre-order walk that also sees each element's end, for block edges.
    std::vector<std::pair<const GumboNode *, unsigned>> stack{{root, 0}};
    while (!stack.empty()) {
        auto &[node, next] = stack.back();
        const GumboVector &children = node->v.element.children;
        if (next >= children.length) {
            if (isBlock(node->v.element.tag))
                builder.blockEdge();
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[next++]);
        switch (child->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_CDATA:
        case GUMBO_NODE_WHITESPACE:
            builder.text(child->v.text.text, std::strlen(child->v.text.text));
            break;
        case GUMBO_NODE_ELEMENT: {
            const GumboTag tag = child->v.element.tag;
            if (tag == GUMBO_TAG_BR) {
                builder.lineBreak();
            } else if (!isHidden(tag)) {
                if (isBlock(tag))
                    builder.blockEdge();
                else if ((tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) && child->index_within_parent > 0)
                    builder.text(" ", 1);
                stack.emplace_back(child, 0);
            }
            break;
        }
        default:
            break;
        }
    }
}

void appendChildren(const GumboNode *parent, GumboTag tag, std::vector<HtmlElement> &out)
{
    const GumboVector &children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (isElement(child) && child->v.element.tag == tag)
            out.emplace_back(child);
    }
}

} // namespace

QString HtmlElement::tagName() const
{
    return isNull() ? QString() : QString::fromUtf8(nameOf(m_node));
}

HtmlCollection HtmlElement::getElementsByTagName(const QString &tagName) const
{
    std::vector<HtmlElement> found;
    const QByteArray wanted = lowerTag(tagName);
    const GumboTag tag = gumbo_tagn_enum(wanted.constData(), static_cast<unsigned>(wanted.size()));
    forEachDescendant(m_node, [&](const GumboNode *node) {
        if (!isElement(node))
            return;
        if (tag != GUMBO_TAG_UNKNOWN ? node->v.element.tag == tag
                                     : node->v.element.tag == GUMBO_TAG_UNKNOWN && nameOf(node) == wanted)
            found.emplace_back(node);
    });
    return HtmlCollection(std::move(found));
}

HtmlElement HtmlElement::firstByTagName(const QString &tagName) const
{
    return getElementsByTagName(tagName).item(0);
}

HtmlCollection HtmlElement::descendants() const
{
    std::vector<HtmlElement> found;
    forEachDescendant(m_node, [&](const GumboNode *node) {
        if (isElement(node))
            found.emplace_back(node);
    });
    return HtmlCollection(std::move(found));
}

HtmlElement HtmlElement::parent() const
{
    if (!isElement(m_node) || !isElement(m_node->parent))
        return {};
    return HtmlElement(m_node->parent);
}

int HtmlElement::childIndex() const
{
    if (!isElement(m_node) || !m_node->parent)
        return 0;
    const GumboNode *parentNode = m_node->parent;
    if (parentNode->type != GUMBO_NODE_ELEMENT && parentNode->type != GUMBO_NODE_TEMPLATE
        && parentNode->type != GUMBO_NODE_DOCUMENT)
        return 0;
    const GumboVector &children = parentNode->type == GUMBO_NODE_DOCUMENT ? parentNode->v.document.children
                                                                         : parentNode->v.element.children;
    int index = 0;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (isElement(child))
            ++index;
        if (child == m_node)
            return index;
    }
    return 0;
}

HtmlCollection HtmlElement::rows() const
{
    std::vector<HtmlElement> head, body, foot;
    if (isNull() || m_node->v.element.tag != GUMBO_TAG_TABLE)
        return {};
    const GumboVector &children = m_node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (!isElement(child))
            continue;
        switch (child->v.element.tag) {
        case GUMBO_TAG_TR:
            body.emplace_back(child);
            break;
        case GUMBO_TAG_THEAD:
            appendChildren(child, GUMBO_TAG_TR, head);
            break;
        case GUMBO_TAG_TBODY:
            appendChildren(child, GUMBO_TAG_TR, body);
            break;
        case GUMBO_TAG_TFOOT:
            appendChildren(child, GUMBO_TAG_TR, foot);
            break;
        default:
            break;
        }
    }
    head.insert(head.end(), body.begin(), body.end());
    head.insert(head.end(), foot.begin(), foot.end());
    return HtmlCollection(std::move(head));
}

HtmlCollection HtmlElement::cells() const
{
    std::vector<HtmlElement> found;
    if (isNull() || m_node->v.element.tag != GUMBO_TAG_TR)
        return {};
    const GumboVector &children = m_node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (isElement(child) && (child->v.element.tag == GUMBO_TAG_TD || child->v.element.tag == GUMBO_TAG_TH))
            found.emplace_back(child);
    }
    return HtmlCollection(std::move(found));
}

QString HtmlElement::innerText() const
{
    if (!isElement(m_node))
        return {};
    TextBuilder builder;
    renderText(m_node, builder);
    return builder.result();
}

QString HtmlElement::attribute(const QString &name) const
{
    if (!isElement(m_node))
        return {};
    const QByteArray wanted = name.toLower().toUtf8();
    const GumboAttribute *attribute = gumbo_get_attribute(&m_node->v.element.attributes, wanted.constData());
    return attribute ? QString::fromUtf8(attribute->value) : QString();
}

bool HtmlElement::hasAttribute(const QString &name) const
{
    return isElement(m_node) && gumbo_get_attribute(&m_node->v.element.attributes, name.toLower().toUtf8().constData());
}

QString HtmlElement::href(const QString &baseUrl) const
{
    if (!isElement(m_node) || !gumbo_get_attribute(&m_node->v.element.attributes, "href"))
        return {};
    return WebLink::resolve(attribute(QStringLiteral("href")), baseUrl);
}
