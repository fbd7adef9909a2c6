#pragma once

#include <QLatin1StringView>

// Element ids of the update dialog's page "iLiveUpdate.htm" that the program uses.
namespace LiveUpdatePage {

inline constexpr QLatin1StringView Name{"iLiveUpdate.htm"};
inline constexpr QLatin1StringView Box{"iBox"};
inline constexpr QLatin1StringView Info{"iInfo"};
inline constexpr QLatin1StringView Version{"iVER"};
inline constexpr QLatin1StringView Down{"iDown"};
inline constexpr QLatin1StringView DownImage{"iDownImg"};
inline constexpr QLatin1StringView DownInfo{"iDownInfo"};
inline constexpr QLatin1StringView Percent{"iPecent"};
inline constexpr QLatin1StringView Ok{"iOk"};
inline constexpr QLatin1StringView Cancel{"iCancel"};

} // namespace LiveUpdatePage
