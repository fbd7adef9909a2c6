#pragma once

#include <QLatin1StringView>

// Element ids of the settings dialog's page "iSettings.htm" that the program uses.
namespace SettingsPage {

inline constexpr QLatin1StringView Name{"iSettings.htm"};
inline constexpr QLatin1StringView SystemRun{"iSystemRun"};
inline constexpr QLatin1StringView Popup{"Popup"};
inline constexpr QLatin1StringView Duration{"DurationIndex"};
inline constexpr QLatin1StringView SoundList{"PopupSoundList"};
inline constexpr QLatin1StringView SoundTest{"PopupSoundTest"};
inline constexpr QLatin1StringView SoundTestImage{"PopupSoundTestImg"};
inline constexpr QLatin1StringView NotifyTime{"iFXCalNotifyTime"};
inline constexpr QLatin1StringView LiveUpdate{"chkLU"};
inline constexpr QLatin1StringView Ok{"iOk"};
inline constexpr QLatin1StringView Cancel{"iCancel"};
inline constexpr QLatin1StringView ButtonLayout{"ButtonLayout"};

} // namespace SettingsPage
