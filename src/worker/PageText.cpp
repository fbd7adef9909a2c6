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

} // namespace PageText
