#include "platform/x11_window.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

std::string windowManagerName()
{
    xcb_connection_t* c = connection();
    if (c == nullptr) {
        return {};
    }
    const auto firstWindow = [&](xcb_window_t of) -> xcb_window_t {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c,
            xcb_get_property(c, 0, of, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
            nullptr));
        return reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) >= 4
                   ? *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()))
                   : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    };
    const xcb_window_t check = firstWindow(rootOf(c));
    // EWMH: the check window names itself as well; a stale one does not.
    if (check == XCB_WINDOW_NONE || firstWindow(check) != check) {
        return {};
    }
    constexpr std::uint32_t kMaxNameWords = 64;
    const Reply<xcb_get_property_reply_t> name(
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, check, atom(c, "_NET_WM_NAME"),
                                                atom(c, "UTF8_STRING"), 0, kMaxNameWords),
                               nullptr));
    if (!name || name->format != 8) {
        return {};
    }
    return std::string(static_cast<const char*>(xcb_get_property_value(name.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
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

void writeKeptStates(const QWidget& window, const WmStates& states)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    std::vector<xcb_atom_t> atoms;
    if (states.above) {
        atoms.push_back(atom(c, "_NET_WM_STATE_ABOVE"));
    } else if (states.below) {
        atoms.push_back(atom(c, "_NET_WM_STATE_BELOW"));
    }
    if (states.sticky) {
        atoms.push_back(atom(c, "_NET_WM_STATE_STICKY"));
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.data());
    xcb_flush(c);
}

void requestKeptStates(const QWidget& window, const WmStates& states)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    const auto add = [&](const char* state) {
        sendToRoot(c, id, atom(c, "_NET_WM_STATE"),
                   {kStateAdd, atom(c, state), 0, kSourceApplication, 0});
    };
    if (states.above) {
        add("_NET_WM_STATE_ABOVE");
    } else if (states.below) {
        add("_NET_WM_STATE_BELOW");
    }
    if (states.sticky) {
        add("_NET_WM_STATE_STICKY");
    }
}

void withdraw(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    xcb_unmap_window(c, id);
    // ICCCM 4.1.4: the synthetic UnmapNotify tells the window manager that
    // the client withdraws the window, rather than iconifying it.
    xcb_unmap_notify_event_t event{};
    event.response_type = XCB_UNMAP_NOTIFY;
    event.event = rootOf(c);
    event.window = id;
    event.from_configure = 0;
    xcb_send_event(c, 0, rootOf(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

bool isWithdrawn(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return true;
    }
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr));
    if (!tree || tree->parent != tree->root) {
        return false;
    }
    const xcb_atom_t wmState = atom(c, "WM_STATE");
    const Reply<xcb_get_property_reply_t> state(
        xcb_get_property_reply(c, xcb_get_property(c, 0, id, wmState, wmState, 0, 1), nullptr));
    // ICCCM: 0 Withdrawn, 1 Normal, 3 Iconic.
    constexpr std::uint32_t kWithdrawnState = 0;
    return !state || state->format != 32 || xcb_get_property_value_length(state.get()) < 4 ||
           *static_cast<const std::uint32_t*>(xcb_get_property_value(state.get())) ==
               kWithdrawnState;
}

void mapRaised(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    xcb_map_window(c, id);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(c);
}

void unmap(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    xcb_unmap_window(c, id);
    xcb_flush(c);
}

void restateWindowType(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    const xcb_atom_t type = atom(c, "_NET_WM_WINDOW_TYPE");
    constexpr std::uint32_t kMaxTypes = 16;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, type, XCB_ATOM_ATOM, 0, kMaxTypes), nullptr));
    if (!reply || reply->format != 32) {
        return;
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, type, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(xcb_get_property_value_length(reply.get()) / 4),
                        xcb_get_property_value(reply.get()));
    xcb_flush(c);
}

void markPositionUserSpecified(const QWidget& window, QPoint deviceOrigin)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    // WM_SIZE_HINTS (ICCCM 4.1.2.3): 18 CARD32, the flags first, then the
    // obsolete x and y that some window managers still read.
    constexpr std::uint32_t kSizeHintsLength = 18;
    constexpr std::uint32_t kUserPosition = 1U << 0;
    std::array<std::uint32_t, kSizeHintsLength> hints{};
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, id, XCB_ATOM_WM_NORMAL_HINTS,
                                                XCB_ATOM_WM_SIZE_HINTS, 0, kSizeHintsLength),
                               nullptr));
    if (reply && reply->format == 32) {
        const auto length = std::min<std::size_t>(
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4, hints.size());
        std::memcpy(hints.data(), xcb_get_property_value(reply.get()), length * 4);
    }
    hints[0] |= kUserPosition;
    hints[1] = static_cast<std::uint32_t>(deviceOrigin.x());
    hints[2] = static_cast<std::uint32_t>(deviceOrigin.y());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, kSizeHintsLength, hints.data());
    xcb_flush(c);
}

void markUtility(const QWidget& window)
{
    xcb_connection_t* c = connection();
    const xcb_window_t id = nativeId(window);
    if (c == nullptr || id == 0) {
        return;
    }
    const xcb_atom_t utility = atom(c, "_NET_WM_WINDOW_TYPE_UTILITY");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM,
                        32, 1, &utility);
    xcb_flush(c);
}

WatchedAtoms watchedAtoms()
{
    xcb_connection_t* c = connection();
    if (c == nullptr) {
        return {};
    }
    return {atom(c, "_NET_FRAME_EXTENTS"), atom(c, "WM_STATE")};
}

FrameEvent classifyEvent(const QWidget& window, const void* xcbEvent, const WatchedAtoms& atoms)
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
    case XCB_UNMAP_NOTIFY:
        return reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window == id
                   ? FrameEvent::Withdrawing
                   : FrameEvent::None;
    case XCB_PROPERTY_NOTIFY: {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (property->window != id) {
            return FrameEvent::None;
        }
        if (property->atom == atoms.frameExtents) {
            return FrameEvent::Answered;
        }
        return property->atom == atoms.wmState ? FrameEvent::Withdrawing : FrameEvent::None;
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
std::string windowManagerName()
{
    return {};
}
void writeKeptStates(const QWidget&, const WmStates&) {}
void requestKeptStates(const QWidget&, const WmStates&) {}
void withdraw(const QWidget&) {}
bool isWithdrawn(const QWidget&)
{
    return true;
}
void mapRaised(const QWidget&) {}
void unmap(const QWidget&) {}
void restateWindowType(const QWidget&) {}
void markPositionUserSpecified(const QWidget&, QPoint) {}
void markUtility(const QWidget&) {}
WatchedAtoms watchedAtoms()
{
    return {};
}
FrameEvent classifyEvent(const QWidget&, const void*, const WatchedAtoms&)
{
    return FrameEvent::None;
}
std::optional<QRect> reportedClientRect(const QWidget&, const void*)
{
    return std::nullopt;
}

#endif

} // namespace zentaro::platform::x11
