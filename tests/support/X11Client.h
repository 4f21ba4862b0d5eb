#pragma once
// What a window manager does to a program's window, for tests under a
// virtual display that has no window manager: ask it to close, and ping it
// to see whether it still answers.

#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace testing_support {

class X11Client {
public:
    X11Client() : c_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        protocols_ = Atom("WM_PROTOCOLS");
        deleteWindow_ = Atom("WM_DELETE_WINDOW");
        ping_ = Atom("_NET_WM_PING");
        // A client's answer to a ping goes to the root window, for those
        // watching its structure (Qt) or its children (the usual way).
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
    }
    ~X11Client() { xcb_disconnect(c_); }
    X11Client(const X11Client&) = delete;
    X11Client& operator=(const X11Client&) = delete;

    // What the window's close button asks.
    void Close(const std::string& window) { Send(std::stoul(window), deleteWindow_, XCB_CURRENT_TIME); }

    // The time the window took to answer a ping; nothing within `timeoutMs`.
    std::optional<int> Ping(const std::string& window, int timeoutMs) {
        const uint32_t id = std::stoul(window);
        const uint32_t stamp = ++stamp_;
        const auto start = std::chrono::steady_clock::now();
        Send(id, ping_, stamp);
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                const bool answer = (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
                                    IsPingAnswer(*reinterpret_cast<xcb_client_message_event_t*>(event), id, stamp);
                std::free(event);
                if (answer)
                    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
            }
            const int left = timeoutMs - static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                              std::chrono::steady_clock::now() - start)
                                                              .count());
            if (left <= 0) return std::nullopt;
            pollfd watch{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&watch, 1, left);
        }
    }

private:
    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    }
    void Send(uint32_t window, xcb_atom_t protocol, uint32_t stamp) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols_;
        message.data.data32[0] = protocol;
        message.data.data32[1] = stamp;
        message.data.data32[2] = window;
        xcb_send_event(c_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
    }
    bool IsPingAnswer(const xcb_client_message_event_t& m, uint32_t window, uint32_t stamp) const {
        return m.type == protocols_ && m.data.data32[0] == ping_ && m.data.data32[1] == stamp &&
               m.data.data32[2] == window;
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
    xcb_atom_t protocols_ = 0, deleteWindow_ = 0, ping_ = 0;
    uint32_t stamp_ = 1000;
};

}  // namespace testing_support
