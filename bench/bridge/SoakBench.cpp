// A long chat on the real engine: 10,000 page commands (a mix that runs
// script back in the page and shows no dialog), then 200 screenshots in a
// row, each uploaded to a local service. The process's memory and open file
// descriptors are sampled as it goes; they must stay flat. Run under a
// display (xvfb-run).

#include "ChatBench.h"

#include <QTimer>

#include <dirent.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 2000;  // five commands each
constexpr int kScreenshots = 200;
constexpr int kTimeLimitMs = 20 * 60 * 1000;

const std::string kPage = R"PAGE(<!DOCTYPE html><html><body><script>
  var rounds = )PAGE" + std::to_string(kRounds) + R"PAGE(, round = 0, shots = )PAGE" +
                          std::to_string(kScreenshots) + R"PAGE(, shot = 0;
  function report(text) { fetch('/report', { method: 'POST', body: text }); }
  function sendRound() {
    external.Notificar('OnReceiveMessage');
    external.Notificar('Refresh');
    external.Notificar('ComandoDesconhecido|x');
    external.Notificar('OnOpenCall');
    external.Notificar('CloseChatWindowWithQuery');
  }
  function buildRemoteButton() {}
  function closeChat() {
    ++round;
    if (round % 200 == 0) report('commands ' + round * 5);
    if (round < rounds) sendRound(); else external.Notificar('PrintScreenClient');
  }
  function notifySendPrintScreen() {}
  function enabledButton() {}
  function uploadFile(name, address) {
    ++shot;
    if (shot % 20 == 0) report('screenshots ' + shot);
    if (shot < shots) external.Notificar('PrintScreenClient'); else report('done');
  }
  window.addEventListener('load', function () { report('start'); sendRound(); });
</script></body></html>)PAGE";

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

int OpenDescriptors() {
    int count = 0;
    if (DIR* fds = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(fds))
            if (entry->d_name[0] != '.') ++count;
        ::closedir(fds);
    }
    return count - 1;  // the listing's own
}

// What the C heap holds in use: the program's own objects and Qt's, not
// the engine's script and page heaps, which have allocators of their own.
long HeapInUseKiB() { return static_cast<long>(mallinfo2().uordblks / 1024); }

struct Sample {
    std::string at;
    long rssKiB;
    int fds;
    long heapKiB;
};

void Summarize(const char* phase, const std::vector<Sample>& samples) {
    if (samples.empty()) return;
    const auto peak = std::max_element(samples.begin(), samples.end(),
                                       [](const Sample& a, const Sample& b) { return a.rssKiB < b.rssKiB; });
    const auto mostFds = std::max_element(samples.begin(), samples.end(),
                                          [](const Sample& a, const Sample& b) { return a.fds < b.fds; });
    std::printf("%s: memory start %.1f MiB, end %.1f MiB, peak %.1f MiB (at %s); C heap in use start %.1f MiB, "
                "end %.1f MiB; descriptors start %d, end %d, peak %d\n",
                phase, samples.front().rssKiB / 1024.0, samples.back().rssKiB / 1024.0, peak->rssKiB / 1024.0,
                peak->at.c_str(), samples.front().heapKiB / 1024.0, samples.back().heapKiB / 1024.0,
                samples.front().fds, samples.back().fds, mostFds->fds);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("bench_soak needs a display: run it under xvfb-run.");
        return 2;
    }
    bench::ChatBench chat(argc, argv, kPage);
    if (!chat.Started()) {
        std::puts("the engine did not start");
        return 1;
    }
    chat.Server().Post("/arquivo/upload", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"({"name":"s.jpg","size":1,"url":"/s.jpg","thumbnailUrl":"/s.jpg"})", "application/json");
    });
    std::vector<Sample> commands, screenshots;
    std::string failure = "time limit reached";
    chat.Server().Post("/report", [&](const httplib::Request& req, httplib::Response& res) {
        QMetaObject::invokeMethod(&chat.Application(), [&, at = req.body] {
            const Sample sample{at, ResidentKiB(), OpenDescriptors(), HeapInUseKiB()};
            if (at == "start" || at.rfind("commands", 0) == 0) commands.push_back(sample);
            if (at.rfind("commands 10000", 0) == 0 || at.rfind("screenshots", 0) == 0) screenshots.push_back(sample);
            std::fprintf(stderr, "%s: %.1f MiB, C heap %.1f MiB, %d descriptors\n", at.c_str(),
                         sample.rssKiB / 1024.0, sample.heapKiB / 1024.0, sample.fds);
            if (at == "done") {
                failure.clear();
                chat.Application().quit();
            }
        });
        res.status = 204;
    });
    QTimer::singleShot(kTimeLimitMs, &chat.Application(), [&] { chat.Application().quit(); });
    chat.Application().exec();
    if (!failure.empty()) {
        std::printf("soak: failed: %s\n", failure.c_str());
        return 1;
    }
    Summarize("soak, 10,000 commands", commands);
    Summarize("soak, 200 screenshots", screenshots);
    return 0;
}
