#pragma once

#include <QString>

#include <optional>

// Cutting blocks out of raw page text, before any parsing, as the sites'
// lists are found.
namespace MarkupCut {

// The div that carries `classMarker` (for example class="mainbox") up to its
// matching close, found by counting lower-case "<div" and "/div" after the
// marker; nothing when the marker is absent or the div never closes.
std::optional<QString> divByClassMarker(const QString &page, const QString &classMarker);

} // namespace MarkupCut
