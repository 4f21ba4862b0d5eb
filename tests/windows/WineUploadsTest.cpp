// The Windows build's uploads and JPEG encoder, run under Wine against a
// Linux peer (tests/windows/peer) that serves on loopback and does the same
// work with the Linux build.

#include "support/Failure.h"
#include "support/TextUtils.h"
#include "support/WaitUntil.h"
#include "windows/ChatUploads.h"
#include "windows/FixedPicture.h"
#include "windows/JpegEncoder.h"
#include "windows/UploadTransport.h"
#include "win32/ChildProcess.h"

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kBoundary = "----------TarvenixBoundaryWine0123456789abcdef";

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// Wine's own mapping between its drives and the Unix file system; absent on
// a real Windows, where these tests have no Linux peer to talk to.
template <typename Function>
Function WineExport(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}
const auto wineUnixName = WineExport<char*(__cdecl*)(const wchar_t*)>("wine_get_unix_file_name");
const auto wineDosName = WineExport<wchar_t*(__cdecl*)(const char*)>("wine_get_dos_file_name");

std::string UnixPath(const fs::path& path) {
    char* converted = wineUnixName(path.wstring().c_str());
    std::string out = converted ? converted : "";
    ::HeapFree(::GetProcessHeap(), 0, converted);
    return out;
}

std::wstring DosPath(const std::string& unixPath) {
    wchar_t* converted = wineDosName(unixPath.c_str());
    std::wstring out = converted ? converted : L"";
    ::HeapFree(::GetProcessHeap(), 0, converted);
    return out;
}

