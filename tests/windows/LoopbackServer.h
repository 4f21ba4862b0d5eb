#pragma once
// A one-request-at-a-time HTTP server on 127.0.0.1 that keeps the exact bytes
// it received and answers with a canned reply, or holds the connection until
// released.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class LoopbackServer {
public:
    // On `port`, or on one the system chooses.
    explicit LoopbackServer(std::string reply, bool hold = false, int port = 0)
        : reply_(std::move(reply)), hold_(hold) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        listening_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::listen(listener_, 8) == 0;
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        Release();
        thread_.join();
        ::close(listener_);
    }

    int Port() const { return port_; }
    bool Listening() const { return listening_; }
    std::string Url(const std::string& path = "/arquivo/upload") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // Lets a held connection get its reply.
    void Release() {
        std::lock_guard lock(mutex_);
        hold_ = false;
        changed_.notify_all();
    }
    int Connections() const { return connections_.load(); }
    // The requests received so far, each complete as far as the client sent it.
    std::vector<std::string> Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Serve() {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0) continue;
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection < 0) continue;
            ++connections_;
            std::string request = ReadRequest(connection);
            {
                std::unique_lock lock(mutex_);
                requests_.push_back(request);
                changed_.wait(lock, [this] { return !hold_ || stop_; });
            }
            if (!stop_) {
                size_t sent = 0;
                while (sent < reply_.size()) {
                    const ssize_t n = ::send(connection, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
                    if (n <= 0) break;
                    sent += static_cast<size_t>(n);
                }
            }
            ::shutdown(connection, SHUT_RDWR);
            ::close(connection);
        }
    }

    static std::string ReadRequest(int connection) {
        std::string data;
        char buffer[65536];
        size_t wanted = std::string::npos;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (wanted == std::string::npos) {
                const auto end = data.find("\r\n\r\n");
                if (end != std::string::npos) {
                    const auto at = data.find("Content-Length: ");
                    wanted = end + 4 + (at == std::string::npos ? 0 : std::stoul(data.substr(at + 16)));
                }
            }
            if (wanted != std::string::npos && data.size() >= wanted) break;
            pollfd waiting{connection, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            data.append(buffer, static_cast<size_t>(n));
        }
        return data;
    }

    std::string reply_;
    bool hold_;
    int listener_ = -1;
    bool listening_ = false;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

inline std::string Reply(const std::string& statusLine, const std::string& body,
                         const std::string& extraHeaders = "") {
    return statusLine + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders +
           "Connection: close\r\n\r\n" + body;
}

}  // namespace testing_support
