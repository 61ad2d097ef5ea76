#include "platform/x11_window.h"

#include <QGuiApplication>
#include <QWidget>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#if __has_include(<QtGui/qguiapplication_platform.h>) && __has_include(<xcb/xcb.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define ZENTARO_HAVE_XCB 1
#endif

namespace zentaro::platform::x11 {

#ifdef ZENTARO_HAVE_XCB

namespace {

/// EWMH _NET_WM_STATE actions.
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;
/// EWMH source indication: a request from an ordinary application.
constexpr std::uint32_t kSourceApplication = 1;

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* connection()
{
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

/// The window's native id, or 0 while it has none (no native id is made here).
xcb_window_t nativeId(const QWidget& window)
{
    return window.windowHandle() != nullptr ? static_cast<xcb_window_t>(window.winId()) : 0;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

void sendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type,
                std::array<std::uint32_t, 5> data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (std::size_t i = 0; i < data.size(); ++i) {
        event.data.data32[i] = data[i];
    }
    xcb_send_event(c, 0, rootOf(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

/// The window's ancestor just below the root: the window manager's frame,
/// or the window itself when nothing reparented it.
xcb_window_t outermostAncestor(xcb_connection_t* c, xcb_window_t window)
{
    xcb_window_t current = window;
    for (;;) {
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, current), nullptr));
        if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) {
            return current;
        }
        current = tree->parent;
    }
}

} // namespace

bool onX11()
{
    return connection() != nullptr;
}

bool windowManagerRunning()
{
    xcb_connection_t* c = connection();
    if (c == nullptr) {
        return false;
    }
    // Every ICCCM window manager owns the WM_S<screen> selection (not every
    // one sets _NET_SUPPORTING_WM_CHECK: Mutter 43 on X11 does not). The
    // program uses the first screen, as Qt does on one X server.
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, "WM_S0")), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

std::optional<WmStates> wmStates(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return std::nullopt;
    }
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    const xcb_atom_t below = atom(c, "_NET_WM_STATE_BELOW");
    const xcb_atom_t sticky = atom(c, "_NET_WM_STATE_STICKY");
    const xcb_atom_t horizontal = atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ");
    const xcb_atom_t vertical = atom(c, "_NET_WM_STATE_MAXIMIZED_VERT");
    constexpr std::uint32_t kMaxStates = 64;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 0, kMaxStates),
        nullptr));
    WmStates states;
    if (!reply || reply->format != 32) {
        return states;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i) {
        states.above = states.above || atoms[i] == above;
        states.below = states.below || atoms[i] == below;
        states.sticky = states.sticky || atoms[i] == sticky;
        states.maximizedHorizontally = states.maximizedHorizontally || atoms[i] == horizontal;
        states.maximizedVertically = states.maximizedVertically || atoms[i] == vertical;
    }
    return states;
}

void requestMaximized(const QWidget& window, bool maximized)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    sendToRoot(c, id, atom(c, "_NET_WM_STATE"),
               {maximized ? kStateAdd : kStateRemove, atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ"),
                atom(c, "_NET_WM_STATE_MAXIMIZED_VERT"), kSourceApplication, 0});
}

std::optional<QRect> clientRect(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return std::nullopt;
    }
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, id, geometry->root, 0, 0), nullptr));
    if (!origin) {
        return std::nullopt;
    }
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

void requestClientRect(const QWidget& window, QRect deviceRect)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    const std::array<std::uint32_t, 4> values = {static_cast<std::uint32_t>(deviceRect.x()),
                                                 static_cast<std::uint32_t>(deviceRect.y()),
                                                 static_cast<std::uint32_t>(deviceRect.width()),
                                                 static_cast<std::uint32_t>(deviceRect.height())};
    xcb_configure_window(c, id,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values.data());
    xcb_flush(c);
}

void setUnshadowed(const QWidget& window, bool unshadowed)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    const xcb_atom_t frameExtents = atom(c, "_GTK_FRAME_EXTENTS");
    const xcb_atom_t shadow = atom(c, "_COMPTON_SHADOW");
    const xcb_window_t outermost = outermostAncestor(c, id);
    if (unshadowed) {
        constexpr std::array<std::uint32_t, 4> kNoExtents = {0, 0, 0, 0};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, frameExtents, XCB_ATOM_CARDINAL, 32,
                            kNoExtents.size(), kNoExtents.data());
        constexpr std::uint32_t kNoShadow = 0;
        for (const xcb_window_t w : {id, outermost}) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, shadow, XCB_ATOM_CARDINAL, 32, 1,
                                &kNoShadow);
        }
    } else {
        xcb_delete_property(c, id, frameExtents);
        xcb_delete_property(c, id, shadow);
        xcb_delete_property(c, outermost, shadow);
    }
    xcb_flush(c);
}

std::uint32_t frameExtentsAtom()
{
    xcb_connection_t* c = connection();
    return c != nullptr ? atom(c, "_NET_FRAME_EXTENTS") : 0;
}

FrameEvent classifyEvent(const QWidget& window, const void* xcbEvent, std::uint32_t extentsAtom)
{
    const xcb_window_t id = nativeId(window);
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    if (id == 0 || event == nullptr) {
        return FrameEvent::None;
    }
    switch (event->response_type & ~0x80) {
    case XCB_CONFIGURE_NOTIFY:
        return reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window == id
                   ? FrameEvent::Configured
                   : FrameEvent::None;
    case XCB_REPARENT_NOTIFY:
        return reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window == id
                   ? FrameEvent::Answered
                   : FrameEvent::None;
    case XCB_PROPERTY_NOTIFY: {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        return property->window == id && property->atom == extentsAtom ? FrameEvent::Answered
                                                                       : FrameEvent::None;
    }
    default:
        return FrameEvent::None;
    }
}

std::optional<QRect> reportedClientRect(const QWidget& window, const void* xcbEvent)
{
    const xcb_window_t id = nativeId(window);
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    // The top bit of the response type marks an event sent with SendEvent.
    constexpr std::uint8_t kSentEvent = 0x80;
    if (id == 0 || event == nullptr || (event->response_type & kSentEvent) == 0 ||
        (event->response_type & ~kSentEvent) != XCB_CONFIGURE_NOTIFY) {
        return std::nullopt;
    }
    const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
    if (configure->window != id) {
        return std::nullopt;
    }
    return QRect(configure->x, configure->y, configure->width, configure->height);
}

#else // no xcb

bool onX11()
{
    return false;
}
bool windowManagerRunning()
{
    return false;
}
std::optional<WmStates> wmStates(const QWidget&)
{
    return std::nullopt;
}
void requestMaximized(const QWidget&, bool) {}
std::optional<QRect> clientRect(const QWidget&)
{
    return std::nullopt;
}
void requestClientRect(const QWidget&, QRect) {}
void setUnshadowed(const QWidget&, bool) {}
std::uint32_t frameExtentsAtom()
{
    return 0;
}
FrameEvent classifyEvent(const QWidget&, const void*, std::uint32_t)
{
    return FrameEvent::None;
}
std::optional<QRect> reportedClientRect(const QWidget&, const void*)
{
    return std::nullopt;
}

#endif

} // namespace zentaro::platform::x11
