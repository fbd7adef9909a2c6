#include "html/HtmlEscape.h"

QString htmlEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

QString htmlUnescaped(QStringView markup)
{
    static const std::pair<QStringView, QChar> named[] = {
        {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}, {u"&nbsp;", QChar(0xA0)},
    };
    QString out;
    out.reserve(markup.size());
    for (qsizetype i = 0; i < markup.size();) {
        if (markup.at(i) != u'&') {
            out += markup.at(i++);
            continue;
        }
        const qsizetype end = markup.indexOf(u';', i);
        const QStringView entity = end < 0 ? QStringView() : markup.mid(i, end - i + 1);
        bool done = false;
        for (const auto &[name, c] : named) {
            if (entity == name) {
                out += c;
                done = true;
                break;
            }
        }
        if (!done && entity.startsWith(u"&#") && entity.size() > 3) {
            const QStringView digits = entity.mid(2, entity.size() - 3);
            bool ok = false;
            const uint code = digits.startsWith(u'x') || digits.startsWith(u'X') ? digits.mid(1).toUInt(&ok, 16)
                                                                                   : digits.toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                const char32_t character = code;
                out += QString::fromUcs4(&character, 1);
                done = true;
            }
        }
        if (done) {
            i = end + 1;
        } else {
            out += u'&';
            ++i;
        }
    }
    return out;
}
