#include "html/PlainText.h"

#include "html/HtmlDocument.h"

namespace PlainText {

QString fromHtml(const QString &html)
{
    // Most titles hold no markup and no entity: no parse for them.
    if (!html.contains(u'<') && !html.contains(u'&'))
        return folded(html);
    HtmlDocument document;
    document.setBodyInnerHtml(html);
    return folded(document.body().innerText());
}

QString folded(const QString &text)
{
    return text.simplified();
}

QString namedEntity(const QString &name)
{
    const QString reference = u'&' + name + u';';
    HtmlDocument document;
    document.setBodyInnerHtml(reference);
    const QString text = document.body().innerText();
    return text == reference ? QString() : text;
}

} // namespace PlainText
