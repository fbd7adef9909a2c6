#include "html/HtmlDocument.h"

#include "html/MarkupLimiter.h"

#include <gumbo.h>

#include <cstdlib>

// Every allocation of one parse is linked into a list so the whole tree can be
// freed at once. gumbo's own destructor recurses once per nesting level, which a
// page of a million nested tags would turn into a stack overflow.
class HtmlDocument::Arena
{
public:
    ~Arena() { clear(); }

    static void *allocate(void *userdata, size_t size)
    {
        auto *arena = static_cast<Arena *>(userdata);
        auto *header = static_cast<Header *>(std::malloc(sizeof(Header) + size));
        if (!header)
            std::abort(); // gumbo has no way to report it, and no caller could go on

        header->prev = nullptr;
        header->next = arena->m_head;
        if (arena->m_head)
            arena->m_head->prev = header;
        arena->m_head = header;
        return header + 1;
    }

    static void release(void *userdata, void *pointer)
    {
        if (!pointer)
            return;
        auto *arena = static_cast<Arena *>(userdata);
        Header *header = static_cast<Header *>(pointer) - 1;
        (header->prev ? header->prev->next : arena->m_head) = header->next;
        if (header->next)
            header->next->prev = header->prev;
        std::free(header);
    }

    void clear()
    {
        while (m_head) {
            Header *next = m_head->next;
            std::free(m_head);
            m_head = next;
        }
    }

private:
    struct alignas(std::max_align_t) Header
    {
        Header *prev;
        Header *next;
    };
    Header *m_head = nullptr;
};

HtmlDocument::HtmlDocument()
    : m_arena(std::make_unique<Arena>())
{
    setBodyInnerHtml(QString());
}

HtmlDocument::~HtmlDocument() = default;

void HtmlDocument::setBodyInnerHtml(const QString &html)
{
    m_output = nullptr;
    m_arena->clear();

    const QByteArray utf8 = MarkupLimiter::limit(html).toUtf8();
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &Arena::allocate;
    options.deallocator = &Arena::release;
    options.userdata = m_arena.get();
    // Parsed as the content of <body>, as assigning body.innerHTML does.
    options.fragment_context = GUMBO_TAG_BODY;
    options.fragment_namespace = GUMBO_NAMESPACE_HTML;
    m_output = gumbo_parse_with_options(&options, utf8.constData(), static_cast<size_t>(utf8.size()));
}

HtmlElement HtmlDocument::body() const
{
    return HtmlElement(m_output ? m_output->root : nullptr);
}

HtmlCollection HtmlDocument::getElementsByTagName(const QString &tagName) const
{
    return body().getElementsByTagName(tagName);
}
