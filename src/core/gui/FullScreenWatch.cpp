#include "core/gui/FullScreenWatch.h"

#include <QGuiApplication>

#ifdef TESSALY_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    return {xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, name, type, 0, 64), nullptr), &std::free};
}

} // namespace
#endif

namespace FullScreenWatch {

bool active()
{
#ifdef TESSALY_HAVE_XCB
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t fullScreen = atom(connection, "_NET_WM_STATE_FULLSCREEN");
    const auto activeWindow = property(connection, root, atom(connection, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (!activeWindow || xcb_get_property_value_length(activeWindow.get()) < int(sizeof(xcb_window_t)))
        return false;
    const xcb_window_t window = *static_cast<xcb_window_t *>(xcb_get_property_value(activeWindow.get()));
    if (window == XCB_WINDOW_NONE)
        return false;
    const auto states = property(connection, window, state, XCB_ATOM_ATOM);
    if (!states)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(states.get()));
    const int count = xcb_get_property_value_length(states.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, fullScreen) != atoms + count;
#else
    return false;
#endif
}

} // namespace FullScreenWatch
