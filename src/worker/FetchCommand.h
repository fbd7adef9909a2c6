#pragma once

#include <QStringList>

// `torvel --fetch ID URL [--known FILE]`: one whole pass of a worker in this
// process, its events printed as JSON lines. Answers the exit status.
int runFetchCommand(const QStringList &arguments);
