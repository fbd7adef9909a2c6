#pragma once

#include <QLatin1StringView>
#include <QString>

// Every place in tavrin.xml the program reads or writes: element paths below
// the root element App, their attributes, and the values the program repairs
// a missing entry with. Nothing else names a path of the file.
namespace ConfigPaths {

// Elements.
inline constexpr QLatin1StringView Settings{"Settings"};
inline constexpr QLatin1StringView Sources{"Settings/Tavrin/Source"};
// The user's feed and page sources: <Feed Name Url Checked IntervalTime Kind
// [Item Title Link Time Summary]/> elements.
inline constexpr QLatin1StringView Feeds{"Settings/Tavrin/Feeds"};
// The keyword alerts: <Alert Words="非农 央行" Except="预告" Sources="" Sound="ding.wav" Checked="1"/>.
inline constexpr QLatin1StringView Alerts{"Settings/Tavrin/Alerts"};
inline constexpr QLatin1StringView AlertElement{"Alert"};
inline constexpr QLatin1StringView AlertWords{"Words"};
inline constexpr QLatin1StringView AlertExcept{"Except"};
inline constexpr QLatin1StringView AlertSources{"Sources"};
inline constexpr QLatin1StringView AlertSound{"Sound"};
inline constexpr QLatin1StringView FeedElement{"Feed"};
inline constexpr QLatin1StringView Popup{"Settings/Tavrin/Popup"};
inline constexpr QLatin1StringView CalendarSettings{"Settings/Tavrin/FXCalendar"};
inline constexpr QLatin1StringView LiveUpdate{"Settings/LiveUpdate"};
inline constexpr QLatin1StringView Site{"Settings/Site"};
inline constexpr QLatin1StringView Quote{"Settings/Quote"};
inline constexpr QLatin1StringView Windows{"Window"};
inline constexpr QLatin1StringView MainWindow{"Window/Tavrin_Main"};
inline constexpr QLatin1StringView BarWindow{"Window/FXBar"};
inline constexpr QLatin1StringView QuoteWindow{"Window/FXQuote"};
inline constexpr QLatin1StringView CalendarWeek{"FXCalendar"};

// A news source's element, by its configuration name (FXark, ...).
inline QString source(const QString &name)
{
    return QString(Sources) + u'/' + name;
}
// A stored calendar day, 1 (Monday) to 5 (Friday).
inline QString calendarDay(int weekIndex)
{
    return QString(CalendarWeek) + QStringLiteral("/Week") + QString::number(weekIndex);
}

// Attributes.
inline constexpr QLatin1StringView Checked{"Checked"};
inline constexpr QLatin1StringView IntervalTime{"IntervalTime"};
inline constexpr QLatin1StringView Url{"Url"};
inline constexpr QLatin1StringView Name{"Name"};
inline constexpr QLatin1StringView Kind{"Kind"};
// Settings/LiveUpdate: the version whose update was last tried.
inline constexpr QLatin1StringView Tried{"Tried"};
inline constexpr QLatin1StringView Home{"Home"};
inline constexpr QLatin1StringView Duration{"Duration"};
inline constexpr QLatin1StringView SoundFile{"SoundFile"};
inline constexpr QLatin1StringView NotifyTime{"NotifyTime"};
// The news history (Settings/Tavrin/History): Days, how long items are kept (0: always).
inline constexpr QLatin1StringView History{"Settings/Tavrin/History"};
inline constexpr QLatin1StringView Days{"Days"};
// The calendar's importance filter (Settings/Tavrin/FXCalendar): 0 all, 1 middle and high, 2 high.
inline constexpr QLatin1StringView MinImportance{"MinImportance"};
inline constexpr QLatin1StringView Left{"Left"};
inline constexpr QLatin1StringView Top{"Top"};
inline constexpr QLatin1StringView Width{"Width"};
inline constexpr QLatin1StringView Height{"Height"};
inline constexpr QLatin1StringView FixedWidth{"FixedWidth"};
inline constexpr QLatin1StringView Status{"Status"};
inline constexpr QLatin1StringView Event{"Event"};
inline constexpr QLatin1StringView DateFrom{"DateFrom"};
// A stored calendar item, <Item Time="" Notify="" BeforeValue="" PredictValue=""
// Result="" Importance="" Comment="" [RevisedFrom=""]>event text</Item>;
// C strings, as the XML library names attributes.
namespace CalendarItem {
inline constexpr const char *Element = "Item";
inline constexpr const char *Time = "Time";
inline constexpr const char *Notify = "Notify";
inline constexpr const char *Before = "BeforeValue";
inline constexpr const char *Predict = "PredictValue";
inline constexpr const char *Result = "Result";
inline constexpr const char *Importance = "Importance";
inline constexpr const char *Comment = "Comment";
inline constexpr const char *RevisedFrom = "RevisedFrom";
} // namespace CalendarItem

// Defaults.
inline constexpr QLatin1StringView DefaultSiteUrl{"https://www.tessaly.cn"};
// The broker whose quotes page is read (Settings/Quote, Url); its page is "//forexQuotes.aspx".
inline constexpr QLatin1StringView DefaultQuoteUrl{"http://www.forex.com"};
// The calendar site (Settings/Tavrin/FXCalendar, Url); its page is "/indexs/ecalendar.asp".
inline constexpr QLatin1StringView DefaultCalendarUrl{"http://www.fx678.com"};
inline constexpr QLatin1StringView HeXunName{"HeXun"};
inline constexpr QLatin1StringView DefaultHeXunChecked{"1"};
inline constexpr QLatin1StringView DefaultHeXunInterval{"60"};
inline constexpr QLatin1StringView DefaultBarLeft{"0"};
inline constexpr QLatin1StringView DefaultBarTop{"0"};
inline constexpr QLatin1StringView DefaultQuoteLeft{"-1"};
inline constexpr QLatin1StringView DefaultQuoteTop{"-1"};
inline constexpr QLatin1StringView DefaultQuoteFixedWidth{"200"};
inline constexpr QLatin1StringView DefaultQuoteStatus{"0"};
inline constexpr QLatin1StringView DefaultLiveUpdateChecked{"1"};
// A built-in source without its Checked is off.
inline constexpr QLatin1StringView DefaultSourceChecked{"0"};
// No reminder before an event (NotifyTime, minutes), every importance shown (MinImportance).
inline constexpr QLatin1StringView DefaultNotifyTime{"0"};
inline constexpr QLatin1StringView DefaultMinImportance{"0"};

} // namespace ConfigPaths
