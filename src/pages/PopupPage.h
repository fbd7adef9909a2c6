#pragma once

#include <QLatin1StringView>

// Element ids of the popup page "iPopup.htm" that the program uses.
namespace PopupPage {

inline constexpr QLatin1StringView Name{"iPopup.htm"};
inline constexpr QLatin1StringView Window{"popupWin"};
inline constexpr QLatin1StringView Table{"popupWin_Table"};
inline constexpr QLatin1StringView CloseButton{"popupWin_CloseButton"};
inline constexpr QLatin1StringView Link{"popupWin_iLink"};
inline constexpr QLatin1StringView MoreLink{"popupWin_LinkMore"};
inline constexpr QLatin1StringView Caption{"popupWin_CaptionText"};
inline constexpr QLatin1StringView Body{"popupBody"};

} // namespace PopupPage
