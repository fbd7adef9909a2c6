#pragma once

#include <QLatin1StringView>

// Element ids of the ticker bar's page "ibar.htm" that the program uses.
namespace BarPage {

inline constexpr QLatin1StringView Name{"ibar.htm"};
inline constexpr QLatin1StringView Strip{"iBar"};
inline constexpr QLatin1StringView News{"iSpan"};
inline constexpr QLatin1StringView More{"iMore"};
inline constexpr QLatin1StringView Close{"iClose"};

} // namespace BarPage
