#pragma once

#include "news/NewsRow.h"

#include <QList>

// The ticker bar's five newest items and which of them shows: a new item
// shows at once (marked new), then every ten seconds the next older one,
// round to the newest again.
class TickerModel
{
public:
    static constexpr int MaxItems = 5;
    static constexpr int RotationMs = 10000;

    struct Shown
    {
        NewsRow row;
        bool newest = false;
    };

    Shown add(const NewsRow &row);
    Shown rotate();
    qsizetype size() const { return m_items.size(); }

private:
    Shown shown() const;

    QList<NewsRow> m_items; // oldest first
    qsizetype m_current = 0; // 1-based position of the item shown
};
