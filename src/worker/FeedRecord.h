#pragma once

#include "worker/FeedPass.h"

#include <QDateTime>
#include <QString>

// A new item of a feed or page source as the worker sends it to the main
// program: one JSON record (its members are listed in cMultGet.rep).
namespace FeedRecord {

// `now` stands in for the time of an item without one.
QString write(const FeedPass::KeyedItem &keyed, const QDateTime &now);

} // namespace FeedRecord
