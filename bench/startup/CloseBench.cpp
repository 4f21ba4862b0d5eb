// Time from a window's close request to the end of its process: the launcher
// against a bare engine view (the baseline, which ends as Qt ends), on an
// idle page and on a page stuck in a script that never returns.
//
//   close_bench [REPETITIONS]     (under a display: xvfb-run)

#include "support/Desktop.h"
#include "support/X11Client.h"

#include "Spawn.h"

#include <httplib.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUp = std::chrono::seconds(6);

// The program's window once Qt no longer makes it anew.
std::string SettledWindow(pid_t pid) {
    std::string last;
    for (int same = 0, tries = 0; tries < 100; ++tries) {
        std::string now =
            testing_support::RunAndRead("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null");
        now = now.substr(0, now.find('\n'));
        same = !now.empty() && now == last ? same + 1 : 0;
        last = now;
        if (same == 3) return now;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

// Milliseconds from the close request to the end; nothing when the process
// was still there after kGiveUp (it is then killed).
std::optional<double> CloseOnce(const std::vector<std::string>& argv, std::atomic<int>& loads,
                                testing_support::X11Client& x11) {
    const int before = loads;
    const pid_t pid = bench::Spawn(argv);
    const auto started = Clock::now();
    while (loads == before && Clock::now() - started < std::chrono::seconds(30))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const std::string window = SettledWindow(pid);
    std::optional<double> took;
    if (!window.empty()) {
        const auto asked = Clock::now();
        x11.Close(window);
        while (Clock::now() - asked < kGiveUp) {
            if (::waitpid(pid, nullptr, WNOHANG) == pid) {
                took = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
                return took;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return took;
}

void Report(const char* what, std::vector<double> times, int total) {
    if (times.empty()) {
        std::printf("  %-11s none of %d ended within %lld s of the close\n", what, total,
                    static_cast<long long>(kGiveUp.count()));
        return;
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("  %-11s median %7.1f ms, worst %7.1f ms", what, median, times.back());
    if (static_cast<int>(n) < total) std::printf(" (%d of %d never ended)", total - static_cast<int>(n), total);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::puts("close_bench needs a display: run it under xvfb-run.");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::filesystem::path storage = std::filesystem::temp_directory_path() / "tarvenix-bench-close";

    std::atomic<int> loads{0};
    httplib::Server server;
    server.Get(R"(/ChatWidget/Login/(idle|stuck).*)", [](const httplib::Request& req, httplib::Response& res) {
        const std::string stuck = req.matches[1] == "stuck" ? "setTimeout(function () { for (;;) {} }, 200);" : "";
        res.set_content("<!DOCTYPE html><html><head><title>Chat</title></head><body><button class=\"chat-widget-zq-btn-yes btn-zq-confirm btn-yes\" "
                        "onclick=\"fetch('/report?confirm')\">ok</button><script>window.addEventListener('load', "
                        "function () { fetch('/report?load'); " + stuck + " });</script></body></html>",
                        "text/html; charset=utf-8");
    });
    server.Get("/report", [&](const httplib::Request& req, httplib::Response& res) {
        if (req.target.find("load") != std::string::npos) ++loads;
        res.status = 204;
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    const std::string root = "http://127.0.0.1:" + std::to_string(port);

    testing_support::X11Client x11;
    std::printf("close request to process end, %d closes each:\n", repetitions);
    for (const std::string page : {"idle", "stuck"}) {
        const std::string address = root + "/ChatWidget/Login/" + page + "&StayConnected=false";
        const std::vector<std::string> launcher{(bin / "PTarveNixApp").string(), "-Url", root, "-token", page};
        const std::vector<std::string> bare{(bin / "bare_view").string(), address, storage.string()};
        std::vector<double> launcherTimes, bareTimes;
        for (int i = 0; i < repetitions; ++i) {
            if (const auto t = CloseOnce(launcher, loads, x11)) launcherTimes.push_back(*t);
            if (const auto t = CloseOnce(bare, loads, x11)) bareTimes.push_back(*t);
        }
        std::printf("%s page:\n", page.c_str());
        Report("launcher", launcherTimes, repetitions);
        Report("bare view", bareTimes, repetitions);
    }
    server.stop();
    serving.join();
    return 0;
}
