#pragma once

// Whether the user is in a full-screen window (a film, a game, a
// presentation): then nothing of ours should slide over it. Asked of the
// window manager on X11; elsewhere the answer is no.
namespace FullScreenWatch {

bool active();

} // namespace FullScreenWatch