// One run of the Linux peer, in a folder of its own. Wine starts a Unix
// program without a process handle, so the folder is the only channel: the
// command goes in, results and the final "ended" come out.
class LinuxPeer {
public:
    explicit LinuxPeer(const std::vector<std::string>& command) {
        static std::atomic<int> runs{0};
        folder_ = fs::temp_directory_path() /
                  ("tarvenix-peer-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++runs));
        fs::create_directories(folder_);
        std::string lines;
        for (const auto& argument : command) lines += argument + "\n";
        Write(folder_ / "command", lines);
        const std::wstring program = DosPath(std::getenv("TARVENIX_UPLOAD_PEER"));
        const std::string unixFolder = UnixPath(folder_);
        std::wstring line = L"upload_peer \"" + std::wstring(unixFolder.begin(), unixFolder.end()) + L"\"";
        // Its own output goes to its log; it is given none of the test's.
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE nothing = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nothing;
        PROCESS_INFORMATION process{};
        started_ = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    &startup, &process) != FALSE;
        EXPECT_TRUE(started_) << "the peer did not start: " << ::GetLastError();
        // A Unix program has no Windows process: Wine leaves no handles to
        // close, and what it leaves in the thread's place is not one.
        if (process.hProcess) {
            ::CloseHandle(process.hProcess);
            ::CloseHandle(process.hThread);
        }
        ::CloseHandle(nothing);
    }
    ~LinuxPeer() {
        if (started_) {
            Write(folder_ / "stop", "");
            Wait("ended");
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    LinuxPeer(const LinuxPeer&) = delete;
    LinuxPeer& operator=(const LinuxPeer&) = delete;

    // The file's bytes once the peer has written it.
    std::string Wait(const std::string& name) {
        testing_support::WaitUntil([&] { return !started_ || fs::exists(folder_ / name); }, 30000, {}, 10);
        if (!fs::exists(folder_ / name)) {
            ADD_FAILURE() << "the peer wrote no " << name << "; its log: " << Read(folder_ / "log");
            return {};
        }
        return Read(folder_ / name);
    }
    bool Has(const std::string& name) const { return fs::exists(folder_ / name); }
    // What a finished command left, after checking that it succeeded.
    std::string Result(const std::string& name) {
        EXPECT_EQ(Wait("ended"), "0") << Read(folder_ / "log");
        return Read(folder_ / name);
    }
    std::string Url(const std::string& scheme = "http") {
        return scheme + "://127.0.0.1:" + Wait("port") + "/arquivo/upload";
    }
    std::string UnixPathOf(const std::string& name) const { return UnixPath(folder_ / name); }

private:
    fs::path folder_;
    bool started_ = false;
};

// "ok:" and the reply, or "failed:" and the failure's text.
std::string Outcome(const std::string& url, const fs::path& file) {
    try {
        return "ok:" + ToUtf8(TnTarvenixUtils::SendPostData(FromUtf8(url), U16(file.wstring())));
    } catch (const Failure& failure) {
        return "failed:" + ToUtf8(failure.Message());
    }
}

// The same upload by the Linux build.
std::string LinuxOutcome(const std::string& url, const fs::path& file, int stallSeconds = 60) {
    LinuxPeer linux({"send", url, UnixPath(file), kBoundary, std::to_string(stallSeconds)});
    return linux.Result("outcome");
}

std::string FirstDifference(const std::string& a, const std::string& b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    if (at == a.size() && at == b.size()) return "identical";
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) + ", first difference at " +
           std::to_string(at) + ": [" + a.substr(at > 40 ? at - 40 : 0, 80) + "] [" +
           b.substr(at > 40 ? at - 40 : 0, 80) + "]";
}

class WineUploads : public testing::Test {
protected:
    void SetUp() override {
        if (!wineUnixName || !wineDosName || !std::getenv("TARVENIX_UPLOAD_PEER"))
            GTEST_SKIP() << "needs Wine and the Linux peer (TARVENIX_UPLOAD_PEER)";
        saved_ = CurrentUploadTransportSettings();
        CurrentUploadTransportSettings().newBoundary = [] { return kBoundary; };
        folder_ = fs::temp_directory_path() / ("tarvenix-uploads-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        CurrentUploadTransportSettings() = saved_;
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;

private:
    UploadTransportSettings saved_;
};

TEST_F(WineUploads, ALimitSizedFileWithAnAccentedNameGoesOutExactlyAsFromLinux) {
    // Exactly the largest size allowed, with bytes that look like framing.
    std::string content;
    content.reserve(10485760);
    for (std::uint32_t i = 0; content.size() < 10485760; ++i)
        content += (i % 4096 == 0) ? std::string("\r\n--\0\xff\r\n\r\n", 10) : std::string(1, static_cast<char>(i * 131));
    content.resize(10485760);
    const fs::path file = folder_ / L"relatório de ação 1.bin";
    Write(file, content);
    EXPECT_FALSE(TnTarvenixUtils::FileSizeGreaterThanMbSize(U16(file.wstring()), 10));

    LinuxPeer server({"serve", "HTTP/1.1 200 OK"});
    EXPECT_EQ(Outcome(server.Url(), file), "ok:{}");
    EXPECT_EQ(LinuxOutcome(server.Url(), file), "ok:{}");
    const std::string fromWindows = server.Wait("request-1");
    const std::string fromLinux = server.Wait("request-2");
    EXPECT_EQ(FirstDifference(fromWindows, fromLinux), "identical");
    EXPECT_NE(fromWindows.find("; filename=\"relatório de ação 1.bin\"\r\n"), std::string::npos);
    EXPECT_NE(fromWindows.find(content), std::string::npos);

    // One byte more is refused.
    std::ofstream(file, std::ios::binary | std::ios::app) << 'x';
    EXPECT_EQ(TnTarvenixUtils::GetFileSize(U16(file.wstring())), 10485761);
    EXPECT_TRUE(TnTarvenixUtils::FileSizeGreaterThanMbSize(U16(file.wstring()), 10));
}

// A loopback port that nothing listens on.
int ClosedPort() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::closesocket(probe);
    return ntohs(address.sin_port);
}

// Durations and ports aside, the same text.
std::string WithoutNumbers(std::string text) {
    for (char& c : text)
        if (c >= '0' && c <= '9') c = '#';
    return text;
}

TEST_F(WineUploads, RedirectsServerErrorsRefusalsAndSilenceFailAsOnLinux) {
    const fs::path file = folder_ / "a.txt";
    Write(file, "abc");
    CurrentUploadTransportSettings().stallTimeoutSeconds = 1;
    struct Case {
        std::string name;
        std::vector<std::string> serve;  // none: nothing listens
    };
    const std::vector<Case> cases{
        {"redirect", {"serve", "HTTP/1.1 302 Found", "Location: /outro"}},
        {"server error", {"serve", "HTTP/1.1 500 Internal Server Error"}},
        {"refused", {}},
        {"silent", {"serve", "hold"}},
    };
    for (const auto& c : cases) {
        std::optional<LinuxPeer> server;
        std::string url = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/arquivo/upload";
        if (!c.serve.empty()) {
            server.emplace(c.serve);
            url = server->Url();
        }
        const auto started = std::chrono::steady_clock::now();
        const std::string windows = Outcome(url, file);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s) << c.name;
        EXPECT_EQ(windows.rfind("failed:", 0), 0u) << c.name << ": " << windows;
        EXPECT_EQ(WithoutNumbers(windows), WithoutNumbers(LinuxOutcome(url, file, 1))) << c.name;
        if (c.serve.size() > 1 && c.serve[1] != "hold") {
            // One request from each build, none to the redirect's target.
            EXPECT_EQ(server->Wait("request-2").rfind("POST /arquivo/upload HTTP/1.1\r\n", 0), 0u) << c.name;
            std::this_thread::sleep_for(50ms);
            EXPECT_FALSE(server->Has("request-3")) << c.name;
        }
    }
}

// A root certificate of the machine's while it lives. The store is closed
// after the addition, which is when Wine writes it out for other processes;
// the removal takes out the certificate's registry key, as Wine's store does
// not carry removals over to other processes.
class TrustedRoot {
public:
    explicit TrustedRoot(const std::string& pem) {
        DWORD size = 0;
        ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr);
        std::vector<BYTE> der(size);
        ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr);
        const HCERTSTORE store =
            ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
        PCCERT_CONTEXT added = nullptr;
        EXPECT_TRUE(::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                                       CERT_STORE_ADD_REPLACE_EXISTING, &added))
            << ::GetLastError();
        BYTE thumbprint[20];
        DWORD length = sizeof thumbprint;
        if (added && ::CertGetCertificateContextProperty(added, CERT_SHA1_HASH_PROP_ID, thumbprint, &length)) {
            key_ = L"Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\";
            for (BYTE b : thumbprint) key_ += {L"0123456789ABCDEF"[b >> 4], L"0123456789ABCDEF"[b & 15]};
        }
        if (added) ::CertFreeCertificateContext(added);
        ::CertCloseStore(store, 0);
    }
    ~TrustedRoot() {
        if (!key_.empty()) {
            EXPECT_EQ(::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_.c_str()), ERROR_SUCCESS);
        }
    }

