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
// The user's feed and page sources: the list, the editor's fields, its buttons and its answer line.
inline constexpr QLatin1StringView FeedList{"iFeedList"};
inline constexpr QLatin1StringView FeedName{"iFeedName"};
inline constexpr QLatin1StringView FeedUrl{"iFeedUrl"};
inline constexpr QLatin1StringView FeedInterval{"iFeedInterval"};
inline constexpr QLatin1StringView FeedChecked{"iFeedChecked"};
inline constexpr QLatin1StringView FeedKind{"iFeedKind"};
inline constexpr QLatin1StringView FeedItem{"iFeedItem"};
inline constexpr QLatin1StringView FeedTitle{"iFeedTitle"};
inline constexpr QLatin1StringView FeedLink{"iFeedLink"};
inline constexpr QLatin1StringView FeedTime{"iFeedTime"};
inline constexpr QLatin1StringView FeedSummary{"iFeedSummary"};
inline constexpr QLatin1StringView FeedAdd{"iFeedAdd"};
inline constexpr QLatin1StringView FeedChange{"iFeedChange"};
inline constexpr QLatin1StringView FeedRemove{"iFeedRemove"};
inline constexpr QLatin1StringView FeedTest{"iFeedTest"};
inline constexpr QLatin1StringView FeedStatus{"iFeedStatus"};
// The keyword alerts: the list, the editor's fields, its buttons and its answer line.
inline constexpr QLatin1StringView AlertList{"iAlertList"};
inline constexpr QLatin1StringView AlertWords{"iAlertWords"};
inline constexpr QLatin1StringView AlertExcept{"iAlertExcept"};
inline constexpr QLatin1StringView AlertSources{"iAlertSources"};
inline constexpr QLatin1StringView AlertSound{"iAlertSound"};
inline constexpr QLatin1StringView AlertChecked{"iAlertChecked"};
inline constexpr QLatin1StringView AlertAdd{"iAlertAdd"};
inline constexpr QLatin1StringView AlertChange{"iAlertChange"};
inline constexpr QLatin1StringView AlertRemove{"iAlertRemove"};
inline constexpr QLatin1StringView AlertStatus{"iAlertStatus"};
inline constexpr QLatin1StringView Ok{"iOk"};
inline constexpr QLatin1StringView Cancel{"iCancel"};
inline constexpr QLatin1StringView ButtonLayout{"ButtonLayout"};

} // namespace SettingsPage
