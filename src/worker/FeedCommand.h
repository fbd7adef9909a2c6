#pragma once

#include <QStringList>

// `torvel --parse-feed FILE [--url URL] [--content-type TYPE]` and
// `torvel --parse-page FILE --item SEL --title SEL [--link SEL] [--time SEL]
// [--summary SEL] [--url URL] [--content-type TYPE]`: the feed or page read
// from the bytes of a file as fetched, printed as one JSON object. Exit
// status 2, with one line on standard error, when it is no feed.
int runParseFeedCommand(const QStringList &arguments);
int runParsePageCommand(const QStringList &arguments);
