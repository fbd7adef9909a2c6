#pragma once

#include "calendar/ReleaseValue.h"

#include <QList>
#include <QString>

// One stored item as the day's table shows it.
struct CalendarItemView
{
    // The reminder control of a row.
    enum class Control {
        Checkbox,        // a future event, not to be reminded of
        CheckedCheckbox, // a future event to be reminded of
        GivenCheckbox,   // ticked and disabled: the reminder has been given
        Over,            // a dimmed radio button: the event is over
    };

    QString time, info, before, predict, result, importance, comment;
    Control control = Control::Over;
    QString revisedFrom; // the previous value as first published, when a later page changed it
    ReleaseValue::Surprise surprise = ReleaseValue::Surprise::None;
    bool filtered = false; // below the importance filter: hidden, still reminded of
    int day = 0;           // the item's own day (1..5) and its number there, from 1
    int number = 0;
};

// What the calendar changes in the main page and around it. The calendar
// panel carries it out; tests record it.
class CalendarView
{
public:
    virtual ~CalendarView() = default;
    // The day's table: its event list ({time or empty, text}; none for the
    // whole week) and items.
    virtual void showDay(int weekIndex, const QList<std::pair<QString, QString>> &events,
                         const QList<CalendarItemView> &items) = 0;
    // The weekday tab shown moves from `previous` (0: none) to `weekIndex`.
    virtual void selectDayTab(int previous, int weekIndex) = 0;
    virtual void markToday(int weekIndex, bool today) = 0;
    virtual void setDayTitle(int weekIndex, const QString &title) = 0;
    virtual void setControl(int weekIndex, int itemNumber, CalendarItemView::Control control) = 0;
    virtual void balloon(const QString &text, const QString &title) = 0;
    // A reminder: its lines go into the popup, which stays until closed.
    virtual void reminder(const QString &text) = 0;
    virtual void playSystemSound(const QString &alias) = 0;
};
