#pragma once

#include "worker/Feed.h"
#include "worker/PageSelectors.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The news of an HTML page read by selectors, as a feed of kind "page".
namespace PageSourceReader {

// Why the selectors cannot be used; empty when they can.
QString check(const PageSelectors &selectors);

// Nothing, with `error` set, when a selector is not of the supported subset.
std::optional<Feed> read(const QByteArray &body, const QString &contentType, const QString &url,
                         const PageSelectors &selectors, const QDateTime &now, QString *error);

} // namespace PageSourceReader
