#include "worker/XmlFeedReader.h"

#include "html/PlainText.h"
#include "html/WebLink.h"
#include "worker/FeedDate.h"

#include <QRegularExpression>
#include <QUrl>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <mutex>

namespace {

const QString rss090 = QStringLiteral("http://my.netscape.com/rdf/simple/0.9/");
const QString rss10 = QStringLiteral("http://purl.org/rss/1.0/");
const QString atom10 = QStringLiteral("http://www.w3.org/2005/Atom");
const QString atom03 = QStringLiteral("http://purl.org/atom/ns#");

const std::pair<const char *, const char *> prefixes[] = {
    {"http://purl.org/dc/elements/1.1/", "dc:"},
    {"http://purl.org/dc/terms/", "dcterms:"},
    {"http://purl.org/rss/1.0/modules/content/", "content:"},
    {"http://www.w3.org/1999/xhtml", "xhtml:"},
    {"http://www.w3.org/1999/02/22-rdf-syntax-ns#", "rdf:"},
    {"http://www.w3.org/2005/Atom", "atom:"},
    {"http://purl.org/atom/ns#", "atom:"},
};

// Nothing outside the document is ever read: no DTD, no external entity.
xmlParserInputPtr refuseExternal(const char *, const char *, xmlParserCtxtPtr)
{
    return nullptr;
}

void initialiseLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuseExternal);
    });
}

struct XmlFree
{
    void operator()(xmlChar *text) const { xmlFree(text); }
};
using XmlText = std::unique_ptr<xmlChar, XmlFree>;

QString fromXml(const xmlChar *text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

bool isElement(const xmlNode *node)
{
    return node && node->type == XML_ELEMENT_NODE;
}

QString attribute(const xmlNode *node, const char *name)
{
    const XmlText value(xmlGetProp(node, reinterpret_cast<const xmlChar *>(name)));
    return fromXml(value.get());
}

// The element's text as the document holds it: text and CDATA of every
// descendant, entity references of a DOCTYPE not expanded.
QString rawText(const xmlNode *node)
{
    QString text;
    std::vector<const xmlNode *> stack;
    for (const xmlNode *child = node->last; child; child = child->prev)
        stack.push_back(child);
    while (!stack.empty()) {
        const xmlNode *current = stack.back();
        stack.pop_back();
        if (current->type == XML_TEXT_NODE || current->type == XML_CDATA_SECTION_NODE)
            text += fromXml(current->content);
        else if (current->type == XML_ELEMENT_NODE)
            for (const xmlNode *child = current->last; child; child = child->prev)
                stack.push_back(child);
    }
    return text;
}

// The element's content as markup, for inline XHTML.
QString innerMarkup(const xmlNode *node)
{
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    for (xmlNode *child = node->children; child; child = child->next) {
        if (child->type != XML_ENTITY_REF_NODE)
            xmlNodeDump(buffer.get(), node->doc, child, 0, 0);
    }
    return fromXml(xmlBufferContent(buffer.get()));
}

bool isHtmlType(const QString &type)
{
    return type.contains(QStringLiteral("html")) && !type.contains(QStringLiteral("xhtml"));
}

} // namespace

XmlFeedReader::XmlFeedReader(const QString &url, const QDateTime &now)
    : m_url(url)
    , m_now(now)
{
    initialiseLibrary();
}

std::optional<Feed> XmlFeedReader::read(const QString &text, QString *error)
{
    const auto parse = [this](const QString &from) -> std::optional<Feed> {
        const QByteArray utf8 = prepared(from);
        const int options = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING
            | XML_PARSE_NOCDATA | XML_PARSE_IGNORE_ENC | XML_PARSE_COMPACT;
        const QByteArray url = m_url.toUtf8();
        std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
            xmlReadMemory(utf8.constData(), static_cast<int>(utf8.size()), url.isEmpty() ? nullptr : url.constData(),
                          "UTF-8", options),
            xmlFreeDoc);
        return document ? readDocument(document.get()) : std::nullopt;
    };
    if (std::optional<Feed> feed = parse(text))
        return feed;
    // Something before the feed (a warning a server printed, a second
    // document): read from the feed's own element on.
    static const QRegularExpression start(QStringLiteral("<(?:[A-Za-z_][\\w.-]*:)?(?:rss|feed|RDF)[\\s>/]"));
    const QRegularExpressionMatch match = start.match(text, 1);
    if (match.hasMatch()) {
        if (std::optional<Feed> feed = parse(text.mid(match.capturedStart())))
            return feed;
    }
    *error = QStringLiteral("not a feed: no rss, rdf:RDF or feed element");
    return std::nullopt;
}

