#pragma once

#include <QString>

// What the program notes about itself in the registry store: where it is,
// the connections it allows per server, and how long it has run in all. The
// store's refusals (no right to the machine store) change nothing, but the
// run time: it is then counted in the user's store.
class ProgramRecords
{
public:
    // At start: the program's path and the per-server connection limit.
    static void write(const QString &programPath);
    // At the end: the seconds of this run added to the running total.
    static void addRunTime(qint64 seconds);
};
