// Upload of a 10 MB file to a loopback server: our wall time against curl -F
// to the same server in the same run, and the extra peak memory an upload
// costs (10 MB and 100 MB files).

#include "support/TextUtils.h"
#include "windows/UploadTransport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// Reads each request to its end, throws the bytes away and answers 200; runs
// in a child process so that its memory is not counted.
[[noreturn]] void ServeForever(int listener) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const int c = ::accept(listener, nullptr, nullptr);
        if (c < 0) continue;
        std::string head;
        long long left = -1;
        while (left != 0) {
            const ssize_t n = ::recv(c, buffer.data(), buffer.size(), 0);
            if (n <= 0) break;
            if (left < 0) {
                head.append(buffer.data(), static_cast<size_t>(n));
                const auto end = head.find("\r\n\r\n");
                if (end == std::string::npos) continue;
                auto at = head.find("Content-Length: ");
                if (at == std::string::npos) at = head.find("content-length: ");
                left = std::stoll(head.substr(at + 16)) - static_cast<long long>(head.size() - end - 4);
            } else {
                left -= n;
            }
        }
        const std::string body = "{\"name\":\"x\",\"size\":1}";
        const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body;
        ::send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(c);
    }
}

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
    return -1;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string MakeFile(const std::filesystem::path& path, size_t size) {
    std::mt19937_64 random(42);
    std::string bytes(size, '\0');
    for (size_t i = 0; i + 8 <= size; i += 8) {
        const auto word = random();
        std::copy_n(reinterpret_cast<const char*>(&word), 8, bytes.data() + i);
    }
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

}  // namespace

int main() {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 16);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const pid_t server = ::fork();
    if (server == 0) ServeForever(listener);
    ::close(listener);

    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/arquivo/upload";
    const auto folder = std::filesystem::temp_directory_path() / ("tarvenix-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string file10 = MakeFile(folder / "dez.bin", 10 * 1024 * 1024);

    const int rounds = 31;
    std::vector<double> ours, curlWall, curlOwn;
    TnTarvenixUtils::SendPostData(FromUtf8(url), FromUtf8(file10));  // warm-up: library start, page cache
    for (int i = 0; i < rounds; ++i) {
        auto start = std::chrono::steady_clock::now();
        TnTarvenixUtils::SendPostData(FromUtf8(url), FromUtf8(file10));
        ours.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());

        const std::string command = "curl -s -o /dev/null -H 'Expect:' -w '%{time_total}' -F 'File1=@" + file10 + "' " + url;
        start = std::chrono::steady_clock::now();
        FILE* pipe = ::popen(command.c_str(), "r");
        char text[64] = {};
        std::fgets(text, sizeof text, pipe);
        ::pclose(pipe);
        curlWall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        curlOwn.push_back(std::atof(text) * 1000.0);
    }
    const double o = Median(ours), cw = Median(curlWall), co = Median(curlOwn);
    std::printf("upload 10 MB, median of %d: ours %.2f ms; curl -F %.2f ms wall (process included), %.2f ms by its own clock\n",
                rounds, o, cw, co);
    std::printf("  ours / curl own clock = %.3f (target <= 1.05)\n", o / co);

    const std::string file100 = MakeFile(folder / "cem.bin", 100 * 1024 * 1024);
    for (const auto& [name, path] : {std::pair{"10 MB", file10}, std::pair{"100 MB", file100}}) {
        ResetPeak();
        const long idle = StatusKb("VmRSS:");
        TnTarvenixUtils::SendPostData(FromUtf8(url), FromUtf8(path));
        const long peak = StatusKb("VmHWM:");
        std::printf("extra peak memory during a %s upload: %ld KiB (target < 2048 KiB)\n", name, peak - idle);
    }

    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    std::filesystem::remove_all(folder);
}