// What a feed writer meant, in the XML the parser reads: the DOCTYPE goes
// (its entities are never expanded and nothing it names is ever read), HTML's
// named entities (&nbsp;, &mdash;, undefined in XML) become character
// references, and an "&" that starts no reference known to XML or HTML
// stands for itself.
QByteArray XmlFeedReader::prepared(const QString &text)
{
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    const qsizetype doctype = text.indexOf(QStringLiteral("<!DOCTYPE"), 0, Qt::CaseInsensitive);
    const qsizetype firstElement = text.indexOf(QRegularExpression(QStringLiteral("<[A-Za-z_]")));
    if (doctype >= 0 && (firstElement < 0 || doctype < firstElement)) {
        out += QStringView(text).left(doctype);
        done = doctypeEnd(text, doctype);
    }
    for (qsizetype at = text.indexOf(u'&', done); at >= 0; at = text.indexOf(u'&', at + 1)) {
        qsizetype end = at + 1;
        const bool numeric = end < text.size() && text.at(end) == u'#';
        if (numeric)
            ++end;
        while (end < text.size() && end - at <= 32 && text.at(end).unicode() < 128 && text.at(end).isLetterOrNumber())
            ++end;
        const bool reference = end > at + 1 + (numeric ? 1 : 0) && end < text.size() && text.at(end) == u';';
        out += QStringView(text).mid(done, at - done);
        done = at;
        if (!reference) {
            out += QStringLiteral("&amp;");
            done = at + 1;
            continue;
        }
        const QString name = text.mid(at + 1, end - at - 1);
        if (numeric || name == QStringLiteral("amp") || name == QStringLiteral("lt") || name == QStringLiteral("gt")
            || name == QStringLiteral("quot") || name == QStringLiteral("apos"))
            continue;
        auto known = m_entities.find(name);
        if (known == m_entities.end())
            known = m_entities.insert(name, PlainText::namedEntity(name));
        if (known->isEmpty()) {
            // No entity of HTML either: the reference shows as written.
            out += QStringLiteral("&amp;");
            done = at + 1;
            continue;
        }
        for (const char32_t code : known->toUcs4())
            out += QStringLiteral("&#%1;").arg(code);
        done = end + 1;
    }
    out += QStringView(text).mid(done);
    return out.toUtf8();
}

// Past the ">" that closes the DOCTYPE at `start`, its internal subset
// (quoted strings, comments) included.
qsizetype XmlFeedReader::doctypeEnd(const QString &text, qsizetype start)
{
    QChar quote;
    bool subset = false;
    for (qsizetype i = start + 9; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'[') {
            subset = true;
        } else if (c == u']') {
            subset = false;
        } else if (c == u'>' && !subset) {
            return i + 1;
        }
    }
    return text.size();
}

QString XmlFeedReader::keyOf(const xmlNode *node) const
{
    const QString local = fromXml(node->name);
    if (!node->ns || !node->ns->href)
        return local.toLower(); // no namespace, or a prefix left undeclared ("dc:date")
    const QString href = fromXml(node->ns->href);
    const bool atom = href == atom10 || href == atom03;
    if (href == rss090 || href == rss10 || (atom && (m_dialect == Dialect::Atom10 || m_dialect == Dialect::Atom03))
        || href.contains(QStringLiteral("userland.com")) || href.contains(QStringLiteral("harvard.edu")))
        return local.toLower();
    for (const auto &[uri, prefix] : prefixes) {
        if (href == QLatin1String(uri))
            return QLatin1String(prefix) + local.toLower();
    }
    return u'{' + href + u'}' + local.toLower();
}

const xmlNode *XmlFeedReader::child(const xmlNode *parent, const QString &key) const
{
    for (const xmlNode *node = parent->children; node; node = node->next) {
        if (isElement(node) && keyOf(node) == key)
            return node;
    }
    return nullptr;
}

QList<const xmlNode *> XmlFeedReader::children(const xmlNode *parent, const QString &key) const
{
    QList<const xmlNode *> found;
    for (const xmlNode *node = parent->children; node; node = node->next) {
        if (isElement(node) && keyOf(node) == key)
            found << node;
    }
    return found;
}

