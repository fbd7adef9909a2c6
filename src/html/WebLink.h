#pragma once

#include <QString>

// Links from outside pages and feeds, made safe to follow.
namespace WebLink {

// `raw` resolved against `base` as a browser resolves an href (surrounding
// blanks dropped, tabs and line breaks inside removed); empty unless the
// result is an absolute http or https address: javascript:, data:, file:,
// relative links without a base and an empty href (the page itself) are no link.
QString resolve(const QString &raw, const QString &base);

} // namespace WebLink
