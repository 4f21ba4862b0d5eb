#include "browser/ClosedPages.h"

#include "platform/ProcessEnd.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include <atomic>

namespace engine {

namespace {

using Clock = std::chrono::steady_clock;

// Requests need a moment between the script that starts them and the socket.
constexpr auto kSettle = std::chrono::milliseconds(50);
constexpr int kPollMs = 20;

std::atomic<int> pendingScripts{0};
std::atomic<Clock::rep> lastRequest{0};
std::atomic<Clock::rep> lastScriptDone{0};

Clock::rep Now() { return Clock::now().time_since_epoch().count(); }

class RequestWatch : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo&) override { lastRequest = Now(); }
};

bool SettledSince(const std::atomic<Clock::rep>& moment) {
    return Clock::now() - Clock::time_point(Clock::duration(moment.load())) >= kSettle;
}

bool Quiet() {
    return pendingScripts == 0 && SettledSince(lastScriptDone) && SettledSince(lastRequest) &&
           !platform::ConnectionsBusy();
}

}  // namespace

void ClosedPageScriptSent() { ++pendingScripts; }

void ClosedPageScriptDone() {
    lastScriptDone = Now();
    --pendingScripts;
}

void WatchRequests(QWebEngineProfile& profile) {
    static RequestWatch watch;
    profile.setUrlRequestInterceptor(&watch);
}

void LetClosedPagesFinish(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    // The loop that ran the window has ended; this one only keeps the
    // engine's work on this thread going, woken by the tick.
    QTimer tick;
    tick.start(kPollMs);
    int quietChecks = 0;
    while (Clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // Twice in a row: one look can fall between a request's start and its socket.
        quietChecks = Quiet() ? quietChecks + 1 : 0;
        if (quietChecks >= 2) return;
    }
}

}  // namespace engine
