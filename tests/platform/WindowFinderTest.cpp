// The X11 window search against real windows on the test's display.

#include "platform/posix/PosixWindowFinder.h"
#include "support/Prerequisites.h"
#include "support/TextUtils.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

extern char** environ;

namespace {

const auto* const needs = ::testing::AddGlobalTestEnvironment(new testing_support::NeedsDisplay({}));

// A TitledWindow helper process, ended with the object.
class Window {
public:
    explicit Window(std::vector<std::string> args) {
        args.insert(args.begin(), TITLED_WINDOW);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, TITLED_WINDOW, nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
    }
    ~Window() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = 0;
};

std::optional<platform::WindowHandle> WaitFor(const std::u16string& title) {
    platform::PosixWindowFinder finder;
    std::optional<platform::WindowHandle> found;
    testing_support::WaitUntil([&] { return (found = finder.FindTopLevelWindow(title)).has_value(); }, 5000, {}, 50);
    return found;
}

// One connection for the whole run: an X server resets when its last
// client goes, and a reset between two tests would lose their windows.
xcb_connection_t* Connection() {
    static xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    return connection;
}

class WindowFinder : public ::testing::Test {
protected:
    void SetUp() override {
        x = Connection();
        ASSERT_FALSE(xcb_connection_has_error(x));
    }
    // A round trip, so that what was sent has reached the server.
    void Sync() { std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); }
    xcb_connection_t* x = nullptr;
    platform::PosixWindowFinder finder;
};

TEST_F(WindowFinder, FindsOnlyTheExactTitleInEitherTitleProperty) {
    Window utf8({"Atendimento çã ✓"});
    Window latin1({"Atenção", "--wm-name-only"});
    EXPECT_TRUE(WaitFor(u"Atendimento çã ✓"));
    EXPECT_TRUE(WaitFor(u"Atenção"));
    EXPECT_FALSE(finder.FindTopLevelWindow(u"Atendimento"));
    EXPECT_FALSE(finder.FindTopLevelWindow(u"atenção"));
    EXPECT_FALSE(finder.FindTopLevelWindow(u"old"));  // _NET_WM_NAME wins over WM_NAME
}

TEST_F(WindowFinder, RestoreMapsAHiddenWindowAndFlashAsksForAttention) {
    Window hidden({"Oculta", "--unmapped"});
    const auto w = WaitFor(u"Oculta");
    ASSERT_TRUE(w);
    finder.RestoreWindow(*w);
    finder.SetForegroundWindow(*w);
    const auto window = static_cast<xcb_window_t>(*w);
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        auto* a = xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr);
        const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(a);
        return viewable;
    }, 1000));

    finder.FlashWindow(*w);
    auto* hints = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9), nullptr);
    ASSERT_TRUE(hints);
    ASSERT_GE(xcb_get_property_value_length(hints), 4);
    EXPECT_TRUE(static_cast<const uint32_t*>(xcb_get_property_value(hints))[0] & (1u << 8));
    std::free(hints);
}

xcb_atom_t Atom(xcb_connection_t* x, const std::string& name) {
    auto* reply = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply) atom = reply->atom;
    std::free(reply);
    return atom;
}

// The test stands in for the window manager and reads the state requests.
TEST_F(WindowFinder, RestoreAsksToClearTheHiddenAndTheMaximisedStates) {
    Window maximised({"Maximizada"});
    const auto w = WaitFor(u"Maximizada");
    ASSERT_TRUE(w);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    xcb_generic_error_t* refused = xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));
    ASSERT_EQ(refused, nullptr) << "another window manager runs on this display";
    finder.RestoreWindow(*w);
    const xcb_atom_t state = Atom(x, "_NET_WM_STATE");
    std::set<xcb_atom_t> cleared;
    testing_support::WaitUntil([&] {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && message->type == state &&
                message->window == static_cast<xcb_window_t>(*w) && message->data.data32[0] == 0) {
                cleared.insert(message->data.data32[1]);
                if (message->data.data32[2]) cleared.insert(message->data.data32[2]);
            }
            std::free(event);
        }
        return cleared.size() >= 3;
    }, 2000);
    mask = 0;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    Sync();
    EXPECT_EQ(cleared, (std::set<xcb_atom_t>{Atom(x, "_NET_WM_STATE_HIDDEN"), Atom(x, "_NET_WM_STATE_MAXIMIZED_VERT"),
                                             Atom(x, "_NET_WM_STATE_MAXIMIZED_HORZ")}));
}

TEST_F(WindowFinder, WindowManagersClientListIsSearchedWhenThereIsOne) {
    Window listed({"Listada"});
    Window other({"Fora da lista"});
    const auto w = WaitFor(u"Listada");
    ASSERT_TRUE(w);
    ASSERT_TRUE(WaitFor(u"Fora da lista"));
    // Stand in for a window manager that lists only the first window.
    auto* reply = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, 16, "_NET_CLIENT_LIST"), nullptr);
    ASSERT_TRUE(reply);
    const xcb_atom_t list = reply->atom;
    std::free(reply);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const auto listedId = static_cast<uint32_t>(*w);
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, root, list, XCB_ATOM_WINDOW, 32, 1, &listedId);
    Sync();
    EXPECT_EQ(finder.FindTopLevelWindow(u"Listada"), w);
    EXPECT_FALSE(finder.FindTopLevelWindow(u"Fora da lista"));
    xcb_delete_property(x, root, list);
    Sync();
}

TEST_F(WindowFinder, WithoutADisplayNothingIsFound) {
    Window shown({"Sem tela"});
    ASSERT_TRUE(WaitFor(u"Sem tela"));
    const std::string display = std::getenv("DISPLAY");
    ::unsetenv("DISPLAY");
    EXPECT_FALSE(finder.FindTopLevelWindow(u"Sem tela"));
    finder.FlashWindow(1);  // harmless
    ::setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
