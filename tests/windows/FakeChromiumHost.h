#pragma once
// A browser host that records what the window asks of it and answers as the
// test scripts it.

#include "browser/ChromiumHostWidget.h"

#include <QApplication>

#include <deque>
#include <string>
#include <vector>

class FakeChromiumHost : public ChromiumHostWidget {
public:
    explicit FakeChromiumHost(QWidget* parent) : ChromiumHostWidget(parent) {}

    std::u16string defaultUrl;
    std::u16string siteAddress;
    std::deque<bool> createAnswers;  // false when empty
    int createCalls = 0;
    bool initialized = false;
    std::vector<bool> closeCalls;
    int deleteCookiesCalls = 0;
    std::vector<std::u16string> scripts;
    std::vector<std::string> log;  // "create", "close", "script", in order
    std::vector<std::string>* journal = nullptr;  // a copy of the log that outlives the host

    void SetDefaultUrl(const std::u16string& url) override { defaultUrl = url; }
    std::u16string DefaultUrl() const override { return defaultUrl; }
    void SetSiteAddress(const std::u16string& url) override { siteAddress = url; }
    bool CreateBrowser() override {
        ++createCalls;
        Record("create");
        if (createAnswers.empty()) return false;
        const bool answer = createAnswers.front();
        createAnswers.pop_front();
        if (answer) initialized = true;
        return answer;
    }
    bool Initialized() const override { return initialized; }
    void CloseBrowser(bool forceClose) override {
        closeCalls.push_back(forceClose);
        Record("close");
    }
    std::u16string MainFrameUrl() const override { return u"http://page/"; }
    void ExecuteJavaScript(const std::u16string& code, const std::u16string&) override {
        scripts.push_back(code);
        Record("script");
    }
    void DeleteCookies() override { ++deleteCookiesCalls; }

private:
    void Record(const char* what) {
        log.push_back(what);
        if (journal) journal->push_back(what);
    }
};

// Delivers what has been posted to the windows.
inline void ProcessPosted() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}
