#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class cls_Config;

// What the settings dialog shows and stores, without the dialog: the lists it
// offers, how stored values choose their entries, and how the chosen values
// are written back. Each value is written as its list entry's value.
class SettingsForm
{
public:
    // One news source's row: its check box, its interval list and its element.
    struct SourceRow
    {
        QString checkId;
        QString listId;
        QString configName;
        bool longIntervals; // HeXun is not asked more often than every 30 s
    };
    // A list entry: the stored value and the text shown.
    struct Choice
    {
        QString value;
        QString text;
    };
    struct SourceState
    {
        bool checked = false;
        int intervalIndex = -1; // -1: the stored interval is none of the list's
    };
    // The dialog's controls as indices into their lists.
    struct State
    {
        bool autostart = false;
        bool popup = false;
        int durationIndex = 0;
        QString soundFile; // empty: none chosen
        QList<SourceState> sources; // in sourceRows() order
        int notifyIndex = 0;
        bool liveUpdate = false;
    };

    // The sources in the dialog's order.
    static const QList<SourceRow> &sourceRows();
    static QList<Choice> intervals(bool longIntervals);
    static QList<Choice> durations();
    static QList<Choice> notifyTimes();
    static int durationIndex(const QString &stored);
    static int notifyIndex(const QString &stored);
    static int intervalIndex(const QString &stored, bool longIntervals);

    static State read(const cls_Config &config, bool autostart);
    // Writes every value of the dialog. An interval the list did not hold
    // keeps the stored one; a missing element or attribute is created.
    static void write(cls_Config &config, const State &state);
};
