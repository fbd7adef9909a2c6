#pragma once

#include <QString>

// How the news of a page is read by CSS selectors: `item` picks each item's
// element; the others are read inside it. `link` and `time` may end in
// "@attr" to read an attribute (`link` reads href by default).
struct PageSelectors
{
    QString item;
    QString title;
    QString link;
    QString time;
    QString summary;
};
