#pragma once

#include <QStringList>

// The balloons Qt's own tray shows (when no notification service does).
namespace TrayBalloons {

bool visible();
// What the visible balloons' labels show: plain text as it is, markup as it renders.
QStringList shownTexts();

} // namespace TrayBalloons
