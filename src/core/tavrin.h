#pragma once

#include <QString>

// The state of one fetch task: a news source, or a calendar day's download.
class tavrin
{
public:
    bool Timeout = false;   // a time-out mark of this source is on display
    bool iError = false;    // an error mark of this source is on display
    bool Visible = false;   // the source is switched on: its tab shows
    QString StrBuffer;      // known items, each followed by ";", sent to the worker
    QString Link;           // address of the source page
    bool Enabled = false;   // the scheduler fetches this task
    bool Working = false;   // a fetch is in flight
    bool Initialize = false;
    qint16 Interval = 0;    // seconds between the end of a fetch and the next
    qint16 TimeCount = 0;   // seconds since the last fetch ended
};
