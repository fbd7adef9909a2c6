#include "worker/PageSourceReader.h"

#include "html/HtmlDocument.h"
#include "html/HtmlSelector.h"
#include "html/PlainText.h"
#include "html/WebLink.h"
#include "worker/BodyDecoder.h"
#include "worker/FeedDate.h"

namespace PageSourceReader {

namespace {

using Target = HtmlSelector::Target;

// The element the target names inside `item` (the item itself for an
// empty selector), read as its attribute or its text.
QString valueOf(const HtmlElement &item, const Target &target)
{
    const HtmlElement element = target.selector.isEmpty() ? item : HtmlSelector(target.selector).first(item);
    if (element.isNull())
        return {};
    return target.attribute.isEmpty() ? element.innerText() : element.attribute(target.attribute);
}

} // namespace

QString check(const PageSelectors &selectors)
{
    if (selectors.item.trimmed().isEmpty() || selectors.title.trimmed().isEmpty())
        return QStringLiteral("a page source needs an Item and a Title selector");
    const std::pair<const char *, QString> named[] = {
        {"Item", selectors.item},
        {"Title", selectors.title},
        {"Link", HtmlSelector::target(selectors.link).selector},
        {"Time", HtmlSelector::target(selectors.time).selector},
        {"Summary", selectors.summary},
    };
    for (const auto &[name, text] : named) {
        if (text.trimmed().isEmpty())
            continue;
        const HtmlSelector selector(text);
        if (!selector.isValid())
            return QStringLiteral("%1 selector \"%2\": %3").arg(QLatin1String(name), text, selector.error());
    }
    return {};
}

std::optional<Feed> read(const QByteArray &body, const QString &contentType, const QString &url,
                         const PageSelectors &selectors, const QDateTime &now, QString *error)
{
    if (const QString problem = check(selectors); !problem.isEmpty()) {
        *error = problem;
        return std::nullopt;
    }
    HtmlDocument document;
    document.setBodyInnerHtml(BodyDecoder::decode(body, contentType, BodyDecoder::Markup::Html));
    const Target title{selectors.title.trimmed(), QString()};
    const Target summary{selectors.summary.trimmed(), QString()};
    const Target link = HtmlSelector::target(selectors.link, QStringLiteral("href"));
    const Target time = HtmlSelector::target(selectors.time);
    const HtmlSelector anchors(QStringLiteral("a[href]"));

    Feed feed;
    feed.kind = QStringLiteral("page");
    feed.link = WebLink::resolve(url, QString());
    const HtmlCollection items = HtmlSelector(selectors.item).select(document.body());
    for (int i = 0; i < items.length(); ++i) {
        const HtmlElement element = items.item(i);
        FeedItem item;
        item.title = PlainText::folded(valueOf(element, title));
        if (item.title.isEmpty())
            continue;
        if (!selectors.link.trimmed().isEmpty()) {
            item.link = WebLink::resolve(valueOf(element, link), url);
        } else {
            // No Link selector: the item's own link, else the first inside it.
            const HtmlElement anchor = element.hasAttribute(QStringLiteral("href")) ? element : anchors.first(element);
            item.link = anchor.isNull() ? QString() : WebLink::resolve(anchor.attribute(QStringLiteral("href")), url);
        }
        if (!selectors.time.trimmed().isEmpty())
            item.published = FeedDate::parse(valueOf(element, time), now);
        if (!summary.selector.isEmpty())
            item.summary = PlainText::folded(valueOf(element, summary));
        feed.items << item;
    }
    return feed;
}

} // namespace PageSourceReader
