#pragma once

#include <QStringList>

// `torvel --parse SOURCE FILE [--known FILE] [--url URL]`: one parser pass over
// a saved page, its events printed as JSON lines. Answers the exit status.
int runParseCommand(const QStringList &arguments);
