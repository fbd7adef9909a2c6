#include "quotes/QuoteBoard.h"

std::optional<QuoteBoard::Update> QuoteBoard::price(const QString &symbol, const QString &value, const QString &fractPip,
                                                    bool initialized)
{
    Update &shown = m_pairs[symbol];
    const bool fractMoved = shown.fractPip != fractPip;
    shown.fractPip = fractPip;
    // A pair's first price has nothing to be compared with: texts only,
    // however far the scraper has come.
    if (!initialized || shown.value.isEmpty()) {
        shown.value = value;
        return Update{value, fractPip, {}};
    }
    if (value != shown.value) {
        // 99.99 to 100.01 is a rise, whatever the texts' order says.
        const QString colour = value.toDouble() >= shown.value.toDouble() ? QString(Rise) : QString(Fall);
        shown = {value, fractPip, colour};
        return Update{value, fractPip, colour};
    }
    // Within the pip the price is black, and its last digit always current.
    if (shown.colour != Steady || fractMoved) {
        shown.colour = Steady;
        return Update{value, fractPip, Steady};
    }
    return std::nullopt;
}
