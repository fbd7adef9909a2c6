#include "worker/SourceParsers.h"

#include "html/HtmlDocument.h"
#include "html/MarkupCut.h"
#include "protocol/SourceId.h"
#include "worker/PageText.h"
#include "worker/ParsePass.h"
#include "worker/PopupSnippet.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

using PopupSnippet::Tail;

namespace SourceParsers {

namespace {

QString trimBlanks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == u' ')
        ++start;
    while (end > start && text.at(end - 1) == u' ')
        --end;
    return text.mid(start, end - start);
}

// The snippet of a linked item, or the plain one when the item has no usable link.
QString snippetFor(qint32 id, const QString &link, Tail tail, const QString &time, const QString &title)
{
    const QString icon = SourceId::icon(SourceId::name(id));
    return link.isEmpty() ? PopupSnippet::plain(icon, time, title)
                          : PopupSnippet::linked(icon, link, tail, time, title);
}

void parseFXark(ParsePass &pass, const QString &page, const QString &url, HtmlDocument &doc)
{
    const qsizetype start = page.indexOf(QStringLiteral("<dt>"));
    if (start < 0)
        ParsePass::fail(1, ParsePass::BadPosition);
    const QString cut = page.mid(start);
    const qsizetype form = cut.indexOf(QStringLiteral("</form>"));
    const qsizetype length = form + 1 - 13;
    if (form < 0 || length < 0)
        ParsePass::fail(1, ParsePass::BadPosition);
    doc.setBodyInnerHtml(cut.left(length));

    const HtmlCollection terms = doc.getElementsByTagName(QStringLiteral("dt"));
    const HtmlCollection details = doc.getElementsByTagName(QStringLiteral("dd"));
    for (int i = terms.length() - 1; i >= 0; --i) {
        const HtmlElement term = terms.item(i);
        const QString time = ParsePass::require(term.firstByTagName(QStringLiteral("span")), 3).innerText()
                                 .replace(u'-', u'/');
        const HtmlElement anchor = ParsePass::require(term.firstByTagName(QStringLiteral("a")), 3);
        const QString anchorText = anchor.innerText();
        QString title = anchorText;
        QString link;
        if (anchorText.contains(QStringLiteral("短讯"))) {
            if (anchorText.contains(QChar(0x2026))) {
                const HtmlElement detail = ParsePass::require(details.item(i), 3);
                const HtmlElement box = ParsePass::require(detail.firstByTagName(QStringLiteral("div")), 3);
                title = ParsePass::require(box.firstByTagName(QStringLiteral("a")), 3).innerText();
            }
        } else {
            link = anchor.href(url);
        }
        if (pass.isKnown(title))
            continue;
        const QString snippet = snippetFor(s_FXark, link, Tail::Click, time, title);
        // The same item twice on one page is reported once.
        if (pass.hasReported(snippet))
            pass.markNew();
        else
            pass.report(time, title, link, snippet);
    }
}

void parseFX168(ParsePass &pass, const QString &page, const QString &url, HtmlDocument &doc)
{
    const qsizetype start = page.indexOf(QStringLiteral("id=\"DataList1\""));
    if (start < 0)
        ParsePass::fail(1, ParsePass::BadPosition);
    const qsizetype end = page.indexOf(QStringLiteral("</table"), start);
    if (end < 0)
        ParsePass::fail(1, ParsePass::BadPosition);
    doc.setBodyInnerHtml(QStringLiteral("<table ") + page.mid(start, end - start + 8));

    const HtmlCollection rows = ParsePass::require(doc.getElementsByTagName(QStringLiteral("table")).item(0), 2).rows();
    for (int i = rows.length() - 1; i >= 0; --i) {
        const HtmlCollection cells = rows.item(i).cells();
        // A row without its second cell fails the pass, as a missing element does.
        const HtmlElement anchor = ParsePass::require(cells.item(1), 3).firstByTagName(QStringLiteral("a"));
        if (anchor.isNull())
            continue;
        const QString title = trimBlanks(anchor.innerText());
        if (title.isEmpty() || pass.isKnown(title))
            continue;
        const QString time = cells.item(0).innerText();
        if (time.isEmpty())
            continue;
        // Only titles the site has shortened carry a link to the full article.
        const QString link = title.contains(QStringLiteral("...")) ? anchor.href(url) : QString();
        pass.report(time, title, link, snippetFor(s_FX168, link, Tail::Click, time, title));
    }
}