template<typename Read>
QString XmlFeedReader::firstText(const xmlNode *parent, std::initializer_list<const char *> keys, Read read) const
{
    for (const char *key : keys) {
        for (const xmlNode *node : children(parent, QLatin1String(key))) {
            const QString text = read(node);
            if (!text.isEmpty())
                return text;
        }
    }
    return {};
}

std::optional<QDateTime> XmlFeedReader::firstDate(const xmlNode *parent, std::initializer_list<const char *> keys) const
{
    for (const char *key : keys) {
        for (const xmlNode *node : children(parent, QLatin1String(key))) {
            if (std::optional<QDateTime> date = FeedDate::parse(rawText(node), m_now))
                return date;
        }
    }
    return std::nullopt;
}

QString XmlFeedReader::htmlText(const xmlNode *node) const
{
    // An RSS element with XHTML children (xhtml:body, or markup left
    // unescaped by its writer) is read as the markup it holds.
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (isElement(child))
            return PlainText::fromHtml(innerMarkup(node));
    }
    return PlainText::fromHtml(rawText(node));
}

QString XmlFeedReader::textConstruct(const xmlNode *node) const
{
    const QString type = attribute(node, "type").trimmed().toLower();
    const QString mode = attribute(node, "mode").trimmed().toLower();
    if (mode == QStringLiteral("base64")) {
        const QString decoded = QString::fromUtf8(QByteArray::fromBase64(rawText(node).toLatin1()));
        return isHtmlType(type) ? PlainText::fromHtml(decoded) : PlainText::folded(decoded);
    }
    if (m_dialect == Dialect::Atom03) {
        if (mode == QStringLiteral("escaped"))
            return isHtmlType(type) || type.isEmpty() ? PlainText::fromHtml(rawText(node)) : PlainText::folded(rawText(node));
        return PlainText::fromHtml(innerMarkup(node)); // mode "xml", the default: inline content
    }
    if (type.contains(QStringLiteral("xhtml")))
        return PlainText::fromHtml(innerMarkup(node));
    if (isHtmlType(type))
        return PlainText::fromHtml(rawText(node));
    return PlainText::folded(rawText(node));
}

QString XmlFeedReader::link(const xmlNode *node, const QString &raw) const
{
    // xml:base of the element and its ancestors, over the feed's address.
    const XmlText base(xmlNodeGetBase(node->doc, node));
    const QUrl baseUrl = QUrl(m_url).resolved(QUrl(base ? fromXml(base.get()) : QString()));
    return WebLink::resolve(raw, baseUrl.toString());
}

QString XmlFeedReader::atomLink(const xmlNode *parent) const
{
    const xmlNode *chosen = nullptr;
    const xmlNode *firstAlternate = nullptr;
    const xmlNode *first = nullptr;
    for (const xmlNode *node : children(parent, QStringLiteral("link"))) {
        const QString rel = attribute(node, "rel").trimmed().toLower();
        first = first ? first : node;
        if (!rel.isEmpty() && rel != QStringLiteral("alternate"))
            continue;
        firstAlternate = firstAlternate ? firstAlternate : node;
        if (!chosen && attribute(node, "type").trimmed().toLower() == QStringLiteral("text/html"))
            chosen = node;
    }
    chosen = chosen ? chosen : (firstAlternate ? firstAlternate : first);
    return chosen ? link(chosen, attribute(chosen, "href")) : QString();
}

QStringList XmlFeedReader::categories(const xmlNode *item) const
{
    QStringList found;
    for (const xmlNode *node : children(item, QStringLiteral("category"))) {
        QString text = attribute(node, "term");
        if (text.trimmed().isEmpty())
            text = attribute(node, "label");
        if (text.trimmed().isEmpty())
            text = rawText(node);
        if (!PlainText::folded(text).isEmpty())
            found << PlainText::folded(text);
    }
    for (const char *key : {"dc:subject", "atom:category"}) {
        for (const xmlNode *node : children(item, QLatin1String(key))) {
            const QString text = PlainText::folded(key[0] == 'a' ? attribute(node, "term") : rawText(node));
            if (!text.isEmpty())
                found << text;
        }
    }
    return found;
}

