#include "html/MarkupLimiter.h"

#include <QStringView>

#include <string>
#include <string_view>
#include <unordered_map>
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

enum TagKind : int {
    Ordinary = 0,
    NoDepth = 1,    // never contains others, or closes its open predecessor (<li>, <p>, ...)
    Formatting = 2, // re-created by the parser when misnested
    RawText = 4,    // content is text up to its own end tag
};

// The lower-cased ASCII name of a tag; empty when too long to be one we know.
std::string lowerName(QStringView name)
{
    std::string out;
    if (name.size() > 10)
        return out;
    for (const QChar c : name)
        out += static_cast<char>(c.toLatin1() | ((c >= u'A' && c <= u'Z') ? 0x20 : 0));
    return out;
}

int kindOf(const std::string &name)
{
    static const std::unordered_map<std::string_view, int> kinds{
        {"area", NoDepth}, {"base", NoDepth}, {"br", NoDepth}, {"col", NoDepth}, {"embed", NoDepth},
        {"hr", NoDepth}, {"img", NoDepth}, {"input", NoDepth}, {"link", NoDepth}, {"meta", NoDepth},
        {"param", NoDepth}, {"source", NoDepth}, {"track", NoDepth}, {"wbr", NoDepth}, {"keygen", NoDepth},
        {"li", NoDepth}, {"p", NoDepth}, {"dt", NoDepth}, {"dd", NoDepth}, {"tr", NoDepth}, {"td", NoDepth},
        {"th", NoDepth}, {"option", NoDepth}, {"optgroup", NoDepth}, {"a", NoDepth}, {"tbody", NoDepth},
        {"thead", NoDepth}, {"tfoot", NoDepth},
        {"b", Formatting}, {"big", Formatting}, {"code", Formatting}, {"em", Formatting}, {"font", Formatting},
        {"i", Formatting}, {"s", Formatting}, {"small", Formatting}, {"strike", Formatting},
        {"strong", Formatting}, {"tt", Formatting}, {"u", Formatting}, {"nobr", Formatting},
        {"script", RawText}, {"style", RawText}, {"textarea", RawText}, {"title", RawText}, {"xmp", RawText},
        {"iframe", RawText}, {"noembed", RawText}, {"noframes", RawText}, {"noscript", RawText},
    };
    const auto found = kinds.find(name);
    return found == kinds.end() ? Ordinary : found->second;
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
    std::vector<std::string> open; // lower-cased names of open elements that add depth
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
        const QStringView written = QStringView(html).mid(nameStart, nameEnd - nameStart);
        const std::string name = lowerName(written);
        const int kind = kindOf(name);
        const qsizetype end = tagEnd(html, nameEnd);

        if (isEnd) {
            if ((kind & Formatting) && openFormatting > 0)
                --openFormatting;
            // Close the innermost open element of that name, and all inside it.
            for (qsizetype k = qsizetype(open.size()) - 1; k >= 0; --k) {
                if (open[size_t(k)] == name) {
                    open.resize(size_t(k));
                    break;
                }
            }
            i = end;
            continue;
        }

        const bool selfClosing = end >= 2 && html.at(end - 2) == u'/' && html.at(end - 1) == u'>';
        if (kind & Formatting) {
            if (openFormatting >= MaxOpenFormatting) {
                drop(lt, end);
                i = end;
                continue;
            }
            ++openFormatting;
        }
        if (!selfClosing && !(kind & NoDepth)) {
            if (int(open.size()) >= MaxDepth) {
                drop(lt, end);
                i = end;
                continue;
            }
            open.push_back(name);
        }
        i = end;
        if (kind & RawText) {
            // Skip to the element's own end tag; its content holds no markup.
            const QString closing = QStringLiteral("</") + written.toString();
            const qsizetype close = html.indexOf(closing, i, Qt::CaseInsensitive);
            i = close < 0 ? html.size() : close;
        }
    }
    if (!dropped)
        return html;
    out += QStringView(html).mid(copied);
    return out;
}
