#pragma once

#include <QIcon>

// Tessaly's icon, drawn rather than loaded: a rising line chart on a blue disc.
namespace AppIcon {

QIcon icon();

} // namespace AppIcon