FeedItem XmlFeedReader::rssItem(const xmlNode *item) const
{
    FeedItem out;
    const auto html = [this](const xmlNode *node) { return htmlText(node); };
    out.title = firstText(item, {"title", "dc:title"}, html);
    out.summary = firstText(item, {"description", "content:encoded", "xhtml:body", "dc:description"}, html);
    out.published = firstDate(item, {"pubdate", "dc:date", "dcterms:issued", "dcterms:created", "dcterms:modified"});
    out.categories = categories(item);
    const xmlNode *guid = child(item, QStringLiteral("guid"));
    out.id = guid ? rawText(guid).trimmed() : attribute(item, "about").trimmed();
    for (const xmlNode *node : children(item, QStringLiteral("link"))) {
        out.link = link(node, rawText(node));
        if (!out.link.isEmpty())
            break;
    }
    // A guid stands in as the link only when it is a whole web address: an
    // id such as "item-7" made absolute against the feed would lead nowhere.
    if (out.link.isEmpty() && guid && attribute(guid, "isPermaLink").trimmed().toLower() != QStringLiteral("false"))
        out.link = WebLink::resolve(rawText(guid), QString());
    return out;
}

FeedItem XmlFeedReader::atomEntry(const xmlNode *entry) const
{
    FeedItem out;
    const auto construct = [this](const xmlNode *node) { return textConstruct(node); };
    const auto html = [this](const xmlNode *node) { return htmlText(node); };
    out.title = firstText(entry, {"title"}, construct);
    if (out.title.isEmpty())
        out.title = firstText(entry, {"dc:title"}, html);
    out.summary = firstText(entry, {"summary", "content"}, construct);
    if (out.summary.isEmpty())
        out.summary = firstText(entry, {"dc:description"}, html);
    out.published = firstDate(entry, {"published", "updated", "issued", "modified", "created", "dc:date",
                                      "dcterms:issued", "dcterms:created", "dcterms:modified"});
    out.categories = categories(entry);
    const xmlNode *id = child(entry, QStringLiteral("id"));
    out.id = id ? rawText(id).trimmed() : QString();
    out.link = atomLink(entry);
    return out;
}

std::optional<Feed> XmlFeedReader::readDocument(xmlDoc *document)
{
    const xmlNode *root = xmlDocGetRootElement(document);
    if (!root)
        return std::nullopt;
    const QString name = fromXml(root->name).toLower();
    const QString href = root->ns ? fromXml(root->ns->href) : QString();
    Feed feed;
    QString itemKey;
    if (name == QStringLiteral("rss")) {
        m_dialect = Dialect::Rss;
        feed.kind = QStringLiteral("rss");
        itemKey = QStringLiteral("item");
    } else if (name == QStringLiteral("rdf") || name == QStringLiteral("rdf:rdf")) {
        m_dialect = Dialect::Rdf;
        feed.kind = QStringLiteral("rdf");
        itemKey = QStringLiteral("item");
    } else if (name == QStringLiteral("feed")) {
        m_dialect = href == atom03 || attribute(root, "version").trimmed() == QStringLiteral("0.3") ? Dialect::Atom03
                                                                                                   : Dialect::Atom10;
        feed.kind = QStringLiteral("atom");
        itemKey = QStringLiteral("entry");
    } else {
        return std::nullopt;
    }

    const bool atom = m_dialect == Dialect::Atom10 || m_dialect == Dialect::Atom03;
    const xmlNode *channel = atom ? root : child(root, QStringLiteral("channel"));
    channel = channel ? channel : root;
    if (atom) {
        feed.title = firstText(channel, {"title"}, [this](const xmlNode *node) { return textConstruct(node); });
        feed.link = atomLink(channel);
    } else {
        feed.title = firstText(channel, {"title", "dc:title"}, [this](const xmlNode *node) { return htmlText(node); });
        for (const xmlNode *node : children(channel, QStringLiteral("link"))) {
            feed.link = link(node, rawText(node));
            if (!feed.link.isEmpty())
                break;
        }
    }

    // Every item element wherever a bad nesting has left it, in document order.
    std::vector<const xmlNode *> stack;
    for (const xmlNode *node = root->last; node; node = node->prev)
        stack.push_back(node);
    while (!stack.empty()) {
        const xmlNode *node = stack.back();
        stack.pop_back();
        if (!isElement(node))
            continue;
        if (keyOf(node) == itemKey)
            feed.items << (atom ? atomEntry(node) : rssItem(node));
        for (const xmlNode *inner = node->last; inner; inner = inner->prev)
            stack.push_back(inner);
    }
    return feed;
}
