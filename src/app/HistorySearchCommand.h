#pragma once

#include <QStringList>

// `tavrin --search "WORDS" [--limit N]`: the hits of the news history of the
// program's data folder, newest first, one JSON object a line; no display,
// no window, no lock, and the program may be running. A miss prints nothing
// (0); no history is 1 with a message; bad usage 2.
int runHistorySearch(const QStringList &arguments, const QString &executablePath);
