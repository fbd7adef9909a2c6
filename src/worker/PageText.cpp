#include "worker/PageText.h"

#include "html/HtmlEscape.h"

namespace PageText {

QString displayText(const QString &text)
{
    return htmlEscaped(text).replace(u'~', QStringLiteral("&#126;"));
}

QString snippetLink(const QString &url)
{
    QString out;
    out.reserve(url.size());
    for (const QChar c : url) {
        switch (c.unicode()) {
        case u'\'': out += QStringLiteral("%27"); break;
        case u'"': out += QStringLiteral("%22"); break;
        case u'<': out += QStringLiteral("%3C"); break;
        case u'>': out += QStringLiteral("%3E"); break;
        case u'\\': out += QStringLiteral("%5C"); break;
        case u'`': out += QStringLiteral("%60"); break;
        case u' ': out += QStringLiteral("%20"); break;
        case u'~': out += QStringLiteral("%7E"); break;
        case u'&': out += QStringLiteral("&amp;"); break;
        default: out += c;
        }
    }
    return out;
}

bool occursIn(const QString &known, const QString &text)
{
    return !known.isEmpty() && known.contains(text);
}

int leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    int value = 0;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
        if (value > 100000000)
            break;
        value = value * 10 + (text.at(i).unicode() - u'0');
    }
    return value;
}

std::optional<QString> divByClassMarker(const QString &page, const QString &classMarker)
{
    const qsizetype start = page.indexOf(classMarker);
    if (start < 0)
        return std::nullopt;
    int depth = 1;
    qsizetype p = start;
    const QString div = QStringLiteral("div");
    while (depth > 0) {
        p = page.indexOf(div, p + 3);
        if (p <= 0)
            return std::nullopt;
        const QChar before = page.at(p - 1);
        if (before == u'<')
            ++depth;
        else if (before == u'/')
            --depth;
    }
    return QStringLiteral("<div ") + page.mid(start, p - start) + QStringLiteral("div>");
}

} // namespace PageText
