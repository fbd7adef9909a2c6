#pragma once

#include <QLatin1StringView>

// Element ids of the main page "iInfo.htm" that the program uses. The news
// sources' own tabs, blocks and tables come from the source table.
namespace MainPage {

inline constexpr QLatin1StringView Name{"iInfo.htm"};

// Window: title bar, tool bar, size grip, layout blocks.
inline constexpr QLatin1StringView Body{"iBody"};
inline constexpr QLatin1StringView TitleLeft{"TD1"};
inline constexpr QLatin1StringView TitleRight{"TD2"};
inline constexpr QLatin1StringView CloseButton{"btn_Close"};
inline constexpr QLatin1StringView SiteButton{"btn_sponsor"};
inline constexpr QLatin1StringView SizeGrip{"SizeGrip"};
inline constexpr QLatin1StringView Menu{"Menu"};
inline constexpr QLatin1StringView MenuCell{"MenuTD"};
inline constexpr QLatin1StringView MenuLayout{"menuLayout"};
inline constexpr QLatin1StringView TabList{"iUL"};
inline constexpr QLatin1StringView VisitFrame{"frameDiv1"};
inline constexpr QLatin1StringView OptionButton{"btn_option"};
inline constexpr QLatin1StringView AboutButton{"btn_about"};

// Side panels: the advert frames, the hidden frame kept alive, the tools menu.
inline constexpr QLatin1StringView ProductAdvert{"advertDiv"};
inline constexpr QLatin1StringView FxarkAdvert{"advertDiv1"};
inline constexpr QLatin1StringView KeepAliveFrame{"frameDiv"};
inline constexpr QLatin1StringView ToolsButton{"iFXMore"};

// Tabs and their blocks.
inline constexpr QLatin1StringView AskTab{"iFXAsk"};
inline constexpr QLatin1StringView AskArea{"iDivFxask"};
inline constexpr QLatin1StringView CalendarTab{"iFXCalendar"};
inline constexpr QLatin1StringView CalendarArea{"iCalendar"};
inline constexpr QLatin1StringView CalendarBox{"iCalendarBox"};
inline constexpr QLatin1StringView CalendarHead{"iCalHead"};
inline constexpr QLatin1StringView CalendarTable{"iCalendar_Table"};
inline constexpr QLatin1StringView CalendarBody{"iTBody"};
inline constexpr QLatin1StringView CalendarFirstHeader{"th1"};
// The calendar header's countdown to the next event of today.
inline constexpr QLatin1StringView CountdownTime{"iCountdownTime"};
inline constexpr QLatin1StringView CountdownText{"iCountdownText"};
inline constexpr QLatin1StringView CountdownLeft{"iCountdownLeft"};
// The importance filter's choices: "imp0" (all), "imp1" (middle and high), "imp2" (high).
inline constexpr QLatin1StringView ImportanceFilterPrefix{"imp"};
// The weekday tabs: "week1" (Monday) .. "week5" (Friday), and "week6" for the whole week.
inline constexpr QLatin1StringView DayTabPrefix{"week"};
inline constexpr QLatin1StringView SelectedRow{"selRow"};
inline constexpr QLatin1StringView FrozenRow{"chkRow"};
inline constexpr QLatin1StringView AllTab{"iAll"};
inline constexpr QLatin1StringView AllNewsArea{"iAllNews"};
inline constexpr QLatin1StringView SourceMenu{"iMore"};
// The history search: its box in the tab row, its results' tab (with a close mark), block and table.
inline constexpr QLatin1StringView SearchBox{"iSearch"};
inline constexpr QLatin1StringView SearchTab{"iSearchTab"};
inline constexpr QLatin1StringView SearchClose{"iSearchClose"};
inline constexpr QLatin1StringView SearchArea{"iSearchNews"};
inline constexpr QLatin1StringView SearchTable{"iSearchNews_Table"};

// The quote centre.
inline constexpr QLatin1StringView StartQuote{"iStartQuote"};
inline constexpr QLatin1StringView CloseQuote{"iCloseQuote"};
inline constexpr QLatin1StringView QuoteAnimation{"iQuoteAni"};
inline constexpr QLatin1StringView QuoteStatus{"iQuoteStatus"};
inline constexpr QLatin1StringView QuoteArea{"iQuote"};
inline constexpr QLatin1StringView QuoteList{"QuoteList"};
inline constexpr QLatin1StringView ShowQuote{"iShowQuote"};

// The ticker bar's button and the rule above it.
inline constexpr QLatin1StringView BarButton{"iBarBtn"};
inline constexpr QLatin1StringView BarRule{"iBarHr"};

// News.
inline constexpr QLatin1StringView AllNewsTable{"iAllNews_Table"};
inline constexpr QLatin1StringView AllNewsSort{"iAllSort"};
inline constexpr QLatin1StringView StartupLine{"spanIni"};
inline constexpr QLatin1StringView TimeoutLine{"spanTimeout"};
inline constexpr QLatin1StringView ErrorLine{"spanError"};

} // namespace MainPage
