// A top-level window with a given title, for tests that look windows up:
//   TitledWindow TITLE [--delay-ms N] [--seconds N] [--wm-name-only] [--unmapped]
// It shows up after the delay and goes away after the given seconds.

#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string title = argv[1];
    int delayMs = 0, seconds = 30;
    bool wmNameOnly = false, unmapped = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--delay-ms" && i + 1 < argc) delayMs = std::atoi(argv[++i]);
        else if (a == "--seconds" && i + 1 < argc) seconds = std::atoi(argv[++i]);
        else if (a == "--wm-name-only") wmNameOnly = true;
        else if (a == "--unmapped") unmapped = true;
    }
    ::usleep(static_cast<useconds_t>(delayMs) * 1000);

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 10, 10, 200, 100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    if (wmNameOnly) {
        // WM_NAME as a STRING is Latin-1.
        std::string latin1;
        for (size_t i = 0; i < title.size(); ++i) {
            const auto b = static_cast<unsigned char>(title[i]);
            if (b == 0xC3 && i + 1 < title.size()) latin1 += static_cast<char>(0xC0 | (title[++i] & 0x3F));
            else latin1 += static_cast<char>(b);
        }
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(latin1.size()), latin1.data());
    } else {
        auto atom = [c](const char* name) {
            xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
            const xcb_atom_t a = r ? r->atom : XCB_NONE;
            std::free(r);
            return a;
        };
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                            static_cast<uint32_t>(title.size()), title.data());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 3, "old");
    }
    if (!unmapped) xcb_map_window(c, w);
    xcb_flush(c);
    ::sleep(static_cast<unsigned>(seconds));
    xcb_disconnect(c);
    return 0;
}
