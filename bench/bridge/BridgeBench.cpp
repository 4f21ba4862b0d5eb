// The script bridge on the real engine: the page sends 1000 commands, one
// after another, and each is answered by a script run back in the page. The
// page times each round trip; we check that every command arrived in order.
// Run under a display (xvfb-run).

#include "browser/ChromiumHost.h"
#include "browser/EngineStart.h"
#include "browser/TChromiumWindow.h"

#include <httplib.h>

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kCommands = 1000;
constexpr int kTimeLimitMs = 60000;

// Each answer sends the next command; the last one sends the times.
const std::string kPage = R"(<!DOCTYPE html><html><body><script>
  var total = )" + std::to_string(kCommands) + R"(, next = 0, start = 0, times = [];
  function send() { start = performance.now(); external.Notificar('cmd|' + next); }
  function answer(i) {
    times.push(performance.now() - start);
    if (i !== next) { external.Notificar('wrong|' + i + '|' + next); return; }
    if (++next < total) send(); else external.Notificar('done|' + times.join(','));
  }
  window.addEventListener('load', send);
</script></body></html>)";

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("bench_bridge needs a display: run it under xvfb-run.");
        return 2;
    }
    httplib::Server server;
    server.set_keep_alive_max_count(1);
    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kPage, "text/html; charset=utf-8");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });

    engine::PrepareEngineEnvironment(engine::EngineFolder());
    QApplication application(argc, argv);
    if (!engine::StartEngine(engine::EngineFolder())) {
        std::puts("the engine did not start");
        server.stop();
        serving.join();
        return 1;
    }

    auto window = std::make_unique<QWidget>();
    auto* host = new TChromiumWindow(window.get());
    window->resize(400, 300);
    host->resize(400, 300);
    host->SetDefaultUrl(QString("http://127.0.0.1:%1/").arg(port).toStdU16String());

    int expected = 0;
    bool inOrder = true;
    std::vector<double> times;
    std::string failure;
    host->OnProcessMessageReceived = [&](const BridgeMessage& message) {
        const QString text = message.arguments.empty() ? QString() : QString::fromStdU16String(message.arguments[0]);
        const QStringList fields = text.split('|');
        if (fields[0] == "cmd") {
            if (fields.value(1).toInt() != expected) inOrder = false;
            ++expected;
            TnTarvenixUtils::ExecCommandJS(*host, u"answer(" + fields.value(1).toStdU16String() + u")");
        } else if (fields[0] == "done") {
            for (const QString& t : fields.value(1).split(',')) times.push_back(t.toDouble());
            application.quit();
        } else {
            failure = text.toStdString();
            application.quit();
        }
        return true;
    };
    QTimer::singleShot(kTimeLimitMs, &application, [&] {
        failure = "time limit reached after " + std::to_string(expected) + " commands";
        application.quit();
    });
    window->show();
    host->CreateBrowser();
    application.exec();

    int result = 0;
    if (!failure.empty() || times.size() != static_cast<size_t>(kCommands)) {
        std::printf("bridge: failed: %s\n", failure.empty() ? "not every round trip was timed" : failure.c_str());
        result = 1;
    } else {
        // The page's clock counts in steps of 0.1 ms; the mean shows what lies between.
        double sum = 0;
        for (double t : times) sum += t;
        std::printf("bridge: %d commands, %s; round trip median %.1f ms, mean %.3f ms, 90th %.1f ms, max %.1f ms "
                    "(target: median under 2 ms)\n",
                    kCommands, inOrder && expected == kCommands ? "all in order" : "OUT OF ORDER",
                    Percentile(times, 0.5), sum / kCommands, Percentile(times, 0.9), Percentile(times, 1.0));
        if (!inOrder || expected != kCommands) result = 1;
    }
    host->CloseBrowser(true);
    window.reset();
    server.stop();
    serving.join();
    return result;
}
