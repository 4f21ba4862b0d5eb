#pragma once
// A request window of the test's own over a fake browser host, with the
// fake platform and the chat's arguments. The window goes first, its
// threads with it, before any fake does.

#include "FakeChromiumHost.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <memory>

template <class Window>
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform.SetArguments({u"-Url", u"tarvenix.example", u"-token", u"abc"});
        window = std::make_unique<Window>([this](QWidget* parent) {
            host = new FakeChromiumHost(parent);
            return host;
        });
        window->OnClosed = [this] { ++closedNotices; };
    }
    void TearDown() override { window.reset(); }

    fakes::FakePlatform platform;
    FakeChromiumHost* host = nullptr;
    std::unique_ptr<Window> window;
    int closedNotices = 0;
};
