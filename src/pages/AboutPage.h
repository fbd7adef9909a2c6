#pragma once

#include <QLatin1StringView>

// Element ids of the about window's page "iAbout.htm" that the program uses.
namespace AboutPage {

inline constexpr QLatin1StringView Name{"iAbout.htm"};
inline constexpr QLatin1StringView Picture{"iDiv"};
inline constexpr QLatin1StringView Version{"iVer"};
inline constexpr QLatin1StringView UpdatePlace{"iUpdatePOS"};
inline constexpr QLatin1StringView Update{"iUpdate"};
inline constexpr QLatin1StringView Site{"iClickWeb"};
inline constexpr QLatin1StringView Close{"btnClose"};

} // namespace AboutPage
