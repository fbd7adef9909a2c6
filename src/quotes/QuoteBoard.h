#pragma once

#include <QHash>
#include <QString>

#include <optional>

// What the quote centre shows of each pair: its last price and colour. A
// change at pip level colours the price red for a rise and green for a fall,
// compared as numbers; a tick that leaves the pip value turns it black, and
// its fractional pip is always shown as it is. A pair's first price is shown
// without a colour.
class QuoteBoard
{
public:
    static constexpr QLatin1StringView Rise{"#FF0000"};
    static constexpr QLatin1StringView Fall{"#008F00"};
    static constexpr QLatin1StringView Steady{"#000000"};

    struct Update
    {
        QString value;
        QString fractPip;
        QString colour; // empty: texts only (the first pass)
    };

    // A price of the scraper; nothing when the page needs no change.
    std::optional<Update> price(const QString &symbol, const QString &value, const QString &fractPip, bool initialized);
    void clear() { m_pairs.clear(); }
    // The last price of a pair: value and fractional pip.
    std::pair<QString, QString> current(const QString &symbol) const
    {
        const Update shown = m_pairs.value(symbol);
        return {shown.value, shown.fractPip};
    }
    // Every pair as it shows now, by its symbol.
    const QHash<QString, Update> &shown() const { return m_pairs; }

private:
    QHash<QString, Update> m_pairs;
};
