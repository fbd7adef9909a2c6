#pragma once

// Chooses the Qt platform before the application object exists, unless the
// user chose one: X11 (also under XWayland, since the popup, the ticker bar and
// docking place their own windows), or no screen at all when there is no
// display, so that start-up refusals still reach standard error. Run as root,
// the web views go without Chromium's sandbox, which refuses root.
void choosePlatform();

// Settings that keep the web engine small (measured in bench/README.md),
// each unless the user set its variable: without a GPU the web views are
// composed by Qt Quick's software renderer instead of an emulated OpenGL,
// and with that renderer no OpenGL is loaded at all; our own pages share one
// renderer process, and the frames of every remote site run in a process of
// their own (the web engine, unlike Chrome, would otherwise put a remote
// advert into the process that holds our page bridge), with no spare
// renderer kept waiting for navigations our pages do not make; V8 runs our
// small pages without its optimising compiler.
void chooseWebEngineSettings();

// The same with the question of a GPU answered (a render node exists).
void chooseWebEngineSettings(bool renderNode);

// Without OpenGL, Qt's X11 platform and the web engine each warn once at
// start that they found none. That is the choice made above, not a fault:
// those two warnings are not shown; every other message passes on.
void quietenChosenGraphicsWarnings();
