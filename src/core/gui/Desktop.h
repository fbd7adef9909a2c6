#pragma once

#include <QRect>
#include <QString>

class QWidget;

// The desktop services windows use: opening addresses, system sounds, the work
// area and the topmost band.
namespace Desktop {

// Hands an address or document path to the user's default handler; empty: nothing.
void OpenUrl(const QString &target);
// Plays a bundled sound by its system alias ("SystemAsterisk"), asynchronously.
void PlaySystemSound(const QString &alias);
// The primary screen minus panels and task bars.
bool GetWorkArea(QRect &area);
// Whether more than half of a window at that place would be on the screens.
bool MostlyOnScreens(const QRect &window);
// Keeps the window above others (or lets it go back among them) without
// moving, sizing or activating it.
void SetTopMost(QWidget *window, bool on = true);

} // namespace Desktop
