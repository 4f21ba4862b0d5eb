#include "platform/win32/Win32WindowFinder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A plain top-level window of the test's own, minimised.
class TestWindow {
public:
    explicit TestWindow(const wchar_t* title) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TarvenixTestWindow";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        ::ShowWindow(window_, SW_SHOWMINIMIZED);
        Pump();
    }
    ~TestWindow() { ::DestroyWindow(window_); }
    HWND Handle() const { return window_; }
    static void Pump() {
        MSG message;
        for (int i = 0; i < 20; ++i) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
            ::Sleep(10);
        }
    }

private:
    HWND window_ = nullptr;
};

TEST(Win32WindowFinder, FindsRestoresAndRaisesAWindowByItsExactTitle) {
    TestWindow window(L"TarveNix - Atendimento de teste \u00e7");
    ASSERT_TRUE(window.Handle());
    ASSERT_TRUE(::IsIconic(window.Handle()));

    platform::Win32WindowFinder finder;
    const auto found = finder.FindTopLevelWindow(u"TarveNix - Atendimento de teste ç");
    ASSERT_TRUE(found);
    EXPECT_EQ(reinterpret_cast<HWND>(*found), window.Handle());

    finder.RestoreWindow(*found);
    TestWindow::Pump();
    EXPECT_FALSE(::IsIconic(window.Handle()));
    EXPECT_TRUE(::IsWindowVisible(window.Handle()));

    finder.SetForegroundWindow(*found);
    TestWindow::Pump();
    EXPECT_EQ(::GetForegroundWindow(), window.Handle());

    finder.FlashWindow(*found);  // the window stays where it is
    TestWindow::Pump();
    EXPECT_FALSE(::IsIconic(window.Handle()));
}

TEST(Win32WindowFinder, OnlyTheExactTitleMatches) {
    TestWindow window(L"TarveNix - Atendimento de teste");
    platform::Win32WindowFinder finder;
    EXPECT_EQ(finder.FindTopLevelWindow(u"TarveNix - Atendimento de"), std::nullopt);
    EXPECT_EQ(finder.FindTopLevelWindow(u"TarveNix - Atendimento de teste "), std::nullopt);
    EXPECT_EQ(finder.FindTopLevelWindow(u"No window has this title"), std::nullopt);
}

}  // namespace
