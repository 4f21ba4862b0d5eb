#pragma once
// Pages of one origin on a loopback port, for the real program and the
// engine. Every page reports to the server what the launcher makes it do
// (`report(name)` in its script), sends through the bridge the commands the
// test queues, as if one of its buttons had been pressed, and the server
// notes and can hold requests for paths of the test's choosing. Another
// port is another origin, and another site; any name under "localhost"
// reaches the loopback address too, which gives hosts of one site.

#include "support/WaitUntil.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class PageServer {
public:
    PageServer() {
        // One request per connection, so that stopping never waits for an
        // idle connection of the engine, and threads enough for requests held.
        server_.set_keep_alive_max_count(1);
        server_.new_task_queue = [] { return new httplib::ThreadPool(64); };
        server_.set_logger([this](const httplib::Request& req, const httplib::Response&) {
            std::lock_guard lock(mutex_);
            paths_.push_back(req.path);
        });
        server_.Post("/__log", [this](const httplib::Request& req, httplib::Response& res) {
            const auto entry = nlohmann::json::parse(req.body, nullptr, false);
            if (entry.is_object()) Note(entry.value("fn", ""), entry.value("seq", 0));
            res.status = 204;
        });
        server_.Get("/__command", [this](const httplib::Request&, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            if (commands_.empty()) {
                res.status = 204;
                return;
            }
            res.set_content(commands_.front(), "text/plain; charset=utf-8");
            commands_.pop_front();
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~PageServer() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
        server_.stop();
        thread_.join();
    }

    std::string Root(const std::string& host = "127.0.0.1") const {
        return "http://" + host + ":" + std::to_string(port_);
    }

    // A page for the paths matching `pattern`: `body` after the reporting
    // script; a body made when the page is asked for.
    void Page(const std::string& pattern, const std::string& body) {
        Page(pattern, [body] { return body; });
    }
    void Page(const std::string& pattern, std::function<std::string()> body) {
        Document(pattern, [body = std::move(body)] {
            return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><script>" + std::string(kReport) +
                   "</script></head><body>" + body() + "</body></html>";
        });
    }
    // A whole document as it stands.
    void Document(const std::string& pattern, std::function<std::string()> html) {
        server_.Get(pattern, [this, html = std::move(html)](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                acceptLanguage_ = req.get_header_value("Accept-Language");
            }
            res.set_content(html(), "text/html; charset=utf-8");
        });
    }
    void Document(const std::string& pattern, const std::string& html) {
        Document(pattern, [html] { return html; });
    }
    std::string LastAcceptLanguage() {
        std::lock_guard lock(mutex_);
        return acceptLanguage_;
    }
    // A file sent as an attachment, its name given UTF-8 and percent-encoded.
    void Attachment(const std::string& path, const std::string& encodedName, const std::string& bytes) {
        server_.Get(path, [encodedName, bytes](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Disposition", "attachment; filename*=UTF-8''" + encodedName);
            res.set_content(bytes, "application/octet-stream");
        });
    }
    // Requests for `path` are noted as `name` (the path without its slash
    // when none is given); held ones get no answer while the test runs.
    void Noted(const std::string& method, const std::string& path, bool held = false, std::string name = {}) {
        if (name.empty()) name = path.substr(1);
        const auto handler = [this, name, held](const httplib::Request&, httplib::Response& res) {
            Note(name);
            if (held) {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return released_; });
            }
            res.status = 204;
        };
        if (method == "POST")
            server_.Post(path, handler);
        else
            server_.Get(path, handler);
    }

    // The page sends it through the bridge, in the order queued.
    void Send(const std::string& command) {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
    }
    bool Received(const std::string& what, int timeoutMs = 15000) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            return std::any_of(calls_.begin(), calls_.end(), [&](const Call& call) { return call.what == what; });
        });
    }
    // What was reported and noted so far, in the page's own order.
    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        std::vector<Call> sorted = calls_;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Call& a, const Call& b) { return a.seq < b.seq; });
        std::vector<std::string> names;
        for (const Call& call : sorted) names.push_back(call.what);
        return names;
    }
    // Every path asked of this server so far.
    std::vector<std::string> Paths() {
        std::lock_guard lock(mutex_);
        return paths_;
    }
    void Forget() {
        std::lock_guard lock(mutex_);
        calls_.clear();
        commands_.clear();
    }

private:
    struct Call {
        std::string what;
        int seq;
    };
    // Reports go out in the page's order but may arrive in another: each
    // carries its number.
    // The page functions the launcher calls report their names unless a
    // page has its own.
    static constexpr const char* kReport = R"(
        var seq = 0;
        function report(fn) {
          fetch('/__log', { method: 'POST', body: JSON.stringify({ fn: fn, seq: ++seq }) }).catch(function () {});
        }
        function buildRemoteButton() { report('buildRemoteButton'); }
        function closeChat() { report('closeChat'); if (window.onCloseChat) window.onCloseChat(); }
        function poll() {
          fetch('/__command').then(function (r) { return r.status === 200 ? r.text() : null; })
            .then(function (t) { if (t) { external.Notificar(t); if (window.afterCommand) window.afterCommand(t); } },
                  function () {})
            .then(function () { setTimeout(poll, 50); });
        }
        if (window === window.top) poll();)";

    void Note(const std::string& what, int seq = 1 << 30) {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back({what, seq});
        }
        changed_.notify_all();
    }

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> commands_;
    std::vector<Call> calls_;
    std::vector<std::string> paths_;
    std::string acceptLanguage_;
    bool released_ = false;
};

}  // namespace testing_support
