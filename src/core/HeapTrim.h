#pragma once

class QObject;

// Hands memory the program has freed back to the system. The C library keeps
// freed blocks for reuse, spread over the arenas of many threads (the web
// engine's among them); after a closed window's web view or a run of news
// most of them would only sit there, counted against the program.
class HeapTrim
{
public:
    static constexpr int IntervalMs = 60 * 1000;

    // Returns the free pages of every arena to the system; elsewhere than
    // with the GNU C library it does nothing.
    static void release();
    // Releases once a minute for as long as `owner` lives.
    static void everyMinute(QObject *owner);
};
