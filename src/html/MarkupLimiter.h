#pragma once

#include <QString>

// Keeps hostile markup from making the HTML parser slow or huge. gumbo needs
// time quadratic in the nesting depth and re-creates every misnested
// formatting element (<b>, <font>, ...) at each later piece of text, so a page
// of nothing but open tags can take minutes or gigabytes. Like a browser's
// depth limit, start tags beyond a nesting depth, and formatting tags beyond a
// count left open, are dropped; their text stays.
class MarkupLimiter
{
public:
    static constexpr int MaxDepth = 256;
    static constexpr int MaxOpenFormatting = 32;

    // The markup unchanged when it stays within the limits.
    static QString limit(const QString &html);
};
