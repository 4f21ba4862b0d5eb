// Start-up cost of the launcher against a bare engine view: time from process
// start to the chat page's first load end, and peak memory, both loading the
// same page of the demo service with the same engine flags.
//
//   startup_bench [REPETITIONS]

#include "Spawn.h"

#include <httplib.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double seconds = 0;
    long maxRssKiB = 0;
};

// Runs one program until the page reports its load; answers the time and
// the program's peak memory.
std::optional<Sample> Measure(httplib::Client& service, const std::vector<std::string>& argv) {
    service.Post("/__log/clear");
    const auto start = Clock::now();
    const pid_t pid = bench::Spawn(argv);
    std::optional<double> loaded;
    while (Clock::now() - start < std::chrono::seconds(30)) {
        const auto log = service.Get("/__log");
        if (log && log->body.find("\"fn\":\"load\"") != std::string::npos) {
            loaded = std::chrono::duration<double>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!loaded) return std::nullopt;
    return Sample{*loaded, usage.ru_maxrss};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::filesystem::path storage = std::filesystem::temp_directory_path() / "tarvenix-bench-bare";

    int pipeFd[2];
    if (::pipe(pipeFd) != 0) return 1;
    const pid_t service = bench::Spawn({(bin / "demo-service").string(), "--port", "0"}, pipeFd[1]);
    ::close(pipeFd[1]);
    char line[128] = {};
    FILE* out = ::fdopen(pipeFd[0], "r");
    if (!out || !std::fgets(line, sizeof line, out)) {
        std::fprintf(stderr, "the demo service did not start\n");
        return 1;
    }
    const int port = std::atoi(std::strrchr(line, ':') + 1);
    httplib::Client client("127.0.0.1", port);
    const std::string root = "http://127.0.0.1:" + std::to_string(port);
    const std::string page = root + "/ChatWidget/Login/bench&StayConnected=false&EmptySubject=false&StartChat=false";

    const std::vector<std::string> launcherArgs{(bin / "PTarveNixApp").string(), "-Url", root, "-token", "bench"};
    const std::vector<std::string> bareArgs{(bin / "bare_view").string(), page, storage.string()};
    const std::vector<std::string> bareTimedArgs{(bin / "bare_view").string(), page, storage.string(), "500"};

    // One run of each first, so that both start with a warm disk cache.
    Measure(client, launcherArgs);
    Measure(client, bareArgs);
    std::vector<double> launcherTimes, bareTimes, bareTimedTimes, launcherRss, bareRss;
    for (int i = 0; i < repetitions; ++i) {
        const auto a = Measure(client, launcherArgs);
        const auto b = Measure(client, bareArgs);
        const auto c = Measure(client, bareTimedArgs);
        if (!a || !b || !c) {
            std::fprintf(stderr, "a run did not reach the page's load\n");
            continue;
        }
        launcherTimes.push_back(a->seconds);
        launcherRss.push_back(static_cast<double>(a->maxRssKiB));
        bareTimes.push_back(b->seconds);
        bareRss.push_back(static_cast<double>(b->maxRssKiB));
        bareTimedTimes.push_back(c->seconds);
    }
    ::kill(service, SIGTERM);
    ::waitpid(service, nullptr, 0);
    if (launcherTimes.empty()) return 1;

    // The browser is created by a 500 ms timer; the 200 ms pause comes after
    // the load end, so it is not inside the measured time.
    constexpr double kCreationTimer = 0.5;
    const double launcher = Median(launcherTimes);
    const double bareView = Median(bareTimes);
    const double launcherNet = launcher - kCreationTimer;
    std::printf("repetitions: %zu\n", launcherTimes.size());
    std::printf("start to first load end, median: launcher %.3f s (%.3f s without the 500 ms timer), bare view %.3f s\n",
                launcher, launcherNet, bareView);
    std::printf("ratio without the imposed waits: %.3f (target below 1.10)\n", launcherNet / bareView);
    const double bareTimed = Median(bareTimedTimes);
    std::printf("like for like, the bare view given the same 500 ms timer: %.3f s, ratio %.3f\n", bareTimed,
                launcher / bareTimed);
    std::printf("peak memory, median: launcher %.1f MiB, bare view %.1f MiB, ratio %.3f\n",
                Median(launcherRss) / 1024, Median(bareRss) / 1024, Median(launcherRss) / Median(bareRss));
    return 0;
}
