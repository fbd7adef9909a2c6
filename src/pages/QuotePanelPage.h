#pragma once

#include <QLatin1StringView>

// Element ids of the quote panel's page "iQuote.htm" that the program uses.
namespace QuotePanelPage {

inline constexpr QLatin1StringView Name{"iQuote.htm"};
inline constexpr QLatin1StringView Layout{"Layout"};
inline constexpr QLatin1StringView Close{"iClose"};
inline constexpr QLatin1StringView Move{"iMove"};
inline constexpr QLatin1StringView Grip{"iGrip"};

} // namespace QuotePanelPage
