#pragma once

#include "html/HtmlCollection.h"

#include <QString>

#include <memory>

struct GumboInternalOutput;

// A windowless HTML document over gumbo: its body is set from markup (any
// fragment, however broken, parsed as a browser parses body content) and then
// searched. Elements handed out stay valid until the next setBodyInnerHtml()
// or the document's destruction.
class HtmlDocument
{
public:
    HtmlDocument();
    ~HtmlDocument();
    HtmlDocument(const HtmlDocument &) = delete;
    HtmlDocument &operator=(const HtmlDocument &) = delete;

    void setBodyInnerHtml(const QString &html);
    HtmlElement body() const;
    HtmlCollection getElementsByTagName(const QString &tagName) const;

private:
    class Arena;
    std::unique_ptr<Arena> m_arena;
    GumboInternalOutput *m_output = nullptr;
};
