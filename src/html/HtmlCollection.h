#pragma once

#include "html/HtmlElement.h"

#include <vector>

// An ordered list of elements, as a DOM collection: item() past either end
// yields a null element instead of failing.
class HtmlCollection
{
public:
    HtmlCollection() = default;
    explicit HtmlCollection(std::vector<HtmlElement> elements)
        : m_elements(std::move(elements))
    {
    }

    int length() const { return static_cast<int>(m_elements.size()); }
    HtmlElement item(int index) const
    {
        return index >= 0 && index < length() ? m_elements[static_cast<size_t>(index)] : HtmlElement();
    }

private:
    std::vector<HtmlElement> m_elements;
};
