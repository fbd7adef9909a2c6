#include "MarkupLimiter.h"

#include <QStringView>

#include <array>
#include <vector>

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u':' || c == u'_';
}

template<size_t N>
bool isOneOf(QStringView name, const std::array<const char16_t *, N> &names)
{
    for (const char16_t *candidate : names) {
        if (name.compare(QStringView(candidate), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Elements that never contain others, or that close their open predecessor
// (<li>, <p>, ...) instead of nesting in it: they add no depth.
bool addsNoDepth(QStringView name)
{
    static constexpr std::array<const char16_t *, 28> names{
        u"area", u"base", u"br", u"col", u"embed", u"hr", u"img", u"input", u"link", u"meta", u"param",
        u"source", u"track", u"wbr", u"keygen", u"li", u"p", u"dt", u"dd", u"tr", u"td", u"th",
        u"option", u"optgroup", u"a", u"tbody", u"thead", u"tfoot"};
    return isOneOf(name, names);
}

bool isFormatting(QStringView name)
{
    static constexpr std::array<const char16_t *, 13> names{u"b", u"big", u"code", u"em", u"font", u"i", u"s",
                                                           u"small", u"strike", u"strong", u"tt", u"u", u"nobr"};
    return isOneOf(name, names);
}

// Elements whose content is text up to their own end tag.
bool isRawText(QStringView name)
{
    static constexpr std::array<const char16_t *, 9> names{u"script", u"style", u"textarea", u"title", u"xmp",
                                                          u"iframe", u"noembed", u"noframes", u"noscript"};
    return isOneOf(name, names);
}

// The end of a tag that starts at `from` ('<' ...): one past its '>', quotes
// respected; the end of the text when it never closes.
qsizetype tagEnd(const QString &html, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            if (i > 0 && html.at(i - 1) == u'=')
                quote = c;
        } else if (c == u'>') {
            return i + 1;
        }
    }
    return html.size();
}

} // namespace

QString MarkupLimiter::limit(const QString &html)
{
    QString out;
    std::vector<QStringView> open; // names of open elements that add depth
    int openFormatting = 0;
    bool dropped = false;
    qsizetype copied = 0; // html[copied, i) is still to be copied

    auto drop = [&](qsizetype from, qsizetype to) {
        if (!dropped)
            out.reserve(html.size());
        dropped = true;
        out += QStringView(html).mid(copied, from - copied);
        copied = to;
    };

    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype lt = html.indexOf(u'<', i);
        if (lt < 0 || lt + 1 >= html.size())
            break;
        const QChar next = html.at(lt + 1);
        if (next == u'!') {
            const qsizetype close = QStringView(html).mid(lt, 4) == QStringLiteral("<!--")
                ? html.indexOf(QStringLiteral("-->"), lt + 4)
                : html.indexOf(u'>', lt);
            i = close < 0 ? html.size() : close + 1;
            continue;
        }
        const bool isEnd = next == u'/';
        const qsizetype nameStart = lt + (isEnd ? 2 : 1);
        if (nameStart >= html.size() || !isAsciiLetter(html.at(nameStart))) {
            i = lt + 1;
            continue;
        }
        qsizetype nameEnd = nameStart;
        while (nameEnd < html.size() && isNameChar(html.at(nameEnd)))
            ++nameEnd;
        const QStringView name = QStringView(html).mid(nameStart, nameEnd - nameStart);
        const qsizetype end = tagEnd(html, nameEnd);

        if (isEnd) {
            if (isFormatting(name) && openFormatting > 0)
                --openFormatting;
            // Close the innermost open element of that name, and all inside it.
            for (qsizetype k = qsizetype(open.size()) - 1; k >= 0; --k) {
                if (name.compare(open[size_t(k)], Qt::CaseInsensitive) == 0) {
                    open.resize(size_t(k));
                    break;
                }
            }
            i = end;
            continue;
        }

        const bool selfClosing = end >= 2 && html.at(end - 2) == u'/' && html.at(end - 1) == u'>';
        if (isFormatting(name)) {
            if (openFormatting >= MaxOpenFormatting) {
                drop(lt, end);
                i = end;
                continue;
            }
            ++openFormatting;
        }
        if (!selfClosing && !addsNoDepth(name)) {
            if (int(open.size()) >= MaxDepth) {
                drop(lt, end);
                i = end;
                continue;
            }
            open.push_back(name);
        }
        i = end;
        if (isRawText(name)) {
            // Skip to the element's own end tag; its content holds no markup.
            const QString closing = QStringLiteral("</") + name.toString();
            const qsizetype close = html.indexOf(closing, i, Qt::CaseInsensitive);
            i = close < 0 ? html.size() : close;
        }
    }
    if (!dropped)
        return html;
    out += QStringView(html).mid(copied);
    return out;
}