void parseFX678(ParsePass &pass, const QString &page, const QString &url, HtmlDocument &doc)
{
    const qsizetype start = page.indexOf(QStringLiteral("<div class=\"list_content\">"));
    if (start < 0)
        return; // no list (an error page, say): nothing new
    const qsizetype end = page.indexOf(QStringLiteral("<div class=\"list_flip\">"), start);
    if (end < 0)
        ParsePass::fail(2, ParsePass::BadPosition);
    doc.setBodyInnerHtml(page.mid(start, end - start - 1));

    const HtmlCollection blocks = doc.getElementsByTagName(QStringLiteral("div"));
    for (int i = blocks.length() - 1; i >= 0; --i) {
        const HtmlElement block = blocks.item(i);
        if (!block.className().contains(QStringLiteral("list_content01 ")))
            continue;
        const HtmlCollection inner = block.getElementsByTagName(QStringLiteral("div"));
        const HtmlElement titleBox = ParsePass::require(inner.item(1), 4);
        const HtmlElement timeBox = ParsePass::require(inner.item(2), 4);
        const QString title = trimBlanks(titleBox.innerText());
        const QString link = ParsePass::require(titleBox.firstByTagName(QStringLiteral("a")), 6).href(url);
        if (title.isEmpty() || pass.isKnown(title))
            continue;
        // "[09月14日 23时09分 ]" becomes "09/14 23:09".
        const QString time = timeBox.innerText()
                                 .remove(u'[')
                                 .remove(QStringLiteral("分 ]"))
                                 .replace(u'月', u'/')
                                 .remove(u'日')
                                 .replace(u'时', u':');
        if (time.isEmpty())
            continue;
        pass.report(time, title, link, snippetFor(s_FX678, link, Tail::FireEvent, time, title));
    }
}

// "9月5日 14:30" becomes "09/05 14:30".
QString dailyFxTime(QString time)
{
    if (PageText::leadingNumber(time) < 10)
        time.prepend(u'0');
    const qsizetype month = time.indexOf(u'月');
    if (PageText::leadingNumber(time.mid(month + 1)) < 10)
        time.replace(u'月', QStringLiteral("月0"));
    return time.replace(u'月', u'/').replace(u'日', u' ');
}

void parseDailyFX(ParsePass &pass, const QString &page, HtmlDocument &doc)
{
    const std::optional<QString> fragment = MarkupCut::divByClassMarker(page, QStringLiteral("class=\"listtable bottom15\""));
    if (!fragment)
        ParsePass::fail(1, ParsePass::BadPosition);
    doc.setBodyInnerHtml(*fragment);

    const HtmlCollection rows = ParsePass::require(doc.getElementsByTagName(QStringLiteral("table")).item(0), 2).rows();
    for (int i = rows.length() - 1; i >= 1; --i) {
        const HtmlCollection cells = rows.item(i).cells();
        if (cells.length() != 2)
            continue;
        const QString time = dailyFxTime(cells.item(0).innerText());
        const HtmlElement anchor = ParsePass::require(cells.item(1).firstByTagName(QStringLiteral("a")), 3);
        const QString text = anchor.innerText();
        const QString key = trimBlanks(time + text);
        if (key.isEmpty() || pass.isKnown(key))
            continue;
        const QString summary =
            ParsePass::require(cells.item(1).firstByTagName(QStringLiteral("div")), 4).innerText();
        // The key stays plain text: the main program keeps it as known text.
        QString info = key + u'~' + PageText::displayText(text);
        if (summary != text)
            info += QStringLiteral("<br/><font style='color:#0000FF'>") + PageText::displayText(summary) + QStringLiteral("</font>");
        pass.report(time, info, QString(), PopupSnippet::withSummary(SourceId::icon(SourceId::name(s_Dailyfx)), time, text, summary));
    }
}