private:
    std::wstring key_;
};

TEST_F(WineUploads, HttpsTrustsWhatTheWindowsStoreTrusts) {
    LinuxPeer certificates({"certificates"});
    const std::string ca = certificates.Result("ca.pem");
    LinuxPeer server({"serve-tls", certificates.UnixPathOf("server.pem"), certificates.UnixPathOf("server.key")});
    const std::string url = server.Url("https");
    const fs::path file = folder_ / "s.txt";
    Write(file, "segredo");
    // Each attempt in a process of its own: Wine reads the store once per
    // process, where Windows follows its changes.
    const auto upload = [&] {
        const std::wstring wideUrl(url.begin(), url.end());
        return win32test::RunChild(win32test::TestFolder() + L"wine_upload_client.exe",
                                   L"wine_upload_client \"" + wideUrl + L"\" \"" + file.wstring() + L"\"")
            .output;
    };

    EXPECT_EQ(upload().rfind("failed:", 0), 0u);
    {
        TrustedRoot trusted(ca);
        EXPECT_EQ(upload(), "ok:segredo");
    }
    EXPECT_EQ(upload().rfind("failed:", 0), 0u);
}

TEST_F(WineUploads, JpegOfAFixedPictureIsLinuxsBaselineAtQuality90) {
    LinuxPeer linux({"jpeg"});
    const std::string fromLinux = linux.Result("picture.jpg");
    const std::string jpeg = EncodeJpeg(testing_support::FixedPicture(), 90);
    EXPECT_EQ(FirstDifference(jpeg, fromLinux), "identical");

    // A marker's two bytes never occur inside the coded data.
    EXPECT_NE(jpeg.find("\xFF\xC0"), std::string::npos);  // baseline frame
    EXPECT_EQ(jpeg.find("\xFF\xC2"), std::string::npos);  // no progressive one
    // The first quantisation table (length, then 8-bit table 0): its DC step,
    // 16 scaled to quality 90.
    const auto table = jpeg.find("\xFF\xDB");
    ASSERT_NE(table, std::string::npos);
    EXPECT_EQ(jpeg.substr(table + 4, 2), std::string("\x00\x03", 2));
}

}  // namespace
