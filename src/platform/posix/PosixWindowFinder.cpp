#include "platform/posix/PosixWindowFinder.h"

#include "support/TextUtils.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace platform {

namespace {

// A window tree walked without a window manager's list stops here; top-level
// windows sit one or two levels below the root.
constexpr int kTreeDepth = 3;
constexpr std::uint32_t kUrgencyHint = 1u << 8;

// One connection to the display for one operation; nothing when there is no
// display to talk to.
class Display {
public:
    Display() {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) return;
        int screenNumber = 0;
        connection_ = xcb_connect(name, &screenNumber);
        if (xcb_connection_has_error(connection_)) return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; it.rem && i < screenNumber; ++i) xcb_screen_next(&it);
        if (!it.rem) return;
        screen_ = it.data;
        screenNumber_ = screenNumber;
        xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, &ewmh_);
        ewmhReady_ = xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr) != 0;
    }
    ~Display() {
        if (ewmhReady_) xcb_ewmh_connection_wipe(&ewmh_);
        if (connection_) {
            // A round trip, so the server has carried out every request
            // before the caller (or another client) looks at the result.
            std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
            xcb_disconnect(connection_);
        }
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    bool Usable() const { return screen_ != nullptr && ewmhReady_; }
    xcb_connection_t* c() const { return connection_; }
    xcb_window_t Root() const { return screen_->root; }
    xcb_ewmh_connection_t* Ewmh() { return &ewmh_; }
    int ScreenNumber() const { return screenNumber_; }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    int screenNumber_ = 0;
    xcb_ewmh_connection_t ewmh_{};
    bool ewmhReady_ = false;
};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::vector<xcb_window_t> ManagedWindows(Display& display) {
    std::vector<xcb_window_t> windows;
    xcb_ewmh_get_windows_reply_t list;
    if (xcb_ewmh_get_client_list_reply(display.Ewmh(), xcb_ewmh_get_client_list(display.Ewmh(), display.ScreenNumber()),
                                       &list, nullptr)) {
        windows.assign(list.windows, list.windows + list.windows_len);
        xcb_ewmh_get_windows_reply_wipe(&list);
    }
    return windows;
}

// Without a window manager's list: the root's children and a few levels
// below them (a reparenting manager puts the client under its frame).
std::vector<xcb_window_t> WindowTree(Display& display) {
    std::vector<xcb_window_t> windows;
    std::deque<std::pair<xcb_window_t, int>> pending{{display.Root(), 0}};
    while (!pending.empty()) {
        const auto [parent, depth] = pending.front();
        pending.pop_front();
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(display.c(), xcb_query_tree(display.c(), parent), nullptr),
                                           &std::free);
        if (!tree) continue;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            windows.push_back(children[i]);
            if (depth + 1 < kTreeDepth) pending.emplace_back(children[i], depth + 1);
        }
    }
    return windows;
}

// The title as UTF-8: _NET_WM_NAME, else WM_NAME (Latin-1 when typed STRING).
std::string TitleFromReplies(Display& display, xcb_get_property_cookie_t netName, xcb_get_property_cookie_t wmName) {
    xcb_ewmh_get_utf8_strings_reply_t utf8;
    if (xcb_ewmh_get_wm_name_reply(display.Ewmh(), netName, &utf8, nullptr)) {
        std::string title(utf8.strings, utf8.strings_len);
        xcb_ewmh_get_utf8_strings_reply_wipe(&utf8);
        Reply<xcb_get_property_reply_t> discard(xcb_get_property_reply(display.c(), wmName, nullptr), &std::free);
        return title;
    }
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(display.c(), wmName, nullptr), &std::free);
    if (!reply || reply->format != 8) return {};
    std::string bytes(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      static_cast<size_t>(xcb_get_property_value_length(reply.get())));
    if (reply->type != XCB_ATOM_STRING) return bytes;
    std::u16string latin1;
    for (char b : bytes) latin1 += static_cast<char16_t>(static_cast<unsigned char>(b));
    return ToUtf8(latin1);
}

void SendRootMessage(Display& display, xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1,
                     std::uint32_t d2 = 0) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    xcb_send_event(display.c(), 0, display.Root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
}

void Activate(Display& display, xcb_window_t window) {
    // A window manager honours the request; without one, raising and taking
    // the focus directly has the same effect.
    xcb_ewmh_request_change_active_window(display.Ewmh(), display.ScreenNumber(), window,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME, XCB_NONE);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(display.c(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(display.c(), xcb_get_window_attributes(display.c(), window), nullptr),
        &std::free);
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
        xcb_set_input_focus(display.c(), XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
}

}  // namespace

std::optional<WindowHandle> PosixWindowFinder::FindTopLevelWindow(const std::u16string& title) {
    Display display;
    if (!display.Usable()) return std::nullopt;
    std::vector<xcb_window_t> windows = ManagedWindows(display);
    if (windows.empty()) windows = WindowTree(display);

    // All title requests go out before the first reply is read.
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t w : windows)
        cookies.emplace_back(xcb_ewmh_get_wm_name(display.Ewmh(), w),
                             xcb_get_property(display.c(), 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096));
    const std::string wanted = ToUtf8(title);
    std::optional<WindowHandle> found;
    for (size_t i = 0; i < windows.size(); ++i) {
        const std::string name = TitleFromReplies(display, cookies[i].first, cookies[i].second);
        if (!found && name == wanted) found = windows[i];
    }
    return found;
}

void PosixWindowFinder::RestoreWindow(WindowHandle window) {
    Display display;
    if (!display.Usable()) return;
    const auto w = static_cast<xcb_window_t>(window);
    xcb_map_window(display.c(), w);
    xcb_ewmh_connection_t* ewmh = display.Ewmh();
    // Back to its normal size too, as SW_RESTORE brings a maximised window.
    SendRootMessage(display, w, ewmh->_NET_WM_STATE, XCB_EWMH_WM_STATE_REMOVE, ewmh->_NET_WM_STATE_HIDDEN);
    SendRootMessage(display, w, ewmh->_NET_WM_STATE, XCB_EWMH_WM_STATE_REMOVE, ewmh->_NET_WM_STATE_MAXIMIZED_VERT,
                    ewmh->_NET_WM_STATE_MAXIMIZED_HORZ);
    Activate(display, w);
}

void PosixWindowFinder::SetForegroundWindow(WindowHandle window) {
    Display display;
    if (!display.Usable()) return;
    Activate(display, static_cast<xcb_window_t>(window));
}

void PosixWindowFinder::FlashWindow(WindowHandle window) {
    Display display;
    if (!display.Usable()) return;
    const auto w = static_cast<xcb_window_t>(window);
    // WM_HINTS is nine 32-bit fields; the first holds the flags.
    std::uint32_t hints[9] = {};
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(display.c(),
                               xcb_get_property(display.c(), 0, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9), nullptr),
        &std::free);
    if (reply && reply->format == 32) {
        const int length = std::min(9, xcb_get_property_value_length(reply.get()) / 4);
        std::memcpy(hints, xcb_get_property_value(reply.get()), static_cast<size_t>(length) * 4);
    }
    hints[0] |= kUrgencyHint;
    xcb_change_property(display.c(), XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9, hints);
    xcb_ewmh_connection_t* ewmh = display.Ewmh();
    SendRootMessage(display, w, ewmh->_NET_WM_STATE, XCB_EWMH_WM_STATE_ADD, ewmh->_NET_WM_STATE_DEMANDS_ATTENTION);
}

}  // namespace platform