void parseHeXun(ParsePass &pass, const QString &page, const QString &url, HtmlDocument &doc)
{
    const std::optional<QString> fragment = MarkupCut::divByClassMarker(page, QStringLiteral("class=\"mainbox\""));
    if (!fragment)
        ParsePass::fail(1, ParsePass::BadPosition);
    doc.setBodyInnerHtml(*fragment);

    const HtmlCollection items = doc.getElementsByTagName(QStringLiteral("li"));
    for (int i = items.length() - 1; i >= 0; --i) {
        const HtmlElement item = items.item(i);
        const HtmlElement anchor = item.firstByTagName(QStringLiteral("a"));
        const HtmlElement span = item.firstByTagName(QStringLiteral("span"));
        if (anchor.isNull() || span.isNull())
            continue;
        const QString title = trimBlanks(anchor.innerText());
        if (title.isEmpty() || pass.isKnown(title))
            continue;
        const QString time = trimBlanks(span.innerText()).remove(u'(').remove(u')');
        if (time.isEmpty())
            continue;
        const QString link = anchor.href(url);
        pass.report(time, title, link, snippetFor(s_HeXun, link, Tail::FireEvent, time, title));
    }
}

void parseCaiXun(ParsePass &pass, const QString &page, const QString &url, HtmlDocument &doc)
{
    const qsizetype start = page.indexOf(QStringLiteral("<div class=\"bordb bno\">"));
    if (start < 0)
        return; // no list: nothing new
    const qsizetype end = page.indexOf(QStringLiteral("</div"), start);
    if (end < 0)
        ParsePass::fail(2, ParsePass::BadPosition);
    doc.setBodyInnerHtml(page.mid(start, end - start + 4));

    const HtmlCollection items = doc.getElementsByTagName(QStringLiteral("li"));
    for (int i = items.length() - 1; i >= 0; --i) {
        const HtmlElement item = items.item(i);
        const QString stamp = ParsePass::require(item.firstByTagName(QStringLiteral("em")), 4).innerText();
        const QString time = caiXunTime(QString(stamp).remove(u'(').remove(u')')).replace(u'-', u'/');
        if (time.isEmpty())
            continue;
        const HtmlElement anchor = ParsePass::require(item.firstByTagName(QStringLiteral("a")), 5);
        const QString title = anchor.innerText();
        if (title.isEmpty() || pass.isKnown(title))
            continue;
        const QString link = title.contains(QStringLiteral("[短讯]")) ? QString() : anchor.href(url);
        pass.report(time, title, link, snippetFor(s_CaiXun, link, Tail::FireEvent, time, title));
    }
}

} // namespace

QString caiXunTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(?:(\\d{4})[-/.年])?(\\d{1,2})[-/.月](\\d{1,2})日?\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return text;
    const int year = match.captured(1).isEmpty() ? 2000 : match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    const int hour = match.captured(4).toInt();
    const int minute = match.captured(5).toInt();
    const int second = match.captured(6).isEmpty() ? 0 : match.captured(6).toInt();
    // Without a year, 29 February is still a date (2000 was a leap year).
    if (!QDate::isValid(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return text;
    return QStringLiteral("%1-%2 %3:%4")
        .arg(month, 2, 10, QChar(u'0'))
        .arg(day, 2, 10, QChar(u'0'))
        .arg(hour, 2, 10, QChar(u'0'))
        .arg(minute, 2, 10, QChar(u'0'));
}

ParseEvents parse(const QString &kind, const QString &page, const QString &known, const QString &pageUrl,
                  HtmlDocument &document)
{
    using Parser = void (*)(ParsePass &, const QString &, const QString &, HtmlDocument &);
    static const QHash<QString, Parser> parsers{
        {SourceId::name(s_FXark), parseFXark},
        {SourceId::name(s_FX168), parseFX168},
        {SourceId::name(s_FX678), parseFX678},
        {SourceId::name(s_Dailyfx), [](ParsePass &pass, const QString &page, const QString &, HtmlDocument &doc) {
             parseDailyFX(pass, page, doc);
         }},
        {SourceId::name(s_HeXun), parseHeXun},
        {SourceId::name(s_CaiXun), parseCaiXun},
    };
    const Parser parser = parsers.value(kind);
    if (page.isEmpty() || !parser)
        return {};
    ParsePass pass(kind == SourceId::name(s_FXark) ? QString() : QStringLiteral("GETInfo_") + kind, known);
    try {
        parser(pass, page, pageUrl, document);
    } catch (const ParsePass::Failure &failure) {
        return pass.failed(failure);
    }
    return pass.complete();
}

} // namespace SourceParsers
