// A local stand-in for the helpdesk service: the chat widget page, the two
// service pages and the upload address, with switches that make it fail.
//
//   demo-service [--port N] [--upload-dir DIR] [--upload-status CODE]
//                [--upload-delay-ms MS] [--broken-reply]
//
// Prints "listening 127.0.0.1:PORT" as its first line. GET /__log answers the
// page's reports as JSON; POST /__control?upload-status=..&upload-delay-ms=..
// &broken-reply=0|1 changes the failure switches while it runs. POST /__command
// queues a command (the body) that the open page sends to the launcher as if
// its button had been pressed, so a script can drive the chat without a mouse.

#include "ChatPage.h"

#include <httplib.h>
#include <iconv.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <csignal>
#include <deque>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

struct Options {
    int port = 0;
    std::filesystem::path uploadDir = std::filesystem::temp_directory_path() / "tarvenix-demo-uploads";
    std::atomic<int> uploadStatus{200};
    std::atomic<int> uploadDelayMs{0};
    std::atomic<bool> brokenReply{false};
};

std::string Base64Decode(const std::string& text) {
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        const auto value = alphabet.find(c);
        if (value == std::string::npos) continue;
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

std::string Windows1252ToUtf8(const std::string& bytes) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) return bytes;
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* o = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0 && iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1)) {
        // A byte the code page leaves undefined: keep going without it.
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string EscapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// The token as it stands in the address: the launcher does not encode it, so
// "+" must not be read as a blank.
std::string RawQueryValue(const std::string& target, const std::string& name) {
    const auto query = target.find('?');
    if (query == std::string::npos) return {};
    size_t pos = query + 1;
    while (pos <= target.size()) {
        const auto end = std::min(target.find('&', pos), target.size());
        const std::string pair = target.substr(pos, end - pos);
        if (pair.rfind(name + "=", 0) == 0) return pair.substr(name.size() + 1);
        pos = end + 1;
    }
    return {};
}

std::string ServicePage(const std::string& kind, const std::string& token) {
    const std::string plain = Windows1252ToUtf8(Base64Decode(token));
    const std::string title = kind == "novo" ? "Solicitação de Serviços" : "Consultar Serviços";
    std::string fields;
    size_t start = 0;
    int index = 1;
    while (true) {
        const auto bar = plain.find('|', start);
        fields += "<li>Campo " + std::to_string(index++) + ": " +
                  EscapeHtml(plain.substr(start, bar == std::string::npos ? std::string::npos : bar - start)) + "</li>";
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return "<!DOCTYPE html><html lang=\"pt-BR\"><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head><body style=\"font-family: Tahoma, sans-serif; font-size: 12px\"><h1 style=\"font-size: "
           "15px\">" +
           title + "</h1><p>Token recebido:</p><pre id=\"token\">" + EscapeHtml(token) +
           "</pre><p>Conteúdo do token:</p><pre id=\"conteudo\">" + EscapeHtml(plain) + "</pre><ol>" + fields +
           "</ol></body></html>";
}

std::string SafeFileName(std::string name) {
    name = std::filesystem::path(name).filename().string();
    if (name.empty() || name == "." || name == "..") name = "arquivo";
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "demo-service: " << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        try {
            if (arg == "--port") options.port = std::stoi(next());
            else if (arg == "--upload-dir") options.uploadDir = next();
            else if (arg == "--upload-status") options.uploadStatus = std::stoi(next());
            else if (arg == "--upload-delay-ms") options.uploadDelayMs = std::stoi(next());
            else if (arg == "--broken-reply") options.brokenReply = true;
            else {
                std::cerr << "demo-service: unknown option " << arg << "\n";
                return 2;
            }
        } catch (const std::exception&) {
            std::cerr << "demo-service: " << arg << " needs a number\n";
            return 2;
        }
    }
    std::error_code ignored;
    std::filesystem::create_directories(options.uploadDir, ignored);

    std::mutex logMutex;
    json log = json::array();
    std::deque<std::string> commands;
    httplib::Server server;

    server.Get(R"(/ChatWidget/Login/.*)", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kChatPage, "text/html; charset=utf-8");
    });
    server.Get(R"(/api/servicos/(novo|listar))", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(ServicePage(req.matches[1], RawQueryValue(req.target, "token")), "text/html; charset=utf-8");
    });
    server.Post("/__log", [&](const httplib::Request& req, httplib::Response& res) {
        json entry = json::parse(req.body, nullptr, false);
        if (entry.is_discarded()) {
            res.status = 400;
            return;
        }
        std::lock_guard lock(logMutex);
        log.push_back(std::move(entry));
        res.status = 204;
    });
    server.Get("/__log", [&](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(logMutex);
        res.set_content(log.dump(), "application/json");
    });
    server.Post("/__log/clear", [&](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(logMutex);
        log = json::array();
        res.status = 204;
    });
    server.Post("/__command", [&](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(logMutex);
        commands.push_back(req.body);
        res.status = 204;
    });
    server.Get("/__command", [&](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(logMutex);
        if (commands.empty()) {
            res.status = 204;
            return;
        }
        res.set_content(commands.front(), "text/plain; charset=utf-8");
        commands.pop_front();
    });
    server.Post("/__control", [&](const httplib::Request& req, httplib::Response& res) {
        try {
            if (req.has_param("upload-status")) options.uploadStatus = std::stoi(req.get_param_value("upload-status"));
            if (req.has_param("upload-delay-ms"))
                options.uploadDelayMs = std::stoi(req.get_param_value("upload-delay-ms"));
            if (req.has_param("broken-reply")) options.brokenReply = req.get_param_value("broken-reply") == "1";
            res.status = 204;
        } catch (const std::exception&) {
            res.status = 400;
        }
    });
    server.Post("/arquivo/upload", [&](const httplib::Request& req, httplib::Response& res) {
        if (options.uploadDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.uploadDelayMs));
        if (options.uploadStatus != 200) {
            res.status = options.uploadStatus;
            res.set_content("Falha simulada no envio", "text/plain; charset=utf-8");
            return;
        }
        if (!req.has_file("File1")) {
            res.status = 400;
            res.set_content("Parte File1 ausente", "text/plain; charset=utf-8");
            return;
        }
        const auto file = req.get_file_value("File1");
        const std::string name = SafeFileName(file.filename);
        std::ofstream(options.uploadDir / name, std::ios::binary) << file.content;
        if (options.brokenReply) {
            res.set_content("{\"nome\":", "application/json");
            return;
        }
        const std::string host = req.get_header_value("Host");
        const std::string address = "http://" + host + "/arquivos/" + name;
        ordered_json reply;
        reply["name"] = name;
        reply["size"] = file.content.size();
        reply["url"] = address;
        reply["thumbnailUrl"] = address;
        res.set_content(reply.dump(), "application/json");
    });
    server.Get(R"(/arquivos/([^/]+))", [&](const httplib::Request& req, httplib::Response& res) {
        std::ifstream in(options.uploadDir / SafeFileName(req.matches[1]), std::ios::binary);
        if (!in) {
            res.status = 404;
            return;
        }
        res.set_content(std::string(std::istreambuf_iterator<char>(in), {}), "application/octet-stream");
    });

    const int port = options.port == 0 ? server.bind_to_any_port("127.0.0.1") : options.port;
    if (options.port != 0 && !server.bind_to_port("127.0.0.1", port)) {
        std::cerr << "demo-service: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    if (port < 0) {
        std::cerr << "demo-service: cannot listen on 127.0.0.1\n";
        return 1;
    }
    std::cout << "listening 127.0.0.1:" << port << std::endl;
    server.listen_after_bind();
    return 0;
}
