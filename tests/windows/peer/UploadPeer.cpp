// The Linux side of the Windows upload tests: loopback servers, and the Linux
// build's own upload and JPEG encoder to compare against. The Wine tests
// start it as a Unix program; Wine gives such a program neither the test's
// pipes nor a process handle, so everything goes through its folder:
//   command   one argument per line, UTF-8, written by the test beforehand
//   ended     written last, holding the exit status
// Commands, and what they leave in the folder:
//   serve STATUS-LINE [HEADER]   port; each request as request-1, request-2...
//   serve hold                         port; requests are read and never answered
//   serve-tls CERTIFICATE KEY            port; HTTPS, answering with the file's bytes
//   send URL FILE BOUNDARY STALL-SECONDS   outcome: "ok:" reply or "failed:" text
//   jpeg                               picture.jpg of the fixed picture at quality 90
//   certificates                       ca.pem, and server.pem/server.key it signed for 127.0.0.1
// A server ends when the file "stop" appears, and after a minute at most.

#include "support/Failure.h"
#include "support/TextUtils.h"
#include "windows/FixedPicture.h"
#include "windows/JpegEncoder.h"
#include "windows/LoopbackServer.h"
#include "windows/UploadTransport.h"

#include <fcntl.h>
#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path folder;

// Written under another name first, so the test never reads half a file.
void Put(const std::string& name, const std::string& bytes) {
    const fs::path temporary = folder / (name + ".part");
    std::ofstream(temporary, std::ios::binary) << bytes;
    fs::rename(temporary, folder / name);
}

std::string Get(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Until the test asks to stop, or a minute has gone, whichever comes first.
void ServeUntilStopped(const std::function<void()>& tick = {}) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!fs::exists(folder / "stop") && std::chrono::steady_clock::now() < deadline) {
        if (tick) tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (tick) tick();
}

int Serve(const std::vector<std::string>& args) {
    const bool hold = args.at(1) == "hold";
    const std::string headers = args.size() > 2 ? args[2] + "\r\n" : "";
    testing_support::LoopbackServer server(hold ? "" : testing_support::Reply(args.at(1), "{}", headers), hold);
    Put("port", std::to_string(server.Port()));
    size_t kept = 0;
    ServeUntilStopped([&] {
        const auto requests = server.Requests();
        for (; kept < requests.size(); ++kept) Put("request-" + std::to_string(kept + 1), requests[kept]);
    });
    return 0;
}

int ServeTls(const std::vector<std::string>& args) {
    httplib::SSLServer server(args.at(1).c_str(), args.at(2).c_str());
    server.Post("/arquivo/upload", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.get_file_value("File1").content, "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    Put("port", std::to_string(port));
    ServeUntilStopped();
    server.stop();
    serving.join();
    return 0;
}

int Send(const std::vector<std::string>& args) {
    auto& settings = CurrentUploadTransportSettings();
    const std::string boundary = args.at(3);
    settings.newBoundary = [boundary] { return boundary; };
    settings.stallTimeoutSeconds = std::stol(args.at(4));
    std::string outcome;
    try {
        outcome = "ok:" + ToUtf8(TnTarvenixUtils::SendPostData(FromUtf8(args.at(1)), FromUtf8(args.at(2))));
    } catch (const Failure& failure) {
        outcome = "failed:" + ToUtf8(failure.Message());
    }
    Put("outcome", outcome);
    return 0;
}

int Certificates() {
    const std::string at = "'" + folder.string() + "/";
    const std::string quiet = " >/dev/null 2>&1";
    const std::vector<std::string> steps{
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj '/CN=Tarvenix Test CA' "
        "-addext keyUsage=critical,keyCertSign,cRLSign "
        "-keyout " + at + "ca.key' -out " + at + "ca.pem'",
        "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj /CN=127.0.0.1 -keyout " + at +
            "server.key' -out " + at + "server.csr'",
        "printf 'subjectAltName=IP:127.0.0.1\\n' > " + at + "server.ext' && openssl x509 -req -days 1 -in " + at +
            "server.csr' -CA " + at + "ca.pem' -CAkey " + at + "ca.key' -CAcreateserial -extfile " + at +
            "server.ext' -out " + at + "server.pem'",
    };
    for (const auto& step : steps)
        if (std::system((step + quiet).c_str()) != 0) return 1;
    return 0;
}

int Run(const std::vector<std::string>& args) {
    const std::string& command = args.at(0);
    if (command == "serve") return Serve(args);
    if (command == "serve-tls") return ServeTls(args);
    if (command == "send") return Send(args);
    if (command == "jpeg") {
        Put("picture.jpg", EncodeJpeg(testing_support::FixedPicture(), 90));
        return 0;
    }
    if (command == "certificates") return Certificates();
    std::cerr << "unknown command " << command << "\n";
    return 2;
}

// Nothing the Wine program had open stays open here: a test runner waiting
// for its output, or a lock, must not wait for this process.
void LetGoOfInheritedFiles() {
    std::vector<int> open;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        const int fd = std::atoi(entry.path().filename().c_str());
        if (fd > 2) open.push_back(fd);
    }
    for (int fd : open) ::close(fd);
    const int log = ::open((folder / "log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(log, 1);
    ::dup2(log, 2);
    ::close(log);
    const int nothing = ::open("/dev/null", O_RDONLY);
    ::dup2(nothing, 0);
    ::close(nothing);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: upload_peer FOLDER\n";
        return 2;
    }
    folder = argv[1];
    LetGoOfInheritedFiles();
    std::vector<std::string> args;
    std::istringstream lines(Get(folder / "command"));
    for (std::string line; std::getline(lines, line);) args.push_back(line);
    int status = 2;
    try {
        status = args.empty() ? 2 : Run(args);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
    }
    Put("ended", std::to_string(status));
    return status;
}
